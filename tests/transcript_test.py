#!/usr/bin/env python3
"""Runs recorded play-throughs against the igra binary.

Each case in tests/transcripts/*.py gives the exact input bytes, the exact
expected output bytes and exit status; standard error must stay empty.

  transcript_test.py --binary build/igra --list
  transcript_test.py --binary build/igra [--prefix "qemu-aarch64 -L /x"] [CASE...]

With no CASE every case runs.  A failure prints the first differing byte
with some context on both sides.
"""

import argparse
import importlib
import os
import pathlib
import resource
import select
import shlex
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE / "transcripts"))

from casekit import describe_status, first_difference  # noqa: E402

TIMEOUT_SECONDS = 60  # a hang guard only; a healthy case takes milliseconds


def load_cases():
    cases = {}
    for path in sorted((HERE / "transcripts").glob("*.py")):
        if path.stem == "casekit":
            continue
        module = importlib.import_module(path.stem)
        for case in module.CASES:
            name = f"{path.stem}.{case.name}"
            if name in cases:
                raise SystemExit(f"duplicate case name {name}")
            cases[name] = case
    return cases


def check_output(case, actual):
    plain, report = case.expected_parts()
    if report is None:
        if actual != plain:
            return first_difference(plain, actual)
        return None
    if actual[: len(plain)] != plain:
        return first_difference(plain, actual[: len(plain)] + b"<report>")
    rest = actual[len(plain):]
    if not report.pattern().match(rest):
        return (
            f"the output after byte {len(plain)} is not the expected "
            f"run-time error report {report}:\n  {rest[:400]!r}"
        )
    return None


def run_case(case, command):
    """Runs the game once as the case says; returns (stdout, stderr, status)."""
    own_fds = []  # descriptors this function opened, closed at the end
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        feed = None
        if case.stdin == "file":
            (scratch / "input").write_bytes(case.input_bytes())
            stdin_arg = os.open(scratch / "input", os.O_RDONLY)
            own_fds.append(stdin_arg)
        elif case.stdin == "pipe":
            stdin_arg = subprocess.PIPE
            feed = case.input_bytes()
        elif case.stdin == "directory":
            stdin_arg = os.open(scratch, os.O_RDONLY | os.O_DIRECTORY)
            own_fds.append(stdin_arg)
        elif case.stdin == "closed":
            stdin_arg = subprocess.DEVNULL  # closed in the child
        else:
            raise SystemExit(f"unknown stdin kind {case.stdin}")

        restore_signals = True
        if case.stdout == "pipe":
            stdout_arg = subprocess.PIPE
        elif case.stdout == "full":
            stdout_arg = os.open("/dev/full", os.O_WRONLY)
            own_fds.append(stdout_arg)
        elif case.stdout == "closed":
            stdout_arg = subprocess.DEVNULL  # closed in the child
        elif case.stdout in ("broken-pipe", "broken-pipe-ignored"):
            reader, stdout_arg = os.pipe()
            os.close(reader)
            own_fds.append(stdout_arg)
            # Python itself ignores SIGPIPE; the child gets the default
            # action back unless it is to inherit ours.
            restore_signals = case.stdout == "broken-pipe"
        else:
            raise SystemExit(f"unknown stdout kind {case.stdout}")

        closed = [fd for fd, kind in ((0, case.stdin), (1, case.stdout))
                  if kind == "closed"]

        def prepare_child():
            for fd in closed:
                os.close(fd)
            if case.memory_limit:
                resource.setrlimit(resource.RLIMIT_AS,
                                   (case.memory_limit, case.memory_limit))

        try:
            process = subprocess.Popen(
                command,
                stdin=stdin_arg,
                stdout=stdout_arg,
                stderr=subprocess.PIPE,
                restore_signals=restore_signals,
                preexec_fn=prepare_child if closed or case.memory_limit else None,
            )
            try:
                out, err = process.communicate(feed, timeout=TIMEOUT_SECONDS)
            except subprocess.TimeoutExpired:
                process.kill()
                process.communicate()
                return None, b"", "hang"
        finally:
            for fd in own_fds:
                os.close(fd)
        return out or b"", err, process.returncode


