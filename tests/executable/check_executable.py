#!/usr/bin/env python3
"""Static checks of a built Lumbrel.exe: format, imports, hardening, resources;
and of the installer, when given: what it installs and registers.

usage: check_executable.py {win32|win64} PATH/TO/Lumbrel.exe [PATH/TO/Orvenna.msi]
Prints one line per check and 'N passed, N failed'; exits 1 if any failed.
"""
import os
import struct
import subprocess
import sys
import tempfile

import pefile

# DLLs every Windows since 7 ships; anything else would have to travel with the program.
ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll", "advapi32.dll", "msvcrt.dll"}
RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 6, 14, 16, 24
WIN10_GUID = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"

results = []


def check(name, ok, detail=""):
    results.append(ok)
    print(("ok    " if ok else "FAIL  ") + name + ("" if ok or not detail else ": " + str(detail)))


def resources(pe, type_id):
    """{(id, lang): bytes} for every resource of a type."""
    out = {}
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if t.id != type_id:
            continue
        for name in t.directory.entries:
            for lang in name.directory.entries:
                d = lang.data.struct
                out[(name.id, lang.id)] = pe.get_data(d.OffsetToData, d.Size)
    return out


def read_sz_or_ord(data, pos):
    """A dialog template's name-or-ordinal field; returns (value, next position)."""
    (first,) = struct.unpack_from("<H", data, pos)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def align4(pos):
    return (pos + 3) & ~3


def parse_dialog(data):
    """Header and controls of a classic or extended dialog template."""
    ver, sig = struct.unpack_from("<HH", data, 0)
    ex = ver == 1 and sig == 0xFFFF
    if ex:
        _, exstyle, style, count, x, y, cx, cy = struct.unpack_from("<IIIHhhhh", data, 4)
        pos = 26
    else:
        style, exstyle, count, x, y, cx, cy = struct.unpack_from("<IIHhhhh", data, 0)
        pos = 18
    menu, pos = read_sz_or_ord(data, pos)
    cls, pos = read_sz_or_ord(data, pos)
    title, pos = read_sz_or_ord(data, pos)
    font = None
    if style & 0x40:  # DS_SETFONT
        (size,) = struct.unpack_from("<H", data, pos)
        pos += 2
        weight = italic = charset = None
        if ex:
            weight, italic, charset = struct.unpack_from("<HBB", data, pos)
            pos += 4
        face, pos = read_sz_or_ord(data, pos)
        font = (size, face, weight, italic, charset)
    controls = []
    for _ in range(count):
        pos = align4(pos)
        if ex:
            help_id, c_exstyle, c_style, cx_, cy_, w, h, cid = struct.unpack_from("<IIIhhhhI", data, pos)
            pos += 24
        else:
            c_style, c_exstyle, cx_, cy_, w, h, cid = struct.unpack_from("<IIhhhhH", data, pos)
            help_id = 0
            pos += 18
        c_cls, pos = read_sz_or_ord(data, pos)
        text, pos = read_sz_or_ord(data, pos)
        (extra,) = struct.unpack_from("<H", data, pos)
        pos += 2 + extra
        controls.append(dict(id=cid, cls=c_cls, text=text, style=c_style, exstyle=c_exstyle, rect=(cx_, cy_, w, h), help=help_id))
    return dict(ex=ex, style=style, exstyle=exstyle, pos=(x, y), size=(cx, cy), menu=menu, cls=cls, title=title, font=font, controls=controls)


def msi_table(msi, table):
    """A table of the installer as rows of column values."""
    out = subprocess.run(["msiinfo", "export", msi, table], capture_output=True, text=True).stdout
    return [line.split("\t") for line in out.replace("\r", "").splitlines()[3:]]


