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
import shutil
import subprocess
import sys
import tempfile

msi, next_msi, built_exe, bench, prefix = (os.path.abspath(a) for a in sys.argv[1:6])
# No Linux menu entries for the shortcut: Wine would add them outside the prefix.
env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
failures = []
work = tempfile.mkdtemp(prefix="orvenna-msi.")


def check(name, ok, detail=""):
    print(f"{'ok' if ok else 'FAILED'}: {name}" + (f" ({detail})" if detail and not ok else ""), flush=True)
    if not ok:
        failures.append(name)


def wine(*args):
    return subprocess.run(["wine", *args], env=env, capture_output=True, timeout=600).returncode


# Windows Installer's results; a process's status reaches Linux as its low byte.
RESULTS = {0: "success", 1603: "fatal error during installation", 1620: "this installation package could not be opened",
           1627: "function failed", 1638: "another version of this product is already installed"}


def msiexec(*args):
    """msiexec, silently; its status, and what that status means."""
    status = wine("msiexec", *args, "/qn")
    subprocess.run(["wineserver", "-w"], env=env)
    meaning = [f"{code} ({text})" for code, text in RESULTS.items() if code & 0xFF == status]
    return status, " or ".join(meaning) or "unknown"


def to_windows(path):
    return "Z:" + path.replace("/", "\\")


def drive_c():
    return os.path.join(prefix, "drive_c")


def files():
    """Every file and folder under C:, but temporary ones."""
    found = set()
    for top, dirs, names in os.walk(drive_c()):
        rel = os.path.relpath(top, drive_c())
        if "/temp" in "/" + rel.lower():
            continue
        for n in dirs + names:
            found.add(os.path.join(rel, n))
    return found


def registry():
    """Every key and value name of the user's and the machine's hives, but the
    machine's System hive: devices and drivers, which Wine registers anew for
    each display it meets, and where an installer of this kind writes nothing."""
    found = set()
    for hive in ("HKCU", "HKLM"):
        out = os.path.join(work, f"{hive}.reg")
        wine("reg", "export", hive, to_windows(out), "/y")
        text = open(out, "rb").read().decode("utf-16", "replace")
        key = None
        for line in text.splitlines():
            if line.startswith("["):
                key = line.strip("[]\r")
                if key.lower().startswith("hkey_local_machine\\system\\"):
                    key = None
                    continue
                found.add(key)
            elif line.startswith('"') and key:
                found.add(key + " :: " + line.split('"=', 1)[0].strip('"'))
            elif line.startswith("@=") and key:
                found.add(key + " :: @")
    return found


