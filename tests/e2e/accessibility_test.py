#!/usr/bin/python3
"""Drives the Tellwright editor through the accessibility bus, as a person
using a screen reader would, in two sessions on a copy of the example.

First session: reads the dialogue lines, inserts three lines with the buttons,
answers No to saving before File > Load dialogue and cancels the file
requester (the changes must stay, unsaved), and quits through the File menu,
first cancelling and then discarding the changes. Second session: edits a
talkline's text in place, inserts a responseblock and gives it a response
through the Responseblock and Responseline Editors, adds a character, renames
a branch that responses link to by typing its name and pressing Return,
saves (the file must hold exactly the example with these changes, the links
renamed too) and quits without being asked anything; on the way it picks
English in Dialogue > Spelling, which is kept beside the project. Third
session: inserts a line and is killed (SIGKILL) once its work is in the
recovery folder; started again, the editor offers the work, Restore brings the
line back as an unsaved change, F6 opens the branch map, whose list reads the
branches with their links, and quitting without saving removes the recovery
file. Fourth session: Dialogue > Localisation > Assign keys asks for
the key prefix (the project's name by default); the line list then shows the
keys in a column of their own and the texts as before, and one Undo takes
every key back.

Usage: accessibility_test.py PROGRAM EXAMPLE_PROJECT

Needs an X display and a running accessibility bus (run_accessibility_test.sh
provides both). The program runs on a copy of the example in a temporary
folder, with its settings, data and config folders there too.
"""
import difflib
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
RESPONSE_COLUMNS = ["Response", "Visibility", "Conditions", "Link to branch"]
VISIBILITIES = ["Always", "Once", "Once Game"]  # stored as 0, 1, 2
LEAVE_LOOP = "Leave loop if clicked"
SAY_RESPONSE = "Let character say response if clicked"
QUESTION_TITLE = "Project not saved"
QUESTION_TEXT = "The current project was changed. Do you want to save it first?"
KEYSYMS = {"Return": 0xFF0D, "End": 0xFF57, "F2": 0xFFBF, "F6": 0xFFC3, "Down": 0xFF54}
# Typed texts with characters that Windows-1252 stores in its 0x80-0x9F range.
NEW_TALK_TEXT = "Another one for the lamp? Mind the oil \u2013 it\u2019s slick as fish."
RESPONSE_TEXT = "Who lit the lamp again\u2026?"
CHARACTER = ("Nell", "actor_nell")
# The second branch, which responses of the first link to, and its new name.
LINKED_BRANCH = ("Ask_About_Storm", "Storm_Night")
MAP_COLUMNS = ["Branch", "Links in", "Links out"]
# The example's branches on the map once the second session renamed one: the
# first links to the three others.
MAP_ROWS = [["Lighthouse_Greeting", "0", "3"], ["Storm_Night", "1", "0"], ["Trade_Fish", "1", "0"],
            ["Goodbye", "1", "0"]]


class Failure(Exception):
    pass


program_process = None  # the editor under test, while it runs


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


