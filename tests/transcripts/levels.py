"""Whole play-throughs of the three levels: every way to win, lose or pass.

Each row of CASES gives a case name, what it shows, the answers typed, and
the path it takes through the story (blocks of script.py, after the opening).
The input is built from the path: the name, then one line for every pause
and every answer, in the order the path reads them; the expected output is
what the path's blocks write.

Pause lines hold "ok" unless a row says otherwise.  A pause ignores its line,
but an answer never skips it (only blank lines are skipped before an answer),
so a read too many or too few anywhere before a path's last answer shifts
every later line onto the wrong kind of read and the output changes: an
answer meets "ok" (run-time error 106) or a pause swallows an answer.  The
rows whose description gives a number of lines lean on this to show how many
lines each level takes.  Reads after a run's last answer meet only pause
lines and the end of the input, and change nothing in the output, so no
transcript can tell how many of them there are.

The win and the losses play the answer files in examples/ (Enter at every
pause); each file must be exactly the input its row builds.
"""

import pathlib

import script as s
from casekit import Case, Report

EXAMPLES = pathlib.Path(__file__).resolve().parents[2] / "examples"

# The way through each level with the winning answers ------------------------

P1 = [
    s.level1_start,
    s.door_prompt, s.door_right, s.tunnel,
    s.wizard_prompt, s.wizard_right,
    s.dragon_prompt, s.dragon_right,
    s.cave,
    s.assassin_prompt, s.assassin_right,
    s.castle_prompt, s.castle_explore,
    s.box_prompt, s.box_give,
]
P2 = [
    s.level2_start,
    s.fight_prompt, s.fight_head,
    s.reward,
    s.sale_prompt, s.sale_open, s.sale_after,
    s.voyage,
    s.battle_prompt, s.battle_attack,
    s.tiger_prompt, s.tiger_fire,
    s.forest,
    s.chest_prompt, s.chest_break,
]
P3 = [
    s.level3_start,
    s.horse_prompt, s.horse_feed,
    s.night,
    s.stone_prompt, s.stone_read,
    s.home_town,
    s.warlord_prompt, s.warlord_right,
    s.ending,
]
WIN = P1 + P2 + P3


def upto(path, block):
    """The path up to and including the block."""
    return path[: path.index(block) + 1]


def without(path, *blocks):
    """The path with the blocks left out (an answer that passes them by)."""
    assert all(b in path for b in blocks)
    return [b for b in path if b not in blocks]


# Other ways through a level, kept apart because their line counts matter.
P1_CASTLE_OTHER = upto(P1, s.castle_prompt)  # castle answer not 1 or 2
P1_BOX_OTHER = without(P1, s.box_give)  # box answer not 1, 2 or 3
P2_ALL_OTHER = without(P2, s.fight_head, s.sale_open, s.battle_attack, s.tiger_fire, s.chest_break)
P3_ALL_OTHER = without(P3, s.horse_feed, s.stone_read)

# Input lines each level reads, one answer a line (the opening reads 3).
assert len(s.reads([s.opening])) == 3
assert len(s.reads(P1)) == 30  # 6 284 72 35 1 3
assert len(s.reads(P1_BOX_OTHER)) == 26  # box 4
assert len(s.reads(P1_CASTLE_OTHER)) == 23  # castle 7
assert len(s.reads(upto(P1, s.door_prompt) + [s.door_wrong])) == 11
assert len(s.reads(upto(P1, s.assassin_prompt) + [s.assassin_wrong])) == 20
assert len(s.reads(P2)) == 39  # 1 at every question
assert len(s.reads(P2_ALL_OTHER)) == 34  # 3 at every question
assert len(s.reads(P3)) == 16  # 1 1 10
assert len(s.reads(P3_ALL_OTHER)) == 14  # 3 3 10

# Bytes for the row options ---------------------------------------------------

# Lines after the end of a run, none of which may be read: each would be a
# wrong answer (or the start of a retried question) if it were.
UNREAD = b"2\n2\nabc\n"

