#!/usr/bin/env python3
"""Repair a configuration and generate its Verilog: loads a settings file,
repairs what is invalid as `kova fix` does, saves the repaired settings,
writes the wrapper and a stub of the core it instantiates, and compiles
both with iverilog.

usage: repair_and_generate.py DESCRIPTION SETTINGS OUTPUT_FOLDER [KEEP...]

KEEP names settings the repair may not change. The exit status is 0 when
the configuration was repaired (or was valid) and the wrapper compiles, 1
when the repair gave up or iverilog refused the code, 2 when a file could
not be read."""
import pathlib
import subprocess
import sys

import kova_rules


def repair(validator: kova_rules.Validator, keep: list[str]) -> kova_rules.Repair:
    repaired = validator.fix(keep=keep)
    for name, old, new, reason in repaired.changes:
        print(f"{name}: {old} -> {new} ({reason})")
    return repaired


def write_verilog(validator: kova_rules.Validator, folder: pathlib.Path) -> list[pathlib.Path]:
    """The stub of the core and the wrapper, in that order."""
    stub, wrapper = folder / "core_stub.v", folder / "wrapper.v"
    stub.write_text(validator.generate("verilog", stub=True))
    wrapper.write_text(validator.generate("verilog"))
    return [stub, wrapper]


def main() -> int:
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    description, settings, output = sys.argv[1], sys.argv[2], pathlib.Path(sys.argv[3])
    try:
        validator = kova_rules.load(description)
        validator.load_settings(settings)
    except (kova_rules.LoadError, OSError, KeyError, ValueError) as error:
        print(error, file=sys.stderr)
        return 2
    repaired = repair(validator, sys.argv[4:])
    if not repaired.valid:
        print(f"the repair gave up after {repaired.runs} runs: {repaired.reason}", file=sys.stderr)
        return 1
    output.mkdir(parents=True, exist_ok=True)
    validator.save_settings(output / "repaired.settings")
    files = write_verilog(validator, output)
    compiled = subprocess.run(["iverilog", "-g2012", "-o", str(output / "wrapper.vvp"), *map(str, files)],
                              capture_output=True, text=True, check=False)
    if compiled.returncode != 0:
        print(compiled.stderr, file=sys.stderr)
        return 1
    print(f"repaired in {repaired.runs} runs; {' '.join(file.name for file in files)} compile")
    return 0


if __name__ == "__main__":
    sys.exit(main())
