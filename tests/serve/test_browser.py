#!/usr/bin/env python3
"""kova serve's page in a headless browser, as an engineer uses it.

Opens the page of `kova serve examples/ram.xml` while IDLE_CONNECTIONS
other connections to the server stay open without sending a byte, checks
every object is on it; sets MODE to DUAL and sees the port-B conflicts
beside those ports, back to SINGLE and sees them clear, then DUAL again,
each of these steps within IDLE_STEP seconds;
opens the explanation of one; accepts a repair and sees the configuration
valid; saves the settings, loads them back and downloads the generated
Verilog; the saved settings must validate. Then walks the page's aids on
a fresh page of the same description (walk_aids: search, causes, jumps,
a repair that keeps a value, undo and redo, the changes, a reload and a
reset that ask, a file that is not a settings file). Then opens a generated
description of 2,001 objects (bench/scale_description.py), whose rows are
built in chunks, with a conflict far down, and clears it.

Usage: test_browser.py KOVA SOURCE_DIR. Exit status 77 (skipped)
only when the browser, its driver or the selenium module is missing.
"""

import contextlib
import os
import re
import select
import socket
import subprocess
import sys
import tempfile
import threading
import xml.etree.ElementTree as ElementTree

SKIPPED = 77
CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
WAIT = 20  # seconds for any one thing to appear on the page
IDLE_CONNECTIONS = 20
# Far beyond a page's load or change: a server that answers the page only
# once it gives up on an idle connection takes longer.
IDLE_STEP = 5


def skip(reason):
    print("skipped: " + reason)
    sys.exit(SKIPPED)


try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.common.exceptions import NoAlertPresentException
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support import expected_conditions as ready
    from selenium.webdriver.support.ui import Select, WebDriverWait
except ImportError:
    skip("the selenium module is not installed")


def start_server(kova, source, description=os.path.join("examples", "ram.xml"), *options):
    """The server of a description (examples/ram.xml) with kova serve's
    options, run from the source folder as the README shows it, and the
    address it printed on standard output."""
    server = subprocess.Popen([kova, "serve", description, "--port", "0", *options], cwd=source,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    match = re.search(r"http://[^\s]+", server.stdout.readline())
    if not match:
        server.kill()
        raise AssertionError("kova serve printed no address")
    return server, match.group(0).rstrip("/.")


def browser(downloads):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--window-size=1366,768"):
        options.add_argument(argument)
    options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                              "download.prompt_for_download": False})
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
    # The page as a 1366x768 laptop screen shows it.
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": 1366, "height": 768, "deviceScaleFactor": 1, "mobile": False})
    return driver


def css(name, value):
    return '[%s="%s"]' % (name, value)


def api_requests(driver):
    """The API routes the page asked since the resource timings were last cleared."""
    return sorted(entry.rpartition("/api/")[2] for entry in driver.execute_script(
        "return performance.getEntriesByType('resource').map((e) => e.name)") if "/api/" in entry)


def check_one_request_per_change(driver, wait):
    """A change redraws the ports' widths and the hidden parameters' values
    from one request, however many ports and hidden parameters there are;
    its undo, back to the defaults, shows them again."""
    shown = lambda attribute, name: driver.find_element(By.CSS_SELECTOR, css(attribute, name)).text
    for depth, bits in (("64", "6"), ("256", "8")):
        driver.execute_script("performance.clearResourceTimings()")
        Select(driver.find_element(By.CSS_SELECTOR, css("data-control", "DEPTH"))).select_by_value(depth)
        wait.until(lambda d: shown("data-derived-for", "ADDR_WIDTH") == bits and
                   shown("data-width-for", "addra") == bits)
        assert api_requests(driver) == ["refresh"], api_requests(driver)


def summary(state):
    """Whether the page's verdict is STATE (valid, invalid, pending...)."""
    return lambda d: d.find_element(By.ID, "summary").get_attribute("data-state") == state


