#!/usr/bin/env python3
"""Runs kova with --format json for every subcommand over the bundled examples (valid and invalid configurations,
failures, texts that are not UTF-8) and checks each document against docs/kova.schema.json and the exit-status rules
of docs/json.md; every line of batch and sweep with --format jsonl likewise; and every route of kova serve. Altered
documents must be rejected, so that a schema that lets everything through fails too.

Usage: check_json_schema.py KOVA SOURCE_DIR; exits 1 on any failure."""
import copy
import json
import os
import shutil
import subprocess
import sys
import tempfile

try:
    import jsonschema
except ImportError:
    sys.exit("check_json_schema: python3 jsonschema is missing (scripts/setup-deps installs it)")

ESCAPED_FF = "\ufffdFF"  # the safe form of the byte 0xFF


def cases(examples, odd):
    """(arguments, expected exit status, text the output must hold or None, None for --format json or the number of
    lines of --format jsonl). Arguments are bytes or str; odd holds copies of the examples named with a byte 0xFF."""
    ram, fifo, counter, uart = (os.path.join(examples, name + ".xml") for name in ("ram", "fifo", "counter", "uart"))
    data = os.path.join(examples, "..", "tests", "data")
    conflicts = os.path.join(examples, "ram-conflicts.settings")
    deep, fifo_conflicts, missing = (os.path.join(examples, n + ".settings")
                                     for n in ("fifo-deep", "fifo-conflicts", "missing"))
    v1, v2, old, lab, fast = (os.path.join(examples, "versions", name) for name in (
        "uart-v1.xml", "uart-v2.xml", "uart-v1.settings", "uart-v2.settings", "uart-v2-fast.settings"))
    documents = [
        (["show", ram], 0, None), (["diff", v1, v2], 1, '"change": "renamed"'), (["diff", v2, v2], 0, '"changes": []'),
        (["diff", lab, fast, "--description", v2], 1, '"what": "value"'),
        (["diff", lab, lab, "--description", v2], 0, '"differences": []'), (["diff", lab, v2], 2, "is no description"),
        (["migrate", old, "--to", v2], 1, '"status": "illegal"'), (["migrate", lab, "--to", v2], 0, '"complete": true'),
        (["migrate", missing, "--to", v2], 2, '"command": "migrate"'),
        (["show", counter, "--help-texts"], 0, '"kind": "wizard_map"'),
        (["show", uart, "--origin", "--set", "PARITY=EVEN", "--set", "DATA_BITS=9", "--constant", "rxd=1"], 0,
         '"was": "9"'),
        (["show", ram, "--origin", "--settings", os.path.join(examples, "ram-dual.settings")], 0, '"source": "file"'),
        (["explain", fifo, "DEPTH"], 0, '"label": "Depth"'),
        (["validate", ram, "--settings", conflicts], 1, "value-conflict"),
        (["eval", fifo, "ceil_log(DEPTH)", "--set", "DEPTH=512"], 0, None),
        (["eval", ram, "DEPTH ; 2"], 1, "unplaced-character"), (["deps", fifo, "DEPTH"], 0, None),
        (["deps", fifo, "--expr", "WIDTH gt 8"], 0, None),
        (["wizard-map", counter, "generics", "--set", "WIDTH=12", "--set", "DIRECTION=down"], 0, None),
        (["wizard-map", counter], 0, '"maps": ['),
        (["stimulus", counter, "count_cycle", "--time", "50", "--set", "DIRECTION=both"], 1, "usage-conflict"),
        (["widths", fifo, "--set", "WIDTH=32", "--set", "DEPTH=512"], 0, None),
        (["ranges", fifo, "--set", "MEMORY_TYPE=distributed"], 0, '"ports": ['),
        (["ranges", fifo, "prog_full_thresh", "--set", "MEMORY_TYPE=distributed"], 0, '"values": ['),
        (["messages", fifo, "--set", "MEMORY_TYPE=distributed", "--set", "WIDTH=72"], 0, None),
        (["simlib", fifo, "--set", "MEMORY_TYPE=distributed"], 0, None), (["lint", fifo], 0, '"warnings": 0'),
        (["lint", os.path.join(data, "lint-mistakes.xml"), "--werror"], 1, '"check": "precedence"'),
        (["lint", fifo, "--disable", "nosuch"], 2, "no check is named nosuch"),
        (["validate", os.path.join(data, "uart.xml")], 1, '"kind": "reads"'),
        (["generate", ram, "--lang", "json"], 0, '"language": "json"'),
        (["generate", fifo, "--lang", "verilog"], 0, '"text": "// sync_fifo_cfg: sync_fifo as configured.'),
        (["generate", ram, "--settings", conflicts, "--lang", "c"], 1, '"text": null'),
        (["generate", ram, "--lang", "c", "--stub"], 2, "--stub applies to verilog"),
        (["explain", ram, "BYTE_ENABLES", "--settings", conflicts], 1, '"conflict": "check-failed"'),
        (["explain", ram, "WE_WIDTH"], 0, '"kind": "call"'),
        (["explain", fifo, "prog_full_thresh"], 0, '"effect": "port-values"'),
        (["explain", ram, "DEPHT"], 2, "did you mean DEPTH?"),
        (["fix", ram, "--settings", conflicts], 0, '"reason": "legal: 16|32|64|128|256|512|1024"'),
        (["fix", fifo, "--set", "ALMOST_FULL_LEVEL=0", "--keep", "ALMOST_FULL_LEVEL"], 1, '"gave_up": true'),
        (["fix", fifo, "--keep", "NOSUCH"], 2, '"command": "fix"'),
        # Failures: exit 2 and an error document.
        (["show", os.path.join(examples, "missing.xml")], 2, '"kind": "load"'), (["nosuch", ram], 2, '"command": ""'),
        (["validate", ram, "--set", "bad"], 2, '"kind": "setting"'),
        (["validate", ram, "--settings", missing], 2,
         "cannot read the settings file %s: No such file or directory" % missing),
        # A subcommand whose own arguments do not parse is named.
        (["validate"], 2, '"command": "validate"'),
        (["fix", ram, "--budget", "0"], 2, '"error": "--budget: must be above 0"'),
        # An expression is in no file.
        (["eval", fifo, "WIDTH +* ("], 1, '"file": null'),
        (["validate", ram, "--set", "DEPTH=32abc", "--constant", "dina=0x1FFFF"], 0, "the port is held at 0xFF"),
        # Texts that are not UTF-8: a description and a settings file named with a byte 0xFF, and a value holding one.
        (["validate", odd["ram"], "--settings", odd["conflicts"], "--set", b"MODE=a\xffb"], 1, ESCAPED_FF),
        (["show", odd["ram"]], 0, ESCAPED_FF), (["validate", odd["ram"], "--settings", odd["broken"]], 2, ESCAPED_FF),
    ]
    # (arguments, expected exit status, number of lines, text some line must hold; lines are written without spaces)
    lines = [
        (["batch", fifo, deep, fifo_conflicts, "--jobs", "2"], 1, 2, '"settings_file":'),
        (["batch", fifo, deep, missing, odd["broken"]], 2, 3, '"error":"cannot read the settings file'),
        (["batch", os.path.join(examples, "missing.xml"), deep], 2, 1, '"kind":"load"'),
        (["sweep", fifo, "--vary", "DEPTH=16|1000", "--vary", "MEMORY_TYPE"], 0, 4, '"kind":"value-conflict"'),
        (["sweep", fifo, "--random", "5", "--seed", "3", "--shard", "1/2"], 0, 2, '"index":3'),
        (["sweep", fifo, "--vary", "data_count=CONSTANT:x"], 2, 1, '"index":0'),
        (["sweep", fifo, "--vary", "NOSUCH"], 2, 1, '"command":"sweep"'),
        (["sweep", fifo, "--vary", "DEPTH", "--shard", "2/2"], 2, 1, "--shard takes I/N"),
        (["sweep", odd["ram"], "--vary", b"MODE=a\xffb"], 0, 1, ESCAPED_FF),
        (["sweep", fifo, "--corners", "--jobs", "2"], 0, 7, '"settings":{}'),
        (["sweep", uart, "--random", "3", "--valid-only"], 0, 3, '"repaired":'),
        # A subcommand whose own arguments do not parse is named.
        (["validate", fifo], 2, 1, '"command":"validate"'), (["batch", fifo], 2, 1, '"command":"batch"'),
    ]
    return [(a, s, w, None) for a, s, w in documents] + [(a, s, w, n) for a, s, n, w in lines]


