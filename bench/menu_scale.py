#!/usr/bin/env python3
"""Times `kova menu` as a user meets it, in an 80x24 tmux pane: opening a
generated description of 10,000 objects (bench/scale_description.py)
until the first screen shows its verdict, and each change (Space on a
two-valued parameter) until the screen shows the new value. Goals: open
within 1 s, a change within 100 ms. The screen is read every 5 ms, so a
figure is at most that much late. Skipped when tmux is missing.

usage: bench/menu_scale.py KOVA"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CHANGES = 20


def tmux(socket, *arguments):
    return subprocess.run(["tmux", "-L", socket] + list(arguments), check=True, capture_output=True,
                          text=True).stdout


def wait_for(socket, test, limit=60.0):
    """Seconds until the captured screen passes test."""
    start = time.monotonic()
    while not test(tmux(socket, "capture-pane", "-p")):
        if time.monotonic() - start > limit:
            raise SystemExit("menu_scale: the screen never showed what was awaited")
        time.sleep(0.005)
    return time.monotonic() - start


def cursor_value(screen):
    line = next((line for line in screen.split("\n") if line.startswith(">")), "")
    return line.split()[2] if len(line.split()) > 2 else ""


def main():
    kova = os.path.abspath(sys.argv[1])
    if not shutil.which("tmux"):
        print("menu_scale: tmux is missing, skipped")
        return
    folder = tempfile.mkdtemp(prefix="kova-menu-bench-")
    socket = "kova-menu-bench-%d" % os.getpid()
    try:
        description = os.path.join(folder, "scale.xml")
        subprocess.run([sys.executable, os.path.join(HERE, "scale_description.py"), "--objects", "10000",
                        description], check=True)
        started = time.monotonic()
        tmux(socket, "new-session", "-d", "-x", "80", "-y", "24", "env", "LANG=C.UTF-8", kova, "menu",
             description)
        wait_for(socket, lambda screen: " valid" in screen.split("\n")[0])
        opened = time.monotonic() - started
        # The cursor to g0_S (a|b, toggled by Space), found by a search.
        tmux(socket, "send-keys", "/", "g0_S", "Enter")
        wait_for(socket, lambda screen: cursor_value(screen) == "a")
        times = []
        for change in range(CHANGES):
            wanted = "b" if change % 2 == 0 else "a"
            start = time.monotonic()
            tmux(socket, "send-keys", "Space")
            wait_for(socket, lambda screen: cursor_value(screen) == wanted)
            times.append(time.monotonic() - start)
        times.sort()
        print("kova menu, 10,001 objects: open %.0f ms (goal 1000), change median %.0f ms, worst %.0f ms "
              "(goal 100), over %d changes" % (opened * 1000, times[len(times) // 2] * 1000, times[-1] * 1000,
                                                CHANGES))
    finally:
        subprocess.run(["tmux", "-L", socket, "kill-server"], capture_output=True)
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()
