#!/usr/bin/env python3
"""Generates the code of every example configuration that validates (each
examples/NAME.xml with its defaults and with every examples/NAME-*.settings
that validates), and of tests/data/generate-names.xml, whose names every
language must escape, and hands it to the tools that read it:

- Verilog and SystemVerilog, wrapper and stub: iverilog -g2012 and
  verilator --lint-only, which also check that the wrapper's connections
  fit the stub's ports;
- VHDL, stub then wrapper: ghdl -a --std=08 and ghdl -e (elaboration binds
  the wrapper's instance to the stub), in a work folder of their own;
- C: the header included by a .c file that uses every macro, compiled
  with cc -std=c99 -Wall -Werror (trigraphs on);
- JSON: the document checked against docs/kova.schema.json, and its port
  widths compared with what kova widths reports.

Usage: check_generated_code.py KOVA SOURCE_DIR; prints a line per check and
"N passed, M failed"; exits 1 on a failure and 77 (skipped) when a tool is
missing. Temporary files are removed.
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
    """(label, description, settings arguments, top name) of every
    configuration to generate, and the labels of those left out as invalid."""
    chosen, invalid = [], []
    examples = os.path.join(source, "examples")
    for description in sorted(glob.glob(os.path.join(examples, "*.xml"))):
        stem = os.path.splitext(os.path.basename(description))[0]
        settings = sorted(glob.glob(os.path.join(examples, stem + "-*.settings")))
        for arguments in [[]] + [["--settings", s] for s in settings]:
            label = " ".join([os.path.basename(description)] + [os.path.basename(a) for a in arguments[1:]])
            status, _ = run([kova, "validate", description] + arguments)
            (chosen if status == 0 else invalid).append((label, description, arguments))
    chosen.append(("generate-names.xml --constant level=0x15",
                   os.path.join(source, "tests", "data", "generate-names.xml"), ["--constant", "level=0x15"]))
    return chosen, [c[0] for c in invalid]


def generate(kova, description, arguments, language, path, stub=False):
    argv = [kova, "generate", description, "--lang", language, "-o", path] + arguments + (["--stub"] if stub else [])
    status, output = run(argv)
    return "" if status == 0 and os.path.exists(path) else "kova generate --lang %s%s: exit %d\n%s" % (
        language, " --stub" if stub else "", status, output)


def function_name(kova, description):
    status, output = run([kova, "show", description, "--format", "json"])
    return json.loads(output)["function"]


def check_verilog(kova, description, arguments, top, folder):
    problems = []
    for language, extension in (("verilog", "v"), ("systemverilog", "sv")):
        stub, wrapper = os.path.join(folder, "stub." + extension), os.path.join(folder, "wrapper." + extension)
        made = generate(kova, description, arguments, language, stub, True) + \
            generate(kova, description, arguments, language, wrapper)
        if made:
            problems.append(made)
            continue
        for argv in (["iverilog", "-g2012", "-o", os.path.join(folder, "sim.out"), stub, wrapper],
                     # Verilator warns of names that are C++ keywords (its
                     # own output is C++); they are sound Verilog.
                     ["verilator", "--lint-only", "-Wno-SYMRSVDWORD", "--top-module", top, stub, wrapper]):
            status, output = run(argv, cwd=folder)
            if status != 0:
                problems.append("%s on %s: exit %d\n%s" % (argv[0], language, status, output))
    return problems


def check_vhdl(kova, description, arguments, top, folder):
    stub, wrapper = os.path.join(folder, "stub.vhd"), os.path.join(folder, "wrapper.vhd")
    made = generate(kova, description, arguments, "vhdl", stub, True) + \
        generate(kova, description, arguments, "vhdl", wrapper)
    if made:
        return [made]
    work = os.path.join(folder, "vhdl-work")
    os.mkdir(work)
    for argv in (["ghdl", "-a", "--std=08", "--workdir=" + work, stub, wrapper],
                 ["ghdl", "-e", "--std=08", "--workdir=" + work, "-o", os.path.join(work, "top"), top]):
        status, output = run(argv, cwd=work)
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
            top = function_name(kova, description) + "_cfg"
            checks = (("verilog", lambda f: check_verilog(kova, description, arguments, top, f)),
                      ("vhdl", lambda f: check_vhdl(kova, description, arguments, top, f)),
                      ("c", lambda f: check_c(kova, description, arguments, f)),
                      ("json", lambda f: check_json(kova, description, arguments, f, validator)))
            for name, check in checks:
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
