"""Headless Chromium on kova serve's page, shared by scripts/serve-screenshot
and bench/serve_page.py: the server started on a free port of this machine,
the browser at a laptop's screen size, and a control found the way a user
finds it, by the text of its label. Nothing here reads the page's code: a
page that keeps its labels and its verdict works with it."""
import os
import re
import subprocess
import threading

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
START_SECONDS = 60  # the longest a server may take to read its description and print its address
WIDTH, HEIGHT = 1366, 768  # the screen of a laptop

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
except ImportError:
    webdriver = None


def missing():
    """Why the browser cannot be driven on this machine, or None when it can."""
    if webdriver is None:
        return "the selenium module is not installed (Debian python3-selenium; scripts/setup-deps)"
    for program in (CHROMIUM, CHROMEDRIVER):
        if not os.path.exists(program):
            return program + " is not installed (scripts/setup-deps)"
    return None


def kova_binary(given):
    """The kova program: the path given, or tools/kova in the build folder given."""
    return os.path.join(given, "tools", "kova") if os.path.isdir(given) else given


class Server:
    """One `kova serve DESCRIPTION --port 0` process; url and port come from
    the one line it prints on standard output once it listens. Its standard
    error is this program's, so a refusal to start is seen as it is."""

    def __init__(self, kova, description, cwd=None):
        self.process = subprocess.Popen([kova, "serve", description, "--port", "0"], cwd=cwd,
                                        stdout=subprocess.PIPE, text=True)
        line = self._first_line()
        match = re.search(r"http://\S+", line)
        if not match:
            self.stop()
            raise RuntimeError("kova serve %s printed %r instead of its address" % (description, line))
        self.url = match.group(0)
        self.port = int(self.url.rstrip("/").rpartition(":")[2])

    def _first_line(self):
        found = []
        reader = threading.Thread(target=lambda: found.append(self.process.stdout.readline()), daemon=True)
        reader.start()
        reader.join(START_SECONDS)
        return found[0] if found else ""

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def __enter__(self):
        return self

    def __exit__(self, *failure):
        self.stop()


def headless_chromium():
    """Chromium without a window, showing pages as a WIDTHxHEIGHT screen does."""
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage"):
        options.add_argument(argument)
    options.add_argument("--window-size=%d,%d" % (WIDTH, HEIGHT))
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": WIDTH, "height": HEIGHT, "deviceScaleFactor": 1, "mobile": False})
    return driver


# Looked up inside the page, in one round trip however many labels it has.
FIND_BY_LABEL = """
for (const label of document.querySelectorAll("label[for]"))
  if (label.textContent.trim() === arguments[0]) return document.getElementById(label.htmlFor);
return null;
"""


def control(driver, name):
    """The control whose label reads NAME."""
    found = driver.execute_script(FIND_BY_LABEL, name)
    if found is None:
        raise LookupError("the page has no control labelled " + name)
    return found
