#!/usr/bin/env python3
"""Runs the MDI demo headless under its script and checks the dumps the script writes: the
children under the MDI client (made, activated by click, Ctrl+F6 and the window menu,
maximised and restored, tiled in rows and columns, cascaded, closed), the window menu's
skinned list (its access key and its last entry pick children), the skins menu, and the speed
buttons' down, group and skin state.

    check_demo.py MDI_DEMO SCRIPT OUT_DIR [--expect-skins A,B,...] [--skin NAME]

--skin NAME goes to the demo (it starts in that internal skin). --expect-skins names the
internal skins (without " (внутренний)") the skins menu must list, no more and no fewer.
The screenshots and dumps stay in OUT_DIR for people to look at.
"""
import json
import os
import subprocess
import sys

sys.dont_write_bytecode = True  # nothing written into the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests"))
from dump_controls import controls, find_control  # noqa: E402

FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)


def client(dump):
    """The MDI client window of the demo's parent."""
    for w in dump["windows"]:
        for c in w.get("children", []):
            if c["class"] == "MDIClient":
                return c
    raise RuntimeError("no MDI client in the dump")


def children(dump):
    """The MDI children in z-order (topmost first)."""
    return [c for c in client(dump)["children"] if c.get("mdiChild")]


def names(dump):
    return [c["text"] for c in children(dump)]


def active(dump):
    found = [c["text"] for c in children(dump) if c["active"]]
    return found[0] if len(found) == 1 else found


def maximized(dump):
    return [c["text"] for c in children(dump) if c["maximized"]]


def menu(dump):
    """The items (caption, checked) of the pop-up menu open in the dump."""
    for w in dump["windows"]:
        if "menu" in w:
            return [(i["caption"], i["checked"]) for i in w["menu"]]
    return None


def hot_item(dump):
    """The caption of the hot item of the pop-up menu open in the dump."""
    for w in dump["windows"]:
        for i in w.get("menu", []):
            if i["hot"]:
                return i["caption"]
    return None


def window_list(dump):
    """The parent's skinned window list (caption, checked, tag) as made when last opened."""
    for w in dump["windows"]:
        provider = w.get("provider")
        if provider and "windowList" in provider:
            return [(i["caption"], i["checked"], i["tag"]) for i in provider["windowList"]]
    return None


def button(dump, name):
    b = find_control(dump, name)
    return b["down"], b["group"], b["skin"]["section"], b["skin"]["state"]


def area(r):
    return max(0, r[2] - r[0]) * max(0, r[3] - r[1])


def check_tiled(dump, what):
    """The children cover the client's area exactly, none overlapping."""
    room = client(dump)["client"]
    rects = [c["rect"] for c in children(dump)]
    for r in rects:
        check(room[0] <= r[0] and room[1] <= r[1] and r[2] <= room[2] and r[3] <= room[3],
              "%s: %s lies outside the client %s" % (what, r, room))
    for i, a in enumerate(rects):
        for b in rects[i + 1:]:
            inter = [max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3])]
            check(area(inter) == 0, "%s: %s and %s overlap" % (what, a, b))
    check(sum(area(r) for r in rects) == area(room),
          "%s: the children do not cover the client" % what)
    return rects


