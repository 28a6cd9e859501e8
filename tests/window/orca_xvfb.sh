#!/usr/bin/env bash
# A short lesson by keyboard alone with Orca, the screen reader, running against the real
# program, asserting on what Orca says (the SPEECH OUTPUT lines of its debug log): the exercise
# with its answer field on every move, the check key and the result said unasked, a row's
# verdict, the next-set key, the print options dialog opened and cancelled.
#
# Private HOME (speech-dispatcher with espeak-ng and libao's null driver, no sound device
# needed), Xvfb with openbox, a session bus and an accessibility bus; Orca in Dutch.
#
# usage: orca_xvfb.sh <tolvaro executable>
# With TOLVARO_ORCA_LOG=<file> Orca's whole debug log is kept there.
# Exits with 77 (skipped) only when a needed tool is not installed.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly here python=/usr/bin/python3
exe=${1:-}

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*" >&2; exit 77; }
note() { echo "[orca] $*"; }

[[ -x ${exe} ]] || fail "usage: $0 <tolvaro executable>"
# shellcheck source=xsession.sh
source "${here}/xsession.sh"
for tool in "${session_tools[@]}" xdotool orca speech-dispatcher "${python}"; do
  command -v "${tool}" >/dev/null || skip "${tool} is not installed (run scripts/install-deps.sh)"
done
[[ -e /usr/lib/speech-dispatcher-modules/sd_espeak-ng ]] \
  || skip "speech-dispatcher-espeak-ng is not installed (run scripts/install-deps.sh)"

work=$(mktemp -d)
cleanup() {
  disown -a  # no job reports for what is ended here
  end_session
  [[ -n ${TOLVARO_ORCA_LOG:-} ]] && cp "${work}/orca.log" "${TOLVARO_ORCA_LOG}"
  rm -rf "${work}"
}
trap cleanup EXIT
started=${SECONDS}
start_session

# ---- private home: speech through espeak-ng into libao's null device, Dutch
export HOME=${work}/home XDG_CONFIG_HOME=${work}/home/.config
export XDG_DATA_HOME=${work}/home/.local/share XDG_CACHE_HOME=${work}/home/.cache
mkdir -p "${XDG_CONFIG_HOME}/speech-dispatcher" "${XDG_DATA_HOME}" "${XDG_CACHE_HOME}"
cat >"${XDG_CONFIG_HOME}/speech-dispatcher/speechd.conf" <<'EOF'
AudioOutputMethod "libao"
DefaultLanguage "nl"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
Include "/etc/speech-dispatcher/clients/*.conf"
EOF
echo "default_driver=null" >"${HOME}/.libao"
export LANG=nl_NL.UTF-8 LANGUAGE=nl LC_ALL=nl_NL.UTF-8

# ---- Orca, its debug log written line by line (Orca 43 buffers it in blocks)
log=${work}/orca.log
: >"${log}"
env -u PYTHONPATH -u PYTHONHOME "${python}" - "${log}" >"${work}/orca.out" 2>&1 <<'EOF' &
import builtins, runpy, sys
log, plain_open = sys.argv[1], builtins.open
def line_buffered(file, mode="r", *args, **kwargs):
    if file == log and "w" in mode:
        kwargs["buffering"] = 1
    return plain_open(file, mode, *args, **kwargs)
builtins.open = line_buffered
# Orca takes every Orca of this user for one of its own session: it would refuse to start, or
# with --replace end them all (a developer's own too). This one has a session of its own.
import subprocess
class Popen(subprocess.Popen):
    def __init__(self, args, *rest, **kwargs):
        super().__init__("true" if str(args).endswith(" -x orca") else args, *rest, **kwargs)
subprocess.Popen = Popen
sys.argv = ["orca", "--debug-file=" + log]
runpy.run_path("/usr/bin/orca", run_name="__main__")
EOF
session_pids=($! "${session_pids[@]}")
# Ready once it has said that it runs (its first speech comes after its listeners are registered).
orca_up() { grep -q "SPEECH OUTPUT: '" "${log}"; }
wait_for 300 orca_up || { cat "${work}/orca.out" >&2; fail "Orca did not start within 30 s"; }
note "Orca started after $((SECONDS - started)) s"

