#!/usr/bin/env python3
"""Checks the resource script against the code:
- every control id is unique within its dialog template;
- every string id the code names (IDS_...) is in the string table, and so is
  every id of the ranges the code loads by number (list entries, option
  labels, adapter kinds);
- every dialog template the code runs (IDD_...) exists.
Usage: check-resources.py SRC_DIR
"""
import os
import re
import sys

src = sys.argv[1]
header = open(os.path.join(src, "resources", "resource.h"), encoding="utf-8").read()
script = open(os.path.join(src, "resources", "rcsetup.rc"), encoding="utf-8").read()

defines = {}
for name, value in re.findall(r"^#define\s+(\w+)\s+(-?\d+)", header, re.M):
    defines[name] = int(value)
defines.update({"IDOK": 1, "IDCANCEL": 2, "IDC_STATIC": -1})


def value_of(token):
    token = token.strip()
    if re.fullmatch(r"-?\d+", token):
        return int(token)
    if token in defines:
        return defines[token]
    raise SystemExit("unknown id %r" % token)


def split_args(text):
    args, depth, cur, quoted = [], 0, "", False
    for ch in text:
        if ch == '"':
            quoted = not quoted
        if ch == "," and not quoted and depth == 0:
            args.append(cur.strip())
            cur = ""
            continue
        cur += ch
    if cur.strip():
        args.append(cur.strip())
    return args


errors = []

# String table
strings = set()
for block in re.findall(r"^STRINGTABLE\s*\nBEGIN\n(.*?)^END", script, re.M | re.S):
    for line in block.splitlines():
        m = re.match(r"\s*([\w]+)\s*,\s*\"", line)
        if m:
            sid = value_of(m.group(1))
            if sid in strings:
                errors.append("string %d defined twice" % sid)
            strings.add(sid)

# Dialog templates and their controls
ID_FIRST = {"EDITTEXT", "LISTBOX", "COMBOBOX", "SCROLLBAR"}
ID_SECOND = {"LTEXT", "CTEXT", "RTEXT", "PUSHBUTTON", "DEFPUSHBUTTON", "CONTROL", "ICON", "GROUPBOX",
             "CHECKBOX", "AUTOCHECKBOX", "AUTORADIOBUTTON", "RADIOBUTTON", "STATE3", "AUTO3STATE", "PUSHBOX"}
dialogs = {}
for name, body in re.findall(r"^(\w+)\s+DIALOG(?:EX)?\b[^\n]*\n(?:[^\n]*\n)*?BEGIN\n(.*?)^END", script, re.M | re.S):
    did = value_of(name)
    dialogs[did] = name
    seen = {}
    for line in body.splitlines():
        m = re.match(r"\s*([A-Z0-9]+)\s+(.*)", line)
        if not m:
            continue
        kind, rest = m.groups()
        args = split_args(rest)
        if kind in ID_FIRST:
            cid = value_of(args[0])
        elif kind in ID_SECOND:
            cid = value_of(args[1])
        else:
            continue
        if cid == -1:
            continue
        if cid in seen:
            errors.append("%s: control id %d used twice (%s and %s)" % (name, cid, seen[cid], line.strip()))
        seen[cid] = line.strip()

# Ids the code uses
code = ""
for root, _, files in os.walk(src):
    for f in files:
        if f.endswith((".cpp", ".h")) and f != "resource.h":
            code += open(os.path.join(root, f), encoding="utf-8").read()
for sym in sorted(set(re.findall(r"\bIDS_\w+\b", code))):
    if sym not in defines:
        errors.append("code names %s, which resource.h does not define" % sym)
    elif defines[sym] not in strings:
        errors.append("code loads %s (%d), which the string table lacks" % (sym, defines[sym]))
for sym in sorted(set(re.findall(r"\bIDD_\w+\b", code))):
    if sym not in defines:
        errors.append("code names %s, which resource.h does not define" % sym)
    elif defines[sym] not in dialogs and os.environ.get("RC_ALLOW_MISSING_DIALOGS") != "1":
        errors.append("code runs %s (%d), which the resource script lacks" % (sym, defines[sym]))

ranges = list(range(4, 8)) + list(range(8, 17)) + list(range(100, 104)) + list(range(1089, 1093)) \
    + [1000, 1001, 1002, 1003, 1005, 1006, 1007, 1008, 1009, 1010, 1098] + list(range(1114, 1122)) \
    + [1105, 1106, 1108, 1109, 1112, 1113]
for sid in ranges:
    if sid not in strings:
        errors.append("string %d, loaded by number, is missing" % sid)

for e in errors:
    print(e)
print("%d dialog templates, %d strings checked; %d problems" % (len(dialogs), len(strings), len(errors)))
sys.exit(1 if errors else 0)
