#!/usr/bin/env bash
# The whole program by keyboard alone with Orca, the screen reader, running against the real
# program, asserting on what Orca says (the SPEECH OUTPUT lines of its debug log): a practice set,
# a setting, the about panel and a one-minute contest, also in flat review; a PDF worksheet; quitting.
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
# Orca takes every process of this user named "orca" for one of its own session: it would refuse
# to start, or with --replace end them all (a developer's own too), and an Orca started beside
# this one would end it. This one has a session of its own and another process name.
import ctypes, types  # Orca names its process through setproctitle
sys.modules["setproctitle"] = types.SimpleNamespace(
    setproctitle=lambda _: ctypes.CDLL("libc.so.6").prctl(15, b"tolvaro-orca", 0, 0, 0))
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
pgrep -u "$(id -u)" -x orca | grep -qx "${session_pids[0]}" && fail "this Orca is named orca: another Orca would end it"

# ---- what Orca says: SPEECH OUTPUT lines after a mark
mark=0
said() { grep -a "SPEECH OUTPUT: '" "${log}" | tail -n +"$((mark + 1))" | sed -E "s/^.*SPEECH OUTPUT: '//; s/' *(\{.*\})? *$//"; }
set_mark() { mark=$(grep -ac "SPEECH OUTPUT: '" "${log}"); }
# expect <what> <extended regex>...: each pattern in what was said since the mark (its lines
# joined by spaces), within 20 s or ${within} tenths (Orca may stall for some seconds on a busy machine).
expect() {
  local what=$1 pattern
  shift
  for pattern in "$@"; do
    said_it() { said | tr "\n" " " | grep -Eq -- "${pattern}"; }
    wait_for "${within:-200}" said_it && continue
    echo "--- Orca said since the last step:" >&2
    said >&2
    kill -0 "${app_pid}" 2>/dev/null || { echo "--- the program ended:" >&2; cat "${work}/app.log" >&2; }
    fail "${what}: Orca did not say /${pattern}/"
  done
  note "${what}: ok"
}
# not_said <what> <extended regex>: the pattern is not in what was said since the mark.
not_said() { said | tr "\n" " " | grep -Eq -- "$2" || return 0; said >&2; fail "$1: Orca said /$2/"; }
keys() { set_mark; xdotool key --delay 60 "$@"; }
# Orca's flat review of the window, from its first line to its last, said line by line (the
# keypad's keys without Num Lock, as Orca takes them).
review_window() {
  keys KP_Subtract $(printf 'KP_Home %.0s' $(seq 14))
  xdotool key --delay 120 KP_Up $(printf 'KP_Page_Up %.0s' $(seq 24))
  sleep 1
}
leave_review() { keys KP_Subtract; sleep 0.3; }
type_answer() { xdotool type --delay 40 "$1"; }

# ---- the program
# No print scheduler: the printer setup dialog offers printing to a PDF file.
CUPS_SERVER="${work}/no-scheduler" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "${exe}" >"${work}/app.log" 2>&1 &
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

# The result comes first (only the keys' echo before it), then the button the key pressed.
result='melding 9 van de 10 goed\. Fout: oefening 2\. Behaalde punten: 9 op 10\.'
keys ctrl+Return
expect "Ctrl+Enter checks, the result said first" "^[a-z ]*${result} CONTROLEER drukknop"
# The key left the focus on CONTROLEER, as its click does: Tab goes to row 1, then row 2.
keys Tab Tab
# Each field reads its whole answer (Qt's own interface made Orca drop the last character).
expect "a row after the check says its answer and verdict" \
  "Oplossing oefening 2 tekst\\. ${answers[1]} geselecteerd\\. ${exercise}\\. FOUT"
keys KP_Enter
expect "Orca's where-am-I in the field" "Oplossing oefening 2 tekst\\. ${answers[1]} .*${exercise}\\. FOUT"
# Entering a field hides VOLGENDE OEFENING until the next check; its key does nothing meanwhile
# but say so.
keys ctrl+n
expect "Ctrl+N while VOLGENDE OEFENING is hidden" 'VOLGENDE OEFENING is er nu niet\. Controleer eerst opnieuw'
not_said "Ctrl+N while VOLGENDE OEFENING is hidden" 'Oplossing oefening 1'
keys ctrl+KP_Enter
expect "Ctrl+Enter on the keypad checks as well" "^[a-z ]*${result} CONTROLEER drukknop"

keys ctrl+n
expect "Ctrl+N: the next set with its maximum, row 1 read" \
  'melding Oefening nr\. 2\. Maximum punten: 20\.' "Oplossing oefening 1 tekst\\. ${exercise}"
said | grep -Eq 'GOED|FOUT|niet geselecteerd' && fail "the new set speaks a verdict or selection: $(said | tr '\n' '|')"
keys ctrl+s
expect "Ctrl+S: the standing" 'Oefening nr\. 2\. Behaalde punten: 9 van de 20\.'

# The printer picture pressed as a screen reader presses it (its press action).
set_mark
env -u PYTHONPATH -u PYTHONHOME "${python}" - "${app_pid}" <<'EOF' || fail "no press action on 'Printen'"
import sys, pyatspi
app = [a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == int(sys.argv[1])][0]
pyatspi.findDescendant(app[0], lambda o: o.name == "Printen").queryAction().doAction(0)
EOF
expect "print options dialog opened" \
  'Printen van een schriftelijke oefening dialoogvenster\. Titel van de oefening tekst\. Oefening'
