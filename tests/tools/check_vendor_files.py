#!/usr/bin/env python3
"""Checks the build's test of a folder of vendor driver files.

Usage: check_vendor_files.py CMAKE SCRIPT DIST
Copies the stand-in folders of DIST as a vendor folder, then: complete is
accepted, names in another letter case are accepted, and a folder missing
files is refused with an error that names each of them.
"""
import os
import shutil
import subprocess
import sys
import tempfile


def check(cmake, script, folder):
    run = subprocess.run([cmake, "-DDIR=" + folder, "-P", script], capture_output=True, text=True)
    return run.returncode, run.stdout + run.stderr


def main():
    cmake, script, dist = sys.argv[1:4]
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        vendor = os.path.join(tmp, "vendor")
        for arch in ("x86", "x64"):
            shutil.copytree(os.path.join(dist, arch), os.path.join(vendor, arch))

        rc, out = check(cmake, script, vendor)
        if rc != 0:
            problems.append("a complete folder was refused:\n" + out)

        first = sorted(os.listdir(os.path.join(vendor, "x86")))[0]
        os.rename(os.path.join(vendor, "x86", first), os.path.join(vendor, "x86", first.lower()))
        rc, out = check(cmake, script, vendor)
        if rc != 0:
            problems.append("a name in lower case was refused:\n" + out)

        gone = [("x64", sorted(os.listdir(os.path.join(vendor, "x64")))[-1]), ("x86", first.lower())]
        for arch, name in gone:
            os.remove(os.path.join(vendor, arch, name))
        rc, out = check(cmake, script, vendor)
        if rc == 0:
            problems.append("a folder missing files was accepted")
        for arch, name in gone:
            if ("%s/%s" % (arch, name)).lower() not in out.lower():
                problems.append("the error does not name %s/%s:\n%s" % (arch, name, out))
        if "2 driver file" not in out:
            problems.append("the error does not count the missing files:\n" + out)
    for p in problems:
        print("FAIL: " + p)
    print("vendor folder check: %s" % ("ok" if not problems else "%d problem(s)" % len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
