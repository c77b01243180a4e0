#!/usr/bin/env python3
"""Runs the igra binary in hostile surroundings and checks every byte.

Each case sets up one kind of standard input or output that a console
program meets in the wild (a non-blocking pipe, a reader that drains slowly,
a terminal, input that arrives one line at a time) and plays a game through
it.  The expected output bytes come from the play-through helpers in
tests/transcripts (script.py), never from the binary under test; standard
error must stay empty.  Deadlines only guard against hangs.

  fault_test.py --binary build/test/igra --list
  fault_test.py --binary build/test/igra [--prefix "qemu-aarch64 -L /x"] [CASE...]

With no CASE every case runs.  A case that needs what only POSIX systems
have is skipped elsewhere, with the reason.
"""

import argparse
import dataclasses
import os
import pathlib
import select
import shlex
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE / "transcripts"))

import levels  # noqa: E402
from casekit import describe_status, first_difference  # noqa: E402
import script  # noqa: E402

TIMEOUT_SECONDS = 60  # a hang guard only; a healthy case takes a second or two
EXAMPLES = HERE.parent / "examples"

WIN_ANSWERS = levels.split_answers(levels.WIN_ANSWERS)


class Skip(Exception):
    """The case cannot run here; the message says why."""


@dataclasses.dataclass(frozen=True)
class Target:
    """The game under test: the command that runs it, and whether it is a
    Windows program (run under wine, say)."""

    command: list
    windows: bool = False


def posix_only(target, what, *, host_only=False):
    """Skips the case unless the tests run on a POSIX system and, for a
    fault the game itself must meet (not only the test's side of it), the
    game is a POSIX program too."""
    if os.name != "posix" or (target.windows and not host_only):
        raise Skip(f"{what} is POSIX-only")


# Expected bytes ---------------------------------------------------------------


def winning_game(name):
    """The lines a winning game reads (without line ends) and what the game
    writes before the first read and after each: len(chunks) == len(lines) + 1."""
    steps = script.steps(name, [script.opening] + levels.WIN)
    lines = typed_lines(name, [s for s in steps if s in script.READS], WIN_ANSWERS)
    chunks = [b""]
    for step in steps:
        if isinstance(step, bytes):
            chunks[-1] += step
        else:
            chunks.append(b"")
    return lines, chunks


def typed_lines(name, reads, answers):
    """The line typed at each read: the name, Enter at a pause, the answers."""
    answers = iter(answers)
    lines = [name if read == script.ASK_NAME else b"" if read == script.PAUSE
             else next(answers) for read in reads]
    assert next(answers, None) is None, "answers left over"
    return lines


# Running the game -------------------------------------------------------------


@dataclasses.dataclass
class Outcome:
    problems: list
    status: object = None
    stderr: bytes = b""

    def check(self, status):
        if self.status != status:
            self.problems.append(f"exit status {describe_status(self.status)}, "
                                 f"expected {status}")
        if self.stderr:
            self.problems.append(f"standard error was written: {self.stderr[:400]!r}")
        return self.problems


def finish(process, deadline):
    """Waits for the game to end; returns its status, or None on a hang."""
    try:
        return process.wait(timeout=max(deadline - time.monotonic(), 1))
    except subprocess.TimeoutExpired:
        return None


class Reader:
    """Collects what the game writes to a descriptor, as far as wanted."""

    def __init__(self, fd, deadline):
        self.fd, self.deadline, self.got, self.ended = fd, deadline, bytearray(), False

    def read_some(self, timeout=0.1, size=65536):
        ready, _, _ = select.select([self.fd], [], [], timeout)
        if not ready:
            return
        try:
            data = os.read(self.fd, size)
        except OSError:  # a terminal whose other side has closed
            data = b""
        self.got += data
        self.ended = not data

    def until(self, length):
        """Reads until `length` bytes are in, the output ends or time is up."""
        while len(self.got) < length and not self.ended and time.monotonic() < self.deadline:
            self.read_some()

    def to_end(self):
        while not self.ended and time.monotonic() < self.deadline:
            self.read_some()


