#!/usr/bin/env python3
"""kova serve's page in a headless browser, as an engineer uses it.

Opens the page of `kova serve examples/ram.xml`, checks every object is
on it; sets MODE to DUAL and sees the port-B conflicts beside those ports;
opens the explanation of one; accepts a repair and sees the configuration
valid; saves the settings, loads them back and downloads the generated
Verilog; the saved settings must validate. A screenshot of the conflicts
is written to $KOVA_SCREENSHOT, or to the temporary folder.

Usage: test_browser.py KOVA SOURCE_DIR. Exit status 77 (skipped) only
when the browser, its driver or the selenium module is missing.
"""

import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

SKIPPED = 77
CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
WAIT = 20  # seconds for any one thing to appear on the page


def skip(reason):
    print("skipped: " + reason)
    sys.exit(SKIPPED)


try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support import expected_conditions as ready
    from selenium.webdriver.support.ui import Select, WebDriverWait
except ImportError:
    skip("the selenium module is not installed")


def start_server(kova, source):
    """The server of examples/ram.xml, run from the source folder as the
    README shows it, and the address it printed on standard output."""
    server = subprocess.Popen([kova, "serve", os.path.join("examples", "ram.xml"), "--port", "0"], cwd=source,
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


def check_one_request_per_kind(driver, wait):
    """A change redraws the ports' widths and the hidden parameters' values
    from one request per kind, however many ports and hidden parameters
    there are (ram.xml has no wizard map)."""
    driver.execute_script("performance.clearResourceTimings()")
    Select(driver.find_element(By.CSS_SELECTOR, css("data-control", "DEPTH"))).select_by_value("64")
    shown = lambda attribute, name: driver.find_element(By.CSS_SELECTOR, css(attribute, name)).text
    wait.until(lambda d: shown("data-derived-for", "ADDR_WIDTH") == "6" and shown("data-width-for", "addra") == "6")
    asked = sorted(entry.rpartition("/api/")[2] for entry in driver.execute_script(
        "return performance.getEntriesByType('resource').map((e) => e.name)") if "/api/" in entry)
    assert asked == ["messages", "ranges", "simlib", "states", "validate"], asked


def use_page(driver, url, names, downloads, screenshot):
    wait = WebDriverWait(driver, WAIT)
    downloaded = lambda name: wait.until(lambda d: os.path.exists(os.path.join(downloads, name)) and
                                         os.path.join(downloads, name), "no download " + name)
    summary = lambda state: lambda d: d.find_element(By.ID, "summary").get_attribute("data-state") == state
    driver.get(url)
    wait.until(summary("valid"))
    for name in names:
        driver.find_element(By.CSS_SELECTOR, css("data-object", name))
    assert driver.find_element(By.ID, "block-name").text == "block_ram"
    check_one_request_per_kind(driver, wait)

    Select(driver.find_element(By.CSS_SELECTOR, css("data-control", "MODE"))).select_by_value("DUAL")
    for port in ("clkb", "addrb", "doutb"):
        wait.until(ready.presence_of_element_located(
            (By.CSS_SELECTOR, css("data-diags-for", port) + ' .diag[data-severity="error"]')))
        text = driver.find_element(By.CSS_SELECTOR, css("data-diags-for", port)).text
        assert "ERROR" in text.upper() and port in text, text
    wait.until(summary("invalid"))
    driver.save_screenshot(screenshot)

    driver.find_element(By.CSS_SELECTOR, css("data-diags-for", "clkb") + " .diag button.explain").click()
    dialog = driver.find_element(By.ID, "explain-dialog")
    wait.until(lambda d: dialog.is_displayed() and d.find_elements(By.CSS_SELECTOR, "#explain-body table.rules"))
    assert "clkb" in dialog.text and "MODE == DUAL" in dialog.text, dialog.text
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
    driver.find_element(By.ID, "generate-button").click()
    verilog = downloaded("block_ram_cfg.v")
    return settings, verilog


def check_files(kova, description, settings, verilog):
    """The saved settings validate; the download is the wrapper (the
    generator's own test compiles what it writes)."""
    run = subprocess.run([kova, "validate", description, "--settings", settings], capture_output=True, text=True)
    assert run.returncode == 0, "the saved settings do not validate:\n" + run.stdout + run.stderr
    with open(settings, encoding="utf-8") as file:
        assert "MODE=DUAL" in file.read()
    with open(verilog, encoding="utf-8") as file:
        text = file.read()
    assert "module block_ram_cfg" in text and "block_ram #(" in text, text


def main():
    kova, source = sys.argv[1], sys.argv[2]
    for program in (CHROMIUM, CHROMEDRIVER):
        if not os.path.exists(program):
            skip(program + " is not installed")
    description = os.path.join(source, "examples", "ram.xml")
    with tempfile.TemporaryDirectory(prefix="kova-browser-") as downloads:
        screenshot = os.environ.get("KOVA_SCREENSHOT") or os.path.join(downloads, "serve-wizard.png")
        server, url = start_server(kova, source)
        driver = None
        try:
            driver = browser(downloads)
            # Every port, parameter and hidden parameter the description writes.
            names = [o.get("name") for o in ElementTree.parse(description).getroot().findall("object")
                     if o.get("kind") != "macro"]
            settings, verilog = use_page(driver, url, names, downloads, screenshot)
            check_files(kova, description, settings, verilog)
            print("page checked: conflicts shown, explained, repaired; settings and Verilog downloaded")
        finally:
            if driver:
                driver.quit()
            server.terminate()
            server.wait(timeout=10)


if __name__ == "__main__":
    main()
