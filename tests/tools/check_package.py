#!/usr/bin/env python3
"""Builds the distribution with cpack into a scratch folder and checks it.

Usage: check_package.py CPACK CONFIG DIST
CONFIG is the build's CPackConfig.cmake, DIST the build's dist folder, whose
x86 and x64 folders say which driver files the package must hold.
"""
import os
import subprocess
import sys
import tempfile
import zipfile


def main():
    cpack, config, dist = sys.argv[1:4]
    expected = {}
    for arch in ("x86", "x64"):
        expected[arch] = sorted(os.listdir(os.path.join(dist, arch)))
    problems = []
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run([cpack, "--config", config, "-B", out], capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout + run.stderr)
            return 1
        zips = [f for f in os.listdir(out) if f.endswith(".zip")]
        if len(zips) != 1:
            print("FAIL: expected one .zip in the package folder, found %s" % zips)
            return 1
        with zipfile.ZipFile(os.path.join(out, zips[0])) as package:
            names = [n for n in package.namelist() if not n.endswith("/")]
            top = {n.split("/")[0] for n in names}
            if len(top) != 1:
                problems.append("the package has no single top folder: %s" % sorted(top))
            inside = sorted(n.split("/", 1)[1] for n in names)
            if "OrvaSetup.exe" not in inside:
                problems.append("the program is missing")
            for arch, files in expected.items():
                got = sorted(n.split("/", 1)[1] for n in inside if n.startswith(arch + "/"))
                if got != files:
                    problems.append("%s holds %s, expected %s" % (arch, got, files))
                for name in got:
                    text = package.read("%s/%s/%s" % (sorted(top)[0], arch, name))
                    if zips[0].find("standin") >= 0 and not text.startswith(b"STAND-IN"):
                        problems.append("%s/%s is not labelled as a stand-in" % (arch, name))
            extra = [n for n in inside if n != "OrvaSetup.exe" and n.split("/")[0] not in expected]
            if extra:
                problems.append("unexpected files: %s" % extra)
            print("%s: %d files" % (zips[0], len(names)))
    for p in problems:
        print("FAIL: " + p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
