#!/usr/bin/python3
"""Drives the window by keyboard while Orca listens, and checks what Orca
said after each step against what the eye sees and the command line prints.

The road: design 3 at 1000 Hz and 25 %, Calculate, C1 one step up, R1
adjusted, F9 (the focus on the supply, the timer family's choice said),
a parts row applied, Simulate, Escape. Keys go in as a
keyboard's (XTest through the accessibility registry); the focus is read
over AT-SPI only to know where the keys are.
Arguments: Orca's debug file, then the three sentences the command line's
designs give (after Calculate, after the C1 step, after the adjustment).
"""
import re
import sys
import time

import pyatspi

from atspi_walk import walk

TIMEOUT = 30
KEYS = {"Tab": 0xFF09, "Return": 0xFF0D, "Escape": 0xFF1B, "Down": 0xFF54, "Right": 0xFF53,
        "Home": 0xFF50, "F9": 0xFFC6, "F10": 0xFFC7, "space": 0x20, "Control": 0xFFE3}


class Speech:
    """Orca's utterances, from its debug file."""

    def __init__(self, path):
        self.path = path
        self.seen = 0

    def lines(self):
        with open(self.path, encoding="utf-8", errors="replace") as f:
            return [m.group(1) for m in re.finditer(r"SPEECH OUTPUT: '(.*?)'", f.read())]

    def mark(self):
        self.seen = len(self.lines())

    def wait(self, what, test):
        """The utterances since the mark, once one of them passes `test`."""
        end = time.time() + TIMEOUT
        while time.time() < end:
            said = self.lines()[self.seen:]
            if any(test(s) for s in said):
                return said
            time.sleep(0.2)
        sys.exit(f"orca_speech: Orca did not say {what}; it said: {self.lines()[self.seen:]}")


def key(name, ctrl=False):
    if ctrl:
        pyatspi.Registry.generateKeyboardEvent(KEYS["Control"], None, pyatspi.KEY_SYM)
    pyatspi.Registry.generateKeyboardEvent(KEYS[name], None, pyatspi.KEY_SYM)
    time.sleep(0.3)


def type_text(text):
    for c in text:
        pyatspi.Registry.generateKeyboardEvent(ord(c), None, pyatspi.KEY_SYM)
        time.sleep(0.05)
    time.sleep(0.3)


def application():
    end = time.time() + TIMEOUT
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "timer555":
                return app
        time.sleep(0.2)
    sys.exit("orca_speech: the window did not start")


def tab_to(app, test, what, limit=40):
    """Tab until the control that passes `test` has the focus (asked of the
    control itself: a table's cell keeps its focused state after the table
    has lost the focus)."""
    target = wait_find(app, test, what)
    for _ in range(limit):
        if target.getState().contains(pyatspi.STATE_FOCUSED):
            return target
        key("Tab")
        time.sleep(0.2)
    sys.exit(f"orca_speech: Tab never reached {what}")


def find(app, test):
    for acc in walk(app):
        try:
            if test(acc):
                return acc
        except Exception:
            continue
    return None


def wait_find(app, test, what):
    end = time.time() + TIMEOUT
    while time.time() < end:
        acc = find(app, test)
        if acc is not None:
            return acc
        time.sleep(0.3)
    sys.exit(f"orca_speech: {what} never appeared")


def notification(said, sentence):
    return any(s.startswith("notification " + sentence) for s in said)


def step(speech, what, action, sentence):
    speech.mark()
    action()
    said = speech.wait(f"'{sentence}' after {what}", lambda s: s.startswith("notification " +
                                                                            sentence))
    print(f"{what}: Orca said: {' | '.join(said)}")
    return said