def use_page(driver, url, names, downloads):
    wait = WebDriverWait(driver, WAIT)
    step = WebDriverWait(driver, IDLE_STEP)
    downloaded = lambda name: wait.until(lambda d: os.path.exists(os.path.join(downloads, name)) and
                                         os.path.join(downloads, name), "no download " + name)
    driver.set_page_load_timeout(IDLE_STEP)
    driver.get(url)
    step.until(summary("valid"), "no verdict within %d s beside idle connections" % IDLE_STEP)
    driver.set_page_load_timeout(WAIT)
    for name in names:
        driver.find_element(By.CSS_SELECTOR, css("data-object", name))
    assert driver.find_element(By.ID, "block-name").text == "block_ram"
    check_one_request_per_change(driver, wait)

    # MODE to DUAL shows the port-B conflicts beside those ports, back to
    # SINGLE clears them, and DUAL again brings them back for what follows.
    errors = lambda port: driver.find_elements(By.CSS_SELECTOR,
                                               css("data-diags-for", port) + ' .diag[data-severity="error"]')
    for mode, verdict in (("DUAL", "invalid"), ("SINGLE", "valid"), ("DUAL", "invalid")):
        Select(driver.find_element(By.CSS_SELECTOR, css("data-control", "MODE"))).select_by_value(mode)
        step.until(lambda d: summary(verdict)(d) and all(
            bool(errors(port)) == (verdict == "invalid") for port in ("clkb", "addrb", "doutb")), "MODE=" + mode)
    for port in ("clkb", "addrb", "doutb"):
        text = driver.find_element(By.CSS_SELECTOR, css("data-diags-for", port)).text
        assert "ERROR" in text.upper() and port in text, text

    driver.find_element(By.CSS_SELECTOR, css("data-diags-for", "clkb") + " .diag button.explain").click()
    dialog = driver.find_element(By.ID, "explain-dialog")
    wait.until(lambda d: dialog.is_displayed() and d.find_elements(By.CSS_SELECTOR, "#explain-body table.rules"))
    assert "clkb" in dialog.text and "MODE == DUAL" in dialog.text, dialog.text
    head = driver.find_element(By.CSS_SELECTOR, "#explain-body > :first-child")
    assert head.get_attribute("data-origin") and head.text.startswith("origin: "), head.text
    driver.find_element(By.ID, "explain-close").click()
    wait.until(lambda d: not dialog.is_displayed())

    driver.find_element(By.ID, "fix-button").click()
    wait.until(ready.element_to_be_clickable((By.ID, "fix-accept")))
    changed = {box.get_attribute("data-fix-change"): box.get_attribute("data-new")
               for box in driver.find_elements(By.CSS_SELECTOR, "#fix-changes [data-fix-change]")}
    assert all(changed.get(port) == "USED" for port in ("clkb", "addrb", "doutb")), changed
    driver.find_element(By.ID, "fix-accept").click()
    wait.until(summary("valid"))
    usage = Select(driver.find_element(By.CSS_SELECTOR, css("data-usage-for", "clkb")))
    assert usage.first_selected_option.get_attribute("value") == "USED"
    assert not driver.find_elements(By.CSS_SELECTOR, css("data-diags-for", "clkb") + " .diag")

    driver.find_element(By.ID, "save-button").click()
    settings = downloaded("block_ram.settings")
    driver.find_element(By.ID, "load-input").send_keys(settings)
    wait.until(lambda d: d.find_element(By.ID, "action-status").text.startswith("Loaded block_ram.settings"))
    # A stub applies to hardware languages only: the box follows the menu.
    language = Select(driver.find_element(By.ID, "generate-lang"))
    stub = driver.find_element(By.ID, "generate-stub")
    for value, stub_enabled in (("c", False), ("verilog", True)):
        language.select_by_value(value)
        assert stub.is_enabled() == stub_enabled, value
    driver.find_element(By.ID, "generate-export").send_keys(" ADDR_WIDTH, ")  # blanks and an empty name ignored
    driver.find_element(By.ID, "generate-button").click()
    verilog = downloaded("block_ram_cfg.v")
    return settings, verilog


class IdleConnections:
    """IDLE_CONNECTIONS connections to the server that never send a byte,
    held open by a thread: one the server closes is opened again at once."""

    def __init__(self, port):
        self.port = port
        self.sockets = [socket.create_connection(("127.0.0.1", port), timeout=IDLE_STEP)
                        for _ in range(IDLE_CONNECTIONS)]
        self.stopped = threading.Event()
        self.keeper = threading.Thread(target=self.keep, daemon=True)
        self.keeper.start()

    def keep(self):
        while not self.stopped.wait(0.05):
            readable, _, _ = select.select([s for s in self.sockets if s], [], [], 0)
            for index, connection in enumerate(self.sockets):
                if connection is None or (connection in readable and not self.still_open(connection)):
                    self.sockets[index] = self.reopen(connection)

    @staticmethod
    def still_open(connection):
        try:
            return connection.recv(4096) != b""
        except OSError:
            return False

    def reopen(self, closed):
        if closed:
            closed.close()
        try:
            return socket.create_connection(("127.0.0.1", self.port), timeout=IDLE_STEP)
        except OSError:
            return None  # tried again on the next round

    def close(self):
        self.stopped.set()
        self.keeper.join()
        for connection in filter(None, self.sockets):
            connection.close()


