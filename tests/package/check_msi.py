#!/usr/bin/env python3
"""The installer under Wine, in a fresh prefix of its own, as a user meets it:
corrupted copies fail and change nothing; a silent install puts the program,
its Start-menu shortcut and its installed-apps entry in place, and the
installed program shows its window; installing again leaves one copy; a later
version replaces it and an older one is refused (the package's launch
condition carries the message; the static checks read it); uninstalling
leaves the prefix as it was, file for file and key for key.

usage: check_msi.py MSI NEXT_VERSION_MSI BUILT_EXE STARTUP_BENCH_EXE PREFIX
(run with DISPLAY set, e.g. under scripts/with-xvfb)
"""
import os
import re
import sys

from msi_wine import *  # noqa: F401,F403 (the helpers of every installer test)

msi, next_msi, built_exe, bench, prefix = (os.path.abspath(a) for a in sys.argv[1:6])
use_prefix(prefix)

try:
    fresh_prefix()
    before = snapshot()

    # Corrupted copies: a truncated one, and one with a byte of its tables
    # flipped: the high byte of the first string's length in the string pool.
    data = open(msi, "rb").read()
    truncated = os.path.join(work, "truncated.msi")
    open(truncated, "wb").write(data[: len(data) // 2])
    flipped = os.path.join(work, "flipped.msi")
    at = string_pool_offset(data) + 5
    open(flipped, "wb").write(data[:at] + bytes([data[at] ^ 0x80]) + data[at + 1:])
    for name, path in (("truncated", truncated), ("one byte flipped in its tables", flipped)):
        status, meaning = msiexec("/i", to_windows(path))
        print(f"  {name}: msiexec ended with {status}: {meaning}")
        check(f"{name} MSI fails", status != 0 and at > 5, f"exit {status}")
        # Wine's msiexec copies a package into its cache before it reads the
        # tables, and keeps the copy when they fail to load.
        same_as(before, f"{name} MSI changes nothing",
                ignore=lambda e: re.fullmatch(r"windows/Installer(/[0-9a-f]+\.msi)?", e) is not None)

    before = snapshot()
    status, meaning = msiexec("/i", to_windows(msi))
    check("silent install succeeds", status == 0, f"exit {status}")
    exes = find("Lumbrel.exe")
    check("one Lumbrel.exe, in the user's own programs folder",
          len(exes) == 1 and exes[0].replace("\\", "/").endswith("AppData/Local/Programs/Orvenna/Lumbrel.exe"), exes)
    check("installed program is the built one", len(exes) == 1 and open(exes[0], "rb").read() == open(built_exe, "rb").read())
    links = find("Orvenna.lnk")
    check("Start-menu shortcut Orvenna", len(links) == 1 and "/Start Menu/Programs/" in links[0], links)
    check("shortcut leads to the program", len(links) == 1 and b"Lumbrel.exe" in open(links[0], "rb").read())
    entries = uninstall_entries()
    entry = entries[0] if len(entries) == 1 else {}
    check("one installed-apps entry", len(entries) == 1, entries)
    check("entry: version 2.0, maker Lumbrel, help link, no modify",
          entry.get("DisplayVersion") == "2.0" and entry.get("Publisher") == "Lumbrel"
          and entry.get("HelpLink", "").endswith("/p/orvenna.html") and entry.get("NoModify") == "dword:00000001", entry)
    icons = [i for top, _, names in os.walk(os.path.join(drive_c(), "users"))
             for i in names if i == "Lumbrel.ico" and "Installer" in top]
    check("entry: the program's icon is registered", len(icons) == 1, icons)
    if len(exes) == 1:
        shown = wine(bench, "1", to_windows(exes[0]))
        check("installed program shows its window with every channel", shown == 0, f"exit {shown}")

    status, _ = msiexec("/i", to_windows(msi))
    check("installing again succeeds", status == 0, f"exit {status}")
    check("installing again leaves one copy", len(find("Lumbrel.exe")) == 1 and len(find("Orvenna.lnk")) == 1
          and len(uninstall_entries()) == 1)

    status, _ = msiexec("/i", to_windows(next_msi))
    entries = uninstall_entries()
    check("a later version replaces this one", status == 0 and len(entries) == 1
          and entries[0].get("DisplayVersion") == "2.1" and len(find("Lumbrel.exe")) == 1, (status, entries))
    installed = snapshot()
    status, meaning = msiexec("/i", to_windows(msi))
    print(f"  older version over a newer one: msiexec ended with {status}: {meaning}")
    check("an older version is refused", status == 1603 & 0xFF, f"exit {status}")
    same_as(installed, "the refused older version changes nothing")

    uninstall_leaves_nothing(next_msi, before)
finally:
    status = finish("all MSI checks passed")
sys.exit(status)
