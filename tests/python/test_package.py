"""The kova_rules package as scripts use it: results and messages as
values (truth, length, iteration, equality, to_dict, pickling), repairs,
objects by name with their legal values, several settings at once,
validators pickled into worker processes, the version, the Literal types
of the stubs, and the example scripts of examples/python/ against the
kova tool.

Run from ctest as test_kova_rules.py is (PYTHONPATH, KOVA_TOOL)."""
import concurrent.futures
import copy
import json
import pickle
import re
import shutil
import subprocess
import sys
import typing

import pytest

import kova_rules
from test_kova_rules import SETTINGS_FILES, SOURCE, TOOL, configured, raises, write


@pytest.fixture(autouse=True)
def in_source_folder(monkeypatch):
    monkeypatch.chdir(SOURCE)


def described(settings):
    return configured(settings.split("-")[0] + ".xml", [settings])


@pytest.mark.parametrize("settings", SETTINGS_FILES)
def test_results_and_messages_are_values(settings):
    validator = described(settings)
    result, again = validator.run(), validator.copy().run()
    assert (bool(result), len(result), list(result)) == (result.valid, len(result.messages), result.messages)
    assert result == again and result.messages == again.messages and result is not again
    assert described(settings).run().to_dict() == result.to_dict()  # built after its validator is gone
    for value in (result, *result.messages):
        loaded = pickle.loads(pickle.dumps(value))
        assert loaded == value and loaded.to_dict() == value.to_dict() and str(loaded) == str(value)
    assert len({hash(m) for m in result.messages}) == len(set(map(str, result.messages)))
    validator.set("WIDTH", 9 if validator["WIDTH"].value != "9" else 10)  # a change the document shows
    assert validator.run() != result and result != result.to_dict()


# (settings to apply, the exception, a part of its text): set_many applies all or nothing, one report for all
SET_MANY = [
    ({"WIDTH": 12, "DEPTH": "64", "din": "UNUSED"}, None, ""),
    ({"WIDTH": 12, "DEPHT": 64}, KeyError, "no port or parameter is named DEPHT (did you mean DEPTH?)"),
    ({"WIDTH": 12, "din": "maybe", "DEPHT": 64}, ValueError, "port din takes USED"),  # both reported at once
    ({"WIDTH": 12, "din": "maybe", "DEPHT": 64}, ValueError, "DEPHT"),
    ([("WIDTH", 12)], TypeError, "expected a mapping"),
    ({"WIDTH": [12]}, TypeError, "expected str or bytes"),
]


@pytest.mark.parametrize("settings,error,text", SET_MANY)
def test_set_many_applies_all_or_nothing(settings, error, text):
    validator = configured("fifo.xml")
    state = lambda: [(o.name, o.value, o.usage) for o in validator.parameters + validator.ports]
    before = state()
    if error:
        raises(lambda: validator.set_many(settings), error, text)
        assert state() == before
    else:
        validator.set_many(settings)
        assert [validator[name].usage if name == "din" else validator[name].value for name in settings] == \
            ["12", "64", "UNUSED"]


def test_missing_settings_file_is_file_not_found(tmp_path):
    missing = tmp_path / "gone.settings"
    with pytest.raises(FileNotFoundError, match="gone.settings") as caught:
        configured("fifo.xml").load_settings(missing)
    assert caught.value.filename == str(missing)


# (description, name, what v[name] gives: name, port, legal values)
ITEMS = [
    ("fifo.xml", "WIDTH", ("WIDTH", False, range(1, 257))),
    ("fifo.xml", "DEPTH", ("DEPTH", False, [16, 32, 64, 128, 256, 512])),
    ("fifo.xml", "MEMORY_TYPE", ("MEMORY_TYPE", False, ["block", "distributed"])),
    ("fifo.xml", "din", ("din", True, None)),
]


@pytest.mark.parametrize("description,name,expected", ITEMS)
def test_objects_by_name_with_their_legal_values(description, name, expected):
    state = configured(description)[name]
    assert (state.name, state.is_port, state.legal_values) == expected


def test_unknown_name_is_key_error_with_the_nearest():
    raises(lambda: configured("fifo.xml")["DEPHT"], KeyError, "(did you mean DEPTH?)")


def configuration(validator):
    return [(o.name, o.value, o.usage) for o in validator.parameters + validator.ports]


def run_in_worker(validator):
    return validator.run(), configuration(validator)


def test_validators_pickle_into_worker_processes():
    validators = [described(name) for name in SETTINGS_FILES]
    validators[0].set("WIDTH", b"13")
    for validator in validators:
        loaded = pickle.loads(pickle.dumps(validator))
        assert (loaded.description, configuration(loaded)) == (validator.description, configuration(validator))
        assert configuration(copy.deepcopy(validator)) == configuration(validator)
    with concurrent.futures.ProcessPoolExecutor(max_workers=2) as pool:
        remote = list(pool.map(run_in_worker, validators))
    assert remote == [run_in_worker(validator) for validator in validators]


