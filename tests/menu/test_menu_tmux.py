#!/usr/bin/env python3
"""kova menu driven through tmux, read from the captured screen: a walk
over examples/ram.xml (a conflict, search, explain, fix, undo, redo,
differences, save, quit), the question before quitting unsaved changes
and the terminal given back however it ends, the refusal without a
terminal, a resize below 80x24 and back, and the recovery file a
hang-up writes and the next start offers back.

Usage: test_menu_tmux.py KOVA SOURCE_DIR. Exit status 77 (skipped) when
tmux is missing. Each test has its own tmux socket and temporary folder.
"""
import filecmp
import itertools
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

KOVA = SOURCE = None
PANES = itertools.count()  # numbers each pane's server apart from every other one
WAIT_SECONDS = 10  # the longest a screen may take to show what a key asks for


class Pane:
    """kova menu in a detached tmux pane of its own server (-L)."""

    def __init__(self, folder, arguments, width=80, height=24):
        # A number of its own, not the object's address: a pane made right
        # after another is closed may get the same address while the old
        # server is still exiting, and new-session then fails on its socket.
        self.socket = "kova-menu-test-%d-%d" % (os.getpid(), next(PANES))
        ram = os.path.join(SOURCE, "examples", "ram.xml")
        command = " ".join([KOVA, "menu", ram] + arguments)
        # The pane's shell prints the exit status and the terminal's line
        # modes after it, and stays for them to be read; a Ctrl-C meant for
        # the menu does not end it (the trap is not inherited as ignored).
        script = 'exec 2>&1; trap : INT; cd "%s" && %s; echo "menu exited $?"; stty -a; sleep 60' % (
            folder, command)
        self.tmux("new-session", "-d", "-x", str(width), "-y", str(height),
                  "env", "LANG=C.UTF-8", "TERM=xterm-256color", "sh", "-c", script)
        self.wait_for("? keys")

    def tmux(self, *arguments):
        done = subprocess.run(["tmux", "-L", self.socket] + list(arguments),
                              capture_output=True, text=True, timeout=WAIT_SECONDS)
        if done.returncode != 0:
            raise AssertionError("tmux %s exited %d: %s" % (
                arguments[0], done.returncode, done.stderr.strip()))
        return done.stdout

    def keys(self, *keys):
        for key in keys:
            self.tmux("send-keys", key)

    def screen(self):
        return self.tmux("capture-pane", "-p")

    def wait_for(self, text, line=None):
        """The screen once it shows text (on that line, when given)."""
        deadline = time.monotonic() + WAIT_SECONDS
        while True:
            screen = self.screen()
            lines = screen.split("\n")
            if text in (screen if line is None else lines[line] if line < len(lines) else ""):
                return screen
            if time.monotonic() > deadline:
                raise AssertionError("%r never shown; the screen:\n%s" % (text, screen))
            time.sleep(0.1)

    def menu_pid(self):
        """The kova process: the child of the pane's shell."""
        shell = self.tmux("display-message", "-p", "#{pane_pid}").strip()
        children = subprocess.run(["pgrep", "-P", shell], capture_output=True, text=True).stdout.split()
        return int(children[0])

    def close(self):
        subprocess.run(["tmux", "-L", self.socket, "kill-server"], capture_output=True)


class MenuTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="kova-menu-")
        self.addCleanup(shutil.rmtree, self.folder)
        self.out = os.path.join(self.folder, "out.settings")

    def start(self, *arguments, width=80, height=24):
        pane = Pane(self.folder, list(arguments), width, height)
        self.addCleanup(pane.close)
        return pane

    def set_dual(self, pane):
        """MODE (the third parameter) to DUAL with Space."""
        pane.keys("Home", "j", "j", "j")
        pane.wait_for(">   MODE")
        pane.keys("Space")
        return pane.wait_for("3 errors", line=0)

    def test_walk_from_conflict_to_saved_repair(self):
        pane = self.start("--save", self.out)
        screen = self.set_dual(pane)
        conflicts = [line for line in screen.split("\n") if "! Port" in line]
        self.assertEqual([line.split()[0] for line in conflicts], ["clkb", "addrb", "doutb"])
        pane.keys("/", "clkb", "Enter")
        pane.wait_for(">   clkb")
        pane.keys("e")
        pane.wait_for("Explain clkb")
        pane.wait_for("condition: MODE == DUAL -> true")
        pane.keys("Escape", "f")
        pane.wait_for("[x] doutb: UNUSED -> USED")
        pane.keys("a")
        pane.wait_for("valid", line=0)
        pane.keys("u")
        pane.wait_for("3 errors", line=0)
        pane.keys("C-r")
        pane.wait_for("valid", line=0)
        pane.keys("d")
        screen = pane.wait_for("Differences from the defaults")
        for line in ("MODE: SINGLE -> DUAL", "clkb: UNUSED -> USED", "doutb: UNUSED -> USED"):
            self.assertIn(line, screen)
        pane.keys("Escape", "s")
        pane.wait_for("saved to")
        repaired = os.path.join(self.folder, "fix.settings")
        subprocess.run([KOVA, "fix", os.path.join(SOURCE, "examples", "ram.xml"), "--set", "MODE=DUAL",
                        "--save", repaired], capture_output=True, timeout=WAIT_SECONDS)
        self.assertTrue(filecmp.cmp(self.out, repaired, shallow=False))
        pane.keys("q")
        pane.wait_for("menu exited 0")

    def test_quit_interrupt_and_terminate_give_the_terminal_back(self):
        # q asks first (n stays, y quits); none writes the settings or a recovery file.
        for stop, status in (("q", 0), ("C-c", 130), (signal.SIGTERM, 143)):
            pane = self.start("--save", self.out)
            self.set_dual(pane)
            if stop == "q":
                pane.keys("q")
                pane.wait_for("quit without saving? (y/n)")
                pane.keys("n")
                pane.wait_for("3 errors", line=0)
                pane.keys("q", "y")
            elif stop == "C-c":
                pane.keys(stop)
            else:
                os.kill(pane.menu_pid(), stop)
            pane.wait_for("menu exited %d" % status)
            pane.wait_for("icanon")
            screen = pane.screen()
            self.assertIn(" icanon", screen)  # line editing and echo are back on
            self.assertNotIn("-icanon", screen)
            self.assertNotIn("-echo ", screen)
            self.assertFalse(os.path.exists(self.out))
            self.assertFalse(os.path.exists(self.out + ".kova-recover"))

    def test_refused_without_a_terminal(self):
        ram = os.path.join(SOURCE, "examples", "ram.xml")
        done = subprocess.run([KOVA, "menu", ram], stdin=subprocess.DEVNULL, capture_output=True, text=True,
                              timeout=WAIT_SECONDS)
        self.assertEqual(done.returncode, 2)
        self.assertIn("kova validate", done.stderr)
        self.assertIn("kova fix", done.stderr)

    def test_resize_below_80x24_and_back(self):
        pane = self.start()
        self.set_dual(pane)
        pane.tmux("resize-window", "-x", "60", "-y", "20")
        screen = pane.wait_for("? keys", line=19)
        lines = screen.rstrip("\n").split("\n")
        self.assertEqual(len(lines), 20)
        self.assertTrue(all(len(line) <= 60 for line in lines))
        # The value column shrank first: the conflict mark still shows.
        self.assertIn("! Port", screen)
        pane.tmux("resize-window", "-x", "80", "-y", "24")
        screen = pane.wait_for("? keys", line=23)
        self.assertIn("! Port clkb is being set", screen)

    def test_hang_up_writes_recovery_offered_at_next_start(self):
        pane = self.start("--save", self.out)
        self.set_dual(pane)
        os.kill(pane.menu_pid(), signal.SIGHUP)
        pane.wait_for("menu exited 129")
        recovery = self.out + ".kova-recover"
        with open(recovery) as file:
            self.assertIn("MODE=DUAL\n", file.read())
        pane = self.start("--save", self.out)
        pane.wait_for("earlier session? (y/n)")
        pane.keys("y")
        pane.wait_for("3 errors", line=0)
        self.assertFalse(os.path.exists(recovery))


if __name__ == "__main__":
    KOVA, SOURCE = sys.argv[1], sys.argv[2]
    if not shutil.which("tmux"):
        print("tmux is missing: skipped")
        sys.exit(77)
    unittest.main(argv=sys.argv[:1])
