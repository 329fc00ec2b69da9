#!/usr/bin/env python3
"""Times `kova validate` end to end (read, initialise, run, write the
answer, tear down) on generated descriptions of 10,000 and 100,000
objects, beside `xmllint --noout`, which only parses the same file, and
prints the ratios. Two descriptions (bench/scale_description.py): the
rule-heavy one, every object with one to three rules and a conflict in
every fiftieth group (so kova's exit status is 1, an invalid
configuration), for which the goals hold: 100,000 objects within 2x of
xmllint, and 100,000 vs 10,000 objects within 11x; and the lighter one
of the page, for comparison.

usage: bench/validate_scale.py KOVA

Each figure is the best of five runs. CPU time (user and system) of the
process is the figure compared, since wall-clock time on a shared
machine moves with other work; wall-clock time is printed beside it.
xmllint comes with Debian's libxml2-utils."""
import os, resource, shutil, subprocess, sys, tempfile, time

from scale_description import write

RUNS = 5


def best_times(command, accepted=(0,)):
    """The lowest CPU seconds and the lowest wall seconds of RUNS runs;
    an exit status outside accepted ends the benchmark."""
    best_cpu = best_wall = None
    for _ in range(RUNS):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        wall = time.perf_counter() - start
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        if result.returncode not in accepted:
            sys.exit("%s failed (%d): %s" % (" ".join(command), result.returncode, result.stderr.decode()[:2000]))
        cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        best_cpu = cpu if best_cpu is None else min(best_cpu, cpu)
        best_wall = wall if best_wall is None else min(best_wall, wall)
    return best_cpu, best_wall


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    kova = sys.argv[1]
    xmllint = shutil.which("xmllint")
    if not xmllint:
        print("validate_scale: xmllint not found (Debian libxml2-utils); kova alone is timed")
    with tempfile.TemporaryDirectory(prefix="kova-validate-bench-") as folder:
        for heavy, what in ((True, "rule-heavy"), (False, "light")):
            cpu = {}
            for objects in (10001, 100001):
                path = os.path.join(folder, "scale%d.xml" % objects)
                write(path, objects, heavy=heavy)
                # The rule-heavy description is invalid by design: status 1.
                cpu[objects], wall = best_times([kova, "validate", path], (0, 1) if heavy else (0,))
                line = "validate %s %7d objects (%5.1f MB): cpu %.3f s, wall %.3f s" % (
                    what, objects, os.path.getsize(path) / 1e6, cpu[objects], wall)
                if xmllint:
                    lint_cpu, lint_wall = best_times([xmllint, "--noout", path])
                    line += "; xmllint cpu %.3f s, wall %.3f s; kova / xmllint %.2fx" % (
                        lint_cpu, lint_wall, cpu[objects] / lint_cpu)
                    line += " (goal: within 2x at 100k)" if heavy else ""
                print(line)
            print("validate %s 100k / 10k: %.1fx%s" % (
                what, cpu[100001] / cpu[10001], " (goal: within 11x)" if heavy else ""))


if __name__ == "__main__":
    main()
