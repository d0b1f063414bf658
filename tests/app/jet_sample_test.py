#!/usr/bin/env python3
"""The catalogue over the sample catalogue as a Jet 4.0 file gives what it gives over its own
format: the program is started headless twice, from build/bin (its own res.dat) and from a
folder holding a copy of it, the Jet sample as res.dat and the same photos; each run dumps its
windows and screenshots the desktop at start, then with the card and photo of the first
organisation that has photos, then with that card's second photo. Every dump and picture of the
two runs must be equal. Exits 77 (skipped) when there is no Jet sample.

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
        with open(dump, encoding="utf-8") as f:
            d = json.load(f)
        with open(shot, "rb") as f:
            result.append((d, f.read()))
    return result


def main():
    bin_dir, fixtures = sys.argv[1], os.environ.get("MC_JET_FIXTURES") or sys.argv[2]
    jet = os.path.join(fixtures, "res.dat")
    if not os.path.exists(jet):
        print("skipped: no Jet sample %s (MC_JET_FIXTURES names the folder)" % jet)
        sys.exit(77)
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

        first = run(os.path.join(bin_dir, "catalogue"), tmp, "probe", [[]])[0][0]
        tree = find_control(first, "sTreeView2")
        node = next(n for n in tree["nodes"]
                    if n["level"] == 1 and n["data"] in with_photos and n.get("rect"))
        x = (node["rect"][0] + node["rect"][2]) // 2
        y = (node["rect"][1] + node["rect"][3]) // 2
        button = find_control(first, "sBitBtn2")
        steps = [[], ["click %d %d" % (x, y)]]
        if button:
            r = button["screen"]
            steps.append(["click %d %d" % ((r[0] + r[2]) // 2, (r[1] + r[3]) // 2)])
        own = run(os.path.join(bin_dir, "catalogue"), tmp, "own", steps)
        other = run(os.path.join(folder, "catalogue"), tmp, "jet", steps)
        for i, ((d1, p1), (d2, p2)) in enumerate(zip(own, other)):
            if d1["application"]["messages"] or d2["application"]["messages"]:
                sys.exit("step %d: messages %r / %r" % (i, d1["application"]["messages"],
                                                        d2["application"]["messages"]))
            if d1 != d2:
                sys.exit("step %d: the dumps differ (%s)" % (i, os.path.join(tmp, "*-%d.json" % i)))
            if p1 != p2:
                sys.exit("step %d: the screens differ" % i)
        print("the Jet sample shows the same tree, card and photos (%d steps, organisation %d)"
              % (len(steps), node["data"]))


main()
