"""The kova_rules Python package: a run compared field by field with `kova
validate --format json` (the front ends share one layer, so one comparison
checks the conversion of the run's records, and the tool's document);
each query's conversion against written values; the errors the module
documents; threads, memory and texts that are not UTF-8.

Run from ctest with PYTHONPATH set to the build's python/ folder (the
package laid out as installed) and KOVA_TOOL naming the kova tool of the
same build."""
import concurrent.futures
import json
import os
import pathlib
import re
import subprocess
import sys

import pytest

import kova_rules

SOURCE = pathlib.Path(__file__).resolve().parents[2]
TOOL = os.environ.get("KOVA_TOOL", str(SOURCE / "build" / "tools" / "kova"))


@pytest.fixture(autouse=True)
def in_source_folder(monkeypatch):
    # Both front ends name files as they were given: relative to the source.
    monkeypatch.chdir(SOURCE)


def configured(description, files=(), settings=()):
    validator = kova_rules.load("examples/" + description)
    for name in files:
        validator.load_settings("examples/" + name)
    for name, value in settings:
        validator.set(name, value)
    return validator


def validate_json(description, settings):
    command = [TOOL, "validate", "examples/" + description, "--settings", "examples/" + settings, "--format", "json"]
    return json.loads(subprocess.run(command, capture_output=True, check=False).stdout)


MESSAGE_FIELDS = ("severity", "kind", "text", "object", "rule", "file", "line", "column", "setting")


SETTINGS_FILES = sorted(path.name for path in (SOURCE / "examples").glob("*.settings"))


@pytest.mark.parametrize("settings", SETTINGS_FILES)
def test_run_gives_what_validate_gives(settings):
    description = settings.split("-")[0] + ".xml"
    validator = configured(description, [settings])
    result = validator.run()
    document = validate_json(description, settings)
    assert result.to_dict() == document
    assert result.valid == document["valid"]
    assert [vars_of(m, *MESSAGE_FIELDS) for m in result.messages] == [m.to_dict() for m in result.messages]
    assert [m.to_dict() for m in result.messages] == document["messages"]
    parameters = {p.name: (p.kind, p.value, p.alt_value, p.usage, p.alt_usage, p.label, p.help, p.origin)
                  for p in validator.parameters}
    assert parameters == {p["name"]: (p["kind"], p["value"], p["alt_value"], p["usage"], p["alt_usage"], p["label"],
                                      p["help"], p["origin"]) for p in document["parameters"]}
    ports = {p.name: (p.kind, p.value_text, p.usage, p.alt_usage, p.origin) for p in validator.ports}
    assert ports == {p["name"]: (p["kind"], p["value_text"], p["usage"], p["alt_usage"], p["origin"])
                     for p in document["ports"]}


FIFO_COUNT = [("HAS_DATA_COUNT", "1"), ("data_count", "USED"), ("MEMORY_TYPE", "distributed")]
RANGE_FIELDS = ("port", "width", "lower", "upper", "values")

