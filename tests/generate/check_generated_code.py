#!/usr/bin/env python3
"""Generates the code of every valid example configuration (examples/NAME.xml
with its defaults and each NAME-*.settings) and of tests/data/generate-names.xml,
whose names every language must escape, for the tools that read it: iverilog
and verilator (the wrapper's connections fit the stub's ports), ghdl -a and -e
(elaboration binds the wrapper to the stub), cc -Wall -Werror on a file that
includes the C header twice and uses every macro, and for JSON the schema (the
members it holds are the generate layer's, whose tests check their values).

Usage: check_generated_code.py KOVA SOURCE_DIR; prints a line per check and
"N passed, M failed"; exits 1 on a failure, 77 (skipped) when a tool is missing.
"""
import glob, json, os, re, shutil, subprocess, sys, tempfile


def run(argv, cwd=None):
    """(exit status, standard output and error as text)."""
    done = subprocess.run(argv, cwd=cwd, capture_output=True, timeout=50)
    return done.returncode, (done.stdout + done.stderr).decode("utf-8", "replace")


# Derived values exported beside the parameters (not for json): a hidden
# parameter each, and a wizard map's integer and string values.
EXPORTS = [("uart.xml", "DIVISOR,COUNT_WIDTH"), ("counter.xml", "C_WIDTH,C_COUNT_MODE,C_TERMINAL_COUNT"),
           ("ram.xml", "ADDR_WIDTH,WE_WIDTH")]


def configurations(kova, source):
    """(label, description, arguments) of every valid example configuration, of the names file, and of the
    examples with exported values ("--export" last, dropped for json)."""
    chosen = [("generate-names.xml --constant level=0x15",
               os.path.join(source, "tests", "data", "generate-names.xml"), ["--constant", "level=0x15"])]
    chosen += [("%s --export %s" % (name, names), os.path.join(source, "examples", name), ["--export", names])
               for name, names in EXPORTS]
    for description in sorted(glob.glob(os.path.join(source, "examples", "*.xml"))):
        for settings in [None] + sorted(glob.glob(description[:-len(".xml")] + "-*.settings")):
            arguments = ["--settings", settings] if settings else []
            if run([kova, "validate", description] + arguments)[0] == 0:
                chosen.append((" ".join(os.path.basename(p) for p in [description] + arguments[1:]), description,
                    arguments))
    return chosen


def check(kova, description, arguments, language, folder, top, validator):
    """The problems of the code generated in language: the tools' complaints."""
    def generate(name, stub=False):
        path = os.path.join(folder, name)
        given = arguments[:-2] if language == "json" and arguments[-2:-1] == ["--export"] else arguments
        argv = [kova, "generate", description, "--lang", language, "-o", path] + given + ["--stub"] * stub
        status, output = run(argv)
        if status != 0 or not os.path.exists(path):
            raise RuntimeError("%s: exit %d\n%s" % (" ".join(argv[1:]), status, output))
        return path

    def tools(commands):
        for argv in commands:
            status, output = run(argv, cwd=folder)
            if status != 0:
                return ["%s: exit %d\n%s" % (" ".join(argv[:2]), status, output)]
        return []
    try:
        extension = {"verilog": ".v", "systemverilog": ".sv", "vhdl": ".vhd"}.get(language)
        files = [generate("stub" + extension, True), generate("wrapper" + extension)] if extension else []
        if language == "vhdl":
            work = "--workdir=" + folder
            return tools([["ghdl", "-a", "--std=08", work] + files, ["ghdl", "-e", "--std=08", work, "-o",
                os.path.join(folder, "top"), top]])
        if extension:  # Verilator warns of names that are C++ keywords (its own output is C++); they are sound Verilog.
            return tools([["iverilog", "-g2012", "-o", os.path.join(folder, "sim.out")] + files,
                          ["verilator", "--lint-only", "-Wno-SYMRSVDWORD", "--top-module", top] + files])
        if language == "c":
            with open(generate("config.h"), encoding="ascii") as text:
                macros = re.findall(r"^#define (\w+) (.+)$", text.read(), re.M)[1:]  # the first is the include guard
            uses = ["%s use_%d = %s;" % ("const char *" if value.startswith('"') else "long long", i, name)
                    for i, (name, value) in enumerate(macros)]
            with open(os.path.join(folder, "use.c"), "w", encoding="ascii") as out:
                out.write('#include "config.h"\n#include "config.h"\n' + "\n".join(uses) + "\n")
            return tools([["cc", "-std=c99", "-Wall", "-Werror", "-c", "use.c"]]) + ([] if uses else ["no macros"])
        with open(generate("config.json"), encoding="utf-8") as text:
            return [e.message for e in validator.iter_errors(json.load(text))]
    except (RuntimeError, OSError, ValueError) as failure:
        return [str(failure)]


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: check_generated_code.py KOVA SOURCE_DIR")
    kova, source = sys.argv[1:]
    missing = [tool for tool in ("iverilog", "verilator", "ghdl", "cc") if shutil.which(tool) is None]
    if missing:
        print("skipped: %s not installed (scripts/setup-deps installs them)" % ", ".join(missing))
        return 77
    import jsonschema
    with open(os.path.join(source, "docs", "kova.schema.json"), encoding="utf-8") as schema:
        validator = jsonschema.Draft202012Validator(json.load(schema))
    chosen = configurations(kova, source)
    results = []
    with tempfile.TemporaryDirectory(prefix="kova-generate-") as root:
        for index, (label, description, arguments) in enumerate(chosen):
            top = json.loads(run([kova, "show", description, "--format", "json"])[1])["function"] + "_cfg"
            for language in ("verilog", "systemverilog", "vhdl", "c", "json"):
                folder = os.path.join(root, "%d-%s" % (index, language))
                os.mkdir(folder)
                problems = check(kova, description, arguments, language, folder, top, validator)
                print("%s %s: %s%s" % ("FAIL" if problems else "ok  ", label, language,
                                        "".join("\n     " + p.replace("\n", "\n     ") for p in problems)))
                results.append(not problems)
    # The configurations the documentation promises are among those checked.
    for needed in ("fifo.xml", "ram.xml ram-dual.settings", "counter.xml counter-loadable.settings",
                   "uart.xml --export DIVISOR,COUNT_WIDTH"):
        if needed not in [c[0] for c in chosen]:
            print("FAIL %s is not among the configurations checked" % needed)
            results.append(False)
    print("%d passed, %d failed" % (results.count(True), results.count(False)))
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
