#!/usr/bin/env bash
# The real program as a native client of a headless weston: its whole window (809x646, settings
# group and score panel in place) in a screenshot. Weston has no input devices here, so the print
# dialog's round trip and a PDF worksheet are driven in-process by the activation test there.
# usage: smoke_wayland.sh <tolvaro executable> <window_test_activation executable> [small]
# small: a 1366x768 output at scale 2, where the window is drawn at the largest scale that fits.
set -uo pipefail
for tool in weston weston-screenshooter convert; do command -v "${tool}" >/dev/null || exit 77; done
exe=$(realpath "$1") test=$(realpath "$2") small=${3:-}
export XDG_RUNTIME_DIR=$(mktemp -d) WAYLAND_DISPLAY=tolvaro QT_QPA_PLATFORM=wayland
cd "${XDG_RUNTIME_DIR}" && trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "${XDG_RUNTIME_DIR}"' EXIT
fail() { cat weston.log app.log >&2; echo "FAIL: $*" >&2; exit 1; }
# No panel: its clock would put the time of day into the screenshot.
printf '[shell]\npanel-position=none\nbackground-color=0xff202020\n' >weston.ini
[[ -n ${small} ]] && output=(--width=683 --height=384 --scale=2) || output=(--width=1280 --height=1024)
weston --config="${PWD}/weston.ini" --backend=headless-backend.so --use-pixman --socket=tolvaro --idle-time=0 \
  --debug "${output[@]}" &>weston.log &
for _ in $(seq 100); do [[ -S tolvaro ]] && break; sleep 0.1; done
"${exe}" &>app.log &
# The bounding box of the areas of one colour, leaving out specks of under 200 pixels: stray
# text pixels of that colour (the decoration's title, say) do not widen it. Alpha is dropped: a
# screenshot with a translucent pixel anywhere (a shadow being drawn) names every colour with it.
box() {
  convert shot.png -alpha off -fill black +opaque "rgb($1)" -fill white -opaque "rgb($1)" \
    -define connected-components:verbose=true -connected-components 8 null: |
    awk '$NF == "srgb(255,255,255)" && $4 >= 200 {
           split($2, b, /[x+]/); r = b[3] + b[1]; d = b[4] + b[2]
           if (!n++) { x = b[3]; y = b[4]; xr = r; yd = d }
           x = b[3] < x ? b[3] : x; y = b[4] < y ? b[4] : y; xr = r > xr ? r : xr; yd = d > yd ? d : yd }
         END { if (n) printf "%dx%d+%d+%d\n", xr - x, yd - y, x, y }'
}
# The small output: the surface at one scale, the largest sixteenth that fits with a layout pixel to
# spare (the next would not), and its decoration (Qt's: 3 px around, a 30 px title bar, doubled).
fits_small() {
  awk -v w="${w:-0}" -v h="${h:-0}" -v x="${x:-0}" -v y="${y:-0}" 'BEGIN {
    s = w / 809; d = s * 646 - h; q = int(s * 16 + 0.5) / 16; n = q + 1 / 16
    exit !(w > 0 && d * d <= 1 && (s - q) ^ 2 < 1e-5 && x >= 6 && y >= 60 && x + w + 6 <= 1366 &&
           y + h + 6 <= 768 && (n * 648 + 66 > 768 || n * 811 + 12 > 1366))
  }'
}
for _ in $(seq 40); do
  sleep 0.25
  weston-screenshooter &>/dev/null && mv wayland-screenshot-*.png shot.png || continue
  IFS=x+ read -r w h x y <<<"$(box 160,160,160)"  # the window's own surface
  [[ -n ${small} ]] && { fits_small && whole=1 && break; continue; }
  [[ ${w}x${h} == 809x646 && $(box 0,128,128) == 761x89+$((x + 24))+$((y + 9)) &&
     $(box 191,205,219) == 165x301+$((x + 614))+$((y + 140)) ]] && whole=1 && break
done
[[ -n ${whole:-} ]] || fail "no whole window in the screenshot (its surface ${w:-?}x${h:-?}+${x:-?}+${y:-?}) ${small}"
kill -0 %2 2>/dev/null || fail "the program ended"
[[ -n ${small} ]] && { echo "small output: the window's surface ${w}x${h}+${x}+${y}"; exit 0; }
"${test}" okPrintsTheSheetsThroughTheBuffer hundredOpeningsLeaveNoDialogAlive &>test.log || { cat test.log; fail "in-process"; }
kill $(jobs -p); wait; "$0" "$1" "$2" small  # the small output, in a weston of its own