def odd_copies(examples, folder):
    """ram.xml (with its include), ram-conflicts.settings and a bad settings file named with a byte 0xFF."""
    odd = {key: os.path.join(os.fsencode(folder), name) for key, name in
           (("ram", b"r\xffam.xml"), ("conflicts", b"c\xff.settings"), ("broken", b"b\xff.settings"))}
    shutil.copyfile(os.path.join(examples, "ram.xml"), odd["ram"])
    shutil.copyfile(os.path.join(examples, "ram_ecc.xml"), os.path.join(folder, "ram_ecc.xml"))
    shutil.copyfile(os.path.join(examples, "ram-conflicts.settings"), odd["conflicts"])
    with open(odd["broken"], "wb") as out:
        out.write(b"MODE=DUAL\nnot a setting\n")
    return odd


def shown(arguments):
    """The arguments as one line, files by their base name, stray bytes as \\xFF."""
    words = [os.fsencode(a).decode("utf-8", "backslashreplace") for a in arguments]
    return " ".join(os.path.basename(w) if os.sep in w else w for w in words)


def problems_of(validator, kova, arguments, status, wanted, lines=None):
    """The problems of one run and its (first) document: with --format json when lines is None, else with --format
    jsonl and that many lines."""
    argv = [os.fsencode(a) for a in [kova, *arguments, "--format", "json" if lines is None else "jsonl"]]
    run = subprocess.run(argv, capture_output=True, timeout=30)
    problems = [] if run.returncode == status else ["exit %d, expected %d" % (run.returncode, status)]
    try:
        text = run.stdout.decode("utf-8")
        documents = [json.loads(line) for line in ([text] if lines is None else text.splitlines())]
    except ValueError as error:
        return problems + ["standard output is not one JSON document per line: %s" % error], None
    if lines is not None and len(documents) != lines:
        problems.append("%d lines, expected %d" % (len(documents), lines))
    for number, document in enumerate(documents, 1):
        problems += ["line %d: %s" % (number, e.message) for e in validator.iter_errors(document)]
    # Exit 2 exactly when the document is a failure document; exit 0 only when nothing is wrong.
    if lines is None and isinstance(documents[0], dict):
        document = documents[0]
        if ("error" in document) != (run.returncode == 2):
            problems.append("exit %d with%s an error member" % (run.returncode, "" if "error" in document else "out"))
        if run.returncode == 0 and (document.get("valid") is False or
                                    any(m.get("severity") == "error" for m in document.get("messages", []))):
            problems.append("exit 0 with an invalid verdict or an error message")
    if wanted is not None and wanted not in text:
        problems.append("the output does not hold %r" % wanted)
    return problems, documents[0] if documents else None


