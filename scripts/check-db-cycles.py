#!/usr/bin/env python3
"""Fails when a file pair of shared/db (X.h + X.cpp) includes, directly or
through others, a header of shared/db that includes it back."""
import pathlib, re, sys

root = pathlib.Path(__file__).resolve().parent.parent / "shared" / "db"
include = re.compile(r'#include "shared/db/(\w+)\.h"')
uses = {}
for f in root.iterdir():
    if f.suffix in (".h", ".cpp"):
        uses.setdefault(f.stem, set()).update(include.findall(f.read_text()))
for name in uses:
    uses[name].discard(name)

def reaches(start, goal, seen):
    for n in uses.get(start, ()):
        if n == goal or (n not in seen and (seen.add(n) or reaches(n, goal, seen))):
            return True
    return False

cycles = sorted(n for n in uses if reaches(n, n, set()))
for n in cycles:
    print(f"shared/db/{n} includes a file that includes it back")
sys.exit(1 if cycles else 0)
