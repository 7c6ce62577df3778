#!/usr/bin/env python3
"""Checks the built installer's resources with an independent reader (wrestool): its
windows, its picture and icon, and the payload it writes into the install folder.

Usage: check_vqpsx_resources.py vqpsx.exe KESTRUM.EXE SAMPLE.VQP
"""
import re
import struct
import subprocess
import sys


def listing(exe):
    out = subprocess.run(["wrestool", "-l", exe], check=True, capture_output=True, text=True)
    found = {}
    for line in out.stdout.splitlines():
        m = re.match(r"--type=(\d+) --name=(\d+).* size=(\d+)\]", line)
        if m:
            found[(int(m.group(1)), int(m.group(2)))] = int(m.group(3))
    return found


def raw(exe, rtype, name):
    return subprocess.run(["wrestool", "-x", "--raw", f"--type={rtype}", f"--name={name}", exe],
                          check=True, capture_output=True).stdout


def dialog_size(data):
    """Width and height of a DIALOGEX template (or a plain DIALOG one)."""
    if data[:4] == b"\x01\x00\xff\xff":
        return struct.unpack_from("<hh", data, 22)
    return struct.unpack_from("<hh", data, 14)


def dialog_control_count(data):
    if data[:4] == b"\x01\x00\xff\xff":
        return struct.unpack_from("<H", data, 16)[0]
    return struct.unpack_from("<H", data, 8)[0]


def main():
    exe, board, sample = sys.argv[1:4]
    failures = []
    checks = 0

    def check(condition, message):
        nonlocal checks
        checks += 1
        if not condition:
            failures.append(message)

    found = listing(exe)
    wanted = {
        (14, 128): "window icon", (2, 129): "backdrop picture", (5, 200): "backdrop window",
        (5, 201): "install dialog", (5, 202): "uninstall dialog", (10, 130): "board program",
        (10, 131): "read-me", (10, 132): "read-me icon", (10, 133): "uninstall icon",
        (10, 134): "sample project", (16, 1): "version", (24, 1): "manifest",
    }
    for key, what in sorted(wanted.items()):
        check(key in found, f"missing {what} (type {key[0]}, id {key[1]})")
    if failures:
        for failure in failures:
            print("FAIL:", failure)
        return 1

    with open(board, "rb") as f:
        check(raw(exe, 10, 130) == f.read(), "payload 130 differs from the built KESTRUM.EXE")
    with open(sample, "rb") as f:
        sample_bytes = f.read()
    payload_sample = raw(exe, 10, 134)
    check(len(payload_sample) == 338976, f"sample project is {len(payload_sample)} bytes")
    check(payload_sample == sample_bytes, "payload 134 differs from the built SAMPLE.VQP")
    check(payload_sample[:11] == b"First Name\0", "the sample's first button is not First Name")

    for icon in (132, 133):
        data = raw(exe, 10, icon)
        check(len(data) == 766, f"icon {icon} is {len(data)} bytes, not 766")
        if len(data) >= 22:
            w, h, colours, _, planes, bits = struct.unpack_from("<BBBBHH", data, 6)
            check((w, h, colours, bits) == (32, 32, 16, 4),
                  f"icon {icon} is {w}x{h}, {colours} colours, {bits} bits")
    check(raw(exe, 10, 132) != raw(exe, 10, 133), "the two payload icons are the same")

    readme = raw(exe, 10, 131)
    text = readme.decode("ascii", "replace")
    check(len(readme) > 1000, "the read-me is too short to help anyone")
    check(b"\n" not in readme.replace(b"\r\n", b""), "the read-me has lines without CR LF")
    for topic in ("Tessaro", "project", "Options", "Uninstall"):
        check(topic.lower() in text.lower(), f"the read-me never mentions {topic}")

    bitmap = raw(exe, 2, 129)
    size, width, height, planes, bits = struct.unpack_from("<IiiHH", bitmap, 0)
    check((width, abs(height), bits) == (480, 344, 8),
          f"backdrop is {width} x {height} at {bits} bits, not 480 x 344 at 8")
    colours_used = struct.unpack_from("<I", bitmap, 32)[0]
    check(colours_used in (0, 256), f"backdrop declares {colours_used} colours")

    check(struct.unpack_from("<H", raw(exe, 14, 128), 4)[0] >= 2, "icon 128 has one size only")

    sizes = {200: (181, 103), 201: (306, 166), 202: (340, 126)}
    controls = {200: 0, 201: 18, 202: 4}
    for dialog, expected in sizes.items():
        data = raw(exe, 5, dialog)
        check(tuple(dialog_size(data)) == expected,
              f"dialog {dialog} is {dialog_size(data)}, not {expected}")
        check(dialog_control_count(data) == controls[dialog],
              f"dialog {dialog} has {dialog_control_count(data)} controls, not {controls[dialog]}")

    version = raw(exe, 16, 1).decode("utf-16-le", "replace")
    check("18.06.01" in version, "version resource does not carry 18.06.01")
    check("vqpsx.exe" in version, "version resource does not name vqpsx.exe")
    manifest = raw(exe, 24, 1).decode("utf-8", "replace")
    check('level="asInvoker"' in manifest, "manifest lacks asInvoker")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
