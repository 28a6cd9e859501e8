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

# shellcheck source=xsession.sh
source "${here}/xsession.sh"
for tool in "${session_tools[@]}" xdotool xmessage import "${python}"; do
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
app_pid=''
cleanup() {
  stop "${app_pid}"
  end_session
  rm -rf "${work}"
}
trap cleanup EXIT

app_log() { echo "--- program output ---" >&2; cat "${work}/app.log" >&2; }

started=${SECONDS}
start_session

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