def wait_for(what, probe, timeout=DEADLINE, program_may_end=False):
    """Polls probe() until it returns a true value, which is returned. Errors
    from objects that vanish or from a bridge still filling in count as "not
    yet"; the last one is shown if the deadline passes. Events that arrived
    meanwhile are handled between polls."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass
        check(program_may_end or not program_ended(), f"{program_ended()} while waiting for {what}")
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


class FocusWatch:
    """Remembers the object that last took the keyboard focus, as the
    program reports it. A screen reader learns of the line list's edit field
    only this way: the list does not count the field among its children."""

    def __init__(self):
        self.latest = None
        self.listener = Atspi.EventListener.new(self.on_event)
        self.listener.register("object:state-changed:focused")

    def on_event(self, event):
        if event.detail1:
            self.latest = event.source


focus = None  # the FocusWatch, from the start of the test


def children(acc):
    return [child for child in (acc.getChildAtIndex(i) for i in range(acc.childCount)) if child is not None]


def fresh_name(acc):
    acc.clear_cache()
    return acc.name


def has_state(acc, state):
    acc.clear_cache()
    return acc.getState().contains(state)


def text_of(acc):
    return acc.queryText().getText(0, -1)


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


def controls(window):
    """The named fields, options and buttons of a window, by name."""
    roles = [pyatspi.ROLE_TEXT, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_PUSH_BUTTON]
    return {acc.name: acc for acc in find_all(window, roles)}


def press(acc, wait_for_reply=True):
    """Invokes the press action (toggle, for a check box). Qt answers an
    action only once it has run, so an action that opens a modal window is not
    answered until the window closes; such presses are sent without waiting
    for the answer."""
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    index = next((i for i, name in enumerate(names) if name.lower() in ("press", "click", "activate", "toggle")),
                 None)
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


def click(acc, double=False):
    """Clicks (or double-clicks) the middle of acc with the mouse."""
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    check(box.width > 0 and box.height > 0, f"{acc.getRoleName()} {acc.name!r} covers nothing on screen: {box}")
    check(Atspi.generate_mouse_event(box.x + box.width // 2, box.y + box.height // 2, "b1d" if double else "b1c"),
          f"the mouse click on {acc.getRoleName()} {acc.name!r} could not be generated")


def press_key(name):
    """Presses and releases a key; it goes to the control with the keyboard focus."""
    check(Atspi.generate_keyboard_event(KEYSYMS[name], None, Atspi.KeySynthType.SYM),
          f"the key {name} could not be generated")


def type_into(field, text):
    check(field.queryEditableText().setTextContents(text), f"the field {field.name!r} refused the text {text!r}")
    wait_for(f"the field {field.name!r} to hold {text!r}", lambda: text_of(field) == text)


def read_rows(table_acc, columns=COLUMNS):
    table_acc.clear_cache()
    table = table_acc.queryTable()
    # Qt finds a column's header through the column's first cell, so an
    # empty table shows only how many columns it has.
    headers = ([table.getColumnHeader(column).name for column in range(table.nColumns)] if table.nRows
               else [None] * table.nColumns)
    check(headers in (columns, [None] * len(columns)),
          f"{table_acc.name!r} has the columns {headers}, expected {columns}")
    return [[table.getAccessibleAt(row, column).name for column in range(table.nColumns)]
            for row in range(table.nRows)]


def row_count(line_list):
    return line_list.queryTable().nRows


def selected_rows(line_list):
    line_list.clear_cache()
    return sorted(line_list.queryTable().getSelectedRows())


def list_entries(list_acc):
    list_acc.clear_cache()
    return [fresh_name(item) for item in children(list_acc)]


def dialogs(app):
    """The program's windows other than the main window that are shown."""
    return [window for window in children(app)
            if window.getRole() not in (pyatspi.ROLE_FRAME, pyatspi.ROLE_TOOL_TIP)
            and window.getState().contains(pyatspi.STATE_SHOWING)]


def describe(window):
    texts = [acc.name for acc in find_all(window, [pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC]) if acc.name]
    return f"{fresh_name(window)!r}" + (f" ({' / '.join(texts)})" if texts else "")


def wait_for_dialogs(app, titles, after):
    """Waits until exactly the windows with these titles are open above the
    main window, and returns them in that order."""
    shown = []

    def probe():
        shown[:] = dialogs(app)
        names = [fresh_name(window) for window in shown]
        return sorted(names) == sorted(titles) and ([shown[names.index(title)] for title in titles],)

    try:
        return wait_for(f"the windows {titles} after {after}", probe)[0]
    except Failure as failure:
        raise Failure(f"{failure}; open: {[describe(window) for window in shown]}") from None


def check_no_dialog(app, during):
    shown = dialogs(app)
    check(not shown, f"{during} opened {', '.join(describe(window) for window in shown)}")
    return True


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


def menu_item(frame, menu, item):
    menu_bar = wait_for("the menu bar", lambda: find_one(frame, [pyatspi.ROLE_MENU_BAR], None))
    menus = [acc.name for acc in children(menu_bar)]
    check(menus == ["File", "Edit", "Dialogue", "Help"], f"menu bar holds {menus}, expected File, Edit, Dialogue, Help")
    owner = find_one(menu_bar, [pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU], menu)
    return wait_for(f'"{item}" in the {menu} menu', lambda: find_one(owner, [pyatspi.ROLE_MENU_ITEM], item))