def main():
    debug_file, calculated, stepped, adjusted = sys.argv[1:5]
    speech = Speech(debug_file)
    app = application()
    time.sleep(2)
    # Design 3: the menu bar, Design, the page, the third design.
    key("F10")
    key("Return")
    key("Tab")
    key("Right")
    key("Right")
    key("space")
    tab_to(app, lambda a: a.getRoleName() == "text" and a.name == "Frequency",
           "the frequency field")
    type_text("1000")
    key("Return")
    type_text("25")
    tab_to(app, lambda a: a.getRoleName() == "push button" and a.name == "Calculate",
           "Calculate")
    step(speech, "Calculate", lambda: key("Return"), calculated)
    tab_to(app, lambda a: a.getRoleName() == "panel" and a.name == "Arrows", "the arrows")
    step(speech, "the C1 step", lambda: key("space"), stepped)  # Space is the up arrow
    tab_to(app, lambda a: a.getRoleName() == "image" and a.getIndexInParent() == 1,
           "the page")
    key("Right")  # from C1 to R1
    time.sleep(0.5)

    def adjust():
        key("Return")
        time.sleep(1)
        type_text("3.3")
        key("Return")
        key("Return")
    step(speech, "the adjustment of R1", adjust, adjusted)

    # The check window: a row the window can enter, applied.
    speech.mark()
    key("F9")
    wait_find(app, lambda a: a.getRoleName() == "label" and a.description == "Parts status"
              and a.name.startswith("Every choice"), "the parts for the bench")
    time.sleep(1)
    said = speech.lines()[speech.seen:]
    print(f"F9: Orca said: {' | '.join(said)}")
    # The keyboard is on the supply; the parts search choosing its first
    # row is no focus for the reader to follow.
    if not any(s.startswith("Supply voltage") for s in said) or any("table with" in s for s in said):
        sys.exit(f"orca_speech: F9 did not land on the supply alone: {said}")
    # A combo box says its choice, not only its label.
    speech.mark()
    key("Tab")
    said = speech.wait("the timer family's choice", lambda s: "bipolar (NE555 class)" in s)
    print(f"Tab to the timer family: Orca said: {' | '.join(said)}")
    table = tab_to(app, lambda a: a.name == "Parts for the bench" and
                   a.getRoleName() == "table", "the parts table")
    key("Home", ctrl=True)
    apply = find(app, lambda a: a.name == "Apply the chosen parts")
    for _ in range(5):
        time.sleep(0.5)
        if apply.getState().contains(pyatspi.STATE_ENABLED):
            break
        key("Down")
    if not apply.getState().contains(pyatspi.STATE_ENABLED):
        sys.exit("orca_speech: no row of the parts the window can enter")
    tab_to(app, lambda a: a.getRoleName() == "push button" and
           a.name == "Apply the chosen parts", "Apply")
    said = step(speech, "Apply", lambda: key("space"), "R1 ")
    # What the reader heard is what the page now shows.
    r1 = wait_find(app, lambda a: a.getRoleName() == "push button" and a.name.startswith("R1, "),
                   "R1 on the page").name[len("R1, "):]
    if not any(s.startswith("notification R1 " + r1 + ",") for s in said):
        sys.exit(f"orca_speech: after Apply the page shows R1 {r1}; Orca said {said}")
    if any("Parts for the bench" in s for s in said):
        sys.exit(f"orca_speech: the parts table spoke over the result: {said}")

    tab_to(app, lambda a: a.getRoleName() == "push button" and a.name == "Simulate",
           "Simulate")
    speech.mark()
    key("space")
    said = speech.wait("the simulation's end",
                       lambda s: s.startswith("notification Simulated by ngspice: "))
    print(f"Simulate: Orca said: {' | '.join(said)}")
    if not any(s.startswith("notification Simulating") for s in said):
        sys.exit(f"orca_speech: the simulation's start was not said: {said}")
    cell = find(app, lambda a: a.getRoleName() == "label" and
                a.description == "Frequency, simulated")
    heard = [s for s in said if s.startswith("notification Simulated by ngspice: ")][0]
    shown = cell.name.replace(" kHz", " kilohertz").replace(" Hz", " hertz")
    if shown not in heard:
        sys.exit(f"orca_speech: the check window shows {cell.name}; Orca said '{heard}'")

    speech.mark()
    key("Escape")
    time.sleep(2)
    said = speech.lines()[speech.seen:]
    print(f"Escape: Orca said: {' | '.join(said)}")
    if any("Parts for the bench" in s or "Simulat" in s for s in said):
        sys.exit(f"orca_speech: the closed check window still speaks: {said}")
    # C1 a step down with the check window hidden: its parts search answers
    # anew, and nothing of it may be heard.
    tab_to(app, lambda a: a.getRoleName() == "panel" and a.name == "Arrows", "the arrows")
    speech.mark()
    key("Down")
    said = speech.wait("the result with the check window closed",
                       lambda s: s.startswith("notification R1 "))
    time.sleep(3)  # the hidden window's search ends meanwhile
    said = speech.lines()[speech.seen:]
    print(f"C1 down, the check window closed: Orca said: {' | '.join(said)}")
    if any("Parts for the bench" in s or " nF " in s or "table" in s for s in said):
        sys.exit(f"orca_speech: the hidden check window spoke: {said}")
    print("orca_speech: Orca said every result")


if __name__ == "__main__":
    main()
