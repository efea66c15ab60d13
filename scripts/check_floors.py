#!/usr/bin/env python3
"""Fails when a source file under src/ includes a folder that its own target does not link.

The build writes the target graph (build/<preset>/floors.txt): one line per target with its
folder below src/ and the targets it links directly. A file may include its own folder and the
folders of every target its target reaches through those links; anything else is an include
that runs up a floor, or sideways into a sibling it has no business with.

Usage: check_floors.py FLOORS_TXT SRC_DIR
"""
import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def read_graph(path):
    folder_of, links = {}, {}
    for line in Path(path).read_text().splitlines():
        fields = line.split()
        if len(fields) < 2:
            continue
        target, folder, deps = fields[0], fields[1], fields[2:]
        folder_of[target] = folder
        links[target] = deps
    return folder_of, links


def reachable(target, links):
    seen, stack = set(), [target]
    while stack:
        t = stack.pop()
        if t in seen:
            continue
        seen.add(t)
        stack.extend(links.get(t, []))
    return seen


def owner_folder(relative, folders):
    """The deepest declared folder that holds the file (platform/core before platform)."""
    best = None
    for folder in folders:
        if relative == folder or relative.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def main():
    floors, src = sys.argv[1], Path(sys.argv[2])
    folder_of, links = read_graph(floors)
    target_of = {folder: target for target, folder in folder_of.items()}
    folders = list(target_of)
    faults = []
    checked = 0
    for file in sorted(src.rglob("*")):
        if file.suffix not in (".h", ".cpp"):
            continue
        relative = file.relative_to(src).as_posix()
        own = owner_folder(relative, folders)
        if own is None:
            faults.append(f"{relative}: its folder is no target's; declare it in CMake")
            continue
        allowed = {folder_of[t] for t in reachable(target_of[own], links) if t in folder_of}
        checked += 1
        for included in INCLUDE.findall(file.read_text(errors="replace")):
            if "/" not in included:
                continue
            into = owner_folder(included, folders)
            if into is None or into in allowed:
                continue
            faults.append(f"{relative} includes \"{included}\": {own} does not link {into}")
    for fault in faults:
        print(fault)
    print(f"floors: {checked} files checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
