#!/usr/bin/python3
"""The pictures of the teachers' guide (docs/handleiding.md), taken on the running program.

Run by scripts/screenshot.sh --guide, which starts the program on a private X display under
openbox with a private accessibility bus. The exercises are read through AT-SPI, so that the
answers typed are the right ones where the picture wants them right; reading and input are
those of the lesson test (tests/window/lesson_desktop.py). Sets the largest base to 12 and the
largest exponent to 3 first. Writes into the given directory:
  nagekeken.png    the main window after CONTROLEER, eight rows GOED and two FOUT
  printopties.png  the print options dialog with a title typed and the solutions ticked
  wedstrijd.png    a contest of one minute under way
  uitslag.png      the results panel at the end of that contest
"""

import argparse
import os
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "window"))
from lesson_desktop import Desktop, check  # noqa: E402

PRINT_DIALOG = "^PrintDialoog1$"


class GuidePictures(Desktop):
    def __init__(self, args):
        super().__init__(args.pid, args.window, args.out, "convert")
        self.park = args.park

    def picture(self, name, window=None):
        """The main window with its frame, or another window of the program as it is."""
        self.xdotool("mousemove", *self.park.split(","))
        time.sleep(0.5)  # the last repaint after the pointer left a control
        path = os.path.join(self.artefacts, name + ".png")
        if window:
            self.run("import", "-silent", "-window", window, path)
        else:
            self.run("import", "-silent", "-frame", "-window", self.window, path)
        print(f"screenshot: wrote {path}", flush=True)

    def answer(self, rows, wrong=(), leave_empty_from=None):
        """Types each row's power, one more in the rows named wrong; Enter between the rows."""
        self.click(rows[0].edit)
        self.wait("the first answer is emptied by the click", lambda s: s.rows()[0].answer == "")
        for row in rows:
            if leave_empty_from and row.number >= leave_empty_from:
                break
            self.type_text(str(row.power + 1 if row.number in wrong else row.power))
            self.press_keys("Return")

    def check_set(self):
        self.click(self.screen().one("CONTROLEER", "push button"))
        return self.wait("every row has a verdict", lambda s: all(r.verdict for r in s.rows()) and s.rows())

    def fresh_rows(self):
        return self.wait("a new, empty set", lambda s: (
            all(r.answer == "" and r.verdict == "" for r in s.rows()) and s.rows()))

    def settings(self, field, value):
        self.click(self.screen().one(field, "text"))
        self.wait(f"a click empties '{field}'", lambda s: s.edit_text(field) == "")
        self.type_text(value)
        self.press_keys("Return")
        self.wait(f"'{field}' holds {value}", lambda s: s.edit_text(field) == value)

    def checked_set(self):
        self.answer(self.fresh_rows(), wrong=(3, 8))
        self.check_set()
        self.picture("nagekeken")

    def print_options(self):
        self.click(self.screen().one("Printen", "push button"))
        found = self.wait("the print options dialog opens", lambda s: self.run(
            "xdotool", "search", "--onlyvisible", "--name", PRINT_DIALOG).split())
        self.type_text("Machten klas 1B")  # over "Oefening", selected as the dialog opens
        self.press_keys("Tab", "space")
        self.picture("printopties", window=found[0])
        self.press_keys("Escape")
        self.wait("the dialog is closed", lambda s: s.root.sensitive)

    def contest(self):
        self.settings("Timer in minuten", "1")
        start = self.wait("START is shown", lambda s: s.shown("START", "push button") and s.one("START", "push button"))
        self.click(start)
        started = time.monotonic()
        self.wait("the countdown shows", lambda s: s.countdown())
        self.answer(self.fresh_rows(), wrong=(6,))
        self.check_set()
        self.click(self.screen().one("VOLGENDE OEFENING", "push button"))
        # The second set half done when the time runs out: its empty rows don't count as made.
        self.answer(self.fresh_rows(), wrong=(2,), leave_empty_from=6)
        self.picture("wedstrijd")
        remaining = 65 - (time.monotonic() - started)
        print(f"screenshot: waiting {remaining:.0f} s for the end of the contest", flush=True)
        values = self.wait("the results panel", lambda s: s.shown("Puntentotaal", "label") and s.results(),
                           timeout=remaining)
        check(values == ["13", "15", "86,6"], f"the results read {values}, expected 13 OP 15 and 86,6 %")
        self.picture("uitslag")
        self.click(self.screen().one("RESET", "push button"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pid", type=int, required=True, help="process id of the running program")
    parser.add_argument("--window", required=True, help="X window id of its main window")
    parser.add_argument("--out", required=True, help="directory for the pictures")
    parser.add_argument("--park", default="1020,760", help="x,y where the pointer rests for a picture")
    guide = GuidePictures(parser.parse_args())
    guide.find_frame()
    guide.settings("Grootste grondtal", "12")
    guide.settings("Grootste exponent", "3")
    guide.checked_set()
    guide.print_options()
    guide.contest()
    guide.click(guide.screen().one("Stop het programma", "push button"))


if __name__ == "__main__":
    main()
