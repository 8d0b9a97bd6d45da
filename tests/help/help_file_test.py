#!/usr/bin/env python3
"""Reads the built help files as a help viewer does and checks that every help
context of the Configurator lands on its topic.

For each file: the internal file system's directory, |SYSTEM (format and
block size), |TOPIC (walked record by record from the first, with each topic
header's title, the text of the topic's paragraphs, and each topic's offset
counted as viewers count it) and |CTXOMAP (context number -> topic offset).
Every context of the table must resolve to a topic at exactly its offset,
titled like its window, and the Client and Control topics must be those of
the file's edition.

usage: help_file_test.py BRX.hlp qvt.hlp
"""
import struct
import sys

CONTEXTS = {
    12000: "Brennix Configurator 32",
    12100: "Client Configuration",
    12110: "Control Icon Maintenance",
    12200: "Control Configuration",
    12210: "Create Program Icon",
    12300: "Edit Dialback File",
    12310: "Dialback Entry",
    12400: "Advanced Client Options",
    12410: "Define SOS Hotkeys",
    12420: "Transports available",
}

# Labels of fields that only one edition's template has:
# (context, label, in the default edition's topic, in the classroom edition's).
EDITION_LABELS = [
    (12100, "SOS Hotkeys", True, False),
    (12100, "Encrypted password", True, False),
    (12100, "Cache Size", False, True),
    (12200, "Max. Clients", True, False),
    (12200, "Send Message From file", True, False),
]


def u16(b, p):
    return struct.unpack_from("<H", b, p)[0]


def u32(b, p):
    return struct.unpack_from("<I", b, p)[0]


def lz77(src):
    """Expands a block compressed with WinHelp's LZ77 variant."""
    out, p = bytearray(), 0
    while p < len(src):
        flags, p = src[p], p + 1
        for bit in range(8):
            if p >= len(src):
                break
            if flags & (1 << bit):
                code, p = u16(src, p), p + 2
                for _ in range(3 + (code >> 12)):
                    out.append(out[-(code & 0xFFF) - 1])
            else:
                out.append(src[p])
                p += 1
    return bytes(out)


class HelpFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        magic, directory, _free, size = struct.unpack_from("<IiiI", self.data, 0)
        assert magic == 0x00035F3F, "not a WinHelp file"
        assert size == len(self.data), "the header's file size is %d, the file has %d bytes" % (size, len(self.data))
        self.files = {}
        for pos in self.leaf_records(directory + 9, lambda p: self.data.index(b"\0", p) + 5):
            end = self.data.index(b"\0", pos)
            self.files[self.data[pos:end].decode("latin-1")] = u32(self.data, end + 1)

    def leaf_records(self, tree, next_record):
        """Positions of the records in the leaf pages of a B+ tree, in order."""
        assert u16(self.data, tree) == 0x293B, "damaged B+ tree"
        page_size, root, levels = u16(self.data, tree + 4), u16(self.data, tree + 26), u16(self.data, tree + 32)
        pages, page = tree + 38, root
        for _ in range(levels - 1):
            page = u16(self.data, pages + page * page_size + 4)
        while page != 0xFFFF:
            base = pages + page * page_size
            count, page = u16(self.data, base + 2), u16(self.data, base + 6)
            pos = base + 8
            for _ in range(count):
                yield pos
                pos = next_record(pos)

    def internal(self, name):
        assert name in self.files, "no internal file " + name
        offset = self.files[name]
        reserved, used = u32(self.data, offset), u32(self.data, offset + 4)
        assert used + 9 <= reserved and offset + 9 + used <= len(self.data), name + " is damaged"
        return self.data[offset + 9:offset + 9 + used]

    def context_map(self):
        body = self.internal("|CTXOMAP")
        count = u16(body, 0)
        assert len(body) >= 2 + 8 * count, "|CTXOMAP is shorter than its count"
        return dict(struct.unpack_from("<iI", body, 2 + 8 * i) for i in range(count))

    def topics(self):
        """Topic offset -> (title, text) for every topic of |TOPIC."""
        system = self.internal("|SYSTEM")
        magic, minor, _major, _date, flags = struct.unpack_from("<HHHIH", system, 0)
        assert magic == 0x036C and minor > 16, "not a WinHelp 3.1 or later file"
        block_size = 0x1000 if flags in (0, 4) else 0x800
        topic = self.internal("|TOPIC")
        blocks, starts = bytearray(), []
        for at in range(0, len(topic), block_size):
            part = topic[at + 12:at + block_size]
            starts.append(len(blocks))
            blocks += lz77(part) if flags else part
        found, current, chars, block_seen, ref = {}, None, 0, -1, 0x0C
        while ref != 0xFFFFFFFF:
            block, pos = (ref - 0x0C) >> 14, starts[(ref - 0x0C) >> 14] + ((ref - 0x0C) & 0x3FFF)
            if block != block_seen:
                chars, block_seen = 0, block
            size, len2, _prev, ref, len1 = struct.unpack_from("<IIIII", blocks, pos)
            kind = blocks[pos + 0x14]
            assert len2 <= size - len1, "phrase-compressed text is not expected"
            text = bytes(blocks[pos + len1:pos + size])
            if kind == 0x02:
                current = block * 0x8000 + chars
                found[current] = [text.split(b"\0")[0].decode("cp1252"), ""]
            elif kind in (0x20, 0x23):
                # LinkData1 opens with the record's size (a compressed long)
                # and its length in characters (a compressed short).
                p = pos + 0x15 + (4 if blocks[pos + 0x15] & 1 else 2)
                chars += u16(blocks, p) // 2 if blocks[p] & 1 else blocks[p] // 2
                found[current][1] += text.replace(b"\0", b"").replace(b"\xa0", b" ").decode("cp1252")
            else:
                raise AssertionError("unexpected topic record type %#x" % kind)
        return found


def check(path, classroom):
    errors = []
    try:
        help_file = HelpFile(path)
        topics, numbers = help_file.topics(), help_file.context_map()
    except (AssertionError, IndexError, KeyError, struct.error) as e:
        return ["%s: unreadable: %s" % (path, e)]
    if set(numbers) != set(CONTEXTS):
        errors.append("%s: the map holds %s" % (path, sorted(numbers)))
    for number, title in CONTEXTS.items():
        topic = topics.get(numbers.get(number))
        if topic is None:
            errors.append("%s: context %d leads to no topic" % (path, number))
        elif topic[0] != title:
            errors.append("%s: context %d leads to %r, not %r" % (path, number, topic[0], title))
    for number, label, in_default, in_classroom in EDITION_LABELS:
        topic = topics.get(numbers.get(number), ("", ""))
        if (label in topic[1]) != (in_classroom if classroom else in_default):
            errors.append("%s: topic %d %s %r" % (path, number, "names" if label in topic[1] else "lacks", label))
    return errors


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: help_file_test.py BRX.hlp qvt.hlp")
    problems = check(sys.argv[1], False) + check(sys.argv[2], True)
    print("\n".join(problems) or "both help files resolve all %d contexts to their topics" % len(CONTEXTS))
    sys.exit(1 if problems else 0)
