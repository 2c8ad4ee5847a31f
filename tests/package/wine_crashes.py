#!/usr/bin/env python3
"""Crashes under Wine: their backtraces, and the one rule that decides what a
crash means for a run.

Wine starts its debugger for a process that crashes. Left alone, the debugger
(a console program, started by programs that have no console) writes its
backtrace into a console window of its own, which nobody sees. The tests'
prefixes start it through cmd instead, with its whole report appended to one
file in the prefix (LOG): the exception, registers, backtrace, modules, and
the process list, where "(D)" marks the process that crashed.

The rule, by the image of the process that crashed:
- One of ours (the program, the test programs, the start-up probe: any image
  outside Wine's own C:\\windows) always fails the run, with its backtrace.
- One of Wine's own programs (msiexec, reg, wineboot, ...) runs none of our
  code: the installers carry no custom actions, so nothing of ours runs inside
  msiexec. Such a crash is Wine's fault, not a finding about the program: it
  is printed with its backtrace and listed in the step table, and the run is
  decided by the checks of what the step did, which stay as strict as ever.
- A crash announced with no report to name its process counts as ours.

usage, with WINEPREFIX set: wine_crashes.py setup | size | report [OFFSET]
(report prints the reports after OFFSET bytes of the log; exits 1 when one is ours)
"""
import os
import re
import subprocess
import sys

# In the prefix's temporary folder, which the installer tests' comparisons leave out.
LOG = "drive_c/windows/temp/orvenna-crashes.txt"
DEBUGGER = "cmd /c winedbg --auto %ld %ld >>C:\\windows\\temp\\orvenna-crashes.txt 2>&1"
# What a crashing process prints itself, before its debugger starts.
ANNOUNCED = re.compile(r"wine: Unhandled [^\n]*")


def setup(env):
    """The debugger with its report in LOG, in both registry views (each word
    size reads its own), and without its crash dialog, which would wait for a
    click; then waits for the registry to be saved."""
    for bits in ("64", "32"):
        subprocess.run(["wine", "reg", "add", r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug", "/v",
                        "Debugger", "/d", DEBUGGER, "/f", f"/reg:{bits}"], env=env, capture_output=True)
    subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog", "/t", "REG_DWORD",
                    "/d", "0", "/f"], env=env, capture_output=True)
    subprocess.run(["wineserver", "-w"], env=env)


def log_size(prefix):
    try:
        return os.path.getsize(os.path.join(prefix, LOG))
    except OSError:
        return 0


class Crash:
    def __init__(self, text):
        self.text = text
        found = re.search(r"^[0-9a-f]{8} \(D\) (.+)$", text, re.M)
        self.image = found.group(1).strip() if found else None
        # Wine's own programs are the images in its C:\windows; a report that
        # names no process is taken as ours.
        self.ours = not (self.image and self.image.lower().startswith("c:\\windows\\"))
        self.name = self.image.rsplit("\\", 1)[-1] if self.image else "a process the report does not name"

    def summary(self):
        """The report with its process list cut to the process that crashed."""
        return re.sub(r"(?ms)^Threads:.*?(?=^System information:|\Z)", lambda _: f"Crashed process: {self.image}\n",
                      self.text)


def reports(prefix, offset=0, announced=""):
    """The crashes reported in the prefix's log after offset bytes, and one
    unnamed crash for each announcement in announced (the output of the
    processes) beyond those reports."""
    try:
        with open(os.path.join(prefix, LOG), "rb") as f:
            f.seek(offset)
            text = f.read().decode("utf-8", "replace")
    except OSError:
        text = ""
    found = [Crash(part) for part in re.split(r"(?m)^(?=WineDbg attached to pid)", text) if part.strip()]
    for message in ANNOUNCED.findall(announced)[len(found):]:
        found.append(Crash(message + "\n(no report from the debugger)"))
    return found


def note_wines_own(crash, where):
    """Lists a crash of Wine's own program for the test command's step table."""
    print(f"  Wine's own {crash.name} crashed ({where}); the step's checks decide:\n{crash.summary()}", flush=True)
    notes = os.environ.get("ORVENNA_WINE_CRASHES")
    if notes:
        first = next((line for line in crash.text.splitlines() if line.startswith("Unhandled")), "")
        with open(notes, "a") as f:
            f.write(f"{crash.name} in {where}: {first}\n")


def main():
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    prefix = os.environ.get("WINEPREFIX", "")
    if command == "setup":
        setup(os.environ)
        return 0
    if command == "size":
        print(log_size(prefix))
        return 0
    if command == "report":
        failed = 0
        for crash in reports(prefix, int(sys.argv[2]) if len(sys.argv) > 2 else 0):
            if crash.ours:
                print(f"FAILED: {crash.name} crashed:\n{crash.summary()}", flush=True)
                failed = 1
            else:
                note_wines_own(crash, os.path.basename(prefix))
        return failed
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
