#!/usr/bin/python3
"""A lesson on the running program, driven by lesson_xvfb.sh.

Plays the program step by step as a pupil would: real clicks and keys at the places the
accessibility tree reports, the last set through the accessibility interfaces alone, as a
screen reader would. After each action it reads the window back through AT-SPI (exercises,
answers, verdicts, score) and checks it; a screenshot is kept after every step and the
verdict colours are read from it. The reading and acting live in lesson_desktop.py.

Runs under Debian's /usr/bin/python3, the interpreter python3-pyatspi is built for.
"""

import argparse
import subprocess
import sys
import time

import pyatspi

# lesson_desktop.py sits beside this script, whose directory Python puts first on the module
# path; its compiled form is not left behind in the source tree.
sys.dont_write_bytecode = True
from lesson_desktop import CLIENT_SIZE, GREEN, MIN_VERDICT_PIXELS, RED, ROWS, Desktop, LessonFailure, check


# ---------------------------------------------------------------- the lesson

class Lesson(Desktop):
    def __init__(self, args):
        super().__init__(args.pid, args.window, args.artefacts, args.convert)
        self.short_contest = args.short_contest

    # -- checks shared by the steps

    def check_verdicts(self, rows, expected, picture):
        """Each row's verdict reads GOED or FOUT as expected, in green or in red on the picture."""
        for row in rows:
            want = expected[row.number]
            check(row.verdict == want, f"row {row.number} ({row.base}^{row.exponent}, answer '{row.answer}'): "
                  f"verdict '{row.verdict}', expected '{want}'")
            colours = self.pixel_colours(picture, row.verdict_label)
            ink, other = (GREEN, RED) if want == "GOED" else (RED, GREEN)
            check(colours.get(ink, 0) >= MIN_VERDICT_PIXELS and colours.get(other, 0) == 0,
                  f"row {row.number}: verdict {want} should be drawn in {ink}; the label has "
                  f"{colours.get(ink, 0)} pixels of {ink} and {colours.get(other, 0)} of {other} ({picture})")

    def type_answers(self, rows, answers):
        """Clicks into the first answer and types each row's answer, Enter between the rows."""
        self.click(rows[0].edit)
        self.wait("the first answer edit is emptied by the click", lambda s: s.rows()[0].answer == "")
        for row in rows:
            self.type_text(answers[row.number])
            self.press_keys("Return")

    @staticmethod
    def same_set(before, after):
        return [(r.base, r.exponent, r.answer, r.verdict) for r in before] == \
               [(r.base, r.exponent, r.answer, r.verdict) for r in after]

    @staticmethod
    def fresh_set(screen):
        """The rows of a newly drawn set: every answer and verdict empty."""
        rows = screen.rows()
        return rows if all(r.answer == "" and r.verdict == "" for r in rows) else None

    # -- the steps

    def find_window(self):
        self.step("start")
        self.find_frame()
        screen = self.screen()
        self.origin = (screen.root.x, screen.root.y)
        check((screen.root.width, screen.root.height) == CLIENT_SIZE,
              f"window is {screen.root.width}x{screen.root.height}, expected {CLIENT_SIZE[0]}x{CLIENT_SIZE[1]}")
        # The first activation draws the first set.
        rows = self.wait("the first exercise set is drawn", self.fresh_set)
        screen = self.screen()
        check(screen.series_number() == 1 and screen.score() == (0, 10),
              f"a new program starts series 1 at 0 of 10 points, shows {screen.series_number()} and {screen.score()}")
        check(not screen.shown("VOLGENDE OEFENING", "push button"), "VOLGENDE OEFENING shown before any check")
        # Each control's key is the key binding of its first action, as Qt reports its shortcuts.
        for name, role, key in (("CONTROLEER", "push button", "Ctrl+Return"), ("Printen", "push button", "Ctrl+P"),
                                ("Grootste grondtal", "text", "Alt+G")):
            binding = self.screen().one(name, role).acc.queryAction().getKeyBinding(0)
            check(binding == key, f"{name}: key binding '{binding}', expected '{key}'")
        for row in rows:
            check(1 <= row.base <= 5 and row.exponent == 2,
                  f"row {row.number}: {row.base}^{row.exponent} is outside the default settings (base 1-5, exponent 2)")
        self.shoot()

    def play_set_with_keyboard(self):
        self.step("answers typed")
        rows = self.screen().rows()
        # Right answers, except a wrong number in row 3, a text in row 6 and nothing in row 8.
        answers = {r.number: str(r.power) for r in rows}
        answers[3] = str(rows[2].power + 1)
        answers[6] = "abc"
        answers[8] = ""
        self.type_answers(rows, answers)
        # Leaving an answer keeps a number and empties anything else.
        typed = {n: ("" if n == 6 else a) for n, a in answers.items()}
        self.wait("the typed answers are in their edits",
                  lambda s: [r.answer for r in s.rows()] == [typed[n] for n in range(1, ROWS + 1)])
        self.shoot()

        self.step("checked")
        self.click(self.screen().one("CONTROLEER", "push button"))
        rows = self.wait("every row has a verdict", lambda s: all(r.verdict for r in s.rows()) and s.rows())
        expected = {n: "FOUT" if n in (3, 6, 8) else "GOED" for n in range(1, ROWS + 1)}
        picture = self.shoot()
        self.check_verdicts(rows, expected, picture)
        screen = self.screen()
        check(screen.score() == (7, 10), f"7 right answers score 7 of 10, shown {screen.score()}")
        check(screen.shown("VOLGENDE OEFENING", "push button"), "VOLGENDE OEFENING not shown after the check")

    def next_exercise(self):
        self.step("next exercise")
        before = self.screen().rows()
        self.click(self.screen().one("VOLGENDE OEFENING", "push button"))
        rows = self.wait("a new set after VOLGENDE OEFENING",
                         lambda s: s.series_number() == 2 and self.fresh_set(s))
        screen = self.screen()
        check(screen.score() == (7, 20), f"the second set of the series scores 7 of 20 so far, shown {screen.score()}")
        check(not screen.shown("VOLGENDE OEFENING", "push button"), "VOLGENDE OEFENING still shown in the new set")
        check(not self.same_set(before, rows), "the exercises did not change")
        self.shoot()

    def change_settings(self):
        self.step("settings")
        screen = self.screen()
        # One answer given, to see the set replaced by the new settings.
        first = screen.rows()[0]
        self.click(first.edit)
        self.type_text(str(first.power))
        self.wait("the answer is typed", lambda s: s.rows()[0].answer == str(first.power))
        self.click(screen.one("Grootste grondtal", "text"))
        self.wait("a click empties the largest base", lambda s: s.edit_text("Grootste grondtal") == "")
        self.type_text("9")
        self.press_keys("Tab")
        # A changed limit draws a new set, which puts the focus in the first answer.
        self.wait("the new largest base draws a new set", lambda s: s.edit_text("Grootste grondtal") == "9"
                  and self.fresh_set(s))
        self.click(self.screen().one("Grootste exponent", "text"))
        self.wait("a click empties the largest exponent", lambda s: s.edit_text("Grootste exponent") == "")
        self.type_text("4")
        self.press_keys("Tab")
        rows = self.wait("a new series with base up to 9 and exponent up to 4", lambda s: (
            s.edit_text("Grootste grondtal") == "9" and s.edit_text("Grootste exponent") == "4"
            and s.series_number() == 1 and s.score() == (0, 10) and self.fresh_set(s)))
        for row in rows:
            check(1 <= row.base <= 9 and 2 <= row.exponent <= 4,
                  f"row {row.number}: {row.base}^{row.exponent} is outside base 1-9, exponent 2-4")
        self.shoot()

        self.step("second set checked")
        answers = {r.number: str(r.power) for r in rows}
        answers[10] = str(rows[9].power * 10)
        self.type_answers(rows, answers)
        self.click(self.screen().one("CONTROLEER", "push button"))
        rows = self.wait("every row has a verdict", lambda s: all(r.verdict for r in s.rows()) and s.rows())
        picture = self.shoot()
        self.check_verdicts(rows, {n: "FOUT" if n == 10 else "GOED" for n in range(1, ROWS + 1)}, picture)
        check(self.screen().score() == (9, 10), f"9 right answers score 9 of 10, shown {self.screen().score()}")

    def about_panel(self):
        self.step("about panel")
        before = self.screen().rows()
        self.click(self.screen().one("Info", "push button"))
        self.wait("the about panel opens", lambda s: s.shown("Gemaakt door", "label") and s.shown("OK", "push button"))
        self.shoot()

        self.step("about panel closed")
        self.click(self.screen().one("OK", "push button"))
        self.wait("the about panel closes", lambda s: not s.shown("Gemaakt door", "label"))
        check(self.same_set(before, self.screen().rows()), "the about panel changed the exercise set")
        check(self.screen().shown("VOLGENDE OEFENING", "push button"),
              "closing the about panel hid VOLGENDE OEFENING")
        self.shoot()

    def other_window(self):
        self.step("other window")
        before_screen = self.screen()
        before, next_shown = before_screen.rows(), before_screen.shown("VOLGENDE OEFENING", "push button")
        other = subprocess.Popen(["xmessage", "-title", "Ander venster", "-geometry", "+20+20",
                                  "Een ander programma"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            deadline = time.monotonic() + 10
            other_window = ""
            while not other_window:
                check(time.monotonic() < deadline, "the other window (xmessage) did not appear within 10 s")
                found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Ander venster$"],
                                       capture_output=True, text=True).stdout.split()
                other_window = found[0] if found else ""
                if not other_window:
                    time.sleep(0.1)
            self.xdotool("windowactivate", "--sync", other_window)
            self.wait("the main window is no longer active", lambda s: not s.root.acc.getState().contains(
                pyatspi.STATE_ACTIVE) and self.run("xdotool", "getactivewindow").strip() == other_window)
            self.shoot(whole_screen=True)

            self.step("back to the main window")
            self.xdotool("windowactivate", "--sync", self.window)
            self.wait("the main window is active again", lambda s: s.root.acc.getState().contains(
                pyatspi.STATE_ACTIVE) and self.run("xdotool", "getactivewindow").strip() == self.window)
            # The activation must not draw a new set: the answers and verdicts stay. Requests over
            # the accessibility bus reach the program as posted events, so this reading comes
            # after anything the activation itself posted.
            after = self.screen().rows()
            check(self.same_set(before, after), "returning to the window replaced the exercise set")
            # Nor count as entering the control that has the focus.
            check(self.screen().shown("VOLGENDE OEFENING", "push button") == next_shown,
                  f"returning to the window {'hid' if next_shown else 'showed'} VOLGENDE OEFENING")
            self.shoot()
        finally:
            other.terminate()
            other.wait(5)

    def print_dialog(self):
        self.step("print dialog")
        before_screen = self.screen()
        before, series = before_screen.rows(), before_screen.series_number()
        self.click(before_screen.one("Printen", "push button"))
        cancel = self.wait("the print options dialog opens", lambda s: self.dialog_cancel_button())
        self.wait("the main window is disabled while the dialog is open", lambda s: not s.root.sensitive)
        self.shoot(whole_screen=True)

        self.step("print dialog cancelled")
        self.click(cancel)
        # Back in the main window, its activation draws a new set; the series goes on.
        rows = self.wait("a new set once the dialog is closed",
                         lambda s: s.root.sensitive and not self.dialog_cancel_button() and self.fresh_set(s))
        check([(r.base, r.exponent) for r in rows] != [(r.base, r.exponent) for r in before],
              "the exercises are the same as before the print dialog")
        check(self.screen().series_number() == series, "the print dialog changed the series number")
        self.shoot()

    def contest(self):
        self.step("contest started")
        screen = self.screen()
        self.click(screen.one("Timer in minuten", "text"))
        self.wait("a click empties the minutes", lambda s: s.edit_text("Timer in minuten") == "")
        self.type_text("1")
        self.press_keys("Tab")
        start = self.wait("START shown for 1 minute", lambda s: s.shown("START", "push button")
                          and s.one("START", "push button"))
        self.click(start)
        started = time.monotonic()
        first = self.wait("the countdown shows", lambda s: s.countdown() is not None and s.countdown())
        check(55 <= first <= 60, f"a contest of 1 minute shows {first} s to go")
        screen = self.screen()
        check(not screen.shown("START", "push button") and screen.shown("RESET", "push button"),
              "during the contest RESET is shown and START is not")
        check(not screen.one("Grootste grondtal", "text").sensitive, "the settings can be changed during the contest")
        check(screen.series_number() == 1 and screen.score() == (0, 10), "the contest starts a new series")
        self.wait("the countdown runs", lambda s: (s.countdown() or first) < first, timeout=3)
        self.shoot()

        self.step("contest set checked")
        rows = self.fresh_set(self.screen())
        check(rows, "the contest starts with a new, empty set")
        answers = {r.number: str(r.power) for r in rows}
        answers[2] = str(rows[1].power - 1)
        answers[5] = str(rows[4].power + 1)
        self.type_answers(rows, answers)
        self.click(self.screen().one("CONTROLEER", "push button"))
        rows = self.wait("every row has a verdict", lambda s: all(r.verdict for r in s.rows()) and s.rows())
        picture = self.shoot()
        self.check_verdicts(rows, {n: "FOUT" if n in (2, 5) else "GOED" for n in range(1, ROWS + 1)}, picture)
        check(self.screen().score() == (8, 10), f"8 right answers score 8 of 10, shown {self.screen().score()}")
        self.click(self.screen().one("VOLGENDE OEFENING", "push button"))
        self.wait("the next set of the contest", lambda s: s.series_number() == 2 and self.fresh_set(s))

        self.screen_reader_set()

        if self.short_contest:
            # RESET while the contest runs ends it without results.
            self.reset()
            return
        self.step("contest results")
        # The countdown ticks once a second: the end comes at most a second after the minute.
        remaining = 60 + 5 - (time.monotonic() - started)
        print(f"[lesson] waiting up to {remaining:.0f} s for the end of the contest", flush=True)
        values = self.wait("the results panel at the end of the contest",
                           lambda s: s.shown("Puntentotaal", "label") and s.results(), timeout=remaining)
        # 8 of the first set, 9 of the second: 17 of 20.
        check(values == ["17", "20", "85"], f"results panel shows {values}, expected 17 of 20, 85 %")
        screen = self.screen()
        check(not screen.shown("CONTROLEER", "push button") and not screen.shown("VOLGENDE OEFENING", "push button"),
              "CONTROLEER or VOLGENDE OEFENING still shown after the contest")
        check(not screen.one("Oplossing oefening 1", "text", showing=None).sensitive,
              "the answers can still be changed after the contest")
        self.shoot()
        self.reset()

    def reset(self):
        self.step("reset")
        self.click(self.screen().one("RESET", "push button"))
        self.wait("the program is back in its starting state", lambda s: (
            not s.shown("Puntentotaal", "label") and not s.shown("RESET", "push button")
            and not s.shown("START", "push button") and s.countdown() is None
            and s.shown("CONTROLEER", "push button") and s.edit_text("Timer in minuten") == "0"
            and s.one("Grootste grondtal", "text").sensitive
            and s.series_number() == 1 and s.score() == (0, 10) and self.fresh_set(s)))
        self.shoot()

    def screen_reader_set(self):
        """One set through the accessibility interfaces alone: no pointer, no keyboard."""
        self.step("screen reader")
        rows = self.screen().rows()
        answers = [str(row.power + 1 if row.number == 7 else row.power) for row in rows]
        for row, answer in zip(rows, answers):
            row.edit.acc.queryEditableText().setTextContents(answer)
        self.wait("the answers are in their edits", lambda s: [r.answer for r in s.rows()] == answers)
        check_button = self.screen().one("CONTROLEER", "push button").acc.queryAction()
        names = [check_button.getName(i) for i in range(check_button.nActions)]
        check_button.doAction(names.index("Press") if "Press" in names else 0)
        rows = self.wait("every row has a verdict", lambda s: all(r.verdict for r in s.rows()) and s.rows())
        for row in rows:
            want = "FOUT" if row.number == 7 else "GOED"
            check(row.verdict == want, f"row {row.number} ({row.base} tot de macht {row.exponent}, "
                  f"answer '{row.answer}') reads '{row.verdict}', expected '{want}'")
        check(self.screen().score() == (17, 20), f"series score {self.screen().score()}, expected 17 of 20")
        self.shoot()

    def stop(self):
        self.step("stop")
        self.shoot()
        self.click(self.screen().one("Stop het programma", "push button"))

    def play(self):
        self.find_window()
        self.play_set_with_keyboard()
        self.next_exercise()
        self.change_settings()
        self.about_panel()
        self.other_window()
        self.print_dialog()
        self.contest()
        self.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pid", type=int, required=True, help="process id of the running program")
    parser.add_argument("--window", required=True, help="X window id of its main window")
    parser.add_argument("--artefacts", required=True, help="directory for the screenshots")
    parser.add_argument("--convert", default="convert", help="ImageMagick's convert")
    parser.add_argument("--short-contest", action="store_true",
                        help="press RESET during the contest instead of waiting the minute for its results")
    lesson = Lesson(parser.parse_args())
    started = time.monotonic()
    try:
        lesson.play()
    except Exception as error:  # noqa: BLE001 - any error names its step
        detail = str(error) if isinstance(error, LessonFailure) else f"{type(error).__name__}: {error}"
        print(f"FAIL in step {lesson.step_number} '{lesson.step_name}': {detail}", file=sys.stderr)
        lesson.shoot_failure()
        return 1
    print(f"[lesson] {lesson.step_number} steps in {time.monotonic() - started:.1f} s", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
