#!/usr/bin/env python3
"""Times `kova fix` on a generated description of 10,000 objects whose
settings put 1% of the objects (100) in conflict, best of three runs, and
checks that the configuration it saves validates.

usage: bench/fix_scale.py KOVA

The description is made of groups of ten objects: a list parameter, a
range, a string list, three hidden parameters (one calls a macro), a
parameter with a check rule, a switch and the optional port it governs,
and an output port whose width reads a hidden parameter. One group in ten
gets one conflicting setting, in turn: a value outside its list (the run
derives the legal one), a switch that asks for a port left unused (the
derived usage state), a value that fails its check rule (a search among
candidates) and a word outside a string list. So the repair exercises
both of its steps, with 25 independent searches side by side."""
import os, subprocess, sys, tempfile, time

GROUPS = 1000  # ten objects each, with the macro: 10,001 objects


def group(g):
    p = "g%d_" % g
    return f"""  <object name="{p}N" kind="integer" value="8|16|32" default="8" default_usage_state="USED">
    <rule type="legal_values" value="8|16|32"/>
  </object>
  <object name="{p}R" kind="integer" value="1-64" default="4" default_usage_state="USED">
    <rule type="legal_values" value="64" alt_value="1"/>
  </object>
  <object name="{p}S" kind="string" value="a|b" default="a" default_usage_state="USED">
    <rule type="legal_values" value="a|b"/>
  </object>
  <object name="{p}H1" kind="hidden" value="{p}N + 1"/>
  <object name="{p}H2" kind="hidden" value="bytes({p}H1) * 2"/>
  <object name="{p}H3" kind="hidden" value="max({p}H2, {p}R)"/>
  <object name="{p}L" kind="integer" default="2" default_usage_state="USED">
    <rule><condition>{p}L &lt; {p}R</condition></rule>
  </object>
  <object name="{p}E" kind="integer" value="0|1" default="0" default_usage_state="USED">
    <rule type="legal_values" value="0|1"/>
  </object>
  <object name="{p}p" kind="in" width="1">
    <rule condition="{p}E == 1" value="USED" alt_value="UNUSED"/>
  </object>
  <object name="{p}d" kind="out" width="{p}H3" default_usage_state="USED"/>
"""


CONFLICTS = ["N=12", "E=1", "L=100", "S=c"]


def write(folder):
    description = os.path.join(folder, "fix-scale.xml")
    with open(description, "w") as out:
        out.write('<model function="fix_scale">\n')
        out.write('  <object name="bytes" kind="macro" arguments="w" value="w ceil_div 8"/>\n')
        for g in range(GROUPS):
            out.write(group(g))
        out.write("</model>\n")
    settings = os.path.join(folder, "fix-scale-conflicts.settings")
    with open(settings, "w") as out:
        for n, g in enumerate(range(0, GROUPS, 10)):
            out.write("g%d_%s\n" % (g, CONFLICTS[n % len(CONFLICTS)]))
    return description, settings


def run(arguments):
    return subprocess.run(arguments, capture_output=True, text=True)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    kova = sys.argv[1]
    with tempfile.TemporaryDirectory(prefix="kova-fix-bench-") as folder:
        description, settings = write(folder)
        saved = os.path.join(folder, "fixed.settings")
        invalid = run([kova, "validate", description, "--settings", settings])
        if invalid.returncode != 1:
            sys.exit("the conflicting settings do not fail validation:\n" + invalid.stdout[-2000:])
        best = None
        for _ in range(3):
            start = time.perf_counter()
            fixed = run([kova, "fix", description, "--settings", settings, "--save", saved, "--minimal"])
            seconds = time.perf_counter() - start
            if fixed.returncode != 0:
                sys.exit("kova fix did not repair the configuration:\n" + fixed.stdout[-2000:])
            best = seconds if best is None else min(best, seconds)
        changes = fixed.stdout.count(" -> ")
        checked = run([kova, "validate", description, "--settings", saved])
        if checked.returncode != 0:
            sys.exit("the repaired settings do not validate:\n" + checked.stdout[-2000:])
        start = time.perf_counter()
        run([kova, "validate", description, "--settings", settings])
        validate_seconds = time.perf_counter() - start
        print("fix %d objects, %d conflicting settings: %.3f s (%d changes; one validate: %.3f s)" %
              (GROUPS * 10 + 1, GROUPS // 10, best, changes, validate_seconds))


if __name__ == "__main__":
    main()
