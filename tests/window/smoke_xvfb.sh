#!/usr/bin/env bash
# End-to-end run of the real program on a private virtual X display:
# start it, find its main window by caption, check the window's size and that
# it is centred on the free screen (with its frame under the window manager) and
# stays where it first appeared, make sure an ordinary click on the window does
# not end it, then click the stop picture and expect a clean exit (status 0)
# within a few seconds.
#
# usage: smoke_xvfb.sh <tolvaro executable> [bare|openbox|panel [dpi]]
#   bare     no window manager (the default)
#   openbox  with openbox managing the window, as on a desktop
#   panel    1366x768 under openbox with a 40 px panel at the bottom, at the given desktop dpi
#            (Xft.dpi) or in turn at 96, 120, 144 and 192, as on school laptops
set -uo pipefail

readonly caption='Tolvaro v.1 (KVZ)'
readonly caption_pattern='^Tolvaro v\.1 \(KVZ\)$'
readonly layout_width=809 layout_height=646
# Image4, the stop picture: client position (26,104), size 57x25.
readonly stop_x=$((26 + 57 / 2)) stop_y=$((104 + 25 / 2))
# A spot of the bare window surface, left of the buttons and above the help box.
readonly plain_x=8 plain_y=470

exe=${1:-}
mode=${2:-bare}
dpi=${3:-96}

fail() { echo "FAIL [${mode}]: $*" >&2; exit 1; }
note() { echo "[${mode}] $*"; }

[[ -n ${exe} ]] || fail "usage: $0 <tolvaro executable> [bare|openbox|panel [dpi]]"
[[ -x ${exe} ]] || fail "program not found or not executable: ${exe}"
case ${mode} in
  bare|openbox) screen_width=1280 screen_height=1024 panel=0 ;;
  panel) screen_width=1366 screen_height=768 panel=40 ;;
  *) fail "unknown mode '${mode}' (bare, openbox or panel)" ;;
esac
readonly area_width=${screen_width} area_height=$((screen_height - panel))  # the free area
for tool in Xvfb xdotool xprop xwininfo xmessage; do
  command -v "${tool}" >/dev/null || fail "${tool} is not installed (run scripts/install-deps.sh)"
done
if [[ ${mode} != bare ]]; then
  command -v openbox >/dev/null || fail "openbox is not installed (run scripts/install-deps.sh)"
fi
[[ ${mode} == panel && -z ${3:-} ]] && { for dpi in 96 120 144 192; do "$0" "${exe}" panel "${dpi}" || exit 1; done; exit 0; }
# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"  # wait_for

work=$(mktemp -d)
xvfb_pid='' wm_pid='' panel_pid='' app_pid=''
cleanup() {
  for pid in "${app_pid}" "${panel_pid}" "${wm_pid}" "${xvfb_pid}"; do
    [[ -n ${pid} ]] && kill "${pid}" 2>/dev/null && wait "${pid}" 2>/dev/null
  done
  rm -rf "${work}"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 9 -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp -noreset 9>"${work}/display" 2>"${work}/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s ${work}/display ]] && break
  kill -0 "${xvfb_pid}" 2>/dev/null || break
  sleep 0.1
done
[[ -s ${work}/display ]] || { cat "${work}/xvfb.log" >&2; fail "Xvfb did not start"; }
DISPLAY=":$(head -n1 "${work}/display")"
export DISPLAY
note "Xvfb on ${DISPLAY}"

if [[ ${mode} != bare ]]; then
  openbox --sm-disable >"${work}/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill -0 "${wm_pid}" 2>/dev/null || break
    sleep 0.1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' \
    || { cat "${work}/openbox.log" >&2; fail "openbox did not take over the display"; }
  note "openbox running"
fi

if ((panel > 0)); then
  # The panel: a window that reserves the bottom of the screen (_NET_WM_STRUT).
  xmessage -name tolvaro-panel -geometry "${screen_width}x${panel}+0+$((screen_height - panel))" panel >/dev/null 2>&1 &
  panel_pid=$!
  panel_shown() { panel_window=$(xdotool search --classname '^tolvaro-panel$' 2>/dev/null | head -n1); [[ -n ${panel_window} ]]; }
  wait_for 100 panel_shown || fail "the panel window did not appear"
  xprop -id "${panel_window}" -f _NET_WM_STRUT 32c -set _NET_WM_STRUT "0, 0, 0, ${panel}"
  area_free() { [[ $(xprop -root _NET_WORKAREA) == *"= 0, 0, ${area_width}, ${area_height},"* ]]; }
  wait_for 50 area_free || fail "the work area is not ${area_width}x${area_height}: $(xprop -root _NET_WORKAREA)"
fi

unset WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="${work}"  # private, mode 0700 from mktemp
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:"$'\t'"${dpi}"$'\n'
QT_QPA_PLATFORM=xcb "${exe}" >"${work}/app.log" 2>&1 &
app_pid=$!

app_log() { echo "--- program output ---" >&2; cat "${work}/app.log" >&2; }

window=''
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name "${caption_pattern}" 2>/dev/null | head -n1)
  [[ -n ${window} ]] && break
  kill -0 "${app_pid}" 2>/dev/null || { app_log; fail "program ended before showing its window"; }
  sleep 0.1
