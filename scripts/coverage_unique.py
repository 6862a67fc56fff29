#!/usr/bin/env python3
"""Per-test coverage of src/ and gui/.
  coverage_unique.py --extract   reads gcov's JSON (one document a line) on standard input and
                                 prints the covered lines ("L src/x.cpp:12") and branches
                                 ("B src/x.cpp:12:0") of src/ and gui/ (the front end's code,
                                 in its own build)
  coverage_unique.py FOLDER      reads FOLDER/index.tsv (number, test) and FOLDER/N.txt and
                                 prints, per test, how many lines and branches it covers and how
                                 many of them no other test covers, least unique first: the tests
                                 at the top are the first to look at when the suite is trimmed."""
import collections
import json
import os
import sys


def extract():
    seen = set()
    for text in sys.stdin:
        text = text.strip()
        if not text:
            continue
        for entry in json.loads(text).get("files", []):
            path = "/" + entry["file"]
            cut = max(path.rfind("/src/"), path.rfind("/gui/"))
            if cut < 0:
                continue
            path = path[cut + 1:]
            for line in entry.get("lines", []):
                where = f"{path}:{line['line_number']}"
                if line["count"] > 0:
                    seen.add("L " + where)
                for i, branch in enumerate(line.get("branches", [])):
                    if branch["count"] > 0 and not branch.get("throw"):
                        seen.add(f"B {where}:{i}")
    sys.stdout.write("".join(x + "\n" for x in sorted(seen)))


def report(folder):
    names = dict(line.rstrip("\n").split("\t", 1) for line in open(os.path.join(folder, "index.tsv")))
    covered = {}
    for key, name in names.items():
        with open(os.path.join(folder, key + ".txt")) as f:
            covered[name] = set(f.read().split("\n")) - {""}
    owners = collections.Counter(x for s in covered.values() for x in s)
    rows = []
    for name, s in covered.items():
        ul = sum(1 for x in s if x[0] == "L" and owners[x] == 1)
        ub = sum(1 for x in s if x[0] == "B" and owners[x] == 1)
        nl = sum(1 for x in s if x[0] == "L")
        rows.append((ul + ub, ul, ub, nl, len(s) - nl, name))
    print("unique_lines\tunique_branches\tlines\tbranches\ttest")
    for _, ul, ub, nl, nb, name in sorted(rows):
        print(f"{ul}\t{ub}\t{nl}\t{nb}\t{name}")


if __name__ == "__main__":
    extract() if sys.argv[1:] == ["--extract"] else report(sys.argv[1])
