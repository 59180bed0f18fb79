#!/usr/bin/env python3
"""Checks the layering of src/: every folder includes only folders below it.

  check_layers.py SRC_FOLDER            fails (exit 1) on an include that runs up
  check_layers.py SRC_FOLDER --counts   prints the includes between folders
  check_layers.py --self-test           shows that a wrong-way include fails

The layers, bottom up. The core is standard C++; the app is Qt and sits on the
whole core; the command-line tool uses the core only.
"""
import os
import re
import sys
import tempfile

CORE = ["base", "os", "document", "editing", "export", "lint", "play", "history", "tools",
        "layout", "spelling", "settings", "platform"]
APP = ["ui", "editors", "mainwindow"]
CLI = ["cli"]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_0-9]+)/[^"]+"')


def may_include(folder, other):
    """Whether files of `folder` may include headers of `other`."""
    if folder == other:
        return True
    if folder in CORE:
        return other in CORE and CORE.index(other) < CORE.index(folder)
    if folder in APP:
        return other in CORE or (other in APP and APP.index(other) < APP.index(folder))
    if folder in CLI:
        return other in CORE
    return False


def includes(src):
    """(folder, file, line number, included folder) for every include of a src/ folder."""
    for folder in sorted(os.listdir(src)):
        path = os.path.join(src, folder)
        if not os.path.isdir(path):
            continue
        for root, _, files in os.walk(path):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                file = os.path.join(root, name)
                with open(file, encoding="utf-8", errors="replace") as text:
                    for number, line in enumerate(text, 1):
                        match = INCLUDE.match(line)
                        if match and os.path.isdir(os.path.join(src, match.group(1))):
                            yield folder, file, number, match.group(1)


def faults(src):
    known = set(CORE + APP + CLI)
    found = []
    for folder in sorted(os.listdir(src)):
        if os.path.isdir(os.path.join(src, folder)) and folder not in known:
            found.append(f"{src}/{folder}: a folder no layer names; add it to the layers in {__file__}")
    for folder, file, number, other in includes(src):
        if folder in known and not may_include(folder, other):
            found.append(f"{file}:{number}: {folder}/ includes {other}/, which is not below it")
    return found


def counts(src):
    table = {}
    for folder, _, _, other in includes(src):
        if folder != other:
            table[(folder, other)] = table.get((folder, other), 0) + 1
    order = CORE + APP + CLI
    rank = {name: i for i, name in enumerate(order)}
    for (folder, other), count in sorted(table.items(), key=lambda kv: (rank.get(kv[0][0], 99), rank.get(kv[0][1], 99))):
        direction = "down" if may_include(folder, other) else "UP"
        print(f"{folder:>10} -> {other:<10} {count:4}  {direction}")


def self_test():
    """A tree with one include that runs up must fail, and without it pass."""
    with tempfile.TemporaryDirectory() as src:
        for folder in ("base", "document", "ui"):
            os.makedirs(os.path.join(src, folder))
        write = lambda path, text: open(os.path.join(src, path), "w").write(text)
        write("base/status.h", "#pragma once\n")
        write("document/model.h", '#include "base/status.h"\n')
        write("ui/view.h", '#include "document/model.h"\n')
        if faults(src):
            print("self-test: a correct tree was refused:", faults(src))
            return 1
        write("base/wrong.h", '#include "document/model.h"\n')
        found = faults(src)
        if len(found) != 1 or "base/ includes document/" not in found[0]:
            print("self-test: the wrong-way include was not found:", found)
            return 1
        print("self-test: refused as it should be:", found[0])
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) < 2:
        print(__doc__)
        return 2
    src = argv[1]
    if "--counts" in argv:
        counts(src)
        return 0
    found = faults(src)
    for fault in found:
        print(fault)
    if found:
        print(f"{len(found)} include(s) against the layering")
        return 1
    print("every include runs down the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
