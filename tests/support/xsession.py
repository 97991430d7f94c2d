# A private X display for the Python tests: Xvfb on a display number the
# server picks itself (so tests side by side never race for one), openbox
# managing it, and helpers that wait for what they need (the window manager
# ready, a window managed, a window active) with a deadline instead of
# sleeping. tests/support/xsession.sh does the same for the shell tests,
# tests/e2e/xsession.cpp for the C++ ones.
import os
import select
import subprocess
import time

TOOLS = ("Xvfb", "openbox", "xdotool", "xprop", "xmessage")


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


class XSession:
    def __init__(self):
        self.display = None
        self._xvfb = None
        self._wm = None

    def start(self):
        """Starts Xvfb and openbox and sets DISPLAY; raises RuntimeError
        with the reason when they do not come up."""
        # -displayfd: the server takes the first free display and writes
        # its number once it accepts connections.
        self._xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"],
                                      stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        ready, _, _ = select.select([self._xvfb.stdout], [], [], 60)
        number = self._xvfb.stdout.readline().decode().strip() if ready else ""
        if not number.isdigit():
            raise RuntimeError("Xvfb did not come up")
        self.display = ":" + number
        os.environ["DISPLAY"] = self.display
        # Under load openbox can be slow to come up, or end on its way: it
        # gets a generous wait and two more starts.
        for attempt in range(3):
            self._wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            announced = wait_for(lambda: self._wm.poll() is not None
                                 or "_NET_ACTIVE_WINDOW" in tool("xprop", "-root", "_NET_SUPPORTED"), 60)
            if announced and self._wm.poll() is None and self._manages_new_windows():
                return
            print(f"openbox is not up on {self.display} (start {attempt + 1})", flush=True)
            self._end(self._wm)
        raise RuntimeError(f"openbox does not manage the display {self.display}")

    def stop(self):
        for process in (self._wm, self._xvfb):
            self._end(process)
        self._wm = self._xvfb = None

    @staticmethod
    def _end(process):
        if process is None:
            return
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()

    @staticmethod
    def managed(window):
        """A window openbox manages has a frame, which it announces."""
        return " = " in tool("xprop", "-id", window, "_NET_FRAME_EXTENTS")

    def _manages_new_windows(self):
        # openbox announces itself before it handles the windows mapped while
        # it starts: such a window stays without a frame until some later
        # event wakes openbox. A probe window shows when openbox frames new
        # windows; while it does not, a new probe is that later event.
        name = f"lumitaktprobe{os.getpid()}"
        end = time.monotonic() + 60
        while time.monotonic() < end and self._wm.poll() is None:
            probe = subprocess.Popen(["xmessage", "-name", name, "probe"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                if wait_for(lambda: any(self.managed(w) for w in tool("xdotool", "search", "--classname", f"^{name}$").split()), 3):
                    return True
            finally:
                self._end(probe)
        return False

    def window(self, pid, *search, seconds=60):
        """The first visible window of the process that also matches all the
        given `xdotool search` arguments, once openbox manages it; None if
        none comes."""
        return wait_for(lambda: next((w for w in tool("xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), *search).split()
                                      if self.managed(w)), None), seconds)

    @staticmethod
    def activate(window):
        """Activates the window and waits until openbox says it is active."""
        def active():
            if tool("xdotool", "getactivewindow") == window:
                return True
            tool("xdotool", "windowactivate", window)
            return wait_for(lambda: tool("xdotool", "getactivewindow") == window, 3)
        return bool(wait_for(active, 30))

    def state(self):
        """What a failed check against the display should report."""
        wm = "running" if self._wm is not None and self._wm.poll() is None else "not running"
        return (f"display {self.display}, openbox {wm}, active window {tool('xdotool', 'getactivewindow') or 'none'}, "
                f"keyboard focus {tool('xdotool', 'getwindowfocus') or 'none'}")

    def keys(self, window, *names):
        """Types the keys into the window, once it is active."""
        if window is None or not self.activate(window):
            return False
        subprocess.run(["xdotool", "key", "--delay", "100", *names], capture_output=True)
        return True

    def menu(self, window, entry, *in_submenu):
        """Opens the window's menu with M and chooses the entry by its key;
        with more keys, the entry opens a submenu, and they are typed into it
        once it shows (keys typed before would still reach the menu above)."""
        if window is None or not self.activate(window):
            return False
        instance = tool("xprop", "-id", window, "WM_CLASS").split('"')[1]

        def shown():
            return len(tool("xdotool", "search", "--onlyvisible", "--classname", f"^{instance}$").split())
        before = shown()
        tool("xdotool", "key", "M")
        if not wait_for(lambda: shown() > before, 10):
            return False
        tool("xdotool", "key", entry)
        if not in_submenu:
            return True
        if not wait_for(lambda: shown() > before + 1, 10):
            return False
        tool("xdotool", "key", "--delay", "100", *in_submenu)
        return True
