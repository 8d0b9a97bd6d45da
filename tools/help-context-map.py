#!/usr/bin/env python3
"""Gives a WinHelp file the numeric context map that the Configurator asks by.

The Configurator opens help with WinHelpW(..., HELP_CONTEXT, n), and the help
viewer finds topic n through the help file's |CTXOMAP internal file: a 16-bit
record count, then one (32-bit context number, 32-bit topic offset) record per
context. Halibut names topics by context strings (\\cfg{winhelp-topic}) and
writes that map empty. This tool fills it:

  1. the context numbers are the HELP_<NAME> values of the program's resource
     header (src/resources/resource.h), so the help and the program share one
     table;
  2. each topic that answers number n carries the context string HELP_<NAME>;
     its topic offset is looked up in the file's |CONTEXT index (a B+ tree of
     context-string hash and topic offset);
  3. the new |CTXOMAP is appended to the file's internal file system and the
     directory entry of |CTXOMAP is pointed at it. Nothing else changes; the
     old, empty map stays behind as unused bytes.

A context name that has no topic in the file stops the build with a message.

usage: help-context-map.py RESOURCE_HEADER INPUT.hlp OUTPUT.hlp
"""
import re
import struct
import sys

FILE_SYSTEM_MAGIC = 0x00035F3F
BTREE_MAGIC = 0x293B
INTERNAL_HEADER = 9   # reserved space (32 bits), used space (32 bits), flags
BTREE_HEADER = 38


def fail(message):
    sys.exit("help-context-map: " + message)


def context_numbers(header_text):
    """HELP_<NAME> -> number, from the #define lines of the resource header."""
    found = dict(re.findall(r"^\s*#define\s+(HELP_\w+)\s+(\d+)\b", header_text, re.M))
    return {name: int(value) for name, value in found.items()}


def context_hash(name):
    """The WinHelp hash of a context string (signed 32 bits)."""
    value = 0
    for ch in name.upper():
        if "A" <= ch <= "Z":
            digit = ord(ch) - ord("A") + 17
        elif "1" <= ch <= "9":
            digit = ord(ch) - ord("0")
        else:
            digit = {"0": 10, ".": 12, "_": 13}.get(ch, 0)
        if digit:
            value = (value * 43 + digit) & 0xFFFFFFFF
    return value - (1 << 32) if value & 0x80000000 else value


def leaf_entries(data, tree, entry):
    """Yields (record position, record) of every leaf record of the B+ tree that
    starts at `tree`, in key order. `entry(data, pos)` returns (record, next pos)."""
    magic, _flags, page_size = struct.unpack_from("<HHH", data, tree)
    if magic != BTREE_MAGIC:
        fail("damaged B+ tree at offset %d" % tree)
    root, _neg, _total, levels = struct.unpack_from("<HhHH", data, tree + 26)
    pages = tree + BTREE_HEADER
    page = root
    for _ in range(levels - 1):            # down the first child of each index page
        page = struct.unpack_from("<H", data, pages + page * page_size + 4)[0]
    while page != 0xFFFF:
        base = pages + page * page_size
        count, _prev, following = struct.unpack_from("<HHH", data, base + 2)
        pos = base + 8
        for _ in range(count):
            record, after = entry(data, pos)
            yield pos, record
            pos = after
        page = following


def directory_entry(data, pos):
    end = data.index(b"\0", pos)
    offset = struct.unpack_from("<I", data, end + 1)[0]
    return (data[pos:end].decode("latin-1"), offset, end + 1), end + 5


def context_entry(data, pos):
    return struct.unpack_from("<iI", data, pos), pos + 8


def main(argv):
    if len(argv) != 4:
        fail("usage: help-context-map.py RESOURCE_HEADER INPUT.hlp OUTPUT.hlp")
    with open(argv[1], encoding="latin-1") as f:
        numbers = context_numbers(f.read())
    with open(argv[2], "rb") as f:
        data = bytearray(f.read())
    if not numbers:
        fail("no HELP_ numbers in " + argv[1])

    magic, directory, _free, size = struct.unpack_from("<IiiI", data, 0)
    if magic != FILE_SYSTEM_MAGIC or size != len(data):
        fail(argv[2] + " is not a WinHelp file")
    files = {name: (offset, field)
             for _, (name, offset, field) in leaf_entries(data, directory + INTERNAL_HEADER, directory_entry)}
    if "|CONTEXT" not in files or "|CTXOMAP" not in files:
        fail(argv[2] + " has no |CONTEXT or no |CTXOMAP")
    topics = dict(record for _, record in
                  leaf_entries(data, files["|CONTEXT"][0] + INTERNAL_HEADER, context_entry))

    records = []
    for name, number in sorted(numbers.items(), key=lambda item: item[1]):
        offset = topics.get(context_hash(name))
        if offset is None:
            fail("no topic carries the context %s (%d) in %s" % (name, number, argv[2]))
        records.append((number, offset))
    if len({number for number, _ in records}) != len(records):
        fail("two HELP_ names share a number in " + argv[1])

    body = struct.pack("<H", len(records)) + b"".join(struct.pack("<iI", n, o) for n, o in records)
    new_offset = len(data)
    data += struct.pack("<IIB", len(body) + INTERNAL_HEADER, len(body), 0) + body
    struct.pack_into("<I", data, files["|CTXOMAP"][1], new_offset)
    struct.pack_into("<I", data, 12, len(data))
    with open(argv[3], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv)