def quit_through_menu(app, frame):
    press(menu_item(frame, "File", "Quit"), wait_for_reply=False)
    return wait_for(f'the message box "{QUESTION_TITLE}" with its text and buttons Yes, No, Cancel',
                    lambda: question_box(app))


def expected_project(original, old_talk_text, response):
    """The example's bytes with the second session's changes, as the project
    format lays them out: one value a line, LF endings, Windows-1252."""
    lines = original.decode("cp1252").split("\n")

    def line_of(value):
        found = [i for i, line in enumerate(lines) if line == value]
        check(len(found) == 1, f"the example holds the line {value!r} {len(found)} times")
        return found[0]

    # The character list (two lines a character) gets the new one at its end.
    at = line_of("##ENDCHARLIST##")
    lines[at:at] = list(CHARACTER)
    lines[line_of(old_talk_text)] = NEW_TALK_TEXT
    # The renamed branch: its own name and every link to it.
    old, new = LINKED_BRANCH
    renamed = [i for i, line in enumerate(lines) if line == old]
    check(len(renamed) >= 2, f"the example names {old!r} {len(renamed)} times, expected the branch and a link")
    for i in renamed:
        lines[i] = new
    # The first branch grows by a line: before its last line (five lines a
    # line: kind, character, text, sound file, block id) a responseblock that
    # takes the id after the highest one in use.
    block_id = max(int(lines[i + 1]) for i, line in enumerate(lines) if line == "##RESPONSEBLOCK##") + 1
    count = line_of("Lighthouse_Greeting") + 1
    lines[count] = str(int(lines[count]) + 1)
    end = lines.index("##ENDBRANCH##", count)
    lines[end - 5:end - 5] = ["Responseblock", "", "", "", str(block_id)]
    # Its block follows the others: the id, then six lines a response.
    after_blocks = len(lines) - lines[::-1].index("##ENDRESPONSE##")
    lines[after_blocks:after_blocks] = ["##RESPONSEBLOCK##", str(block_id), *response, "##ENDRESPONSE##"]
    return "\n".join(lines).encode("cp1252")


def file_difference(expected, saved):
    def shown(data):
        return [line.replace("\r", "\\r") for line in data.decode("cp1252", "backslashreplace").split("\n")]

    diff = list(difflib.unified_diff(shown(expected), shown(saved), "expected", "saved", lineterm="", n=2))
    return "\n".join(diff) if diff else f"(same lines; {len(expected)} bytes expected, {len(saved)} saved)"


class Editor:
    """One run of the program on the project, found on the accessibility desktop."""

    def __init__(self, program, project, env, started, shows_lines=True):
        global program_process
        focus.latest = None
        self.process = program_process = subprocess.Popen([program, project], env=env, cwd=os.path.dirname(project))
        started.append(self.process)
        passed(f"started {program} on {project} (pid {self.process.pid})")
        desktop = pyatspi.Registry.getDesktop(0)

        def our_application():
            for app in children(desktop):
                if app.name.lower() == "tellwright" and app.get_process_id() == self.process.pid:
                    return app
            return None

        self.app = wait_for('the application "tellwright" on the accessibility desktop', our_application)
        self.frame = wait_for("the main window", lambda: find_one(self.app, [pyatspi.ROLE_FRAME], None))
        passed(f"found the application and its window {self.frame.name!r}")
        self.env = env
        self.line_list = wait_for(
            'the line list "Dialogue lines"',
            lambda: find_one(self.frame, [pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE],
                             "Dialogue lines"))
        self.rows = wait_for("the line list to show the first branch", lambda: read_rows(self.line_list)) \
            if shows_lines else []

    def button(self, name, within=None):
        window = within or self.frame
        return wait_for(f'the button "{name}"', lambda: find_one(window, [pyatspi.ROLE_PUSH_BUTTON], name))

    def cell(self, row, column):
        return self.line_list.queryTable().getAccessibleAt(row, column)

    def wait_for_exit(self, after):
        try:
            return self.process.wait(timeout=DEADLINE)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program still runs {DEADLINE:.0f} s after {after}") from None


