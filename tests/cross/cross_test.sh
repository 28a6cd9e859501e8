#!/usr/bin/env bash
# The cross pass of make test: the number rules built with Debian's cross compilers for arm64,
# armhf and i386 (GMP and MPFR of those architectures through multiarch, linked statically) and
# run under qemu-user: tests/cross/numberrules.cpp, and the fuzz seed corpus replayed through
# the three fuzz targets (fuzz/replay.cpp stands in for libFuzzer). Only core/ is built, no Qt.
#
# Installs what it needs first (scripts/install-deps.sh cross). When that fails, or a compiler or
# library of an architecture is missing, that architecture is skipped with a loud SKIP and the
# reason; a failing build or test fails the pass (status 1).
#   tests/cross/cross_test.sh [build folder]     default: build-cross
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-${root}/build-cross}
core_sources=("${root}"/core/extended.cpp "${root}"/core/power.cpp "${root}"/core/numbertext.cpp)
fuzz_targets=(text_to_float:text text_to_int:text float_to_text:float)
launcher=$(command -v ccache || true)

skip() {
  echo "=================================================================="
  echo "SKIP cross pass $1: $2"
  echo "=================================================================="
}

if ! bash "${root}/scripts/install-deps.sh" cross; then
  skip "(arm64, armhf, i386)" "the cross compilers, GMP/MPFR of those architectures or qemu-user could not be installed (see above)"
  exit 0
fi

# arch, compiler, qemu
architectures=(
  "arm64 aarch64-linux-gnu-g++ qemu-aarch64"
  "armhf arm-linux-gnueabihf-g++ qemu-arm"
  "i386 i686-linux-gnu-g++ qemu-i386"
)

# build_and_run arch compiler qemu: status 0 passed, 1 failed, 2 skipped
build_and_run() {
  local arch=$1 cxx=$2 qemu=$3 dir=${out}/$1 name corpus
  for tool in "${cxx}" "${qemu}"; do
    command -v "${tool}" >/dev/null || { skip "${arch}" "${tool} is not installed"; return 2; }
  done
  for library in gmp mpfr; do
    [[ -f /usr/lib/$("${cxx}" -dumpmachine | sed 's/^i686/i386/')/lib${library}.a ]] ||
      { skip "${arch}" "lib${library}-dev:${arch} is not installed"; return 2; }
  done
  mkdir -p "${dir}"
  local flags=(-std=c++20 -O1 -Wall -Wextra -static -I"${root}" -I"${root}/fuzz")
  echo "cross ${arch}: building with ${cxx}"
  # The core once, then the test program and the replaying fuzz targets linked against it.
  local objects=()
  for source in "${core_sources[@]}"; do
    objects+=("${dir}/$(basename "${source}" .cpp).o")
    ${launcher} "${cxx}" "${flags[@]}" -c "${source}" -o "${objects[-1]}" || return 1
  done
  ${launcher} "${cxx}" "${flags[@]}" -c "${root}/fuzz/replay.cpp" -o "${dir}/replay.o" || return 1
  "${cxx}" "${flags[@]}" "${root}/tests/cross/numberrules.cpp" "${objects[@]}" -lmpfr -lgmp -o "${dir}/numberrules" ||
    return 1
  for target in "${fuzz_targets[@]}"; do
    name=${target%%:*}
    "${cxx}" "${flags[@]}" "${root}/fuzz/fuzz_${name}.cpp" "${dir}/replay.o" "${objects[@]}" -lmpfr -lgmp \
      -o "${dir}/fuzz_${name}" || return 1
  done

  echo "cross ${arch}: running under ${qemu}"
  "${qemu}" "${dir}/numberrules" || return 1
  for target in "${fuzz_targets[@]}"; do
    name=${target%%:*} corpus=${target#*:}
    echo -n "fuzz_${name} on corpus/${corpus}: "
    "${qemu}" "${dir}/fuzz_${name}" "${root}/fuzz/corpus/${corpus}" || return 1
  done
}

failed=() skipped=() passed=()
for entry in "${architectures[@]}"; do
  read -r arch cxx qemu <<<"${entry}"
  build_and_run "${arch}" "${cxx}" "${qemu}"
  case $? in
    0) passed+=("${arch}") ;;
    2) skipped+=("${arch}") ;;
    *) failed+=("${arch}"); echo "cross ${arch}: FAILED" ;;
  esac
done

echo "cross pass: passed: ${passed[*]:-none}; skipped: ${skipped[*]:-none}; failed: ${failed[*]:-none}"
((${#skipped[@]} == 0)) || skip "(${skipped[*]})" "see the reasons above"
((${#failed[@]} == 0))
