#!/usr/bin/env python3
"""Prints a PE file's size and its size less the icon resources' data: 'WHOLE | WITHOUT'."""
import os
import sys

import pefile

path = sys.argv[1]
pe = pefile.PE(path, fast_load=True)
pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
icon = 0
for t in pe.DIRECTORY_ENTRY_RESOURCE.entries if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE") else []:
    if t.id in (3, 14):  # RT_ICON, RT_GROUP_ICON
        for name in t.directory.entries:
            for lang in name.directory.entries:
                icon += lang.data.struct.Size
whole = os.path.getsize(path)
print(f"{whole} | {whole - icon}")