def use_long_page(driver, url):
    """A description of 2,001 objects, whose rows are built in chunks,
    opened with g150_N=32 (a conflict): the rows far down, whenever they
    are built, show the answer's values, not the defaults of the model;
    a change to g150_N clears the conflict and redraws its hidden values
    and port width from one request; typing quickly ends with the last
    value typed."""
    wait = WebDriverWait(driver, WAIT)
    driver.get(url)
    wait.until(summary("invalid"))
    # What a row holds, on screen or not (a chunk off screen is not laid out); None before it is built.
    shown = lambda attribute, name: driver.execute_script(
        "const found = document.querySelector(arguments[0]); return found && found.textContent",
        css(attribute, name))
    errors = lambda d: d.find_elements(By.CSS_SELECTOR,
                                       css("data-diags-for", "g150_N") + ' .diag[data-severity="error"]')
    # (g150_N, the verdict, ceil_log(g150_N), the width of g150_d, whether g150_N shows an error)
    for value, verdict, bits, width, conflict in (("32", "invalid", "5", "6", True), ("8", "valid", "3", "4", False)):
        if value == "8":
            control = driver.find_element(By.CSS_SELECTOR, css("data-control", "g150_N"))
            driver.execute_script("arguments[0].scrollIntoView()", control)
            driver.execute_script("performance.clearResourceTimings()")
            Select(control).select_by_value(value)
        wait.until(lambda d: summary(verdict)(d) and shown("data-derived-for", "g150_H4") == bits and
                   shown("data-width-for", "g150_d") == width and bool(errors(d)) == conflict, (value, verdict))
    assert api_requests(driver) == ["refresh"], api_requests(driver)
    field = driver.find_element(By.CSS_SELECTOR, css("data-control", "g150_R"))
    field.clear()
    field.send_keys("12")
    wait.until(lambda d: shown("data-derived-for", "g150_R").startswith("now 12"))


def visible_objects(driver):
    """The names of the rows the page shows (not hidden by a search)."""
    return set(driver.execute_script(
        "return [...document.querySelectorAll('[data-object]')].filter((row) => !row.closest('[hidden]'))"
        ".map((row) => row.dataset.object)"))


def walk_aids(driver, url, downloads):
    """One walk through what helps a user find, understand and keep a
    configuration of examples/ram.xml."""
    wait = WebDriverWait(driver, WAIT)
    driver.get(url)
    wait.until(summary("valid"))
    row = lambda name: driver.find_element(By.CSS_SELECTOR, css("data-object", name))
    mode = lambda: Select(driver.find_element(By.CSS_SELECTOR, css("data-control", "MODE")))

    # A file that is not a settings file: its first bad lines and a count, not every line.
    bad = os.path.join(downloads, "notes.txt")
    with open(bad, "w", encoding="utf-8") as file:
        file.write("=1\n" * 130)
    driver.find_element(By.ID, "load-input").send_keys(bad)
    problems = driver.find_element(By.ID, "load-problems")
    wait.until(lambda d: problems.is_displayed())
    assert "130 bad lines" in problems.text, problems.text
    assert len(problems.find_elements(By.CSS_SELECTOR, "li")) == 5, problems.text
    driver.find_element(By.ID, "load-problems-close").click()

    # "/" reaches the search; "clk" leaves the clocks and MODE, whose help names clkb.
    driver.find_element(By.TAG_NAME, "body").send_keys("/")
    search = driver.switch_to.active_element
    assert search.get_attribute("id") == "search"
    search.send_keys("clk")
    wait.until(lambda d: visible_objects(d) == {"clka", "clkb", "MODE"}, "search clk")
    assert not driver.find_element(By.CSS_SELECTOR, '.group[data-group="hidden"]').is_displayed()
    search.send_keys(Keys.ESCAPE)
    wait.until(lambda d: "ADDR_WIDTH" in visible_objects(d))

    # MODE=DUAL: the conflicts at port B say they follow from MODE, which is marked.
    mode().select_by_value("DUAL")
    wait.until(summary("invalid"))
    wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, css("data-advice-for", "clkb") + ' [data-jump="MODE"]'))
    cause = row("MODE").find_element(By.CSS_SELECTOR, ".cause-mark")
    assert set(cause.get_attribute("data-cause-of").split()) == {"clkb", "addrb", "doutb"}, cause.text
    assert "last-change" in cause.get_attribute("class") and "this change" in cause.text, cause.text
    assert row("MODE").find_elements(By.CSS_SELECTOR, ".changed-mark")
    assert not row("WIDTH").find_elements(By.CSS_SELECTOR, ".mark")

    # The explanation of clkb links MODE, which jumps to its control.
    row("clkb").find_element(By.CSS_SELECTOR, ".object-head .explain").click()
    link = wait.until(lambda d: d.find_element(By.CSS_SELECTOR, '#explain-body [data-jump="MODE"]'))
    link.click()
    wait.until(lambda d: d.switch_to.active_element.get_attribute("data-control") == "MODE")
    assert "jumped" in row("MODE").get_attribute("class")

    # A repair asked from WIDTH's explanation keeps WIDTH, and is one step.
    row("WIDTH").find_element(By.CSS_SELECTOR, ".object-head .explain").click()
    wait.until(ready.element_to_be_clickable((By.ID, "explain-keep"))).click()
    driver.find_element(By.ID, "explain-fix").click()
    wait.until(ready.element_to_be_clickable((By.ID, "fix-accept")))
    assert "WIDTH" in driver.find_element(By.ID, "fix-kept").text
    driver.find_element(By.ID, "fix-accept").click()
    wait.until(summary("valid"))
    assert driver.find_element(By.ID, "action-status").text == "Repair applied."
    for button, verdict in (("undo-button", "invalid"), ("redo-button", "valid")):
        driver.find_element(By.ID, button).click()
        wait.until(lambda d: summary(verdict)(d) and
                   bool(row("clkb").find_elements(By.CSS_SELECTOR, '.diag[data-severity="error"]')) ==
                   (verdict == "invalid"), button)
    assert mode().first_selected_option.get_attribute("value") == "DUAL"

    # The changes: MODE against its default, and the minimal file.
    driver.find_element(By.ID, "changes-button").click()
    wait.until(lambda d: "MODE=DUAL" in d.find_element(By.ID, "changes-text").text)
    change = driver.find_element(By.CSS_SELECTOR, '#changes-list [data-change="MODE"]')
    assert change.text.split() == ["MODE", "SINGLE", "DUAL"], change.text
    driver.find_element(By.ID, "changes-close").click()

    # Leaving asks; a reload offers the settings back.
    assert driver.execute_script(
        "const e = new Event('beforeunload', {cancelable: true}); window.dispatchEvent(e); return e.defaultPrevented")
    driver.execute_script("location.reload()")
    with contextlib.suppress(NoAlertPresentException):
        driver.switch_to.alert.accept()
    wait.until(lambda d: d.find_element(By.ID, "restore-offer").is_displayed())
    driver.find_element(By.ID, "restore-yes").click()
    wait.until(lambda d: summary("valid")(d) and mode().first_selected_option.get_attribute("value") == "DUAL")

    # Reset asks before it discards them; refused, nothing changes.
    driver.find_element(By.ID, "reset-button").click()
    alert = wait.until(ready.alert_is_present())
    assert "not saved" in alert.text, alert.text
    alert.dismiss()
    assert mode().first_selected_option.get_attribute("value") == "DUAL"