# (description, settings, the module's answer, what it must be): the layer's values, converted
QUERIES = [
    ("uart.xml", [("BAUD_RATE", "9600")],
     lambda v: v.generate("c", export=[b"DIVISOR"]).split("Derived values */\n")[1].split("/*")[0],
     "#define UART_DIVISOR 325\n\n"),
    ("fifo.xml", [("DEPTH", "512")], lambda v: v.widths(),
     {"clk": 1, "rst": 1, "wr_en": 1, "din": 8, "rd_en": 1, "dout": 8, "full": 1, "empty": 1, "almost_full": 1,
      "data_count": 10, "prog_full_thresh": 9}),
    ("fifo.xml", FIFO_COUNT, lambda v: vars_of(v.ranges("prog_full_thresh"), *RANGE_FIELDS),
     {"port": "prog_full_thresh", "width": 4, "lower": "1", "upper": "15", "values": ["4", "8", "12"]}),
    ("ram.xml", [("ECC", "1")], lambda v: v.simulation_libraries(), ["ram_lib", "ram_sp_lib"]),
    ("ram.xml", [], lambda v: (v.deps("clkb"), v.eval("DEPTH * 2")), (["MODE"], "512")),
    ("ram.xml", [], lambda v: v.eval("DEPTH gt 256 && MODE == dual", mode="text"),
     '((256 > 256) && ("SINGLE" == "dual"))'),
    ("counter.xml", [("WIDTH", "12")], lambda v: [vars_of(e, "kind", "name", "value", "usage", "source")
                                                  for e in v.wizard_map("generics")][:2],
     [{"kind": "integer", "name": "C_WIDTH", "value": "12", "usage": "USED", "source": "map"},
      {"kind": "string", "name": "C_COUNT_MODE", "value": "up", "usage": "USED", "source": "map"}]),
    ("counter.xml", [], lambda v: v.stimulus("count_cycle", 20), [("clk", "0"), ("rst", "0"), ("en", "1")]),
    # Where a value came from: set from Python, corrected by the run.
    ("uart.xml", [("PARITY", "EVEN"), ("DATA_BITS", "9")], lambda v: (v.run(), [p.origin for p in v.parameters][2:4])[1],
     [{"kind": "set", "source": "python"},
      {"kind": "corrected", "file": "examples/uart.xml", "line": 29, "rule": "PARITY != NONE", "was": "9"}]),
    ("counter.xml", [], lambda v: (v.parameters[2].label, v.ports[0].help, v.explain("HAS_LOAD")["object"]["help"]),
     ("Parallel load", None, "1 adds the load and din inputs, which load a value into the count.")),
]


def vars_of(record, *fields):
    return {field: getattr(record, field) for field in fields}


@pytest.mark.parametrize("description,settings,ask,expected", QUERIES)
def test_query_converts_the_layers_answer(description, settings, ask, expected):
    assert ask(configured(description, settings=settings)) == expected


def raises(call, error, text):
    with pytest.raises(error, match=re.escape(text)):
        call()


# (what is done, the exception, a part of its text)
ERRORS = [
    (lambda v, tmp: kova_rules.load(tmp / "missing.xml"), kova_rules.LoadError, "missing.xml: error: cannot open"),
    (lambda v, tmp: kova_rules.load(write(tmp / "bad.xml", b'<model function="x">\n  <object name="A"\n</model>\n')),
     kova_rules.LoadError, "bad.xml:3:1: error: malformed XML"),
    (lambda v, tmp: v.set("WIDHT", 8), KeyError, "no port or parameter is named WIDHT (did you mean WIDTH?)"),
    (lambda v, tmp: v.set("din", "maybe"), ValueError, "port din takes USED, UNUSED, CONSTANT or CONSTANT:VALUE"),
    (lambda v, tmp: v.set("WIDTH", [8]), TypeError, "expected str or bytes"),
    (lambda v, tmp: v.load_settings(write(tmp / "a.settings", b"WIDTH=16\nDEPHT=32\n")), KeyError,
     "a.settings:2: error: no port or parameter is named DEPHT (did you mean DEPTH?)"),
    (lambda v, tmp: v.load_settings(tmp / "none.settings"), OSError, "none.settings: error: cannot read"),
    (lambda v, tmp: v.save_settings(tmp / "no" / "x.settings"), OSError, "cannot save the settings to"),
    (lambda v, tmp: v.eval("WIDTH +* ("), ValueError, "expression: warning: parse error"),
    (lambda v, tmp: v.eval("WIDTH", "txt"), ValueError, "not txt (did you mean text?)"),
    (lambda v, tmp: v.ranges("dout_x"), KeyError, "no port is named dout_x"),
    (lambda v, tmp: v.wizard_map("maps"), KeyError, "no wizard map is named maps"),
    (lambda v, tmp: v.stimulus("cycle", 0), KeyError, "no stimulus vector is named cycle"),
    (lambda v, tmp: v.explain("DEPHT"), KeyError, "did you mean DEPTH?"),  # a query: it runs first, as they do
    (lambda v, tmp: v.fix(keep=["NOSUCH"]), KeyError, "no port or parameter is named NOSUCH"),
    (lambda v, tmp: v.fix(keep=(name for name in ["WIDTH", "NOSUCH"]), dry_run=True), KeyError, "NOSUCH"),
    (lambda v, tmp: v.fix(keep="WIDTH"), TypeError, "not a single str"),
    (lambda v, tmp: v.generate("cobol"), ValueError,
     "lang must be verilog, systemverilog, vhdl, c or json, not 'cobol'"),
    (lambda v, tmp: v.generate("c", stub=True), ValueError, "stub applies to"),
    (lambda v, tmp: v.generate("verilog"), ValueError, "which is incompatible"),  # an invalid configuration
    (lambda v, tmp: v.generate("c", export=["ADDR_WDTH"]), KeyError, "(did you mean ADDR_WIDTH?)"),
    (lambda v, tmp: v.sweep(vary=["NOSUCH"]), KeyError, "no port or parameter named 'NOSUCH'"),
    (lambda v, tmp: v.sweep(vary=["clk"], corners=True), ValueError, "corners take integer and string parameters"),
    (lambda v, tmp: v.sweep(corners=True, random=3), ValueError, "corners or random draws, not both"),
    (lambda v, tmp: v.sweep(vary=["DEPTH"], valid_only=True), ValueError, "valid_only applies to random draws"),
    (lambda v, tmp: v.sweep(), ValueError, "a sweep needs vary, random or corners"),
    (lambda v, tmp: v.sweep(random=-1), ValueError, "random takes a count of draws, 0 or more"),
    (lambda v, tmp: v.sweep(vary="DEPTH"), TypeError, "not a single str"),
    (lambda v, tmp: each_allocation_failing(v.eval, b"bl\xffck"), MemoryError, "allocations"),  # not UTF-8: in an error
    (lambda v, tmp: each_allocation_failing(v.eval, "MEMORY_TYPE"), MemoryError, "allocations"),  # and in an answer
]