def check_msi(arch, exe, msi):
    props = dict(r[:2] for r in msi_table(msi, "Property") if len(r) >= 2)
    check("msi: product Orvenna 2.0 by Lumbrel",
          (props.get("ProductName"), props.get("ProductVersion"), props.get("Manufacturer")) == ("Orvenna", "2.0", "Lumbrel"),
          props)
    check("msi: per user (no ALLUSERS), icon, help link, no modify",
          "ALLUSERS" not in props and props.get("ARPPRODUCTICON") == "Lumbrel.ico"
          and props.get("ARPHELPLINK") == "https://www.lumbrel.com/p/orvenna.html" and props.get("ARPNOMODIFY") == "1", props)
    check("msi: fixed upgrade code", props.get("UpgradeCode") == "{4D0B7F64-52B1-4D0E-9A53-0E6F3C1A7B21}", props)
    upgrade = [r for r in msi_table(msi, "Upgrade") if r[-1] == "WIX_UPGRADE_DETECTED"]
    check("msi: replaces any earlier version and this same one (the other architecture, a rebuild)",
          len(upgrade) == 1 and upgrade[0][1:3] == ["", "2.0"] and int(upgrade[0][4]) & 0x200, upgrade)
    files = msi_table(msi, "File")
    check("msi: the program's file version 2.0.0.0, language 1033",
          [(r[0], r[4], r[5]) for r in files] == [("LumbrelExe", "2.0.0.0", "1033")], files)
    hashes = msi_table(msi, "MsiFileHash")
    check("msi: no file hash for the versioned program", not any(r[0] == "LumbrelExe" for r in hashes), hashes)
    conditions = msi_table(msi, "LaunchCondition")
    check("msi: an older version is refused with a clear message",
          ["NOT WIX_DOWNGRADE_DETECTED",
           "A newer version of Orvenna is already installed. Uninstall it first to install this one."] in conditions,
          conditions)
    info = subprocess.run(["msiinfo", "suminfo", msi], capture_output=True, text=True).stdout
    template = {"win32": "Intel;1033", "win64": "x64;1033"}[arch]
    check("msi: platform " + template + ", no elevation needed",
          f"Template: {template}" in info and "Security: 2" in info and "Source: 10" in info, info)
    with tempfile.TemporaryDirectory() as out:
        subprocess.run(["msiextract", "-C", out, msi], capture_output=True, check=True)
        found = [os.path.join(d, f) for d, _, fs in os.walk(out) for f in fs]
        same = len(found) == 1 and open(found[0], "rb").read() == open(exe, "rb").read()
        check("msi: carries exactly the built Lumbrel.exe, into Programs/Orvenna", same
              and found[0].endswith("Programs/Orvenna/Lumbrel.exe"), found)


def first_tls_callback_restricts_dll_search(pe, wide):
    """Whether the image's TLS directory lists first the callback that restricts
    the DLL search: the function whose code refers to the name
    "SetDefaultDllDirectories", which it looks up."""
    if not hasattr(pe, "DIRECTORY_ENTRY_TLS"):
        return False, "no TLS directory"
    base = pe.OPTIONAL_HEADER.ImageBase
    size = 8 if wide else 4
    at = pe.DIRECTORY_ENTRY_TLS.struct.AddressOfCallBacks - base
    first = int.from_bytes(pe.get_data(at, size), "little")
    if first == 0:
        return False, "no callback"
    data = pe.__data__
    name = data.find(b"SetDefaultDllDirectories\0")
    if name < 0:
        return False, "no SetDefaultDllDirectories"
    name_rva = pe.get_rva_from_offset(name)

    def refers(code_rva, depth):
        """Whether the code at code_rva, or a function it calls directly, names the string."""
        code = pe.get_data(code_rva, 96)
        for i in range(len(code) - 4):
            value = int.from_bytes(code[i:i + 4], "little", signed=wide)
            # i686 names the string by its address; x86_64 relative to the next instruction.
            if (code_rva + i + 4 + value if wide else value - base) == name_rva:
                return True
            if depth and i and code[i - 1] == 0xE8:  # call rel32
                callee = code_rva + i + 4 + int.from_bytes(code[i:i + 4], "little", signed=True)
                if 0 < callee < pe.OPTIONAL_HEADER.SizeOfImage and refers(callee, depth - 1):
                    return True
        return False

    if refers(first - base, 1):
        return True, hex(first)
    return False, f"the first callback at {first:#x} does not look up SetDefaultDllDirectories"