VALIDATOR = None  # the schema's validator, once main has read it

# Every route of kova serve: (path, request body or None for GET, status, command of the answer).
ROUTES = [
    ("/api/model", None, 200, "model"),
    ("/api/load", {"text": "WIDTH=16\nDEPTH=32\n", "file": "a.settings"}, 200, "load"),
    ("/api/load", {"text": "WIDTH=16\n=3\n", "file": "b.settings"}, 400, "load"),
    ("/api/validate", {"settings": {"MODE": "DUAL"}}, 200, "validate"),
    ("/api/explain", {"name": "DEPTH"}, 200, "explain"), ("/api/explain", {"name": "DEPHT"}, 404, "explain"),
    ("/api/fix", {"settings": {"MODE": "DUAL"}}, 200, "fix"), ("/api/widths", {}, 200, "widths"),
    ("/api/messages", {}, 200, "messages"), ("/api/generate", {"lang": "vhdl"}, 200, "generate"),
    ("/api/generate", {"lang": "c", "stub": True}, 400, "generate"), ("/api/ranges", {}, 200, "ranges"),
    ("/api/simlib", {}, 200, "simlib"), ("/api/wizard-map", {}, 200, "wizard-map"),
    ("/api/settings", {"minimal": True}, 200, "settings"),
    ("/api/states", {"settings": {"MODE": "DUAL", "DEPTH": "300"}}, 200, "states"),
    ("/api/refresh", {"settings": {"MODE": "DUAL", "DEPTH": "300"}}, 200, "refresh"),
]


