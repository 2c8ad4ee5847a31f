#!/usr/bin/env python3
"""Builds the per-user installer with wixl and records it in SHA256SUMS.

The product code is derived from the version and architecture, so that every
build of one release names the same product. Two builds differ only in three
fields of the summary information that wixl sets itself: the package code
(new for every build) and the times of creation and last save.

usage: make_msi.py OUTPUT.msi VERSION win32|win64 EXE ICON HELP_LINK [--no-sums]
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import uuid

import sums

out, version, arch, exe, icon, help_link = sys.argv[1:7]
here = os.path.dirname(os.path.abspath(__file__))
product = uuid.uuid5(uuid.NAMESPACE_URL, f"{help_link}#Orvenna-{version}-{arch}")


def small_icon(source, target, largest=48):
    """Writes the images of an .ico up to largest pixels: installed apps show the
    icon small, and the installer carries it whole besides the program."""
    data = open(source, "rb").read()
    _, _, count = struct.unpack_from("<HHH", data)
    kept = []
    for i in range(count):
        entry = data[6 + 16 * i:22 + 16 * i]
        width = entry[0] or 256
        size, offset = struct.unpack_from("<II", entry, 8)
        if width <= largest:
            kept.append((entry[:8], data[offset:offset + size]))
    out = bytearray(struct.pack("<HHH", 0, 1, len(kept)))
    offset = 6 + 16 * len(kept)
    for head, image in kept:
        out += head + struct.pack("<II", len(image), offset)
        offset += len(image)
    for _, image in kept:
        out += image
    open(target, "wb").write(out)


# wixl takes source files by relative name only: they are staged beside the
# installer's source.
with tempfile.TemporaryDirectory() as stage:
    for path in (exe, os.path.join(here, "Orvenna.wxs")):
        shutil.copy(path, stage)
    # The cabinet records each file's date: a fixed one keeps it reproducible.
    fixed = 1767225600  # 2026-01-01 00:00 UTC, as in the zip
    os.utime(os.path.join(stage, os.path.basename(exe)), (fixed, fixed))
    small_icon(icon, os.path.join(stage, os.path.basename(icon)))
    subprocess.run(
        ["wixl", "-a", {"win32": "x86", "win64": "x64"}[arch], "-o", os.path.abspath(out),
         "-D", f"Version={version}", "-D", f"ProductCode={str(product).upper()}",
         "-D", f"Exe={os.path.basename(exe)}", "-D", f"Icon={os.path.basename(icon)}",
         "-D", f"HelpLink={help_link}", "Orvenna.wxs"],
        cwd=stage, check=True)
if "--no-sums" not in sys.argv:
    sums.record(out)
