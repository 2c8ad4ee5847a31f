#!/usr/bin/env python3
"""Authenticode signing of the release files with osslsigncode, when a key is given.

The key is given in the environment, never on a command line:
  ORVENNA_SIGN_PKCS12          a PKCS#12 file with the code-signing certificate and key
  ORVENNA_SIGN_PASSWORD_FILE   a file holding its password
  ORVENNA_TIMESTAMP_URL        an RFC 3161 time-stamp server (optional)
  ORVENNA_TIMESTAMP_TSA_CERTS, ORVENNA_TIMESTAMP_TSA_KEY
                               a time-stamping certificate chain and key for
                               osslsigncode's own time-stamp authority, instead
                               of a server (offline signing and tests)
  SOURCE_DATE_EPOCH            the signing time (and the time-stamp's, offline),
                               so that two signed builds are byte-identical

usage: sign.py IN OUT URL    OUT becomes IN, signed when a key is given, with URL
                             as the signature's link; OUT is left untouched when
                             that gives the bytes it already holds
       sign.py --check       names, in one line, a key, password, certificate or
                             time-stamping key that is given but missing or
                             unreadable; exits 2 then
"""
import os
import shutil
import subprocess
import sys
import tempfile

DESCRIPTION = "Orvenna"


def key_given():
    return bool(os.environ.get("ORVENNA_SIGN_PKCS12"))


def problem():
    """What is wrong with the signing settings, in one line, or None."""
    env = os.environ

    def unreadable(name):
        path = env.get(name, "")
        if not os.path.isfile(path) or not os.access(path, os.R_OK):
            return f"{name} names {path!r}, which is not a readable file"
        return None

    pairs = (("ORVENNA_SIGN_PKCS12", "ORVENNA_SIGN_PASSWORD_FILE"),
             ("ORVENNA_TIMESTAMP_TSA_CERTS", "ORVENNA_TIMESTAMP_TSA_KEY"),
             ("ORVENNA_TIMESTAMP_TSA_KEY", "ORVENNA_TIMESTAMP_TSA_CERTS"))
    for given, needed in pairs:
        if env.get(given) and not env.get(needed):
            return f"{given} is given without {needed}"
    for name in ("ORVENNA_SIGN_PKCS12", "ORVENNA_SIGN_PASSWORD_FILE", "ORVENNA_TIMESTAMP_TSA_CERTS",
                 "ORVENNA_TIMESTAMP_TSA_KEY"):
        if env.get(name) and (wrong := unreadable(name)):
            return wrong
    return None


def sign(source, target, url):
    """Writes target: source with an Authenticode signature (SHA-256)."""
    env = os.environ
    wrong = problem()
    if wrong:
        sys.exit(f"sign.py: {wrong}")
    command = ["osslsigncode", "sign", "-pkcs12", env["ORVENNA_SIGN_PKCS12"], "-readpass",
               env["ORVENNA_SIGN_PASSWORD_FILE"], "-h", "sha256", "-n", DESCRIPTION, "-i", url]
    when = env.get("SOURCE_DATE_EPOCH")
    if when:
        command += ["-time", when]
    if env.get("ORVENNA_TIMESTAMP_URL"):
        command += ["-ts", env["ORVENNA_TIMESTAMP_URL"]]
    elif env.get("ORVENNA_TIMESTAMP_TSA_CERTS"):
        command += ["-TSA-certs", env["ORVENNA_TIMESTAMP_TSA_CERTS"], "-TSA-key", env["ORVENNA_TIMESTAMP_TSA_KEY"]]
        if when:
            command += ["-TSA-time", when]
    command += ["-in", source, "-out", target]
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"sign.py: osslsigncode failed for {source}:\n{result.stdout}{result.stderr}")


def stage(source, target, url):
    with tempfile.TemporaryDirectory() as work:
        made = os.path.join(work, os.path.basename(target))
        if key_given():
            sign(source, made, url)
        else:
            shutil.copyfile(source, made)
        same = os.path.exists(target) and open(made, "rb").read() == open(target, "rb").read()
        if not same:  # an unchanged file keeps its time, so nothing after it is made again
            shutil.copyfile(made, target)


def in_place(path, url):
    if not key_given():
        return
    with tempfile.TemporaryDirectory() as work:
        made = os.path.join(work, os.path.basename(path))
        sign(path, made, url)
        shutil.copyfile(made, path)


if __name__ == "__main__":
    if sys.argv[1:] == ["--check"]:
        wrong = problem()
        if wrong:
            print(wrong, file=sys.stderr)
            sys.exit(2)
        sys.exit(0)
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    stage(*sys.argv[1:4])
