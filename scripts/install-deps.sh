#!/usr/bin/env bash
# Installs what Tolvaro needs on Debian 12:
#   install-deps.sh run    building and running the program (make run)
#   install-deps.sh test   that and the test tools besides (make test); the default
#   install-deps.sh cross  Debian's cross compilers for arm64, armhf and i386, those
#                          architectures' GMP and MPFR (multiarch) and qemu-user, for the
#                          cross pass of make test; fails (status 1) when they can't be had
# Run as root, or as a user with sudo. A run on a machine that already has
# everything only asks dpkg and returns: no package lists are fetched.
set -euo pipefail

mode=${1:-test}

run_packages=(
  # compiler and build system
  build-essential cmake pkgconf librsvg2-bin
  # libraries
  libgmp-dev libmpfr-dev qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libx11-dev libxcb-randr0-dev libwayland-dev libglib2.0-dev
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

foreign_architectures=(arm64 armhf i386)
cross_packages=(
  qemu-user g++-aarch64-linux-gnu g++-arm-linux-gnueabihf g++-i686-linux-gnu
  libgmp-dev:arm64 libmpfr-dev:arm64 libgmp-dev:armhf libmpfr-dev:armhf libgmp-dev:i386 libmpfr-dev:i386
)

case ${mode} in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  cross) packages=("${cross_packages[@]}") ;;
  *) echo "usage: install-deps.sh [run|test|cross]" >&2; exit 2 ;;
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

# The foreign architectures take packages from the main suites alone: the security mirror's
# indices of other architectures may be out of step with its release file ("Mirror sync in
# progress?"), and one such index makes every apt-get update of the machine fail. Every entry of
# a security suite is kept to the machine's own architecture, before any foreign one is added.
keep_security_native() {
  local native file changed
  native=$(dpkg --print-architecture)
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -f ${file} ]] || continue
    # deb822 stanzas: a stanza whose Suites name a -security suite and that has no
    # Architectures field gets one.
    changed=$(mktemp)
    awk -v native="${native}" '
      function flush() {
        if (stanza != "") { if (security && !arches) stanza = stanza "Architectures: " native "\n"; printf "%s", stanza }
        stanza = ""; security = 0; arches = 0
      }
      /^[[:space:]]*$/ { flush(); print; next }
      { stanza = stanza $0 "\n" }
      /^Suites:.*-security/ { security = 1 }
      /^Architectures:/ { arches = 1 }
      END { flush() }' "${file}" >"${changed}"
    cmp -s "${file}" "${changed}" || as_root cp "${changed}" "${file}"
    rm -f "${changed}"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f ${file} ]] || continue
    # One-line entries: "deb URI suite-security ..." without options gets [arch=native].
    as_root sed -i -E "s|^(deb(-src)?)[[:space:]]+([a-z]+:[^[:space:]]+[[:space:]]+[^[:space:]]*-security)|\\1 [arch=${native}] \\3|" "${file}"
  done
}

if [[ ${mode} == cross ]]; then
  keep_security_native
  for arch in "${foreign_architectures[@]}"; do
    if ! dpkg --print-foreign-architectures | grep -qx "${arch}"; then
      echo "install-deps: adding the ${arch} architecture to dpkg and apt"
      as_root dpkg --add-architecture "${arch}"
    fi
  done
fi

if ((${#missing[@]} > 0)); then
  echo "install-deps: installing ${missing[*]}"
  if ! as_root apt-get -o DPkg::Lock::Timeout=600 update; then
    # A list that could not be fetched leaves the one fetched before (or none): what is
    # installable from the rest is installed, and apt-get install says what is not.
    echo "install-deps: WARNING: apt-get update could not fetch every package index (see above);" \
      "carrying on with the indices it has" >&2
  fi
  as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
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
