#!/usr/bin/python3
"""Drives the Tellwright editor through the accessibility bus, as a person
using a screen reader would: reads the dialogue lines, inserts three lines with
the buttons, and quits through the File menu, first cancelling and then
discarding the changes.

Usage: accessibility_test.py PROGRAM EXAMPLE_PROJECT

Needs an X display and a running accessibility bus (run_accessibility_test.sh
provides both). The program runs on a copy of the example in a temporary
folder, with its settings, data and config folders there too.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

import gi

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import Atspi, Gio, GLib  # noqa: E402

DEADLINE = 20.0  # seconds to wait for any one condition
POLL = 0.05
COLUMNS = ["Command", "Character", "Text / Code / Remark", "Soundfile"]
QUESTION_TITLE = "Project not saved"
QUESTION_TEXT = "The current project was changed. Do you want to save it first?"


class Failure(Exception):
    pass


program_process = None  # the editor under test, once started


def program_ended():
    """Why the program is gone, or None while it runs."""
    if program_process is None or program_process.poll() is None:
        return None
    return f"the program exited with code {program_process.returncode}"


def passed(message):
    print("PASS: " + message, flush=True)


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=DEADLINE):
    """Polls probe() until it returns a true value, which is returned. Errors
    from objects that vanish or from a bridge still filling in count as "not
    yet"; the last one is shown if the deadline passes."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        check(not program_ended(), f"{program_ended()} while waiting for {what}")
        try:
            result = probe()
            if result:
                return result
        except Failure:
            raise
        except Exception as error:  # GLib.GError, LookupError, AttributeError on a defunct object
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(POLL)


def children(acc):
    return [child for child in (acc.getChildAtIndex(i) for i in range(acc.childCount)) if child is not None]


def fresh_name(acc):
    acc.clear_cache()
    return acc.name


def find_all(root, roles, name=None):
    """Breadth-first search below root; does not descend into objects that
    manage their descendants (tables and lists expose those by interface)."""
    found, queue = [], [root]
    while queue:
        acc = queue.pop(0)
        if acc.getRole() in roles and (name is None or acc.name == name):
            found.append(acc)
        if not acc.getState().contains(pyatspi.STATE_MANAGES_DESCENDANTS):
            queue.extend(children(acc))
    return found


def find_one(root, roles, name):
    matches = find_all(root, roles, name)
    return matches[0] if len(matches) == 1 else None


def press(acc, wait_for_reply=True):
    """Invokes the press action. Qt answers an action only once it has run,
    so an action that opens a modal message box is not answered until the box
    closes; such presses are sent without waiting for the answer."""
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    index = next((i for i, name in enumerate(names) if name.lower() in ("press", "click", "activate")), None)
    check(index is not None, f"{acc.getRoleName()} {acc.name!r} offers no press action, only {names}")
    if wait_for_reply:
        check(action.doAction(index), f"{acc.getRoleName()} {acc.name!r} refused its {names[index]!r} action")
        return
    session = Gio.bus_get_sync(Gio.BusType.SESSION)
    address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 10000).unpack()[0]
    bus = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
    message = Gio.DBusMessage.new_method_call(acc.app.bus_name, acc.path, "org.a11y.atspi.Action", "DoAction")
    message.set_body(GLib.Variant("(i)", (index,)))
    message.set_flags(Gio.DBusMessageFlags.NO_REPLY_EXPECTED)
    bus.send_message(message, Gio.DBusSendMessageFlags.NONE)
    bus.flush_sync()
    bus.close_sync()


def read_rows(line_list):
    line_list.clear_cache()
    table = line_list.queryTable()
    check(table.nColumns == len(COLUMNS), f"line list has {table.nColumns} columns, expected {len(COLUMNS)}")
    return [[table.getAccessibleAt(row, column).name for column in range(table.nColumns)]
            for row in range(table.nRows)]


def row_count(line_list):
    return line_list.queryTable().nRows


def question_box(app):
    """The message box asking to save, once it is shown with its text and buttons."""
    for window in children(app):
        if fresh_name(window) == QUESTION_TITLE and window.getState().contains(pyatspi.STATE_SHOWING):
            texts = [acc.name for acc in find_all(window, [pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC])]
            buttons = {acc.name: acc for acc in find_all(window, [pyatspi.ROLE_PUSH_BUTTON])}
            if QUESTION_TEXT in texts and {"Yes", "No", "Cancel"} <= buttons.keys():
                return buttons
    return None


def no_question_box(app):
    return all(fresh_name(window) != QUESTION_TITLE or not window.getState().contains(pyatspi.STATE_SHOWING)
               for window in children(app))


def quit_through_menu(app, frame):
    menu_bar = wait_for("the menu bar", lambda: find_one(frame, [pyatspi.ROLE_MENU_BAR], None))
    menus = [acc.name for acc in children(menu_bar)]
    check(menus == ["File", "Edit", "Help"], f"menu bar holds {menus}, expected File, Edit, Help")
    file_menu = find_one(menu_bar, [pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU], "File")
    quit_item = wait_for('"Quit" in the File menu', lambda: find_one(file_menu, [pyatspi.ROLE_MENU_ITEM], "Quit"))
    press(quit_item, wait_for_reply=False)
    return wait_for(f'the message box "{QUESTION_TITLE}" with its text and buttons Yes, No, Cancel',
                    lambda: question_box(app))


