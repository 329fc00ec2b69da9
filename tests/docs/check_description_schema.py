#!/usr/bin/env python3
"""docs/kova-description.xsd under xmllint: every example and description under tests/ validates, and each
small description of a table gets its listed verdicts from the reader (kova validate; status 2 is a refusal) and
the schema, which accepts all the reader accepts and is looser only as docs/description-format.md says.
Usage: check_description_schema.py KOVA SOURCE_DIR; exits 1 on a failure, 77 when xmllint is missing."""
import glob, os, shutil, subprocess, sys, tempfile

# Files under tests/ that are not descriptions, with why. The schema refuses none of the descriptions there; the
# reader refuses two of the fuzz corpus, only for the included files that the fuzz target writes beside them.
NOT_DESCRIPTIONS = {"macro_settings.xml": "a fuzz input: a description, then a settings text after it"}
XSI = 'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:noNamespaceSchemaLocation="kova-description.xsd"'
O = '<object name="A" kind="in"/>'

# (description, the reader accepts it or None: not asked, the schema accepts it); "<model>" goes around a text
# that lacks it.
CASES = [
    ("<model %s>%s</model>" % (XSI, O), True, True),
    ('<object name=" B " kind=" -00 " usage_state="used" default_usage_state="03" silent_correction="TRUE">'
     '<rule type="Port_Value_List"/></object>', True, True),
    ("<object><name> A </name><kind><!-- a port -->in</kind><value><![CDATA[a < b]]></value><rule/>"
     "<default/></object>", True, True),
    ('<wizard_map name="W" add_used_ports="1"><condition_rule/>%s</wizard_map><vector name="V"><stimulus>'
     '<type>2</type></stimulus></vector>' % O, True, True),
    # help and label, which the reader is about to take: the schema accepts them already.
    ('<object name="A" kind="5" help="h" label=""/><wizard_map name="W"><label>L</label><help/></wizard_map>'
     '<vector name="V" help="h"/>', None, True),
    ('<object name="A" kind="5" previous_names="B, C"/><object name="D" kind="in"><previous_names>E'
     '</previous_names></object>', True, True),
    ("<function_rule><type>fn_set</type><condition>A</condition></function_rule><message value=''/>", True, True),
    ('<function>f</function><library>w.x</library><condition>c</condition><include file=" part.xml "/>', True, True),
    ('<object name="a  b" kind="5"/><object name="a b" kind="IN"/>', True, True),
    ('<object name="A" kind="string" value="a|b" default_index=" -01 "/><object name="B" kind="5" '
     'default_index="2147483647"/>', True, True),
    ('<!DOCTYPE model><?editor fold?><model><!-- c -->%s</model>' % O, True, True),
    ("<modle/>", False, False), ("<model>words</model>", False, False), ("<objekt/>", False, False),
    ("<rule/>", False, False), ('<object name="A" kind="in"><rule help="h"/></object>', False, False),
    ('<object name="A" kind="in" colour="red"/>', False, False),
    ('<message><value lang="en">x</value></message>', False, False),
    ("<message><value>a <b/></value></message>", False, False),
    ('<model xsi:noNamespaceSchemaLocation="k.xsd">%s</model>' % O, False, False),
    ('<object name="A" kind="in" value="&#1;"/>', False, False),
    ('<object name=" " kind="in"/>', False, False), ('<include file=""/>', False, False),
] + [('<object name="A" %s/>' % field, False, False) for field in (
    'kind="wire"', 'kind="4"', 'kind="+1"', 'kind=""', 'kind="in" usage_state="2"', 'kind="in" default_index="-2"',
    'kind="in" default_index="+1"', 'kind="in" default_index="99999999999"', 'kind="in" silent_correction="yes"')
] + [
    (O + "<object><name>A</name><kind>out</kind></object>", False, False), ("<wizard_map name='W'>%s<object><name>A</name><kind>5</kind></object></wizard_map>" % O,
                            False, False),
    ('<vector name="V"/><vector><name>V</name></vector>', False, False),
    # Looser than the reader: what XSD 1.0 cannot say.
    ('<object name="A" kind="5" value="1"><value>2</value></object>', False, True),
    ('<object name="A" kind="5"><value>1</value><value>2</value></object>', False, True),
    (O + '<object name="a" kind="in"/>', False, True), ('<object name="A&#9;" kind="in"/>' + O, False, True),
    ('<object kind="in"/>', False, True), ('<object name="A"/>', False, True), ("<include/>", False, True),
    ("<function_rule/>", False, True), ('<vector name="V"><condition_rule/><condition_rule/></vector>', False, True),
    ('<include file="absent.xml"/>', False, True), ('<include file="self.xml"/>', False, True),
    ('<!DOCTYPE model [<!ENTITY e "x">]><model function="&e;"/>', False, True),
]


def schema_accepts(xsd, path):
    return subprocess.run(["xmllint", "--noout", "--schema", xsd, path], capture_output=True).returncode == 0


def main(kova, source):
    if not shutil.which("xmllint"):
        print("check_description_schema: xmllint is missing (scripts/setup-deps installs it)")
        return 77
    xsd, failures = os.path.join(source, "docs", "kova-description.xsd"), []
    files = glob.glob(os.path.join(source, "examples", "**", "*.xml"), recursive=True) + glob.glob(
        os.path.join(source, "tests", "**", "*.xml"), recursive=True)
    for path in sorted(files):
        if os.path.basename(path) not in NOT_DESCRIPTIONS and not schema_accepts(xsd, path):
            failures.append("the schema refuses " + path)
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "part.xml"), "w") as part:
            part.write("<model/>")
        for text, reader, schema in CASES:
            path = os.path.join(folder, "self.xml")
            with open(path, "w") as out:
                out.write(text if "<model" in text or "<modle" in text else "<model>%s</model>" % text)
            status = subprocess.run([kova, "validate", path], capture_output=True, timeout=30).returncode
            verdicts = (status != 2 if reader is not None else None, schema_accepts(xsd, path))
            if verdicts != (reader, schema):
                failures.append("reader, schema %s, expected %s: %s" % (verdicts, (reader, schema), text))
    print("\n".join(failures) or "check_description_schema: %d files, %d cases" % (len(files), len(CASES)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