# 300 bytes: blanks at both ends, a tab, every byte from 128 to 255.
LONG_NAME = b"  Ivan\tPetrov " + bytes(range(128, 256)) + (b"Asen Dragan " * 14)[:157] + b" "
assert len(LONG_NAME) == 300


def split_answers(answers):
    """The answers of a string split at blanks and at "/" (between levels)."""
    return [a.encode() for a in answers.replace("/", " ").split()]


def blank_lines_then(answers):
    """Each answer preceded by an empty line and a line of blanks and a tab."""
    return [b"\n \t \n" + a for a in split_answers(answers)]


def stop(level, number):
    """The run-time error report of an answer in the given level."""
    return Report(number, f"PlayLevel{level}", f"src/script/level{level}.cc")


# The table -------------------------------------------------------------------


def row(name, about, answers, path, *, hero=b"Ivan", pause=None, eol=b"\n",
        after=b"", report=None, example=False, stdin="file"):
    """One case.

    answers: a string of answers (split_answers), or a list of the exact
      answer lines.
    path: the blocks after the opening; with a report, it ends at the prompt
      of the question whose answer stops the run.
    after: input after the last line the path reads, which must stay unread.
    pause: the line each pause reads: empty (Enter) for an example, else "ok".
    example: the input is examples/<name>.txt (name Ivan, Enter at pauses).
    """
    if pause is None:
        pause = b"" if example else b"ok"
    if isinstance(answers, str):
        answers = split_answers(answers)
    blocks = [s.opening] + path
    given = iter(answers)
    lines = []
    for read in s.reads(blocks):
        if read == s.ASK_NAME:
            lines.append(hero)
        elif read == s.PAUSE:
            lines.append(pause)
        else:
            lines.append(next(given))
    assert next(given, None) is None, f"{name}: answers left over"
    data = b"".join(line + eol for line in lines) + after
    if example:
        assert (hero, pause, eol, after) == (b"Ivan", b"", b"\n", b"")
        path_file = EXAMPLES / f"{name}.txt"
        played = path_file.read_bytes()
        if played != data:
            raise SystemExit(f"{path_file} is not the input of case {name}")
        data = played
    output = s.output(hero, blocks)
    if report is None:
        return Case(name, about, data, output, 0, stdin)
    return Case(name, about, data, (output, report), report.number, stdin)


L1_WIN = "6 284 72 35 1 3 /"
L2_WIN = "1 1 1 1 1 /"
WIN_ANSWERS = "6 284 72 35 1 3 / 1 1 1 1 1 / 1 1 10"

