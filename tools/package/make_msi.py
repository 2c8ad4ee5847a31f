#!/usr/bin/env python3
"""Builds the per-user installer with wixl, signs it when a key is given
(sign.py) and records it in SHA256SUMS.

Two builds from the same inputs are the same file byte for byte. One hash over
everything that goes into the package (the program's bytes, the icon, the
installer's source, this script, the wixl version, and the version,
architecture and help link) gives both the product code and the package code,
and the summary information's times of creation and last save are fixed
(SOURCE_DATE_EPOCH when given). So a package published again unchanged is the
same package, which Windows Installer may install over itself; any changed
input is a new product, which replaces the old one as a major upgrade; and two
different package files never share a package code. The components' codes are
the architecture's own.

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

import olefile
import pefile

import sign
import sums

out, version, arch, exe, icon, help_link = sys.argv[1:7]
here = os.path.dirname(os.path.abspath(__file__))
source = os.path.join(here, "Orvenna.wxs")


def wixl_version():
    result = subprocess.run(["wixl", "--version"], capture_output=True, text=True, check=True)
    return result.stdout.strip()


def digest_of(paths, *words):
    """One SHA-256 over the files' bytes and the words, each taken whole."""
    inputs = hashlib.sha256()
    for path in paths:
        inputs.update(hashlib.sha256(open(path, "rb").read()).digest())
    for word in words:
        inputs.update(hashlib.sha256(word.encode()).digest())
    return inputs.hexdigest()


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


def fix_summary(path, package_code, when):
    """Sets the package code and the times of creation and last save in the
    summary information, which wixl and msibuild fill from the clock and a
    random source. Each is rewritten in place, at its own size."""
    name = "\x05SummaryInformation"
    ole = olefile.OleFileIO(path, write_mode=True)
    data = bytearray(ole.openstream(name).read())
    (section,) = struct.unpack_from("<I", data, 44)
    _, count = struct.unpack_from("<II", data, section)
    filetime = (when + 11644473600) * 10_000_000
    done = set()
    for i in range(count):
        pid, offset = struct.unpack_from("<II", data, section + 8 + 8 * i)
        at = section + offset
        (kind,) = struct.unpack_from("<I", data, at)
        if pid == 9 and kind == 30:  # the package code, a string
            code = package_code.encode() + b"\0"
            (length,) = struct.unpack_from("<I", data, at + 4)
            if length != len(code):
                sys.exit(f"make_msi.py: unexpected package code field in {path}")
            data[at + 8:at + 8 + length] = code
            done.add(pid)
        elif pid in (12, 13) and kind == 64:  # FILETIME
            struct.pack_into("<Q", data, at + 4, filetime)
            done.add(pid)
    if done != {9, 12, 13}:
        sys.exit(f"make_msi.py: the summary information of {path} lacks a package code or a time")
    ole.write_stream(name, bytes(data))
    ole.close()


# wixl takes source files by relative name only: they are staged beside the
# installer's source.
stage_dir = tempfile.TemporaryDirectory()
stage = stage_dir.name
for path in (exe, source):
    shutil.copy(path, stage)
# The cabinet records each file's date: a fixed one keeps it reproducible.
FIXED_TIME = 1767225600  # 2026-01-01 00:00 UTC, as in the zip
os.utime(os.path.join(stage, os.path.basename(exe)), (FIXED_TIME, FIXED_TIME))
small_icon(icon, os.path.join(stage, os.path.basename(icon)))
# The summary's times are part of the file: a package built at another time is another package.
when = int(os.environ.get("SOURCE_DATE_EPOCH") or FIXED_TIME)
digest = digest_of([os.path.join(stage, os.path.basename(p)) for p in (exe, icon, source)] + [os.path.abspath(__file__)],
                   wixl_version(), version, arch, help_link, str(when))
product = uuid.uuid5(uuid.NAMESPACE_URL, f"{help_link}#Orvenna-{version}-{arch}-{digest}")
package = uuid.uuid5(uuid.NAMESPACE_URL, f"{help_link}#Orvenna-package-{digest}")
subprocess.run(
    ["wixl", "-a", {"win32": "x86", "win64": "x64"}[arch], "-o", os.path.abspath(out),
     "-D", f"Version={version}", "-D", f"ProductCode={str(product).upper()}",
     "-D", f"Exe={os.path.basename(exe)}", "-D", f"Icon={os.path.basename(icon)}",
     "-D", f"HelpLink={help_link}", "-D", f"UpgradeCode={UPGRADE_CODE}",
     *(a for name, code in components.items() for a in ("-D", f"{name}Guid={code}")), "Orvenna.wxs"],
    cwd=stage, check=True)
stage_dir.cleanup()
# What wixl cannot say: the upgrade also replaces a product of this same version
# (the other architecture, or a rebuild); the program's file version and
# language, which Windows Installer's file-versioning rules read; and that a
# versioned file has no row in MsiFileHash, which is for unversioned files only.
subprocess.run(
    ["msibuild", out, "-q",
     "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'", "-q",
     "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`) "
     f"VALUES ('{UPGRADE_CODE}', '{version}', {0x1 | 0x200}, 'WIX_UPGRADE_DETECTED')", "-q",
     f"UPDATE `File` SET `Version` = '{file_version(exe)}', `Language` = '1033' WHERE `File` = 'LumbrelExe'", "-q",
     "DELETE FROM `MsiFileHash` WHERE `File_` = 'LumbrelExe'"],
    check=True)
fix_summary(out, "{" + str(package).upper() + "}", when)
sign.in_place(out, help_link)
if "--no-sums" not in sys.argv:
    sums.record(out)
