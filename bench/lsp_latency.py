#!/usr/bin/env python3
"""Times kova lsp's answers as an editor meets them: the diagnostics after
a one-character change of the open description (from the change sent to
the diagnostics received), then a hover and a definition on a name a
rule text reads (the first after a change, then the median of five
more). On each example
and on a generated description of 10,000 objects (scale_description.py).
Goals: diagnostics 50 ms on the examples, 1 s at 10,000 objects; hover
and definition 20 ms on both.

usage: bench/lsp_latency.py KOVA"""
import json, os, re, statistics, subprocess, sys, tempfile, time

from scale_description import write

EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples")


class Server:
    def __init__(self, kova):
        self.process = subprocess.Popen([kova, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.next_id = 0
        self.request("initialize", {})

    def send(self, message):
        body = json.dumps(message).encode()
        self.process.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
        self.process.stdin.flush()

    def read(self):
        header = b""
        while not header.endswith(b"\r\n\r\n"):
            header += self.process.stdout.read(1)
        return json.loads(self.process.stdout.read(int(header.split(b":")[1])))

    def wait(self, wanted):
        while True:
            frame = self.read()
            if wanted(frame):
                return frame

    def request(self, method, params):
        self.next_id += 1
        identifier = self.next_id
        self.send({"jsonrpc": "2.0", "id": identifier, "method": method, "params": params})
        return self.wait(lambda frame: frame.get("id") == identifier)

    def change(self, uri, text, version, method="textDocument/didChange"):
        document = {"uri": uri, "version": version, "languageId": "xml", "text": text}
        self.send({"jsonrpc": "2.0", "method": method,
                   "params": {"textDocument": document, "contentChanges": [{"text": text}]}})
        self.wait(lambda frame: frame.get("method") == "textDocument/publishDiagnostics"
                  and frame["params"]["uri"] == uri)

    def close(self):
        self.request("shutdown", {})
        self.send({"jsonrpc": "2.0", "method": "exit"})
        self.process.wait(timeout=60)


def read_position(text):
    """The place of a name a rule text reads: the first name in a value,
    condition or width attribute that is declared elsewhere."""
    declared = set(re.findall(r'name="([^"]+)"', text))
    for match in re.finditer(r'(?:value|condition|width)="([^"]*)"', text):
        for name in re.finditer(r"[A-Za-z_][A-Za-z0-9_]*", match.group(1)):
            if name.group(0) in declared:
                offset = match.start(1) + name.start()
                line = text.count("\n", 0, offset)
                return {"line": line, "character": offset - (text.rfind("\n", 0, offset) + 1)}
    raise SystemExit("no name read by a rule text")


def figures(kova, path):
    with open(path) as source:
        text = source.read()
    uri = "file://" + os.path.abspath(path)
    server = Server(kova)
    server.change(uri, text, 1, "textDocument/didOpen")
    changes = []
    for version in range(2, 7):
        edited = text + (" " * (version % 2))  # one character more, or back to as it was
        start = time.perf_counter()
        server.change(uri, edited, version)
        changes.append(time.perf_counter() - start)
    at = {"textDocument": {"uri": uri}, "position": read_position(text)}
    timed = {}
    for method in ("textDocument/hover", "textDocument/definition"):
        runs = []
        for _ in range(6):
            start = time.perf_counter()
            answer = server.request(method, at)
            runs.append(time.perf_counter() - start)
            if answer.get("result") is None:
                raise SystemExit("%s gave nothing on %s" % (method, path))
        timed[method] = (runs[0], statistics.median(runs[1:]))
    server.close()
    return statistics.median(changes), timed


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    kova = sys.argv[1]
    with tempfile.TemporaryDirectory(prefix="kova-lsp-bench-") as folder:
        scale = os.path.join(folder, "scale10000.xml")
        write(scale, 10000)
        paths = [os.path.join(EXAMPLES, name) for name in sorted(os.listdir(EXAMPLES)) if name.endswith(".xml")]
        print("%-16s %14s %18s %18s" % ("description", "diagnostics", "hover first/next", "definition"))
        for path in paths + [scale]:
            change, timed = figures(kova, path)
            hover, definition = timed["textDocument/hover"], timed["textDocument/definition"]
            print("%-16s %11.1f ms %8.1f/%5.1f ms %8.1f/%5.1f ms" % (
                os.path.basename(path), change * 1e3, hover[0] * 1e3, hover[1] * 1e3,
                definition[0] * 1e3, definition[1] * 1e3))
        print("goals: diagnostics 50 ms on the examples, 1 s at 10,000 objects; hover and definition 20 ms")


if __name__ == "__main__":
    main()
