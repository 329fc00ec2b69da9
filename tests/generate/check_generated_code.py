#!/usr/bin/env python3
"""Generates the code of every example configuration that validates (each
examples/NAME.xml with its defaults and its examples/NAME-*.settings), and
of tests/data/generate-names.xml, whose names every language must escape,
and hands it to the tools that read it: iverilog -g2012 and verilator
--lint-only for Verilog and SystemVerilog (the wrapper's connections must
fit the stub's ports), ghdl -a then -e for VHDL (elaboration binds the
wrapper to the stub), cc -std=c99 -Wall -Werror for a .c file including the
C header twice and using every macro, and for JSON the schema and the port
widths kova widths reports.

Usage: check_generated_code.py KOVA SOURCE_DIR; prints a line per check and
"N passed, M failed"; exits 1 on a failure, 77 (skipped) when a tool is
missing.
"""
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

TOOLS = ["iverilog", "verilator", "ghdl", "cc"]
SKIPPED = 77


def run(argv, cwd=None):
    """(exit status, standard output and error as text)."""
    done = subprocess.run(argv, cwd=cwd, capture_output=True, timeout=50)
    return done.returncode, (done.stdout + done.stderr).decode("utf-8", "replace")


def configurations(kova, source):
    """(label, description, settings arguments) of every configuration to
    generate, and the labels of those left out as invalid."""
    chosen, invalid = [], []
    for description in sorted(glob.glob(os.path.join(source, "examples", "*.xml"))):
        for settings in [None] + sorted(glob.glob(description[:-len(".xml")] + "-*.settings")):
            arguments = ["--settings", settings] if settings else []
            label = " ".join(os.path.basename(path) for path in [description] + arguments[1:])
            (chosen if run([kova, "validate", description] + arguments)[0] == 0 else invalid).append(
                (label, description, arguments))
    chosen.append(("generate-names.xml --constant level=0x15",
                   os.path.join(source, "tests", "data", "generate-names.xml"), ["--constant", "level=0x15"]))
    return chosen, [c[0] for c in invalid]


def generate(kova, description, arguments, language, path, stub=False):
    """"" when kova generate wrote path, else what went wrong."""
    argv = [kova, "generate", description, "--lang", language, "-o", path] + arguments + (["--stub"] if stub else [])
    status, output = run(argv)
    return "" if status == 0 and os.path.exists(path) else "%s: exit %d\n%s" % (" ".join(argv[1:]), status, output)


def check_hdl(kova, description, arguments, language, extension, commands, folder):
    """The stub and the wrapper in language, read by each of commands(stub, wrapper)."""
    stub, wrapper = (os.path.join(folder, name + "." + extension) for name in ("stub", "wrapper"))
    made = generate(kova, description, arguments, language, stub, True) + \
        generate(kova, description, arguments, language, wrapper)
    if made:
        return [made]
    for argv in commands(stub, wrapper):
        status, output = run(argv, cwd=folder)
        if status != 0:
            return ["%s: exit %d\n%s" % (" ".join(argv[:2]), status, output)]
    return []


def check_c(kova, description, arguments, folder):
    header = os.path.join(folder, "config.h")
    made = generate(kova, description, arguments, "c", header)
    if made:
        return [made]
    with open(header, encoding="ascii") as text:
        macros = re.findall(r"^#define (\w+) (.+)$", text.read(), re.M)
    uses = ["%s use_%d = %s;" % ("const char *" if value.startswith('"') else "long long", i, name)
            for i, (name, value) in enumerate(macros[1:])]  # the first is the include guard
    program = os.path.join(folder, "use.c")
    with open(program, "w", encoding="ascii") as out:
        out.write('#include "config.h"\n#include "config.h"\n' + "\n".join(uses) + "\n")
    status, output = run(["cc", "-std=c99", "-Wall", "-Werror", "-c", program, "-o", os.path.join(folder, "use.o")])
    return [] if status == 0 and uses else ["cc: exit %d, %d macros\n%s" % (status, len(uses), output)]


def check_json(kova, description, arguments, folder, validator):
    path = os.path.join(folder, "config.json")
    made = generate(kova, description, arguments, "json", path)
    if made:
        return [made]
    with open(path, encoding="utf-8") as text:
        document = json.load(text)
    problems = [e.message for e in validator.iter_errors(document)]
    _, widths = run([kova, "widths", description, "--format", "json"] + arguments)
    engine = {p["port"]: p["width"] for p in json.loads(widths)["ports"]}
    generated = {p["name"]: p["width"] for p in document.get("ports", [])}
    if generated != engine:
        problems.append("port widths %s differ from kova widths %s" % (generated, engine))
    return problems


def checks(kova, description, arguments, top, validator):
    """(name, check taking a fresh folder) of each check of a configuration."""
    def verilog(f):
        return lambda stub, wrapper: [
            ["iverilog", "-g2012", "-o", os.path.join(f, "sim.out"), stub, wrapper],
            # Verilator warns of names that are C++ keywords (its own output
            # is C++); they are sound Verilog.
            ["verilator", "--lint-only", "-Wno-SYMRSVDWORD", "--top-module", top, stub, wrapper]]

    def vhdl(f):
        return lambda stub, wrapper: [["ghdl", "-a", "--std=08", "--workdir=" + f, stub, wrapper],
                                      ["ghdl", "-e", "--std=08", "--workdir=" + f, "-o", os.path.join(f, "top"), top]]
    return (("verilog", lambda f: check_hdl(kova, description, arguments, "verilog", "v", verilog(f), f)),
            ("systemverilog", lambda f: check_hdl(kova, description, arguments, "systemverilog", "sv", verilog(f), f)),
            ("vhdl", lambda f: check_hdl(kova, description, arguments, "vhdl", "vhd", vhdl(f), f)),
            ("c", lambda f: check_c(kova, description, arguments, f)),
            ("json", lambda f: check_json(kova, description, arguments, f, validator)))


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: check_generated_code.py KOVA SOURCE_DIR")
    kova, source = sys.argv[1], sys.argv[2]
    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if missing:
        print("skipped: %s not installed (scripts/setup-deps installs them)" % ", ".join(missing))
        return SKIPPED
    import jsonschema
    with open(os.path.join(source, "docs", "kova.schema.json"), encoding="utf-8") as schema:
        validator = jsonschema.Draft202012Validator(json.load(schema))
    chosen, invalid = configurations(kova, source)
    print("left out, not valid: %s" % ", ".join(invalid))
    passed = failed = 0
    with tempfile.TemporaryDirectory(prefix="kova-generate-") as root:
        for index, (label, description, arguments) in enumerate(chosen):
            top = json.loads(run([kova, "show", description, "--format", "json"])[1])["function"] + "_cfg"
            for name, check in checks(kova, description, arguments, top, validator):
                folder = os.path.join(root, "%d-%s" % (index, name))
                os.mkdir(folder)
                problems = check(folder)
                print("%s %s: %s%s" % ("FAIL" if problems else "ok  ", label, name,
                                        "".join("\n     " + p.replace("\n", "\n     ") for p in problems)))
                failed += bool(problems)
                passed += not problems
    # The configurations the documentation promises are among those checked.
    for needed in ("fifo.xml", "ram.xml ram-dual.settings", "counter.xml counter-loadable.settings"):
        if needed not in [c[0] for c in chosen]:
            print("FAIL %s is not among the configurations checked" % needed)
            failed += 1
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
