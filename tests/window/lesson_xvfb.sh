#!/usr/bin/env bash
# A whole lesson on the real program, on a private virtual X display under openbox with a
# private D-Bus session and accessibility bus: lesson_atspi.py reads the exercises from the
# accessibility tree and plays them with real mouse and key events, checks the verdicts by
# text and by colour, walks through the settings, the about panel, the print options dialog,
# a switch to another window, a contest and RESET, then plays one set through the
# accessibility interfaces alone, and ends the program with a click on the stop picture,
# which must end it with status 0.
#
# usage: lesson_xvfb.sh <tolvaro executable>
#
# A screenshot of every step is kept as PNG in $TOLVARO_E2E_ARTEFACTS (default: e2e-artefacts
# next to the executable). The contest lasts its whole minute, to see the results; with
# TOLVARO_E2E_SHORT_CONTEST=1 it is ended by RESET instead, for a run of about 20 s.
# Exits with 77 (skipped) only when a needed tool is not installed.
set -uo pipefail

readonly caption_pattern='^Tolvaro v\.1 \(KVZ\)$'
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly here
# Debian's pyatspi is built for the system interpreter, whatever else is first on PATH.
readonly python=/usr/bin/python3

exe=${1:-}

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*" >&2; exit 77; }
note() { echo "[lesson] $*"; }

[[ -n ${exe} ]] || fail "usage: $0 <tolvaro executable>"
[[ -x ${exe} ]] || fail "program not found or not executable: ${exe}"
exe=$(cd "$(dirname "${exe}")" && pwd)/$(basename "${exe}")

readonly bus_launcher=/usr/libexec/at-spi-bus-launcher
readonly registryd=/usr/libexec/at-spi2-registryd
for tool in Xvfb openbox xdotool xprop xmessage import dbus-daemon dbus-send "${bus_launcher}" "${registryd}" "${python}"; do
  command -v "${tool}" >/dev/null || skip "${tool} is not installed (run scripts/install-deps.sh)"
done
# ImageMagick's own name for convert, so that no other program of that name is picked up.
convert=$(command -v convert-im6.q16 || command -v convert) || skip "convert (ImageMagick) is not installed"
env -u PYTHONPATH -u PYTHONHOME "${python}" -c 'import pyatspi' 2>/dev/null \
  || skip "pyatspi is not available to ${python} (python3-pyatspi; run scripts/install-deps.sh)"

artefacts=${TOLVARO_E2E_ARTEFACTS:-$(dirname "${exe}")/e2e-artefacts}
mkdir -p "${artefacts}" || fail "cannot create the screenshot directory ${artefacts}"
artefacts=$(cd "${artefacts}" && pwd)
rm -f "${artefacts}"/[0-9][0-9]-*.png
note "screenshots go to ${artefacts}"

work=$(mktemp -d)
xvfb_pid='' wm_pid='' bus_pid='' launcher_pid='' registry_pid='' app_pid=''
stop() {
  local pid
  for pid in "$@"; do
    [[ -n ${pid} ]] || continue
    kill "${pid}" 2>/dev/null
    # Not every one of these is a child of this shell (the session bus forks away).
    for _ in $(seq 50); do kill -0 "${pid}" 2>/dev/null || break; sleep 0.1; done
    kill -9 "${pid}" 2>/dev/null
    wait "${pid}" 2>/dev/null
  done
}
cleanup() {
  stop "${app_pid}" "${registry_pid}" "${launcher_pid}" "${bus_pid}" "${wm_pid}" "${xvfb_pid}"
  rm -rf "${work}"
}
trap cleanup EXIT

app_log() { echo "--- program output ---" >&2; cat "${work}/app.log" >&2; }

# wait_for <tenths of a second> <command...>: polls the command until it succeeds.
wait_for() {
  local tenths=$1
  shift
  for _ in $(seq "${tenths}"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

started=${SECONDS}

# ---- X display and window manager
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp -noreset 9>"${work}/display" 2>"${work}/xvfb.log" &
xvfb_pid=$!
wait_for 100 test -s "${work}/display" || { cat "${work}/xvfb.log" >&2; fail "Xvfb did not start"; }
DISPLAY=":$(head -n1 "${work}/display")"
export DISPLAY

openbox --sm-disable >"${work}/openbox.log" 2>&1 &
wm_pid=$!
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for 100 wm_ready || { cat "${work}/openbox.log" >&2; fail "openbox did not take over the display"; }
note "Xvfb on ${DISPLAY} with openbox"

# ---- private session bus, accessibility bus and registry
unset WAYLAND_DISPLAY AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_PID
export XDG_RUNTIME_DIR="${work}"  # private, mode 0700 from mktemp
dbus-daemon --session --fork --nosyslog --print-address=3 --print-pid=4 \
  3>"${work}/bus.address" 4>"${work}/bus.pid" 2>"${work}/bus.log" \
  || { cat "${work}/bus.log" >&2; fail "the D-Bus session bus did not start"; }
bus_pid=$(head -n1 "${work}/bus.pid")
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "${work}/bus.address")
export DBUS_SESSION_BUS_ADDRESS

"${bus_launcher}" --launch-immediately >"${work}/launcher.log" 2>&1 &
launcher_pid=$!
a11y_address() {
  dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >"${work}/a11y.address" 2>/dev/null && grep -q . "${work}/a11y.address"
}
wait_for 100 a11y_address || { cat "${work}/launcher.log" >&2; fail "the accessibility bus did not start"; }
a11y_bus=$(tr -d ' \n' <"${work}/a11y.address")

# Started here rather than on demand by the bus, so that it ends with this test.
"${registryd}" >"${work}/registryd.log" 2>&1 &
registry_pid=$!
registry_ready() {
  dbus-send --bus="${a11y_bus}" --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.atspi.Registry 2>/dev/null | grep -q true
}
wait_for 100 registry_ready || { cat "${work}/registryd.log" >&2; fail "the accessibility registry did not start"; }
note "accessibility bus ${a11y_bus}"

# ---- the program
export LC_ALL=C.UTF-8 LANG=C.UTF-8
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "${exe}" >"${work}/app.log" 2>&1 &
app_pid=$!

window=''
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name "${caption_pattern}" 2>/dev/null | head -n1)
  [[ -n ${window} ]] && break
  kill -0 "${app_pid}" 2>/dev/null || { app_log; fail "program ended before showing its window"; }
  sleep 0.1
done
[[ -n ${window} ]] || { app_log; fail "no visible window titled 'Tolvaro v.1 (KVZ)' within 30 s"; }
note "window ${window} shown after $((SECONDS - started)) s"

# ---- the lesson; it ends with the click on the stop picture
env -u PYTHONPATH -u PYTHONHOME "${python}" "${here}/lesson_atspi.py" \
  --pid "${app_pid}" --window "${window}" --artefacts "${artefacts}" --convert "${convert}" \
  ${TOLVARO_E2E_SHORT_CONTEST:+--short-contest}
lesson=$?
if [[ ${lesson} -ne 0 ]]; then
  app_log
  fail "the lesson failed (see above); screenshots up to the failing step are in ${artefacts}"
fi

app_ended() { ! kill -0 "${app_pid}" 2>/dev/null; }
wait_for 50 app_ended || { app_log; fail "program still running 5 s after the click on the stop picture"; }
wait "${app_pid}"
status=$?
app_pid=''
[[ ${status} -eq 0 ]] || { app_log; fail "program exited with status ${status} after the stop picture, expected 0"; }
note "program ended with status 0; whole run $((SECONDS - started)) s"
