#!/usr/bin/env python3
"""Times kova serve's page in headless Chromium as a user meets it, on
examples/ram.xml and on a description of 10,001 objects written by
bench/scale_description.py:

- time to usable: from the start of the navigation to the form drawn with
  its verdict (the summary reading valid or not valid), the median of
  LOADS loads with the browser's cache off;
- a change: one option chosen in a list (MODE on ram.xml, the first list
  parameter of the large description), from the input event to the last
  change of the page's DOM it brings, the median of CHANGES changes that
  go back and forth between two values.

Both are taken inside the page (a script added to every document before
the page's own: a MutationObserver and the events' timestamps, all on the
page's performance.now() clock), so no WebDriver round trip is counted.
A change is over when the verdict is shown again and the DOM has then
been still for QUIET_MS; the figure ends at the DOM's last change, not
at the end of that wait.

Each description is timed alone and beside a load: IDLE connections
opened and never written to, and SLOW clients writing one byte of an
endless request head every SLOW_INTERVAL s; a connection the server
closes is opened again. Goals: ram.xml 50 ms a change and 1 s to usable,
10,000 objects 150 ms a change and 2 s to usable; the load moves no
figure by more than 20%.

usage: bench/serve_page.py KOVA_OR_BUILD_DIR
Skipped (status 0, with a message) when Chromium, its driver or selenium
is missing."""
import contextlib
import os
import selectors
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import xml.etree.ElementTree as ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from kova_browser import Server, control, headless_chromium, kova_binary, missing  # noqa: E402

LOADS = 3
CHANGES = 20
QUIET_MS = 400  # longer than any pause the page makes between a change and its redraw
WAIT_SECONDS = 60  # the longest a load or a change may take; a longer one gives no figure
IDLE, SLOW, SLOW_INTERVAL = 20, 2, 0.5
LOAD_TOLERANCE = 0.20
# label: (ms a change, ms to usable)
GOALS = {"ram.xml": (50, 1000), "10,001 objects": (150, 2000)}

# Added to every document before its own scripts. `usable` is the first
# moment the summary shows a verdict; `event` the first input or change
# event since the probe was armed; `last` the DOM's latest change.
PROBE = """
(() => {
  const probe = window.__kovaProbe = { usable: null, event: null, last: null, mutations: 0 };
  const verdict = () => { const s = document.getElementById("summary"); return s ? s.dataset.state : null; };
  new MutationObserver(() => {
    probe.last = performance.now();
    probe.mutations += 1;
    const state = verdict();
    if (probe.usable === null && (state === "valid" || state === "invalid")) probe.usable = probe.last;
  }).observe(document, { subtree: true, childList: true, attributes: true, characterData: true });
  for (const type of ["input", "change"])
    window.addEventListener(type, (event) => { if (probe.event === null) probe.event = event.timeStamp; }, true);
})();
"""
USABLE = """
const done = arguments[arguments.length - 1];
const poll = () => window.__kovaProbe && window.__kovaProbe.usable !== null
  ? done(window.__kovaProbe.usable) : setTimeout(poll, 10);
poll();
"""
ARM = "Object.assign(window.__kovaProbe, { event: null, last: null, mutations: 0 });"
SETTLED = """
const [quiet, done] = arguments;
const probe = window.__kovaProbe;
const poll = () => {
  const summary = document.getElementById("summary");
  const state = summary ? summary.dataset.state : "missing";
  if (probe.event !== null && probe.mutations > 0 && state !== "pending" && performance.now() - probe.last >= quiet)
    done({ ms: probe.last - probe.event, verdict: state });
  else
    setTimeout(poll, 10);
};
poll();
"""


class Load:
    """IDLE sockets that never send, and SLOW clients that send one byte of
    a request head that never ends every SLOW_INTERVAL s, kept connected
    to a server from a thread between __enter__ and __exit__. `reopened`
    counts the connections the server closed and that were opened again."""
    HEAD = b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n"
    FILLER = b"X-Slow: 1\r\n"

    def __init__(self, port):
        self.port = port
        self.slots = [None] * (IDLE + SLOW)  # slots from IDLE on are the slow clients
        self.sent = [0] * (IDLE + SLOW)
        self.reopened = 0
        self.selector = selectors.DefaultSelector()
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._run, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *failure):
        self.stopping.set()
        self.thread.join()
        for slot in range(len(self.slots)):
            self._close(slot)

    def _byte(self, slot):
        at = self.sent[slot]
        if at < len(self.HEAD):
            return self.HEAD[at:at + 1]
        at = (at - len(self.HEAD)) % len(self.FILLER)
        return self.FILLER[at:at + 1]

    def _open(self, slot):
        try:
            # Each from a loopback address of its own: other clients than
            # the browser, which the server's limit of connections per
            # client address does not weigh against the browser's.
            connection = socket.create_connection(("127.0.0.1", self.port), timeout=1,
                                                  source_address=("127.0.1.%d" % (slot + 1), 0))
        except OSError:
            return  # tried again on the next round
        connection.setblocking(False)
        self.selector.register(connection, selectors.EVENT_READ, slot)
        self.slots[slot] = connection
        self.sent[slot] = 0

    def _close(self, slot):
        if self.slots[slot] is not None:
            self.selector.unregister(self.slots[slot])
            self.slots[slot].close()
            self.slots[slot] = None

    def _run(self):
        for slot in range(len(self.slots)):
            self._open(slot)
        next_byte = time.monotonic()
        while not self.stopping.is_set():
            for key, _ in self.selector.select(timeout=0.05):
                try:
                    closed = key.fileobj.recv(4096) == b""  # an answer such as 408 is read and dropped
                except OSError:
                    closed = True
                if closed:
                    self._close(key.data)
            if time.monotonic() >= next_byte:
                next_byte += SLOW_INTERVAL
                for slot in range(IDLE, IDLE + SLOW):
                    self._send_byte(slot)
            for slot in range(len(self.slots)):
                if self.slots[slot] is None:
                    self.reopened += 1
                    self._open(slot)

    def _send_byte(self, slot):
        if self.slots[slot] is None:
            return
        try:
            self.slots[slot].send(self._byte(slot))
            self.sent[slot] += 1
        except OSError:
            self._close(slot)


