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


def group(g):
    p = "g%d_" % g
    prev = "g%d_H3" % (g - 1) if g else "1"
    return f"""  <object name="{p}N" kind="integer" value="8|16|32" default="8" default_usage_state="USED">
    <rule type="legal_values" value="8|16|32"/>
    <rule condition="{p}N gt 8 &amp;&amp; used({p}S)" value="16"/>
  </object>
  <object name="{p}R" kind="integer" value="1-64" default="4" default_usage_state="USED">
    <rule type="legal_values" value="64" alt_value="1"/>
  </object>
  <object name="{p}S" kind="string" value="a|b" default="a" default_usage_state="USED">
    <rule type="legal_values" value="a|b"/>
  </object>
  <object name="{p}H1" kind="hidden" value="{prev} + {p}N"/>
  <object name="{p}H2" kind="hidden" value="bytes({p}H1) * 2"/>
  <object name="{p}H3" kind="hidden" value="max({p}H2, {p}R)"/>
  <object name="{p}H4" kind="hidden" value="ceil_log({p}N)"/>
  <object name="{p}H5" kind="hidden" value="({p}R * 2) &lt; {p}N ? 1 : 0"/>
  <object name="{p}H6" kind="hidden" value="{p}S == a"/>
  <object name="{p}d" kind="out" width="{p}H4 + 1" default_usage_state="USED"/>
"""


def write(path, objects):
    with open(path, "w") as out:
        out.write('<model function="scale">\n')
        out.write('  <object name="bytes" kind="macro" arguments="w" value="w ceil_div 8"/>\n')
        for g in range((objects - 1) // 10):
            out.write(group(g))
        out.write("</model>\n")


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