def each_allocation_failing(function, *arguments):
    """function(*arguments) unhindered, then with each allocation of Python's heap failing in turn (CPython's test
    hooks): each answers as the first or raises MemoryError, never else nor crashes; then raises MemoryError."""
    hooks, outcomes = pytest.importorskip("_testcapi"), []
    for n in [None, *range(100)]:
        try:  # here, not in a frame between: an exception through one more frame may come out as SystemError
            n is None or hooks.set_nomemory(n, n + 1)
            outcome = function(*arguments)
        except Exception as error:  # pylint: disable=broad-except
            outcome = error
        finally:
            hooks.remove_mem_hooks()
        outcomes.append((type(outcome), str(outcome)) if isinstance(outcome, Exception) else outcome)
    assert (MemoryError, "") in outcomes and set(outcomes) <= {outcomes[0], (MemoryError, "")}, set(outcomes)
    raise MemoryError("failing allocations")


def write(path, data):
    path.write_bytes(data)
    return path


@pytest.mark.parametrize("call,error,text", ERRORS, ids=[f"{i}-{case[1].__name__}" for i, case in enumerate(ERRORS)])
def test_errors_raise_as_documented_and_change_nothing(tmp_path, call, error, text):
    validator = configured("fifo.xml", settings=[("WIDTH", "12"), ("MEMORY_TYPE", b"\xff")])
    before = [(p.name, p.value, p.usage) for p in validator.parameters + validator.ports]
    raises(lambda: call(validator, tmp_path), error, text)
    assert [(p.name, p.value, p.usage) for p in validator.parameters + validator.ports] == before


def test_load_error_carries_located_messages(tmp_path):
    with pytest.raises(kova_rules.LoadError) as caught:
        kova_rules.load(write(tmp_path / "bad.xml", b"<model>\n<object\n"))
    assert [(m.severity, m.kind, m.line is not None) for m in caught.value.messages] == [("error", "load", True)]


