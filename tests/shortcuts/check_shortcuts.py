#!/usr/bin/env python3
"""Reads the shortcuts of the end-to-end clean install with an independent reader (lnkinfo
of liblnk) and checks target, arguments, working folder and icon of each.

The installer's clean-install test copies the desktop shortcut and the group's three into
FOLDER ("Desktop Tessaro.lnk", "Group Tessaro.lnk", ...); the install went into C:\\vqp.

Usage: check_shortcuts.py FOLDER vqpsx.exe
"""
import os
import re
import subprocess
import sys

FOLDER = "C:\\vqp"
EXPECTED = {
    "Desktop Tessaro.lnk": ("KESTRUM.EXE", None, "KESTRUM.EXE"),
    "Group Tessaro.lnk": ("KESTRUM.EXE", None, "KESTRUM.EXE"),
    "Group Read Me.lnk": ("README.TXT", None, "README.ICO"),
    "Group UnInstall.lnk": ("vqpsx.exe", "UnInstall", "UNINSTL.ICO"),
}


def link_fields(path):
    out = subprocess.run(["lnkinfo", path], check=True, capture_output=True, text=True).stdout
    fields = {}
    for line in out.splitlines():
        m = re.match(r"\t([A-Za-z ]+?)\t+: (.*)$", line)
        if m and m.group(1) not in fields:
            fields[m.group(1)] = m.group(2)
    return fields


def main():
    folder, installer = sys.argv[1:3]
    failures = []
    checks = 0

    def check(condition, message):
        nonlocal checks
        checks += 1
        if not condition:
            failures.append(message)

    built = os.path.getmtime(installer)
    for name, (target, arguments, icon) in sorted(EXPECTED.items()):
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            failures.append(f"{name}: missing (the installer's clean-install test makes it)")
            continue
        check(os.path.getmtime(path) >= built,
              f"{name}: older than {installer}; it comes from an install of an earlier build")
        fields = link_fields(path)
        seen = {
            "target": fields.get("Local path"),
            "arguments": fields.get("Command line arguments"),
            "working folder": fields.get("Working directory"),
            "icon": fields.get("Icon location"),
            "icon index": fields.get("Icon index"),
        }
        wanted = {
            "target": FOLDER + "\\" + target,
            "arguments": arguments,
            "working folder": FOLDER,
            "icon": FOLDER + "\\" + icon,
            "icon index": "0",
        }
        for what in wanted:
            check(seen[what] == wanted[what],
                  f"{name}: {what} is {seen[what]!r}, expected {wanted[what]!r}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
