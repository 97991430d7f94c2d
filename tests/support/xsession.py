# A private X display for the Python tests, started, readied and stopped by
# xsession.sh beside this file, which lives as long as this session (or this
# process, however it ends); the waits for a window and the typing into it
# are the script's too.
import os
import subprocess
import time

TOOLS = ("Xvfb", "openbox", "xdotool", "xprop", "xdpyinfo", "xmessage", "setpriv")
SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "xsession.sh")


def wait_for(condition, seconds):
    """Calls condition every 0.2 s until it returns something true, at most
    for the given seconds; returns what it last returned."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = condition()
        if found:
            return found
        time.sleep(0.2)
    return condition()


def tool(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout.strip()


def script(*args):
    """Runs one of the script's functions on the display: what it printed if
    it succeeded, else None."""
    done = subprocess.run(["/bin/bash", SCRIPT, *args], stdout=subprocess.PIPE, text=True)
    return done.stdout.strip() if done.returncode == 0 else None


class XSession:
    def __init__(self):
        self.display = None
        self._session = None

    def start(self):
        """Starts the session and sets DISPLAY; raises RuntimeError when it
        does not come up (the script has said why on stderr)."""
        self._session = subprocess.Popen(["/bin/bash", SCRIPT, "serve"], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        line = self._session.stdout.readline().strip()
        if not line.startswith("DISPLAY=:"):
            self.stop()
            raise RuntimeError("no X session")
        self.display = line.removeprefix("DISPLAY=")
        os.environ["DISPLAY"] = self.display

    def stop(self):
        """Ends the session: the script stops it once its input ends."""
        if self._session is not None:
            self._session.stdin.close()
            self._session.wait()
        self._session = None

    # The script's x_window, x_activate, x_keys and x_menu, with its waits:
    # the first visible window of a process that matches all the `xdotool
    # search` arguments once openbox manages it (None if none comes); the
    # window active; keys typed into it; an entry chosen from its menu, and
    # keys typed into the submenu the entry opens.
    @staticmethod
    def window(pid, *search):
        return script("window", str(pid), *search) or None

    @staticmethod
    def activate(window):
        return script("activate", window) is not None

    @staticmethod
    def keys(window, *names):
        return window is not None and script("keys", window, *names) is not None

    @staticmethod
    def menu(window, entry, *in_submenu):
        return window is not None and script("menu", window, entry, *in_submenu) is not None

    def state(self):
        """What a failed check against the display should report."""
        # openbox names its check window on the root window, and the window names itself.
        check = tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK").rpartition(" ")[2]
        wm = "running" if check.startswith("0x") and tool("xprop", "-id", check, "_NET_SUPPORTING_WM_CHECK").endswith(check) else "not running"
        return (f"display {self.display}, openbox {wm}, active window {tool('xdotool', 'getactivewindow') or 'none'}, "
                f"keyboard focus {tool('xdotool', 'getwindowfocus') or 'none'}")
