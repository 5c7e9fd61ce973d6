#!/usr/bin/env python3
"""Counts the includes between the rooms of zorvcore (src/core/<room>/) and
fails when a room includes one above it.

The rooms from the bottom: base and text, table, dbase and paradox, files,
catalogue, analysis, hazard, spatial, registry. report and interchange are not ranked
(report writes the analyses' reports and analyses write through it); their
arrows are printed but not judged.
"""
import collections
import pathlib
import re
import sys

RANK = {
    "base": 0,
    "text": 0,
    "table": 1,
    "dbase": 2,
    "paradox": 2,
    "files": 3,
    "catalogue": 4,
    "analysis": 5,
    "hazard": 6,
    "spatial": 7,
    "registry": 8,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z]+)/', re.M)


def main() -> int:
    core = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent) / "src/core"
    counts = collections.Counter()
    for path in sorted(core.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        room = path.relative_to(core).parts[0]
        for target in INCLUDE.findall(path.read_text(encoding="utf-8")):
            if target != room:
                counts[room, target] += 1
    upward = []
    for (room, target), n in sorted(counts.items()):
        bad = room in RANK and target in RANK and RANK[target] >= RANK[room]
        print(f"{room:>12} -> {target:<12} {n:3}{'  UPWARD' if bad else ''}")
        if bad:
            upward.append((room, target))
    unknown = {r for pair in counts for r in pair} - RANK.keys() - {"report", "interchange"}
    if unknown:
        print("rooms without a rank:", ", ".join(sorted(unknown)))
    return 1 if upward or unknown else 0


if __name__ == "__main__":
    sys.exit(main())
