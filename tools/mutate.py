#!/usr/bin/env python3
"""Mutation testing of the window-free core against the native core tests.

From a fixed seed it draws single mutations of the core sources (src/*/*.cpp
and src/*/*.h whose names do not end in _win): a comparison flipped, an
integer constant changed by one, an if/while condition negated, a statement
removed. Each mutant is built with the native core tests and run. A mutant is
killed when the tests fail or time out; one that does not build is counted
apart.

The core sources come from a git revision (--src-rev, default HEAD) or a
directory (--src-dir), so runs with different tests use the same mutant set.
The tests, CMake files and the rest come from the working tree or from a
revision (--tests-rev), so the run before a change of the tests can be
repeated after it. Each worker
(--jobs) builds in a tree of its own under build/mutate: a copy of the
sources, clang without sanitizers at -O0 linked with lld, only the core_tests
target, rebuilt incrementally. Results
are kept per mutant and per test fingerprint in the report file, so an
interrupted run resumes where it stopped and a rerun with unchanged tests
costs nothing.

Usage: nice -n 10 tools/mutate.py [--count 200] [--seed 10] [--src-rev REV] [--jobs 2]
                                  [--report build/mutate/report.json] [--list]
"""

import argparse
import concurrent.futures
import hashlib
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# ---- finding the mutation sites ------------------------------------------


def blank_comments_and_literals(text):
    """The text with comments, string and character literals replaced by
    spaces (newlines kept), so that sites are found in code only."""
    out = list(text)
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
        elif c in "\"'":
            # Blank the literal's contents, keep its quotes and prefix.
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            for k in range(i + 1, min(j, n)):
                if out[k] != "\n":
                    out[k] = " "
            i = j + 1
            continue
        else:
            i += 1
            continue
        for k in range(i, min(j, n)):
            if out[k] != "\n":
                out[k] = " "
        i = j
    return "".join(out)


FLIPS = {"==": "!=", "!=": "==", "<": "<=", "<=": "<", ">": ">=", ">=": ">"}
COMPARISON = re.compile(r"(?<=[\w)\]]) (==|!=|<=|>=|<|>) (?=[\w(!\-L'\"]|static_cast)")
NUMBER = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.])")
CONDITION = re.compile(r"\b(if|while) \(")
SKIP_STATEMENT = re.compile(
    r"^(return|break|continue|case|default|using|namespace|struct|class|enum|typedef|"
    r"static_assert|extern|inline|constexpr|const|static|template|public|private|"
    r"protected|friend|auto|else|do|for|if|while|switch|goto)\b")
DECLARATION = re.compile(r"^[\w:<>*&,]+\s+[*&]*\w+\s*(=|\{|;|\(|\[)")


def line_of(text, pos):
    return text.count("\n", 0, pos) + 1


def find_sites(path, text):
    """Every mutation of one file as (kind, start, end, replacement)."""
    code = blank_comments_and_literals(text)
    lines = code.split("\n")
    # Preprocessor lines are left alone.
    starts, pos = [], 0
    for ln in lines:
        starts.append(pos)
        pos += len(ln) + 1
    pre = {i for i, ln in enumerate(lines) if ln.lstrip().startswith("#")}

    def in_pre(p):
        return (line_of(code, p) - 1) in pre

    sites = []
    for m in COMPARISON.finditer(code):
        op = m.group(1)
        if in_pre(m.start(1)):
            continue
        sites.append(("comparison", m.start(1), m.end(1), FLIPS[op]))
    for m in NUMBER.finditer(code):
        if in_pre(m.start()):
            continue
        digits, suffix = m.group(1), m.group(2)
        value = int(digits, 0)
        # Both directions, each its own site; zero only goes up.
        for delta in (1, -1):
            nv = value + delta
            if nv < 0:
                continue
            rep = (hex(nv) if digits.lower().startswith("0x") else str(nv)) + suffix
            sites.append(("constant", m.start(), m.end(), rep))
    for m in CONDITION.finditer(code):
        if in_pre(m.start()):
            continue
        open_at = m.end() - 1
        depth, j = 0, open_at
        while j < len(code):
            if code[j] == "(":
                depth += 1
            elif code[j] == ")":
                depth -= 1
                if depth == 0:
                    break
            j += 1
        inner = text[open_at + 1:j]
        sites.append(("condition", open_at + 1, j, "!(" + inner + ")"))
    prev_end = ""
    for i, ln in enumerate(lines):
        s = ln.strip()
        if not s:
            continue
        if (i not in pre and s.endswith(";") and prev_end in (";", "{", "}", ")", ":")
                and not SKIP_STATEMENT.match(s) and not DECLARATION.match(s)
                and re.match(r"^[\w*(+\-]", s) and ln.startswith("    ")):
            col = len(ln) - len(ln.lstrip())
            sites.append(("statement", starts[i] + col, starts[i] + len(ln), ";"))
        prev_end = s[-1]
    return sites


