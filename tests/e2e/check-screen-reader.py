#!/usr/bin/python3
# What a screen reader gets from the real clock through AT-SPI: the clock's
# name carries the time and changes with an event at the minute, a menu
# opened from the keyboard has its first item focused, every control of the
# dialogs has a name, the hour bar reports the hour in its box, and the
# alarm is an alert whose description is the note.
# Run inside its own session bus:  dbus-run-session -- check-screen-reader.py LUMITAKT
import os
import shutil
import subprocess
import sys
import tempfile

import pyatspi
from gi.repository import GLib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from xsession import TOOLS, XSession, tool, wait_for  # noqa: E402

program = sys.argv[1]
# The library that shifts the clock's wall clock, where Debian puts it.
faketime = next((path for path in ("/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1",
                                   "/usr/lib/aarch64-linux-gnu/faketime/libfaketime.so.1",
                                   "/usr/lib/faketime/libfaketime.so.1") if os.path.exists(path)), None)
for name in TOOLS:
    if shutil.which(name) is None:
        sys.exit(f"FAIL: {name} is missing")
if faketime is None or not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
    sys.exit("FAIL: libfaketime or at-spi2-core is missing")
failures = []
passed = []
procs = []


def check(ok, what):
    print(("PASS   : " if ok else "FAIL!  : ") + what, flush=True)
    (passed if ok else failures).append(what)


def start(args, env=None):
    p = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    procs.append(p)
    return p


def descendants(node, depth=0):
    if node is None or depth > 12:
        return
    yield node
    for i in range(node.childCount):
        yield from descendants(node.getChildAtIndex(i), depth + 1)


def clock_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name.lower() == "lumitakt":
            return app
    return None


def window_named(prefix):
    app = clock_app()
    if app is None:
        return None
    for window in app:
        if window is not None and window.name.startswith(prefix):
            return window
    return None


def unnamed_controls(window):
    return [f"{c.getRoleName()} {c.parent.name!r}" for c in descendants(window)
            if c.getState().contains(pyatspi.STATE_FOCUSABLE) and c.getRole() != pyatspi.ROLE_PANEL and not c.name.strip()]