def discard_session(editor, project, original):
    """Lines inserted, Quit cancelled, then Quit without saving."""
    rows, line_list, frame, app = editor.rows, editor.line_list, editor.frame, editor.app
    check(len(rows) >= 2, f"first branch shows {len(rows)} rows, expected at least 2: {rows}")
    check(rows[0][0] == "Remark" and rows[0][2].startswith("Ada climbs the last steps"),
          f"first row is {rows[0]}, expected the remark starting 'Ada climbs the last steps'")
    check(rows[1][:2] == ["Talkline", "Mara"], f"second row is {rows[1]}, expected a talkline by Mara")
    passed(f"line list shows the first branch: {len(rows)} rows, starting with {rows[0][0]} and {rows[1][:2]}")

    selected = line_list.queryTable().nSelectedRows
    check(selected == 0, f"{selected} lines are selected after loading, expected none")
    added = ["Talkline", "Codeline", "Remark"]
    for count, kind in enumerate(added, start=1):
        press(editor.button(kind))
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

    no_then_cancelled_requester(editor, grown, title)

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
    code = editor.wait_for_exit("answering No to quit")
    check(code == 0, f"the program exited with code {code}")
    with open(project, "rb") as f:
        check(f.read() == original, "the project file changed although No discarded the changes")
    passed("File > Quit, No: the program exited with code 0 and left the project file unchanged")


def no_then_cancelled_requester(editor, lines, title):
    """File > Load dialogue, No to saving first, Cancel in the requester: the
    unsaved lines stay, and so does the " *"."""
    press(menu_item(editor.frame, "File", "Load dialogue"), wait_for_reply=False)
    box = wait_for(f'the message box "{QUESTION_TITLE}"', lambda: question_box(editor.app))
    press(box["No"], wait_for_reply=False)
    requester, = wait_for_dialogs(editor.app, ["Open dialogue project"], "answering No")
    cancel = wait_for('"Cancel" in the file requester',
                      lambda: find_one(requester, [pyatspi.ROLE_PUSH_BUTTON], "Cancel"))
    press(cancel, wait_for_reply=False)
    wait_for_dialogs(editor.app, [], "cancelling the file requester")
    check(read_rows(editor.line_list) == lines, f"the lines became {read_rows(editor.line_list)}")
    check(fresh_name(editor.frame) == title, f"the title became {fresh_name(editor.frame)!r}, expected {title!r}")
    passed("File > Load dialogue, No, Cancel in the requester: the lines and the title's \" *\" stay")


def rename_linked_branch(editor):
    """A click in the branch field, Down to the next branch, its new name
    typed, Return: the branch takes the name."""
    old, new = LINKED_BRANCH
    selectors = find_all(editor.frame, [pyatspi.ROLE_COMBO_BOX])
    check(len(selectors) == 1, f"the main window has the drop-downs {[acc.name for acc in selectors]}, expected one")
    selector = selectors[0]
    fields = find_all(selector, [pyatspi.ROLE_TEXT])
    check(len(fields) == 1, f"the branch drop-down {selector.name!r} has the fields {[acc.name for acc in fields]}")
    field = fields[0]
    click(field)
    wait_for("the branch field to take the focus",
             lambda: has_state(field, pyatspi.STATE_FOCUSED) or has_state(selector, pyatspi.STATE_FOCUSED))
    press_key("Down")
    wait_for(f"Down to show the branch {old!r}", lambda: text_of(field) == old)
    type_into(field, new)
    press_key("Return")

    def entries():
        lists = find_all(selector, [pyatspi.ROLE_LIST])
        return [item.name for item in children(lists[0])] if lists else []
    wait_for(f"the drop-down to list {new!r} in place of {old!r}", lambda: new in entries() and old not in entries())
    passed(f"the branch field, Down, {new!r} typed, Return: the branch {old!r} is now {new!r}")


