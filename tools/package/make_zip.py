#!/usr/bin/env python3
"""Writes a release zip whose bytes depend only on the files' contents: fixed
order, fixed dates and permissions. Also writes SHA256SUMS beside it.

usage: make_zip.py OUTPUT.zip FOLDER_IN_ZIP FILE...
"""
import hashlib
import os
import sys
import zipfile

out, folder, files = sys.argv[1], sys.argv[2], sys.argv[3:]
with zipfile.ZipFile(out, "w", compression=zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for path in files:
        info = zipfile.ZipInfo(f"{folder}/{os.path.basename(path)}", date_time=(2026, 1, 1, 0, 0, 0))
        info.external_attr = 0o644 << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 0
        with open(path, "rb") as f:
            z.writestr(info, f.read(), compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)

sums = os.path.join(os.path.dirname(out), "SHA256SUMS")
entries = {}
if os.path.exists(sums):
    for line in open(sums):
        digest, name = line.split(maxsplit=1)
        entries[name.strip()] = digest
with open(out, "rb") as f:
    entries[os.path.basename(out)] = hashlib.sha256(f.read()).hexdigest()
with open(sums, "w") as f:
    for name in sorted(entries):
        f.write(f"{entries[name]}  {name}\n")
