#!/usr/bin/python3
"""What assistive technology reads of the running window, over AT-SPI (pyatspi).

Drives the window with xdotool and checks names, roles and states as a screen reader, a
magnifier that follows the focus or a braille display would meet them. Writes the whole tree
of each step to the artefact folder.  usage: check_tree.py ARTEFACT_DIR
"""
import subprocess
import sys
import time

import pyatspi

out_dir = sys.argv[1]
failures = []
passed = 0


def check(ok, what):
    global passed
    print(("ok   " if ok else "FAIL ") + what)
    if ok:
        passed += 1
    else:
        failures.append(what)


def app():
    for _ in range(50):
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == "orvane":
                return a
        time.sleep(0.1)
    sys.exit("FAIL the window never appeared on the accessibility bus")


def nodes(obj):
    yield obj
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child is not None:
            yield from nodes(child)


def states(obj):
    return {pyatspi.stateToString(s) for s in obj.getState().getStates()}


def dump(name):
    with open(f"{out_dir}/{name}.txt", "w", encoding="utf-8") as f:
        def walk(o, depth):
            f.write(f"{'  ' * depth}{o.getRoleName()} {o.name!r} {' '.join(sorted(states(o)))}\n")
            for i in range(o.childCount):
                c = o.getChildAtIndex(i)
                if c is not None:
                    walk(c, depth + 1)
        walk(app(), 0)


def keys(*names):
    for k in names:
        subprocess.run(["xdotool", "key", k], check=True)
        time.sleep(0.4)


def focused():
    return [o for o in nodes(app()) if "focused" in states(o) and "showing" in states(o)]


# 1. The drill's buttons: named by their captions, focusable, and one of them focused.
dump("start")
buttons = [o for o in nodes(app()) if o.getRoleName() == "push button" and "showing" in states(o)]
check({b.name for b in buttons} >= {"PlayBack", "Start"}, "the visible buttons are named by their captions")
check(all("focusable" in states(b) for b in buttons), "every visible button is focusable")
check([o.name for o in focused()] == ["PlayBack"], "the focus starts on PlayBack")

# 2. Start hides itself when pressed: the focus rests on the window's area, named after it.
keys("Tab", "Return")
dump("after-start")
now = focused()
check([(o.getRoleName(), o.name) for o in now] == [("filler", "Orvane")],
      f"after Start hides, the focus is on the window's area named Orvane (is {[o.name for o in now]})")

# 3. The voice dialog: each list named after its label.
keys("alt+o", "a")
time.sleep(0.5)
dump("voice-dialog")
lists = {o.name for o in nodes(app()) if o.getRoleName() in ("list", "list box") and "showing" in states(o)}
check(lists >= {"日本語", "英語"}, f"the voice lists are named 日本語 and 英語 (are {sorted(lists)})")
keys("Escape")

# 4. Slow speech, a check item: its state follows the menu.
def slow_item():
    return next(o for o in nodes(app()) if o.name == "ゆっくり話す(L)")

check("checked" not in states(slow_item()), "slow speech starts unchecked")
keys("ctrl+s")
check("checked" in states(slow_item()), "Ctrl+S checks slow speech")
keys("ctrl+s")
check("checked" not in states(slow_item()), "Ctrl+S again unchecks it")
dump("end")

print(f"{passed} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
