#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The window driven by keys alone, heard as a screen reader hears it.

Starts the program on the X display and session bus it is given, presses keys with xdotool and,
after each, waits for the focus event that a screen reader speaks (AT-SPI's
object:state-changed:focused) and checks the name and role of the object that has the focus.
It chooses a crew, switches to two crews and chooses both, exports a month of shifts through the
crew box's menu, and opens and closes the about window.

Usage: screenreaderwalk.py PROGRAM FOLDER   (exit status 77: the accessibility bus cannot start)
"""

import calendar
import datetime
import os
import subprocess
import sys
import time

# Bounds against a hang only: on a busy machine a step takes well under a second.
STEP_SECONDS = 30
START_SECONDS = 60


def skip(message):
    print(f"SKIP: {message}")
    sys.exit(77)


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


try:
    import pyatspi
    from gi.repository import GLib
except ImportError as error:
    skip(f"python3-pyatspi is not installed: {error}")

program, folder = sys.argv[1], sys.argv[2]
heard = []  # the focus events, as (name, role, description, window name, window role)
focused = []  # the objects that took the focus, the last one last


def on_focus(event):
    if not event.detail1:
        return
    try:
        source = event.source
        window = window_of(source)
        heard.append((source.name, source.getRoleName(), source.description,
                      window.name if window else "", window.getRoleName() if window else ""))
        focused.append(source)
    except Exception as error:  # the object went before it could be read
        heard.append((f"<gone: {error}>", "", "", "", ""))


def window_of(accessible):
    # The window that holds `accessible`: its ancestor just below the program.
    while accessible is not None:
        parent = accessible.parent
        if parent is None or parent.getRoleName() == "application":
            return accessible
        accessible = parent
    return None


def pump(seconds):
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.01)


def wait_for(what, test, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump(0.05)
        if test():
            return
    fail(f"{what}; heard since the last step: {heard}")


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "Kelsing Shift Workers Schedule":
            return app
    return None


def step(keys, name, role, window=None, description=None):
    """Presses `keys` and waits until the object named `name` with `role` has the focus."""
    heard.clear()
    if keys:
        subprocess.run(["xdotool", "key", "--delay", "100"] + keys.split(), check=True)

    def arrived():
        for got in heard:
            if (got[0] == name and got[1] == role and (window is None or got[3:5] == window)
                    and (description is None or got[2].startswith(description))):
                return True
        return False

    wait_for(f"after {keys or 'the start'}: no focus on {role} '{name}'", arrived, STEP_SECONDS)
    print(f"{keys or 'start':>12}: {role} '{name}'")


def type_text(text):
    subprocess.run(["xdotool", "key", "ctrl+a"], check=True)
    subprocess.run(["xdotool", "type", "--delay", "50", text], check=True)


def spoken_day(day):
    # As the sheet names a day, in the C locale that the test runs in.
    return f"{calendar.day_name[day.weekday()]} {day.day} {calendar.month_name[day.month]} {day.year}"


def main():
    try:
        pyatspi.Registry.getDesktop(0).childCount
    except Exception as error:
        skip(f"the accessibility bus cannot start: {error}")
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    # Name changes keep what the library holds of an object current.
    pyatspi.Registry.registerEventListener(lambda event: None,
                                           "object:property-change:accessible-name")

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               HOME=folder)
    window = subprocess.Popen([program, "-geometry", "+0+0"], env=env)
    try:
        walk()
    finally:
        window.terminate()
        window.wait(timeout=START_SECONDS)


def walk():
    frame = ("Kelsing Shift Workers Schedule", "frame")
    step("", "Previous year", "push button", window=frame)
    wait_for("no program on the accessibility bus", lambda: application() is not None,
             START_SECONDS)
    roles = [(child.name, child.getRoleName()) for child in application()]
    if roles != [frame]:
        fail(f"the program's windows are {roles}")

    # Reading order: the step buttons, the title, the sheet on today, the crew box.
    today = datetime.date.today()
    step("Tab", "Previous month", "push button")
    step("Tab", "Next month", "push button")
    step("Tab", "Next year", "push button")
    step("Tab", today.strftime("%B %Y"), "push button")
    step("Tab", spoken_day(today) + ", today", "table cell")
    week = datetime.timedelta(days=7)
    other = today - week if today.day > 7 else today + week
    step("Up" if today.day > 7 else "Down", spoken_day(other), "table cell")
    step("Tab", "Click here to Choose Crew", "push button")

    # The chooser, a dialog named by its caption: Corvath, 401-404, 403.
    chooser = ("Choose Crew", "dialog")
    step("Return", "Brenmoor", "list item", window=chooser)
    step("Down", "Zantor", "list item", window=chooser)
    step("Down", "Halvex", "list item")
    step("Down", "Corvath", "list item")
    step("Return", "1-4", "list item")
    step("Down Down Down", "401-404", "list item")
    step("Return", "401", "list item")
    step("Down Down", "403", "list item")
    step("Return", "Corvath 403", "push button", window=frame)

    # Two crews side by side: the switch says what it does next.
    step("Tab", "Show two crews side by side", "push button")
    heard.clear()
    switch = focused[-1]
    subprocess.run(["xdotool", "key", "Return"], check=True)
    wait_for("the switch does not say 'Show one crew'", lambda: switch.name == "Show one crew",
             STEP_SECONDS)
    print("      Return: the switch says 'Show one crew'")
    step("shift+Tab", "Click Here to Select Crew", "push button", description="Right crew")
    step("shift+Tab", "Click Here to Select Crew", "push button", description="Left crew")
    left = ("Choose Left Side Crew", "dialog")
    step("Return", "Brenmoor", "list item", window=left)
    step("Return", "A Crew", "list item", window=left)
    step("Down Down", "C Crew", "list item")
    step("Return", "Brenmoor C Crew", "push button", description="Left crew")
    step("Tab", "Click Here to Select Crew", "push button", description="Right crew")
    right = ("Choose Right Side Crew", "dialog")
    step("Return", "Brenmoor", "list item", window=right)
    step("End", "Tobrin's", "list item")
    step("Return", "A Crew", "list item")
    # Beside another crew, the all-crews entries are greyed and passed by.
    step("End", "DX Crew", "list item")
    step("Return", "Tobrin's DX Crew", "push button", description="Right crew")

    # The right crew's shifts of March 2007, through the crew box's menu.
    step("Menu", "Export shifts to calendar file...", "menu item")
    step("Return", "First day", "text")
    type_text("1 March 2007")
    step("Tab", "Last day", "text")
    type_text("31 March 2007")
    step("Tab", "Include days off", "check box")
    step("Tab", "File", "text")
    target = os.path.join(folder, "right crew.ics")
    type_text(target)
    step("Return", "OK", "push button")
    with open(target, encoding="utf-8") as written:
        if "BEGIN:VCALENDAR" not in written.read():
            fail(f"{target} is no calendar")
    step("Return", "Tobrin's DX Crew", "push button", window=frame)

    # The about window, a dialog, opened and closed.
    about = ("About Kelsing Shift Workers Schedule", "dialog")
    step("F1", "OK", "push button", window=about)
    step("Tab", application_link_name(), "link", window=about)
    step("Tab", "OK", "push button", window=about)
    step("Escape", "Tobrin's DX Crew", "push button", window=frame)


def application_link_name():
    # The link names the author's site, which the build sets; read it off the window.
    app = application()
    for window in app:
        if window.getRoleName() == "dialog":
            for child in window:
                if child.getRoleName() == "link":
                    return child.name
    fail("the about window has no link")


if __name__ == "__main__":
    main()
