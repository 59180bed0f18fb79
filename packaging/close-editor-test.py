#!/usr/bin/python3
"""Starts the editor on a project, on the X display named by $DISPLAY, waits
for its main window to show the project, then closes that window as the
desktop's close button does (the WM_DELETE_WINDOW message) and waits for the
program to leave by itself with exit code 0, having written its settings.

Usage: close-editor-test.py PROGRAM PROJECT

The program runs with its settings, data, state and config folders in a
temporary folder. Needs python3-xlib.
"""
import os
import subprocess
import sys
import tempfile
import time

from Xlib import X, display, error, protocol

DEADLINE = 30.0  # seconds for the window to show, and again for the program to exit
POLL = 0.1


def main_window(screen, atoms, title):
    """The mapped top-level window whose title is `title`, or None."""
    for window in screen.root.query_tree().children:
        try:
            if window.get_attributes().map_state != X.IsViewable:
                continue
            name = window.get_full_text_property(atoms["_NET_WM_NAME"]) or window.get_wm_name()
        except error.XError:
            continue  # gone meanwhile
        if name == title:
            return window
    return None


def wait_for(condition, what, process):
    deadline = time.monotonic() + DEADLINE
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        if process.poll() is not None:
            raise RuntimeError(f"the editor exited with code {process.returncode} before {what}")
        time.sleep(POLL)
    raise RuntimeError(f"{what} did not happen within {DEADLINE:.0f} s")


def run(program, project, scratch):
    environment = dict(os.environ, HOME=scratch, XDG_CONFIG_HOME=f"{scratch}/config",
                       XDG_DATA_HOME=f"{scratch}/data", XDG_STATE_HOME=f"{scratch}/state",
                       XDG_CACHE_HOME=f"{scratch}/cache", XDG_RUNTIME_DIR=f"{scratch}/runtime",
                       TELLWRIGHT_REGISTRY_DIR=f"{scratch}/registry", QT_QPA_PLATFORM="xcb")
    os.mkdir(environment["XDG_RUNTIME_DIR"], 0o700)
    screen = display.Display()
    atoms = {name: screen.intern_atom(name) for name in ("_NET_WM_NAME", "WM_PROTOCOLS", "WM_DELETE_WINDOW")}
    title = "Tellwright - " + os.path.basename(project)
    log = open(os.path.join(scratch, "editor.log"), "w+")
    started = time.monotonic()
    process = subprocess.Popen([program, project], env=environment, stdin=subprocess.DEVNULL, stdout=log,
                               stderr=subprocess.STDOUT)
    try:
        window = wait_for(lambda: main_window(screen.screen(), atoms, title), f'a window titled "{title}"', process)
        print(f'the window "{title}" showed after {time.monotonic() - started:.1f} s')
        message = protocol.event.ClientMessage(window=window, client_type=atoms["WM_PROTOCOLS"],
                                               data=(32, [atoms["WM_DELETE_WINDOW"], X.CurrentTime, 0, 0, 0]))
        window.send_event(message, event_mask=X.NoEventMask)
        screen.flush()
        closed = time.monotonic()
        try:
            code = process.wait(timeout=DEADLINE)
        except subprocess.TimeoutExpired:
            raise RuntimeError(f"the editor was still running {DEADLINE:.0f} s after its window was closed")
        if code != 0:
            raise RuntimeError(f"the editor exited with code {code} after its window was closed")
        print(f"the editor exited by itself with code 0, {time.monotonic() - closed:.1f} s after the close")
        # Quitting writes the settings, the project among the recent files.
        settings = os.path.join(scratch, "registry", "registry")
        with open(settings, encoding="latin-1") as stored:
            if project not in stored.read():
                raise RuntimeError(f"the settings written on quitting do not name {project}")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
        log.seek(0)
        output = log.read().strip()
        if output:
            print("the editor's output:\n" + output)


def main(argv):
    if len(argv) != 3:
        print(f"usage: {argv[0]} PROGRAM PROJECT", file=sys.stderr)
        return 2
    with tempfile.TemporaryDirectory(prefix="tellwright-close-") as scratch:
        try:
            run(argv[1], os.path.abspath(argv[2]), scratch)
        except (RuntimeError, OSError) as failure:
            print(f"FAIL: {failure}", file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