def events_while(kind, action, accept, seconds):
    """Runs action, then collects the events of a kind that accept() takes,
    until one is taken or the time is up."""
    taken = []

    def on_event(event):
        if accept(event):
            taken.append(event)
            pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(on_event, kind)
    GLib.timeout_add(100, lambda: action() and False)
    timer = GLib.timeout_add_seconds(seconds, lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(on_event, kind)
    if not taken:
        return []
    GLib.source_remove(timer)
    return taken


try:
    # A display with a window manager, and the accessibility bus.
    x = XSession()
    try:
        x.start()
    except RuntimeError as error:
        sys.exit(f"FAIL: {error}")
    start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    if not wait_for(lambda: "unix:" in tool("dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                                            "org.a11y.Bus.GetAddress"), 30):
        sys.exit("FAIL: the accessibility bus did not come up")

    # The clock in a portable folder of its own, its wall clock at 09:29:50.
    folder = tempfile.mkdtemp(prefix="lumitakt-a11y-")
    shutil.copy(program, folder)
    for name in ("Termin.wav", "Lumitakt.portable"):
        shutil.copy(os.path.join(os.path.dirname(program), name), folder)
    env = dict(os.environ, LC_ALL="de_DE.UTF-8", LANG="de_DE.UTF-8", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               LD_PRELOAD=faketime, FAKETIME="@2026-12-06 09:29:50", FAKETIME_DONT_FAKE_MONOTONIC="1")
    env.pop("QT_QPA_PLATFORM", None)
    clock = start([os.path.join(folder, os.path.basename(program))], env)

    frame = wait_for(lambda: window_named("09:29"), 20)
    check(frame is not None and frame.name == "09:29, Sonntag, 6. Dezember 2026",
          f"the clock's name holds the time and the date ({frame.name if frame else 'no window'!r})")
    check(frame is not None and not any(n.getRole() in (pyatspi.ROLE_FILLER, pyatspi.ROLE_IMAGE) and not n.name
                                        for n in descendants(frame) if n is not frame),
          "no unnamed pictures below the clock")

    # The name changes at the minute, with an event.
    names = [e.source.name for e in events_while(
        "object:property-change:accessible-name", lambda: None,
        lambda e: e.source is not None and e.source.getRole() == pyatspi.ROLE_FRAME and "09:30" in str(e.source.name), 20)]
    check(names == ["09:30, Sonntag, 6. Dezember 2026"], f"a name-change event at 09:30 ({names!r})")

    window = x.window(clock.pid, "--classname", "^lumitakt$")
    check(window is not None and x.activate(window), "the clock window is managed and can be made active")
    for key in ("M", "Menu"):
        focused = [e.source.name for e in events_while(
            "object:state-changed:focused", lambda: x.keys(window, key),
            lambda e: e.detail1 == 1 and e.source is not None and e.source.getRole() == pyatspi.ROLE_MENU_ITEM, 10)]
        check(bool(focused) and focused[0].startswith("Termin eingeben"),
              f"the menu opened with {key} has its first item focused ({focused!r}; {x.state()}, clock {window})")
        x.keys(window, "Escape")

    # The dialogs: every control named; the hour bar's value is the hour in its box.
    for access, title in ((["T"], " Termin eingeben"), (["E", "Return"], " Termin signalisieren"),
                          (["E", "Up", "Return"], " syncronisieren mit")):
        chosen = x.menu(window, *access)
        dialog = wait_for(lambda: window_named(title), 20)
        check(dialog is not None and not unnamed_controls(dialog),
              f"{title.strip()}: no unnamed control ({unnamed_controls(dialog) if dialog else 'not open, ' + ('chosen' if chosen else 'the menu did not open') + ': ' + x.state()})")
        if dialog is not None and title == " Termin eingeben":
            named = {(n.getRole(), n.name): n for n in descendants(dialog)}
            bar = named.get((pyatspi.ROLE_SCROLL_BAR, "Stunde"))
            box = named.get((pyatspi.ROLE_TEXT, "Stunde"))
            shown = box.queryText().getText(0, -1) if box else None
            check(bar is not None and shown is not None and int(bar.queryValue().currentValue) == int(shown),
                  f"the hour bar's value is the hour in its box ({bar.queryValue().currentValue if bar else None} / {shown})")
            # The appointment through the dialog's own controls: 09:31, with a note.
            for role, name, text in ((pyatspi.ROLE_TEXT, "Stunde", "09"), (pyatspi.ROLE_TEXT, "Minute", "31"),
                                     (pyatspi.ROLE_TEXT, "Notiz", "Zahnarzt anrufen")):
                named[(role, name)].queryEditableText().setTextContents(text)
            ok = next(n for n in descendants(dialog) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "OK"
                      and n.getState().contains(pyatspi.STATE_SHOWING))
            ok.queryAction().doAction(0)
        else:
            x.keys(x.window(clock.pid, "--name", "^" + title + "$"), "Escape")
        wait_for(lambda: window_named(title) is None, 10)

    # 09:31: the alarm, an alert that carries the note.
    def alert():
        app = clock_app()
        return next((n for n in app if n is not None and n.getRole() == pyatspi.ROLE_ALERT), None) if app else None

    found = wait_for(alert, 90)
    check(found is not None and found.description == "Zahnarzt anrufen",
          f"the alarm is an alert with the note ({found.description if found else 'no alert'!r})")
finally:
    for p in reversed(procs):
        p.terminate()
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
    if "x" in globals():
        x.stop()
    if "folder" in globals():
        shutil.rmtree(folder, ignore_errors=True)

print(f"{len(passed)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
