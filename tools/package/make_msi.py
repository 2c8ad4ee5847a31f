#!/usr/bin/env python3
"""Builds the per-user installer with wixl, signs it when a key is given
(sign.py) and records it in SHA256SUMS.

The product code is derived from everything the package is made of (version,
architecture, program, icon, source, help link): a rebuild that changes any of
them is a new product, which replaces the old one as an upgrade, and the same
package installed twice is a repair. The components' codes are the
architecture's own. Two builds of the same inputs differ only in three fields
of the summary information that wixl sets itself: the package code (new for
every build) and the times of creation and last save.

usage: make_msi.py OUTPUT.msi VERSION win32|win64 EXE ICON HELP_LINK [--no-sums]
"""
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import uuid

import pefile

import sign
import sums

out, version, arch, exe, icon, help_link = sys.argv[1:7]
here = os.path.dirname(os.path.abspath(__file__))
source = os.path.join(here, "Orvenna.wxs")
inputs = hashlib.sha256()
for path in (exe, icon, source):
    inputs.update(hashlib.sha256(open(path, "rb").read()).digest())
product = uuid.uuid5(uuid.NAMESPACE_URL, f"{help_link}#Orvenna-{version}-{arch}-{inputs.hexdigest()}")
# A component's code names one set of resources: the 32-bit and the 64-bit
# program are different ones.
components = {name: str(uuid.uuid5(uuid.NAMESPACE_URL, f"{help_link}#Orvenna-{arch}-{name}")).upper()
              for name in ("Program", "UserPrograms", "StartMenuShortcut")}
# One for every version and both architectures: each replaces the others.
UPGRADE_CODE = "{4D0B7F64-52B1-4D0E-9A53-0E6F3C1A7B21}"


def file_version(path):
    """The fixed file version of a PE image's version block, as a.b.c.d."""
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    info = pe.VS_FIXEDFILEINFO[0]
    return (f"{info.FileVersionMS >> 16}.{info.FileVersionMS & 0xFFFF}."
            f"{info.FileVersionLS >> 16}.{info.FileVersionLS & 0xFFFF}")


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
    for path in (exe, source):
        shutil.copy(path, stage)
    # The cabinet records each file's date: a fixed one keeps it reproducible.
    fixed = 1767225600  # 2026-01-01 00:00 UTC, as in the zip
    os.utime(os.path.join(stage, os.path.basename(exe)), (fixed, fixed))
    small_icon(icon, os.path.join(stage, os.path.basename(icon)))
    subprocess.run(
        ["wixl", "-a", {"win32": "x86", "win64": "x64"}[arch], "-o", os.path.abspath(out),
         "-D", f"Version={version}", "-D", f"ProductCode={str(product).upper()}",
         "-D", f"Exe={os.path.basename(exe)}", "-D", f"Icon={os.path.basename(icon)}",
         "-D", f"HelpLink={help_link}", "-D", f"UpgradeCode={UPGRADE_CODE}",
         *(a for name, code in components.items() for a in ("-D", f"{name}Guid={code}")), "Orvenna.wxs"],
        cwd=stage, check=True)
# What wixl cannot say: the upgrade also replaces a product of this same version
# (the other architecture, or a rebuild), and the program's file version, which
# Windows Installer's file-versioning rules read.
subprocess.run(
    ["msibuild", out, "-q",
     "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'", "-q",
     "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`) "
     f"VALUES ('{UPGRADE_CODE}', '{version}', {0x1 | 0x200}, 'WIX_UPGRADE_DETECTED')", "-q",
     f"UPDATE `File` SET `Version` = '{file_version(exe)}' WHERE `File` = 'LumbrelExe'"],
    check=True)
sign.in_place(out, help_link)
if "--no-sums" not in sys.argv:
    sums.record(out)
