"""Windows Installer under Wine, for the installer tests: msiexec, what a prefix
holds (files and registry), the installed-apps entries, and a check record.
Call use_prefix first."""
import fcntl
import os
import re
import shutil
import subprocess
import tempfile

import wine_crashes

prefix = None
env = None


def use_prefix(path):
    """Makes the helpers work on the Wine prefix at path."""
    global prefix, env
    prefix = path
    # No Linux menu entries for the shortcut: Wine would add them outside the prefix.
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")


def fresh_prefix():
    """Empties the prefix and makes it anew, as a copy of a prefix this Wine
    booted once and keeps (ORVENNA_WINE_TEMPLATES, else beside the prefix)."""
    subprocess.run(["wineserver", "-k"], env=env)
    shutil.rmtree(prefix, ignore_errors=True)
    subprocess.run(["cp", "-a", template(), prefix], check=True)


def template():
    """A booted prefix of this Wine's version, made when missing: one wineboot
    per Wine, not one per test. It also holds what Wine writes lazily, the
    first time some component runs in a prefix, so that no copy gains it in
    the middle of a test and takes it for an installer's doing:
    - HKEY_CURRENT_USER\\Console, the console defaults (colour table, cursor,
      font, window and buffer sizes), which Wine's console host writes the
      first time it opens a console window; a console program started without
      a console (the debugger, through cmd, among them) opens one. The console
      is opened here once.
    - The debugger's settings (see wine_crashes): its report in a file of the
      prefix, and no crash dialog."""
    version = subprocess.run(["wine", "--version"], env=env, capture_output=True, text=True).stdout.strip()
    folder = os.environ.get("ORVENNA_WINE_TEMPLATES") or os.path.dirname(prefix)
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, "template-" + re.sub(r"[^A-Za-z0-9.-]", "_", version))
    made = os.path.join(path, ".booted-with-console-and-crash-log")
    with open(path + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)  # tests running side by side make it once
        if not os.path.exists(made):
            shutil.rmtree(path, ignore_errors=True)
            booting = dict(env, WINEPREFIX=path)
            subprocess.run(["wineboot", "-i"], env=booting, capture_output=True)
            subprocess.run(["wineserver", "-w"], env=booting)
            subprocess.run(["wine", "wineconsole", "cmd", "/c", "exit"], env=booting, capture_output=True,
                           stdin=subprocess.DEVNULL, timeout=300)
            wine_crashes.setup(booting)
            saved = open(os.path.join(path, "user.reg"), encoding="utf-8", errors="replace").read()
            if "\n[Console]" not in saved:
                raise RuntimeError(f"the template {path} has no console defaults: Wine's console host wrote none")
            if "\n[Software\\\\Wine\\\\WineDbg]" not in saved or "orvenna-crashes" not in open(
                    os.path.join(path, "system.reg"), encoding="utf-8", errors="replace").read():
                raise RuntimeError(f"the template {path} has no debugger settings")
            open(made, "w").close()
    return path


failures = []
work = tempfile.mkdtemp(prefix="orvenna-msi.")


def check(name, ok, detail=""):
    print(f"{'ok' if ok else 'FAILED'}: {name}" + (f" ({detail})" if detail and not ok else ""), flush=True)
    if not ok:
        failures.append(name)


def settle():
    """Waits until every process of the prefix has ended and its registry is saved."""
    subprocess.run(["wineserver", "-w"], env=env)


def run_wine(*args):
    """Runs a Windows program once everything the step before started has
    ended, and waits until everything it started has ended too. A crash of a
    program of ours fails the test; one of Wine's own is printed and listed
    (the rule and its reasons are in wine_crashes). The finished process, and
    whether one of Wine's own programs crashed."""
    settle()
    start = wine_crashes.log_size(prefix)
    done = subprocess.run(["wine", *args], env=env, capture_output=True, timeout=600)
    settle()
    done.output = (done.stdout + done.stderr).decode("utf-8", "replace")
    wines_own = False
    for crash in wine_crashes.reports(prefix, start, done.output):
        if crash.ours:
            check(f"no crash under wine {os.path.basename(args[0])}: {crash.name}", False, crash.summary())
        else:
            wine_crashes.note_wines_own(crash, f"wine {os.path.basename(args[0])}")
            wines_own = True
    return done, wines_own


def wine(*args):
    """A Windows program's status, run as run_wine runs it."""
    return run_wine(*args)[0].returncode


# Windows Installer's results; a process's status reaches Linux as its low byte.
RESULTS = {0: "success", 1603: "fatal error during installation", 1620: "this installation package could not be opened",
           1627: "function failed", 1638: "another version of this product is already installed"}


