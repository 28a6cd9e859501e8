#!/usr/bin/env bash
# Refreshes docs/screenshot.png: runs build/tolvaro on a private virtual X
# display under openbox, captures its main window with the title bar, and
# closes the program again. With --guide it takes the pictures of the
# teachers' guide instead (docs/handleiding/, see scripts/guide_pictures.py):
# the program then runs with a private accessibility bus, through which the
# exercises are read; this takes a little over a minute (a whole contest).
#
# usage: scripts/screenshot.sh [program] [output.png]
#        scripts/screenshot.sh --guide [program] [directory]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

guide=''
if [[ ${1:-} == --guide ]]; then guide=yes; shift; fi
exe=${1:-build/tolvaro}
if [[ -n ${guide} ]]; then out=${2:-docs/handleiding}; else out=${2:-docs/screenshot.png}; fi
readonly caption_pattern='^Tolvaro v\.1 \(KVZ\)$'
# Debian's pyatspi is built for the system interpreter, whatever else is first on PATH.
readonly python=/usr/bin/python3

die() { echo "screenshot: $*" >&2; exit 1; }
[[ -x ${exe} ]] || die "${exe} not found: build it first (make run, or make test)"
tools=(Xvfb xdotool import xprop)
[[ -n ${guide} ]] && tools+=(openbox dbus-daemon "${python}")
for tool in "${tools[@]}"; do
  command -v "${tool}" >/dev/null || die "${tool} is not installed (run scripts/install-deps.sh)"
done

work=$(mktemp -d)
xvfb_pid='' wm_pid='' app_pid='' bus_pid=''
cleanup() {
  for pid in "${app_pid}" "${bus_pid}" "${wm_pid}" "${xvfb_pid}"; do
    if [[ -n ${pid} ]]; then kill "${pid}" 2>/dev/null || true; wait "${pid}" 2>/dev/null || true; fi
  done
  rm -rf "${work}"
}
trap cleanup EXIT

Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset 9>"${work}/display" 2>"${work}/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s ${work}/display ]] && break; sleep 0.1; done
[[ -s ${work}/display ]] || die "Xvfb did not start: $(cat "${work}/xvfb.log")"
DISPLAY=":$(head -n1 "${work}/display")"
export DISPLAY

frame=()
if command -v openbox >/dev/null; then
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  frame=(-frame)
fi

unset WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="${work}"  # private, mode 0700 from mktemp
if [[ -n ${guide} ]]; then
  # A private session bus; it starts the accessibility bus and registry when Qt asks for them,
  # and they end with it.
  unset AT_SPI_BUS_ADDRESS
  dbus-daemon --session --fork --nosyslog --print-address=3 --print-pid=4 \
    3>"${work}/bus.address" 4>"${work}/bus.pid" 2>"${work}/bus.log" || die "no session bus: $(cat "${work}/bus.log")"
  bus_pid=$(head -n1 "${work}/bus.pid")
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "${work}/bus.address")
  export DBUS_SESSION_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
fi
QT_QPA_PLATFORM=xcb "${exe}" >"${work}/app.log" 2>&1 &
app_pid=$!

window=''
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name "${caption_pattern}" 2>/dev/null | head -n1 || true)
  [[ -n ${window} ]] && break
  kill -0 "${app_pid}" 2>/dev/null || die "program ended early: $(cat "${work}/app.log")"
  sleep 0.1
done
[[ -n ${window} ]] || die "no window titled 'Tolvaro v.1 (KVZ)' appeared"

if [[ -n ${guide} ]]; then
  mkdir -p "${out}"
  env -u PYTHONPATH -u PYTHONHOME "${python}" scripts/guide_pictures.py \
    --pid "${app_pid}" --window "${window}" --out "${out}" --park 1020,760 ||
    die "the guide's pictures could not all be taken: $(cat "${work}/app.log")"
  exit 0
fi

# Let the first activation fill the exercises and the window paint itself;
# park the pointer outside the window so no tooltip or help text shows.
xdotool mousemove 1020 760
sleep 1.5
mkdir -p "$(dirname "${out}")"
import "${frame[@]}" -window "${window}" "${out}"
echo "screenshot: wrote ${out} ($(identify -format '%wx%h' "${out}"))"
