#!/usr/bin/env python3
"""Times `kova lint` on generated descriptions of 10,000 and 100,000
objects (best of three runs each) and prints the seconds and the ratio.
The goal: under 2 s at 100,000 objects, time growing linearly.

usage: bench/lint_scale.py KOVA

Each group of ten objects has a dependency chain of hidden parameters, an
integer parameter with a list and its legal_values rule, a range, a
string parameter, a macro call and a port with a width expression; every
text parses and every name resolves, so lint reads every text and finds
nothing (the run over the default configuration included)."""
import os, subprocess, sys, tempfile, time

from scale_description import write


def best_of_three(kova, path):
    best = None
    for _ in range(3):
        start = time.perf_counter()
        result = subprocess.run([kova, "lint", path], capture_output=True, text=True)
        seconds = time.perf_counter() - start
        if result.returncode != 0:
            sys.exit("kova lint found something in the generated description:\n" + result.stdout[:2000])
        best = seconds if best is None else min(best, seconds)
    return best


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    kova = sys.argv[1]
    with tempfile.TemporaryDirectory(prefix="kova-lint-bench-") as folder:
        figures = {}
        for objects in (10001, 100001):
            path = os.path.join(folder, "scale%d.xml" % objects)
            write(path, objects)
            figures[objects] = best_of_three(kova, path)
            print("lint %7d objects (%5.1f MB): %.3f s" % (objects, os.path.getsize(path) / 1e6, figures[objects]))
        print("ratio 100k / 10k: %.1fx (goal: under 2 s at 100k)" % (figures[100001] / figures[10001]))


if __name__ == "__main__":
    main()
