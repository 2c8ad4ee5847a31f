#!/usr/bin/env python3
"""Writes a release zip whose bytes depend only on the files' contents: fixed
order, fixed dates and permissions. Also records it in SHA256SUMS beside it.

usage: make_zip.py OUTPUT.zip FOLDER_IN_ZIP FILE...
"""
import os
import sys
import zipfile

import sums

out, folder, files = sys.argv[1], sys.argv[2], sys.argv[3:]
with zipfile.ZipFile(out, "w", compression=zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for path in files:
        info = zipfile.ZipInfo(f"{folder}/{os.path.basename(path)}", date_time=(2026, 1, 1, 0, 0, 0))
        info.external_attr = 0o644 << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 0
        with open(path, "rb") as f:
            z.writestr(info, f.read(), compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)

sums.record(out)