done
if [[ -z ${window} ]]; then
  app_log
  echo "--- visible windows ---" >&2
  for shown in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    echo "${shown}: '$(xdotool getwindowname "${shown}")'" >&2
  done
  fail "no visible window titled exactly '${caption}' within 30 s"
fi
note "window ${window} '${caption}' is shown at ${dpi} dpi"
# The client area's place on the screen (xdotool's is off under a window manager).
client_position() { xwininfo -id "${window}" | awk '/Absolute upper-left [XY]/ {printf "%s ", $NF}'; }
first_position=$(client_position)

# Desktops show the UTF-8 title (_NET_WM_NAME) where there is one; it must be the
# caption as well, with nothing added.
net_name=$(xprop -id "${window}" -notype _NET_WM_NAME 2>/dev/null)
if [[ ${net_name} == *'= "'* ]]; then
  net_name=${net_name#*= \"}
  net_name=${net_name%\"}
  [[ ${net_name} == "${caption}" ]] \
    || fail "the title bar shows '${net_name}', expected '${caption}'"
fi

# Give the first activation time to run before clicking around.
sleep 1
kill -0 "${app_pid}" 2>/dev/null || { app_log; fail "program ended right after showing its window"; }

eval "$(xdotool getwindowgeometry --shell "${window}")"
scale=$(awk -v w="${WIDTH}" -v lw="${layout_width}" 'BEGIN { printf "%.4f", w / lw }')

read -r x y <<< "$(client_position)"
[[ "${x} ${y} " == "${first_position}" ]] || fail "the window moved from ${first_position}to ${x} ${y} after it appeared"
# Twice the frame's distance from the centre of the free area, per axis: 0, or 1 for an odd
# rest, and 2 where a scale's rounding to whole pixels adds a pixel.
extents=$(xprop -id "${window}" -notype _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p')
IFS=', ' read -r left right top bottom <<< "${extents:-0, 0, 0, 0}"
off_x=$((2 * (x - left) + left + WIDTH + right - area_width))
off_y=$((2 * (y - top) + top + HEIGHT + bottom - area_height))
((off_x * off_x <= 4 && off_y * off_y <= 4)) \
  || fail "frame (${left} ${right} ${top} ${bottom}) around ${x},${y} is ${off_x}/2, ${off_y}/2 px off the centre"
((x - left >= 0 && y - top >= 0 && x + WIDTH + right <= area_width && y + HEIGHT + bottom <= area_height)) \
  || fail "frame (${left} ${right} ${top} ${bottom}) around ${WIDTH}x${HEIGHT}+${x}+${y} leaves the free area"
# The layout at one scale: the desktop's where that fits (a layout pixel to spare around the
# frame), otherwise the largest sixteenth that fits: the next one up would not.
awk -v w="${WIDTH}" -v h="${HEIGHT}" -v d="${dpi}" -v lw="${layout_width}" -v lh="${layout_height}" \
    -v fw=$((left + right)) -v fh=$((top + bottom)) -v aw="${area_width}" -v ah="${area_height}" 'BEGIN {
      s = w / lw; d /= 96; q = int(s * 16 + 0.5) / 16; n = q + 1 / 16
      if ((s * lh - h) ^ 2 > 1) exit 1
      if ((lw + 2) * d + fw <= aw && (lh + 2) * d + fh <= ah) exit !((s - d) ^ 2 * lw ^ 2 <= 1)
      exit !(s < d && (s - q) ^ 2 < 1e-5 && ((lw + 2) * n + fw > aw || (lh + 2) * n + fh > ah))
    }' || fail "client area ${WIDTH}x${HEIGHT} (frame ${left} ${right} ${top} ${bottom}) at ${dpi} dpi: not the layout at the desktop's scale, nor at the largest that fits ${area_width}x${area_height}"
note "centred: client at ${x},${y}, frame extents ${left} ${right} ${top} ${bottom}"

# Layout pixels to the window's pixels.
at() { awk -v s="${scale}" -v x="$1" -v y="$2" 'BEGIN { printf "%d %d", x * s + 0.5, y * s + 0.5 }'; }
# shellcheck disable=SC2046  # two coordinates
xdotool mousemove --sync --window "${window}" $(at "${plain_x}" "${plain_y}") click 1
sleep 1
kill -0 "${app_pid}" 2>/dev/null || { app_log; fail "a click on the plain window surface ended the program"; }

note "clicking the stop picture at (${stop_x},${stop_y})"
# shellcheck disable=SC2046
xdotool mousemove --sync --window "${window}" $(at "${stop_x}" "${stop_y}") click 1

for _ in $(seq 50); do
  kill -0 "${app_pid}" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "${app_pid}" 2>/dev/null; then
  app_log
  fail "program still running 5 s after the click on the stop picture"
fi
wait "${app_pid}"
status=$?
app_pid=''
[[ ${status} -eq 0 ]] || { app_log; fail "program exited with status ${status}, expected 0"; }
note "program ended with status 0 after the click on the stop picture"