def check_files(kova, description, settings, verilog):
    """The saved settings validate; the download is the wrapper, with the
    exported value asked for (the generator's own test compiles what it
    writes)."""
    run = subprocess.run([kova, "validate", description, "--settings", settings], capture_output=True, text=True)
    assert run.returncode == 0, "the saved settings do not validate:\n" + run.stdout + run.stderr
    with open(settings, encoding="utf-8") as file:
        assert "MODE=DUAL" in file.read()
    with open(verilog, encoding="utf-8") as file:
        text = file.read()
    assert "module block_ram_cfg #(\n  parameter integer ADDR_WIDTH = 8\n)" in text and "block_ram #(" in text, text


def main():
    kova, source = sys.argv[1], sys.argv[2]
    for program in (CHROMIUM, CHROMEDRIVER):
        if not os.path.exists(program):
            skip(program + " is not installed")
    description = os.path.join(source, "examples", "ram.xml")
    with tempfile.TemporaryDirectory(prefix="kova-browser-") as downloads:
        server, url = start_server(kova, source)
        driver = None
        try:
            driver = browser(downloads)
            # Every port, parameter and hidden parameter the description writes.
            names = [o.get("name") for o in ElementTree.parse(description).getroot().findall("object")
                     if o.get("kind") != "macro"]
            idle = IdleConnections(int(url.rpartition(":")[2]))
            try:
                settings, verilog = use_page(driver, url, names, downloads)
            finally:
                idle.close()
            check_files(kova, description, settings, verilog)
            server.terminate()
            server.wait(timeout=10)
            server, url = start_server(kova, source)
            walk_aids(driver, url, downloads)
            server.terminate()
            server.wait(timeout=10)
            long_description = os.path.join(downloads, "long.xml")
            subprocess.run([sys.executable, os.path.join(source, "bench", "scale_description.py"), "--objects",
                            "2000", long_description], check=True, timeout=30)
            conflict = os.path.join(downloads, "long.settings")
            with open(conflict, "w", encoding="utf-8") as file:
                file.write("g150_N=32\n")
            server, url = start_server(kova, source, long_description, "--settings", conflict)
            use_long_page(driver, url)
            print("page checked: conflicts shown, explained, repaired; settings and Verilog downloaded; "
                  "search, causes, jumps, undo, changes, reload and reset walked; "
                  "a long description's rows built in chunks and kept in step")
        finally:
            if driver:
                driver.quit()
            server.terminate()
            server.wait(timeout=10)


if __name__ == "__main__":
    main()