def main():
    demo, script, out = (os.path.abspath(a) for a in sys.argv[1:4])
    demo_args = sys.argv[4:]
    expected_skins = None
    if "--expect-skins" in demo_args:
        at = demo_args.index("--expect-skins")
        expected_skins = demo_args[at + 1].split(",")
        del demo_args[at:at + 2]
    os.makedirs(out, exist_ok=True)
    replies = os.path.join(out, "replies")
    env = dict(os.environ, UI_BACKEND="headless", UI_DESKTOP="1024x768",
               UI_SCRIPT=script, UI_REPLY=replies)
    run = subprocess.run([demo] + demo_args, env=env, cwd=out, timeout=300)
    check(run.returncode == 0, "the demo ended with %d" % run.returncode)
    with open(replies, encoding="utf-8") as f:
        answers = f.read().splitlines()
    check(answers and all(a == "ok" for a in answers), "replies: %s" % answers)

    def load(name):
        with open(os.path.join(out, "mdi-%s.json" % name), encoding="utf-8") as f:
            return json.load(f)

    d = load("01-start")
    check(names(d) == ["Рисунок 2", "Текст 1"], "start: %s" % names(d))
    check(active(d) == "Рисунок 2" and maximized(d) == [], "start: %s" % active(d))
    check(button(d, "KindTextBtn") == (True, 1, "SPEEDBUTTON", 2), "start: KindTextBtn")
    for b in ("KindPictureBtn", "KindCardBtn"):
        check(button(d, b) == (False, 1, "SPEEDBUTTON", 0), "start: " + b)
    check(button(d, "ColumnsBtn") == (False, 2, "SPEEDBUTTON", 0), "start: ColumnsBtn")
    for b in ("TileBtn", "CascadeBtn", "NextBtn"):
        check(button(d, b) == (False, 0, "SPEEDBUTTON_SMALL", 0), "start: " + b)

    d = load("02-card")
    check(names(d)[0] == "Анкета 3" and active(d) == "Анкета 3", "card: %s" % names(d))
    check(button(d, "KindCardBtn") == (True, 1, "SPEEDBUTTON", 2), "card: KindCardBtn")
    check(button(d, "KindTextBtn") == (False, 1, "SPEEDBUTTON", 0), "card: KindTextBtn up")

    d = load("03-file-menu")
    check(names(d)[:2] == ["Рисунок 5", "Текст 4"] and len(names(d)) == 5,
          "file menu: %s" % names(d))
    check(active(d) == "Рисунок 5", "file menu: active %s" % active(d))

    before = load("04-click")
    check(active(before) == "Текст 1" and names(before)[0] == "Текст 1",
          "click: active %s" % active(before))
    d = load("05-ctrl-f6")
    # The next in z-order comes; the one left goes to the bottom.
    check(active(d) == names(before)[1], "Ctrl+F6: %s after %s" % (active(d), names(before)))
    check(names(d)[-1] == "Текст 1", "Ctrl+F6: %s" % names(d))

    before = load("06-maximized")
    check(maximized(before) == [active(before)] == ["Рисунок 5"],
          "maximised: %s" % maximized(before))
    room = client(before)["client"]
    shown = children(before)[0]["client"]
    check(shown == room, "maximised: the child's client %s is not the client %s" % (shown, room))
    # The maximised picture's landscape is drawn at the size of its control, which fills the
    # child's client: no strips of the form beside it, nothing stretched.
    image = next((c for c in controls(children(before)[0]) if c["class"] == "TsImage"), None)
    check(image is not None, "maximised: no picture in %s" % names(before)[0])
    if image:
        size = [image["bounds"][2] - image["bounds"][0], image["bounds"][3] - image["bounds"][1]]
        drawn = [image["picture"]["width"], image["picture"]["height"]]
        check(image["screen"] == shown and drawn == size,
              "maximised: the picture %s drawn %s in %s, client %s"
              % (image["screen"], drawn, size, shown))
    d = load("07-next-maximized")
    check(active(d) == names(before)[1] and maximized(d) == [active(d)],
          "Ctrl+F6 maximised: %s, %s" % (active(d), maximized(d)))
    d = load("08-restored")
    check(maximized(d) == [], "restored: %s" % maximized(d))

    rows = check_tiled(load("09-tiled"), "tiled")
    check(len({r[1] for r in rows}) == 2, "tiled: rows %s" % rows)
    d = load("10-columns")
    check(button(d, "ColumnsBtn") == (True, 2, "SPEEDBUTTON", 2), "columns: ColumnsBtn")
    columns = check_tiled(d, "columns")
    check(len({r[0] for r in columns}) == 2, "columns: %s" % columns)
    check(button(load("11-toggle-up"), "ColumnsBtn")[0] is False, "toggle up: ColumnsBtn")

    d = load("12-cascade")
    # Bottom first: each a step further, the active one last and on top.
    rects = [c["rect"] for c in reversed(children(d))]
    steps = {(b[0] - a[0], b[1] - a[1]) for a, b in zip(rects, rects[1:])}
    check(len(steps) == 1 and next(iter(steps))[0] > 0, "cascade: steps %s" % steps)
    check(children(d)[0]["active"], "cascade: the active child is not on top")

    d = load("13-window-menu")
    items = menu(d)
    check(items is not None, "window menu: not open")
    if items:
        listed = [c for c, _ in items if c[:1] == "&" and c[1:2].isdigit()]
        made = sorted(names(d), key=lambda n: int(n.split()[-1]))
        check(listed == ["&%d %s" % (i + 1, n) for i, n in enumerate(made)],
              "window menu: %s" % listed)
        checked = [c for c, on in items if on]
        check(checked == ["&%d %s" % (made.index(active(d)) + 1, active(d))],
              "window menu: checked %s" % checked)
        # The entries are the skinned items the parent made (tags 512 + index), none of the
        # platform's beside them.
        skinned = window_list(d)
        check(skinned is not None, "window menu: no skinned list in the dump")
        if skinned is not None:
            check([c for c, _, _ in skinned] == listed, "window menu: skinned %s" % skinned)
            check([t for _, _, t in skinned] == [512 + i for i in range(len(skinned))],
                  "window menu: tags %s" % skinned)
            check([c for c, on, _ in skinned if on] == checked,
                  "window menu: skinned check %s" % skinned)
    check(active(load("14-chosen")) == "Текст 1", "window menu: the first not chosen")

    d = load("14a-window-menu-end")
    made = sorted(names(d), key=lambda n: int(n.split()[-1]))
    last = "&%d %s" % (len(made), made[-1])
    check(hot_item(d) == last, "window menu end: hot %s, not %s" % (hot_item(d), last))
    check([c for c, on in menu(d) or [] if on] == ["&%d %s" % (made.index("Текст 1") + 1,
                                                              "Текст 1")],
          "window menu end: checked %s" % menu(d))
    check(active(load("14b-last-chosen")) == made[-1],
          "window menu end: %s not chosen" % made[-1])

    before = load("14b-last-chosen")
    d = load("15-ctrl-f4")
    check(names(d) == names(before)[1:], "Ctrl+F4: %s" % names(d))
    d2 = load("16-closed")
    check(names(d2) == names(d)[1:], "file menu close: %s" % names(d2))

    d = load("17-hot")
    check(button(d, "CascadeBtn")[3] == 1, "hot: CascadeBtn")
    check(button(d, "TileBtn")[3] == 0 and button(d, "NextBtn")[3] == 0, "hot: the others")

    items = menu(load("18-skins-menu")) or []
    check([c for c, on in items if on] == ["Golden (внутренний)"], "skins menu: %s" % items)
    if expected_skins is not None:
        listed = sorted(c[:-len(" (внутренний)")] for c, _ in items if c.endswith(" (внутренний)"))
        check(listed == sorted(expected_skins) and len(listed) == len(items),
              "skins menu: %s, runs for %s" % ([c for c, _ in items], expected_skins))

    for f in FAILURES:
        print("FAIL: " + f)
    print("%d checks failed" % len(FAILURES) if FAILURES else "all checks passed")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
