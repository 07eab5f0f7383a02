#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plants one small fault at a time in the core sources and reports which ones the tests miss.

Each mutant changes one operator or constant on one line of a copy of the tracked sources
(relational and equality operators, && and ||, + and -, true and false, an integer constant
plus one), rebuilds the core and its tests (no Qt, through ccache when present) and runs the
core test labels, stopping at the first failure. A mutant that does not compile is not
counted. The sample is drawn with a fixed seed, so two runs on the same tree plant the same
faults.
"""

import argparse
import os
import pathlib
import random
import re
import shutil
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent

# (name, pattern, replacement); the patterns expect clang-format's spacing, so template
# brackets, shifts, arrows and unary minus are not taken for binary operators.
OPERATORS = [
    ("< to <=", r"(?<=\s)<(?=\s)", "<="),
    ("<= to <", r"(?<=\s)<=(?=\s)", "<"),
    ("> to >=", r"(?<=\s)>(?=\s)", ">="),
    (">= to >", r"(?<=\s)>=(?=\s)", ">"),
    ("== to !=", r"(?<=\s)==(?=\s)", "!="),
    ("!= to ==", r"(?<=\s)!=(?=\s)", "=="),
    ("&& to ||", r"(?<=\s)&&(?=\s)", "||"),
    ("|| to &&", r"(?<=\s)\|\|(?=\s)", "&&"),
    ("+ to -", r"(?<=\s)\+(?=\s)", "-"),
    ("- to +", r"(?<=\s)-(?=\s)", "+"),
    ("true to false", r"\btrue\b", "false"),
    ("false to true", r"\bfalse\b", "true"),
    ("constant + 1", r"(?<![\w.'])(\d+)(?![\w.'])", None),
]

CORE_LABELS = "common|logs|protocol|device|files|shell|views|panel|printing|simulator|fuzz"


def code_spans(line):
    """The parts of a line outside string and character literals and // comments."""
    spans, start, i, quote = [], 0, 0, None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                i += 1
            elif c == quote:
                quote, start = None, i + 1
        elif c in "\"'":
            spans.append((start, i))
            quote = c
        elif line.startswith("//", i):
            break
        i += 1
    if not quote:
        spans.append((start, i))
    return spans


def sites(path):
    """Every (line index, column, length, replacement, name) where a mutant can be planted."""
    found = []
    in_block_comment = False
    for n, line in enumerate(path.read_text(encoding="utf-8").splitlines()):
        stripped = line.strip()
        if in_block_comment:
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith(("#", "//", "static_assert")):
            continue
        for lo, hi in code_spans(line):
            for name, pattern, repl in OPERATORS:
                for m in re.finditer(pattern, line[lo:hi]):
                    text = repl if repl is not None else str(int(m.group(1)) + 1)
                    found.append((n, lo + m.start(), len(m.group(0)), text, name))
    return found


def run(cmd, cwd, timeout):
    try:
        return subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return -1


def copy_tree(dest):
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard"], cwd=ROOT,
                           capture_output=True, text=True, check=True).stdout.split()
    for f in files:
        src = ROOT / f
        if src.is_file():
            (dest / f).parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(src, dest / f)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--work", default=str(ROOT / "build-mutants"), help="scratch folder")
    ap.add_argument("--sample", type=int, default=80, help="how many mutants (0: all)")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--list", action="store_true", help="only count the sites")
    ap.add_argument("--timeout", type=int, default=300, help="seconds per test run")
    ap.add_argument("paths", nargs="*", default=["src/core"], help="files or folders to mutate")
    args = ap.parse_args()

    files = []
    for p in args.paths:
        p = ROOT / p
        if not p.exists():
            print(f"no such file or folder: {p}", file=sys.stderr)
            return 2
        files += sorted(p.rglob("*.cpp")) if p.is_dir() else [p]
    all_sites = [(f, s) for f in files for s in sites(f)]
    print(f"{len(all_sites)} sites in {len(files)} files")
    if args.list:
        return 0
    rng = random.Random(args.seed)
    if args.sample:
        # Most constants are table, layout and buffer values: they are drawn at a third of the
        # weight of the operators, so that a sample is not mostly constants.
        pool = [s for s in all_sites if s[1][4] != "constant + 1" or rng.random() < 1 / 3]
        chosen = rng.sample(pool, min(args.sample, len(pool)))
    else:
        chosen = all_sites
    chosen.sort(key=lambda fs: (str(fs[0]), fs[1][0], fs[1][1]))

    work = pathlib.Path(args.work)
    src, build = work / "src", work / "build"
    shutil.rmtree(src, ignore_errors=True)
    copy_tree(src)
    configure = ["cmake", "-S", str(src), "-B", str(build), "-DKORVELANE_BUILD_APP=OFF",
                 "-DKORVELANE_BUILD_BENCH=OFF", "-DCMAKE_BUILD_TYPE=Debug"]
    if shutil.which("ccache"):
        configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    jobs = str(os.cpu_count() or 2)
    build_cmd = ["cmake", "--build", str(build), "-j", jobs]
    test_cmd = ["ctest", "-j", jobs, "-L", CORE_LABELS, "--stop-on-failure", "--timeout",
                str(args.timeout)]
    if run(configure, work, 600) or run(build_cmd, work, 3600) or run(test_cmd, build, 3600):
        print("the unmutated tree does not build or pass its tests", file=sys.stderr)
        return 2

    killed, survivors, unviable = 0, [], 0
    started = time.time()
    for i, (path, (line_no, col, length, text, name)) in enumerate(chosen, 1):
        target = src / path.relative_to(ROOT)
        original = target.read_text(encoding="utf-8")
        lines = original.split("\n")
        old = lines[line_no]
        lines[line_no] = old[:col] + text + old[col + length:]
        target.write_text("\n".join(lines), encoding="utf-8")
        where = f"{path.relative_to(ROOT)}:{line_no + 1}"
        try:
            if run(build_cmd, work, 1200) != 0:
                unviable += 1
                verdict = "does not compile"
            elif run(test_cmd, build, args.timeout * 4) != 0:
                killed += 1
                verdict = "caught"
            else:
                survivors.append(f"{where}: {name}: {lines[line_no].strip()}")
                verdict = "SURVIVED"
        finally:
            target.write_text(original, encoding="utf-8")
        print(f"[{i}/{len(chosen)}] {where} {name}: {verdict}", flush=True)
    run(build_cmd, work, 1200)

    viable = killed + len(survivors)
    print(f"\n{killed} of {viable} planted faults caught ({unviable} did not compile), "
          f"{time.time() - started:.0f} s")
    if survivors:
        print("Survivors:")
        print("\n".join("  " + s for s in survivors))
    return 0


if __name__ == "__main__":
    sys.exit(main())
