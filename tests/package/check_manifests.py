#!/usr/bin/env python3
"""The package managers' manifests of a release made with a throwaway address:
every hash in both is the hash of the file it names, and the one SHA256SUMS
lists; each installer's product code, upgrade code and architecture are the
package's own; each zip holds the program at the path the manifests give, for
the architecture they state; the versions agree across every file. Both are
validated against the official schemas when they are at hand. The checks
must catch a hash of another file and a product code of another build.

usage: check_manifests.py WIN32_RELEASE_DIR WIN64_RELEASE_DIR OTHER_BUILD_MSI [SCHEMAS_DIR]
"""
import copy
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

import pefile
import yaml

here = os.path.dirname(os.path.abspath(__file__))
tool = os.path.join(here, "..", "..", "tools", "package", "manifests.py")
dir32, dir64, other_msi = sys.argv[1:4]
schemas = sys.argv[4] if len(sys.argv) > 4 else ""
URL = "https://example.invalid/releases/v2.0"
MACHINES = {"x86": pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"], "x64": pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]}
TEMPLATES = {"x86": "Intel;1033", "x64": "x64;1033"}
failures = []


def check(name, ok, detail=""):
    print(f"{'ok' if ok else 'FAILED'}: {name}" + (f" ({detail})" if detail and not ok else ""), flush=True)
    if not ok:
        failures.append(name)


def msiinfo(*args):
    return subprocess.run(["msiinfo", *args], capture_output=True, text=True, check=True).stdout


def msi_facts(path):
    """ProductCode, UpgradeCode and ProductVersion, and the summary's platform."""
    props = dict(line.split("\t", 1) for line in msiinfo("export", path, "Property").splitlines()[3:] if "\t" in line)
    template = next(line.split(":", 1)[1].strip() for line in msiinfo("suminfo", path).splitlines()
                    if line.startswith("Template:"))
    return props, template


def load(folder):
    winget = os.path.join(folder, "winget", "manifests", "l", "Lumbrel", "Orvenna", "2.0")
    docs = {name: yaml.safe_load(open(os.path.join(winget, name)))
            for name in sorted(os.listdir(winget))}
    return docs, json.load(open(os.path.join(folder, "scoop", "orvenna.json")))


def problems(folder, docs, scoop):
    """Every way the manifests disagree with the files they describe."""
    found = []
    sums = dict(reversed(line.split(maxsplit=1)) for line in open(os.path.join(folder, "SHA256SUMS")).read().splitlines())
    digest = lambda name: hashlib.sha256(open(os.path.join(folder, name), "rb").read()).hexdigest()

    def named(url):
        name = url.rsplit("/", 1)[-1]
        if not url.startswith(URL + "/") or not os.path.isfile(os.path.join(folder, name)):
            found.append(f"{url} names no file of the release")
            return None
        if sums.get(name) != digest(name):
            found.append(f"SHA256SUMS does not hold {name}'s hash")
        return name

    def exe_in_zip(name, inner, arch):
        with zipfile.ZipFile(os.path.join(folder, name)) as z:
            if inner not in z.namelist():
                found.append(f"{name} holds no {inner}")
                return
            machine = pefile.PE(data=z.read(inner), fast_load=True).FILE_HEADER.Machine
        if machine != MACHINES[arch]:
            found.append(f"{name}: {inner} is not an {arch} program")

    installer = docs["Lumbrel.Orvenna.installer.yaml"]
    versions = {d.get("PackageVersion") for d in docs.values()} | {scoop.get("version")}
    kinds = []
    for entry in installer["Installers"]:
        name = named(entry["InstallerUrl"])
        kinds.append((entry["InstallerType"], entry["Architecture"]))
        if not name:
            continue
        versions.add(name.split("-")[1])
        if entry["InstallerSha256"] != digest(name).upper():
            found.append(f"winget: the hash given for {name} is not its own")
        if entry["InstallerType"] == "msi":
            props, template = msi_facts(os.path.join(folder, name))
            versions.add(props["ProductVersion"])
            arp = entry.get("AppsAndFeaturesEntries", [{}])[0]
            if entry.get("ProductCode") != props["ProductCode"] or arp.get("ProductCode") != props["ProductCode"]:
                found.append(f"winget: the product code given for {name} is not the package's")
            if arp.get("UpgradeCode") != props["UpgradeCode"]:
                found.append(f"winget: the upgrade code given for {name} is not the package's")
            if template != TEMPLATES[entry["Architecture"]]:
                found.append(f"winget: {name} is for {template}, not {entry['Architecture']}")
            if "Scope" in entry:
                found.append(f"winget: {name} declares a scope")
        else:
            nested = entry["NestedInstallerFiles"][0]
            exe_in_zip(name, nested["RelativeFilePath"].replace("\\", "/"), entry["Architecture"])
    if kinds != [("msi", "x86"), ("msi", "x64"), ("zip", "x86"), ("zip", "x64")]:
        found.append(f"winget: installers in the order {kinds}, not the two installers and then the two zips")
    for scoop_arch, arch in (("32bit", "x86"), ("64bit", "x64")):
        entry = scoop["architecture"][scoop_arch]
        name = named(entry["url"])
        if not name:
            continue
        versions.add(name.split("-")[1])
        if entry["hash"] != digest(name):
            found.append(f"scoop: the hash given for {name} is not its own")
        exe_in_zip(name, f"{entry['extract_dir']}/{scoop['shortcuts'][0][0]}", arch)
    if versions != {"2.0"}:
        found.append(f"versions disagree: {sorted(map(str, versions))}")
    return found


def validate(docs, scoop):
    import jsonschema
    for name, doc in docs.items():
        kind = doc["ManifestType"]
        schema = json.load(open(os.path.join(schemas, "winget", "v1.12.0", f"manifest.{kind}.1.12.0.json")))
        errors = [e.message for e in jsonschema.Draft7Validator(schema).iter_errors(doc)]
        check(f"{name} is valid under winget's {kind} 1.12.0 schema", not errors, errors[:3])
    schema = json.load(open(os.path.join(schemas, "scoop", "schema.json")))
    errors = [e.message for e in jsonschema.Draft7Validator(schema).iter_errors(scoop)]
    check("orvenna.json is valid under Scoop's schema", not errors, errors[:3])


work = tempfile.mkdtemp(prefix="orvenna-manifests.")
try:
    for name in ("Orvenna-2.0-win32.msi", "Orvenna-2.0-win32.zip"):
        shutil.copy(os.path.join(dir32, name), work)
    for name in ("Orvenna-2.0-win64.msi", "Orvenna-2.0-win64.zip"):
        shutil.copy(os.path.join(dir64, name), work)
    with open(os.path.join(work, "SHA256SUMS"), "w") as f:
        for name in sorted(os.listdir(work)):
            f.write(f"{hashlib.sha256(open(os.path.join(work, name), 'rb').read()).hexdigest()}  {name}\n")
    sums_before = open(os.path.join(work, "SHA256SUMS")).read()

    for url, why in (("http://example.invalid/releases/v2.0", "not https"),
                     ("https://example.invalid/releases/latest", "without the version")):
        refused = subprocess.run([sys.executable, tool, "--check", url, "2.0"], capture_output=True, text=True)
        check(f"an address {why} is refused in one line", refused.returncode == 2
              and len(refused.stderr.strip().splitlines()) == 1 and url in refused.stderr, refused.stderr)
    made = subprocess.run([sys.executable, tool, work, URL], capture_output=True, text=True)
    check("the manifests are written", made.returncode == 0, made.stderr)
    docs, scoop = load(work)
    found = problems(work, docs, scoop)
    check("the manifests agree with the release files", not found, found)
    check("SHA256SUMS lists the downloads only", open(os.path.join(work, "SHA256SUMS")).read() == sums_before)
    raw = open(os.path.join(work, "scoop", "orvenna.json"), newline="").read()
    check("orvenna.json: four-space indents, no trailing spaces, a final newline",
          raw.endswith("}\n") and "\n    \"version\"" in raw and not any(l != l.rstrip() for l in raw.split("\n")))
    check("the winget files start with their schema line",
          all(open(os.path.join(work, "winget", "manifests", "l", "Lumbrel", "Orvenna", "2.0", n)).readline()
              .startswith("# yaml-language-server: $schema=https://aka.ms/winget-manifest.") for n in docs))

    # What a manifest written by hand gets wrong, which the checks must catch.
    installers = docs["Lumbrel.Orvenna.installer.yaml"]["Installers"]
    wrong_hash = copy.deepcopy(docs)
    wrong_hash["Lumbrel.Orvenna.installer.yaml"]["Installers"][0]["InstallerSha256"] = installers[1]["InstallerSha256"]
    other_code = msi_facts(other_msi)[0]["ProductCode"]
    wrong_code = copy.deepcopy(docs)
    wrong_code["Lumbrel.Orvenna.installer.yaml"]["Installers"][1]["ProductCode"] = other_code
    wrong_scoop = copy.deepcopy(scoop)
    wrong_scoop["architecture"]["32bit"]["hash"] = scoop["architecture"]["64bit"]["hash"]
    check("caught: a winget hash of another file", any("hash" in p for p in problems(work, wrong_hash, scoop)))
    check("caught: a product code of another build", other_code != installers[1]["ProductCode"]
          and any("product code" in p for p in problems(work, wrong_code, scoop)))
    check("caught: a Scoop hash of another file", any("hash" in p for p in problems(work, docs, wrong_scoop)))

    if schemas and os.path.isdir(schemas):
        validate(docs, scoop)
    else:
        print(f"skipped: schema validation (no official schemas at '{schemas}')")
finally:
    shutil.rmtree(work, ignore_errors=True)
print(f"{len(failures)} failed" if failures else "all manifest checks passed")
sys.exit(1 if failures else 0)
