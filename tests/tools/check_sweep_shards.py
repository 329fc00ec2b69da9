#!/usr/bin/env python3
"""Runs one kova sweep whole and the same sweep in 3 shards under GNU
parallel, and checks that the shards' lines together are exactly the
whole sweep's lines: every index once, each line the same.

Usage: check_sweep_shards.py KOVA SOURCE_DIR; exits 77 (skipped) when GNU
parallel is not installed, 1 on a difference.
"""
import json
import os
import shutil
import subprocess
import sys


def main(kova, source):
    parallel = shutil.which("parallel")
    if parallel is None:
        print("GNU parallel is not installed: skipped")
        return 77
    sweep = [kova, "sweep", os.path.join(source, "examples", "fifo.xml"), "--vary", "DEPTH", "--vary", "MEMORY_TYPE",
             "--vary", "WIDTH=7..9", "--format", "jsonl", "--jobs", "2"]
    run = lambda argv: subprocess.run(argv, capture_output=True, check=True, timeout=50).stdout.decode().splitlines()
    whole = run(sweep)
    # --will-cite keeps parallel from asking; -k is left out on purpose:
    # the shards' output interleaves as they finish.
    sharded = run([parallel, "--will-cite"] + sweep + ["--shard", "{}/3", ":::", "0", "1", "2"])
    index = lambda line: json.loads(line)["index"]
    problems = [problem for problem, wrong in [
        ("the whole sweep has %d lines, not 36" % len(whole), len(whole) != 6 * 2 * 3),
        ("the whole sweep is not in index order", [index(line) for line in whole] != list(range(len(whole)))),
        ("the shards' lines differ from the whole sweep's", sorted(sharded, key=index) != whole)] if wrong]
    for problem in problems:
        print("FAIL", problem)
    print("%d lines, %d from shards: %s" % (len(whole), len(sharded), "FAIL" if problems else "ok"))
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: check_sweep_shards.py KOVA SOURCE_DIR")
    sys.exit(main(*sys.argv[1:]))
