#!/usr/bin/env python3
"""Compiles each fault of a fault set into the program, one at a time, runs
the tests that could catch it and says whether they did.

Each fault is one exact text replacement in one source file. The file is put
back as it was after every fault, also when the run is interrupted. The build
is incremental (ccache): only the named targets are rebuilt, and only the tests
matching the fault's pattern run, so a fault costs a minute or two, not a
whole suite run.
"""
import argparse
import ast
import configparser
import os
import pathlib
import signal
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]


def run(cmd, log, env=None):
    log.write("$ " + " ".join(cmd) + "\n")
    log.flush()
    return subprocess.run(cmd, cwd=ROOT, stdout=log, stderr=subprocess.STDOUT, env=env).returncode


def read(path):
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str
    parser.read(path, encoding="utf-8")
    return parser


def load(paths):
    # Which tests could catch a fault in each subsystem, and what they need built.
    groups = read(pathlib.Path(__file__).with_name("groups.ini"))
    faults = []
    for path in paths:
        if path.name == "groups.ini":  # not a fault set (tests/faults/*.ini names it too)
            continue
        parser = read(path)
        for name in parser.sections():
            section = parser[name]
            programs, tests, targets = [], [], []
            for group in section.get("in", "").split() + ["fault"]:
                source = section if group == "fault" else groups[group]
                programs += source.get("programs", "").split()
                if "tests" in source:
                    tests.append(source["tests"])
                targets += source.get("targets", "").split()
            faults.append({
                "id": name,
                "file": section["file"],
                # Texts with a significant leading blank or a line break are written as
                # Python string literals.
                "find": unquote(section["find"]),
                "replace": unquote(section["replace"]),
                "programs": list(dict.fromkeys(programs)),
                "tests": tests,
                "targets": list(dict.fromkeys(programs + targets)),
            })
    return faults


def suites(build, program):
    """The test suites of a GoogleTest program, as a CTest pattern."""
    listed = subprocess.run([str(ROOT / build / "tests" / program), "--gtest_list_tests"],
                            capture_output=True, text=True, check=True).stdout
    names = [line.rstrip(".") for line in listed.splitlines()
             if line and not line.startswith(" ") and line.endswith(".")]
    return "^(" + "|".join(names) + ")\\."


def unquote(text):
    return ast.literal_eval(text) if text[:1] in "'\"" else text


def stop(signum, frame):
    raise KeyboardInterrupt  # puts the file back on the way out


def main():
    signal.signal(signal.SIGTERM, stop)
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("sets", nargs="+", help="fault set files (.ini)")
    parser.add_argument("--build", default="build", help="build tree, configured already")
    parser.add_argument("--only", action="append", help="run only these fault ids")
    parser.add_argument("--check", action="store_true", help="only check that every fault applies once")
    parser.add_argument("--log", default="faults.log", help="build and test output")
    args = parser.parse_args()

    faults = load([pathlib.Path(s).resolve() for s in args.sets])
    if args.only:
        faults = [f for f in faults if f["id"] in args.only]
    for f in faults:
        text = (ROOT / f["file"]).read_text(encoding="utf-8")
        if text.count(f["find"]) != 1:
            sys.exit(f'{f["id"]}: the text to replace occurs {text.count(f["find"])} times in {f["file"]}')
    if args.check:
        print(f"{len(faults)} faults apply")
        return

    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    results = []
    with open(args.log, "w", encoding="utf-8") as log:
        for f in faults:
            path = ROOT / f["file"]
            original = path.read_bytes()
            started = time.time()
            try:
                path.write_bytes(original.replace(f["find"].encode(), f["replace"].encode(), 1))
                log.write(f'\n=== {f["id"]}: {f["file"]}\n')
                built = run(["nice", "cmake", "--build", args.build, "-j2", "--target", *f["targets"]], log)
                if built != 0:
                    outcome = "does not build"
                else:
                    pattern = "|".join([suites(args.build, p) for p in f["programs"]] + f["tests"])
                    failed = run(["nice", "ctest", "--test-dir", args.build, "-j2", "--timeout", "300",
                                  "--no-tests=error", "-R", pattern], log, env)
                    outcome = "caught" if failed else "NOT caught"
            finally:
                path.write_bytes(original)
            seconds = int(time.time() - started)
            results.append((f["id"], outcome))
            print(f'{f["id"]:<40} {outcome:<15} {seconds:>4}s', flush=True)

    judged = [r for r in results if r[1] != "does not build"]
    caught = sum(1 for r in judged if r[1] == "caught")
    if judged:
        print(f"\n{caught} of {len(judged)} caught ({100 * caught // len(judged)}%)")
    for fault_id, outcome in results:
        if outcome != "caught":
            print(f"  {outcome}: {fault_id}")


if __name__ == "__main__":
    main()
