#!/usr/bin/env python3
"""Writes the package managers' manifests for a release folder that holds the
two installers, the two zips and SHA256SUMS, as they will be published at URL:
winget's three files (multi-file format) under winget/manifests/l/Lumbrel/
Orvenna/VERSION/ and Scoop's scoop/orvenna.json. Every hash is taken from the
final files in the folder, and each installer's product and upgrade codes from
the installer itself.

usage: manifests.py FOLDER URL
       manifests.py --check URL VERSION   names, in one line, an address that
                                          is not https or lacks the version;
                                          exits 2 then
"""
import hashlib
import json
import os
import re
import subprocess
import sys
import zipfile

import yaml

IDENTIFIER = "Lumbrel.Orvenna"
MANIFEST_VERSION = "1.12.0"
PUBLISHER = "Lumbrel"
NAME = "Orvenna"
SHORT_DESCRIPTION = "Watch free internet TV channels in your web browser."
LICENSE = "MIT"
LICENSE_URL = "https://opensource.org/license/mit"
COPYRIGHT = "Copyright (c) 2026 Lumbrel"
ALIAS = "orvenna"
EXE = "Lumbrel.exe"
ARCHITECTURES = (("win32", "x86", "32bit"), ("win64", "x64", "64bit"))
here = os.path.dirname(os.path.abspath(__file__))


def problem(url, version):
    """What is wrong with the publishing address, in one line, or None."""
    if not re.fullmatch(r"https://[^/\s]+/\S*", url):
        return f"ORVENNA_RELEASE_URL must be an https address, not '{url}'"
    if version not in url.split("/", 3)[-1]:
        return f"ORVENNA_RELEASE_URL '{url}' does not contain the version {version} in its path"
    return None


def site():
    """The maker's home page and the product page, from the resource header."""
    text = open(os.path.join(here, "..", "..", "res", "Site.h")).read()
    host = re.search(r'define ORVENNA_MAKER_HOST "([^"]+)"', text).group(1)
    return f"https://{host}", f"https://{host}/p/orvenna.html"


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def msi_properties(path):
    """The installer's Property table, by name."""
    out = subprocess.run(["msiinfo", "export", path, "Property"], capture_output=True, text=True, check=True).stdout
    rows = [line.rstrip("\r").split("\t", 1) for line in out.splitlines()[3:]]  # after the three header lines
    return {row[0]: row[1] for row in rows if len(row) == 2}


def zipped_exe(path):
    """The path of the program inside a zip, with forward slashes."""
    names = [n for n in zipfile.ZipFile(path).namelist() if n.rsplit("/", 1)[-1] == EXE]
    if len(names) != 1:
        sys.exit(f"manifests.py: {path} holds {len(names)} copies of {EXE}")
    return names[0]


def header(kind):
    return f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json\n\n"


def write_yaml(path, kind, data):
    with open(path, "w", newline="\n") as f:
        f.write(header(kind))
        yaml.safe_dump(data, f, sort_keys=False, allow_unicode=True, width=1000)


def autoupdate_pattern(url, version):
    """checkver's folder and regex: the part of the address before the first
    segment with the version, and that segment with the version as a group."""
    head, _, tail = url.partition(version)
    parent = head[:head.rindex("/") + 1]
    segment = head[len(parent):] + version + tail.split("/", 1)[0]
    before, _, after = segment.partition(version)
    return parent, re.escape(before) + r"([\d.]+)" + re.escape(after)


