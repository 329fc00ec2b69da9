#!/usr/bin/env python3
"""kova serve over a real socket on 127.0.0.1: each request's answer (the
page's files, the API, the safety refusals, errors as JSON), bad,
pipelined and parallel requests, SIGINT and SIGTERM, a port taken, bad
starting settings and the warning for an address beyond this machine.

Usage: test_server.py KOVA SOURCE_DIR (python3 standard library only).
"""
import concurrent.futures
import http.client
import json
import mimetypes
import os
import select
import signal
import socket
import subprocess
import sys
import threading
import unittest

KOVA = SOURCE = None
START_SECONDS = 20  # the longest a server may take to print its URL


class Server:
    """One kova serve process on a free port, its URL read from the line
    it prints once listening."""

    def __init__(self, *arguments, port="0"):
        ram = os.path.join(SOURCE, "examples", "ram.xml")
        self.process = subprocess.Popen([KOVA, "serve", ram, "--port", port] + list(arguments),
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.line = self._first_line()
        prefix = "kova serve: http://"
        self.host, self.port = None, None
        if self.line.startswith(prefix):
            address = self.line[len(prefix):].rstrip("/")
            self.host, _, port_text = address.rpartition(":")
            self.port = int(port_text)

    def _first_line(self):
        found = []
        reader = threading.Thread(target=lambda: found.append(self.process.stdout.readline()))
        reader.start()
        reader.join(START_SECONDS)
        return found[0].decode().strip() if found else ""

    def request(self, method, path, body=None, headers=None):
        """(status, headers as a dict of lower-case names, body bytes)."""
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=30)
        try:
            connection.request(method, path, body=body, headers=headers or {})
            with connection.getresponse() as response:
                return response.status, {k.lower(): v for k, v in response.getheaders()}, response.read()
        finally:
            connection.close()

    def connect(self):
        return socket.create_connection(("127.0.0.1", self.port), timeout=10)

    def post(self, path, document, headers=None):
        return self.request("POST", path, json.dumps(document).encode(),
                            dict({"Content-Type": "application/json"}, **(headers or {})))

    def stop(self, signal_number=signal.SIGTERM):
        """Exit status and standard error after the signal."""
        if self.process.poll() is None:
            self.process.send_signal(signal_number)
        return self.finish()

    def finish(self):
        """Exit status and standard error of a server that ends by itself."""
        try:
            _, error = self.process.communicate(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            _, error = self.process.communicate()
        return self.process.returncode, error.decode(errors="replace")


def read_answers(client, head_only_last=False):
    """[(status, body)] of every answer read from the socket until it
    closes; the last is the answer to a HEAD request when head_only_last."""
    data = b"".join(iter(lambda: client.recv(65536), b""))
    answers = []
    while data:
        head, _, data = data.partition(b"\r\n\r\n")
        lines = head.split(b"\r\n")
        fields = dict(line.lower().split(b": ", 1) for line in lines[1:])
        length = 0 if head_only_last and not data else int(fields.get(b"content-length", b"0"))
        answers.append((int(lines[0].split(b" ")[1]), data[:length]))
        data = data[length:]
    return answers


class Requests(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = Server()
        if cls.server.port is None:
            code, error = cls.server.stop()
            raise RuntimeError("kova serve printed %r (exit %s): %s" % (cls.server.line, code, error))

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()

    def own_origin(self):
        return "http://127.0.0.1:%d" % self.server.port

    def test_request_table(self):
        port = self.server.port
        # (what, method, path, headers, status): a POST sends "{}"; the page's own files are HTML, the rest JSON
        cases = [
            ("the page", "GET", "/", {}, 200), ("the model", "GET", "/api/model", {}, 200),
            ("a path above the page", "GET", "/../CMakeLists.txt", {}, 404),
            ("an encoded path above the page", "GET", "/%2e%2e/CMakeLists.txt", {}, 404),
            ("an encoded slash", "GET", "/..%2fCMakeLists.txt", {}, 404),
            ("a source file", "GET", "/serve/server.cpp", {}, 404),
            ("an unknown API path", "GET", "/api/nosuch", {}, 404),
            ("a foreign origin", "POST", "/api/validate", {"Origin": "http://evil.example"}, 403),
            ("an origin on another port", "POST", "/api/validate", {"Origin": "http://127.0.0.1:%d" % (port + 1)}, 403),
            ("the null origin", "POST", "/api/validate", {"Origin": "null"}, 403),
            ("own origin by address", "POST", "/api/validate", {"Origin": self.own_origin()}, 200),
            ("own origin by name", "POST", "/api/validate", {"Origin": "http://localhost:%d" % port}, 200),
            ("no origin (a script)", "POST", "/api/validate", {}, 200),
            ("a foreign host", "GET", "/api/model", {"Host": "evil.example:%d" % port}, 403),
            ("a foreign host on the page", "GET", "/", {"Host": "evil.example"}, 403),
            ("own host on another port", "GET", "/", {"Host": "localhost:%d" % (port + 1)}, 403),
            ("own host by name", "GET", "/", {"Host": "localhost:%d" % port}, 200),
            ("own host as IPv6", "GET", "/", {"Host": "[::1]:%d" % port}, 200),
            ("POST on the page", "POST", "/index.html", {}, 405),
        ]
        for what, method, path, headers, status in cases:
            with self.subTest(what):
                got, answer_headers, answer = self.server.request(method, path, b"{}" if method == "POST" else None,
                                                                  headers)
                self.assertEqual(got, status, answer[:300])
                content_type = "text/html" if status == 200 and not path.startswith("/api/") else "application/json"
                self.assertTrue(answer_headers.get("content-type", "").startswith(content_type), answer_headers)
                self.assertEqual(answer_headers.get("x-content-type-options"), "nosniff")
                self.assertEqual(answer_headers.get("content-security-policy"), "default-src 'self'; frame-ancestors 'none'")
                if content_type == "application/json":
                    document = json.loads(answer)
                    self.assertEqual("error" in document, status >= 400, document)
                if path.startswith("/api/"):
                    self.assertEqual(answer_headers.get("cache-control"), "no-store")
        # After every bad request the server still answers; it was given no starting settings.
        status, _, answer = self.server.request("GET", "/api/model")
        self.assertEqual((status, json.loads(answer)["command"], json.loads(answer)["settings"]), (200, "model", {}))

    def test_raw_requests(self):
        # Every answer on the connection in order, "STATUS WHAT": a JSON answer's command, "page" for HTML, "" for none.
        host = b"Host: 127.0.0.1:%d\r\n" % self.server.port
        origin = b"Origin: http://127.0.0.1:%d\r\n" % self.server.port
        post = b"POST /api/validate HTTP/1.1\r\nContent-Length: 2\r\nConnection: close\r\n"
        body = json.dumps({"settings": {"WIDTH": "12"}}).encode()
        pipelined = (b"GET /api/model HTTP/1.1\r\n" + host + b"\r\n" +
                     b"POST /api/validate HTTP/1.1\r\nContent-Length: %d\r\n" % len(body) + host + b"\r\n" + body +
                     b"GET /nosuch HTTP/1.1\r\n" + host + b"\r\n" +
                     b"HEAD / HTTP/1.1\r\nConnection: close\r\n" + host + b"\r\n")
        cases = [("no Host", b"GET /api/model HTTP/1.1\r\nConnection: close\r\n\r\n", ["400 serve"]),
                 ("two Host headers", b"GET / HTTP/1.1\r\nConnection: close\r\n" + host + host + b"\r\n",
                  ["400 serve"]),
                 ("two Origin headers", post + host + origin + origin + b"\r\n{}", ["400 serve"]),
                 ("one of each", post + host + origin + b"\r\n{}", ["200 validate"]),
                 ("HTTP/1.0 closes by itself", b"GET / HTTP/1.0\r\n" + host + b"\r\n", ["200 page"]),
                 ("a head over 16 KiB", b"GET / HTTP/1.1\r\n" + host + b"X: " + b"x" * 17000 + b"\r\n\r\n",
                  ["431 serve"]),
                 ("a body over 1 MiB on its way", b"POST /api/validate HTTP/1.1\r\nContent-Length: 2000000\r\n" +
                  host + b"\r\n" + b" " * 500000, ["413 serve"]),
                 # Pipelined requests are answered in order; a HEAD answer carries no body.
                 ("pipelined", pipelined, ["200 model", "200 validate", "404 serve", "200 "])]
        what_of = lambda answer: ("" if not answer else "page" if answer.startswith(b"<!doctype html>")
                                  else json.loads(answer)["command"])
        for what, raw, expected in cases:
            with self.subTest(what), self.server.connect() as client:
                client.sendall(raw)
                answers = read_answers(client, head_only_last=raw is pipelined)
                self.assertEqual(["%d %s" % (status, what_of(answer)) for status, answer in answers], expected)

    # The index's language menu, filled in by the server: every language
    # kova generate takes, its file's extension, and whether a stub applies.
    LANGUAGE_MENU = (b'<option value="verilog" data-extension=".v" data-stub>Verilog</option>'
                     b'<option value="systemverilog" data-extension=".sv" data-stub>SystemVerilog</option>'
                     b'<option value="vhdl" data-extension=".vhd" data-stub>VHDL</option>'
                     b'<option value="c" data-extension=".h">C header</option>'
                     b'<option value="json" data-extension=".json">JSON</option>')

    def test_every_page_file_is_served_as_it_is(self):
        web = os.path.join(SOURCE, "serve", "web")
        files = [os.path.relpath(os.path.join(folder, name), web)
                 for folder, _, names in os.walk(web) for name in names]
        self.assertIn("index.html", files)
        for relative in files:
            with self.subTest(relative):
                status, headers, answer = self.server.request("GET", "/" + relative.replace(os.sep, "/"))
                self.assertEqual(status, 200)
                with open(os.path.join(web, relative), "rb") as source:
                    self.assertEqual(answer, source.read().replace(b"<!-- generate languages -->", self.LANGUAGE_MENU))
                expected = mimetypes.guess_type(relative)[0] or "application/octet-stream"
                type_name = headers["content-type"].split(";")[0]
                # Python names JavaScript by its older type.
                self.assertIn(type_name, {expected, expected.replace("application/javascript", "text/javascript")})
        self.assertEqual(self.server.request("GET", "/")[2], self.server.request("GET", "/index.html")[2])

    def test_parallel_requests_answer_alike(self):
        widths = ["8", "12", "16", "32", "64", "9", "33", "128"]
        expected = {w: self.server.post("/api/validate", {"settings": {"WIDTH": w}})[2] for w in widths}
        ask = lambda w: self.server.post("/api/validate", {"settings": {"WIDTH": w}}, {"Origin": self.own_origin()})
        with concurrent.futures.ThreadPoolExecutor(len(widths)) as pool:
            answers = dict(zip(widths, pool.map(ask, widths, timeout=60)))
        for width in widths:
            self.assertEqual((answers[width][0], answers[width][2]), (200, expected[width]), width)

    def test_files_travel_as_bytes(self):
        # An upload's bytes reach the settings in the JSON safe form.
        for data, value in [(b"caf\xc3\xa9", "caf\u00e9"), (b"a\x80b", "a\ufffd80b"), (b"\xef\xbf\xbd", "\ufffd\ufffd")]:
            status, _, answer = self.server.request("POST", "/api/load?file=a%20b.settings", b"MODE=" + data + b"\n",
                                                    {"Content-Type": "application/octet-stream"})
            self.assertEqual((status, json.loads(answer)["settings"][0]["value"]), (200, value), data)
        # A download is the text member as the bytes it stands for: U+FFFD once.
        settings = {"settings": {"MODE": "\ufffd\ufffd"}}
        text = json.loads(self.server.post("/api/settings", settings)[2])["text"]
        status, headers, answer = self.server.post("/api/settings", settings, {"Accept": "application/octet-stream"})
        self.assertEqual((status, headers["content-type"]), (200, "application/octet-stream"))
        self.assertEqual(answer, text.replace("\ufffd\ufffd", "\ufffd").encode())


class Connections(unittest.TestCase):
    """Idle, slow and half-sent connections: none delays another client's
    request, each is answered or closed by its rule."""

    def setUp(self):
        self.server = Server()
        self.assertIsNotNone(self.server.port, self.server.line)
        self.held = []

    def tearDown(self):
        for client in self.held:
            client.close()
        self.server.stop()

    def hold(self, count):
        self.held += [self.server.connect() for _ in range(count)]
        return self.held[-count:]

    def assert_answered_meanwhile(self):
        status, _, answer = self.server.request("GET", "/api/model")
        self.assertEqual((status, json.loads(answer)["command"]), (200, "model"))

    def test_idle_connections_delay_no_one_and_the_oldest_makes_room(self):
        # 16 connections per client address: the 17th closes the one idle longest.
        first, *rest = self.hold(17)
        first.settimeout(5)
        self.assertEqual(first.recv(1), b"")
        rest[-1].settimeout(0.2)
        self.assertRaises(socket.timeout, rest[-1].recv, 1)
        # Many more held open, and a request is still answered at once.
        self.hold(60)
        self.assertEqual(self.server.request("GET", "/api/model")[0], 200)

    def test_slow_and_half_sent_requests_are_refused_in_time(self):
        # (what, the bytes sent at once, a byte sent every half second, expected first line)
        head = b"POST /api/validate HTTP/1.1\r\nHost: 127.0.0.1:%d\r\n" % self.server.port
        cases = [("a head a byte at a time", b"GET /api/model HTTP/1.1\r\n", b"X",
                  b"the request head did not arrive within 1 s"),
                 ("a body that never comes", head + b"Content-Length: 100\r\n\r\n{", None,
                  b"the request body did not arrive within 5 s of its head")]
        clients = []
        for what, sent, trickle, _ in cases:
            client = self.server.connect()
            client.sendall(sent)
            clients.append((client, trickle))
        # Both hold their connections; others are answered meanwhile.
        self.assert_answered_meanwhile()
        for (client, trickle), (what, _, _, problem) in zip(clients, cases):
            with self.subTest(what), client:
                while trickle:
                    try:
                        client.sendall(trickle)
                    except OSError:
                        break
                    ready, _, _ = select.select([client], [], [], 0.5)
                    if ready:
                        break
                answers = read_answers(client)
                self.assertEqual([(status, json.loads(body)["error"].encode()) for status, body in answers],
                                 [(408, problem)])


class Lifetime(unittest.TestCase):
    def test_start_and_stop(self):
        first = Server()
        broken = os.path.join(SOURCE, "tests", "serve", "test_server.py")  # not NAME=VALUE lines
        # (what, options, port, signal sent or None when it ends by itself, exit status, text of its output)
        cases = [("SIGTERM stops it cleanly", (), "0", signal.SIGTERM, 0, ""),
                 ("SIGINT stops it cleanly", (), "0", signal.SIGINT, 0, ""),
                 ("a taken port", (), str(first.port), None, 2, "cannot listen on 127.0.0.1:%d" % first.port),
                 ("an address beyond this machine", ("--host", "0.0.0.0"), "0", signal.SIGTERM, 0,
                  "warning: listening on 0.0.0.0"),
                 ("bad starting settings", ("--settings", broken), "0", None, 2, "expected NAME=VALUE")]
        try:
            for what, options, port, signal_number, status, text in cases:
                with self.subTest(what):
                    server = Server(*options, port=port)
                    if not options and signal_number:
                        self.assertEqual(server.request("GET", "/")[0], 200)
                    code, error = server.stop(signal_number) if signal_number else server.finish()
                    self.assertEqual((code, server.port is None), (status, status == 2), error)
                    self.assertIn(text, server.line + error)
            self.assertEqual(first.request("GET", "/")[0], 200)
        finally:
            first.stop()


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: test_server.py KOVA SOURCE_DIR")
    KOVA, SOURCE = sys.argv[1], os.path.abspath(sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
