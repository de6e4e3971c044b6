#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The window by keys alone, as a screen reader hears it: starts PROGRAM on the X display and
# session bus it is given, presses keys with xdotool and after each waits for the focus event a
# screen reader speaks, checking the name, role and window of what has the focus. It chooses a
# crew, switches the view and chooses both crews, exports a month through a crew box's menu, and
# opens and closes the about window. Usage: screenreaderwalk.py PROGRAM FOLDER
# (exit status 77: the accessibility bus cannot start).
import datetime
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

STEP_SECONDS = 30  # a bound against a hang only: a step takes well under a second
heard = []  # (name, role, description, window name, window role, object) of each focus event


def fail(message):
    print(f"FAIL: {message}; heard: {[got[:5] for got in heard]}")
    sys.exit(1)


def window_of(accessible):
    while accessible.parent is not None and accessible.parent.getRoleName() != "application":
        accessible = accessible.parent
    return accessible


def on_focus(event):
    if event.detail1:
        try:
            source, window = event.source, window_of(event.source)
            heard.append((source.name, source.getRoleName(), source.description, window.name,
                          window.getRoleName(), source))
        except Exception as error:  # gone before it could be read
            heard.append((f"<{error}>", "", "", "", "", None))


def wait_for(what, test):
    context, end = GLib.MainContext.default(), time.monotonic() + STEP_SECONDS
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        if test():
            return
        time.sleep(0.02)
    fail(what)


def step(keys, name, role, window=None, description=""):
    """Presses `keys`, then waits until `name` in `role` has the focus."""
    heard.clear()
    if keys:
        subprocess.run(["xdotool", "key", "--delay", "100"] + keys.split(), check=True)
    wait_for(f"after '{keys}' no focus on {role} '{name}'", lambda: any(
        got[:2] == (name, role) and got[2].startswith(description) and
        window in (None, got[3:5]) for got in heard))
    print(f"{keys:>14}: {role} '{name}'")
    return next(got[5] for got in heard if got[:2] == (name, role))


def type_text(text):
    subprocess.run(["xdotool", "key", "ctrl+a", "type", "--delay", "50", text], check=True)


def spoken(day):
    return day.strftime("%A ") + str(day.day) + day.strftime(" %B %Y")


def walk(folder):
    frame = ("Kelsing Shift Workers Schedule", "frame")
    step("", "Previous year", "push button", frame)
    # Reading order: the step buttons, the title, the sheet on today, the crew box.
    today = datetime.date.today()
    for name in ("Previous month", "Next month", "Next year", today.strftime("%B %Y")):
        step("Tab", name, "push button", frame)
    step("Tab", spoken(today) + ", today", "table cell")
    up = today.day > 7
    step("Up" if up else "Down", spoken(today + datetime.timedelta(days=-7 if up else 7)),
         "table cell")
    step("Tab", "Click here to Choose Crew", "push button")
    # The chooser is a dialog named by its caption: Corvath, 401-404, 403.
    chooser = ("Choose Crew", "dialog")
    step("Return", "Brenmoor", "list item", chooser)
    step("Down", "Zantor", "list item", chooser)  # greyed employers are passed by
    step("Down Down", "Corvath", "list item", chooser)
    step("Return", "1-4", "list item", chooser)
    step("Down Down Down", "401-404", "list item", chooser)
    step("Return Down Down", "403", "list item", chooser)
    step("Return", "Corvath 403", "push button", frame)
    # Two crews side by side: the switch says what it does next.
    switch = step("Tab", "Show two crews side by side", "push button", frame)
    subprocess.run(["xdotool", "key", "Return"], check=True)
    wait_for("the switch does not say 'Show one crew'", lambda: switch.name == "Show one crew")
    step("shift+Tab shift+Tab", "Click Here to Select Crew", "push button", frame, "Left crew")
    left = ("Choose Left Side Crew", "dialog")
    step("Return", "Brenmoor", "list item", left)
    step("Return Down Down", "C Crew", "list item", left)
    step("Return", "Brenmoor C Crew", "push button", frame, "Left crew")
    right = ("Choose Right Side Crew", "dialog")
    step("Tab Return End", "Tobrin's", "list item", right)
    step("Return End", "DX Crew", "list item", right)  # All X Crews is greyed
    step("Return", "Tobrin's DX Crew", "push button", frame, "Right crew")
    # A month of the right crew's shifts, through the crew box's menu and the export dialog.
    step("Menu", "Export shifts to calendar file...", "menu item")
    export = ("Export shifts to calendar file", "dialog")
    step("Return", "First day", "text", export)
    type_text("1 March 2007")
    step("Tab", "Last day", "text", export)
    type_text("31 March 2007")
    step("Tab Tab", "File", "text", export)
    target = os.path.join(folder, "right crew.ics")
    type_text(target)
    # Return is the dialog's OK; the message that the file is written has the focus.
    step("Return", "OK", "push button", ("Kelsing Shift Workers Schedule", "alert"))
    with open(target, encoding="utf-8") as written:
        if "BEGIN:VEVENT" not in written.read():
            fail(f"{target} holds no shifts")
    step("Return", "Tobrin's DX Crew", "push button", frame)
    # The about window, a dialog, opened and closed.
    about = ("About Kelsing Shift Workers Schedule", "dialog")
    step("F1", "OK", "push button", about)
    step("Escape", "Tobrin's DX Crew", "push button", frame)


def main():
    program, folder = sys.argv[1:3]
    try:
        pyatspi.Registry.getDesktop(0).childCount
    except Exception as error:
        print(f"SKIP: the accessibility bus cannot start: {error}")
        sys.exit(77)
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    # Name changes keep what the library holds of an object current.
    pyatspi.Registry.registerEventListener(lambda event: None,
                                           "object:property-change:accessible-name")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    window = subprocess.Popen([program, "-geometry", "+0+0"], env=env)
    try:
        walk(folder)
    finally:
        window.terminate()
        window.wait(timeout=STEP_SECONDS)


if __name__ == "__main__":
    main()
