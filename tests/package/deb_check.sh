#!/usr/bin/env bash
# Builds the Debian source and binary packages as the README tells: make dist, then
# dpkg-buildpackage, in a copy of the checkout that holds build trees like those make run and
# make test leave. Checks the source package (3.0 (quilt), the orig tarball and the Debian
# tarball hold exactly the tracked files), the test summary of the build log, the control
# fields, the exact set of installed files with their modes, the autopkgtest on the built
# program, the PNG icon sizes, the installed desktop and software-centre entries, the changelogs
# and copyright notice, that the program finds its libraries, that lintian finds no tag without
# an override, and that apt resolves the dependencies on this system (simulated: nothing is
# installed).
#   deb_check.sh <source dir> <upstream version>
set -uo pipefail

source=${1:?usage: deb_check.sh <source dir> <version>}
version=${2:?}
app_id=nl.kvz.Tolvaro
icon_sizes=(16 22 24 32 48 64 128 256)

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

work=$(mktemp -d "${TMPDIR:-/tmp}/tolvaro-deb.XXXXXX")
trap 'rm -rf "${work}"' EXIT
tree=${work}/tolvaro

# --- build -------------------------------------------------------------------------------
# The working tree as it is, uncommitted changes included, as the one commit of a fresh
# repository, with stand-ins for the build trees of make run and make test beside it.
mkdir "${tree}"
if git -C "${source}" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git -C "${source}" ls-files -z --cached --others --exclude-standard |
    tar -C "${source}" --null --files-from=- --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C "${tree}"
else
  tar -C "${source}" --exclude=./build --exclude='./build-*' -cf - . | tar -xf - -C "${tree}"
fi
git -C "${tree}" init -q && git -C "${tree}" add -A &&
  git -C "${tree}" -c user.name=deb_check -c user.email=deb_check@localhost commit -qm snapshot ||
  { echo "FAIL: cannot make a git checkout of the sources"; exit 1; }
for dir in build build-cross build-asan build-fuzz; do
  mkdir -p "${tree}/${dir}/tests"
  echo "CMAKE_BUILD_TYPE:STRING=RelWithDebInfo" >"${tree}/${dir}/CMakeCache.txt"
  cp /bin/true "${tree}/${dir}/tolvaro"
done
# A ccache serves the build from earlier runs' compilations (paths under ${work} made relative;
# debhelper's own HOME is not where the cache lives).
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=${work} CCACHE_DIR=$(ccache -k cache_dir)
fi
if ! { make -C "${tree}" --no-print-directory dist &&
       (cd "${tree}" && DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -us -uc); } >"${work}/build.log" 2>&1; then
  tail -n 60 "${work}/build.log"
  echo "FAIL: make dist and dpkg-buildpackage"
  exit 1
