#!/usr/bin/env bash
# Start-up benchmark: Tolvaro against the smallest Qt Widgets program with a
# window of the same size (bench/bare). Both run in turns on one private Xvfb
# display without a window manager; for each run bench/mapwatch measures
#   time    from starting the process to its main window being mapped
#   memory  the process's peak resident set size (VmHWM) just after the first paint
# The script prints the medians and the ratios against the targets:
# Tolvaro at most 1.2x the bare window's time and 1.3x its memory.
#
# usage: bench/startup.sh [runs per program, default 20] [program, default build/tolvaro]
# exit status: 0 within both targets, 2 when a target is missed, 1 on errors.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

runs=${1:-20}
program=${2:-}
[[ ${runs} =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [runs] [program]" >&2; exit 1; }
readonly time_target=1.2 memory_target=1.3 settle_ms=300
jobs=$(nproc)

die() { echo "startup: $*" >&2; exit 1; }
for tool in Xvfb cmake; do
  command -v "${tool}" >/dev/null || die "${tool} is not installed (run scripts/install-deps.sh)"
done

echo "building ..."
if [[ -z ${program} ]]; then
  program=build/tolvaro
  [[ -f build/CMakeCache.txt ]] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"${jobs}" --target tolvaro >/dev/null
fi
[[ -x ${program} ]] || die "${program} is not an executable"
[[ -f build/bench/CMakeCache.txt ]] || cmake -S bench -B build/bench -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/bench -j"${jobs}" >/dev/null

work=$(mktemp -d)
xvfb_pid=''
cleanup() {
  if [[ -n ${xvfb_pid} ]]; then kill "${xvfb_pid}" 2>/dev/null || true; wait "${xvfb_pid}" 2>/dev/null || true; fi
  rm -rf "${work}"
}
trap cleanup EXIT

# -noreset: the server must not reset between two runs, when no client is connected.
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp -noreset 9>"${work}/display" 2>"${work}/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s ${work}/display ]] && break; sleep 0.1; done
[[ -s ${work}/display ]] || die "Xvfb did not start: $(cat "${work}/xvfb.log")"
DISPLAY=":$(head -n1 "${work}/display")"
export DISPLAY
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="${work}"  # private, mode 0700 from mktemp

# measure <title> <program>: appends "<microseconds> <KiB>" to stdout
measure() {
  build/bench/mapwatch "$1" "${settle_ms}" "$2" 2>"${work}/mapwatch.log" \
    || die "$2: $(cat "${work}/mapwatch.log")"
}

# One unmeasured run each fills the font and plugin caches.
measure 'Tolvaro v.1 (KVZ)' "${program}" >/dev/null
measure 'bare' build/bench/bare >/dev/null

: >"${work}/tolvaro"
: >"${work}/bare"
for i in $(seq "${runs}"); do
  measure 'Tolvaro v.1 (KVZ)' "${program}" >>"${work}/tolvaro"
  measure 'bare' build/bench/bare >>"${work}/bare"
  printf '\rrun %d/%d' "${i}" "${runs}"
done
echo

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
t_us=$(cut -d' ' -f1 "${work}/tolvaro" | median)
t_kib=$(cut -d' ' -f2 "${work}/tolvaro" | median)
b_us=$(cut -d' ' -f1 "${work}/bare" | median)
b_kib=$(cut -d' ' -f2 "${work}/bare" | median)

awk -v runs="${runs}" -v tus="${t_us}" -v tkib="${t_kib}" -v bus="${b_us}" -v bkib="${b_kib}" \
    -v ttarget="${time_target}" -v mtarget="${memory_target}" '
  BEGIN {
    rt = tus / bus; rm = tkib / bkib
    printf "\nmedians of %d runs each, taken in turns, on Xvfb\n\n", runs
    printf "%-10s %18s %18s\n", "program", "start to window", "peak memory"
    printf "%-10s %15.1f ms %14.1f MiB\n", "tolvaro", tus / 1000, tkib / 1024
    printf "%-10s %15.1f ms %14.1f MiB\n", "bare", bus / 1000, bkib / 1024
    printf "%-10s %17.2fx %17.2fx\n", "ratio", rt, rm
    printf "%-10s %18s %18s\n", "target", "<= " ttarget "x", "<= " mtarget "x"
    ok = (rt <= ttarget && rm <= mtarget)
    printf "\n%s\n", ok ? "within both targets" : "TARGET MISSED"
    exit ok ? 0 : 2
  }'
