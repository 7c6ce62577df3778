#!/usr/bin/env python3
"""Checks the built board program's resources with an independent reader (wrestool).

Usage: check_kestrum_resources.py KESTRUM.EXE
"""
import os
import re
import struct
import subprocess
import sys


# The release program is small: stripped, size-optimised, 256-colour pictures.
MAX_PROGRAM_SIZE = 400_000


def listing(exe):
    out = subprocess.run(["wrestool", "-l", exe], check=True, capture_output=True, text=True)
    found = set()
    for line in out.stdout.splitlines():
        m = re.match(r"--type=(\d+) --name=(\d+)", line)
        if m:
            found.add((int(m.group(1)), int(m.group(2))))
    return found


def raw(exe, rtype, name):
    return subprocess.run(["wrestool", "-x", "--raw", f"--type={rtype}", f"--name={name}", exe],
                          check=True, capture_output=True).stdout


def main():
    exe = sys.argv[1]
    failures = []
    found = listing(exe)
    wanted = {
        (14, 128): "window icon", (14, 139): "notification-area icon", (2, 144): "splash bitmap",
        (4, 129): "main menu", (4, 130): "Rename Buttons menu", (4, 131): "context menu",
        (4, 132): "tray menu", (5, 200): "board window", (5, 201): "Rename Buttons",
        (5, 202): "Edit Text Field", (5, 203): "About box", (5, 205): "Help",
        (5, 209): "prompt", (5, 211): "splash", (5, 213): "installed message",
        (16, 1): "version", (24, 1): "manifest",
    }
    for key, what in sorted(wanted.items()):
        if key not in found:
            failures.append(f"missing {what} (type {key[0]}, id {key[1]})")

    if (2, 144) in found:
        header = raw(exe, 2, 144)[:16]
        width, height = struct.unpack("<ii", header[4:12])
        if (width, abs(height)) != (480, 344):
            failures.append(f"splash bitmap is {width} x {height}, not 480 x 344")
        bits = struct.unpack("<H", header[14:16])[0]
        if bits != 8:
            failures.append(f"splash bitmap has {bits} bits per pixel, not 256 colours")
    for icon in (128, 139):
        if (14, icon) in found:
            count = struct.unpack("<H", raw(exe, 14, icon)[4:6])[0]
            if count < 2:
                failures.append(f"icon {icon} has {count} size(s); a product icon has several")
    if (16, 1) in found:
        version = raw(exe, 16, 1).decode("utf-16-le", "replace")
        if "18.06.01" not in version:
            failures.append("version resource does not carry 18.06.01")
    if (24, 1) in found:
        manifest = raw(exe, 24, 1).decode("utf-8", "replace")
        if 'level="asInvoker"' not in manifest or "supportedOS" not in manifest:
            failures.append("manifest lacks asInvoker or the supported systems")

    size = os.path.getsize(exe)
    if size >= MAX_PROGRAM_SIZE:
        failures.append(f"the program is {size} bytes, not under {MAX_PROGRAM_SIZE}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(wanted) + 7 - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
