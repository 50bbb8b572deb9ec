#!/usr/bin/python3
"""What a screen reader finds in the desktop program's windows.

Starts the program under a virtual X display with its own session bus and
the accessibility bus, opens the main window, the configure-output window and
the colour chooser, the texts window, the test options and the gap editor
(through the accessibility actions a screen reader uses),
walks the accessibility tree of each and lists every control that a screen
reader could not tell apart:

  - a control without a name. A combo box is named by its value on this
    platform (the toolkit's convention, which screen readers expect), so it
    needs a label that names it: a "labelled by" relation to a named label;
  - two buttons of one window with the same name;
  - a window whose role is not a frame or a dialog;
  - a page tab that the window does not show.

usage: unnamed_controls.py BRENVIK   exit status 0 when nothing is listed
"""
import os
import subprocess
import sys
import time

if not os.environ.get("BRENVIK_A11Y_INNER"):
    env = dict(os.environ, BRENVIK_A11Y_INNER="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1", QT_QPA_PLATFORM="xcb")
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    env.pop("AT_SPI_BUS_ADDRESS", None)
    # Display numbers from 199 up: the end-to-end test, which may start at
    # the same moment, looks for a free one from 99 up.
    cmd = ["xvfb-run", "-a", "-n", "199", "-s", "-screen 0 1280x1024x24",
           "dbus-run-session", "--", sys.executable, os.path.abspath(__file__)] + sys.argv[1:]
    sys.exit(subprocess.call(cmd, env=env))

import pyatspi  # noqa: E402  (only inside the session bus)

# Roles that only hold other objects: looked into, never named.
CONTAINERS = {"filler", "panel", "layered pane", "scroll pane", "viewport", "frame", "split pane", "grouping"}
# Roles that show text and need no name of their own.
TEXTS = {"label", "static", "separator", "heading", "paragraph"}
# Controls whose children are controls of their own.
COMPOSITES = {"menu bar", "list", "table", "tree", "tree table", "page tab list", "tool bar"}
# Bars that screen readers announce by their role; their items carry the names.
BARS = {"menu bar", "tool bar"}
WINDOW_ROLES = {"frame", "dialog"}


def poll(what, tries=600):
    """Calls what() every 0.1 s until it gives something; None after the
    tries, a bound that is only there so that a hung program fails."""
    for _ in range(tries):
        try:
            found = what()
        except Exception:  # the tree changes under the walk while windows open
            found = None
        if found:
            return found
        time.sleep(0.1)
    return None


def children(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def find(node, role, name_test):
    if node.getRoleName() == role and name_test(node.name or ""):
        return node
    for child in children(node):
        hit = find(child, role, name_test)
        if hit is not None:
            return hit
    return None


def labelled(node):
    """Whether a named label names node (a "labelled by" relation)."""
    for relation in node.getRelationSet():
        if relation.getRelationType() != pyatspi.RELATION_LABELLED_BY:
            continue
        for i in range(relation.getNTargets()):
            target = relation.getTarget(i)
            if target is not None and (target.name or "").strip():
                return True
    return False


def walk(node, path, found):
    """Collects (path, role, name) of every control shown under node."""
    if not showing(node):
        return
    role = node.getRoleName()
    name = (node.name or "").strip()
    here = f"{path} > {role} '{name}'"
    if role in TEXTS:
        return
    if role in CONTAINERS and node.childCount > 0:
        for child in children(node):
            walk(child, here, found)
        return
    found.append((here, role, name, node))
    if role in COMPOSITES:
        for child in children(node):
            # The toolkit puts the corner of a table view (above the row
            # headers) first among its children: an empty panel that no key
            # reaches and screen readers pass over.
            if role == "table" and child.getRoleName() == "panel" and child.childCount == 0 \
                    and child.getIndexInParent() == 0:
                continue
            walk(child, here, found)


def check_window(window, problems, shown_tabs=None):
    title = window.name or "(untitled)"
    role = window.getRoleName()
    if role not in WINDOW_ROLES:
        problems.append(f"{title}: the window's role is '{role}', not a frame or a dialog")
    controls = []
    for child in children(window):
        walk(child, title, controls)
    buttons = {}
    for path, role, name, node in controls:
        if role == "combo box":
            if not labelled(node):
                problems.append(f"{path}: named only by its value, no label")
        elif not name and role not in BARS:
            problems.append(f"{path}: no name")
        if role in ("push button", "toggle button") and name:
            buttons.setdefault(name, []).append(path)
        if role == "page tab" and shown_tabs is not None and name not in shown_tabs:
            problems.append(f"{path}: a tab of a page the window does not show")
    for name, paths in buttons.items():
        if len(paths) > 1:
            problems.append(f"{title}: {len(paths)} buttons are all named '{name}'")
    return len(controls)


def window_named(app, title):
    return next((w for w in children(app) if w.name == title and showing(w)), None)


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def main():
    # The accessibility bus and its registry are up before the program
    # starts: a program that finds no bus runs without accessibility.
    desktop = pyatspi.Registry.getDesktop(0)
    desktop.childCount
    program = subprocess.Popen([sys.argv[1]])
    problems = []
    try:
        app = poll(lambda: next((a for a in children(desktop) if a.name == "Brenvik by Halvorsk"), None))
        if app is None:
            print("FAIL: the program did not appear on the accessibility bus")
            return 1
        main_window = poll(lambda: window_named(app, "Brenvik"))
        if main_window is None:
            print("FAIL: no main window 'Brenvik' in the accessibility tree")
            return 1
        counts = {"Brenvik": check_window(main_window, problems)}

        press(poll(lambda: find(main_window, "menu item", lambda n: n == "Output")))
        settings = poll(lambda: window_named(app, "configure output"))
        if settings is None:
            print("FAIL: Edit > Output showed no configure-output window")
            return 1
        counts["configure output"] = check_window(settings, problems)

        # The first Select button opens the chooser; a screen reader presses it
        # by its action. The press is asynchronous, so the walk polls for the dialog.
        press(poll(lambda: find(settings, "push button", lambda n: n.startswith("Select"))))
        chooser = poll(lambda: window_named(app, "Color"))
        if chooser is None:
            print("FAIL: the Select button showed no colour chooser")
            return 1
        counts["Color"] = check_window(chooser, problems, shown_tabs={"Internet"})
        press(find(chooser, "push button", lambda n: n == "Cancel"))

        # A text in the source box and Process, so that the gap editor lists
        # gaps; then the windows of the test from the Edit menu.
        source = poll(lambda: find(main_window, "text", lambda n: n == "Source text"))
        source.queryEditableText().setTextContents("A river. The water runs past the old mill.")
        press(poll(lambda: find(main_window, "push button", lambda n: n == "Process")))
        for item, title in (("Texts\u2026", "Texts of the test"), ("Test options\u2026", "Test options"),
                            ("Gaps\u2026", "Gaps of the test")):
            press(poll(lambda: find(main_window, "menu item", lambda n: n == item)))
            window = poll(lambda: window_named(app, title))
            if window is None:
                print(f"FAIL: Edit > {item} showed no window '{title}'")
                return 1
            counts[title] = check_window(window, problems)
    finally:
        program.terminate()
        try:
            program.wait(timeout=30)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()

    for title, count in counts.items():
        print(f"{title}: {count} controls")
    for p in problems:
        print(p)
    unnamed = sum(1 for p in problems if p.endswith(": no name") or p.endswith("no label"))
    print(f"{unnamed} controls without a name, {len(problems)} problems in all")
    return 1 if problems else 0


sys.exit(main())
