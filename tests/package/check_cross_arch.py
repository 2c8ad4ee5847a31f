#!/usr/bin/env python3
"""The signed installers of both architectures in one prefix that runs both
(the 32-bit Wine root's), as a user meets them: each step leaves exactly one
product, one installed-apps entry, one shortcut and the program just
installed. Installing either architecture over the other, at the same version
or a later one, replaces it; an installer of the same version built from a
changed program replaces the first as an upgrade; the same package installed
again succeeds and leaves one entry (on Windows that changes nothing, and a
repair is msiexec /fa; Wine's msiexec differs there, so this shows only that
the same package is accepted again); the signed program shows its window; uninstalling leaves
the prefix as it was. Wine's WinVerifyTrust accepts the signed programs and
installers with the throwaway root trusted, and rejects a tampered program.

usage: check_cross_arch.py SIGNED_WIN32_DIR SIGNED_WIN64_DIR NEXT_VERSION_WIN64_MSI STARTUP_BENCH_WIN32_EXE
                           VERIFY_TRUST_EXE PREFIX
(the folders as check_signing.sh leaves them; run with DISPLAY set)
"""
import os
import sys

from msi_wine import *  # noqa: F401,F403

dir32, dir64, next64, bench, verify_trust, prefix = (os.path.abspath(a) for a in sys.argv[1:7])
use_prefix(prefix)
packages = {
    "win32 2.0": (os.path.join(dir32, "Orvenna-2.0-win32.msi"), os.path.join(dir32, "Lumbrel.exe"), "2.0"),
    "win64 2.0": (os.path.join(dir64, "Orvenna-2.0-win64.msi"), os.path.join(dir64, "Lumbrel.exe"), "2.0"),
    "win32 2.0 rebuilt": (os.path.join(dir32, "Orvenna-2.0-win32-rebuilt.msi"), os.path.join(dir32, "Lumbrel-rebuilt.exe"),
                          "2.0"),
    "win64 2.1": (next64, None, "2.1"),
}


def install(name, what):
    """Installs a package and checks that it alone is installed."""
    msi, exe, version = packages[name]
    status, meaning = msiexec("/i", to_windows(msi))
    entries = uninstall_entries()
    exes = find("Lumbrel.exe")
    print(f"  {what}: msiexec {status} ({meaning}); installed apps: "
          + "; ".join(f"{e.get('DisplayName')} {e.get('DisplayVersion')} {e['key'].rsplit(chr(92), 1)[-1]}"
                      for e in entries))
    check(f"{what}: succeeds", status == 0, f"exit {status}")
    check(f"{what}: one product, one entry, version {version}",
          len(entries) == 1 and entries[0].get("DisplayVersion") == version, entries)
    check(f"{what}: one shortcut", len(find("Orvenna.lnk")) == 1)
    check(f"{what}: one program, the one just installed",
          len(exes) == 1 and (exe is None or open(exes[0], "rb").read() == open(exe, "rb").read()), exes)
    return exes


def trust():
    """WinVerifyTrust's answer for each signed file and the tampered programs.
    Wine's checks the signature and the file's digest but takes any root as
    trusted, so the answers before the throwaway root is added are only shown."""
    files = [os.path.join(d, f) for d in (dir32, dir64) for f in sorted(os.listdir(d))
             if (f.endswith(".msi") and "rebuilt" not in f) or f in ("Lumbrel.exe", "Lumbrel-tampered.exe")]
    done, _ = run_wine(verify_trust, to_windows(os.path.join(dir64, "throwaway-root.der")),
                       *(to_windows(f) for f in files))
    out = done.stdout.decode("utf-8", "replace")
    answers = {}
    for line in out.splitlines():
        trust_pass, result, name = line.split(" ", 2)
        answers[(trust_pass, name)] = int(result, 16)
        print(f"  WinVerifyTrust {trust_pass}: {result} {name}")
    mine = [k for k in answers if k[0] == "with-root"]
    check("WinVerifyTrust: every file answered", len(mine) == len(files), out)
    check("WinVerifyTrust: the signed programs and installers verify",
          all(answers[k] == 0 for k in mine if not k[1].endswith("tampered.exe")))
    check("WinVerifyTrust: a tampered program does not (TRUST_E_BAD_DIGEST)",
          all(answers[k] == 0x80096010 for k in mine if k[1].endswith("tampered.exe")))


try:
    fresh_prefix()
    trust()
    fresh_prefix()
    before = snapshot()
    exes = install("win32 2.0", "signed win32 2.0")
    if len(exes) == 1:
        shown = wine(bench, "1", to_windows(exes[0]))
        check("the signed program shows its window with every channel", shown == 0, f"exit {shown}")
    install("win64 2.0", "win64 2.0 over win32 2.0")
    install("win32 2.0", "win32 2.0 over win64 2.0")
    install("win32 2.0 rebuilt", "a rebuild of win32 2.0 with a changed program over win32 2.0")
    install("win32 2.0 rebuilt", "the same package again")
    install("win64 2.1", "win64 2.1 over win32 2.0")
    uninstall_leaves_nothing(packages["win64 2.1"][0], before)
finally:
    status = finish("all cross-architecture installer checks passed")
sys.exit(status)
