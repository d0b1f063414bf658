#!/usr/bin/env python3
"""The catalogue over the sample catalogue as a Jet 4.0 file gives what it gives over its own
format: the program is started headless twice, from build/bin (its own res.dat) and from a
folder holding a copy of it, the Jet sample as res.dat and the same photos; each run dumps its
windows and screenshots the desktop at start, then with the card and photo of the first
organisation that has photos, then with that card's second photo. Every dump and picture of the
two runs must be equal. Fails when there is no Jet sample: the build always makes it.

    jet_sample_test.py BIN_DIR JET_FIXTURES
"""
import json
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written into the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from dump_controls import find_control  # noqa: E402


def first_difference(a, b, path="dump"):
    """Where two dumps first differ, as a path and the two values."""
    if type(a) is not type(b):
        return "%s: %r / %r" % (path, a, b)
    if isinstance(a, dict):
        for k in sorted(set(a) | set(b)):
            if a.get(k) != b.get(k):
                return first_difference(a.get(k), b.get(k), path + "." + k)
    elif isinstance(a, list):
        if len(a) != len(b):
            return "%s: %d / %d items" % (path, len(a), len(b))
        for i, (x, y) in enumerate(zip(a, b)):
            if x != y:
                return first_difference(x, y, "%s[%d]" % (path, i))
    return "%s: %r / %r" % (path, a, b)


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def run(program, tmp, tag, steps):
    """Runs the program over the script of steps; returns the dumps and pictures it made."""
    outputs = []
    lines = []
    for i, step in enumerate(steps):
        lines.extend(step)
        dump = os.path.join(tmp, "%s-%d.json" % (tag, i))
        shot = os.path.join(tmp, "%s-%d.png" % (tag, i))
        lines += ["wait 100", "dump " + dump, "shot " + shot]
        outputs.append((dump, shot))
    script = os.path.join(tmp, tag + ".script")
    with open(script, "w") as f:
        f.write("\n".join(lines + ["quit"]) + "\n")
    env = dict(os.environ, UI_BACKEND="headless", UI_SCRIPT=script,
               UI_REPLY=os.path.join(tmp, tag + ".reply"))
    subprocess.run([program], env=env, check=True, timeout=180)
    result = []
    for dump, shot in outputs:
        # Photo files are named by the program's folder, which differs between the runs.
        with open(dump, encoding="utf-8") as f:
            d = json.loads(f.read().replace(os.path.dirname(program) + "/", "FOLDER/"))
        with open(shot, "rb") as f:
            result.append((d, f.read()))
    return result


def main():
    bin_dir, fixtures = sys.argv[1], os.environ.get("MC_JET_FIXTURES") or sys.argv[2]
    jet = os.path.join(fixtures, "sample", "res.dat")
    if not os.path.exists(jet):
        print("no Jet sample %s (MC_JET_FIXTURES names the folder)" % jet)
        sys.exit(1)
    # The first organisation with two photos whose files exist, by the tree's order.
    db = sqlite3.connect(os.path.join(bin_dir, "res.dat"))
    with_photos = {r[0] for r in db.execute(
        "select id_uz from foto group by id_uz having count(*) >= 2")}
    with tempfile.TemporaryDirectory() as tmp:
        folder = os.path.join(tmp, "jet")
        os.mkdir(folder)
        shutil.copy2(os.path.join(bin_dir, "catalogue"), folder)
        shutil.copy2(jet, os.path.join(folder, "res.dat"))
        os.symlink(os.path.join(bin_dir, "res"), os.path.join(folder, "res"))

        own_program = os.path.join(bin_dir, "catalogue")
        first = run(own_program, tmp, "probe", [[]])[0][0]
        nodes = find_control(first, "sTreeView2")["nodes"]
        # The organisation and the district above it (the nodes come depth first).
        at = next(i for i, n in enumerate(nodes) if n["level"] == 1 and n["data"] in with_photos)
        district = next(n for n in reversed(nodes[:at]) if n["level"] == 0)
        expand = ["dblclick %d %d" % centre(district["rect"])]
        opened = run(own_program, tmp, "probe-open", [expand])[0][0]
        node = next(n for n in find_control(opened, "sTreeView2")["nodes"]
                    if n["data"] == nodes[at]["data"])
        steps = [[], expand, ["click %d %d" % centre(node["rect"])]]
        button = find_control(first, "sBitBtn2")
        if button:
            steps.append(["click %d %d" % centre(button["screen"])])
        own = run(own_program, tmp, "own", steps)
        other = run(os.path.join(folder, "catalogue"), tmp, "jet", steps)
        for i, ((d1, p1), (d2, p2)) in enumerate(zip(own, other)):
            if d1["application"]["messages"] or d2["application"]["messages"]:
                sys.exit("step %d: messages %r / %r" % (i, d1["application"]["messages"],
                                                        d2["application"]["messages"]))
            if d1 != d2:
                sys.exit("step %d: the dumps differ at %s" % (i, first_difference(d1, d2)))
            if p1 != p2:
                sys.exit("step %d: the screens differ" % i)
        print("the Jet sample shows the same tree, card and photos (%d steps, organisation %d)"
              % (len(steps), node["data"]))


main()
