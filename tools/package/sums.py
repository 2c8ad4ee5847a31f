"""Keeps SHA256SUMS beside the release files: one line per file, sorted."""
import hashlib
import os


def record(path):
    """Adds or replaces path's line in the SHA256SUMS of its folder."""
    sums = os.path.join(os.path.dirname(path), "SHA256SUMS")
    entries = {}
    if os.path.exists(sums):
        for line in open(sums):
            digest, name = line.split(maxsplit=1)
            entries[name.strip()] = digest
    with open(path, "rb") as f:
        entries[os.path.basename(path)] = hashlib.sha256(f.read()).hexdigest()
    with open(sums, "w") as f:
        for name in sorted(entries):
            f.write(f"{entries[name]}  {name}\n")
