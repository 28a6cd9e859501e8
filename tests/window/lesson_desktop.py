#!/usr/bin/python3
"""The desktop as lesson_atspi.py sees and works it.

Reads the program's main window through AT-SPI into a fresh Screen (a tree of Nodes) on
every look, and from that its exercise rows (each exercise from the accessible description
of its base and exponent labels, "7 tot de macht 2"), score, counters and results panel. Acts
through xdotool (clicks, keys, typing), keeps screenshots with ImageMagick's import and
counts the colours under a control with convert. Waits poll a Screen until a condition
holds or a deadline passes; a failed check raises LessonFailure.
"""

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
        """(points made, maximum points) of the series, the numbers around 'Behaalde punten', each
        named with what it counts ("Behaalde punten 6")."""
        caption = self.one("Behaalde punten", "label")
        numbers = sorted((n for n in caption.parent.children
                          if n.role == "label" and re.fullmatch(r"(Behaalde|Maximum) punten \d+", n.name)),
                         key=lambda n: n.y)
        check(len(numbers) == 2, f"expected two numbers in the score panel, found {[n.name for n in numbers]}")
        return tuple(int(n.name.split()[-1]) for n in numbers)

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


# ---------------------------------------------------------------- the desktop

class Desktop:
    """The running program's window and the tools that read and work it; screenshots are
    named after the current step."""

    def __init__(self, pid, window, artefacts, convert):
        self.pid = pid
        self.window = window
        self.artefacts = artefacts
        self.convert = convert
        self.step_name = "start"
        self.step_number = 0
        self.step_started = time.monotonic()
        self.frame = None
        self.app = None
        self.origin = (0, 0)

    def step(self, name):
        """Starts the named step; its screenshots carry its number and name."""
        now = time.monotonic()
        if self.step_number:
            print(f"[lesson]   done in {now - self.step_started:.1f} s", flush=True)
        self.step_number += 1
        self.step_name = name
        self.step_started = now
        print(f"[lesson] step {self.step_number}: {name}", flush=True)

    # -- the accessibility tree

    def find_frame(self):
        """Waits for the program on the accessibility bus and keeps its application and main window."""
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

    # -- input

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

    # -- the window and its pictures

    def alive(self):
        try:
            with open(f"/proc/{self.pid}/stat") as stat:
                return stat.read().split(") ")[1][0] != "Z"
        except OSError:
            return False

    def window_present(self):
        shown = self.run("xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(CAPTION) + "$").split()
        return self.window in shown

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