def run(program, example, workdir):
    project = os.path.join(workdir, os.path.basename(example))
    shutil.copyfile(example, project)
    with open(project, "rb") as f:
        original = f.read()
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    for variable in ("HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "TELLWRIGHT_REGISTRY_DIR"):
        env[variable] = os.path.join(workdir, variable.lower())
        os.makedirs(env[variable])
    env["XDG_RUNTIME_DIR"] = os.path.join(workdir, "runtime")
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)

    global program_process
    process = program_process = subprocess.Popen([program, project], env=env, cwd=workdir)
    try:
        passed(f"started {program} on a copy of {example} (pid {process.pid})")
        desktop = pyatspi.Registry.getDesktop(0)

        def our_application():
            for app in children(desktop):
                if app.name.lower() == "tellwright" and app.get_process_id() == process.pid:
                    return app
            return None

        app = wait_for('the application "tellwright" on the accessibility desktop', our_application)
        frame = wait_for("the main window", lambda: find_one(app, [pyatspi.ROLE_FRAME], None))
        passed(f"found the application and its window {frame.name!r}")

        line_list = wait_for('the line list "Dialogue lines"',
                             lambda: find_one(frame, [pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE],
                                              "Dialogue lines"))
        table = line_list.queryTable()
        headers = [table.getColumnHeader(column).name for column in range(table.nColumns)]
        check(headers == COLUMNS, f"line list columns are {headers}, expected {COLUMNS}")
        rows = wait_for("the line list to show the first branch", lambda: read_rows(line_list))
        check(len(rows) >= 2, f"first branch shows {len(rows)} rows, expected at least 2: {rows}")
        check(rows[0][0] == "Remark" and rows[0][2].startswith("Ada climbs the last steps"),
              f"first row is {rows[0]}, expected the remark starting 'Ada climbs the last steps'")
        check(rows[1][:2] == ["Talkline", "Mara"], f"second row is {rows[1]}, expected a talkline by Mara")
        passed(f"line list shows the first branch: {len(rows)} rows, starting with {rows[0][0]} and {rows[1][:2]}")

        selected = line_list.queryTable().nSelectedRows
        check(selected == 0, f"{selected} lines are selected after loading, expected none")
        added = ["Talkline", "Codeline", "Remark"]
        for count, kind in enumerate(added, start=1):
            button = wait_for(f'the button "{kind}"', lambda: find_one(frame, [pyatspi.ROLE_PUSH_BUTTON], kind))
            press(button)
            wait_for(f'the line list to grow to {len(rows) + count} rows after pressing "{kind}"',
                     lambda: row_count(line_list) == len(rows) + count)
        grown = read_rows(line_list)
        check(grown[:len(rows)] == rows, f"the branch's earlier rows changed: {grown[:len(rows)]} instead of {rows}")
        commands = [row[0] for row in grown[len(rows):]]
        check(commands == added, f"the three new rows are {commands}, expected {added}")
        passed(f"pressed {', '.join(added)}: the line list ends with {commands}")

        title = wait_for('the window title to end with " *"', lambda: fresh_name(frame).endswith(" *") and frame.name)
        check(title == f"Tellwright - {os.path.basename(project)} *", f"window title is {title!r}")
        passed(f"window title marks the change: {title!r}")

        press(quit_through_menu(app, frame)["Cancel"])
        wait_for("the message box to close after Cancel", lambda: no_question_box(app))
        try:
            rows_after, title_after = read_rows(line_list), fresh_name(frame)
        except Exception as error:  # the window is gone: the program quit or is quitting
            raise Failure(f"the main window went away although Quit was cancelled "
                          f"({program_ended() or error.__class__.__name__})") from error
        check(not program_ended(), f"{program_ended()} although Quit was cancelled")
        check(rows_after == grown, f"the lines changed after cancelling Quit: {rows_after}")
        check(title_after == title, f"window title became {title_after!r} after cancelling Quit")
        passed("File > Quit asked to save; Cancel kept the program running with its lines")

        # The program may end before it could answer the press, so none is awaited.
        press(quit_through_menu(app, frame)["No"], wait_for_reply=False)
        try:
            code = process.wait(timeout=DEADLINE)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program still runs {DEADLINE:.0f} s after answering No to quit")
        check(code == 0, f"the program exited with code {code}")
        with open(project, "rb") as f:
            check(f.read() == original, "the project file changed although No discarded the changes")
        passed("File > Quit, No: the program exited with code 0 and left the project file unchanged")
    finally:
        if process.poll() is None:
            program_process = None  # ended by the test, not by itself
            process.kill()
            process.wait()


def main():
    if len(sys.argv) != 3:
        print("usage: accessibility_test.py PROGRAM EXAMPLE_PROJECT", file=sys.stderr)
        return 2
    program, example = (os.path.abspath(path) for path in sys.argv[1:])
    # Calls into the program get more time than the library's default, since
    # a busy machine can be slow to answer; none of them is ever repeated.
    Atspi.set_timeout(10000, 30000)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("FAIL: the test was stopped from outside (SIGTERM)"))
    with tempfile.TemporaryDirectory(prefix="tellwright-a11y-") as workdir:
        try:
            run(program, example, workdir)
        except Failure as failure:
            print(f"FAIL: {failure}", file=sys.stderr, flush=True)
            return 1
        except Exception:  # an accessible vanished or the bus failed outside a wait
            traceback.print_exc()
            reason = f" ({program_ended()})" if program_ended() else ""
            print(f"FAIL: unexpected error{reason}, see the traceback above", file=sys.stderr, flush=True)
            return 1
    print("accessibility test: 1 passed, 0 failed", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