def branch_map(editor):
    """F6 opens the window "Branch map", whose list reads the branches with
    their links."""
    press_key("F6")

    def map_window():
        return next((window for window in children(editor.app)
                     if fresh_name(window) == "Branch map" and has_state(window, pyatspi.STATE_SHOWING)), None)
    window = wait_for('F6 to open the window "Branch map"', map_window)
    branches = wait_for('the list "Branches" in the branch map', lambda: find_one(
        window, [pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE], "Branches"))
    wait_for(f"the branch map to list {MAP_ROWS}", lambda: read_rows(branches, MAP_COLUMNS) == MAP_ROWS)
    passed(f'F6 opened the window "Branch map"; its list reads {MAP_ROWS}')


def focused_field(name):
    """The text field of this name, once it has taken the keyboard focus."""
    field = focus.latest
    return field if field and field.getRole() == pyatspi.ROLE_TEXT and fresh_name(field) == name else None


def edit_text_in_place(editor):
    """Mara's talkline: a click selects it, F2 opens its text cell, Return
    stores the new text. Returns the old text."""
    line_list, row = editor.line_list, 1
    rows, cell = read_rows(line_list), editor.cell(row, 2)
    click(cell)
    wait_for(f"the click to select row {row} alone and give the line list the focus",
             lambda: selected_rows(line_list) == [row] and has_state(line_list, pyatspi.STATE_FOCUSED))
    press_key("F2")
    field = wait_for(f'the edit field "{COLUMNS[2]}" to take the focus after F2', lambda: focused_field(COLUMNS[2]))
    old_text = rows[row][2]
    check(text_of(field) == old_text, f"the edit field holds {text_of(field)!r}, expected the cell's {old_text!r}")
    box, spot = field.queryComponent(), cell.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    check(box.contains(spot.x + spot.width // 2, spot.y + spot.height // 2, pyatspi.DESKTOP_COORDS),
          f"the edit field at {box.getExtents(pyatspi.DESKTOP_COORDS)} does not lie over its cell at {spot}")
    type_into(field, NEW_TALK_TEXT)
    press_key("Return")
    wait_for("Return to close the edit and give the focus back to the line list",
             lambda: has_state(line_list, pyatspi.STATE_FOCUSED))
    rows[row][2] = NEW_TALK_TEXT
    check(read_rows(line_list) == rows, f"after the edit the lines are {read_rows(line_list)}, expected {rows}")
    wait_for('the window title to end with " *"', lambda: fresh_name(editor.frame).endswith(" *"))
    passed(f"F2 opened the text of row {row} in an edit field over the cell; Return stored {NEW_TALK_TEXT!r}")
    return old_text


def insert_responseblock(editor):
    """End selects the last line; the new responseblock goes before it.
    Returns its row."""
    line_list = editor.line_list
    rows = read_rows(line_list)
    last = len(rows) - 1
    press_key("End")
    wait_for(f"End to select the last row ({last}) alone", lambda: selected_rows(line_list) == [last])
    press(editor.button("Responseblock"))
    wait_for("the responseblock to be inserted", lambda: row_count(line_list) == len(rows) + 1)
    with_block = rows[:last] + [["Responseblock", "", "", ""]] + rows[last:]
    check(read_rows(line_list) == with_block, f"the lines are {read_rows(line_list)}, expected {with_block}")
    passed(f"End selected the last line; Responseblock inserted an empty responseblock before it, at row {last}")
    return last


def add_response(editor, block_row):
    """The responseblock's editor, opened by double-click, gets a response
    through the Responseline Editor. Returns the response as the project file
    stores it."""
    app, lines_before = editor.app, read_rows(editor.line_list)
    click(editor.cell(block_row, 0), double=True)
    block_editor, = wait_for_dialogs(app, ["Responseblock Editor"], "double-clicking the responseblock")
    responses = find_one(block_editor, [pyatspi.ROLE_TABLE], "Responses")
    check(responses is not None, 'the Responseblock Editor has no list "Responses"')
    listed = read_rows(responses, RESPONSE_COLUMNS)
    check(listed == [], f"the new responseblock lists the responses {listed}")
    press(editor.button("Add response", block_editor), wait_for_reply=False)
    _, response_editor = wait_for_dialogs(app, ["Responseblock Editor", "Responseline Editor"],
                                          'pressing "Add response"')
    form = controls(response_editor)
    needed = ["Response", "Conditions", *VISIBILITIES, LEAVE_LOOP, SAY_RESPONSE, "OK", "Cancel"]
    check(all(name in form for name in needed), f"the Responseline Editor offers {sorted(form)}, expected {needed}")
    ticked = [name for name in [*VISIBILITIES, LEAVE_LOOP, SAY_RESPONSE]
              if has_state(form[name], pyatspi.STATE_CHECKED)]
    check(ticked == ["Always", SAY_RESPONSE], f"a new response is set to {ticked}, expected Always, {SAY_RESPONSE!r}")
    type_into(form["Response"], RESPONSE_TEXT)
    press(form[LEAVE_LOOP])
    wait_for(f'"{LEAVE_LOOP}" to be ticked', lambda: has_state(form[LEAVE_LOOP], pyatspi.STATE_CHECKED))
    press(form["OK"], wait_for_reply=False)  # a refused text would open a message
    wait_for_dialogs(app, ["Responseblock Editor"], 'pressing "OK" in the Responseline Editor')
    shown = [[RESPONSE_TEXT, "Always", "", ""]]
    wait_for(f"the Responseblock Editor to list {shown}", lambda: read_rows(responses, RESPONSE_COLUMNS) == shown)
    press(editor.button("Close", block_editor))
    wait_for_dialogs(app, [], 'pressing "Close" in the Responseblock Editor')
    check(read_rows(editor.line_list) == lines_before, f"the lines became {read_rows(editor.line_list)}")
    passed(f"double-click opened the Responseblock Editor; Add response, {RESPONSE_TEXT!r}, "
           f"{LEAVE_LOOP!r}, OK listed the response; Close")
    # Text, conditions, link (none), visibility, leave loop, say it.
    return [RESPONSE_TEXT, "", "", str(VISIBILITIES.index("Always")), "1", "1"]


def add_character(editor):
    panel = find_one(editor.frame, [pyatspi.ROLE_PANEL], "Characters")
    check(panel is not None, 'no panel "Characters" in the main window')
    cast = find_one(panel, [pyatspi.ROLE_LIST], "Characters")
    check(cast is not None, 'no list "Characters" in the panel "Characters"')
    before = list_entries(cast)
    press(editor.button("Add", panel), wait_for_reply=False)
    character_editor, = wait_for_dialogs(editor.app, ["Character Editor"], 'pressing "Add" under "Characters"')
    form = controls(character_editor)
    needed = ["Character real name", "WME entity name", "OK", "Cancel"]
    check(all(name in form for name in needed), f"the Character Editor offers {sorted(form)}, expected {needed}")
    type_into(form["Character real name"], CHARACTER[0])
    type_into(form["WME entity name"], CHARACTER[1])
    press(form["OK"], wait_for_reply=False)  # a refused name would open a message
    wait_for_dialogs(editor.app, [], 'pressing "OK" in the Character Editor')
    entry = f"{CHARACTER[0]} ({CHARACTER[1]})"
    wait_for(f"the character list to end with {entry!r}", lambda: list_entries(cast) == before + [entry])
    passed(f'"Add" under "Characters", {CHARACTER[0]!r} and {CHARACTER[1]!r}, OK: the list ends with {entry!r}')


def save(editor, project, expected):
    """Saves to the file the project came from, without a requester."""
    title = f"Tellwright - {os.path.basename(project)}"
    press(menu_item(editor.frame, "File", "Save dialogue"), wait_for_reply=False)
    wait_for(f"the window title to become {title!r} after saving",
             lambda: check_no_dialog(editor.app, "saving") and fresh_name(editor.frame) == title)
    with open(project, "rb") as f:
        saved = f.read()
    check(saved == expected, "the saved project differs from the example with the session's changes:\n"
          + file_difference(expected, saved))
    passed(f"File > Save dialogue wrote the {len(saved)} bytes expected; the title is {title!r}")


def quit_without_question(editor, project, expected):
    press(menu_item(editor.frame, "File", "Quit"), wait_for_reply=False)
    wait_for("the program to exit after Quit",
             lambda: editor.process.poll() is not None or (dialogs(editor.app) and check_no_dialog(editor.app, "Quit")),
             program_may_end=True)
    code = editor.wait_for_exit("Quit")
    check(code == 0, f"the program exited with code {code}")
    with open(project, "rb") as f:
        check(f.read() == expected, "the project file changed while quitting")
    passed("File > Quit with nothing unsaved: no question, the program exited with code 0")


def choose_spelling(editor, project):
    """Dialogue > Spelling > en_US: the choice is kept beside the project, and
    the example's French "Café au lait" gives three spelling notes."""
    menu_bar = wait_for("the menu bar", lambda: find_one(editor.frame, [pyatspi.ROLE_MENU_BAR], None))
    dialogue = find_one(menu_bar, [pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU], "Dialogue")
    spelling = wait_for('"Spelling" in the Dialogue menu',
                        lambda: find_one(dialogue, [pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM], "Spelling"))
    item_roles = [pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_RADIO_MENU_ITEM]
    entries = [acc.name for acc in find_all(spelling, item_roles)]
    check("en_US" in entries and entries[-1] == "None", f"Dialogue > Spelling holds {entries}, expected en_US ... None")
    press(find_one(spelling, item_roles, "en_US"))
    stored = os.path.splitext(project)[0] + ".spelling"

    def stored_language():
        if not os.path.exists(stored):
            return None
        with open(stored, encoding="utf-8") as f:
            return f.read()
    wait_for(f"en_US stored in {os.path.basename(stored)}", lambda: stored_language() == "en_US\n")
    counts = "0 errors, 0 warnings, 3 notes"
    wait_for(f'the status bar to read "{counts}"',
             lambda: any(fresh_name(acc) == counts for acc in find_all(editor.frame, [pyatspi.ROLE_LABEL])))
    passed(f'Dialogue > Spelling > en_US: stored beside the project, the status bar reads "{counts}"')


def edit_session(editor, project, original, first_rows):
    """A text edited in place, a responseblock with a response, a character;
    saved, then Quit without a question."""
    check(editor.rows == first_rows, f"the project opens with the lines {editor.rows}, expected {first_rows}")
    passed("opened again, the project shows the lines it had before")
    choose_spelling(editor, project)
    old_text = edit_text_in_place(editor)
    block_row = insert_responseblock(editor)
    response = add_response(editor, block_row)
    add_character(editor)
    rename_linked_branch(editor)
    expected = expected_project(original, old_text, response)
    save(editor, project, expected)
    quit_without_question(editor, project, expected)


RESTORE_TITLE = "Unsaved changes"


def recovery_files(env):
    folder = os.path.join(env["XDG_STATE_HOME"], "tellwright")
    return sorted(name for name in os.listdir(folder) if name.endswith(".tlwrec")) if os.path.isdir(folder) else []


def crash_session(editor, program, project, env, started):
    """A line inserted, the editor killed; started again, the work restored."""
    rows = editor.rows
    press(editor.button("Talkline"))
    wait_for("the new line", lambda: row_count(editor.line_list) == len(rows) + 1)
    kept = wait_for("the recovery file of the unsaved line", lambda: recovery_files(env))
    editor.process.kill()
    editor.process.wait()
    check(recovery_files(env) == kept, f"the recovery files became {recovery_files(env)} after SIGKILL")
    passed(f"inserted a talkline and killed the editor (SIGKILL); left in the recovery folder: {kept}")

    again = Editor(program, project, env, started, shows_lines=False)
    box = wait_for_dialogs(again.app, [RESTORE_TITLE], "starting after the crash")[0]
    texts = [acc.name for acc in find_all(box, [pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC])]
    question = f"Tellwright found unsaved changes to {os.path.basename(project)} from "
    check(any(text.startswith(question) and text.endswith(". Restore them?") for text in texts),
          f"the question reads {texts}, expected {question!r}... 'Restore them?'")
    press(again.button("Restore", within=box), wait_for_reply=False)
    restored = wait_for("the restored lines", lambda: row_count(again.line_list) == len(rows) + 1 and
                        read_rows(again.line_list))
    check(restored[:len(rows)] == rows and restored[len(rows)][0] == "Talkline",
          f"restored lines are {restored}, expected the example's with a talkline at the end")
    title = wait_for("the title to mark the unsaved work", lambda: fresh_name(again.frame))
    check(title == f"Tellwright - {os.path.basename(project)} *", f"window title is {title!r}")
    passed(f"started again: asked {RESTORE_TITLE!r}, Restore brought the talkline back; title {title!r}")
    # The closed question leaves no window with the keyboard focus: a click
    # on the first line gives it to the main window.
    click(again.cell(0, 0))
    wait_for("the line list to take the focus", lambda: has_state(again.line_list, pyatspi.STATE_FOCUSED))
    branch_map(again)

    press(quit_through_menu(again.app, again.frame)["No"], wait_for_reply=False)
    code = again.wait_for_exit("answering No to quit")
    check(code == 0 and not recovery_files(env), f"exit code {code}, recovery files left: {recovery_files(env)}")
    passed("File > Quit, No: the program exited with code 0 and the recovery folder is empty")


def localise_session(editor, project):
    """Assign keys through the menu and its prefix box; one Undo takes them back."""
    rows, line_list = editor.rows, editor.line_list
    with open(project, "rb") as f:
        saved = f.read()
    press(menu_item(editor.frame, "Dialogue", "Assign keys..."), wait_for_reply=False)
    box = wait_for_dialogs(editor.app, ["Assign keys"], "Dialogue > Localisation > Assign keys")[0]
    field = wait_for("the prefix field", lambda: find_one(box, [pyatspi.ROLE_TEXT], None))
    check(text_of(field) == "LIGHTHOUSE", f"the prefix box offers {text_of(field)!r}, expected 'LIGHTHOUSE'")
    press(editor.button("OK", within=box), wait_for_reply=False)
    keyed = wait_for("the key column after Assign keys",
                     lambda: line_list.queryTable().nColumns == 5 and read_rows(line_list, COLUMNS + ["Key"]))
    check([row[:4] for row in keyed] == rows, f"the rows read {keyed} after Assign keys, expected {rows} and a key")
    keys = [row[4] for row in keyed]
    talk_keys = [key for row, key in zip(keyed, keys) if row[0] == "Talkline"]
    check(talk_keys and all(key.startswith("LIGHTHOUSE") for key in talk_keys) and
          all(key == "" for row, key in zip(keyed, keys) if row[0] != "Talkline"),
          f"the keys read {keys}, expected a LIGHTHOUSE key on each talkline only")
    check(talk_keys[0] == "LIGHTHOUSE0001", f"the first talkline's key is {talk_keys[0]!r}")
    passed(f"Assign keys offered the prefix 'LIGHTHOUSE'; the list shows the texts as before and the keys {talk_keys}")

    press(menu_item(editor.frame, "Edit", "Undo Assign keys"))
    wait_for("the list without keys after Undo",
             lambda: line_list.queryTable().nColumns == 4 and read_rows(line_list) == rows)
    passed("Edit > Undo Assign keys: the key column is gone and the lines read as before")
    quit_without_question(editor, project, saved)


def run(program, example, workdir):
    project = os.path.join(workdir, os.path.basename(example))
    shutil.copyfile(example, project)
    with open(project, "rb") as f:
        original = f.read()
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    for variable in ("HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                     "TELLWRIGHT_REGISTRY_DIR"):
        env[variable] = os.path.join(workdir, variable.lower())
        os.makedirs(env[variable])
    env["XDG_RUNTIME_DIR"] = os.path.join(workdir, "runtime")
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)

    global focus, program_process
    focus = FocusWatch()
    started = []
    try:
        first = Editor(program, project, env, started)
        discard_session(first, project, original)
        edit_session(Editor(program, project, env, started), project, original, first.rows)
        crash_session(Editor(program, project, env, started), program, project, env, started)
        localise_session(Editor(program, project, env, started), project)
    finally:
        program_process = None  # what still runs is ended by the test, not by itself
        for process in started:
            if process.poll() is None:
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
