#!/usr/bin/env python3
"""The cost of the kova_rules Python module over the library: run() called
from Python, with its messages made into Message objects and each one's
text read, against the same run and message read in C++
(kova_rules._native._native_run_seconds), on a generated description of 1,000
objects whose runs report conflicts. Both sides count the CPU time of the
calling thread, so other work on the machine does not; each figure is the
best of five rounds of 200 runs. The goal: at most 10% more time per run.

usage: bench/python_overhead.py BUILD_DIR

The description follows the C++ benchmark model (bench/bench_model.cpp):
a function macro, then groups of ten objects whose rules form a chain
eleven levels deep, with legal-value lists, ranges, check rules, a macro
call, a string parameter and a port; every fifth group holds a value
outside its list, so every run posts and explains conflicts (20). A
second description leaves the ports without a default state, so that
every port conflicts too (119 messages per run).

Then configurations per second as a script validates them: 2,000
configurations of examples/fifo.xml, each a copy of the loaded validator
given its settings with set_many() and run, against `kova batch --jobs 1`
on the same 2,000 settings files (wall time of the whole command: start,
load, reading each file, a line each). The goal: Python within 1.3 times
batch's time."""
import os
import pathlib
import subprocess
import sys
import tempfile
import time

OBJECTS = 1000
RUNS = 200
ROUNDS = 5
CONFLICT_EVERY = 5


def chain(group, link):
    return f"B{group}" if link == 0 else f"C{group}_{link}"


def member(group, index, port_usage):
    """The XML of member index (0 to 9) of a group."""
    if index == 0:
        return (f'<object name="B{group}" kind="integer" value="4|8|16|32" default="8" default_usage_state="USED">'
                f'<rule type="legal_values" value="4|8|16|32"/></object>')
    if index <= 5:
        name, previous = chain(group, index), chain(group, index - 1)
        return (f'<object name="{name}" kind="integer" value="1-1000000" default="{8 << index}" '
                f'default_usage_state="USED"><rule type="legal_values" value="{previous} * 4" alt_value="{previous}"/>'
                f'<rule><condition>{name} gt 0 &amp;&amp; {previous} lt 100000</condition></rule></object>')
    if index == 6:
        return f'<object name="H{group}" kind="hidden" value="SCALE({chain(group, 5)},{chain(group, 4)})"/>'
    if index == 7:
        return (f'<object name="S{group}" kind="string" value="fast|small" default="fast" default_usage_state="USED">'
                f'<rule type="legal_values" value="fast|small"/>'
                f'<rule type="legal_values" condition="H{group} gt 1000" value="small"/></object>')
    if index == 8:
        default = 3 if group % CONFLICT_EVERY == 0 else 2
        return (f'<object name="D{group}" kind="integer" value="1|2|3|4" default="{default}" '
                f'default_usage_state="USED"><rule type="legal_values" condition="S{group} == fast" value="1|2|4"/>'
                f'</object>')
    return (f'<object name="P{group}" kind="in" width="D{group} * 8"{port_usage}>'
            f'<rule condition="D{group} gt 1" value="USED" alt_value="UNUSED"/></object>')


def write_description(path, ports_used):
    """Ports start USED, as in the C++ model, or with no state, so that
    every port's rule conflicts with it too (a run with many messages)."""
    port_usage = ' default_usage_state="USED"' if ports_used else ""
    lines = ['<model function="bench">', '<object name="SCALE" kind="macro" arguments="a,b" value="a div 4 + b"/>']
    lines += [member(index // 10, index % 10, port_usage) for index in range(OBJECTS - 1)]
    lines.append("</model>")
    path.write_text("\n".join(lines) + "\n")


def python_round(validator):
    start = time.thread_time()
    for _ in range(RUNS):
        for message in validator.run().messages:
            message.text
    return time.thread_time() - start


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.path.insert(0, os.path.join(sys.argv[1], "python"))
    import kova_rules

    for ports_used in (True, False):
        measure(kova_rules, ports_used)
    configurations_per_second(kova_rules, pathlib.Path(sys.argv[1]) / "tools" / "kova")


CONFIGURATIONS = 2000
FIFO = pathlib.Path(__file__).resolve().parent.parent / "examples" / "fifo.xml"


def fifo_settings(index):
    """Configuration index of the rate comparison: valid and invalid ones mixed."""
    return {"WIDTH": str(1 + index * 7 % 256), "DEPTH": str(16 << index % 6),
            "MEMORY_TYPE": ("block", "distributed")[index % 2], "HAS_DATA_COUNT": str(index // 2 % 2)}


def best_seconds(work, rounds=3):
    best = float("inf")
    for _ in range(rounds):
        start = time.perf_counter()
        work()
        best = min(best, time.perf_counter() - start)
    return best


def configurations_per_second(kova_rules, kova):
    settings = [fifo_settings(index) for index in range(CONFIGURATIONS)]
    with tempfile.TemporaryDirectory() as folder:
        files = []
        for index, values in enumerate(settings):
            files.append(pathlib.Path(folder) / f"{index}.settings")
            files[-1].write_text("".join(f"{name}={value}\n" for name, value in values.items()))
        command = [str(kova), "batch", "--jobs", "1", str(FIFO), *map(str, files)]
        batch = best_seconds(lambda: subprocess.run(command, stdout=subprocess.DEVNULL, check=False))

    def script():
        validator = kova_rules.load(FIFO)
        for values in settings:
            configured = validator.copy()
            configured.set_many(values)
            configured.run()

    python = best_seconds(script)
    print(f"{CONFIGURATIONS} configurations of examples/fifo.xml, one thread")
    print(f"  kova batch --jobs 1:         {CONFIGURATIONS / batch:8.0f} per second")
    print(f"  copy, set_many, run():       {CONFIGURATIONS / python:8.0f} per second")
    print(f"  Python takes {python / batch:.2f} times batch's time (goal: at most 1.3)")


def measure(kova_rules, ports_used):
    with tempfile.TemporaryDirectory() as folder:
        description = pathlib.Path(folder) / "bench.xml"
        write_description(description, ports_used)
        validator = kova_rules.load(description)
    messages = len(validator.run().messages)
    native = python = float("inf")
    for _ in range(ROUNDS):  # interleaved, so that a busy moment hits both alike
        native = min(native, kova_rules._native._native_run_seconds(validator, RUNS))
        python = min(python, python_round(validator))
    overhead = python / native - 1
    print(f"{OBJECTS} objects, {messages} messages per run")
    print(f"  run + message read in C++:             {native / RUNS * 1e6:8.1f} us")
    print(f"  run() + Message objects and text read: {python / RUNS * 1e6:8.1f} us")
    print(f"  Python overhead: {overhead * 100:.1f}% (goal: at most 10%)")

if __name__ == "__main__":
    main()
