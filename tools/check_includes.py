#!/usr/bin/env python3
"""Checks the product's includes: the GIF codec's room rule and include
circles anywhere in the product.

usage: check_includes.py [SOURCE_DIR]

- A file in a room of gif/ includes only files of its own room and of rooms
  below it (the table at the top of docs/gif.md); gif/gifimage.h and
  gif/gifimage.cpp count as the model room. Only gif/win/ includes windows.h
  or framework/.
- No include circle between product files.

- No circle between units of different rooms or top folders, a unit being a
  header with the source file of the same name (a.cpp includes b.h while
  b.h includes a.h).

Prints one line per finding and exits 1 when there is any. Unit circles
inside one room are listed as notes, which do not fail: the classes of one
object tree that know each other form them by design.
"""

import os
import re
import sys

PRODUCT_DIRS = ["plugin", "chardata", "picker", "info", "gif", "framework", "resources"]
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".inc")

# Room of gif/ -> its level. A room may include rooms of a lower level and
# itself; rooms of one level are strangers to each other.
GIF_ROOMS = {
    "base": 0,
    "read": 1,
    "write": 1,
    "reduce": 1,
    "model": 2,
    "import": 3,
    "render": 3,
    "anim": 3,
    "win": 4,
}
# Headers of the platform that only gif/win/ may include.
PLATFORM_HEADERS = re.compile(
    r"^(windows|windowsx|winuser|wingdi|commctrl|commdlg|mmsystem|shellapi|objbase|ole2)\.h$",
    re.IGNORECASE,
)

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def gif_room(path):
    """The room of a gif/ file, or None outside gif/."""
    parts = path.split("/")
    if parts[0] != "gif":
        return None
    if len(parts) == 2:
        return "model"  # the chief file, gif/gifimage.*
    return parts[1]


def product_files(root):
    files = []
    for top in PRODUCT_DIRS:
        for folder, _, names in os.walk(os.path.join(root, top)):
            for name in names:
                if name.endswith(SOURCE_SUFFIXES):
                    files.append(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))
    return sorted(files)


def includes_of(root, path):
    """(line number, kind, target) for each include; quoted targets are
    resolved to repository paths where such a file exists."""
    found = []
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            kind, target = m.groups()
            if kind == '"':
                beside = os.path.normpath(os.path.join(os.path.dirname(path), target)).replace(os.sep, "/")
                if os.path.exists(os.path.join(root, target)):
                    pass
                elif os.path.exists(os.path.join(root, beside)):
                    target = beside
            found.append((number, kind, target))
    return found


def room_findings(path, includes):
    room = gif_room(path)
    if room is None:
        return []
    findings = []
    if room not in GIF_ROOMS:
        return [f"{path}: gif/{room}/ is no room of the codec (docs/gif.md)"]
    for number, kind, target in includes:
        if kind == "<" or not target.startswith(("gif/", "framework/")):
            if kind == "<" and PLATFORM_HEADERS.match(target) and room != "win":
                findings.append(f"{path}:{number}: includes <{target}>; only gif/win/ may")
            continue
        if target.startswith("framework/"):
            if room != "win":
                findings.append(f"{path}:{number}: includes {target}; only gif/win/ may use the framework")
            continue
        to = gif_room(target)
        if to not in GIF_ROOMS:
            findings.append(f"{path}:{number}: includes {target}, which lies in no room")
        elif to != room and GIF_ROOMS[to] >= GIF_ROOMS[room]:
            findings.append(
                f"{path}:{number}: room {room} includes {target} of room {to}, "
                "which is not below it"
            )
    return findings


def room_or_folder(path):
    return "gif/" + gif_room(path) if gif_room(path) else path.split("/")[0]


def unit_of(path):
    return os.path.splitext(path)[0]


def circles(graph):
    """Circles of a graph of files or units, each as the list of its nodes
    (every circle shows at least once)."""
    found = []
    state = {}
    stack = []

    def visit(node):
        state[node] = 1
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 1:
                found.append(stack[stack.index(nxt):] + [nxt])
            elif nxt not in state:
                visit(nxt)
        stack.pop()
        state[node] = 2

    for node in sorted(graph):
        if node not in state:
            visit(node)
    return found


def main(argv):
    root = os.path.abspath(argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    files = product_files(root)
    known = set(files)
    findings = []
    graph = {}
    units = {}
    for path in files:
        includes = includes_of(root, path)
        findings += room_findings(path, includes)
        for _, kind, target in includes:
            if kind != '"' or target not in known:
                continue
            graph.setdefault(path, set()).add(target)
            if unit_of(target) != unit_of(path):
                units.setdefault(unit_of(path), set()).add(unit_of(target))
    for circle in circles(graph):
        findings.append("include circle: " + " -> ".join(circle))
    notes = []
    for circle in circles(units):
        if len({room_or_folder(unit) for unit in circle}) > 1:
            findings.append("include circle across rooms: " + " -> ".join(circle))
        else:
            notes.append("note: units of one room that include each other: " + " -> ".join(circle))
    for line in findings + notes:
        print(line)
    print(f"check_includes: {len(files)} files, {len(findings)} findings")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
