#!/usr/bin/python3
"""Reads the running window as a screen reader does, through AT-SPI.

Designs 3 at 1000 Hz and 25 % with the accessible actions alone, then checks
that what the tree says is what the command line prints: R1 with its value,
the check window's predicted frequency and its warning.
Arguments: the expected R1 text, predicted frequency and warning sentence;
or --pose, which leaves the windows simulated for scripts/screenshots.
"""
import sys
import time

import pyatspi

from atspi_walk import walk
from gi.repository import GLib

TIMEOUT = 30


def wait_for(what, find):
    end = time.time() + TIMEOUT
    while time.time() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    sys.exit("screen_reader: not found: " + what)


def application(name):
    def find():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        return None
    return wait_for("application " + name, find)


def node(app, what, test):
    def find():
        for acc in walk(app):
            try:
                if test(acc):
                    return acc
            except Exception:
                pass
        return None
    return wait_for(what, find)


def named(app, role, name):
    return node(app, f"{role} '{name}'",
                lambda a: a.getRoleName() == role and a.name == name)


def act(acc, action):
    actions = acc.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) == action:
            actions.doAction(i)
            return
    sys.exit(f"screen_reader: '{acc.name}' has no action {action}")


def type_into(acc, text):
    acc.queryEditableText().setTextContents(text)


def announcements(app, action, enough):
    """The new names a reader is told of while `action` runs, until `enough`."""
    heard = []

    def on_name(event):
        try:
            heard.append(event.source.name)
        except Exception:
            return
        if enough(heard):
            pyatspi.Registry.stop()

    def give_up():
        pyatspi.Registry.stop()
        return False

    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
    action()
    GLib.timeout_add_seconds(TIMEOUT, give_up)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(on_name, "object:property-change:accessible-name")
    return heard


def design_and_check(app):
    """Design 3 at 1000 Hz and 25 %, then the real-world check; returns R1."""
    act(named(app, "menu item", "Design"), "Press")
    act(node(app, "the third design",
             lambda a: a.getRoleName() == "push button" and a.name.startswith("Astable")
             and "< 50" in a.name), "Press")
    type_into(named(app, "text", "Frequency"), "1000")
    type_into(named(app, "text", "Duty Cycle"), "25")
    act(named(app, "push button", "Calculate"), "Press")
    r1 = node(app, "R1 on the page",
              lambda a: a.getRoleName() == "push button" and a.name.startswith("R1, "))
    # A menu is not a child of the application in the tree: a reader follows
    # its focus; the keys choose in it.
    page = node(app, "the page", lambda a: a.getRoleName() == "image"
                and a.getIndexInParent() == 1 and a.parent.getRoleName() == "filler")
    act(page, "ShowMenu")
    time.sleep(0.5)
    for keysym in (0xFF54, 0xFF0D):  # Down to "Real-world check", Return
        pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
        time.sleep(0.2)
    return r1.name


def pose():
    """The README's picture: the design calculated, the check simulated."""
    app = application("timer555")
    design_and_check(app)
    act(named(app, "push button", "Simulate"), "Press")
    node(app, "the simulation's end",
         lambda a: a.getRoleName() == "label" and a.description == "Simulation status"
         and a.name.startswith("Simulated by"))
    node(app, "the parts for the bench",
         lambda a: a.getRoleName() == "label" and a.description == "Parts status"
         and a.name.startswith("Every choice"))
    time.sleep(1)


def main():
    if sys.argv[1:] == ["--pose"]:
        pose()
        return
    expected_r1, expected_frequency, expected_warning = sys.argv[1:4]
    app = application("timer555")
    r1 = design_and_check(app)
    print("heard:", r1)
    if r1 != expected_r1:
        sys.exit(f"screen_reader: R1 heard as '{r1}', shown as '{expected_r1}'")
    cell = node(app, "the predicted frequency",
                lambda a: a.getRoleName() == "label" and a.description == "Frequency, predicted")
    print("heard:", cell.name)
    if cell.name != expected_frequency:
        sys.exit(f"screen_reader: predicted frequency heard as '{cell.name}', "
                 f"printed as '{expected_frequency}'")
    warnings = node(app, "the warnings",
                    lambda a: a.getRoleName() == "label" and a.description == "Warnings")
    print("heard:", warnings.name[:80], "...")
    if expected_warning not in warnings.name:
        sys.exit(f"screen_reader: the warning '{expected_warning}' is not heard in "
                 f"'{warnings.name}'")
    # A changed status is announced: the simulation's, as it starts and ends.
    heard = announcements(app, lambda: act(named(app, "push button", "Simulate"), "Press"),
                          lambda names: any(n.startswith("Simulated by") for n in names))
    print("announced:", " / ".join(heard))
    if "Cancel" not in heard or not any(n.startswith("Simulated by") for n in heard):
        sys.exit("screen_reader: the simulation's start and end were not announced")
    print("screen_reader: every value heard")


if __name__ == "__main__":
    main()
