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


CLASSES = {0x80: "Button", 0x81: "Edit", 0x82: "Static", 0x83: "ListBox", 0x85: "ComboBox"}


def read_sz_or_ord(data, at):
    """A name or an ordinal of a dialog template; returns (value, offset after it)."""
    first = struct.unpack_from("<H", data, at)[0]
    if first == 0:
        return "", at + 2
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, at + 2)[0], at + 4
    end = at
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def dialog_controls(data):
    """Caption and (id, class, text) of each control of an extended dialog template."""
    count = struct.unpack_from("<H", data, 16)[0]
    style = struct.unpack_from("<I", data, 12)[0]
    at = 26
    _, at = read_sz_or_ord(data, at)  # menu
    _, at = read_sz_or_ord(data, at)  # class
    caption, at = read_sz_or_ord(data, at)
    if style & 0x40:  # DS_SETFONT: size, weight, italic, charset, face
        _, at = read_sz_or_ord(data, at + 6)
    controls = []
    for _ in range(count):
        at = (at + 3) & ~3
        control_id = struct.unpack_from("<i", data, at + 20)[0]
        kind, at = read_sz_or_ord(data, at + 24)
        text, at = read_sz_or_ord(data, at)
        extra = struct.unpack_from("<H", data, at)[0]
        at += 2 + extra
        controls.append((control_id, CLASSES.get(kind, kind), text))
    return caption, controls


# The controls the Find and Consolidate dialogs must carry: id, class and text.
FIND_CONTROLS = [
    (1170, "Edit", ""), (1171, "Button", "&Search..."), (1172, "Button", "All Projects"),
    (1173, "Button", "Current Project"), (1174, "Button", "Find Text &in..."),
    (1175, "Button", "Buttons &and Text Fields"), (1176, "Button", "Text &Fields"),
    (1177, "Button", "&Buttons"), (1178, "Button", "&Match Case"),
    (1179, "Button", "Copy &and Close"), (1180, "Button", "&Just Close"),
    (1181, "Button", "Find &First"), (1182, "Button", "Find &Next"),
    (1183, "Button", "Search Results"), (1185, "Edit", ""), (1187, "Edit", ""),
    (1189, "Edit", ""), (1190, "Button", "&Copy this Text Field to the Windows Clipboard"),
    (1192, "Edit", ""),
]
CONSOLIDATE_CONTROLS = [
    (1158, "ListBox", ""), (1159, "Button", "->"), (1160, "Button", "<-"), (1161, "ListBox", ""),
    (1162, "Button", "OK"), (1163, "Button", "Cancel"), (1164, "Button", "&Help"),
    (1165, "Static", ""), (1166, "Static", ""),
]


def check_dialog(exe, name, caption, wanted, failures):
    seen_caption, controls = dialog_controls(raw(exe, 5, name))
    if seen_caption != caption:
        failures.append(f"dialog {name} is captioned {seen_caption!r}, not {caption!r}")
    by_id = {control[0]: control for control in controls}
    for control in wanted:
        if by_id.get(control[0]) != control:
            failures.append(f"dialog {name}: control {control[0]} is {by_id.get(control[0])}, "
                            f"not {control}")


def main():
    exe = sys.argv[1]
    failures = []
    found = listing(exe)
    wanted = {
        (14, 128): "window icon", (14, 139): "notification-area icon", (2, 144): "splash bitmap",
        (4, 129): "main menu", (4, 130): "Rename Buttons menu", (4, 131): "context menu",
        (4, 132): "tray menu", (5, 200): "board window", (5, 201): "Rename Buttons",
        (5, 202): "Edit Text Field", (5, 203): "About box", (5, 205): "Help",
        (5, 208): "Consolidate Projects", (5, 209): "prompt", (5, 210): "Find in Projects",
        (5, 211): "splash", (5, 213): "installed message",
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

    if (5, 210) in found:
        check_dialog(exe, 210, "Find in Projects", FIND_CONTROLS, failures)
    if (5, 208) in found:
        check_dialog(exe, 208, "Consolidate Projects", CONSOLIDATE_CONTROLS, failures)
    size = os.path.getsize(exe)
    if size >= MAX_PROGRAM_SIZE:
        failures.append(f"the program is {size} bytes, not under {MAX_PROGRAM_SIZE}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(wanted) + 9 - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
