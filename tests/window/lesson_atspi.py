#!/usr/bin/python3
"""A lesson on the running program, driven by lesson_xvfb.sh.

Everything the pupil sees is read from the accessibility tree (AT-SPI): the exercises from
the accessible description of their base and exponent labels ("7 tot de macht 2"), answers
from the answer edits, verdicts from the verdict labels. The lesson itself is played with
real mouse clicks and key presses (xdotool) at the places the accessibility tree reports,
except for the last set, which is played through the accessibility interfaces alone, as a
screen reader would. A screenshot of the window is kept after every step; the colours of
the verdicts are read from it.

Runs under Debian's /usr/bin/python3, the interpreter python3-pyatspi is built for.
"""

import argparse
import dataclasses
import re
import subprocess
import sys
import time

import pyatspi

CAPTION = "Tolvaro v.1 (KVZ)"
CLIENT_SIZE = (809, 646)
ROWS = 10
READING = re.compile(r"^(\d+) tot de macht (\d+)$")
COUNTDOWN = re.compile(r"^(\d+):(\d\d):(\d\d)$")
GREEN, RED = "#008000", "#FF0000"
# A verdict is drawn in its colour when at least this many pixels of its label have it exactly.
MIN_VERDICT_PIXELS = 20
# Where the pointer rests while a screenshot is taken: outside the window, so that no tooltip
# or hover shows in it.
POINTER_PARK = (1275, 1019)


class LessonFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise LessonFailure(message)


# ---------------------------------------------------------------- the accessibility tree

@dataclasses.dataclass
class Node:
    acc: object
    role: str
    name: str
    description: str
    x: int
    y: int
    width: int
    height: int
    showing: bool
    sensitive: bool
    parent: "Node | None"
    children: list

    @property
    def center(self):
        return self.x + self.width // 2, self.y + self.height // 2

    def beside(self, other):
        """True when the two overlap vertically (they stand on one line)."""
        return self.y < other.y + other.height and other.y < self.y + self.height

    def text(self):
        return self.acc.queryText().getText(0, -1)


def snapshot(acc, parent=None):
    """The subtree of acc as Nodes, read afresh (the client-side cache is dropped first)."""
    if parent is None:
        acc.clear_cache()
    extents = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    states = acc.getState()
    node = Node(acc, acc.getRoleName(), acc.name or "", acc.description or "", extents.x, extents.y,
                extents.width, extents.height, states.contains(pyatspi.STATE_SHOWING),
                states.contains(pyatspi.STATE_SENSITIVE), parent, [])
    for child in acc:
        if child is not None:
            node.children.append(snapshot(child, node))
    return node


def descendants(node):
    for child in node.children:
        yield child
        yield from descendants(child)


@dataclasses.dataclass
class Row:
    number: int
    base: int
    exponent: int
    answer: str
    verdict: str
    edit: Node
    verdict_label: Node

    @property
    def power(self):
        return self.base ** self.exponent