def served_documents(kova, source):
    """[(route, problems)] for every route of kova serve on ram.xml with starting settings (the server suite's Server);
    None when it does not start. The model document is the second member of the answer."""
    sys.path.insert(0, os.path.join(source, "tests", "serve"))
    import test_server  # pylint: disable=import-outside-toplevel
    test_server.KOVA, test_server.SOURCE = kova, source
    server = test_server.Server("--settings", os.path.join(source, "examples", "ram-dual.settings"))
    outcomes, model = [], None
    try:
        if server.port is None:
            return None, None
        for path, body, status, command in ROUTES:
            answer = server.request("GET", path) if body is None else server.post(path, body)
            document = json.loads(answer[2])
            model = document if command == "model" else model
            outcomes.append(("kova serve %s %s" % (path, json.dumps(body)), (
                ["status %d, not %d" % (answer[0], status)] if answer[0] != status else []) + (
                ["command %r" % document.get("command")] if document.get("command") != command else []) + [
                e.message for e in VALIDATOR.iter_errors(document)]))
        return outcomes, model
    finally:
        server.stop()


# Changes that the schema must reject, to a model document, a validate document and a sweep line.
ALTERATIONS = {
    "model document": [
        ("setting_as_number", lambda d: d["settings"].update(WIDTH=32)),
        ("objects_missing", lambda d: d.pop("objects")), ("port_as_text", lambda d: d["objects"][0].update(port="yes")),
        ("help_missing", lambda d: d["objects"][0].pop("help"))],
    "document": [
        ("extra_member", lambda d: d.update(extra=1)), ("verdict_as_text", lambda d: d.update(valid="false")),
        ("line_as_text", lambda d: d["messages"][0].update(line="3")),
        ("message_member_missing", lambda d: d["messages"][0].pop("setting")),
        ("lone_escape", lambda d: d.update(description=d["description"] + "\ufffd"))],
    "sweep line": [
        ("index_missing", lambda d: d.pop("index")), ("setting_as_number", lambda d: d["settings"].update(DEPTH=16)),
        ("batch_member_in_sweep", lambda d: d.update(settings_file="x.settings")),
        ("draws_without_repaired", lambda d: d.update(draws=1)),
        ("draws_as_zero", lambda d: d.update(draws=0, repaired=False))],
}


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: check_json_schema.py KOVA SOURCE_DIR")
    kova, source = sys.argv[1], sys.argv[2]
    examples = os.path.join(source, "examples")
    with open(os.path.join(source, "docs", "kova.schema.json"), encoding="utf-8") as schema_file:
        schema = json.load(schema_file)
    jsonschema.Draft202012Validator.check_schema(schema)
    global VALIDATOR  # pylint: disable=global-statement
    validator = VALIDATOR = jsonschema.Draft202012Validator(schema)
    outcomes = []  # (what, problems)
    altered = {}  # what: the first document of its kind
    with tempfile.TemporaryDirectory(prefix="kova-json-") as folder:
        odd = odd_copies(examples, folder)
        for arguments, status, wanted, lines in cases(examples, odd):
            problems, document = problems_of(validator, kova, arguments, status, wanted, lines)
            kind = {("validate", 1, True): "document", ("sweep", 0, False): "sweep line"}.get(
                (arguments[0], status, lines is None))
            if kind and document:
                altered.setdefault(kind, document)
            outcomes.append((shown(arguments) + ("" if lines is None else " --format jsonl"), problems))

    served, model = served_documents(kova, source)
    outcomes += served or [("kova serve", ["it did not start"])]
    dual = {"DEPTH": "512", "WIDTH": "32", "MODE": "DUAL", "BYTE_ENABLES": "1", "clkb": "USED", "addrb": "USED",
            "doutb": "USED"}  # examples/ram-dual.settings
    outcomes.append(("kova serve's starting settings", [] if model and model["settings"] == dual else [str(model)]))
    altered["model document"] = model
    for what, changes in ALTERATIONS.items():
        if not altered.get(what):
            outcomes.append(("no %s to alter" % what, ["missing"]))
        for name, change in changes if altered.get(what) else ():
            document = copy.deepcopy(altered[what])
            change(document)
            outcomes.append(("altered %s rejected: %s" % (what, name),
                             ["accepted"] if validator.is_valid(document) else []))

    for what, problems in outcomes:
        print("%s %s%s" % ("FAIL" if problems else "ok  ", what, "".join("\n     " + p for p in problems)))
    failed = sum(bool(problems) for _, problems in outcomes)
    print("%d passed, %d failed" % (len(outcomes) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