keys Tab
expect "its check box" 'Extra blad met oplossingen printen : aankruisvakje niet aangevinkt'
keys Tab
expect "its OK button" 'OK drukknop'
keys Tab
expect "its Cancel button" 'Cancel drukknop'
keys Escape
expect "cancelled: back in the main window (a window to Orca), a new set" \
  'Tolvaro v\.1 \(KVZ\) frame\. Oefeningen paneel\.' "Oplossing oefening 1 .*${exercise}" \
  'Nieuwe oefeningen: de antwoorden zijn gewist\.'

# ---- settings: Alt+G enters the largest base as a click does (emptied); Enter settles it.
keys alt+g
expect "Alt+G: the largest base" 'Grootste grondtal, was 5\.' 'Grootste grondtal tekst'
type_answer abc
keys Return
expect "letters refused" 'Niet aanvaard\. Het grootste grondtal blijft 5: een geheel getal tot en met 999999\.'
keys alt+g
type_answer 3
keys Return
expect "a new series" "Oplossing oefening 1 tekst\\. ${exercise}" \
  'Grootste grondtal 3\. Nieuwe reeks, 0 punten\. Oefening nr\. 1\.'
keys alt+e
type_answer 333
expect "a character over the limit" 'Hoogstens 2 tekens\.'
keys BackSpace Return
expect "the exponent taken" 'Grootste exponent 3\. Nieuwe reeks'

# ---- the about panel: said as it opens; flat review reads it and not what it covers.
keys F1
expect "F1: the about panel" 'Over het programma\. Tolvaro v\.1 Flexibel Programma voor het oefenen'
review_window
# The panel lies over the settings, the score and the upper rows' answers, not the lower rows.
expect "flat review of the about panel" 'Flexibel Programma' 'Oplossing oefening 8'
not_said "flat review of the about panel" 'Behaalde punten|Oplossing oefening [1-5][^0-9]'
leave_review
keys Return
expect "Enter closes it" 'Over het programma gesloten\.'

# ---- a contest of one minute
keys alt+m
expect "Alt+M: the minutes" 'Timer in minuten tekst'
type_answer 1
keys Return
expect "START appears" 'START staat klaar: Ctrl\+T start een wedstrijd van 1 minuut\.'
keys ctrl+t
expect "Ctrl+T: the contest starts" 'De wedstrijd van 1 minuut is begonnen\. Escape stopt hem\.' \
  "Oplossing oefening 1: ${exercise}"
contest_started=${SECONDS}
answer=$(heard_power)
sleep 1.5  # the clock shows nothing before its first tick
review_window
expect "flat review during the contest" 'RESET' '0:00:[0-5][0-9]' 'Behaalde punten 0' 'Maximum punten 10'
leave_review
keys ctrl+k
expect "Ctrl+K: the time left" 'Nog [0-9]+ seconden\.'
keys ctrl+p
expect "Ctrl+P refused for the contest's time" 'Printen: niet tijdens de wedstrijd\. Ctrl\+P werkt weer na de wedstrijd\.'
not_said "Ctrl+P refused for the contest's time" 'Escape'
set_mark
type_answer "${answer}"
results='1 punt van de 1 gemaakte oefening, 100 procent goed\.'
within=$((10 * (75 - SECONDS + contest_started))) expect "the contest's end" \
  "De tijd is om\\. ${results} Escape: terug naar het oefenen\\."
sleep 1
[[ $(said | grep -c 'procent goed') -eq 1 ]] || fail "the contest's end said more than once: $(said | tr '\n' '|')"
keys KP_Enter
expect "where-am-I on the results" "Uitslag.*${results}"
review_window
expect "flat review of the results" 'Puntentotaal'
not_said "flat review of the results" 'GOED|FOUT|Behaalde punten'
leave_review
keys ctrl+k
expect "Ctrl+K: the results again" "De tijd is om\\. ${results}"
keys ctrl+n
expect "Ctrl+N after the contest" 'De wedstrijd is voorbij\. Escape: terug naar het oefenen\.'
not_said "Ctrl+N after the contest" 'Ctrl\+Enter'
keys Escape
expect "Escape: back to practice" 'Terug naar het oefenen\. Nieuwe reeks, 0 punten\.'

# ---- a worksheet printed to a PDF file, by keyboard through both dialogs
keys ctrl+p
expect "Ctrl+P: the print options" 'Printen van een schriftelijke oefening dialoogvenster'
keys Return
expect "the printer setup dialog, its names without '&'" 'Afdrukken dialoogvenster' 'Naam: keuzevak'
not_said "the printer setup dialog" '&'
keys Return
sheet=${HOME}/Oefening.pdf
wait_for 100 test -s "${sheet}" || fail "no worksheet printed to ${sheet}"
[[ $(head -c 4 "${sheet}") == %PDF ]] || fail "${sheet} is no PDF file"
expect "worksheet printed to PDF, where said" "Het werkblad is geschreven naar Oefening\\.pdf in de map ${HOME}\\."

# ---- quitting
keys ctrl+q
ended() { ! ps -o stat= -p "${app_pid}" | grep -qv Z; }  # gone, or a zombie not yet reaped
wait_for 50 ended || fail "Ctrl+Q did not end the program"
note "Ctrl+Q ended the program: ok"
note "whole run $((SECONDS - started)) s"
