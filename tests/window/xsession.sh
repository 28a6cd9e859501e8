# A private desktop session for the tests that run the real program, sourced by them: a virtual
# X display under openbox, a D-Bus session bus, the accessibility bus and its registry. The
# caller defines fail() and note(), sets work to a private directory (mktemp -d) and calls
# start_session; end_session ends the session's processes and those the caller added to
# session_pids (put first, so that they end first).
# shellcheck shell=bash

readonly bus_launcher=/usr/libexec/at-spi-bus-launcher registryd=/usr/libexec/at-spi2-registryd
session_tools=(Xvfb openbox xprop dbus-daemon dbus-send "${bus_launcher}" "${registryd}")
session_pids=()

# stop <pid>...: asks each to end, then forces it after 5 s.
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

end_session() { stop "${session_pids[@]}"; }

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

start_session() {
  Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp -noreset 9>"${work}/display" 2>"${work}/xvfb.log" &
  session_pids=($! "${session_pids[@]}")
  wait_for 100 test -s "${work}/display" || { cat "${work}/xvfb.log" >&2; fail "Xvfb did not start"; }
  DISPLAY=":$(head -n1 "${work}/display")"
  export DISPLAY

  openbox --sm-disable >"${work}/openbox.log" 2>&1 &
  session_pids=($! "${session_pids[@]}")
  wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  wait_for 100 wm_ready || { cat "${work}/openbox.log" >&2; fail "openbox did not take over the display"; }
  note "Xvfb on ${DISPLAY} with openbox"

  unset WAYLAND_DISPLAY AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_PID
  export XDG_RUNTIME_DIR="${work}"  # private, mode 0700 from mktemp
  dbus-daemon --session --fork --nosyslog --print-address=3 --print-pid=4 \
    3>"${work}/bus.address" 4>"${work}/bus.pid" 2>"${work}/bus.log" \
    || { cat "${work}/bus.log" >&2; fail "the D-Bus session bus did not start"; }
  session_pids=("$(head -n1 "${work}/bus.pid")" "${session_pids[@]}")
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "${work}/bus.address")
  export DBUS_SESSION_BUS_ADDRESS

  "${bus_launcher}" --launch-immediately >"${work}/launcher.log" 2>&1 &
  session_pids=($! "${session_pids[@]}")
  a11y_address() {
    dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
      >"${work}/a11y.address" 2>/dev/null && grep -q . "${work}/a11y.address"
  }
  wait_for 100 a11y_address || { cat "${work}/launcher.log" >&2; fail "the accessibility bus did not start"; }
  a11y_bus=$(tr -d ' \n' <"${work}/a11y.address")

  # Started here rather than on demand by the bus, so that it ends with the test.
  "${registryd}" >"${work}/registryd.log" 2>&1 &
  session_pids=($! "${session_pids[@]}")
  registry_ready() {
    dbus-send --bus="${a11y_bus}" --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.a11y.atspi.Registry 2>/dev/null | grep -q true
  }
  wait_for 100 registry_ready || { cat "${work}/registryd.log" >&2; fail "the accessibility registry did not start"; }
  note "accessibility bus ${a11y_bus}"
}