class Screen:
    """One reading of the main window through AT-SPI."""

    def __init__(self, frame_acc):
        self.root = snapshot(frame_acc)

    def all(self, name=None, role=None, showing=True):
        return [n for n in descendants(self.root)
                if (name is None or n.name == name) and (role is None or n.role == role)
                and (showing is None or n.showing == showing)]

    def one(self, name, role=None, showing=True):
        found = self.all(name, role, showing)
        check(len(found) == 1, f"expected one {'shown ' if showing else ''}control named '{name}'"
              f"{' (' + role + ')' if role else ''}, found {len(found)}")
        return found[0]

    def shown(self, name, role=None):
        return len(self.all(name, role, True)) > 0

    def edit_text(self, name):
        return self.one(name, "text").text()

    def rows(self):
        rows = []
        for number in range(1, ROWS + 1):
            edit = self.one(f"Oplossing oefening {number}", "text")
            line = [n for n in edit.parent.children if n.role == "label" and n.showing and n.beside(edit)]
            exercise = sorted((n for n in line if n.x < edit.x and READING.match(n.description)), key=lambda n: n.x)
            check(len(exercise) == 2, f"row {number}: expected a base and an exponent label read as "
                  f"'<base> tot de macht <exponent>', found {[(n.name, n.description) for n in exercise]}")
            base_label, exponent_label = exercise
            check(base_label.description == exponent_label.description,
                  f"row {number}: base and exponent read differently: '{base_label.description}' "
                  f"and '{exponent_label.description}'")
            base, exponent = READING.match(base_label.description).groups()
            check((base_label.name, exponent_label.name) == (base, exponent),
                  f"row {number}: shows {base_label.name} and {exponent_label.name}, "
                  f"read out as '{base_label.description}'")
            verdicts = [n for n in line if n.x >= edit.x + edit.width]
            check(len(verdicts) == 1, f"row {number}: expected one verdict label right of the answer, "
                  f"found {len(verdicts)}")
            rows.append(Row(number, int(base), int(exponent), edit.text(), verdicts[0].name, edit, verdicts[0]))
        return rows

    def score(self):
        """(points made, maximum points) of the series, the numbers around 'Behaalde punten'."""
        caption = self.one("Behaalde punten", "label")
        numbers = sorted((n for n in caption.parent.children if n.role == "label" and n.name.isdigit()),
                         key=lambda n: n.y)
        check(len(numbers) == 2, f"expected two numbers in the score panel, found {[n.name for n in numbers]}")
        return int(numbers[0].name), int(numbers[1].name)

    def series_number(self):
        caption = self.one("Oefening nr. : :", "label")
        counter = [n for n in self.root.children if n.role == "label" and n.name.isdigit()
                   and n.showing and n.beside(caption) and n.x > caption.x]
        check(len(counter) == 1, "expected one series counter beside 'Oefening nr. : :'")
        return int(counter[0].name)

    def countdown(self):
        clocks = [n for n in self.root.children if n.role == "label" and n.showing and COUNTDOWN.match(n.name)]
        if not clocks:
            return None
        hours, minutes, seconds = (int(part) for part in COUNTDOWN.match(clocks[0].name).groups())
        return hours * 3600 + minutes * 60 + seconds

    def results(self):
        """The texts of the results panel: points, maximum, percentage."""
        panel = self.one("Puntentotaal", "label").parent.children
        marks = {n.name: n for n in panel if n.role == "label" and n.name in ("OP", "%")}
        check(len(marks) == 2, "the results panel lacks its 'OP' or '%'")
        of, percent = marks["OP"], marks["%"]
        values = [n for n in panel if n.role == "label" and n.name not in ("Puntentotaal", "OP", "%")]
        # "<points> OP <maximum>" on one line, "<percentage> %" on the next.
        line = sorted((n for n in values if n.beside(of)), key=lambda n: n.x)
        percentage = [n for n in values if n.beside(percent)]
        check(len(line) == 2 and len(percentage) == 1,
              f"expected '<points> OP <maximum>' and '<percentage> %' on the results panel, "
              f"found {[(n.name, n.x, n.y) for n in values]}")
        return [line[0].name, line[1].name, percentage[0].name]


# ---------------------------------------------------------------- the lesson

