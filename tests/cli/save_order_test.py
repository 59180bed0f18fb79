#!/usr/bin/env python3
"""Saves a project with the built tellwright-cli under strace and checks that
the save reaches the disk in order: the temporary file is flushed before it is
renamed onto the project file, and the project's folder is opened and flushed
after the rename.

Usage: save_order_test.py CLI PROJECT
Exit codes: 0 passed, 1 failed, 2 usage error, 77 strace is missing or cannot
trace here (CTest counts that as skipped).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

CALLS = "openat,fsync,fdatasync,rename,renameat,renameat2"
# "1234  fsync(3</tmp/x/a.tlwdlg.tmp-Ab12Cd>) = 0"
LINE = re.compile(r"^\d+\s+(\w+)\((.*)\)\s+=\s+(-?\d+)(?:<([^>]*)>)?")
FLUSHES = ("fsync", "fdatasync")


def trace_save(cli, project, folder, output):
    """Runs `cli resave` in `folder` under strace; returns the calls that
    succeeded as (name, arguments, fd path or None)."""
    log = os.path.join(folder, "strace.log")
    env = dict(os.environ)
    # LeakSanitizer stops when it finds itself traced; the leak check is the
    # other tests' business.
    env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"), "detect_leaks=0"]))
    run = subprocess.run(["strace", "-f", "-y", "-o", log, "-e", "trace=" + CALLS,
                          cli, "resave", project, "-o", output],
                         cwd=folder, env=env, capture_output=True, text=True, timeout=60)
    if run.returncode != 0:
        sys.exit(f"FAIL: resave to {output} exited with {run.returncode}: {run.stderr}")
    calls = []
    with open(log) as lines:
        for line in lines:
            match = LINE.match(line)
            if match and int(match.group(3)) >= 0:
                calls.append((match.group(1), match.group(2), match.group(4)))
    return calls


def check_order(calls, folder, output):
    """Returns what is wrong with the order of `calls`, or None."""
    def resolve(path):
        return os.path.realpath(os.path.join(folder, path))

    def fd_path(arguments):  # "3</a/b>" -> "/a/b"
        match = re.match(r"\d+<([^>]*)>", arguments)
        return match.group(1) if match else None

    def paths(arguments):  # the quoted file names, resolved
        return [resolve(path) for path in re.findall(r'"([^"]*)"', arguments)]

    target = resolve(output)
    renames = [i for i, (name, arguments, _) in enumerate(calls)
               if name.startswith("rename") and paths(arguments)[1] == target]
    if len(renames) != 1:
        return f"expected one rename onto {target}, saw {len(renames)}"
    at = renames[0]
    temporary = paths(calls[at][1])[0]
    if not any(name in FLUSHES and fd_path(arguments) == temporary for name, arguments, _ in calls[:at]):
        return f"the temporary file {temporary} is not flushed before the rename"
    parent = os.path.dirname(target)
    opened = [i for i, (name, arguments, result) in enumerate(calls) if i > at and name == "openat"
              and "O_DIRECTORY" in arguments and result == parent]
    if not opened:
        return f"the folder {parent} is not opened after the rename"
    if not any(name in FLUSHES and fd_path(arguments) == parent for name, arguments, _ in calls[opened[0] + 1:]):
        return f"the folder {parent} is not flushed after it is opened"
    return None


def main():
    if len(sys.argv) != 3:
        print(f"usage: {sys.argv[0]} CLI PROJECT", file=sys.stderr)
        return 2
    cli, project = (os.path.abspath(a) for a in sys.argv[1:])
    if shutil.which("strace") is None:
        print("SKIPPED: strace is not installed")
        return 77
    if subprocess.run(["strace", "-o", os.devnull, "true"], capture_output=True).returncode != 0:
        print("SKIPPED: strace cannot trace programs here")
        return 77
    failed = False
    # The project in a folder other than the current one, and a bare file
    # name, which saves into the current folder: that one is flushed then.
    for case in ("elsewhere", "bare name"):
        with tempfile.TemporaryDirectory(prefix="tellwright-save-order.") as folder:
            os.mkdir(os.path.join(folder, "project"))
            output = os.path.join(folder, "project", "saved.tlwdlg") if case == "elsewhere" else "saved.tlwdlg"
            calls = trace_save(cli, project, folder, output)
            problem = check_order(calls, folder, output)
            if problem:
                failed = True
                print(f"FAIL ({case}): {problem}; the calls after the project was read:")
                start = next(i for i, call in enumerate(calls) if call[2] == os.path.realpath(project))
                for call in calls[start + 1:]:
                    print("   ", *filter(None, call))
            else:
                print(f"ok ({case})")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
