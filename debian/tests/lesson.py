#!/usr/bin/python3
"""One set of the installed program, played as a pupil plays it, for debian/tests/lesson.

usage: lesson.py <tests/window directory> <program pid> <X window id>

Reads the exercises over AT-SPI with the project's desktop reader (tests/window/lesson_desktop.py),
types the power of exercise 1 and a wrong power in row 5 with real key events, clicks
CONTROLEER and checks what the window then says: GOED for row 1, FOUT for row 5 and for the
eight rows left empty, 1 point of 10, VOLGENDE OEFENING shown. Ends with a click on the stop picture.
"""

import sys

sys.dont_write_bytecode = True
sys.path.insert(0, sys.argv[1])
from lesson_desktop import CLIENT_SIZE, Desktop, LessonFailure, check  # noqa: E402


def lesson(desktop):
    desktop.find_frame()
    screen = desktop.screen()
    check((screen.root.width, screen.root.height) == CLIENT_SIZE,
          f"window is {screen.root.width}x{screen.root.height}, expected {CLIENT_SIZE[0]}x{CLIENT_SIZE[1]}")
    rows = desktop.wait("the first set is drawn",
                        lambda s: all(r.answer == "" and r.verdict == "" for r in s.rows()) and s.rows())
    check(desktop.screen().score() == (0, 10), f"a new program scores {desktop.screen().score()}, expected 0 of 10")
    first, fifth = rows[0], rows[4]
    print(f"[lesson] exercise 1: {first.base} tot de macht {first.exponent}; exercise 5: "
          f"{fifth.base} tot de macht {fifth.exponent}", flush=True)

    for row, answer in ((first, first.power), (fifth, fifth.power + 1)):
        desktop.click(row.edit)
        desktop.type_text(str(answer))
        desktop.wait(f"row {row.number} holds {answer}",
                     lambda s, n=row.number, a=str(answer): s.rows()[n - 1].answer == a)
    desktop.click(desktop.screen().one("CONTROLEER", "push button"))
    rows = desktop.wait("every row has a verdict", lambda s: all(r.verdict for r in s.rows()) and s.rows())
    verdicts = [r.verdict for r in rows]
    check(verdicts == ["GOED"] + ["FOUT"] * 9,
          f"verdicts {verdicts}: expected GOED for {first.base}^{first.exponent} = {first.power}, "
          f"FOUT for {fifth.power + 1} as {fifth.base}^{fifth.exponent} and for the empty rows")
    screen = desktop.screen()
    check(screen.score() == (1, 10), f"one right answer scores {screen.score()}, expected 1 of 10")
    check(screen.shown("VOLGENDE OEFENING", "push button"), "VOLGENDE OEFENING is not shown after the check")
    print("[lesson] GOED, FOUT and 1 of 10 points read back", flush=True)
    desktop.click(screen.one("Stop het programma", "push button"))


def main():
    desktop = Desktop(int(sys.argv[2]), sys.argv[3], artefacts=None, convert=None)
    try:
        lesson(desktop)
    except Exception as error:  # noqa: BLE001 - every failure is reported the same way
        detail = str(error) if isinstance(error, LessonFailure) else f"{type(error).__name__}: {error}"
        print(f"FAIL: {detail}", flush=True)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
