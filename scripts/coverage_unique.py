#!/usr/bin/env python3
"""Reads one gcovr JSON report per test (named in index.tsv) and prints, per test, how many
lines and branches of src/ it covers, and how many of them no other test covers, least
unique first: the tests at the top are the first to look at when the suite is trimmed."""
import collections
import json
import os
import sys

folder = sys.argv[1]
names = dict(line.rstrip("\n").split("\t", 1) for line in open(os.path.join(folder, "index.tsv")))
lines, branches = {}, {}
for key, name in names.items():
    with open(os.path.join(folder, key + ".json")) as f:
        report = json.load(f)
    ls, bs = set(), set()
    for entry in report.get("files", []):
        path = entry["file"]
        for line in entry.get("lines", []):
            if line.get("gcovr/noncode"):
                continue
            if line["count"] > 0:
                ls.add((path, line["line_number"]))
            for i, branch in enumerate(line.get("branches", [])):
                if branch["count"] > 0:
                    bs.add((path, line["line_number"], i))
    lines[name], branches[name] = ls, bs

line_owners = collections.Counter(x for s in lines.values() for x in s)
branch_owners = collections.Counter(x for s in branches.values() for x in s)
rows = []
for name in names.values():
    ul = sum(1 for x in lines[name] if line_owners[x] == 1)
    ub = sum(1 for x in branches[name] if branch_owners[x] == 1)
    rows.append((ul + ub, ul, ub, len(lines[name]), len(branches[name]), name))
print("unique_lines\tunique_branches\tlines\tbranches\ttest")
for _, ul, ub, nl, nb, name in sorted(rows):
    print(f"{ul}\t{ub}\t{nl}\t{nb}\t{name}")