def list_parameter(description):
    """The name and first two values of the description's first parameter
    that takes a list of values."""
    for element in ElementTree.parse(description).getroot().iter("object"):
        values = (element.get("value") or "").split("|")
        if element.get("kind") in ("integer", "string") and len(values) >= 2:
            return element.get("name"), values[:2]
    raise LookupError(description + " has no parameter with a list of values")


def time_to_usable(driver, url):
    driver.get(url)
    return driver.execute_async_script(USABLE)


def change_times(driver, name, values, verdicts):
    """Milliseconds of each of CHANGES changes of NAME, alternating between
    VALUES; VERDICTS maps a value to the verdict the page must then show,
    and any value not named to any verdict but an error."""
    from selenium.webdriver.support.ui import Select
    times = []
    for _ in range(CHANGES):
        menu = Select(control(driver, name))  # found anew: a page may draw its controls again
        value = values[1] if menu.first_selected_option.get_attribute("value") == values[0] else values[0]
        driver.execute_script(ARM)
        menu.select_by_value(value)
        settled = driver.execute_async_script(SETTLED, QUIET_MS)
        if settled["verdict"] not in ([verdicts[value]] if value in verdicts else ["valid", "invalid"]):
            raise RuntimeError("%s=%s: the page shows %r" % (name, value, settled["verdict"]))
        times.append(settled["ms"])
    return times


def measure(driver, kova, case, loaded):
    """(ms to usable, ms per change, connections reopened) of one CASE;
    a figure the page did not reach in time is None, and so is the change
    when the page never became usable."""
    from selenium.common.exceptions import TimeoutException
    label, description, cwd, name, values, verdicts = case
    usable = change = None
    with Server(kova, description, cwd) as server, Load(server.port) if loaded else contextlib.nullcontext() as load:
        try:
            usable = statistics.median(time_to_usable(driver, server.url) for _ in range(LOADS))
            change = statistics.median(change_times(driver, name, values, verdicts))
        except TimeoutException:
            print("serve_page: %s beside %s: the page did not get there in time" % (label, beside(loaded)))
    return usable, change, load.reopened if loaded else ""


def beside(loaded):
    return "%d idle + %d slow" % (IDLE, SLOW) if loaded else "nothing"


def print_table(rows):
    print("| page | beside | to usable (ms) | change, median of %d (ms) | connections reopened |" % CHANGES)
    print("|---|---|---:|---:|---:|")
    for label, loaded, usable, change, reopened in rows:
        usable_text = "over %d s" % WAIT_SECONDS if usable is None else "%.1f" % usable
        change_text = ("not measured" if usable is None else "over %d s" % WAIT_SECONDS) if change is None \
            else "%.1f" % change
        print("| %s | %s | %s | %s | %s |" % (label, beside(loaded), usable_text, change_text, reopened))


def goal_met(ms, goal):
    return "met" if ms is not None and ms <= goal else "NOT met"


def print_goals(rows):
    alone = {label: (usable, change) for label, loaded, usable, change, _ in rows if not loaded}
    for label, loaded, usable, change, _ in rows:
        change_goal, usable_goal = GOALS[label]
        if not loaded:
            print("goal %s: a change within %d ms: %s; usable within %d ms: %s" % (
                label, change_goal, goal_met(change, change_goal), usable_goal, goal_met(usable, usable_goal)))
            continue
        for what, before, after in (("to usable", alone[label][0], usable), ("a change", alone[label][1], change)):
            moved = None if before is None or after is None else (after / before - 1) * 100
            print("goal %s beside the load, %s within %d%% of alone: %s" % (
                label, what, LOAD_TOLERANCE * 100, "NOT met (no figure)" if moved is None else
                "%+.0f%%, %s" % (moved, goal_met(moved, LOAD_TOLERANCE * 100))))


def instrumented_chromium():
    """Headless Chromium with the probe in every page and the cache off, so
    every load fetches the page's files anew."""
    driver = headless_chromium()
    driver.set_page_load_timeout(WAIT_SECONDS)
    driver.set_script_timeout(WAIT_SECONDS)
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PROBE})
    return driver


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    reason = missing()
    if reason:
        print("serve_page: skipped, the browser cannot run: " + reason)
        return
    kova = kova_binary(os.path.abspath(sys.argv[1]))
    with tempfile.TemporaryDirectory(prefix="kova-page-bench-") as folder:
        scale = os.path.join(folder, "scale.xml")
        subprocess.run([sys.executable, os.path.join(HERE, "scale_description.py"), "--objects", "10001", scale],
                       check=True)
        name, values = list_parameter(scale)
        # (label, description, folder kova serve runs in, list parameter, two of its values,
        #  the verdict each value must bring, where known)
        cases = [("ram.xml", os.path.join("examples", "ram.xml"), ROOT, "MODE", ["SINGLE", "DUAL"],
                  {"SINGLE": "valid", "DUAL": "invalid"}),
                 ("10,001 objects", scale, None, name, values, {})]
        driver = instrumented_chromium()
        rows = []
        try:
            for case in cases:
                for loaded in (False, True):
                    rows.append(case[:1] + (loaded,) + measure(driver, kova, case, loaded))
        finally:
            driver.quit()
    print()
    print_table(rows)
    print()
    print_goals(rows)


if __name__ == "__main__":
    main()
