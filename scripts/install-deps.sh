#!/usr/bin/env bash
# Installs what Tolvaro needs on Debian 12:
#   install-deps.sh run    building and running the program (make run)
#   install-deps.sh test   that and the test tools besides (make test); the default
# Run as root, or as a user with sudo. A run on a machine that already has
# everything only asks dpkg and returns: no package lists are fetched.
set -euo pipefail

mode=${1:-test}

run_packages=(
  # compiler and build system
  build-essential cmake pkgconf librsvg2-bin
  # libraries
  libgmp-dev qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libx11-dev libxcb-randr0-dev libwayland-dev
  # run time: Qt platform plugins, Dutch Qt texts, fonts
  qt6-qpa-plugins qt6-translations-l10n fontconfig fonts-liberation2 fonts-dejavu-core
)

test_packages=(
  # window tests, screenshots and benchmark on a virtual X display
  xvfb xauth xdotool x11-utils openbox imagemagick
  # lesson test over the accessibility bus: session bus, AT-SPI bus and registry, pyatspi
  dbus-daemon dbus-bin at-spi2-core python3-pyatspi
  # benchmark tools: paints seen through DAMAGE, clicks sent through XTEST
  libxdamage-dev libxtst-dev
  # screen reader test: Orca speaking Dutch through speech-dispatcher and espeak-ng
  orca speech-dispatcher-espeak-ng
  # desktops: a dark GTK colour scheme, Wayland (a headless compositor and Qt's plugin)
  qt6-gtk-platformtheme gnome-themes-extra weston qt6-wayland
  # printing tests
  cups cups-client cups-bsd poppler-utils
  # sanitizer builds
  clang libclang-rt-14-dev
  # Dutch locale for the locale tests
  locales
  # Debian package and its checks: dpkg-buildpackage with dh, lintian, the desktop entry and
  # metainfo validators
  dpkg-dev debhelper desktop-file-utils appstream lintian man-db
)

case ${mode} in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: install-deps.sh [run|test]" >&2; exit 2 ;;
esac

locale_name="nl_NL.UTF-8"

as_root() {
  if [[ ${EUID} -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "install-deps: need root (or sudo) to run: $*" >&2
    exit 1
  fi
}

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "${package}" 2>/dev/null || true)
  if [[ ${status} != "install ok installed" ]]; then
    missing+=("${package}")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "install-deps: installing ${missing[*]}"
  as_root apt-get update
  as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
fi

# locale -a spells UTF-8 as "utf8". The program itself runs in whatever locale the user has.
if [[ ${mode} == test ]] && ! locale -a 2>/dev/null | grep -qx 'nl_NL\.utf8'; then
  echo "install-deps: generating the ${locale_name} locale"
  if grep -qE "^[# ]*${locale_name//./\\.} UTF-8" /etc/locale.gen; then
    as_root sed -i -E "s/^[# ]*(${locale_name//./\\.} UTF-8)/\\1/" /etc/locale.gen
  else
    echo "${locale_name} UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen
fi