CASES = [
    # The win and every way to lose, from the answer files in examples/.
    row("win", "the winning answers, Enter at every pause: the closing line and status 0",
        WIN_ANSWERS, WIN, example=True),
    row("lose-door", "a wrong door answer: the zombie",
        "2", upto(P1, s.door_prompt) + [s.door_wrong], example=True),
    row("lose-wizard", "a wrong wizard answer: the wizard kills the hero",
        "6 248", upto(P1, s.wizard_prompt) + [s.wizard_wrong], example=True),
    row("lose-dragon-puzzle", "a wrong count of fireballs: the dragon burns the hero",
        "6 284 108", upto(P1, s.dragon_prompt) + [s.dragon_wrong], example=True),
    row("lose-assassin", "a wrong assassin answer: killed, and the run ends with no last pause",
        "6 284 72 30", upto(P1, s.assassin_prompt) + [s.assassin_wrong], example=True),
    row("lose-castle", "castle answer 2: the hero moves away and the assassin kills him",
        "6 284 72 35 2", upto(P1, s.castle_prompt) + [s.castle_flee], example=True),
    row("lose-box-throw", "box answer 1: the broken box lets a monster eat the hero",
        "6 284 72 35 1 1", upto(P1, s.box_prompt) + [s.box_throw], example=True),
    row("lose-box-swallow", "box answer 2: the hero chokes, and the castle's flight never shows",
        "6 284 72 35 1 2", upto(P1, s.box_prompt) + [s.box_swallow], example=True),
    row("lose-dragon-fight", "fight answer 2: the blow to the stomach kills the hero",
        L1_WIN + "2", P1 + upto(P2, s.fight_prompt) + [s.fight_stomach], example=True),
    row("lose-sale", "selling the chest: the run ends on that text, no line break, no pause",
        L1_WIN + "1 2", P1 + upto(P2, s.sale_prompt) + [s.sale_sell], example=True),
    row("lose-sea-battle", "surrender at sea: lost",
        L1_WIN + "1 1 2", P1 + upto(P2, s.battle_prompt) + [s.battle_surrender], example=True),
    row("lose-buried-chest", "keeping the buried chest: the cannibals",
        L1_WIN + "1 1 1 1 2", P1 + upto(P2, s.chest_prompt) + [s.chest_keep], example=True),
    row("lose-horse", "not feeding the horse: the cannibals catch the hero",
        L1_WIN + L2_WIN + "2", P1 + P2 + upto(P3, s.horse_prompt) + [s.horse_refuse], example=True),
    row("lose-stone", "not reading the sheet: left on the island",
        L1_WIN + L2_WIN + "1 2", P1 + P2 + upto(P3, s.stone_prompt) + [s.stone_refuse], example=True),
    row("lose-warlord", "a wrong equation answer (the right side, 300): killed",
        L1_WIN + L2_WIN + "1 1 300", P1 + P2 + upto(P3, s.warlord_prompt) + [s.warlord_wrong],
        example=True),

    # Lines read per level; a shifted read turns an answer into "ok".
    row("reads-win", "the winning answers: 30, 39 and 16 lines for levels 1 to 3",
        WIN_ANSWERS, WIN, after=UNREAD),
    row("reads-other-answers", "3 at every choice: 30 lines, then 34 in level 2 and 14 in level 3",
        "6 284 72 35 1 3 / 3 3 3 3 3 / 3 3 10", P1 + P2_ALL_OTHER + P3_ALL_OTHER, after=UNREAD),
    row("castle-7", "castle answer 7: level 1 reads 23 lines and level 2 follows the prompt",
        "6 284 72 35 7 / 1 1 1 1 1 / 1 1 10", P1_CASTLE_OTHER + P2 + P3),
    row("box-4", "box answer 4: level 1 reads 26 lines and level 2 follows the prompt",
        "6 284 72 35 1 4 / 1 1 1 1 1 / 1 1 10", P1_BOX_OTHER + P2 + P3),
    row("door-fraction", "door answer 6.5 loses; level 1 reads 11 lines",
        "6.5", upto(P1, s.door_prompt) + [s.door_wrong], after=UNREAD),
    row("assassin-140", "assassin answer 140 loses; level 1 reads 20 lines and no last pause",
        "6 284 72 140", upto(P1, s.assassin_prompt) + [s.assassin_wrong], after=UNREAD),

    # Answers that pass a choice by: no text of their own, the story goes on.
    row("fight-3", "fight answer 3: no fight text, on to the reward",
        L1_WIN + "3 1 1 1 1 / 1 1 10", P1 + without(P2, s.fight_head) + P3),
    row("fight-0", "fight answer 0: no fight text, on to the reward",
        L1_WIN + "0 1 1 1 1 / 1 1 10", P1 + without(P2, s.fight_head) + P3),
    row("fight-negative", "fight answer -1: no fight text, on to the reward",
        L1_WIN + "-1 1 1 1 1 / 1 1 10", P1 + without(P2, s.fight_head) + P3),
    row("fight-fraction", "fight answer 1.5: no fight text, on to the reward",
        L1_WIN + "1.5 1 1 1 1 / 1 1 10", P1 + without(P2, s.fight_head) + P3),
    row("sale-3", "sale answer 3: no chest text, one pause, on to the voyage",
        L1_WIN + "1 3 1 1 1 / 1 1 10", P1 + without(P2, s.sale_open) + P3),
    row("tiger-7", "tiger answer 7: no success line, on into the forest",
        L1_WIN + "1 1 1 7 1 / 1 1 10", P1 + without(P2, s.tiger_fire) + P3),
    row("chest-3", "buried chest answer 3: level 3 starts right after the answer",
        L1_WIN + "1 1 1 1 3 / 1 1 10", P1 + without(P2, s.chest_break) + P3),
    row("horse-5", "horse answer 5: no taming line, past the cannibals",
        L1_WIN + L2_WIN + "5 1 10", P1 + P2 + without(P3, s.horse_feed)),
    row("stone-0", "stone answer 0: no portal line, on to the home town",
        L1_WIN + L2_WIN + "1 0 10", P1 + P2 + without(P3, s.stone_read)),

    # Forms of an answer: the number counts, not how it is typed.
    row("door-decimal", "door answer 6.0 opens the door", "6.0 0",
        upto(P1, s.wizard_prompt) + [s.wizard_wrong]),
    row("door-leading-zero", "door answer 06 opens the door", "06 0",
        upto(P1, s.wizard_prompt) + [s.wizard_wrong]),
    row("door-plus", "door answer +6 opens the door", "+6 0",
        upto(P1, s.wizard_prompt) + [s.wizard_wrong]),
    row("door-exponent", "door answer 6e0 opens the door", "6e0 0",
        upto(P1, s.wizard_prompt) + [s.wizard_wrong]),
    row("door-long-token", "door answer of 300 zeros and a 6: the whole token counts, 6",
        [b"0" * 300 + b"6", b"0"], upto(P1, s.wizard_prompt) + [s.wizard_wrong]),
    row("door-two-numbers", "door line '6 5': 6 counts, 5 is dropped with the line",
        [b"6 5", b"0"], upto(P1, s.wizard_prompt) + [s.wizard_wrong]),
    row("blank-lines", "an empty line and a line of blanks before every answer are skipped",
        blank_lines_then(WIN_ANSWERS), WIN),

    # The name and the line ends through a whole won game.
    row("empty-name", "an empty name: every name piece writes nothing",
        WIN_ANSWERS, WIN, hero=b""),
    row("long-name", "a 300-byte name with blanks, a tab and bytes above 127, written back whole",
        WIN_ANSWERS, WIN, hero=LONG_NAME),
    row("crlf", "CR LF line ends through a won game, through a pipe",
        WIN_ANSWERS, WIN, eol=b"\r\n", stdin="pipe"),
    row("cr", "lone CR line ends through a won game",
        WIN_ANSWERS, WIN, eol=b"\r"),

    # Answers that stop the run: the report follows the prompt.
    row("level1-not-a-number", "door answer abc: run-time error 106",
        "abc", upto(P1, s.door_prompt), report=stop(1, 106), after=UNREAD),
    row("level1-overflow", "door answer 1e400: run-time error 205",
        "1e400", upto(P1, s.door_prompt), report=stop(1, 205), after=UNREAD),
    row("level2-not-a-number", "sea battle answer abc: run-time error 106",
        L1_WIN + "1 1 abc", P1 + upto(P2, s.battle_prompt), report=stop(2, 106), after=UNREAD),
    row("level2-overflow", "sea battle answer 1e400: run-time error 205",
        L1_WIN + "1 1 1e400", P1 + upto(P2, s.battle_prompt), report=stop(2, 205), after=UNREAD),
    row("level3-not-a-number", "warlord answer abc: run-time error 106",
        L1_WIN + L2_WIN + "1 1 abc", P1 + P2 + upto(P3, s.warlord_prompt),
        report=stop(3, 106), after=UNREAD),
    row("level3-overflow", "warlord answer 1e400: run-time error 205",
        L1_WIN + L2_WIN + "1 1 1e400", P1 + P2 + upto(P3, s.warlord_prompt),
        report=stop(3, 205), after=UNREAD),
]