def core_files(src_root):
    files = []
    for folder in sorted(os.listdir(src_root)):
        d = os.path.join(src_root, folder)
        if not os.path.isdir(d):
            continue
        for name in sorted(os.listdir(d)):
            stem, ext = os.path.splitext(name)
            if ext in (".cpp", ".h") and not stem.endswith("_win"):
                files.append(f"{folder}/{name}")
    return files


def draw_mutants(src_root, count, seed):
    every = []
    for rel in core_files(src_root):
        with open(os.path.join(src_root, rel), encoding="utf-8") as f:
            text = f.read()
        for kind, a, b, rep in find_sites(rel, text):
            every.append({"file": rel, "line": line_of(text, a), "kind": kind,
                          "start": a, "end": b, "from": text[a:b], "to": rep})
    # An equal share of each kind, so that the many table constants do not
    # crowd out the comparisons, conditions and statements; each kind draws
    # from a generator of its own.
    kinds = sorted({m["kind"] for m in every})
    chosen = []
    for kind in kinds:
        of_kind = [m for m in every if m["kind"] == kind]
        rng = random.Random(f"{seed}:{kind}")
        chosen += rng.sample(of_kind, min(len(of_kind), count // len(kinds)))
    for m in chosen:
        key = f"{m['file']}:{m['start']}:{m['end']}:{m['to']}"
        m["id"] = hashlib.sha1(key.encode()).hexdigest()[:12]
    # Grouped by file so that consecutive builds recompile as little as can be.
    chosen.sort(key=lambda m: (m["file"], m["start"], m["to"]))
    return chosen, len(every)


# ---- the build tree --------------------------------------------------------


def sync_file(src, dst):
    """Copies only when the content differs, so that make sees real changes."""
    with open(src, "rb") as f:
        data = f.read()
    if os.path.exists(dst):
        with open(dst, "rb") as f:
            if f.read() == data:
                return
    os.makedirs(os.path.dirname(dst), exist_ok=True)
    with open(dst, "wb") as f:
        f.write(data)


def sync_tree(src_dir, dst_dir, skip=()):
    """Makes dst_dir a copy of src_dir (leaving out the skipped folders and
    hidden ones): changed files are copied, and files that src_dir no longer
    has are removed, so that a test file renamed or deleted since the last
    run is not built into the tests any more."""
    def walk(root):
        for base, dirs, files in os.walk(root):
            rel = os.path.relpath(base, root)
            dirs[:] = [d for d in dirs if os.path.normpath(os.path.join(rel, d)) not in skip
                       and not d.startswith(".")]
            for name in files:
                yield os.path.normpath(os.path.join(rel, name))

    wanted = set(walk(src_dir))
    for rel in wanted:
        sync_file(os.path.join(src_dir, rel), os.path.join(dst_dir, rel))
    if os.path.isdir(dst_dir):
        for rel in set(walk(dst_dir)) - wanted:
            os.remove(os.path.join(dst_dir, rel))


def export_sources(args, into):
    if args.src_dir:
        return os.path.abspath(args.src_dir), "dir:" + os.path.abspath(args.src_dir)
    tree = subprocess.check_output(["git", "-C", ROOT, "rev-parse", f"{args.src_rev}:src"],
                                   text=True).strip()
    os.makedirs(into, exist_ok=True)
    archive = subprocess.run(["git", "-C", ROOT, "archive", args.src_rev, "src"],
                             check=True, capture_output=True).stdout
    subprocess.run(["tar", "-x", "-C", into], input=archive, check=True)
    return os.path.join(into, "src"), "tree:" + tree


def tests_fingerprint(tree):
    h = hashlib.sha1()
    for part in ("CMakeLists.txt", "cmake", "tests/core", "tests/support"):
        p = os.path.join(tree, part)
        paths = [p] if os.path.isfile(p) else sorted(
            os.path.join(b, f) for b, _, fs in os.walk(p) for f in fs)
        for q in paths:
            h.update(os.path.relpath(q, tree).encode())
            with open(q, "rb") as f:
                h.update(f.read())
    return h.hexdigest()[:12]


BUILD_FLAGS = ["-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_C_COMPILER=clang",
               "-DCMAKE_CXX_COMPILER=clang++", "-DCMAKE_CXX_FLAGS_DEBUG=-O0",
               "-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld", "-DRC_SANITIZE=OFF", "-DRC_FUZZ=OFF"]


def build(build_dir, timeout):
    try:
        r = subprocess.run(["cmake", "--build", build_dir, "--target", "core_tests"],
                           capture_output=True, timeout=timeout)
        return r.returncode == 0
    except subprocess.TimeoutExpired:
        return False


def run_tests(build_dir, timeout):
    """The outcome of a run and the tests that failed in it (by name)."""
    try:
        r = subprocess.run([os.path.join(build_dir, "core_tests"), "--gtest_brief=1"],
                           capture_output=True, timeout=timeout)
        failed = sorted(set(re.findall(rb"^\[  FAILED  \] (\w+\.\w+)", r.stdout, re.M)))
        return ("passed" if r.returncode == 0 else "failed"), [f.decode() for f in failed]
    except subprocess.TimeoutExpired:
        return "timeout", []


class Worker:
    """One copy of the sources with its own build directory."""

    def __init__(self, root, src_root, tests_root):
        self.tree = os.path.join(root, "tree")
        self.binary = os.path.join(root, "bin")
        sync_tree(tests_root, self.tree, skip={"build", "src"})
        sync_tree(src_root, os.path.join(self.tree, "src"))

    def prepare(self):
        if not os.path.exists(os.path.join(self.binary, "build.ninja")):
            subprocess.run(["cmake", "-S", self.tree, "-B", self.binary] + BUILD_FLAGS,
                           check=True, capture_output=True)
        if not build(self.binary, 3600):
            return "the unmutated core tests do not build"
        t0 = time.monotonic()
        if run_tests(self.binary, 600)[0] != "passed":
            return "the unmutated core tests fail"
        self.clean_seconds = time.monotonic() - t0
        return None

    def run(self, m, original, timeout):
        path = os.path.join(self.tree, "src", m["file"])
        with open(path, "w", encoding="utf-8") as f:
            f.write(original[:m["start"]] + m["to"] + original[m["end"]:])
        try:
            if not build(self.binary, 900):
                return "not built", []
            outcome, failed = run_tests(self.binary, timeout)
            return {"passed": "survived", "failed": "killed", "timeout": "killed"}[outcome], failed
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--count", type=int, default=200)
    ap.add_argument("--seed", type=int, default=10)
    ap.add_argument("--src-rev", default="HEAD", help="git revision whose src/ is mutated")
    ap.add_argument("--src-dir", help="a src/ directory to mutate instead of a revision")
    ap.add_argument("--tests-rev", help="git revision whose tests and build files are used "
                    "(default: the working tree)")
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "mutate"))
    ap.add_argument("--report", help="results file (default BUILD/report.json)")
    ap.add_argument("--jobs", type=int, default=2, help="mutants built and run at once, each in its own tree")
    ap.add_argument("--timeout", type=float, default=0,
                    help="seconds per test run (default 10 x the clean run, at least 10)")
    ap.add_argument("--only", help="comma-separated mutant ids: run and count just these")
    ap.add_argument("--list", action="store_true", help="print the mutants and stop")
    ap.add_argument("--killers", action="store_true",
                    help="also print, per test, the mutants it kills and those it alone kills")
    args = ap.parse_args()

    build_dir = os.path.abspath(args.build)
    report_path = args.report or os.path.join(build_dir, "report.json")

    with tempfile.TemporaryDirectory() as tmp:
        src_root, src_name = export_sources(args, tmp)
        mutants, sites = draw_mutants(src_root, args.count, args.seed)
        if args.only:
            mutants = [m for m in mutants if m["id"] in args.only.split(",")]
        if args.list:
            for m in mutants:
                print(f"{m['id']} {m['file']}:{m['line']} {m['kind']}: {m['from']!r} -> {m['to']!r}")
            print(f"{len(mutants)} mutants of {sites} sites")
            return 0
        tests_root = ROOT
        if args.tests_rev:
            tests_root = os.path.join(tmp, "tests")
            os.makedirs(tests_root)
            archive = subprocess.run(["git", "-C", ROOT, "archive", args.tests_rev],
                                     check=True, capture_output=True).stdout
            subprocess.run(["tar", "-x", "-C", tests_root], input=archive, check=True)
        workers = [Worker(os.path.join(build_dir, f"w{i}"), src_root, tests_root)
                   for i in range(max(1, args.jobs))]
        originals = {}
        for m in mutants:
            if m["file"] not in originals:
                with open(os.path.join(src_root, m["file"]), encoding="utf-8") as f:
                    originals[m["file"]] = f.read()
    # The key of a result: the mutant, the tests and the build flags.
    fingerprint = hashlib.sha1((tests_fingerprint(workers[0].tree) + " ".join(BUILD_FLAGS)).encode()).hexdigest()[:12]

    report = {}
    if os.path.exists(report_path):
        with open(report_path) as f:
            report = json.load(f)
    results = report.setdefault("results", {})
    killers = report.setdefault("killers", {})  # the tests that failed on each killed mutant
    report.update({"sources": src_name, "seed": args.seed, "sites": sites})
    lock = threading.Lock()

    def save():
        tmp_path = report_path + ".tmp"
        os.makedirs(os.path.dirname(report_path), exist_ok=True)
        with open(tmp_path, "w") as f:
            json.dump(report, f, indent=1)
        os.replace(tmp_path, report_path)

    print(f"clean build and run ({src_name}, tests {fingerprint}, {len(workers)} workers)", flush=True)
    with concurrent.futures.ThreadPoolExecutor(len(workers)) as pool:
        for problem in pool.map(Worker.prepare, workers):
            if problem:
                print(problem, file=sys.stderr)
                return 2
    timeout = args.timeout or max(10.0, 10 * max(w.clean_seconds for w in workers))

    # Each worker takes whole files in turn, so that consecutive builds of a
    # worker recompile as little as can be.
    todo = [m for m in mutants if f"{m['id']}@{fingerprint}" not in results]
    queues = [[] for _ in workers]
    for name in sorted({m["file"] for m in todo}, key=lambda n: -sum(m["file"] == n for m in todo)):
        min(queues, key=len).extend(m for m in todo if m["file"] == name)
    done = [len(mutants) - len(todo)]

    def work(worker, queue):
        for m in queue:
            outcome, failed = worker.run(m, originals[m["file"]], timeout)
            with lock:
                results[f"{m['id']}@{fingerprint}"] = outcome
                killers[f"{m['id']}@{fingerprint}"] = failed
                done[0] += 1
                print(f"[{done[0]}/{len(mutants)}] {outcome:9} {m['file']}:{m['line']} {m['kind']}: "
                      f"{m['from']!r} -> {m['to']!r}", flush=True)
                save()

    with concurrent.futures.ThreadPoolExecutor(len(workers)) as pool:
        list(pool.map(work, workers, queues))

    counts = {"killed": 0, "survived": 0, "not built": 0}
    survivors = []
    for m in mutants:
        outcome = results[f"{m['id']}@{fingerprint}"]
        counts[outcome] += 1
        if outcome == "survived":
            survivors.append(m)
    built = counts["killed"] + counts["survived"]
    rate = 100.0 * counts["killed"] / built if built else 0.0
    report["summary"] = {"tests": fingerprint, "mutants": len(mutants), **counts,
                         "kill rate": round(rate, 1)}
    save()
    print(f"\nmutants {len(mutants)} (of {sites} sites, seed {args.seed}, {src_name}), "
          f"tests {fingerprint}")
    print(f"killed {counts['killed']}, survived {counts['survived']}, "
          f"not built {counts['not built']}, kill rate {rate:.1f} % of those built")
    for m in survivors:
        print(f"  survived {m['id']} {m['file']}:{m['line']} {m['kind']}: "
              f"{m['from']!r} -> {m['to']!r}")
    if args.killers:
        # Per test, the mutants it kills and how many of them no other test
        # kills: a test without such kills adds nothing on this mutant set.
        kills, alone = {}, {}
        for m in mutants:
            names = killers.get(f"{m['id']}@{fingerprint}")
            if results[f"{m['id']}@{fingerprint}"] != "killed" or names is None:
                continue
            for n in names:
                kills[n] = kills.get(n, 0) + 1
                if len(names) == 1:
                    alone[n] = alone.get(n, 0) + 1
        print("\ntest: mutants killed / killed by it alone")
        for n in sorted(kills, key=lambda n: (alone.get(n, 0), kills[n])):
            print(f"  {n}: {kills[n]} / {alone.get(n, 0)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
