#!/usr/bin/env python3
"""The generated descriptions of the scale benchmarks (lint_scale.py,
validate_scale.py, the page of kova serve): a macro, then groups of ten
objects. Each group has a dependency chain of hidden parameters reaching
into the group before, an integer parameter with a list and its
legal_values rule, a range, a string parameter, a macro call and a port
with a width expression; every text parses, every name resolves, and the
default configuration is valid. Setting a group's N to 32 while its S is
used breaks its second rule: a value conflict.

With page set (as from the command line) the description also has what
a configuration page shows beside the objects: a message rule in every
tenth group (those of every twentieth group apply under the defaults)
and a wizard map for every hundred groups, which holds the N parameter
of its first twenty groups and one value of its own.

With heavy set the groups are rule-heavy instead, every object with one
to three rules, as in the models of bench/bench_model.cpp: a legal list
B; a chain C_1 to C_5 of ranges from the link before to four times it,
each with a check rule; a hidden H calling the macro SCALE, with a check;
a string S with its list and a restriction under a condition; an integer
D with a list under a condition; a port P used or unused by a condition.
Every fiftieth group gives D a value outside its list, so a run posts
and explains conflicts.

usage: bench/scale_description.py [--objects N] [--heavy] OUT.xml
N is the number of objects (10,000 by default), rounded to a whole
number of groups of ten, plus the macro. serve_page.py writes its large
description so."""
import argparse


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


CONFLICT_EVERY = 50


def heavy_group(g):
    """Group g of the rule-heavy description: ten objects, nineteen rules."""
    chain = ["B%d" % g] + ["C%d_%d" % (g, link) for link in range(1, 6)]
    lines = [f"""  <object name="B{g}" kind="integer" default="8" default_usage_state="USED">
    <rule type="legal_values" value="4|8|16|32"/>
  </object>
"""]
    for link in range(1, 6):
        name, previous = chain[link], chain[link - 1]
        lines.append(f"""  <object name="{name}" kind="integer" default="{8 << link}" default_usage_state="USED">
    <rule type="legal_values" value="{previous} * 4" alt_value="{previous}"/>
    <rule condition="{name} gt 0 &amp;&amp; {previous} lt 100000"/>
  </object>
""")
    d_default = 3 if g % CONFLICT_EVERY == 0 else 2
    lines.append(f"""  <object name="H{g}" kind="hidden" value="SCALE({chain[5]},{chain[4]})">
    <rule condition="H{g} gt {chain[4]}"/>
  </object>
  <object name="S{g}" kind="string" value="fast|small" default="fast" default_usage_state="USED">
    <rule type="legal_values" value="fast|small"/>
    <rule type="legal_values" condition="H{g} gt 1000" value="small"/>
  </object>
  <object name="D{g}" kind="integer" default="{d_default}" default_usage_state="USED">
    <rule type="legal_values" condition="S{g} == fast" value="1|2|4"/>
  </object>
  <object name="P{g}" kind="in" width="D{g} * 8" default_usage_state="USED">
    <rule condition="D{g} gt 1" value="USED" alt_value="UNUSED"/>
  </object>
""")
    return "".join(lines)


def message(g):
    """A message rule of group g: shown when its N is above 8, and for
    every twentieth group the other text while it is not."""
    otherwise = ' alt_value="Group g%d keeps 8-bit words."' % g if g % 20 == 0 else ""
    return '  <message condition="g%d_N gt 8" value="Group g%d uses words wider than 8 bits."%s/>\n' % (
        g, g, otherwise)


def wizard_map(first, groups):
    """The map of the hundred groups from first: their N parameters (at
    most twenty) and the sum of the first two."""
    members = range(first, min(first + 20, groups))
    lines = ['  <wizard_map name="bank%d">\n' % (first // 100)]
    lines += ['    <object name="g%d_N" kind="integer" value="g%d_N"/>\n' % (g, g) for g in members]
    total = " + ".join("g%d_N" % g for g in list(members)[:2])
    lines.append('    <object name="C_BANK_WIDTH" kind="integer" value="%s"/>\n' % total)
    lines.append("  </wizard_map>\n")
    return "".join(lines)


def write(path, objects, page=False, heavy=False):
    groups = (objects - 1) // 10
    with open(path, "w") as out:
        out.write('<model function="scale">\n')
        if heavy:
            out.write('  <object name="SCALE" kind="macro" arguments="a,b" value="a div 4 + b"/>\n')
        else:
            out.write('  <object name="bytes" kind="macro" arguments="w" value="w ceil_div 8"/>\n')
        for g in range(groups):
            out.write(heavy_group(g) if heavy else group(g))
        for g in range(0, groups, 10) if page else ():
            out.write(message(g))
        for first in range(0, groups, 100) if page else ():
            out.write(wizard_map(first, groups))
        out.write("</model>\n")


def main():
    parser = argparse.ArgumentParser(description="Writes a generated description for the scale benchmarks.")
    parser.add_argument("--objects", type=int, default=10000, help="the number of objects (default 10000)")
    parser.add_argument("out", metavar="OUT.xml", help="the description file to write")
    parser.add_argument("--heavy", action="store_true", help="rule-heavy groups, without the page's extras")
    arguments = parser.parse_args()
    if arguments.objects < 10:
        parser.error("--objects must be 10 or more")
    # Whole groups of ten, the nearest to the count asked for, and the macro.
    objects = 10 * max(1, round((arguments.objects - 1) / 10)) + 1
    write(arguments.out, objects, page=not arguments.heavy, heavy=arguments.heavy)


if __name__ == "__main__":
    main()
