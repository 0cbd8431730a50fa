#!/usr/bin/env python3
"""Mutation testing for Corvane's native build: does the suite notice small faults?

Copies the tree (the working tree, or a git revision with --rev) into scratch folders,
one per worker, never touching the checkout. Each worker builds the native
configuration once, then for each mutant changes one line of one source file, rebuilds
incrementally, runs CTest and puts the line back. A mutant is killed when a test
fails or times out, survived when the suite passes, unbuildable when it does not
compile (those are left out of the rate).

A fixed seed picks the same sample from the same sources, so two runs that differ only
in tests/ compare:

    tools/mutants.py --rev HEAD~3 --count 200 --json before.json
    tools/mutants.py --count 200 --json after.json

When src/ changed too, --sample takes the very mutants of an earlier run, each found
again where its lines have moved; one whose lines are gone counts as missing:

    tools/mutants.py --sample before.json --json after.json

With --matrix every mutant runs the whole suite and the JSON names the tests that
failed, so the tests that are the only ones to catch some fault stand out (and so do
the tests that catch nothing another test does not).

Developer tool only; the test command never runs it.
"""
import argparse
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
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

COMPARISON_FLIPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
CALL_STATEMENT = re.compile(r"^\s*[A-Za-z_][\w:.\->\[\]]*\s*\(.*\);\s*$")
CONTROL_WORDS = ("return", "if", "for", "while", "switch", "delete", "throw", "case", "else")


# ---------------------------------------------------------------------------------------
# Finding mutation sites

def strip_comment(line):
    """Returns the line without a trailing // comment, keeping string literals whole."""
    in_string = None
    i = 0
    while i < len(line):
        c = line[i]
        if in_string:
            if c == "\\":
                i += 2
                continue
            if c == in_string:
                in_string = None
        elif c in "\"'":
            in_string = c
        elif line.startswith("//", i):
            return line[:i]
        i += 1
    return line


def code_spans(line):
    """Yields (start, end) of the stretches of a line outside string and char literals."""
    start = 0
    i = 0
    quote = None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                i += 2
                continue
            if c == quote:
                quote = None
                start = i + 1
        elif c in "\"'":
            if i > start:
                yield start, i
            quote = c
        i += 1
    if not quote and start < len(line):
        yield start, len(line)


def string_literals(line):
    """Yields (start, end) of each double-quoted literal, quotes included."""
    i = 0
    while i < len(line):
        c = line[i]
        if c == "'":
            j = i + 1
            while j < len(line) and line[j] != "'":
                j += 2 if line[j] == "\\" else 1
            i = j + 1
            continue
        if c == '"':
            j = i + 1
            while j < len(line) and line[j] != '"':
                j += 2 if line[j] == "\\" else 1
            yield i, j + 1
            i = j + 1
            continue
        i += 1