# ---- what Orca says: SPEECH OUTPUT lines after a mark
mark=0
said() { grep -a "SPEECH OUTPUT: '" "${log}" | tail -n +"$((mark + 1))" | sed -E "s/^.*SPEECH OUTPUT: '//; s/' *(\{.*\})? *$//"; }
set_mark() { mark=$(grep -ac "SPEECH OUTPUT: '" "${log}"); }
# expect <what> <extended regex>...: each pattern in what was said since the mark (its lines
# joined by spaces), within 20 s (Orca may stall for some seconds on a busy machine).
expect() {
  local what=$1 pattern
  shift
  for pattern in "$@"; do
    said_it() { said | tr "\n" " " | grep -Eq -- "${pattern}"; }
    wait_for 200 said_it && continue
    echo "--- Orca said since the last step:" >&2
    said >&2
    kill -0 "${app_pid}" 2>/dev/null || { echo "--- the program ended:" >&2; cat "${work}/app.log" >&2; }
    fail "${what}: Orca did not say /${pattern}/"
  done
  note "${what}: ok"
}
keys() { set_mark; xdotool key --delay 60 "$@"; }
type_answer() { xdotool type --delay 40 "$1"; }

# ---- the program
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "${exe}" >"${work}/app.log" 2>&1 &
app_pid=$!
session_pids=("${app_pid}" "${session_pids[@]}")
set_mark
exercise='[0-9]+ tot de macht [0-9]+'
expect "start: row 1" "Oplossing oefening 1 .*${exercise}"

# The power of the exercise Orca said last, as the pupil works it out.
heard_power() {
  local base exponent
  read -r base exponent < <(said | grep -Eo "${exercise}" | tail -n1 | sed 's/ tot de macht / /')
  echo $((base ** exponent))
}

# Rows 1 to 10: answers typed, Enter between them; row 2 wrong, so 9 of 10 right.
answers=()
for row in $(seq 10); do
  answer=$(heard_power)
  [[ ${row} -eq 2 ]] && answer=$((answer + 1))
  answers+=("${answer}")
  type_answer "${answer}"
  keys Return
  next=$((row % 10 + 1))
  expect "Enter to row ${next}" "Oplossing oefening ${next} .*${exercise}"
done
keys shift+Tab
expect "Shift+Tab to row 10" "Oplossing oefening 10 .*${exercise}"
keys Tab
expect "Tab to row 1" "Oplossing oefening 1 .*${exercise}"

keys ctrl+Return
expect "Ctrl+Enter checks, the result said unasked" '9 van de 10 goed\. Behaalde punten: 9 op 10\.'
# The key left the focus on CONTROLEER, as its click does: Tab goes to row 1, then row 2.
keys Tab Tab
# Each field reads its whole answer (Qt's own interface made Orca drop the last character).
expect "a row after the check says its answer and verdict" \
  "Oplossing oefening 2 tekst\\. ${answers[1]} geselecteerd\\. ${exercise}\\. FOUT"
keys KP_Enter
expect "Orca's where-am-I in the field" "Oplossing oefening 2 tekst\\. ${answers[1]} .*${exercise}\\. FOUT"
# Entering a field hides VOLGENDE OEFENING until the next check; its key does nothing meanwhile.
keys ctrl+n
sleep 0.5
said | grep -q 'Oplossing oefening 1' && fail "Ctrl+N drew a new set while VOLGENDE OEFENING was hidden"
keys ctrl+KP_Enter
expect "Ctrl+Enter on the keypad checks as well" 'melding 9 van de 10 goed\. Behaalde punten: 9 op 10\.'

keys ctrl+n
expect "Ctrl+N: the next set, row 1 read" "melding Oefening nr\\. 2\\. Oplossing oefening 1: ${exercise}"
said | grep -Eq 'GOED|FOUT' && fail "the new set still speaks a verdict: $(said | tr '\n' '|')"

# The printer picture pressed as a screen reader presses it (its press action).
set_mark
env -u PYTHONPATH -u PYTHONHOME "${python}" - "${app_pid}" <<'EOF' || fail "no press action on 'Printen'"
import sys, pyatspi
app = [a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == int(sys.argv[1])][0]
pyatspi.findDescendant(app[0], lambda o: o.name == "Printen").queryAction().doAction(0)
EOF
expect "print options dialog opened" \
  'Printen van een schriftelijke oefening dialoogvenster\. Titel van de oefening tekst\. Oefening\.'
keys Tab
expect "its check box" 'Extra blad met oplossingen printen : aankruisvakje niet aangevinkt'
keys Tab
expect "its OK button" 'OK drukknop'
keys Tab
expect "its Cancel button" 'Cancel drukknop'
keys Escape
expect "cancelled: back in the main window (a window to Orca), a new set" \
  'Tolvaro v\.1 \(KVZ\) frame\. Oefeningen paneel\.' "Oplossing oefening 1 .*${exercise}"

note "whole run $((SECONDS - started)) s"
