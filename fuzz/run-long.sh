#!/usr/bin/env bash
# Long fuzz run of the number texts: builds the fuzzers (clang) in build-fuzz/ and runs each
# for the given number of seconds (default 600), one after the other.
#   fuzz/run-long.sh [seconds] [fuzzer ...]      fuzzers: text_to_float text_to_int float_to_text
# New inputs collect in build-fuzz/work/<fuzzer>/; a failing input is kept as
# build-fuzz/work/artifacts/<fuzzer>-crash-* and replays with build-fuzz/fuzz/fuzz_<fuzzer> FILE.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
shift || true
fuzzers=("$@")
((${#fuzzers[@]} > 0)) || fuzzers=(text_to_float text_to_int float_to_text)

cd "${root}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"

work=${root}/build-fuzz/work
status=0
for name in "${fuzzers[@]}"; do
  case ${name} in
    float_to_text) corpus=float max_len=10 ;;
    text_to_int) corpus=text max_len=64 ;;
    *) corpus=text max_len=128 ;;
  esac
  mkdir -p "${work}/${name}" "${work}/artifacts"
  echo "fuzz-long: ${name} for ${seconds} s"
  if ! "${root}/build-fuzz/fuzz/fuzz_${name}" -max_total_time="${seconds}" -max_len="${max_len}" \
      -dict="${root}/fuzz/numbertext.dict" -print_final_stats=1 \
      -artifact_prefix="${work}/artifacts/${name}-" "${work}/${name}" "${root}/fuzz/corpus/${corpus}"; then
    echo "fuzz-long: ${name} FAILED; see ${work}/artifacts/" >&2
    status=1
  fi
done
exit ${status}
