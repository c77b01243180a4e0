"""The opening: the name prompt, the greeting, the strength, two pauses.

These cases also cover how the console reads lines and writes its output.
Where the input ends after the opening, the game runs on through level 1's
pauses (each returns at once) to the first question, which then has no
number: run-time error 106.
"""

import script
from casekit import Case, Report

PROMPT = b"Vuvedi imeto na geroq si: "


def then_no_more_input(name):
    """The opening, then level 1 up to its first question, where the input
    has ended: no number, run-time error 106."""
    blocks = [script.opening, script.level1_start, script.door_prompt]
    return (script.output(name, blocks),
            Report(106, "PlayLevel1", "src/script/level1.cc"))


def one_line_at_a_time(name, about, eol):
    """A short lost game fed one line at a time: the name, Enter at every
    pause, and 1 at the door.  Before each line the game must have written
    exactly what comes before that read, and after the last it must end."""
    blocks = [script.opening, script.level1_start, script.door_prompt,
              script.door_wrong]
    lines, chunks = [], [b""]
    for step in script.steps(name, blocks):
        if isinstance(step, bytes):
            chunks[-1] += step
            continue
        typed = {script.ASK_NAME: name, script.PAUSE: b"", script.ASK: b"1"}[step]
        lines.append(typed + eol)
        chunks.append(b"")
    return Case(name=f"one-line-at-a-time-{about}", about=f"a short game through a "
                f"pipe one line at a time, {about} line ends: every prompt is out "
                f"before the game waits and each read takes one line",
                input=tuple(lines), output=tuple(chunks), stdin="lines")


LONG_NAME = bytes(33 + i % 94 for i in range(1000))
HUGE_NAME = bytes(b"Ivan" * 50000)  # several reads' worth
ODD_NAME = b"  Ana\tMaria \x7f\xe4\xff\x01 "


def stopped(number):
    return Report(number, "PlayOpening", "src/script/opening.cc")


CASES = [
    Case("plain", "a name, Enter twice, no more input: the greeting, the strength, "
         "level 1 up to its first question, 106 there",
         b"Ivan\n\n\n", then_no_more_input(b"Ivan"), status=106),
    Case("pipe", "the same through a pipe", b"Ivan\n\n\n", then_no_more_input(b"Ivan"),
         status=106, stdin="pipe"),
    Case("empty-name", "an empty name: the greeting starts with its blank",
         b"\n\n\n", then_no_more_input(b""), status=106),
    Case("odd-name", "blanks at both ends, a tab, control and high bytes kept",
         ODD_NAME + b"\n\n\n", then_no_more_input(ODD_NAME), status=106),
    Case("long-name", "a 1000-byte name is written back whole",
         LONG_NAME + b"\n\n\n", then_no_more_input(LONG_NAME), status=106),
    Case("huge-name", "a 200000-byte name through a pipe, across many reads",
         HUGE_NAME + b"\n\n\n", then_no_more_input(HUGE_NAME), status=106,
         stdin="pipe"),
    Case("no-input", "no input at all: an empty name, the pauses return",
         b"", then_no_more_input(b""), status=106),
    Case("last-line-unended", "a name on a last line without a line end",
         b"Ivan", then_no_more_input(b"Ivan"), status=106),
    Case("crlf", "CR LF line ends", b"Ivan\r\n\r\n\r\n", then_no_more_input(b"Ivan"), status=106),
    Case("lone-cr", "lone CR line ends", b"Ivan\r\r\r", then_no_more_input(b"Ivan"), status=106),
    Case("text-at-pauses", "text typed at a pause is ignored",
         b"Ivan\nsome words\nmore\n", then_no_more_input(b"Ivan"), status=106),
    Case("end-mark-in-name", "byte 26 ends the input: the bytes before it count",
         b"Iv\x1aan\nPetar\n", then_no_more_input(b"Iv"), status=106),
    Case("end-mark-at-pause", "byte 26 at a pause: every later pause returns",
         b"Ivan\n\x1a\n\n", then_no_more_input(b"Ivan"), status=106),
    Case("nul-in-name", "a NUL byte in the name is kept",
         b"I\x00van\n\n\n", then_no_more_input(b"I\x00van"), status=106),
    Case("stdout-full", "standard output refuses every write: 101",
         b"Ivan\n\n\n", b"", status=101, stdout="full"),
    Case("stdout-closed", "standard output not open: 101",
         b"Ivan\n\n\n", b"", status=101, stdout="closed"),
    Case("stdout-broken-pipe", "a pipe whose reader has gone: 101, not SIGPIPE",
         b"Ivan\n\n\n", b"", status=101, stdout="broken-pipe"),
    Case("stdout-broken-pipe-ignored", "the same with SIGPIPE ignored: 101",
         b"Ivan\n\n\n", b"", status=101, stdout="broken-pipe-ignored"),
    Case("name-beyond-memory", "a 96 MiB name with 48 MiB of address space: 203, "
         "with the chain of routines from the input stream to the start-up",
         lambda: b"a" * (96 << 20) + b"\n", (PROMPT, Report(203)), status=203,
         memory_limit=48 << 20),
    Case("stdin-directory", "every read fails (EISDIR): empty name, then 21",
         b"", (PROMPT, stopped(21)), status=21, stdin="directory"),
    Case("stdin-closed", "standard input not open (EBADF): 9",
         b"", (PROMPT, stopped(9)), status=9, stdin="closed"),
    one_line_at_a_time(b"Ivan", "LF", b"\n"),
    one_line_at_a_time(b"Ivan", "CR-LF", b"\r\n"),
]
