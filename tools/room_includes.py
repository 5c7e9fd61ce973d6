#!/usr/bin/env python3
"""Checks the layering of src/: every room includes only rooms below it.

A room is a folder of a layer (src/core/hazard, src/app/shell) or a layer
kept in one folder (src/platform, src/charts, src/cli, src/python). Each
include is resolved the way the compiler finds it: beside the including file,
then in the include folders of its layer, in order. The arrows between rooms
are printed with their counts; an arrow to a room of the same or a higher
rank, or a room without a rank, fails the check. Files of the desktop
program and of the chart library that include each other (through their
headers or sources, directly or through others) fail it too; inside zorvcore
such knots are listed.
"""
import collections
import pathlib
import re
import sys

# From the bottom. Rooms of one rank do not include each other.
RANK = {
    # zorvcore
    "core/base": 0,
    "core/text": 0,
    "core/table": 1,
    "core/dbase": 2,
    "core/paradox": 2,
    "core/files": 3,
    "core/catalogue": 4,
    "core/report": 5,
    "core/interchange": 5,
    "core/analysis": 6,
    "core/hazard": 7,
    "core/spatial": 8,
    "core/registry": 9,
    # zorvqt, the QtCore services of both programs
    "platform": 10,
    # zorvcharts, what a chart picture needs
    "charts": 11,
    # the desktop program
    "app/services": 20,
    "app/widgets": 20,
    "app/chart": 21,
    "app/help": 21,
    "app/catalogue": 22,
    "app/hazard": 22,
    "app/report": 22,
    "app/analysis": 23,
    "app/interchange": 24,
    "app/shell": 25,
    "app": 26,  # main.cpp
    # the command line and the Python module
    "cli": 30,
    "python": 30,
}

# Where each layer's includes are looked up, after the including file's
# folder ("" is src/ itself, where "charts/..." is found).
INCLUDE_ROOTS = {
    "core": ["core"],
    "platform": ["platform", "core"],
    "charts": ["", "core"],
    "app": ["app", "", "platform", "core"],
    "cli": ["cli", "", "platform", "core"],
    "python": ["python", "core"],
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def room_of(src: pathlib.Path, path: pathlib.Path) -> str:
    parts = path.relative_to(src).parts
    return parts[0] if len(parts) == 2 or parts[0] not in ("core", "app") else f"{parts[0]}/{parts[1]}"


def unit_of(src: pathlib.Path, path: pathlib.Path) -> str:
    return str(path.relative_to(src).with_suffix(""))


def strongly_connected(graph):
    """Tarjan's components of more than one unit."""
    index, low, stack, on, out = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on.add(v)
        for w in graph.get(v, ()):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            comp = []
            while True:
                w = stack.pop()
                on.discard(w)
                comp.append(w)
                if w == v:
                    break
            if len(comp) > 1:
                out.append(sorted(comp))

    sys.setrecursionlimit(10000)
    for v in sorted(graph):
        if v not in index:
            visit(v)
    return out


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    src = root / "src"
    counts = collections.Counter()
    units = collections.defaultdict(set)
    rooms = set()
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or len(path.relative_to(src).parts) < 2:
            continue
        layer = path.relative_to(src).parts[0]
        room = room_of(src, path)
        rooms.add(room)
        for name in INCLUDE.findall(path.read_text(encoding="utf-8")):
            candidates = [path.parent / name] + [src / r / name for r in INCLUDE_ROOTS.get(layer, [layer])]
            target = next((c for c in candidates if c.is_file()), None)
            if target is None:
                continue  # generated or outside src/
            if unit_of(src, target) != unit_of(src, path):
                units[unit_of(src, path)].add(unit_of(src, target))
            other = room_of(src, target)
            rooms.add(other)
            if other != room:
                counts[room, other] += 1
    upward = []
    for (room, target), n in sorted(counts.items()):
        bad = room in RANK and target in RANK and RANK[target] >= RANK[room]
        print(f"{room:>18} -> {target:<18} {n:3}{'  UPWARD' if bad else ''}")
        if bad:
            upward.append((room, target))
    unknown = rooms - RANK.keys()
    if unknown:
        print("rooms without a rank:", ", ".join(sorted(unknown)))
    knots = []
    for c in strongly_connected(units):
        judged = any(u.split("/")[0] in ("app", "charts") for u in c)
        print("files that include each other:", " ".join(c), "  KNOT" if judged else "")
        if judged:
            knots.append(c)
    return 1 if upward or unknown or knots else 0


if __name__ == "__main__":
    sys.exit(main())