def test_copies_are_independent():
    original = configured("fifo.xml")
    copy = original.copy()
    copy.set("WIDTH", "40")
    assert (original.run().valid, copy.run().valid) == (True, True)
    width = lambda v: [p.value for p in v.parameters if p.name == "WIDTH"]
    assert (width(original), width(copy)) == (["8"], ["40"])


# One configuration per thread: (settings file, extra settings).
THREAD_CASES = [("ram-dual.settings", []), ("ram-conflicts.settings", []), ("ram-dual.settings", [("WIDTH", "13")]),
                ("ram-conflicts.settings", [("MODE", "SINGLE")])]


def outcome(validator, settings, extra, rounds):
    validator.load_settings("examples/" + settings)
    for name, value in extra:
        validator.set(name, value)
    return [(result.valid, [str(m) for m in result.messages]) for result in (validator.run() for _ in range(rounds))]


def test_threads_on_their_own_copies_and_on_one_shared_validator():
    loaded = kova_rules.load("examples/ram.xml")
    alone = [outcome(loaded.copy(), settings, extra, 200) for settings, extra in THREAD_CASES]
    # Half of the threads load their own validator, so that loads run in parallel too.
    own = [loaded.copy, lambda: kova_rules.load("examples/ram.xml")]
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        together = list(pool.map(lambda i: outcome(own[i % 2](), *THREAD_CASES[i], 200), range(len(THREAD_CASES))))
    assert together == alone
    assert len({repr(results) for results in together}) == len(THREAD_CASES)  # four different answers
    # In a fresh interpreter, so that explain() is first called there; a hang fails on the timeout.
    shared = subprocess.run([sys.executable, str(SOURCE / "tests" / "python" / "shared_validator_threads.py"), "300"],
                            capture_output=True, text=True, check=False, timeout=30)
    assert (shared.returncode, shared.stdout) == (0, "3600 answers checked\n"), shared.stderr


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def test_memory_stays_flat_over_many_load_run_release_cycles():
    def cycle():
        validator = kova_rules.load("examples/ram.xml")
        validator.load_settings("examples/ram-conflicts.settings")
        result = validator.run()
        return [message.text for message in result.messages]

    for _ in range(500):  # allocator pools and caches reach their steady size
        cycle()
    before = resident_bytes()
    for _ in range(10_000):
        cycle()
    growth = resident_bytes() - before
    # A leak of 100 bytes per cycle would show as 1 MB.
    assert growth < 1 << 20, f"resident memory grew by {growth} bytes over 10,000 cycles"


def test_texts_that_are_not_utf8_round_trip(tmp_path):
    validator = configured("fifo.xml")
    validator.set("MEMORY_TYPE", b"bl\xffck\xef\xbf\xbd")
    value = [p.value for p in validator.parameters if p.name == "MEMORY_TYPE"][0]
    assert value == "bl\ufffdFFck\ufffd\ufffd"
    result = validator.run()
    assert any("bl\ufffdFFck" in m.text for m in result.messages)
    again = configured("fifo.xml", settings=[("MEMORY_TYPE", value)])
    assert [p.value for p in again.parameters if p.name == "MEMORY_TYPE"] == [value]
    # Saved in full, the settings load back to the same state; minimal, only what differs from the defaults.
    validator.save_settings(tmp_path / "full.settings")
    validator.save_settings(tmp_path / "minimal.settings", minimal=True)
    assert (tmp_path / "minimal.settings").read_bytes() == b'# kova settings\nMEMORY_TYPE="bl\\xFFck\xef\xbf\xbd"\n'
    reloaded = kova_rules.load("examples/fifo.xml")
    assert reloaded.load_settings(tmp_path / "full.settings") == []
    state = lambda v: [(o.name, o.value, o.usage) for o in v.parameters + v.ports]
    assert state(reloaded) == state(validator)
    raises(lambda: kova_rules.load(b"examples/fifo\xff.xml"), kova_rules.LoadError, "examples/fifo\ufffdFF.xml")