def write(folder, url):
    url = url.rstrip("/")
    names = sorted(os.listdir(folder))
    versions = {m.group(1) for m in (re.fullmatch(r"Orvenna-(.+)-win(32|64)\.(msi|zip)", n) for n in names) if m}
    if len(versions) != 1:
        sys.exit(f"manifests.py: {folder} must hold the release files of one version, not {sorted(versions) or 'none'}")
    version = versions.pop()
    if (message := problem(url, version)):
        sys.exit(f"manifests.py: {message}")
    home, product_page = site()
    files = {(arch, kind): os.path.join(folder, f"Orvenna-{version}-{arch}.{kind}")
             for arch, _, _ in ARCHITECTURES for kind in ("msi", "zip")}
    for path in files.values():
        if not os.path.isfile(path):
            sys.exit(f"manifests.py: {path} is missing")

    installers = []
    for arch, winget_arch, _ in ARCHITECTURES:
        msi = files[(arch, "msi")]
        props = msi_properties(msi)
        if props.get("ProductVersion") != version:
            sys.exit(f"manifests.py: {msi} is version {props.get('ProductVersion')}, not {version}")
        installers.append({
            "Architecture": winget_arch,
            "InstallerType": "msi",
            "InstallerUrl": f"{url}/{os.path.basename(msi)}",
            "InstallerSha256": sha256(msi).upper(),
            "ProductCode": props["ProductCode"],
            "AppsAndFeaturesEntries": [{"ProductCode": props["ProductCode"], "UpgradeCode": props["UpgradeCode"]}],
        })
    for arch, winget_arch, _ in ARCHITECTURES:
        archive = files[(arch, "zip")]
        installers.append({
            "Architecture": winget_arch,
            "InstallerType": "zip",
            "NestedInstallerType": "portable",
            "NestedInstallerFiles": [{"RelativeFilePath": zipped_exe(archive).replace("/", "\\"),
                                      "PortableCommandAlias": ALIAS}],
            "InstallerUrl": f"{url}/{os.path.basename(archive)}",
            "InstallerSha256": sha256(archive).upper(),
        })

    common = {"PackageIdentifier": IDENTIFIER, "PackageVersion": version}
    winget = os.path.join(folder, "winget", "manifests", IDENTIFIER[0].lower(), *IDENTIFIER.split("."), version)
    os.makedirs(winget, exist_ok=True)
    for old in os.listdir(winget):
        os.remove(os.path.join(winget, old))
    tail = {"ManifestVersion": MANIFEST_VERSION}
    write_yaml(os.path.join(winget, f"{IDENTIFIER}.yaml"), "version",
               {**common, "DefaultLocale": "en-US", "ManifestType": "version", **tail})
    write_yaml(os.path.join(winget, f"{IDENTIFIER}.locale.en-US.yaml"), "defaultLocale",
               {**common, "PackageLocale": "en-US", "Publisher": PUBLISHER, "PublisherUrl": home,
                "PackageName": NAME, "PackageUrl": product_page, "License": LICENSE, "LicenseUrl": LICENSE_URL,
                "Copyright": COPYRIGHT, "ShortDescription": SHORT_DESCRIPTION, "ManifestType": "defaultLocale", **tail})
    write_yaml(os.path.join(winget, f"{IDENTIFIER}.installer.yaml"), "installer",
               {**common, "Installers": installers, "ManifestType": "installer", **tail})

    parent, regex = autoupdate_pattern(url, version)
    pattern = url.replace(version, "$version")
    architecture, updates = {}, {}
    for arch, _, scoop_arch in reversed(ARCHITECTURES):
        archive = files[(arch, "zip")]
        folder_in_zip = zipped_exe(archive).rsplit("/", 1)[0]
        architecture[scoop_arch] = {"url": f"{url}/{os.path.basename(archive)}", "hash": sha256(archive),
                                    "extract_dir": folder_in_zip}
        updates[scoop_arch] = {"url": f"{pattern}/{os.path.basename(archive).replace(version, '$version')}",
                               "extract_dir": folder_in_zip.replace(version, "$version")}
    scoop = {
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": product_page,
        "license": LICENSE,
        "architecture": architecture,
        "shortcuts": [[EXE, NAME]],
        "checkver": {"url": parent, "regex": regex},
        "autoupdate": {"architecture": updates, "hash": {"url": "$baseurl/SHA256SUMS"}},
    }
    os.makedirs(os.path.join(folder, "scoop"), exist_ok=True)
    with open(os.path.join(folder, "scoop", "orvenna.json"), "w", newline="\n") as f:
        f.write(json.dumps(scoop, indent=4) + "\n")
    return winget, os.path.join(folder, "scoop", "orvenna.json")


if __name__ == "__main__":
    if sys.argv[1:2] == ["--check"] and len(sys.argv) == 4:
        message = problem(sys.argv[2], sys.argv[3])
        if message:
            print(message, file=sys.stderr)
            sys.exit(2)
    elif len(sys.argv) == 3:
        for made in write(sys.argv[1], sys.argv[2]):
            print(made)
    else:
        sys.exit(__doc__)