def matching_paren(text, open_at):
    depth = 0
    for i in range(open_at, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def is_call_statement(code):
    s = code.strip()
    if not CALL_STATEMENT.match(code) or s.split("(")[0].split()[0] in CONTROL_WORDS:
        return False
    if "=" in s.split("(")[0]:
        return False
    return matching_paren(s, s.index("(")) == len(s) - 2


def loop_lines(lines):
    """Line numbers that sit inside the body of a for, while or do loop."""
    inside = set()
    stack = []
    pending_loop = False
    for n, raw in enumerate(lines):
        code = strip_comment(raw)
        if any(True for _ in re.finditer(r"\b(for|while)\s*\(|\bdo\b", code)):
            pending_loop = True
        if "loop" in stack:
            inside.add(n)
        for c in code:
            if c == "{":
                stack.append("loop" if pending_loop else "block")
                pending_loop = False
            elif c == "}" and stack:
                stack.pop()
        if code.strip().endswith(";") and "{" not in code:
            pending_loop = False
    return inside


def find_sites(path, text):
    """All mutants of one file: dicts with file, line, op, old and new line text."""
    lines = text.split("\n")
    sites = []
    in_block_comment = False
    in_loop = loop_lines(lines)

    def add(n, op, new):
        sites.append({"file": path, "line": n + 1, "op": op, "old": lines[n], "new": new})

    for n, raw in enumerate(lines):
        if in_block_comment:
            if "*/" in raw:
                in_block_comment = False
            continue
        stripped = raw.strip()
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("#include") or stripped.startswith("#pragma") or \
                stripped.startswith("static_assert") or not stripped or stripped.startswith("//"):
            continue
        code = strip_comment(raw)
        for a, b in code_spans(code):
            seg = code[a:b]
            for m in re.finditer(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)", seg):
                new = raw[:a + m.start()] + COMPARISON_FLIPS[m.group(1)] + raw[a + m.end():]
                add(n, "comparison", new)
            for m in re.finditer(r"(?<![\w.])(0x[0-9A-Fa-f]+|\d+)(?![\w.])", seg):
                value = int(m.group(1), 0)
                repl = str(value + 1) if value == 0 or m.start() % 2 else str(value - 1)
                if m.group(1).startswith("0x"):
                    repl = hex(int(repl))
                add(n, "literal", raw[:a + m.start()] + repl + raw[a + m.end():])
            for m in re.finditer(r"\b(true|false)\b", seg):
                flip = "false" if m.group(1) == "true" else "true"
                add(n, "boolean", raw[:a + m.start()] + flip + raw[a + m.end():])
            for m in re.finditer(r"\bif \(", seg):
                start = a + m.end() - 1
                close = matching_paren(code, start)
                if close > 0:
                    cond = code[start + 1:close]
                    add(n, "negate-if", raw[:start + 1] + "!(" + cond + ")" + raw[close:])
        for s, e in string_literals(code):
            body = code[s + 1:e - 1]
            if not body or stripped.startswith("extern"):
                continue
            first = len(body[:2]) if body.startswith("\\") else 1
            if body.startswith("\\x"):
                first = 4
            repl = "Y" if body[0] == "X" else "X"
            add(n, "string", raw[:s + 1] + repl + raw[s + 1 + first:])
        if is_call_statement(code):
            indent = raw[:len(raw) - len(raw.lstrip())]
            add(n, "delete-call", indent + "(void)0;")
            if n + 1 < len(lines):
                nxt = strip_comment(lines[n + 1])
                same_indent = lines[n + 1][:len(indent)] == indent and \
                    not lines[n + 1][len(indent):len(indent) + 1].isspace()
                if is_call_statement(nxt) and same_indent and nxt.strip() != code.strip():
                    sites.append({"file": path, "line": n + 1, "op": "swap-calls",
                                  "old": raw + "\n" + lines[n + 1],
                                  "new": lines[n + 1] + "\n" + raw})
        if n in in_loop:
            m = re.search(r"\b(break|return\b[^;]*);", code)
            if m and not re.search(r"\bcase\b|\bswitch\b", code):
                add(n, "drop-exit", raw[:m.start()] + "{}" + raw[m.end():])
    return sites


# ---------------------------------------------------------------------------------------
# Scratch trees and builds

def export_tree(rev, dest):
    os.makedirs(dest, exist_ok=True)
    if rev:
        archive = subprocess.run(["git", "-C", ROOT, "archive", rev], check=True,
                                 capture_output=True).stdout
        subprocess.run(["tar", "-x", "-C", dest], input=archive, check=True)
        return
    files = subprocess.run(["git", "-C", ROOT, "ls-files", "-co", "--exclude-standard"],
                           check=True, capture_output=True, text=True).stdout.split("\n")
    for f in files:
        src = os.path.join(ROOT, f)
        if f and os.path.isfile(src):
            os.makedirs(os.path.dirname(os.path.join(dest, f)), exist_ok=True)
            shutil.copy2(src, os.path.join(dest, f))


def run(cmd, cwd, timeout):
    try:
        return subprocess.run(cmd, cwd=cwd, capture_output=True, timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return None


class Worker:
    def __init__(self, base, index, rev):
        self.tree = os.path.join(base, "w%d" % index)
        self.build = os.path.join(self.tree, "build", "native")
        export_tree(rev, self.tree)

    def configure_and_build(self):
        subprocess.run(["cmake", "-S", ".", "-B", self.build, "-DCMAKE_BUILD_TYPE=Debug"],
                       cwd=self.tree, check=True, capture_output=True)
        done = subprocess.run(["cmake", "--build", self.build, "-j%d" % os.cpu_count()],
                              cwd=self.tree, capture_output=True)
        if done.returncode != 0:
            sys.exit("the unmutated tree does not build:\n" + done.stdout.decode()[-3000:])

    def suite_passes(self, timeout):
        code = run(["ctest", "--test-dir", self.build, "--stop-on-failure", "--timeout",
                    str(timeout), "-j2", "-Q"], self.tree, timeout * 4)
        return code == 0

    def test_names(self):
        listed = subprocess.run(["ctest", "--test-dir", self.build, "-N"], cwd=self.tree,
                                capture_output=True, text=True).stdout
        return re.findall(r"Test\s+#\d+: (.*?)(?:  # .*)?$", listed, re.M)

    def failing_tests(self, timeout):
        """Runs the whole suite; the names of the tests that failed or timed out."""
        report = os.path.join(self.build, "matrix.xml")
        if os.path.exists(report):
            os.remove(report)
        run(["ctest", "--test-dir", self.build, "--timeout", str(timeout), "-j2", "-Q",
             "--output-junit", report], self.tree, timeout * 20)
        if not os.path.exists(report):
            return ["(no report)"]
        import xml.etree.ElementTree as ET
        return sorted(case.get("name") for case in ET.parse(report).iter("testcase")
                      if case.get("status") not in ("run", "notrun", "disabled"))

    def compiled_sources(self):
        """Files of src/ that the native build compiled, read from its dependency files."""
        seen = set()
        for dirpath, _, names in os.walk(self.build):
            for name in names:
                if not name.endswith(".o.d"):
                    continue
                with open(os.path.join(dirpath, name)) as f:
                    for token in f.read().replace("\\\n", " ").split():
                        path = os.path.realpath(os.path.join(self.build, token)) \
                            if not os.path.isabs(token) else token
                        rel = os.path.relpath(path, self.tree)
                        if rel.startswith("src" + os.sep) and os.path.isfile(path):
                            seen.add(rel)
        return sorted(seen)

    def try_mutant(self, mutant, timeout):
        path = os.path.join(self.tree, mutant["file"])
        with open(path, encoding="utf-8") as f:
            original = f.read()
        lines = original.split("\n")
        at = locate(lines, mutant)
        if at is None:
            return "missing"
        mutant["line"] = at + 1
        lines[at:at + len(mutant["old"].split("\n"))] = mutant["new"].split("\n")
        try:
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            built = run(["cmake", "--build", self.build, "-j1"], self.tree, 600)
            if built != 0:
                return "unbuildable"
            if args.matrix:
                mutant["killers"] = self.failing_tests(timeout)
                return "killed" if mutant["killers"] else "survived"
            return "survived" if self.suite_passes(timeout) else "killed"
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)
            now = time.time()
            os.utime(path, (now + 1, now + 1))


def locate(lines, mutant):
    """Where the mutant's lines begin: at its line, or, when the file has changed since the
    sample was taken, at the nearest place that holds the same lines; None when they are
    gone (changed, or moved to another file)."""
    old = mutant["old"].split("\n")
    places = [i for i in range(len(lines) - len(old) + 1) if lines[i:i + len(old)] == old]
    return min(places, key=lambda i: abs(i - (mutant["line"] - 1))) if places else None


def pick_sample(worker, files, count, seed):
    by_file = {}
    for rel in files:
        if args.files and not any(rel.startswith(p) or p in rel for p in args.files):
            continue
        with open(os.path.join(worker.tree, rel), encoding="utf-8") as f:
            sites = find_sites(rel, f.read())
        if sites:
            by_file[rel] = sites
    rng = random.Random(seed)
    order = sorted(by_file)
    rng.shuffle(order)
    pools = {f: rng.sample(by_file[f], len(by_file[f])) for f in order}
    sample = []
    while len(sample) < count and any(pools.values()):
        for f in order:
            if pools[f] and len(sample) < count:
                sample.append(pools[f].pop())
    return sample


def print_matrix(tried, names):
    """Tests that alone kill some mutant, and tests that kill none alone."""
    sole = {}
    every = set()
    for m in tried:
        killers = m.get("killers", [])
        every.update(killers)
        if len(killers) == 1:
            sole.setdefault(killers[0], []).append("%s:%d" % (m["file"], m["line"]))
    print("\ntests that alone kill a mutant:")
    for name in sorted(sole):
        print("  %-60s %s" % (name, " ".join(sole[name])))
    print("tests that kill only mutants other tests kill too:")
    for name in sorted(every - set(sole)):
        print("  " + name)
    print("tests that kill no mutant:")
    for name in sorted(set(names) - every):
        print("  " + name)


def main():
    global args
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--count", type=int, default=200, help="mutants in the sample")
    parser.add_argument("--seed", type=int, default=1, help="seed that picks the sample")
    parser.add_argument("--files", nargs="*", default=[], help="only files whose path has this")
    parser.add_argument("--rev", help="mutate a git revision instead of the working tree")
    parser.add_argument("--sample", help="take the mutants from an earlier run's JSON file")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--minutes", type=float, default=90, help="stop after this long")
    parser.add_argument("--timeout", type=int, default=60, help="seconds a test may take")
    parser.add_argument("--json", help="write every mutant and its result here")
    parser.add_argument("--matrix", action="store_true",
                        help="run every test on every mutant and name the ones that fail")
    parser.add_argument("--keep", action="store_true", help="keep the scratch folders")
    args = parser.parse_args()

    started = time.time()
    base = tempfile.mkdtemp(prefix="corvane-mutants-")
    workers = [Worker(base, i, args.rev) for i in range(args.jobs)]
    with ThreadPoolExecutor(len(workers)) as pool:
        list(pool.map(Worker.configure_and_build, workers))
    if not workers[0].suite_passes(args.timeout):
        sys.exit("the unmutated suite fails; mutants would mean nothing")

    if args.sample:
        with open(args.sample) as f:
            sample = [{k: m[k] for k in ("file", "line", "op", "old", "new")}
                      for m in json.load(f)["mutants"]]
    else:
        sample = pick_sample(workers[0], workers[0].compiled_sources(), args.count, args.seed)
    print("%d mutants over %d files, %d workers" %
          (len(sample), len({m["file"] for m in sample}), len(workers)), flush=True)

    deadline = started + args.minutes * 60
    queue = list(enumerate(sample))
    lock = threading.Lock()

    def drain(worker):
        while True:
            with lock:
                if not queue or time.time() > deadline:
                    return
                i, mutant = queue.pop(0)
            mutant["result"] = worker.try_mutant(mutant, args.timeout)
            with lock:
                print("%3d %-11s %-11s %s:%d  %s" % (
                    i, mutant["result"], mutant["op"], mutant["file"], mutant["line"],
                    mutant["new"].strip().replace("\n", " / ")[:90]), flush=True)

    with ThreadPoolExecutor(len(workers)) as pool:
        list(pool.map(drain, workers))

    tried = [m for m in sample if m.get("result") in ("killed", "survived")]
    killed = sum(1 for m in tried if m["result"] == "killed")
    skipped = sum(1 for m in sample if m.get("result") in ("unbuildable", "missing"))
    untried = sum(1 for m in sample if "result" not in m)
    minutes = (time.time() - started) / 60
    rate = 100.0 * killed / len(tried) if tried else 0.0
    print("\nkilled %d of %d (%.1f %%); %d unbuildable or missing, %d not tried in time; "
          "%.1f minutes" % (killed, len(tried), rate, skipped, untried, minutes))
    for m in sample:
        if m.get("result") == "survived":
            print("survived  %s:%d  %s" % (m["file"], m["line"], m["new"].strip()[:100]))
    if args.json:
        with open(args.json, "w") as f:
            json.dump({"seed": args.seed, "rate": rate, "killed": killed, "tried": len(tried),
                       "minutes": minutes, "mutants": sample}, f, indent=1, ensure_ascii=False)
    if args.matrix:
        print_matrix(tried, workers[0].test_names())
    if not args.keep:
        shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    main()
