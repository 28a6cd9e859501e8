#!/usr/bin/env bash
# Benchmark of Tolvaro against the smallest Qt Widgets program with a window of the same size
# (bench/bare), on private Xvfb displays without a window manager. Measured, in turns:
#   start-up  from starting the process to its main window being mapped (shown), and to its first
#             paint; peak resident memory (VmHWM) just after that paint        (bench/mapwatch);
#             again on a 1366x768 screen at 120 dpi, where Tolvaro's look at the screen before Qt
#             starts has it draw at the scale that fits (1.09) and bare Qt at the desktop's (1.25)
#   click     from the release of a click on CONTROLEER to the repainted verdicts; the bare
#             program has a button and ten labels in the same places  (bench/clickwatch)
#   print     from OK in the print options dialog to the first page delivered to a PDF printer,
#             against a QTextDocument printed to a QPrinter           (bench/printbench)
# The script prints medians and ratios. The start-up target: the window shown within 1.2x the
# bare window's time, on both screens.
#
# usage: bench/startup.sh [runs, default 20] [program, default <build>/tolvaro]
# The build directory is build/ unless BUILD_DIR names another.
# exit status: 0 within the target, 2 when it is missed, 1 on errors.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build=${BUILD_DIR:-build}
runs=${1:-20}
program=${2:-${build}/tolvaro}
[[ ${runs} =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [runs] [program]" >&2; exit 1; }
readonly time_target=1.2 settle_ms=300 title='Tolvaro v.1 (KVZ)'
# Window coordinates: CONTROLEER, VOLGENDE OEFENING (which clears the verdicts again) and the
# column of verdicts.
readonly check_xy='465 466' next_xy='199 468' verdicts_area='490 170 68 260'
jobs=$(nproc)

die() { echo "bench: $*" >&2; exit 1; }
for tool in Xvfb xprop cmake; do
  command -v "${tool}" >/dev/null || die "${tool} is not installed (run scripts/install-deps.sh)"
done

echo "building ..."
[[ -f ${build}/CMakeCache.txt ]] || cmake -S . -B "${build}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "${build}" -j"${jobs}" --target tolvaro bare mapwatch clickwatch printbench >/dev/null
[[ -x ${program} ]] || die "${program} is not an executable"

work=$(mktemp -d)
xvfb_pids=()
cleanup() {
  for pid in "${xvfb_pids[@]}"; do kill "${pid}" 2>/dev/null || true; wait "${pid}" 2>/dev/null || true; done
  rm -rf "${work}"
}
trap cleanup EXIT

# xvfb <size>: a display of that size; its name (":n") in xvfb_display.
xvfb() {
  # -noreset: the server must not reset between two runs, when no client is connected.
  Xvfb -displayfd 9 -screen 0 "$1x24" -nolisten tcp -noreset 9>"${work}/display" 2>"${work}/xvfb.log" &
  xvfb_pids+=($!)
  for _ in $(seq 100); do [[ -s ${work}/display ]] && break; sleep 0.1; done
  [[ -s ${work}/display ]] || die "Xvfb did not start: $(cat "${work}/xvfb.log")"
  xvfb_display=":$(head -n1 "${work}/display")"
  rm "${work}/display"
}
xvfb 1280x1024
large=${xvfb_display}
xvfb 1366x768
laptop=${xvfb_display}
DISPLAY=${laptop} xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	120
"
export DISPLAY=${large}
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="${work}"  # private, mode 0700 from mktemp

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
column() { cut -d' ' -f"$1" "$2" | median; }

# ---- start-up
measure() {
  "${build}"/bench/mapwatch "$1" "${settle_ms}" "$2" 2>"${work}/mapwatch.log" || die "$2: $(cat "${work}/mapwatch.log")"
}
# startup <display> <suffix of the result files>
startup() {
  # One unmeasured run each fills the font and plugin caches.
  DISPLAY=$1 measure "${title}" "${program}" >/dev/null
  DISPLAY=$1 measure bare "${build}"/bench/bare >/dev/null
  : >"${work}/tolvaro$2"
  : >"${work}/bare$2"
  for i in $(seq "${runs}"); do
    DISPLAY=$1 measure "${title}" "${program}" >>"${work}/tolvaro$2"
    DISPLAY=$1 measure bare "${build}"/bench/bare >>"${work}/bare$2"
    printf '\rstart-up run %d/%d on %s' "${i}" "${runs}" "$1"
  done
  echo
}
startup "${large}" ''
startup "${laptop}" -laptop

# ---- click on CONTROLEER to repainted verdicts: rounds in a few program runs, in turns
click_runs=3
click_rounds=$(( (runs + click_runs - 1) / click_runs ))
: >"${work}/click-tolvaro"
: >"${work}/click-bare"
for i in $(seq "${click_runs}"); do
  # shellcheck disable=SC2086  # coordinates are words on purpose
  "${build}"/bench/clickwatch "${title}" "${settle_ms}" "${click_rounds}" ${check_xy} ${next_xy} ${verdicts_area} \
    "${program}" >>"${work}/click-tolvaro" 2>"${work}/click.log" || die "click: $(cat "${work}/click.log")"
  # shellcheck disable=SC2086
  "${build}"/bench/clickwatch bare "${settle_ms}" "${click_rounds}" ${check_xy} ${next_xy} ${verdicts_area} \
    "${build}"/bench/bare --practice >>"${work}/click-bare" 2>"${work}/click.log" || die "click: $(cat "${work}/click.log")"
  printf '\rclick run %d/%d' "${i}" "${click_runs}"
done
echo

# ---- OK in the print options dialog to the first page delivered
printf 'print rounds ...'
"${build}"/bench/printbench "${runs}" >"${work}/print" 2>"${work}/print.log" || die "print: $(cat "${work}/print.log")"
echo

awk -v runs="${runs}" -v ttarget="${time_target}" \
    -v tmap="$(column 1 "${work}/tolvaro")" -v bmap="$(column 1 "${work}/bare")" \
    -v tpaint="$(column 2 "${work}/tolvaro")" -v bpaint="$(column 2 "${work}/bare")" \
    -v tlaptop="$(column 1 "${work}/tolvaro-laptop")" -v blaptop="$(column 1 "${work}/bare-laptop")" \
    -v tkib="$(column 3 "${work}/tolvaro")" -v bkib="$(column 3 "${work}/bare")" \
    -v tclick="$(median <"${work}/click-tolvaro")" -v bclick="$(median <"${work}/click-bare")" \
    -v tprint="$(column 1 "${work}/print")" -v bprint="$(column 2 "${work}/print")" '
  function row(name, t, b, unit, scale) {
    printf "%-34s %10.1f %s %10.1f %s %8.2fx\n", name, t / scale, unit, b / scale, unit, t / b
  }
  BEGIN {
    printf "\nmedians of %d runs each, taken in turns, on Xvfb\n\n", runs
    printf "%-34s %13s %13s %9s\n", "", "tolvaro", "bare", "ratio"
    row("start to window shown", tmap, bmap, "ms ", 1000)
    row("start to first paint", tpaint, bpaint, "ms ", 1000)
    row("window shown, 1366x768 at 120 dpi", tlaptop, blaptop, "ms ", 1000)
    row("peak memory", tkib, bkib, "MiB", 1024)
    row("click CONTROLEER to verdicts", tclick, bclick, "ms ", 1000)
    row("print OK to first page (PDF)", tprint, bprint, "ms ", 1000)
    ok = tmap / bmap <= ttarget && tlaptop / blaptop <= ttarget
    printf "\nstart-up target <= %sx: %s\n", ttarget, ok ? "met" : "MISSED"
    exit ok ? 0 : 2
  }'