def main():
    arch, path = sys.argv[1], sys.argv[2]
    pe = pefile.PE(path)
    wide = arch == "win64"

    check("machine and format", (pe.FILE_HEADER.Machine, pe.OPTIONAL_HEADER.Magic) == ((0x8664, 0x20B) if wide else (0x14C, 0x10B)))
    check("GUI subsystem", pe.OPTIONAL_HEADER.Subsystem == 2)
    dlls = sorted(e.dll.decode().lower() for e in pe.DIRECTORY_ENTRY_IMPORT)
    check("imports only DLLs Windows ships", set(dlls) <= ALLOWED_DLLS, dlls)
    # Windows 7 lacks the per-monitor DPI functions, and oleacc is reached through COM.
    functions = [i.name.decode() for e in pe.DIRECTORY_ENTRY_IMPORT for i in e.imports if i.name]
    dpi = [f for f in functions if "Dpi" in f]
    check("no DPI function imported (they are looked up at run time)", not dpi, dpi)
    check("no oleacc import", "oleacc.dll" not in dlls and not any(f.startswith("AccessibleObject") for f in functions))
    chars = pe.OPTIONAL_HEADER.DllCharacteristics
    need = 0x40 | 0x100 | (0x20 if wide else 0)
    check("ASLR and DEP" + (" with high-entropy VA" if wide else ""), chars & need == need, hex(chars))
    wx = [s.Name.rstrip(b"\0").decode() for s in pe.sections if s.Characteristics & 0x80000000 and s.Characteristics & 0x20000000]
    check("no section both writable and executable", not wx, wx)
    check("no timestamp", pe.FILE_HEADER.TimeDateStamp == 0, pe.FILE_HEADER.TimeDateStamp)
    first, detail = first_tls_callback_restricts_dll_search(pe, wide)
    check("the first TLS callback restricts the DLL search", first, detail)

    manifests = resources(pe, RT_MANIFEST)
    check("exactly one manifest, id 1", list(k[0] for k in manifests) == [1], list(manifests))
    text = b"".join(manifests.values()).decode("utf-8", "replace")
    check("manifest: asInvoker", 'level="asInvoker"' in text)
    check("manifest: common controls 6", "Microsoft.Windows.Common-Controls" in text and 'version="6.0.0.0"' in text)
    check("manifest: Windows 10 and 11", WIN10_GUID in text)
    check("manifest: system DPI awareness for Windows 7 to 8.1", "<dpiAware>true</dpiAware>" in text)
    check("manifest: per-monitor v2 awareness, system where Windows 10 lacks it",
          '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, System</dpiAwareness>'
          in text)

    vs = pe.VS_FIXEDFILEINFO[0]
    check("fixed versions 2.0.0.0", (vs.FileVersionMS, vs.FileVersionLS, vs.ProductVersionMS, vs.ProductVersionLS) == (0x20000, 0, 0x20000, 0))
    check("file OS, type, subtype, date", (vs.FileOS, vs.FileType, vs.FileSubtype, vs.FileDateMS, vs.FileDateLS) == (4, 1, 0, 0, 0))
    strings = {}
    translations = []
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                check("string block 040904B0", table.LangID == b"040904B0", table.LangID)
                strings = {k.decode(): v.decode() for k, v in table.entries.items()}
        if info.Key == b"VarFileInfo":
            for var in info.Var:
                translations.append(var.entry)
    expected = {
        "CompanyName": "", "FileDescription": "www.lumbrel.com", "FileVersion": "1, 0, 0, 1", "InternalName": "Lumbrel",
        "LegalCopyright": "Copyright (C) 2026 Lumbrel", "LegalTrademarks": "", "OriginalFilename": "Lumbrel.EXE",
        "ProductName": "www.lumbrel.com", "ProductVersion": "1, 0, 0, 1",
    }
    check("version strings", strings == expected, strings)
    flat = [{(k.decode() if isinstance(k, bytes) else k): (v.decode() if isinstance(v, bytes) else v) for k, v in t.items()} for t in translations]
    check("translation 0x0409, 1200", flat == [{"Translation": "0x0409 0x04b0"}], flat)
    check("version block language 0x0409", list(resources(pe, RT_VERSION)) == [(1, 0x0409)], list(resources(pe, RT_VERSION)))

    groups = resources(pe, RT_GROUP_ICON)
    check("one icon group, 128, language 0x0809", list(groups) == [(128, 0x0809)], list(groups))
    group = next(iter(groups.values()))
    _, kind, count = struct.unpack_from("<HHH", group, 0)
    entries = [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i) for i in range(count)]
    sizes = [e[0] or 256 for e in entries]
    check("icon sizes 16 to 256 in order", sizes == [16, 32, 48, 64, 128, 256], sizes)
    check("icon image ids 1 to 6", [e[7] for e in entries] == [1, 2, 3, 4, 5, 6])
    check("icon images 32-bit", all(e[5] == 32 and e[4] == 1 for e in entries))
    images = resources(pe, RT_ICON)
    bad = []
    for size, e in zip(sizes, entries):
        data = images.get((e[7], 0x0809), b"")
        if data[:8] == b"\x89PNG\r\n\x1a\n" or len(data) < 40:
            bad.append((size, "png or missing"))
            continue
        hsize, w, h, planes, bits, comp = struct.unpack_from("<IiiHHI", data, 0)
        mask = ((size + 31) // 32) * 4 * size
        if (hsize, w, h, bits, comp) != (40, size, 2 * size, 32, 0) or len(data) != 40 + size * size * 4 + mask:
            bad.append((size, hsize, w, h, bits, comp, len(data)))
    check("icon images are uncompressed DIBs with their masks", not bad, bad)

    dialogs = resources(pe, RT_DIALOG)
    check("dialog templates and languages", sorted(dialogs) == [(100, 0x0409), (102, 0x0409), (130, 0x0416)], sorted(dialogs))
    main = parse_dialog(dialogs[(102, 0x0409)])
    check("main: extended template", main["ex"])
    check("main: style and extended style", (main["style"], main["exstyle"]) == (0x90C000C0, 0x00040000), (hex(main["style"]), hex(main["exstyle"])))
    check("main: position, size, caption, font", (main["pos"], main["size"], main["title"], main["font"], main["menu"], main["cls"]) ==
          ((0, 0), (93, 204), " Orvenna", (8, "MS Sans Serif", 0, 0, 1), "", ""), main)
    want = [
        (1040, 0x83, "", 0x50A10101, (4, 4, 86, 137)),
        (1020, 0x80, "Channels", 0x50010000, (4, 142, 86, 15)),
        (1018, 0x80, "Help", 0x50010000, (4, 158, 86, 13)),
        (1021, 0x80, "Exit", 0x50010000, (4, 187, 86, 14)),
        (1048, 0x80, "About", 0x50010000, (4, 171, 86, 15)),
    ]
    got = [(c["id"], c["cls"], c["text"], c["style"], c["rect"]) for c in main["controls"]]
    check("main: controls in tab order", got == want, got)
    check("main: controls without help id or extended style", all(c["help"] == 0 and c["exstyle"] == 0 for c in main["controls"]))

    about = parse_dialog(dialogs[(100, 0x0409)])
    check("about: classic template, style, size, title", (about["ex"], about["style"], about["exstyle"], about["pos"], about["size"], about["title"]) ==
          (False, 0x80C800C0, 0, (0, 0), (142, 121), "About"), about)
    got = [(c["id"], c["cls"], c["text"], c["style"], c["rect"]) for c in about["controls"]]
    want = [
        (0xFFFF, 0x82, 128, 0x50000003, (61, 18, 20, 20)),
        (0xFFFF, 0x82, "Orvenna 2.0, 2026", 0x50020081, (11, 45, 119, 8)),
        (0xFFFF, 0x82, "Free software, MIT License.", 0x50020081, (11, 56, 119, 8)),
        (1, 0x80, "OK", 0x50030001, (46, 93, 50, 14)),
        (0xFFFF, 0x80, "", 0x50000007, (7, 4, 128, 113)),
        (1015, 0x80, "www.lumbrel.com", 0x50010000, (22, 71, 100, 13)),
    ]
    check("about: controls", got == want, got)

    helpbox = parse_dialog(dialogs[(130, 0x0416)])
    check("help: classic template, style, size, title", (helpbox["ex"], helpbox["style"], helpbox["pos"], helpbox["size"], helpbox["title"], helpbox["font"][:2]) ==
          (False, 0x80C800C0, (0, 0), (137, 168), "Help", (8, "MS Sans Serif")), helpbox)
    texts = [c["text"] for c in helpbox["controls"]]
    check("help: texts, with U+00BA", texts == ["OK", "( 2\u00ba ) Click Over Name Channel.", "( 1\u00ba ) Choice a channel by list.",
                                                "( 3\u00ba ) Watch your channel.", "( * ) Your channel don't open?", "Step 1: Wait.",
                                                "Step 2: Click over channel again.", "", "_" * 21], texts)
    check("help: positions", [c["rect"] for c in helpbox["controls"]] == [
        (50, 139, 43, 18), (16, 37, 109, 8), (17, 18, 100, 8), (25, 55, 86, 8), (12, 86, 106, 8), (17, 104, 106, 8),
        (15, 121, 106, 8), (3, 2, 131, 164), (26, 68, 86, 8)])
    check("help: styles", [c["style"] for c in helpbox["controls"]] == [0x50010001] + [0x50020001] * 6 + [0x50000007, 0x50020001])

    table = {}
    for (block, lang), data in resources(pe, RT_STRING).items():
        pos = 0
        for i in range(16):
            (n,) = struct.unpack_from("<H", data, pos)
            pos += 2
            if n:
                table[(block - 1) * 16 + i] = data[pos:pos + 2 * n].decode("utf-16-le")
            pos += 2 * n
    check("strings: About caption", table.get(101) == "&About Lumbrel...", table)
    check("strings: no application title (57344)", 57344 not in table)
    check("strings: help failure message", table.get(0xF107) == "Failed to launch help.")

    if len(sys.argv) > 4:  # the installer, and the program as released in it
        check_msi(arch, sys.argv[4], sys.argv[3])

    failed = results.count(False)
    print(f"{len(results) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