class Lesson:
    def __init__(self, args):
        self.pid = args.pid
        self.window = args.window
        self.artefacts = args.artefacts
        self.short_contest = args.short_contest
        self.convert = args.convert
        self.step_name = "start"
        self.step_number = 0
        self.step_started = time.monotonic()
        self.frame = None
        self.app = None
        self.origin = (0, 0)

    # -- plumbing

    def run(self, *command, **options):
        return subprocess.run(command, check=True, capture_output=True, text=True, **options).stdout

    def xdotool(self, *arguments):
        self.run("xdotool", *arguments)

    def click(self, node):
        x, y = node.center
        # No --sync: it waits for a movement that never comes when the pointer is there already;
        # the server applies the move before the click anyway.
        self.xdotool("mousemove", str(x), str(y), "click", "1")

    def press_keys(self, *keys):
        self.xdotool("key", "--delay", "20", *keys)

    def type_text(self, text):
        if text:
            self.xdotool("type", "--delay", "20", text)

    def alive(self):
        try:
            with open(f"/proc/{self.pid}/stat") as stat:
                return stat.read().split(") ")[1][0] != "Z"
        except OSError:
            return False

    def window_present(self):
        shown = self.run("xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(CAPTION) + "$").split()
        return self.window in shown

    def screen(self):
        check(self.alive(), "the program has ended")
        return Screen(self.frame)

    def wait(self, what, condition, timeout=5.0):
        """Polls condition(screen) until it returns a true value, which is returned."""
        deadline = time.monotonic() + timeout
        last_error = None
        while True:
            try:
                result = condition(self.screen())
                if result:
                    return result
                last_error = None
            except LessonFailure as error:
                last_error = error
            except Exception as error:  # a control that went away during the reading
                last_error = error
            if time.monotonic() > deadline:
                detail = f" ({last_error})" if last_error else ""
                raise LessonFailure(f"{what}: not so within {timeout:.0f} s{detail}")
            time.sleep(0.1)

    def step(self, name):
        now = time.monotonic()
        if self.step_number:
            print(f"[lesson]   done in {now - self.step_started:.1f} s", flush=True)
        self.step_number += 1
        self.step_name = name
        self.step_started = now
        print(f"[lesson] step {self.step_number}: {name}", flush=True)

    def shoot(self, whole_screen=False):
        """Ends a step: the window must still be there; its picture is kept."""
        check(self.alive(), "the program has ended")
        check(self.window_present(), f"the window '{CAPTION}' is no longer shown")
        self.xdotool("mousemove", *map(str, POINTER_PARK))
        slug = re.sub(r"[^a-z0-9]+", "-", self.step_name.lower()).strip("-")
        path = f"{self.artefacts}/{self.step_number:02d}-{slug}.png"
        self.run("import", "-silent", "-window", "root" if whole_screen else self.window, path)
        return path

    def shoot_failure(self):
        """The whole screen as it was when a step failed, if there still is a screen."""
        path = f"{self.artefacts}/{self.step_number:02d}-failed.png"
        if subprocess.run(["import", "-silent", "-window", "root", path], capture_output=True).returncode == 0:
            print(f"FAIL: the screen at the failure is in {path}", file=sys.stderr)

    def pixel_colours(self, picture, node):
        """How often each colour occurs in the part of a window picture that node covers."""
        left, top = node.x - self.origin[0], node.y - self.origin[1]
        histogram = self.run(self.convert, picture, "-crop", f"{node.width}x{node.height}+{left}+{top}",
                             "+repage", "-format", "%c", "histogram:info:-")
        counts = {}
        for line in histogram.splitlines():
            found = re.match(r"\s*(\d+):.*(#[0-9A-F]{6})", line)
            if found:
                counts[found.group(2)] = counts.get(found.group(2), 0) + int(found.group(1))
        return counts

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
        desktop = pyatspi.Registry.getDesktop(0)
        deadline = time.monotonic() + 10
        while self.frame is None:
            for app in desktop:
                if app is not None and app.get_process_id() == self.pid:
                    frames = [child for child in app if child is not None and child.name == CAPTION]
                    if frames:
                        self.app, self.frame = app, frames[0]
            check(self.frame is not None or time.monotonic() < deadline,
                  f"the program does not show '{CAPTION}' on the accessibility bus within 10 s")
            if self.frame is None:
                time.sleep(0.1)
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

    def dialog_cancel_button(self):
        """The Cancel button of the print options dialog while that is shown: a second window of
        the program."""
        self.app.clear_cache()
        for window in self.app:
            if window is None or window.name == CAPTION or not window.getState().contains(pyatspi.STATE_SHOWING):
                continue
            buttons = [n for n in descendants(snapshot(window)) if n.role == "push button" and n.name == "Cancel"]
            if len(buttons) == 1:
                return buttons[0]
        return None

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
