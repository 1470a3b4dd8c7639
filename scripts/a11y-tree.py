"""Prints the accessibility tree of the running ORV Editor over AT-SPI (used by scripts/a11y-tree).

Waits up to 30 seconds for the editor to appear on the accessibility bus and for its connection
indicator to read "Connected", then prints one line per object: role, "name", = value text,
(current in min..max), [states]. ORV_A11Y_ALL=1 keeps invisible objects and every library row.
"""
import os
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

SHOW_ALL = os.environ.get("ORV_A11Y_ALL") == "1"
ROWS_SHOWN = 3
STATES = [
    (Atspi.StateType.CHECKED, "checked"),
    (Atspi.StateType.SELECTED, "selected"),
    (Atspi.StateType.FOCUSED, "focused"),
    (Atspi.StateType.FOCUSABLE, "focusable"),
]


def find_editor():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and "orv" in (app.get_name() or "").lower():
            return app
    return None


def find(acc, role, name):
    if acc is None:
        return None
    if acc.get_role_name() == role and acc.get_name() == name:
        return acc
    for i in range(acc.get_child_count()):
        hit = find(acc.get_child_at_index(i), role, name)
        if hit is not None:
            return hit
    return None


def wait_for_panel(deadline):
    while time.time() < deadline:
        app = find_editor()
        if app is not None and find(app, "label", "Connected") is not None:
            return app
        time.sleep(0.5)
    return find_editor()


def invisible(acc):
    states = acc.get_state_set()
    return not states.contains(Atspi.StateType.VISIBLE)


def describe(acc):
    parts = [acc.get_role_name()]
    parts.append('"%s"' % (acc.get_name() or ""))
    text = acc.get_description()
    if text:
        parts.append("= " + text)
    if "Value" in acc.get_interfaces():
        parts.append("(%g in %g..%g)" % (acc.get_current_value(), acc.get_minimum_value(),
                                         acc.get_maximum_value()))
    states = acc.get_state_set()
    marks = [label for state, label in STATES if states.contains(state)]
    if not states.contains(Atspi.StateType.ENABLED):
        marks.append("disabled")
    if marks:
        parts.append("[" + ", ".join(marks) + "]")
    return " ".join(parts)


def walk(acc, depth, out):
    if acc is None or (not SHOW_ALL and depth > 0 and invisible(acc)):
        return
    out.append("  " * depth + describe(acc))
    count = acc.get_child_count()
    listed = count
    if not SHOW_ALL and acc.get_role_name() == "list" and count > ROWS_SHOWN:
        listed = ROWS_SHOWN
    for i in range(listed):
        walk(acc.get_child_at_index(i), depth + 1, out)
    if listed < count:
        out.append("  " * (depth + 1) + "... %d more rows" % (count - listed))


def main():
    app = wait_for_panel(time.time() + 30)
    if app is None:
        print("a11y-tree: the editor did not appear on the accessibility bus", file=sys.stderr)
        return 1
    out = []
    walk(app, 0, out)
    print("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