def run_lines(case, command):
    """Feeds the input one line at a time through a pipe that stays open.

    Before each line, waits until the game has written exactly what it
    should have written by then: every prompt is out before the game waits,
    and no read waits for more than the line it needs.  After the last line
    the game must end by itself.  Returns (problem, stdout, stderr, status).
    """
    process = subprocess.Popen(command, stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    deadline = time.monotonic() + TIMEOUT_SECONDS
    got = b""
    expected = b""
    problem = None
    try:
        for index, chunk in enumerate(case.output):
            expected += chunk
            while len(got) < len(expected) and time.monotonic() < deadline:
                ready, _, _ = select.select([process.stdout], [], [], 0.1)
                if ready:
                    data = os.read(process.stdout.fileno(), 65536)
                    if not data:
                        break
                    got += data
            if got != expected:
                problem = (f"before input line {index + 1}: "
                           + first_difference(expected, got))
                break
            if index < len(case.input):
                process.stdin.write(case.input[index])
                process.stdin.flush()
        if problem is None:
            # The game must end without more input and without closing
            # its standard input.
            status = process.wait(timeout=max(deadline - time.monotonic(), 1))
            got += process.stdout.read()
            if got != expected:
                problem = "after the last line: " + first_difference(expected, got)
    except subprocess.TimeoutExpired:
        problem = "the game did not end after its last input line"
    finally:
        if process.poll() is None:
            process.kill()
        process.wait()
        process.stdin.close()
        err = process.stderr.read()
        process.stdout.close()
        process.stderr.close()
    return problem, got, err, process.returncode


def check_case(name, case, command):
    problems = []
    if case.stdin == "lines":
        problem, out, err, status = run_lines(case, command)
        if problem:
            problems.append(problem)
        if status != case.status:
            problems.append(f"exit status {describe_status(status)}, expected {case.status}")
        if err:
            problems.append(f"standard error was written: {err[:400]!r}")
        return problems
    out, err, status = run_case(case, command)
    if status == "hang":
        return [f"no end within {TIMEOUT_SECONDS} s"]
    if status != case.status:
        problems.append(
            f"exit status {describe_status(status)}, expected {case.status}"
        )
    if err:
        problems.append(f"standard error was written: {err[:400]!r}")
    if case.stdout == "pipe":
        difference = check_output(case, out)
        if difference:
            problems.append(difference)
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--binary", required=True)
    parser.add_argument("--prefix", default="", help="command to run it under")
    parser.add_argument("--windows", action="store_true",
                        help="the binary is a Windows program: skip the "
                             "cases that need POSIX-only faults")
    parser.add_argument("--sanitized", action="store_true",
                        help="the binary is built with sanitizers: skip the "
                             "cases that limit its address space")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("cases", nargs="*")
    args = parser.parse_args()

    cases = load_cases()
    if args.list:
        print("\n".join(cases))
        return 0
    selected = args.cases or list(cases)
    command = shlex.split(args.prefix) + [args.binary]
    passed = failed = skipped = 0
    for name in selected:
        if name not in cases:
            print(f"unknown case {name}")
            return 2
        case = cases[name]
        reason = case.posix_only() if args.windows else None
        if case.memory_limit and args.prefix:
            reason = "an address-space limit would bind the emulator, not the game"
        if case.memory_limit and args.sanitized:
            reason = "a sanitizer's shadow memory cannot fit under an address-space limit"
        if reason:
            skipped += 1
            print(f"skip {name}: {reason}")
            continue
        problems = check_case(name, case, command)
        if problems:
            failed += 1
            print(f"FAIL {name}: {case.about}")
            for problem in problems:
                print("  " + problem.replace("\n", "\n  "))
        else:
            passed += 1
            print(f"ok   {name}")
    print(f"transcripts: {passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