# Wine's own system folders, a third of the prefix's files by size and never
# written by a per-user installer: left out of the state kept for a second try.
SYSTEM_FOLDERS = ("system32", "syswow64", "winsxs")


def msiexec(*args):
    """msiexec, silently; its status, and what that status means. A crash of
    msiexec (Wine's, running none of our code) may leave an install half done,
    so msiexec then runs again, once, from the state the first try began in;
    a second crash fails the test."""
    settle()
    kept = prefix + ".before-msiexec"  # beside it: a rename never crosses a mount
    shutil.rmtree(kept, ignore_errors=True)
    windows = os.path.join(drive_c(), "windows")
    shutil.copytree(prefix, kept, symlinks=True,
                    ignore=lambda folder, names: SYSTEM_FOLDERS if os.path.samefile(folder, windows) else ())
    done, crashed = run_wine("msiexec", *args, "/qn")
    if crashed:
        print("  msiexec crashed: once more, from the state before it", flush=True)
        for name in SYSTEM_FOLDERS:
            if os.path.exists(os.path.join(windows, name)):
                os.rename(os.path.join(windows, name), os.path.join(kept, "drive_c", "windows", name))
        shutil.rmtree(prefix)
        os.rename(kept, prefix)
        done, crashed = run_wine("msiexec", *args, "/qn")
        check("msiexec does not crash twice in a row", not crashed)
    status = done.returncode
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


def hives():
    """Every key of the user's and the machine's hives, with its values' raw
    texts by name, as Wine saved them: the server writes the hives when it
    ends, so this waits for it first. Read from the files, the whole registry
    costs no Windows process at all."""
    subprocess.run(["wineserver", "-w"], env=env)
    keys = {}
    for hive, name in (("HKEY_CURRENT_USER", "user.reg"), ("HKEY_LOCAL_MACHINE", "system.reg")):
        values = None
        for line in open(os.path.join(prefix, name), encoding="utf-8", errors="replace"):
            if line.startswith("["):
                key = hive + "\\" + line[1:line.rindex("]")].replace("\\\\", "\\")
                values = keys.setdefault(key, {})
            elif values is not None and line.startswith('"'):
                value_name, value = line.rstrip("\n").split('"=', 1)
                values[value_name.strip('"')] = value
            elif values is not None and line.startswith("@="):
                values["@"] = line[2:].rstrip("\n")
    return keys


def registry():
    """Every key and value name of the user's and the machine's hives, but the
    machine's System hive and its network cards: devices and drivers, which
    Wine registers anew for each display it meets and each start (the cards as
    a volatile key, which the saved hive loses), and where an installer of this
    kind writes nothing."""
    found = set()
    for key, values in hives().items():
        lower = key.lower()
        if lower.startswith("hkey_local_machine\\system\\") or lower.startswith(
                "hkey_local_machine\\software\\microsoft\\windows nt\\currentversion\\networkcards"):
            continue
        found.add(key)
        found.update(f"{key} :: {name}" for name in values)
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
        return entry.endswith("Microsoft/Installer") or entry == "windows/Installer"
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
    # Both registry views of both hives: Wine may keep a per-user product's
    # entry in the machine's 32-bit view.
    where = re.compile(r"HKEY_(CURRENT_USER|LOCAL_MACHINE)\\Software\\(Wow6432Node\\)?Microsoft\\Windows\\"
                       r"CurrentVersion\\Uninstall\\[^\\]+", re.I)
    for key, values in hives().items():
        if where.fullmatch(key):
            entries.append(dict({name: value.strip().strip('"') for name, value in values.items()}, key=key))
    # The two views may show one registration twice.
    unique = {e["key"].rsplit("\\", 1)[-1]: e for e in entries if e.get("DisplayName") == "Orvenna"}
    return list(unique.values())


def uninstall_leaves_nothing(msi, before):
    status, _ = msiexec("/x", to_windows(msi))
    check("uninstall succeeds", status == 0, f"exit {status}")
    same_as(before, "uninstall leaves no file, folder, shortcut or key behind", ignore=shared_installer_key)


def finish(all_passed):
    """Stops the prefix's wineserver, removes the work folder and reports; the exit status."""
    subprocess.run(["wineserver", "-k"], env=env)
    shutil.rmtree(work, ignore_errors=True)
    shutil.rmtree(prefix + ".before-msiexec", ignore_errors=True)
    print(f"{len(failures)} failed" if failures else all_passed)
    return 1 if failures else 0
