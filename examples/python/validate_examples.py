#!/usr/bin/env python3
"""A CI check: validates every settings file of a folder with the
kova_rules package and prints one line per file and a summary.

usage: validate_examples.py [FOLDER]

A settings file NAME-WHAT.settings belongs to the description NAME.xml in
the same folder (the examples folder when none is given). The exit status
is 0 when every configuration is valid, 1 when any is invalid, and 2 when
a description or settings file could not be read, so a CI job fails on
the first two."""
import pathlib
import sys

import kova_rules


def validate(settings: pathlib.Path) -> kova_rules.Result:
    """The run of one settings file on its description."""
    validator = kova_rules.load(description_of(settings))
    validator.load_settings(settings)
    return validator.run()


def description_of(settings: pathlib.Path) -> pathlib.Path:
    return settings.with_name(settings.name.split("-")[0] + ".xml")


def verdict_line(settings: pathlib.Path, result: kova_rules.Result) -> str:
    errors = sum(message.severity == "error" for message in result)
    warnings = sum(message.severity == "warning" for message in result)
    verdict = "valid" if result else "invalid"
    return f"{settings.name:27} {description_of(settings).name:12} {verdict:8} {errors} errors, {warnings} warnings"


def main() -> int:
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent
    valid = invalid = 0
    for settings in sorted(folder.glob("*.settings")):
        try:
            result = validate(settings)
        except (kova_rules.LoadError, OSError, KeyError, ValueError) as error:
            print(error, file=sys.stderr)
            return 2
        print(verdict_line(settings, result))
        valid += bool(result)
        invalid += not result
    print(f"{valid + invalid} settings files: {valid} valid, {invalid} invalid")
    return 1 if invalid else 0


if __name__ == "__main__":
    sys.exit(main())