def drive(command, plan, final, *, nonblocking_stdin=False, pause=0.0):
    """Plays a game through pipes, one step at a time.

    plan: (expected, line) pairs: before writing `line` to standard input,
      the game must have written exactly `expected` so far (every prompt is
      out before the game waits, and no read waits for more than it needs);
      a line of None closes standard input instead.
    final: everything the game writes; it must then end by itself.
    """
    game_end, feed = os.pipe()
    os.set_blocking(game_end, not nonblocking_stdin)
    try:
        process = subprocess.Popen(command, stdin=game_end,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    finally:
        os.close(game_end)
    deadline = time.monotonic() + TIMEOUT_SECONDS
    out = Reader(process.stdout.fileno(), deadline)
    outcome = Outcome([])
    try:
        for index, (expected, line) in enumerate(plan):
            out.until(len(expected))
            if out.got != expected:
                outcome.problems.append(f"before input line {index + 1}: "
                                        + first_difference(expected, out.got))
                break
            time.sleep(pause)
            if line is None:
                os.close(feed)
                feed = None
                continue
            try:
                os.write(feed, line)
            except BrokenPipeError:
                outcome.problems.append(f"the game ended before input line {index + 1}: "
                                        + first_difference(final, out.got))
                break
        else:
            out.until(len(final))
            if finish(process, deadline) is None:
                outcome.problems.append("the game did not end after its last input line")
            out.to_end()
            if out.got != final:
                outcome.problems.append("at the end: " + first_difference(final, out.got))
    finally:
        outcome.status = process.poll()
        if outcome.status is None:
            process.kill()
        process.wait()
        if feed is not None:
            os.close(feed)
        outcome.stderr = process.stderr.read()
        process.stdout.close()
        process.stderr.close()
    return outcome


def pipe_plan(lines, chunks, eol):
    """The plan of a game fed through a pipe, one line at a time.

    After a lone CR the game cannot yet tell whether an LF follows: the
    operation that read the line finishes only when the next byte arrives.
    So each later line goes in two writes, its first byte, which must be
    enough for the game to write what follows the line before, and the rest;
    after the last line standard input is closed to end the game.
    """
    if eol != b"\r":
        return ([(b"".join(chunks[:index + 1]), line + eol)
                 for index, line in enumerate(lines)], b"".join(chunks))
    plan = [(chunks[0], lines[0] + eol)]
    for index, line in enumerate(lines[1:], 1):
        typed = line + eol
        plan.append((b"".join(chunks[:index]), typed[:1]))
        if typed[1:]:
            plan.append((b"".join(chunks[:index + 1]), typed[1:]))
    plan.append((b"".join(chunks[:-1]), None))
    return plan, b"".join(chunks)


# Cases ------------------------------------------------------------------------


def one_line_at_a_time(eol, nonblocking=False):
    def run(target):
        posix_only(target, "select() on a pipe", host_only=not nonblocking)
        lines, chunks = winning_game(b"Ivan")
        plan, final = pipe_plan(lines, chunks, eol)
        # A short pause before each line lets a non-blocking read find the
        # pipe empty first.
        return drive(target.command, plan, final, nonblocking_stdin=nonblocking,
                     pause=0.005 if nonblocking else 0).check(0)
    return run


def slow_reader(target):
    posix_only(target, "a non-blocking pipe")
    name = bytes(33 + i % 94 for i in range(1 << 20))
    game = (EXAMPLES / "win.txt").read_bytes()
    game = name + game[game.index(b"\n"):]
    expected = script.output(name, [script.opening] + levels.WIN)
    with tempfile.TemporaryFile() as stdin:
        stdin.write(game)
        stdin.seek(0)
        reader, writer = os.pipe()
        os.set_blocking(writer, False)
        try:
            process = subprocess.Popen(target.command, stdin=stdin, stdout=writer,
                                       stderr=subprocess.PIPE)
        finally:
            os.close(writer)
        deadline = time.monotonic() + TIMEOUT_SECONDS
        out = Reader(reader, deadline)
        try:
            # Small reads with a pause between them: the game's writes find
            # the pipe full again and again.
            while not out.ended and time.monotonic() < deadline:
                out.read_some(size=16384)
                time.sleep(0.001)
            status = finish(process, deadline)
        finally:
            os.close(reader)
            if process.poll() is None:
                process.kill()
                process.wait()
        outcome = Outcome([], status, process.stderr.read())
        process.stderr.close()
    if out.got != expected:
        outcome.problems.append(first_difference(expected, out.got))
    return outcome.check(0)


def terminal(keys_for_name, name):
    """A winning game typed on a terminal, key by key, Enter as CR.

    The terminal is cooked as usual: it turns the typed CR into LF, echoes
    what is typed, and turns each LF the game writes into CR LF.  Ctrl-D
    (byte 4) at the start of a line makes the game's read see end of input;
    it is not echoed.
    """
    def run(target):
        posix_only(target, "a pseudo-terminal")
        import pty
        import termios

        lines, chunks = winning_game(name)
        keys = [keys_for_name] + [line + b"\r" for line in lines[1:]]
        cooked = lambda b: b.replace(b"\n", b"\r\n")  # noqa: E731
        echo = lambda k: cooked(k.replace(b"\x04", b"").replace(b"\r", b"\n"))  # noqa: E731

        master, slave = pty.openpty()
        attrs = termios.tcgetattr(slave)
        attrs[0] = termios.ICRNL
        attrs[1] = termios.OPOST | termios.ONLCR
        attrs[3] = termios.ICANON | termios.ECHO | termios.ISIG
        attrs[6][termios.VEOF] = b"\x04"
        termios.tcsetattr(slave, termios.TCSANOW, attrs)
        settings = termios.tcgetattr(slave)
        process = subprocess.Popen(target.command, stdin=slave, stdout=slave,
                                   stderr=subprocess.PIPE, start_new_session=True)
        deadline = time.monotonic() + TIMEOUT_SECONDS
        out = Reader(master, deadline)
        outcome = Outcome([])
        expected = cooked(chunks[0])
        try:
            for index, typed in enumerate(keys):
                out.until(len(expected))
                if out.got != expected:
                    outcome.problems.append(f"before key line {index + 1}: "
                                            + first_difference(expected, out.got))
                    break
                if index == len(keys) - 1:
                    if termios.tcgetattr(slave) != settings:
                        outcome.problems.append("the game changed the terminal's settings")
                    os.close(slave)  # the game's end closes the terminal
                    slave = None
                for key in typed:
                    os.write(master, bytes([key]))  # one key at a time
                expected += echo(typed) + cooked(chunks[index + 1])
            else:
                out.to_end()
                if finish(process, deadline) is None:
                    outcome.problems.append("the game did not end after its last key")
                if out.got != expected:
                    outcome.problems.append("at the end: " + first_difference(expected, out.got))
        finally:
            outcome.status = process.poll()
            if outcome.status is None:
                process.kill()
            process.wait()
            outcome.stderr = process.stderr.read()
            process.stderr.close()
            os.close(master)
            if slave is not None:
                os.close(slave)
        return outcome.check(0)
    return run


def same_every_time(number, blocks=None, answers=()):
    """A game that stops with run-time error `number`, run five times, each
    with the stack placed elsewhere (a larger environment): the same bytes
    and status every time, the story as the game tells it, then the report.

    blocks: the path from level 1 up to the question whose answer (the last
      of `answers`) stops the run; None: standard input is a directory, and
      the first read fails at the name prompt.
    """
    def run(target):
        if blocks is None:
            posix_only(target, "a directory as standard input")
            lines, story = [], script.opening(b"")[0]
        else:
            lines = typed_lines(b"Ivan", script.reads([script.opening] + blocks), answers)
            story = script.output(b"Ivan", [script.opening] + blocks)
        problems, outputs = [], []
        with tempfile.TemporaryDirectory() as scratch:
            path = pathlib.Path(scratch) / "input"
            path.write_bytes(b"".join(line + b"\n" for line in lines))
            for run_index in range(5):
                env = dict(os.environ, IGRA_FAULT_TEST_PADDING="x" * (run_index * 4099))
                source = scratch if blocks is None else path
                fd = os.open(source, os.O_RDONLY)
                try:
                    done = subprocess.run(target.command, stdin=fd, capture_output=True,
                                          env=env, timeout=TIMEOUT_SECONDS)
                except subprocess.TimeoutExpired:
                    return problems + [f"run {run_index + 1}: no end within {TIMEOUT_SECONDS} s"]
                finally:
                    os.close(fd)
                problems += Outcome([], done.returncode, done.stderr).check(number)
                outputs.append(done.stdout)
        head = b"Runtime error %d at $" % number
        if not outputs[0].startswith(story + head):
            problems.append("not the story and then the report:\n  "
                            + first_difference(story + head, outputs[0][:len(story + head)]))
        for index, output in enumerate(outputs[1:], 2):
            if output != outputs[0]:
                problems.append(f"run {index} differs from run 1: "
                                + first_difference(outputs[0], output))
        return problems
    return run


@dataclasses.dataclass(frozen=True)
class Case:
    name: str
    about: str
    run: object  # run(Target) -> list of problems; may raise Skip


S = script
P1, P2, P3, WIN = levels.P1, levels.P2, levels.P3, levels.WIN
upto = levels.upto

CASES = [
    Case("slow-reader", "standard output a non-blocking pipe drained slowly, a "
         "1 MiB name and a winning game: the whole output, status 0", slow_reader),
    Case("nonblocking-stdin", "standard input a non-blocking pipe fed one line "
         "at a time with pauses: a normal winning game",
         one_line_at_a_time(b"\n", nonblocking=True)),
    Case("interactive-lf", "a winning game fed one LF line at a time: before "
         "each line the game has written all it writes before that read",
         one_line_at_a_time(b"\n")),
    Case("interactive-crlf", "the same with CR LF line ends",
         one_line_at_a_time(b"\r\n")),
    Case("interactive-cr", "the same with lone CR line ends: each read ends "
         "only when the next byte shows that no LF follows the CR",
         one_line_at_a_time(b"\r")),
    Case("terminal-win", "a winning game typed key by key on a terminal, the "
         "terminal's settings untouched", terminal(b"Ivan\r", b"Ivan")),
    Case("terminal-ctrl-d", "Ctrl-D at the name prompt: an empty name, then the "
         "game waits at the next pause and is won from there",
         terminal(b"\x04", b"")),
    Case("same-106", "an answer that is not a number in level 3, five runs: "
         "byte-identical output", same_every_time(
             106, P1 + P2 + upto(P3, S.warlord_prompt), WIN_ANSWERS[:-1] + [b"x"])),
    Case("same-205", "an overflowing answer in level 2, five runs: "
         "byte-identical output", same_every_time(
             205, P1 + upto(P2, S.battle_prompt), WIN_ANSWERS[:8] + [b"1e400"])),
    Case("same-read-error", "standard input a directory, five runs: "
         "byte-identical output", same_every_time(21)),
]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--binary", required=True)
    parser.add_argument("--prefix", default="", help="command to run it under")
    parser.add_argument("--windows", action="store_true",
                        help="the binary is a Windows program: skip the "
                             "cases that need POSIX-only faults")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("cases", nargs="*")
    args = parser.parse_args()

    cases = {case.name: case for case in CASES}
    if args.list:
        print("\n".join(cases))
        return 0
    target = Target(shlex.split(args.prefix) + [args.binary], args.windows)
    passed = failed = skipped = 0
    for name in args.cases or list(cases):
        if name not in cases:
            print(f"unknown case {name}")
            return 2
        case = cases[name]
        try:
            problems = case.run(target)
        except Skip as reason:
            skipped += 1
            print(f"skip {name}: {reason}")
            continue
        if problems:
            failed += 1
            print(f"FAIL {name}: {case.about}")
            for problem in problems:
                print("  " + problem.replace("\n", "\n  "))
        else:
            passed += 1
            print(f"ok   {name}")
    print(f"fault tests: {passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
