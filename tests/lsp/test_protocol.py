#!/usr/bin/env python3
"""kova lsp over its raw protocol: one row per capability (diagnostics,
open buffers, hover, definition, symbols, completion, code actions,
references, rename and its refusals, settings files) and one per bad
message, each on a copy of block.xml and block_part.xml in a temporary
folder.

Usage: test_protocol.py KOVA SOURCE_DIR (python3 standard library only).
"""
import json
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest

KOVA = SOURCE = None
WAIT_SECONDS = 20


# Two precedence findings: the comparison on either side of the operator.
PRECEDENCE = """<model function="p">
  <object name="WIDTH" kind="integer" value="1-64" default="8" default_usage_state="USED">
    <rule type="legal_values" value="64" alt_value="1"/>
    <rule condition="WIDTH + 1 == 9 &amp;&amp; WIDTH gt 2" value="8"/>
  </object>
  <object name="DEPTH" kind="integer" value="1-64" default="8" lint_ignore="unenforced-values">
    <rule condition="DEPTH == max(WIDTH, 2) * 2" value="8"/>
  </object>
</model>
"""


class Client:
    """A kova lsp process; every frame it writes is read into a queue."""

    def __init__(self, options=None, initialize=True):
        self.process = subprocess.Popen([KOVA, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE)
        self.frames = queue.Queue()
        self.bad_output = []
        threading.Thread(target=self._read, daemon=True).start()
        self.next_id = 0
        if initialize:
            self.request("initialize", {"initializationOptions": options or {}})
            self.notify("initialized", {})

    def _read(self):
        out = self.process.stdout
        while True:
            header = b""
            while not header.endswith(b"\r\n\r\n"):
                byte = out.read(1)
                if not byte:
                    return
                header += byte
            if not header.startswith(b"Content-Length: "):
                self.bad_output.append(header)
                return
            length = int(header[len(b"Content-Length: "):].strip())
            self.frames.put(json.loads(out.read(length)))

    def write(self, data):
        self.process.stdin.write(data)
        self.process.stdin.flush()

    def send(self, message):
        body = json.dumps(message).encode()
        self.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)

    def notify(self, method, params):
        self.send({"jsonrpc": "2.0", "method": method, "params": params})

    def wait_for(self, wanted):
        while True:
            frame = self.frames.get(timeout=WAIT_SECONDS)
            if wanted(frame):
                return frame

    def request(self, method, params=None):
        """The whole response (result or error)."""
        self.next_id += 1
        identifier = self.next_id
        self.send({"jsonrpc": "2.0", "id": identifier, "method": method, "params": params or {}})
        return self.wait_for(lambda frame: frame.get("id") == identifier)

    def diagnostics(self, uri):
        return self.wait_for(lambda frame: frame.get("method") == "textDocument/publishDiagnostics"
                             and frame["params"]["uri"] == uri)["params"]["diagnostics"]

    def finish(self):
        """Exit status; stdout must have held frames only."""
        try:
            self.process.stdin.close()
            status = self.process.wait(timeout=WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            self.process.kill()
            status = self.process.wait()
        self.process.stdout.close()
        self.process.stderr.close()
        return status


class Folder(unittest.TestCase):
    """The test files in a fresh temporary folder, removed afterwards."""

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="kova-lsp-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        for name in ("block.xml", "block_part.xml"):
            shutil.copy(os.path.join(SOURCE, "tests", "lsp", name), self.folder)
        with open(self.path("block.settings"), "w") as out:
            out.write("WIDTH=12\nMODE=SLOW\n")
        self.clients = []

    def path(self, name):
        return os.path.join(self.folder, name)

    def uri(self, name):
        return "file://" + self.path(name)

    def text(self, name):
        with open(self.path(name)) as source:
            return source.read()

    def client(self, options=None):
        client = Client(options)
        self.clients.append(client)
        self.addCleanup(client.finish)
        return client

    def open(self, client, name, text=None):
        client.notify("textDocument/didOpen", {"textDocument": {
            "uri": self.uri(name), "languageId": "xml", "version": 1,
            "text": self.text(name) if text is None else text}})
        return client.diagnostics(self.uri(name))

    def at(self, name, line, character):
        return {"textDocument": {"uri": self.uri(name)}, "position": {"line": line, "character": character}}


class Capabilities(Folder):
    def test_diagnostics(self):
        """The lint finding on its token, then none once it is mended; an
        unsaved included buffer stands in for its file."""
        client = self.client()
        found = self.open(client, "block.xml")
        self.assertEqual([(d["code"], d["severity"], d["range"]["start"], d["range"]["end"]) for d in found],
                         [("unknown-name", 2, {"line": 14, "character": 52}, {"line": 14, "character": 57})])
        self.assertIn("did you mean WIDTH?", found[0]["message"])
        mended = self.text("block.xml").replace("WIDHT", "WIDTH")
        block = self.text("block.xml")
        cases = [
            # (label, method, document, its text, [(line, start, end, code, related places)] of block.xml)
            ("malformed", "textDocument/didChange", "block.xml", block.replace("</model>", "</mode"),
             [(23, 2, 6, None, 0)]),
            ("cycle", "textDocument/didChange", "block.xml",
             mended.replace('value="halve(WIDTH)"/>',
                            'value="TWICE"/><object name="TWICE" kind="hidden" value="HALF"/>'),
             [(11, 93, 97, "cycle", 1)]),
            ("after a two-unit character", "textDocument/didChange", "block.xml",
             block.replace('kind="out" width="PART_WIDTH"', 'label="\U0001D54F" kind="out" width="PART_WIDHT"'),
             [(12, 51, 61, "unknown-name", 0), (14, 52, 57, "unknown-name", 0)]),
            ("mended", "textDocument/didChange", "block.xml", mended, []),
            ("included buffer renames PART_WIDTH", "textDocument/didOpen", "block_part.xml",
             self.text("block_part.xml").replace("PART_WIDTH", "PART_W"), [(12, 40, 50, "unknown-name", 0)]),
        ]
        for label, method, name, text, wanted in cases:
            with self.subTest(label):
                document = {"uri": self.uri(name), "version": 2, "languageId": "xml", "text": text}
                client.notify(method, {"textDocument": document, "contentChanges": [{"text": text}]})
                got = client.diagnostics(self.uri("block.xml"))
                self.assertEqual([(d["range"]["start"]["line"], d["range"]["start"]["character"],
                                   d["range"]["end"]["character"], d.get("code"), len(d.get("relatedInformation", [])))
                                  for d in got], wanted)

    def test_requests(self):
        """Each request on the open description: a row of what is asked and
        what the answer must hold."""
        client = self.client({"settings": self.path("block.settings")})
        self.open(client, "block.xml")
        # A settings file is validated against NAME.xml beside it.
        found = self.open(client, "block.settings")
        self.assertEqual([(d["severity"], d["range"]["start"]["line"]) for d in found], [(1, 1)])
        self.assertIn("SLOW", found[0]["message"])
        part = {"uri": self.uri("block_part.xml"),
                "range": {"start": {"line": 3, "character": 16}, "end": {"line": 3, "character": 26}}}
        rows = [
            ("hover on a parameter", "textDocument/hover", self.at("block.xml", 14, 36),
             lambda r: all(s in r["contents"]["value"] for s in
                           ("**MODE** (string)", "legal values: `` FAST|SMALL ``", "default: `` FAST ``",
                            "Under " + self.path("block.settings"), "value: `` SLOW ``", "legal_values"))),
            ("hover on a macro call", "textDocument/hover", self.at("block.xml", 11, 45),
             lambda r: "body: `` WIDTH ceil_div 2 ``" in r["contents"]["value"]
             and "value: `` 6 ``" in r["contents"]["value"]),
            ("hover on a wizard map", "textDocument/hover", self.at("block.xml", 17, 22),
             lambda r: r["contents"]["value"].startswith("**generics** (wizard_map) — Generics\n\nThe generics")),
            ("hover on no name", "textDocument/hover", self.at("block.xml", 0, 1), lambda r: r is None),
            ("definition in the included file", "textDocument/definition", self.at("block.xml", 12, 42),
             lambda r: r == part),
            ("symbols", "textDocument/documentSymbol", {"textDocument": {"uri": self.uri("block.xml")}},
             lambda r: [(s["name"], s["detail"], s["kind"]) for s in r] ==
             [("WIDTH", "integer", 13), ("MODE", "string", 13), ("halve", "macro", 12), ("HALF", "hidden", 14),
              ("dout", "out", 11), ("din", "in", 11), ("generics", "wizard_map", 23), ("start", "vector", 24)]),
            ("completion in a rule text", "textDocument/completion", self.at("block.xml", 14, 52),
             lambda r: {"WIDTH", "halve(w)", "ceil_div", "==", "dout"} <= {i["label"] for i in r}),
            ("completion of a kind", "textDocument/completion", self.at("block.xml", 7, 29),
             lambda r: {"integer", "macro", "inout"} <= {i["label"] for i in r}),
            ("references across files", "textDocument/references",
             dict(self.at("block.xml", 3, 18), context={"includeDeclaration": False}),
             lambda r: sorted((l["uri"].rsplit("/", 1)[1], l["range"]["start"]["line"]) for l in r) ==
             [("block.xml", 11), ("block.xml", 18), ("block_part.xml", 3)]),
            ("rename across files", "textDocument/rename", dict(self.at("block.xml", 3, 18), newName="SIZE"),
             lambda r: sorted((u.rsplit("/", 1)[1], len(e)) for u, e in r["changes"].items()) ==
             [("block.xml", 3), ("block_part.xml", 1)]),
            # Hover and completion in a settings file give its names' legal values.
            ("hover in a settings file", "textDocument/hover", self.at("block.settings", 0, 2),
             lambda r: "legal values: `` 1-64 ``" in r["contents"]["value"]),
            ("completion in a settings file", "textDocument/completion", self.at("block.settings", 1, 5),
             lambda r: [i["label"] for i in r] == ["FAST", "SMALL"]),
            # A "!" before the method: the request is refused with an error.
            ("rename to a taken name", "!textDocument/rename", dict(self.at("block.xml", 3, 18), newName="MODE"),
             lambda e: "taken by the string MODE" in e["message"]),
            ("rename to no name", "!textDocument/rename", dict(self.at("block.xml", 3, 18), newName="two words"),
             lambda e: "is not a name" in e["message"]),
        ]
        for label, method, params, holds in rows:
            with self.subTest(label):
                answer = client.request(method.lstrip("!"), params)
                member = "error" if method.startswith("!") else "result"
                self.assertIn(member, answer, answer)
                self.assertTrue(holds(answer[member]), json.dumps(answer[member], indent=1))

    def test_code_actions(self):
        """Each finding's fixes: lint's suggestion, the parentheses a
        precedence finding asks for, its check added to lint_ignore (a new
        field, or before the names of one there is)."""
        with open(self.path("precedence.xml"), "w") as out:
            out.write(PRECEDENCE)
        client = self.client()
        self.open(client, "block.xml")
        self.open(client, "precedence.xml")
        rows = [
            ("block.xml", 14, [("Write WIDTH", "WIDTH", 52),
                               ("Leave unknown-name out for din (lint_ignore)", ' lint_ignore="unknown-name"', 9)]),
            ("precedence.xml", 3, [("Write (WIDTH + 1)", "(WIDTH + 1)", 21),
                                   ("Leave precedence out for WIDTH (lint_ignore)", ' lint_ignore="precedence"', 9)]),
            ("precedence.xml", 6, [("Write (max(WIDTH, 2) * 2)", "(max(WIDTH, 2) * 2)", 30),
                                   ("Leave precedence out for DEPTH (lint_ignore)", "precedence, ", 76)]),
        ]
        for name, line, wanted in rows:
            with self.subTest(name=name, line=line):
                answer = client.request("textDocument/codeAction", {
                    "textDocument": {"uri": self.uri(name)},
                    "range": {"start": {"line": line, "character": 0}, "end": {"line": line, "character": 0}},
                    "context": {"diagnostics": []}})["result"]
                edits = [(a["title"], a["edit"]["changes"][self.uri(name)][0]) for a in answer
                         if a["title"].startswith(("Write", "Leave precedence", "Leave unknown"))]
                self.assertEqual([(t, e["newText"], e["range"]["start"]["character"]) for t, e in edits], wanted)


class BadMessages(Folder):
    def test_errors_and_the_server_goes_on(self):
        """Each bad message gets its error; the server still answers."""
        client = self.client()
        rows = [
            ("not JSON", b"Content-Length: 5\r\n\r\n{oops", None, -32700),
            ("no length", b"Content-Type: x\r\n\r\n", None, -32700),
            ("not a request", b"Content-Length: 2\r\n\r\n[]", None, -32600),
            ("unknown method", {"jsonrpc": "2.0", "id": 7, "method": "kova/none"}, 7, -32601),
            ("document not open", {"jsonrpc": "2.0", "id": 8, "method": "textDocument/hover",
                                   "params": self.at("block.xml", 0, 0)}, 8, -32602),
            ("bad parameters", {"jsonrpc": "2.0", "id": 9, "method": "textDocument/definition",
                                "params": {"textDocument": 3}}, 9, -32602),
        ]
        for label, message, identifier, code in rows:
            with self.subTest(label):
                client.write(message) if isinstance(message, bytes) else client.send(message)
                answer = client.wait_for(lambda frame: "error" in frame)
                self.assertEqual((answer["id"], answer["error"]["code"]), (identifier, code))
        self.assertEqual(self.open(client, "block.xml")[0]["code"], "unknown-name")

    def test_lifecycle(self):
        rows = [
            ("shutdown then exit", ["shutdown", "exit"], 0),
            ("exit without shutdown", ["exit"], 1),
            ("input ends", [], 1),
        ]
        for label, methods, status in rows:
            with self.subTest(label):
                client = Client()
                for method in methods:
                    if method == "exit":
                        client.notify(method, {})
                    else:
                        self.assertIn("result", client.request(method))
                self.assertEqual((client.finish(), client.bad_output), (status, []))
        early = Client(initialize=False)
        self.assertEqual(early.request("textDocument/hover", self.at("block.xml", 0, 0))["error"]["code"], -32002)
        early.finish()


if __name__ == "__main__":
    KOVA, SOURCE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