def string_pool_offset(data):
    """File offset of the _StringPool stream of an MSI: the tables' shared
    string store, read from the compound file's own structures."""
    u16 = lambda at: int.from_bytes(data[at:at + 2], "little")
    u32 = lambda at: int.from_bytes(data[at:at + 4], "little")
    size, mini = 1 << u16(0x1E), 1 << u16(0x20)
    sector = lambda sid: (sid + 1) * size
    fat = []
    for i in range(min(u32(0x2C), 109)):
        base = sector(u32(0x4C + 4 * i))
        fat += [u32(base + 4 * k) for k in range(size // 4)]

    def chain(sid):
        out = []
        while sid < 0xFFFFFFFA:
            out.append(sid)
            sid = fat[sid]
        return out

    entries = b"".join(data[sector(s):sector(s) + size] for s in chain(u32(0x30)))
    # The first entry is the root, whose sectors hold the mini stream.
    root = chain(int.from_bytes(entries[0x74:0x78], "little"))
    alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz._"
    for at in range(0, len(entries), 128):
        raw = entries[at:at + max(int.from_bytes(entries[at + 0x40:at + 0x42], "little") - 2, 0)]
        name = ""
        for c in (int.from_bytes(raw[i:i + 2], "little") for i in range(0, len(raw), 2)):
            if c == 0x4840:
                name += "!"
            elif 0x3800 <= c < 0x4800:
                name += alphabet[(c - 0x3800) & 0x3F] + alphabet[(c - 0x3800) >> 6]
            elif 0x4800 <= c < 0x4840:
                name += alphabet[c - 0x4800]
            else:
                name += chr(c)
        if name != "!_StringPool":
            continue
        start = int.from_bytes(entries[at + 0x74:at + 0x78], "little")
        length = int.from_bytes(entries[at + 0x78:at + 0x7C], "little")
        if length >= u32(0x38):
            return sector(start)
        offset = start * mini  # its first mini sector, within the mini stream
        return sector(root[offset // size]) + offset % size
    return -1


def snapshot():
    return files(), registry()


# A key of one product: a GUID, or one packed into 32 hexadecimal digits.
PRODUCT_KEY = re.compile(r"\\(\{[0-9A-F-]{36}\}|[0-9A-F]{32})(\\|$)", re.I)


def shared_installer_key(entry):
    """An empty key or folder of Windows Installer's own layout that every
    product shares (Installer\\Products, ...\\UserData\\<user>\\Components, the
    user's Microsoft/Installer folder): the service makes them with the first
    product and keeps them."""
    if "/" in entry or not entry.startswith("HKEY"):
        return entry.endswith("Microsoft/Installer")
    return " :: " not in entry and "\\Installer" in entry and not PRODUCT_KEY.search(entry)


def same_as(before, what, ignore=lambda entry: False):
    now = snapshot()
    extra = sorted(e for e in (now[0] - before[0]) | (now[1] - before[1]) if not ignore(e))
    gone = sorted((before[0] - now[0]) | (before[1] - now[1]))
    ignored = sorted(e for e in (now[0] - before[0]) | (now[1] - before[1]) if ignore(e))
    if ignored:
        print(f"  set aside: {ignored}")
    check(what, not extra and not gone, f"added {extra[:8]}, removed {gone[:8]}")


def find(name):
    return [os.path.join(top, n) for top, dirs, names in os.walk(os.path.join(drive_c(), "users"))
            for n in names if n.lower() == name.lower()]


def uninstall_entries():
    """The installed-apps entries named Orvenna, with their values, one per
    product code."""
    entries = []
    for hive in ("HKCU", "HKLM"):
        for view in ("Software\\Microsoft", "Software\\Wow6432Node\\Microsoft"):
            out = os.path.join(work, "arp.reg")
            if os.path.exists(out):
                os.remove(out)
            key = f"{hive}\\{view}\\Windows\\CurrentVersion\\Uninstall"
            if wine("reg", "export", key, to_windows(out), "/y") != 0:
                continue
            current = None
            for line in open(out, "rb").read().decode("utf-16", "replace").splitlines():
                if line.startswith("["):
                    current = {"key": line.strip("[]\r")}
                    entries.append(current)
                elif line.startswith('"') and current is not None:
                    name, value = line.split('"=', 1)
                    current[name.strip('"')] = value.strip().strip('"')
    # The 64-bit and 32-bit views may show one registration twice.
    unique = {e["key"].rsplit("\\", 1)[-1]: e for e in entries if e.get("DisplayName") == "Orvenna"}
    return list(unique.values())


try:
    subprocess.run(["wineserver", "-k"], env=env)
    shutil.rmtree(prefix, ignore_errors=True)
    subprocess.run(["wineboot", "-i"], env=env, capture_output=True)
    subprocess.run(["wineserver", "-w"], env=env)
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

    status, _ = msiexec("/x", to_windows(next_msi))
    check("uninstall succeeds", status == 0, f"exit {status}")
    same_as(before, "uninstall leaves no file, folder, shortcut or key behind", ignore=shared_installer_key)
finally:
    subprocess.run(["wineserver", "-k"], env=env)
    shutil.rmtree(work, ignore_errors=True)

print(f"{len(failures)} failed" if failures else "all MSI checks passed")
sys.exit(1 if failures else 0)