def test_version_is_the_tools():
    tool = subprocess.run([TOOL, "--version"], capture_output=True, text=True, check=True).stdout
    assert tool == f"kova {kova_rules.__version__}\n" and re.fullmatch(r"\d+\.\d+\.\d+", kova_rules.__version__)


def test_literal_types_name_every_text_the_records_give():
    kinds, usages = set(), set()
    for settings in SETTINGS_FILES:
        validator = described(settings)
        kinds |= {m.kind for m in validator.run()}
        usages |= {u for o in validator.ports + validator.parameters for u in (o.usage, o.alt_usage, o.model_usage)}
    assert kinds <= set(typing.get_args(kova_rules.Kind)) and "value-conflict" in kinds
    assert usages <= set(typing.get_args(kova_rules.Usage))
    assert set(typing.get_args(kova_rules.Severity)) == {"error", "warning", "note"}


def example(name, *arguments, cwd=None):
    script = SOURCE / "examples" / "python" / name
    return subprocess.run([sys.executable, str(script), *map(str, arguments)], capture_output=True, text=True,
                          check=False, timeout=50, cwd=cwd)


def test_sweep_table_gives_what_kova_sweep_gives():
    names = ["DEPTH", "MEMORY_TYPE", "WIDTH", "data_count"]
    table = example("sweep_table.py", "examples/fifo.xml", *names)
    assert table.returncode == 0, table.stderr
    header, *rows = [line.split() for line in table.stdout.splitlines()]
    command = [TOOL, "sweep", "examples/fifo.xml", *[f"--vary={name}" for name in names], "--format", "jsonl"]
    lines = subprocess.run(command, capture_output=True, text=True, check=True).stdout.splitlines()
    expected = []
    for document in map(json.loads, lines):
        errors = sum(message["severity"] == "error" for message in document["messages"])
        expected.append([str(document["index"]), *map(str, document["settings"].values()),
                         "valid" if document["valid"] else "invalid", str(errors)])
    assert header == ["INDEX", *names, "VERDICT", "ERRORS"] and len(rows) == 6 * 2 * 3 * 2
    assert rows == expected and {row[-2] for row in rows} == {"valid", "invalid"}


# (the settings files copied beside fifo.xml, the CI check's exit status, what its last line says)
CI_FOLDERS = [
    (["fifo-deep.settings"], 0, "1 settings files: 1 valid, 0 invalid"),
    (["fifo-deep.settings", "fifo-conflicts.settings"], 1, "2 settings files: 1 valid, 1 invalid"),
    (["fifo-deep.settings", "fifo-broken.settings"], 2, ""),
]


@pytest.mark.parametrize("files,status,summary", CI_FOLDERS)
def test_ci_check_fails_on_an_invalid_configuration(tmp_path, files, status, summary):
    shutil.copy(SOURCE / "examples" / "fifo.xml", tmp_path)
    for name in files:
        source = SOURCE / "examples" / name
        write(tmp_path / name, source.read_bytes() if source.exists() else b"DEPHT=64\n")
    check = example("validate_examples.py", tmp_path)
    assert (check.returncode, (check.stdout.splitlines() or [""])[-1]) == (status, summary), check.stderr


def test_repair_and_generate_compiles_the_wrapper(tmp_path):
    if shutil.which("iverilog") is None:
        pytest.skip("iverilog is not installed (scripts/setup-deps installs it)")
    flow = example("repair_and_generate.py", "examples/fifo.xml", "examples/fifo-conflicts.settings", tmp_path,
                   "MEMORY_TYPE", cwd=SOURCE)
    assert flow.returncode == 0, flow.stdout + flow.stderr
    assert re.search(r"^DEPTH: 1000 -> \d+ ", flow.stdout, re.M) and "compile" in flow.stdout.splitlines()[-1]
    repaired = configured("fifo.xml")
    repaired.load_settings(tmp_path / "repaired.settings")
    assert repaired.run() and repaired["MEMORY_TYPE"].value == "distributed"
    assert (tmp_path / "wrapper.vvp").exists()
    gave_up = example("repair_and_generate.py", "examples/fifo.xml", "examples/fifo-conflicts.settings", tmp_path,
                      "DEPTH", "MEMORY_TYPE", "ALMOST_FULL_LEVEL", "WIDTH", cwd=SOURCE)
    assert gave_up.returncode == 1 and "the repair gave up" in gave_up.stderr, gave_up.stdout + gave_up.stderr
