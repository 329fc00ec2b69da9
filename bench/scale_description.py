"""The generated descriptions of the scale benchmarks (lint_scale.py,
validate_scale.py): a macro, then groups of ten objects. Each group has a
dependency chain of hidden parameters reaching into the group before, an
integer parameter with a list and its legal_values rule, a range, a
string parameter, a macro call and a port with a width expression; every
text parses, every name resolves, and the default configuration is
valid.

Run as a program it writes one: scale_description.py [--objects N] OUT.xml
(serve_page.py uses it so)."""


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


def main():
    import argparse
    parser = argparse.ArgumentParser(description="Writes a generated description of about N objects.")
    parser.add_argument("--objects", type=int, default=10001,
                        help="a macro and (N - 1) / 10 groups of ten objects (default 10001)")
    parser.add_argument("out", help="the XML file to write")
    arguments = parser.parse_args()
    write(arguments.out, arguments.objects)


if __name__ == "__main__":
    main()
