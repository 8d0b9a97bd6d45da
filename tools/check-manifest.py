#!/usr/bin/env python3
"""Checks the application manifest embedded in a Windows executable.

Reads the PE resource directory (no tool of the toolchain needed), finds the
manifests (type 24) and fails unless there is exactly one, resource 1 in one
language, and it is well-formed XML that asks for administrator rights,
names Windows Vista to Windows 10/11 as supported and declares no DPI
awareness.

Usage: check-manifest.py program.exe
"""
import struct
import sys
import xml.etree.ElementTree as ET

RT_MANIFEST = 24
ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMPAT = "urn:schemas-microsoft-com:compatibility.v1"
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  # Vista
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # 10 and 11
}


def fail(message):
    print("manifest check: " + message)
    sys.exit(1)


def resource_section(image):
    """The resource section's bytes and its RVA."""
    (pe,) = struct.unpack_from("<I", image, 0x3C)
    if image[pe:pe + 4] != b"PE\0\0":
        fail("not a PE image")
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    (magic,) = struct.unpack_from("<H", image, optional)
    directories = optional + {0x10B: 96, 0x20B: 112}.get(magic, -1)
    if directories < optional:
        fail("unknown optional header 0x%x" % magic)
    rva, size = struct.unpack_from("<II", image, directories + 2 * 8)
    if not rva:
        fail("the image has no resources")
    table = optional + optional_size
    for i in range(sections):
        vsize, vaddr, raw_size, raw_ptr = struct.unpack_from("<IIII", image, table + 40 * i + 8)
        if vaddr <= rva < vaddr + max(vsize, raw_size):
            start = raw_ptr + (rva - vaddr)
            return image[start:raw_ptr + raw_size], rva
    fail("no section holds the resource directory")


def entries(section, offset):
    """(id or name offset, is_named, target offset, is_directory) of one directory."""
    named, ids = struct.unpack_from("<HH", section, offset + 12)
    for i in range(named + ids):
        name, target = struct.unpack_from("<II", section, offset + 16 + 8 * i)
        yield name & 0x7FFFFFFF, bool(name >> 31), target & 0x7FFFFFFF, bool(target >> 31)


def manifests(image):
    """Every manifest resource as (name id, language, bytes)."""
    section, base = resource_section(image)
    found = []
    for type_id, type_named, type_dir, _ in entries(section, 0):
        if type_named or type_id != RT_MANIFEST:
            continue
        for name_id, name_named, name_dir, _ in entries(section, type_dir):
            for lang, _, data, is_dir in entries(section, name_dir):
                if is_dir:
                    fail("malformed resource directory")
                data_rva, size = struct.unpack_from("<II", section, data)
                start = data_rva - base
                found.append((None if name_named else name_id, lang, section[start:start + size]))
    return found


def main():
    with open(sys.argv[1], "rb") as f:
        image = f.read()
    found = manifests(image)
    if len(found) != 1:
        fail("expected one manifest resource, found %d" % len(found))
    name, lang, data = found[0]
    if name != 1:
        fail("the manifest is resource %r, not 1" % name)
    try:
        root = ET.fromstring(data)
    except ET.ParseError as error:
        fail("not well-formed XML: %s" % error)
    if root.tag != "{%s}assembly" % ASM_V1:
        fail("root element is %s" % root.tag)
    levels = [e.get("level") for e in root.iter("{%s}requestedExecutionLevel" % ASM_V3)]
    if levels != ["requireAdministrator"]:
        fail("requested execution level %s" % levels)
    ids = {e.get("Id") for e in root.iter("{%s}supportedOS" % COMPAT)}
    if ids != SUPPORTED_OS:
        fail("supportedOS entries %s" % sorted(ids))
    dpi = [e.tag for e in root.iter() if "dpiaware" in str(e.tag).lower()]
    if dpi:
        fail("declares DPI awareness: %s" % dpi)
    print("manifest: resource 1 of type 24, language %d, %d bytes, requireAdministrator, %d supportedOS"
          % (lang, len(data), len(ids)))


main()
