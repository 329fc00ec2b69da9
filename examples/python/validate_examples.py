#!/usr/bin/env python3
"""Validates every settings file of the examples with the kova_rules module
and prints one line per file and a summary.

usage: validate_examples.py [EXAMPLES_FOLDER]

A settings file NAME-WHAT.settings belongs to the description NAME.xml in
the same folder. The exit status is 0 when every file was loaded and
validated (valid or not), 2 when a description or settings file could not
be read."""
import pathlib
import sys

import kova_rules


def validate(settings):
    """The verdict line for one settings file."""
    description = settings.with_name(settings.name.split("-")[0] + ".xml")
    validator = kova_rules.load(description)
    validator.load_settings(settings)
    result = validator.run()
    errors = sum(message.severity == "error" for message in result.messages)
    warnings = sum(message.severity == "warning" for message in result.messages)
    verdict = "valid" if result.valid else "invalid"
    return result.valid, f"{settings.name:27} {description.name:12} {verdict:8} {errors} errors, {warnings} warnings"


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    valid = invalid = 0
    for settings in sorted(folder.glob("*.settings")):
        try:
            ok, line = validate(settings)
        except (kova_rules.LoadError, ValueError) as error:
            print(error, file=sys.stderr)
            return 2
        print(line)
        valid += ok
        invalid += not ok
    print(f"{valid + invalid} settings files: {valid} valid, {invalid} invalid")
    return 0


if __name__ == "__main__":
    sys.exit(main())