fi
debian_version=$(dpkg-parsechangelog -l "${tree}/debian/changelog" -S Version)
[[ ${debian_version%-*} == "${version}" && ${debian_version##*-} =~ ^[0-9]+$ ]] ||
  fail "Debian version ${debian_version} is not the upstream ${version} with a Debian revision"
arch=$(dpkg --print-architecture)
deb=${work}/tolvaro_${debian_version}_${arch}.deb changes=${work}/tolvaro_${debian_version}_${arch}.changes
dsc=${work}/tolvaro_${debian_version}.dsc orig=${work}/tolvaro_${version}.orig.tar.xz
if [[ ! -f ${deb} || ! -f ${changes} || ! -f ${dsc} || ! -f ${orig} ]]; then
  ls -l "${work}"
  echo "FAIL: expected $(basename "${deb}"), $(basename "${changes}"), $(basename "${dsc}") and $(basename "${orig}")"
  exit 1
fi

# --- source package ----------------------------------------------------------------------
grep -qx 'Format: 3.0 (quilt)' "${dsc}" || fail "source format: $(grep '^Format' "${dsc}"), expected 3.0 (quilt)"
grep -qx "Version: ${debian_version}" "${dsc}" || fail "the .dsc is not of version ${debian_version}"
# The files of a tarball without its top directory, one a line, sorted.
tar_files() { tar -tf "$1" | grep -v '/$' | sed -E 's|^[^/]+/||' | sort; }
git -C "${tree}" ls-files | sort >"${work}/tracked"
tar_files "${orig}" >"${work}/orig.files"
grep -E '^(build|build-[^/]+|obj-[^/]+)/' "${work}/orig.files" && fail "the orig tarball holds build trees"
if ! diff -u <(grep -v '^debian/' "${work}/tracked") "${work}/orig.files"; then
  fail "the orig tarball differs from the tracked files outside debian/ (- tracked, + in the tarball)"
fi
tar -tf "${work}/tolvaro_${debian_version}.debian.tar.xz" | grep -v '/$' | sort >"${work}/debian.files"
if ! diff -u <(grep '^debian/' "${work}/tracked") "${work}/debian.files"; then
  fail "the Debian tarball differs from the tracked files in debian/ (- tracked, + in the tarball): a patch or a stray file"
fi

# --- tests at build time -----------------------------------------------------------------
# Every core, print and window test program ran on the offscreen platform and passed.
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+$' "${work}/build.log")
echo "build-time tests: ${summary:-none}"
expected_tests=$(cd "${tree}/tests" && ls {core,print,window}/test_*.cpp | sed -E 's|/|_|; s|\.cpp$||' | sort)
passed=$(grep -oP '^ *[0-9]+/[0-9]+ Test +#[0-9]+: \K\S+(?= \.+ +Passed)' "${work}/build.log" | sort)
[[ ${summary} == "100% tests passed, 0 tests failed out of $(wc -l <<<"${expected_tests}")" ]] ||
  fail "build-time test summary '${summary}', expected all $(wc -l <<<"${expected_tests}") test programs passed"
[[ ${passed} == "${expected_tests}" ]] ||
  fail "build-time tests passed: $(echo ${passed}); expected $(echo ${expected_tests})"

# --- control fields ----------------------------------------------------------------------
field() { dpkg-deb -f "${deb}" "$1"; }
# Package names of a relation field, one a line, without version constraints or alternatives.
relation_names() { field "$1" | tr ',|' '\n\n' | sed -E 's/\(.*\)//; s/^[[:space:]]+//; s/[[:space:]]+$//' | grep -v '^$'; }

dpkg-deb -I "${deb}"
while read -r name expected; do
  actual=$(field "${name}")
  [[ ${actual} == "${expected}" ]] || fail "${name}: '${actual}', expected '${expected}'"
done <<FIELDS
Package tolvaro
Version ${debian_version}
Architecture ${arch}
Section education
Priority optional
FIELDS
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
[[ -n $(field Description | head -n1) ]] || fail "no short Description"
(($(field Description | wc -l) > 1)) || fail "no long Description"
[[ $(field Description | sed -n 1p) != "$(field Description | sed -n 2p | sed 's/^ //')" ]] ||
  fail "long Description repeats the short one"

depends=$(relation_names Depends)
# From dpkg-shlibdeps: the libraries the program links. Named by us: what is only loaded at
# run time (platform and SVG plugins) and the fonts asked for by name.
for package in libc6 libstdc++6 libgmp10 libmpfr6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
               libqt6svg6 libqt6dbus6 qt6-qpa-plugins fonts-liberation2; do
  grep -qx "${package}" <<<"${depends}" || fail "Depends lacks ${package}: $(field Depends)"
done
# A versioned dependency shows dpkg-shlibdeps really ran (the named ones carry no version).
field Depends | grep -qE 'libqt6widgets6 \(>= [^)]+\)' || fail "Depends not from dpkg-shlibdeps: $(field Depends)"
# Nothing beyond those and the X11 and Wayland client libraries that measure the screen before Qt
# starts: a test tool or a development package here would land on every pupil's computer.
extra=$(grep -vxE 'libc6|libstdc\+\+6|libgcc-s1|libgmp10|libmpfr6|libxcb1|libxcb-randr0|libwayland-client0|libqt6(core|gui|widgets|printsupport|svg|dbus)6|qt6-qpa-plugins|fonts-liberation2' <<<"${depends}")
[[ -z ${extra} ]] || fail "Depends names more than the program needs: ${extra//$'\n'/, }"
[[ $(relation_names Recommends | sort | tr '\n' ' ') == "qt6-translations-l10n qt6-wayland " ]] ||
  fail "Recommends '$(field Recommends)', expected qt6-translations-l10n (Dutch Qt texts) and qt6-wayland (native Wayland)"

# --- contents ----------------------------------------------------------------------------
# The pictures the teachers' guide shows, as paths beside it: Markdown images and <img> tags.
guide_pictures=$(grep -oP '(\]\(|src=")\K[^)"]+\.png' "${source}/docs/handleiding.md" | sort -u)
[[ -n ${guide_pictures} ]] || fail "found no pictures in docs/handleiding.md"

# Every entry that is not a directory, as "mode owner path".
dpkg-deb -c "${deb}" | awk '$1 !~ /^d/ { print $1, $2, $6 }' | sort >"${work}/contents"
{
  echo "-rwxr-xr-x root/root ./usr/bin/tolvaro"
  echo "-rw-r--r-- root/root ./usr/share/applications/${app_id}.desktop"
  echo "-rw-r--r-- root/root ./usr/share/metainfo/${app_id}.metainfo.xml"
  echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/${app_id}.svg"
  echo "-rw-r--r-- root/root ./usr/share/doc/tolvaro/changelog.Debian.gz"
  echo "-rw-r--r-- root/root ./usr/share/doc/tolvaro/changelog.gz"
  echo "-rw-r--r-- root/root ./usr/share/doc/tolvaro/copyright"
  echo "-rw-r--r-- root/root ./usr/share/doc/tolvaro/handleiding.md"
  printf -- '-rw-r--r-- root/root ./usr/share/doc/tolvaro/%s\n' ${guide_pictures}
  echo "-rw-r--r-- root/root ./usr/share/man/man1/tolvaro.1.gz"
  echo "-rw-r--r-- root/root ./usr/share/man/nl/man1/tolvaro.1.gz"
  echo "-rw-r--r-- root/root ./usr/share/lintian/overrides/tolvaro"
  for size in "${icon_sizes[@]}"; do
    echo "-rw-r--r-- root/root ./usr/share/icons/hicolor/${size}x${size}/apps/${app_id}.png"
  done
} | sort >"${work}/expected"
if ! diff -u "${work}/expected" "${work}/contents"; then
  fail "package contents differ from the expected set (- expected, + packaged)"
fi

# Reproducible: no entry is newer than the newest changelog entry (or SOURCE_DATE_EPOCH); dpkg-buildpackage clamps to it.
stamp=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "${source}/debian/changelog" -S Timestamp)}
newest_time=$(TZ=UTC dpkg-deb -c "${deb}" | awk '{ print $4 " " $5 }' | sort | tail -n1)
(($(TZ=UTC date -d "${newest_time}" +%s) <= stamp)) ||
  fail "an entry dates from ${newest_time}, after the changelog's $(TZ=UTC date -d "@${stamp}" '+%Y-%m-%d %H:%M')"

root=${work}/root
dpkg-deb -x "${deb}" "${root}"

# --- program -----------------------------------------------------------------------------
program=${root}/usr/bin/tolvaro
if [[ -f ${program} ]]; then
  readelf -S "${program}" | grep -qE '\.(debug_info|comment) ' && fail "usr/bin/tolvaro is not fully stripped"
  readelf -d "${program}" | grep -q 'BIND_NOW' || fail "usr/bin/tolvaro is not linked with -z now"
  missing=$(ldd "${program}" 2>&1 | grep 'not found')
  [[ -z ${missing} ]] && missing=$(ldd "${program}" 2>&1 | grep -E 'libtolvaro|/build|/tmp/')
  [[ -z ${missing} ]] || fail "usr/bin/tolvaro libraries: ${missing}"
  # The package's autopkgtest, from the source tree as autopkgtest runs it, with the unpacked
  # program in place of an installed one.
  grep -qiE '^Restrictions:.*superficial' "${tree}/debian/tests/control" && fail "the autopkgtest is superficial"
  (cd "${tree}" && PATH=${root}/usr/bin:${PATH} debian/tests/lesson) || fail "debian/tests/lesson"
fi

# --- icons -------------------------------------------------------------------------------
cmp -s "${source}/resources/icon.svg" "${root}/usr/share/icons/hicolor/scalable/apps/${app_id}.svg" ||
  fail "scalable icon is not resources/icon.svg"
# PNG: 8-byte signature, then the IHDR chunk: length, "IHDR", width, height (big-endian).
for size in "${icon_sizes[@]}"; do
  png=${root}/usr/share/icons/hicolor/${size}x${size}/apps/${app_id}.png
  [[ -f ${png} ]] || continue
  read -r -a b < <(od -An -tu1 -N24 -v "${png}" | tr -s ' \n' ' ')
  if [[ "${b[*]:0:8}" != "137 80 78 71 13 10 26 10" || "${b[*]:12:4}" != "73 72 68 82" ]]; then
    fail "${size}x${size} icon is not a PNG"
    continue
  fi
  width=$(((b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19]))
  height=$(((b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23]))
  [[ ${width}x${height} == "${size}x${size}" ]] || fail "${size}x${size} icon is ${width}x${height}"
done

# --- desktop and software-centre entries -------------------------------------------------
desktop=${root}/usr/share/applications/${app_id}.desktop
if out=$(desktop-file-validate "${desktop}" 2>&1) && [[ -z ${out} ]]; then :; else
  fail "desktop-file-validate: ${out}"
fi
grep -qx 'Exec=tolvaro' "${desktop}" || fail "desktop entry does not start tolvaro"
grep -qx "Icon=${app_id}" "${desktop}" || fail "desktop entry does not name the icon ${app_id}"
out=$(appstreamcli validate --no-net --strict "${root}/usr/share/metainfo/${app_id}.metainfo.xml" 2>&1) ||
  fail "appstreamcli validate: ${out}"
# The installed tree as a whole: the metainfo together with the desktop entry it launches.
out=$(appstreamcli validate-tree --no-net --strict "${root}" 2>&1) || fail "appstreamcli validate-tree: ${out}"

# --- documentation ------------------------------------------------------------------------
# The newest entry of the Debian changelog is this package's version; the newest release of the
# upstream CHANGELOG.md (installed as changelog.gz) and of the metainfo is the upstream version,
# of the same date: a release without its entries fails here.
doc=${root}/usr/share/doc/tolvaro
newest=$(zcat "${doc}/changelog.Debian.gz" | dpkg-parsechangelog -l - -S Version 2>&1)
[[ ${newest} == "${debian_version}" ]] || fail "newest Debian changelog entry is '${newest}', expected ${debian_version}"
upstream=$(zcat "${doc}/changelog.gz" | grep -oPm1 '^## \K\S+ \(\d{4}-\d\d-\d\d\)$')
release=$(grep -oPm1 '<release version="\K[^"]+" date="[^"]+' "${root}/usr/share/metainfo/${app_id}.metainfo.xml" |
  sed -E 's/" date="(.*)/ (\1)/')
[[ ${upstream} == "${version} ("* ]] || fail "newest release in the upstream changelog is '${upstream}', expected ${version}"
[[ ${release} == "${upstream}" ]] || fail "newest release in the metainfo is '${release}', in the upstream changelog '${upstream}'"
copyright=${root}/usr/share/doc/tolvaro/copyright
if [[ -f ${copyright} ]]; then
  for line in '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' \
              '^License: GPL-3\+$' '"/usr/share/common-licenses/GPL-3"'; do
    grep -qE "${line}" "${copyright}" || fail "copyright lacks ${line}"
  done
fi

# --- lintian: every tag fails, down to pedantic and experimental ones (among them man's warnings
# on the manual pages and time-stamped gzip files), unless an override in debian/ says why
if command -v lintian >/dev/null; then
  lintian --display-info --pedantic --display-experimental --fail-on error,warning,info,pedantic,experimental \
    "${changes}" 2>&1 |
    grep -v 'running with root privileges' >"${work}/lintian.log"
  status=${PIPESTATUS[0]}
  cat "${work}/lintian.log"
  ((status == 0)) || fail "lintian reports tags without an override (status ${status})"
else
  fail "lintian is not installed (run scripts/install-deps.sh)"
fi

# --- dependencies resolve on this system (simulation only, no lock taken) -----------------
if out=$(apt-get install --simulate -o Debug::NoLocking=1 "${deb}" 2>&1); then
  echo "${out}" | grep -E '^(Inst|Conf|Remv) ' || true
  grep -q '^Remv ' <<<"${out}" && fail "installing the package would remove packages"
  grep -qE '^Inst tolvaro |is already the newest version' <<<"${out}" || fail "apt-get did not plan to install tolvaro: ${out}"
else
  fail "apt-get install --simulate: ${out}"
fi

if ((failures > 0)); then
  echo "${failures} check(s) failed"
  exit 1
fi
echo "package checks passed"
