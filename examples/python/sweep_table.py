#!/usr/bin/env python3
"""A sweep into a table: every combination of the legal values of the
named ports and parameters, validated in worker processes, one row each.

usage: sweep_table.py DESCRIPTION NAME... [--jobs N]

The configurations and their order are those of `kova sweep DESCRIPTION
--vary NAME...`: a list's items, a range's two bounds and its midpoint
rounded down, USED and UNUSED for a port; the first name changes slowest.
Each configuration is a copy of the loaded validator, pickled to a worker
process, whose Result is pickled back. The exit status is 0 when the sweep
completed, whatever the verdicts."""
import argparse
import concurrent.futures
import itertools
import sys
from typing import Union

import kova_rules

Value = Union[int, str]


def values_of(validator: kova_rules.Validator, name: str) -> list[Value]:
    """The values kova sweep --vary NAME takes."""
    state = validator[name]
    if state.is_port:
        return ["USED", "UNUSED"]
    legal = state.legal_values
    if isinstance(legal, range):
        low, high = legal.start, legal.stop - 1
        return list(dict.fromkeys([low, (low + high) // 2, high]))
    if legal is None:
        raise SystemExit(f"{name}: its value text {state.value_text!r} is neither a list nor a range")
    return [value for value in legal]


def run(validator: kova_rules.Validator) -> kova_rules.Result:
    return validator.run()


def sweep(validator: kova_rules.Validator, names: list[str], jobs: int) -> list[tuple[tuple[Value, ...], kova_rules.Result]]:
    """Each combination with its result, in sweep order."""
    combinations = list(itertools.product(*(values_of(validator, name) for name in names)))
    configured = []
    for values in combinations:
        copy = validator.copy()
        copy.set_many(dict(zip(names, values)))
        configured.append(copy)
    with concurrent.futures.ProcessPoolExecutor(max_workers=jobs) as pool:
        return list(zip(combinations, pool.map(run, configured, chunksize=16)))


def table(names: list[str], rows: list[tuple[tuple[Value, ...], kova_rules.Result]]) -> list[str]:
    """The rows under a header, columns as wide as their widest cell."""
    cells = [["INDEX", *names, "VERDICT", "ERRORS"]]
    for index, (values, result) in enumerate(rows):
        errors = sum(message.severity == "error" for message in result)
        cells.append([str(index), *map(str, values), "valid" if result else "invalid", str(errors)])
    widths = [max(len(row[column]) for row in cells) for column in range(len(cells[0]))]
    return ["  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip() for row in cells]


def main() -> int:
    parser = argparse.ArgumentParser(description=(__doc__ or "").splitlines()[0])
    parser.add_argument("description")
    parser.add_argument("names", nargs="+")
    parser.add_argument("--jobs", type=int, default=2)
    arguments = parser.parse_args()
    validator = kova_rules.load(arguments.description)
    rows = sweep(validator, arguments.names, arguments.jobs)
    print("\n".join(table(arguments.names, rows)))
    valid = sum(bool(result) for _, result in rows)
    print(f"{len(rows)} configurations: {valid} valid, {len(rows) - valid} invalid", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