def readme_block(opening, after=None):
    """The lines of the README's first block opened by the line opening after the line after."""
    lines = (SOURCE / "README.md").read_text().splitlines()
    start = lines.index(opening, lines.index(after) if after else 0) + 1
    return lines[start:lines.index("```", start)]


def test_example_script_prints_what_the_readme_shows():
    script = SOURCE / "examples" / "python" / "validate_examples.py"
    run = subprocess.run([sys.executable, str(script)], capture_output=True, text=True, check=False)
    command = "PYTHONPATH=build/python python3 examples/python/validate_examples.py"
    assert (run.returncode, run.stdout.splitlines()) == (1, readme_block("```text", command))  # some are invalid


def test_readme_python_example_runs(capsys):
    exec("\n".join(readme_block("```python")), {})
    printed = capsys.readouterr().out.splitlines()
    assert printed[0] == "invalid"
    assert printed[1].startswith("error examples/ram.xml 20 Parameter DEPTH has been assigned the value 300")


CONFLICTS = [name for name in SETTINGS_FILES if "conflicts" in name]


@pytest.mark.parametrize("settings", CONFLICTS)
def test_explain_fix_and_generate(settings):
    dry = configured(settings.split("-")[0] + ".xml", [settings])
    repair = dry.fix(dry_run=True)
    changes = repair.changes
    assert changes and all(len(change) == 4 for change in changes)
    assert (repair.valid, repair.gave_up, repair.reason, repair.runs > 0) == (True, False, None, True)
    assert repair.to_dict()["changes"][0]["name"] == changes[0][0]
    assert dry.explain(changes[0][0])["object"]["name"] == changes[0][0] and not dry.run().valid  # left as it was
    assert dry.fix().changes == changes and dry.run().valid is True
    assert dry.generate("verilog").startswith("// ") and json.loads(dry.generate("json"))["valid"] is True


# (description, sweep's arguments, the tool's)
SWEEPS = [
    ("fifo.xml", {"corners": True}, ["--corners"]),
    ("fifo.xml", {"corners": True, "vary": ["DEPTH", "WIDTH=4..9"]}, ["--corners", "--vary", "DEPTH", "--vary", "WIDTH=4..9"]),
    ("uart.xml", {"random": 6, "seed": 3, "valid_only": True}, ["--random", "6", "--seed", "3", "--valid-only"]),
]


@pytest.mark.parametrize("description,arguments,options", SWEEPS)
def test_sweep_gives_what_the_tool_gives(description, arguments, options):
    # The validator's own settings do not reach the sweep, which starts from the defaults.
    validator = configured(description, settings=[("BAUD_RATE" if "uart" in description else "DEPTH", "9600" if "uart" in description else "64")])
    results = [(r["index"], r["settings"], r["valid"], r["draws"] or None, r["draws"] and r["repaired"])
               for r in validator.sweep(**arguments)]
    lines = subprocess.run([TOOL, "sweep", "examples/" + description, "--format", "jsonl"] + options,
                           capture_output=True, check=True).stdout.decode().splitlines()
    documents = [json.loads(line) for line in lines]
    assert results == [(d["index"], d["settings"], d["valid"], d.get("draws"), d.get("repaired", 0))
                       for d in documents]
    assert all(r[2] for r in results) or "random" not in arguments


@pytest.mark.parametrize("fix", [False, True])
def test_migrate_gives_what_the_tool_gives(tmp_path, fix):
    old, to = "examples/versions/uart-v1.settings", "examples/versions/uart-v2.xml"
    validator = kova_rules.load(to)
    validator.set("STOP_BITS", "2")  # the migration starts from the defaults
    answer = validator.migrate(old, fix=fix)
    command = [TOOL, "migrate", old, "--to", to, "--format", "json"] + (["--fix"] if fix else [])
    assert answer == json.loads(subprocess.run(command, capture_output=True, check=False).stdout)
    assert validator.run().valid is answer["valid"] is fix  # the validator holds the migrated configuration
    with pytest.raises(OSError):
        validator.migrate(tmp_path / "missing.settings")
