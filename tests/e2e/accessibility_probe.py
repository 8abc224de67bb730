#!/usr/bin/env python3
"""Reads the running vellix through the AT-SPI bus, as a screen reader does, and checks what it
would hear: names and roles, the labels of the fields, the group of each control, the checked
state of a bit button after a click, the dialogs, and the system menu. One table per concern.
Usage: accessibility_probe.py  (DISPLAY and the session bus are set up by the caller)"""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []


def check(ok, what):
    print(("ok: " if ok else "FAIL: ") + what)
    if not ok:
        failures.append(what)


def wait_for(find, what, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    print("FAIL: " + what + " did not appear")
    sys.exit(1)


def walk(acc):
    yield acc
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def windows():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        for i in range(app.childCount):
            win = app.getChildAtIndex(i)
            if win is not None:
                yield win


def window_named(prefix):
    return lambda: next((w for w in windows() if w.name.startswith(prefix)), None)


def role(acc):
    return acc.getRoleName()


def states(acc):
    return acc.getState()


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)


panel = wait_for(window_named("Vellix"), "the panel on the accessibility bus")
nodes = list(walk(panel))


def controls(r, name):
    return [n for n in nodes if role(n) == r and n.name == name]


print("== roles and names of the focusable controls")
focusable = [n for n in nodes if states(n).contains(pyatspi.STATE_FOCUSABLE) and n is not panel]
# The drop-down list's own entry list belongs to the combo box, which says what it is.
unnamed = [role(n) for n in focusable if not n.name and role(n.parent) != "combo box"]
check(not unnamed, "every focusable control has a name (unnamed: %s)" % unnamed)
# The list's name carries the chosen port after its label; on the simulated port there may be
# none to choose.
combo = next((n.name for n in nodes if role(n) == "combo box"), "")
check(combo == "Base Addr" or re.fullmatch(r"Base Addr, 0x[0-9A-F]{4}", combo) is not None,
      "the port list is named by its label and its chosen port: %r" % combo)
expected = [  # role, name, how many
    ("dialog", panel.name, 1),
    ("text", "Data Value", 1),
    ("combo box", combo, 1),
    ("check box", "Continous", 2),
    ("push button", "Set Data", 2),
    ("push button", "OK", 1),
    ("push button", "Cancel", 1),
    # A check box, so that Orca speaks its state; a push button's it does not.
    ("check box", "D3 bit button", 1),
    ("check box", "TriState bit button", 1),
    ("image", "Busy lamp, unlit", 1),
    # Qt hands its grouping role to AT-SPI as a panel; named, it is no longer an empty filler.
    ("panel", "Data", 1),
    ("panel", "Inputs", 1),
    ("panel", "Output", 1),
]


def found(r, name):
    return 1 if (r == "dialog" and role(panel) == "dialog") else len(controls(r, name))


# The tree may be read before the first refresh has given every lamp its image: read it again
# until it settles, then judge what is there.
deadline = time.time() + 10
while time.time() < deadline and any(found(r, name) != count for r, name, count in expected):
    time.sleep(0.2)
    nodes = list(walk(panel))
for r, name, count in expected:
    got = found(r, name)
    check(got == count, "%s %r: %d found, %d expected" % (r, name, got, count))

print("== labels of the fields")
for r, name, label in [("text", "Data Value", "Data Value"), ("combo box", combo, "Base Addr")]:
    field = controls(r, name)[0]
    by = [t.getTarget(i).name for t in field.getRelationSet()
          if t.getRelationType() == pyatspi.RELATION_LABELLED_BY for i in range(t.getNTargets())]
    check(by == [label], "%s is labelled by %r (relations: %s)" % (r, label, by))

print("== the group of like controls")
for r, name, groups in [("check box", "Continous", ["Data group", "Output group"]),
                        ("push button", "Set Data", ["Data group", "Output group"]),
                        ("combo box", combo, ["Inputs group"]),
                        ("check box", "D3 bit button", ["Data group"])]:
    got = sorted(n.description.split(".")[0] for n in controls(r, name))
    check(got == groups, "%s %r: groups %s, expected %s" % (r, name, got, groups))

print("== a bit button's checked state follows its face")
heard = []


def on_checked(event):
    heard.append((event.source.name, event.detail1))


def checked(name):
    return states(controls("check box", name)[0]).contains(pyatspi.STATE_CHECKED)


def click_with_pointer(name):
    ext = controls("check box", name)[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(ext.x + ext.width // 2), str(ext.y + ext.height // 2),
                    "click", "1"], check=True)


def press_by_action(name):
    action = controls("check box", name)[0].queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press") if "Press" in names else 0)


# The probe byte 0xAA leaves D0 clear and D1 set.
cases = [("D0 bit button", False, click_with_pointer), ("D1 bit button", True, press_by_action)]
for name, before, _ in cases:
    check(checked(name) == before, "%s starts %s" % (name, "checked" if before else "unchecked"))
# A pop-up menu is no window of the application's in the tree: a screen reader hears of it when
# the focus moves to its entry. The clicks and the menu are heard in one run of the event loop.
focused = []


def on_focus(event):
    if (event.detail1 or event.type.startswith("focus")) and role(event.source) == "menu item":
        focused.append(event.source)


# Qt sends focus changes only while someone also listens to the older "focus:" events.
listeners = [(on_checked, "object:state-changed:checked"), (on_focus, "object:state-changed:focused"),
             (on_focus, "focus:")]
for listener, kind in listeners:
    pyatspi.Registry.registerEventListener(listener, kind)
steps = iter([lambda: cases[0][2](cases[0][0]), lambda: cases[1][2](cases[1][0]),
              lambda: key("alt+space"), lambda: None, pyatspi.Registry.stop])


def next_step():
    next(steps)()
    return True


GLib.timeout_add(700, next_step)
pyatspi.Registry.start()
for listener, kind in listeners:
    pyatspi.Registry.deregisterEventListener(listener, kind)
for name, before, how in cases:
    check(checked(name) == (not before), "%s is %s after a click (%s)"
          % (name, "unchecked" if before else "checked", how.__name__))
    check((name, 0 if before else 1) in heard, "%s: the change was announced (heard %s)" % (name, heard))

print("== the system menu, opened with Alt+Space")
check(bool(focused), "opening the menu moves the focus to an entry")
if focused:
    first = focused[0]
    items = [first.parent.getChildAtIndex(i) for i in range(first.parent.childCount)]
    names = [n.name for n in items if role(n) == "menu item"]
    check(first.name == "Move", "the first entry is announced: %r" % first.name)
    check(names[:2] == ["Move", "Close"] and names[-1] == "About Vellix...", "menu entries %s" % names)
    check(not any("\t" in n or "Alt+F4" in n for n in names), "no shortcut text in the names")
key("Up")  # wraps round to the last entry, the about entry
key("Return")

print("== the about box")
about = wait_for(window_named("About"), "the about box", 10)
check(role(about) == "dialog", "the about box is a dialog (%s)" % role(about))
key("Escape")
wait_for(lambda: not window_named("About")(), "the about box closing", 10)

print("PASS" if not failures else "%d failed" % len(failures))
sys.exit(1 if failures else 0)
