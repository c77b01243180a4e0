"""What a transcript case is made of.

A case is one whole run of the game: the exact bytes on standard input, the
exact bytes expected on standard output, the exit status, and an empty
standard error.  Each module in this folder holds a list CASES of them.

Expected output is a sequence of parts: plain bytes, compared byte for byte,
and at most one Report at the end, for a run stopped by a run-time error.  A
report's addresses and line numbers belong to one build, so a Report checks
the form of the report and the names in it, not those numbers.
"""

import dataclasses
import re
import signal

CRLF = b"\r\n"


def line(*pieces):
    """The bytes of one output line: the pieces, then CR LF."""
    return b"".join(pieces) + CRLF


def first_difference(expected, actual):
    """Where two byte strings part, with 40 bytes of context on each side."""
    actual = bytes(actual)
    limit = min(len(expected), len(actual))
    at = next((i for i in range(limit) if expected[i] != actual[i]), limit)
    return (f"first difference at byte {at} (expected {len(expected)} bytes, "
            f"got {len(actual)})\n"
            f"  before:   {expected[max(at - 40, 0):at]!r}\n"
            f"  expected: {expected[at:at + 40]!r}\n"
            f"  actual:   {actual[at:at + 40]!r}")


def describe_status(status):
    """An exit status as a failure message names it."""
    if status is None:
        return "none (the game was still running)"
    if isinstance(status, int) and status < 0:
        return f"killed by {signal.Signals(-status).name}"
    return str(status)


@dataclasses.dataclass(frozen=True)
class Report:
    """The run-time error report that ends a stopped run.

    number: the run-time error number (also the expected exit status).
    routine, file: the routine and source file named on the report's second
      line, for an error found in a step of the script.  When routine is
      None, the report may hold any chain of back-trace lines (an error found
      deeper, such as 203).
    """

    number: int
    routine: str | None = None
    file: str | None = None

    def pattern(self):
        hex8 = rb"[0-9A-F]{8}"
        head = rb"Runtime error %d at \$(%s)\r\n" % (self.number, hex8)
        if self.routine is None:
            body = rb"  \$\1(?:  [^\r\n]*)?\r\n(?:  \$%s(?:  [^\r\n]*)?\r\n){1,9}" % hex8
        else:
            body = rb"  \$\1  %s,  line [1-9][0-9]* of %s\r\n  \$%s\r\n" % (
                re.escape(self.routine.encode()),
                re.escape(self.file.encode()),
                hex8,
            )
        return re.compile(head + body + rb"\r\n\Z")


@dataclasses.dataclass(frozen=True)
class Case:
    """One run of the game.

    name: short unique identifier (letters, digits, hyphens).
    about: one line saying what the case shows.
    input: the bytes on standard input, or a function that makes them (for
      inputs too large to build whenever the cases are loaded).
    output: the expected standard output: bytes, or a tuple of bytes parts
      optionally ending in a Report.
    status: the expected exit status (a Report's number when there is one).
    stdin: "file" (a regular file), "pipe" (all input written to a pipe,
      then closed), "directory" (a directory: every read fails), "closed"
      (descriptor 0 not open), "lines" (a pipe fed one line at a time:
      `input` is then a tuple of lines and `output` a tuple of one more
      chunks, what the game writes before the first line and after each).
    stdout: "pipe" (read whole), "full" (/dev/full: every write fails),
      "closed" (descriptor 1 not open), "broken-pipe" (a pipe whose reader
      is already closed; SIGPIPE at its default), "broken-pipe-ignored"
      (the same with SIGPIPE ignored by the parent).
    memory_limit: a limit on the game's address space in bytes, or None.
    """

    name: str
    about: str
    input: bytes
    output: object
    status: int = 0
    stdin: str = "file"
    stdout: str = "pipe"
    memory_limit: int | None = None

    def posix_only(self):
        """Why the case cannot run against a Windows program, or None."""
        if self.stdin in ("directory", "closed") or self.stdout == "closed":
            return "a closed or unreadable standard handle is set up the POSIX way"
        if self.memory_limit:
            return "an address-space limit is a POSIX resource limit"
        return None

    def input_bytes(self):
        return self.input() if callable(self.input) else self.input

    def expected_parts(self):
        parts = self.output if isinstance(self.output, tuple) else (self.output,)
        plain = b"".join(p for p in parts if isinstance(p, bytes))
        reports = [p for p in parts if isinstance(p, Report)]
        return plain, (reports[0] if reports else None)
