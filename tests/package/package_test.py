#!/usr/bin/env python3
"""The Debian package: built from the existing build by scripts/package, unpacked with
dpkg-deb -x into a temporary folder, and the catalogue started from there headless: it shows
its tree, with no error box.

    package_test.py SOURCE_DIR
"""
import json
import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # nothing written into the sources
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from dump_controls import find_control  # noqa: E402


def fail(message):
    print("package test: " + message, file=sys.stderr)
    sys.exit(1)


def main():
    source = sys.argv[1]
    with tempfile.TemporaryDirectory() as tmp:
        out = subprocess.run([os.path.join(source, "scripts/package"), tmp], check=True,
                             capture_output=True, text=True).stdout.split()
        if len(out) != 1 or not out[0].endswith(".deb"):
            fail("scripts/package made %r" % out)
        deb = out[0]
        depends = subprocess.run(["dpkg-deb", "-f", deb, "Depends"], check=True,
                                 capture_output=True, text=True).stdout
        for needed in ("libmdb3", "libsqlite3", "libsdl2", "fonts-wine", "fonts-font-awesome"):
            if needed not in depends:
                fail("Depends lacks %s: %s" % (needed, depends))
        root = os.path.join(tmp, "root")
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        folder = os.path.join(root, "opt/museum-catalogue")
        named = [os.path.join(d, f) for d, _, files in os.walk(root) for f in files + _
                 if f == "catalogue"]
        if named != [os.path.join(folder, "catalogue")]:
            fail("files named catalogue: %r" % named)
        for path in ("res.dat", "res/foto", "catalogue-convert",
                     "../../usr/share/applications/museum-catalogue.desktop",
                     "../../usr/share/museum-catalogue/autostart/museum-catalogue.desktop"):
            if not os.path.exists(os.path.join(folder, path)):
                fail("the package lacks " + path)
        if os.readlink(os.path.join(root, "usr/bin/museum-catalogue")) != \
                "/opt/museum-catalogue/catalogue":
            fail("the launcher does not name the program")

        dump = os.path.join(tmp, "dump.json")
        script = os.path.join(tmp, "script")
        with open(script, "w") as f:
            f.write("dump %s\nquit\n" % dump)
        env = dict(os.environ, UI_BACKEND="headless", UI_SCRIPT=script,
                   UI_REPLY=os.path.join(tmp, "reply"))
        subprocess.run([os.path.join(folder, "catalogue")], env=env, check=True, timeout=120)
        with open(dump, encoding="utf-8") as f:
            d = json.load(f)
        if d["application"]["messages"]:
            fail("the catalogue showed %r" % d["application"]["messages"])
        tree = find_control(d, "sTreeView2")
        if not tree or not tree.get("nodes"):
            fail("the catalogue shows no tree")
        nodes = tree["nodes"]
        districts = [n for n in nodes if n["level"] == 0]
        if not districts or len(nodes) == len(districts):
            fail("the tree holds %d districts and %d nodes" % (len(districts), len(nodes)))
        print("package test: %s unpacked; the tree shows %d districts, %d nodes"
              % (os.path.basename(deb), len(districts), len(nodes)))


main()
