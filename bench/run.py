#!/usr/bin/env python3
"""Runs every benchmark of igra and prints the results as a Markdown report.

  python3 bench/run.py            build, check, measure, print
  python3 bench/run.py --write    the same, and write bench/RESULTS.md

The game is built twice, Release, without tests: statically linked in
build/bench-static and dynamically linked in build/bench-dynamic.  The small
C programs of bench/ are built in build/bench-tools.  bench/README.md says
what each benchmark measures.

Every benchmark compares the game with a reference program in one run,
alternating the two, over several rounds, and reports medians over the
rounds; a ratio is the median of the per-round ratios.  Standard library
only.
"""

import argparse
import datetime
import os
import pathlib
import platform
import shutil
import statistics
import subprocess
import sys
import time

BENCH = pathlib.Path(__file__).resolve().parent
ROOT = BENCH.parent
BUILD_STATIC = ROOT / "build" / "bench-static"
BUILD_DYNAMIC = ROOT / "build" / "bench-dynamic"
TOOLS = ROOT / "build" / "bench-tools"
WIN_INPUT = ROOT / "examples" / "win.txt"
RESULTS = BENCH / "RESULTS.md"

MIB = 1 << 20
GIB = 1 << 30

# Targets.  The big inputs are judged with both ends of the pipe on one CPU
# (see placements()).
JUDGED_PLACEMENT = "one CPU"
WHOLE_GAME_RATIO = 1.25
BIG_TIME_RATIO = 1.5
NAME_RSS_FACTOR = 1.1
RSS_ALLOWANCE = 8 * MIB

# The size of the small inputs that check each big input's shape before it
# is timed: several of the game's 64 KiB input blocks.
CHECK_SIZE = 300_000


def fail(message):
    raise SystemExit(f"bench: {message}")


def run_quietly(command, **kwargs):
    """Runs a build step; shows its output only when it fails."""
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **kwargs)
    if done.returncode != 0:
        sys.stderr.write(done.stdout.decode(errors="replace"))
        fail(f"failed ({done.returncode}): {' '.join(map(str, command))}")


# Building -------------------------------------------------------------------

def build_game(folder, static):
    command = [
        "cmake", "-S", ROOT, "-B", folder,
        "-DCMAKE_BUILD_TYPE=Release", "-DBUILD_TESTING=OFF",
        f"-DIGRA_STATIC={'ON' if static else 'OFF'}",
    ]
    if not (folder / "CMakeCache.txt").exists() and shutil.which("ninja"):
        command += ["-G", "Ninja"]
    run_quietly(command)
    run_quietly(["cmake", "--build", folder, "--parallel", str(os.cpu_count() or 2),
                 "--target", "igra"])
    return folder / "igra"


def c_array(data):
    rows = [", ".join(str(b) for b in data[i:i + 20]) for i in range(0, len(data), 20)]
    return ("/* Written by bench/run.py: the output of the winning game. */\n"
            "static const unsigned char kExpected[] = {\n  "
            + ",\n  ".join(rows) + "\n};\n")


def build_tools(expected_output):
    TOOLS.mkdir(parents=True, exist_ok=True)
    header = TOOLS / "expected.h"
    text = c_array(expected_output)
    if not header.exists() or header.read_text() != text:
        header.write_text(text)
    gcc = ["gcc", "-O2", "-Wall", "-Wextra", "-Werror"]
    tools = {}
    for name, extra in [
        ("limit-static", ["-static", "bench/limit.c"]),
        ("limit-dynamic", ["bench/limit.c"]),
        ("limit-static-pie", ["-static-pie", "-fPIE", "bench/limit.c"]),
        ("limit-lines", ["-static", "-DONE_WRITE_PER_LINE", "bench/limit.c"]),
        ("spawn", ["bench/spawn.c"]),
        ("gen", ["bench/gen.c"]),
        ("touch", ["bench/touch.c"]),
        ("rss", ["-static", "bench/rss.c"]),
    ]:
        run_quietly(gcc + ["-I", TOOLS, "-o", TOOLS / name] + extra, cwd=ROOT)
        tools[name] = TOOLS / name
    return tools


# Checking what is measured --------------------------------------------------

def winning_output():
    """The output of the winning game, as the recorded play-through has it."""
    sys.path.insert(0, str(ROOT / "tests" / "transcripts"))
    sys.dont_write_bytecode = True
    import levels  # noqa: E402  (the play-through cases)

    case = next(c for c in levels.CASES if c.name == "win")
    plain, report = case.expected_parts()
    if report is not None or case.status != 0:
        fail("the recorded winning game does not end with status 0")
    if case.input_bytes() != WIN_INPUT.read_bytes():
        fail(f"{WIN_INPUT} is not the input of the recorded winning game")
    return plain


def check_run(command, stdin, expected, what):
    done = subprocess.run(command, stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if done.returncode != 0 or done.stderr or done.stdout != expected:
        fail(f"{what}: status {done.returncode}, {len(done.stdout)} output bytes "
             f"(expected status 0, {len(expected)} bytes), standard error {done.stderr[:200]!r}")


def check_whole_game(programs, expected):
    for name, path in programs.items():
        with open(WIN_INPUT, "rb") as stdin:
            check_run([path], stdin, expected, f"{name} < {WIN_INPUT.name}")


# The big inputs -------------------------------------------------------------

class BigCase:
    """A benchmark of one big input: the input is prefix, `size` times one
    fill byte, suffix; it is a winning game, so the game exits 0."""

    def __init__(self, key, title, prefix, fill, suffix, rss_limit, expected_output):
        self.key = key
        self.title = title
        self.prefix = prefix
        self.fill = fill
        self.suffix = suffix
        self.rss_limit = rss_limit  # function of the size: bytes
        self.expected_output = expected_output  # function of the size: bytes

    def generator(self, gen, size):
        return [gen, self.prefix.hex(), self.fill.hex(), str(size), self.suffix.hex()]


def big_cases(expected):
    lines = WIN_INPUT.read_bytes().splitlines(keepends=True)
    name = lines[0]
    first_answer = next(i for i in range(1, len(lines)) if lines[i].strip())
    if lines[1].strip() or first_answer < 2:
        fail(f"{WIN_INPUT.name}: expected the name, then a pause line, then more pauses")
    hero = name.rstrip(b"\r\n")
    return [
        BigCase("name", "long name (a SIZE name line)",
                b"", b"a", b"\n" + b"".join(lines[1:]),
                lambda size: NAME_RSS_FACTOR * size + RSS_ALLOWANCE,
                lambda size: expected.replace(hero, b"a" * size)),
        BigCase("junk", "long junk (a SIZE junk line at the first pause)",
                name, b"x", b"\n" + b"".join(lines[2:]),
                lambda size: RSS_ALLOWANCE,
                lambda size: expected),
        BigCase("blank", "long junk (SIZE of blank lines before the first answer)",
                b"".join(lines[:first_answer]), b"\n", b"".join(lines[first_answer:]),
                lambda size: RSS_ALLOWANCE,
                lambda size: expected),
    ]


def check_big_case(case, gen, game):
    generator = subprocess.Popen(case.generator(gen, CHECK_SIZE), stdout=subprocess.PIPE)
    check_run([game], generator.stdout, case.expected_output(CHECK_SIZE),
              f"{case.key} input of {CHECK_SIZE} bytes")
    generator.stdout.close()
    if generator.wait() != 0:
        fail(f"the generator failed on the {case.key} input")


def pinned(cpu):
    """A preexec_fn that keeps the child on one CPU."""
    return lambda: os.sched_setaffinity(0, {cpu})


def placements():
    """Where the two ends of a pipe run: both on one CPU (the reader's work
    and the writer's add up), and on two CPUs when there are two (they
    overlap, and every hand-over of the pipe wakes the other CPU).  A pipe
    runs at very different speeds in the two, and the scheduler picks
    either from run to run, so each is measured by itself."""
    cpus = sorted(os.sched_getaffinity(0))
    chosen = {"one CPU": (cpus[0], cpus[0])}
    if len(cpus) > 1:
        chosen["two CPUs"] = (cpus[0], cpus[1])
    return chosen


def time_pipeline(tools, generator_command, consumer, cpus):
    """Runs `generator | consumer > /dev/null` with the two on `cpus`;
    returns the wall time from the start of the generator to the end of
    both, the consumer's exit status and its resource use (the consumer
    alone, measured by bench/rss.c)."""
    report = TOOLS / "rss.out"
    with open(os.devnull, "wb") as devnull:
        start = time.perf_counter()
        generator = subprocess.Popen(generator_command, stdout=subprocess.PIPE,
                                     preexec_fn=pinned(cpus[0]))
        process = subprocess.Popen([tools["rss"], report, consumer],
                                   stdin=generator.stdout, stdout=devnull,
                                   preexec_fn=pinned(cpus[1]))
        generator.stdout.close()
        status = process.wait()
        generator_status = generator.wait()
        seconds = time.perf_counter() - start
    if generator_status != 0:
        fail(f"the generator ended with status {generator_status}")
    rss_kib, user, system, faults = report.read_text().split()
    return seconds, status, {
        "seconds": seconds,
        "rss": int(rss_kib) * 1024,
        "user": float(user),
        "system": float(system),
        "faults": int(faults),
    }


# Measuring ------------------------------------------------------------------

def measure_whole_game(tools, programs, rounds, starts):
    """Seconds per start of each program, one figure per round (the mean of
    that round's starts), and the median minor page faults of a start."""
    names = list(programs)
    done = subprocess.run(
        [tools["spawn"], str(rounds), str(starts), WIN_INPUT] + [programs[n] for n in names],
        stdout=subprocess.PIPE, check=True)
    total = {name: [0] * rounds for name in names}
    faults = {name: [] for name in names}
    for row in done.stdout.decode().split("\n"):
        if row:
            r, p, ns, minflt = map(int, row.split())
            total[names[p]][r] += ns
            faults[names[p]].append(minflt)
    seconds = {name: [ns / 1e9 / starts for ns in total[name]] for name in names}
    return seconds, {name: median(faults[name]) for name in names}


def measure_big_case(tools, case, game, cat, size, rounds):
    """The runs of the game and of `cat` on one big input, for each
    placement of the pipe's ends: {placement: {"game": [...], "cat": [...]}}."""
    where = placements()
    runs = {name: {"game": [], "cat": []} for name in where}
    generator = case.generator(tools["gen"], size)
    for r in range(rounds):
        for name, cpus in where.items():
            order = [("game", game), ("cat", cat)]
            if r % 2:
                order.reverse()
            for who, program in order:
                _, status, usage = time_pipeline(tools, generator, program, cpus)
                if status != 0:
                    fail(f"{case.key}: {who} ended with status {status}")
                runs[name][who].append(usage)
    return runs


def profile_case(case, tools, game, size):
    """Where the game's time goes on one big input, by `perf record`: the
    share of samples in each function of the game, and in the kernel in
    page faults, in read(2) (including waiting for the pipe), in writev(2),
    in interrupts, elsewhere.  None when perf cannot record."""
    if not shutil.which("perf"):
        return None
    data = TOOLS / f"perf-{case.key}.data"
    data.unlink(missing_ok=True)  # else perf keeps the last one as .old
    generator = subprocess.Popen(case.generator(tools["gen"], size), stdout=subprocess.PIPE)
    done = subprocess.run(["perf", "record", "-q", "-g", "-o", data, "--", game],
                          stdin=generator.stdout, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE)
    generator.stdout.close()
    generator.wait()
    if done.returncode != 0:
        return None
    script = subprocess.run(["perf", "script", "-i", data, "-F", "ip,sym,dso"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    counts = {}
    for sample in script.stdout.decode(errors="replace").split("\n\n"):
        frames = [f.split(None, 1)[1] for f in sample.strip().split("\n") if len(f.split(None, 1)) == 2]
        if not frames:
            continue
        text = "\n".join(frames)
        user = next((f for f in frames if "kernel.kallsyms" not in f), "")
        if "kernel.kallsyms" not in frames[0]:
            where = "`" + frames[0].split(" (")[0].split("+0x")[0] + "`"
        elif "exc_page_fault" in text:
            where = "page faults (kernel)"
        elif "ksys_read" in text or "read (" in user:
            where = "read(2) (kernel)"
        elif "writev" in text:
            where = "writev(2) (kernel)"
        elif "asm_sysvec_" in text or "asm_common_interrupt" in text:
            where = "interrupts (kernel)"
        else:
            where = "other kernel work"
        counts[where] = counts.get(where, 0) + 1
    total = sum(counts.values())
    if total == 0:
        return None
    return sorted(((100 * n / total, where) for where, n in counts.items()), reverse=True)


def measure_touch(tools, size, rounds):
    small, huge = [], []
    for _ in range(rounds):
        out = subprocess.run([tools["touch"], str(size)], stdout=subprocess.PIPE,
                             check=True).stdout.decode().split()
        values = dict(zip(out[0::2], map(float, out[1::2])))
        small.append(values["small"])
        huge.append(values["huge"])
    return statistics.median(small), statistics.median(huge)


# Reporting ------------------------------------------------------------------

def median(values):
    return statistics.median(values)


def ratio_median(numerators, denominators):
    return median([a / b for a, b in zip(numerators, denominators)])


def mib(n):
    return f"{n / MIB:.1f} MiB"


def size_text(n):
    if n % GIB == 0:
        return f"{n // GIB} GiB"
    if n % MIB == 0:
        return f"{n // MIB} MiB"
    return f"{n} bytes"


def ratio_cell(numerators, denominators):
    """The median per-round ratio, and the range of the per-round ratios."""
    ratios = [a / b for a, b in zip(numerators, denominators)]
    return f"{median(ratios):.2f} (rounds {min(ratios):.2f}–{max(ratios):.2f})"


def verdict(value, limit, unit="", rounds=None):
    """Met or missed, by the median; says so when some rounds fall on the
    other side of the target."""
    above = sum(1 for r in rounds if r > limit) if rounds else 0
    if value <= limit:
        if above:
            return f"met, at the edge: {above} of {len(rounds)} rounds above"
        return "met"
    return f"**missed** by {100 * (value / limit - 1):.0f}% ({value:.2f}{unit} against {limit:.2f}{unit})"


def machine_lines(settings):
    model = "unknown"
    try:
        for line in pathlib.Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    try:
        thp = pathlib.Path("/sys/kernel/mm/transparent_hugepage/enabled").read_text().strip()
    except OSError:
        thp = "unknown"
    memory = "unknown"
    try:
        for line in pathlib.Path("/proc/meminfo").read_text().splitlines():
            if line.startswith("MemTotal"):
                memory = f"{int(line.split()[1]) // 1024} MiB"
    except OSError:
        pass
    compiler = subprocess.run(["gcc", "--version"], stdout=subprocess.PIPE).stdout.decode().split("\n")[0]
    load = settings.start_load
    end = os.getloadavg()
    return [
        f"- Date: {datetime.datetime.now().strftime('%Y-%m-%d %H:%M')}",
        f"- CPU: {model}, `nproc` = {os.cpu_count()}",
        f"- Memory: {memory}; transparent huge pages: `{thp}`",
        f"- Kernel: {platform.system()} {platform.release()} ({platform.machine()})",
        f"- Compiler: {compiler}; C library: {' '.join(platform.libc_ver())}",
        f"- Load average (1, 5, 15 minutes) at the start: {load[0]:.2f} {load[1]:.2f} "
        f"{load[2]:.2f}; at the end: {end[0]:.2f} {end[1]:.2f} {end[2]:.2f}.  Other work "
        f"on the machine shows in the figures: the load says how much there was.",
    ]


def per_round(runs):
    return " ".join(f"{run['seconds']:.2f}" for run in runs)


def profile_text(profile, top=5):
    return ", ".join(f"{share:.0f}% {where}" for share, where in profile[:top])


def big_time_row(rows, settings, case, title, placement, runs, profiles, touch):
    """Appends the time row of one big input in one placement to `rows`;
    returns the notes on a target missed or at its edge."""
    g, c = runs["game"], runs["cat"]
    game_s = [x["seconds"] for x in g]
    cat_s = [x["seconds"] for x in c]
    rounds = [a / b for a, b in zip(game_s, cat_s)]
    r = median(rounds)
    judged = placement == JUDGED_PLACEMENT
    rows.append(f"| {title}: time, {placement} | {median(game_s):.2f} s | `cat` "
                f"{median(cat_s):.2f} s | {ratio_cell(game_s, cat_s)} | "
                + (f"≤ {BIG_TIME_RATIO} | {verdict(r, BIG_TIME_RATIO, 'x', rounds)} |"
                   if judged else "(for reference) | |"))
    if not judged or max(rounds) <= BIG_TIME_RATIO:
        return []
    where = (f"{100 * (r / BIG_TIME_RATIO - 1):.0f}% over the target "
             f"({median(game_s) - median(cat_s):.2f} s more)"
             if r > BIG_TIME_RATIO else
             f"at the edge of the target (rounds up to {max(rounds):.2f})")
    note = (
        f"- **{title}, time, {placement}**: {r:.2f}x `cat`, {where}.  The game spent "
        f"{median([x['user'] for x in g]):.2f} s in user mode and "
        f"{median([x['system'] for x in g]):.2f} s in the kernel, with "
        f"{median([x['faults'] for x in g]):.0f} minor page faults; `cat` "
        f"{median([x['user'] for x in c]):.2f} s, {median([x['system'] for x in c]):.2f} s "
        f"and {median([x['faults'] for x in c]):.0f}.")
    if profiles.get(case.key):
        note += (f"  Where the game's time goes (`perf record`, "
                 f"{size_text(settings.profile_size)} input): "
                 f"{profile_text(profiles[case.key])}.")
    if case.key == "name" and touch:
        size = settings.size
        small, huge = touch[0] / median(cat_s), touch[1] / median(cat_s)
        note += (
            f"  Keeping the name means writing {size_text(size)} of fresh memory, and on "
            f"this machine first touching {size_text(size)} of fresh memory alone takes "
            f"{touch[0]:.2f} s with 4 KiB pages ({touch[1]:.2f} s with transparent huge "
            f"pages asked for by `madvise`), {small:.1f}x ({huge:.1f}x) the "
            f"{median(cat_s):.2f} s `cat` takes for the whole pipeline.")
        if huge > BIG_TIME_RATIO:
            note += (f"  Page faults and fresh memory dominate: no program that keeps "
                     f"the whole name in memory can meet {BIG_TIME_RATIO}x `cat` here.")
        elif small > BIG_TIME_RATIO:
            note += (f"  Page faults and fresh memory dominate: with 4 KiB pages no "
                     f"program that keeps the whole name in memory can meet "
                     f"{BIG_TIME_RATIO}x `cat` here; huge pages would bring the first "
                     f"touch alone under it.")
    return [note]


def report(settings, whole, whole_faults, big, profiles, touch):
    out = ["# Benchmark results", "",
           "Written by `python3 bench/run.py --write`; bench/README.md says what each "
           "benchmark measures.  The game is the default build: Release, statically "
           "linked (static PIE).", "", "## Machine", ""]
    out += machine_lines(settings)
    out += ["", "## Settings", "",
            f"- Whole game: {settings.rounds} rounds of {settings.starts} starts of every "
            f"program, the programs taking turns start by start (the order of the turn "
            f"rotated every round), after one untimed warm-up start each; a round's figure "
            f"is the mean time of its starts.",
            f"- Big inputs: {size_text(settings.size)} each, generated on the fly into a pipe; "
            f"only {settings.big_rounds} rounds, as one run takes seconds; game and `cat` "
            f"alternating, the first of the two swapped every round.  The time is the whole "
            f"pipeline's (generator and reader), the peak RSS the reader's alone.",
            "- Each big input is timed with both ends of the pipe on one CPU, and on two "
            "CPUs.  On one CPU the two ends' work adds up, so the time shows all the work "
            "of reading; the figures hold steady from run to run, and the targets are "
            "judged there.  On two CPUs the ends overlap, every hand-over of the pipe "
            "wakes the other CPU, and any other work on the machine stalls the pipe: on "
            "an idle machine `cat` is then about twice as slow as on one CPU, under load "
            "several times slower.  Those rows are for reference only.",
            "- Every figure is the median over the rounds; a ratio is the median of the "
            "per-round ratios of the two programs.", ""]

    rows, notes = [], []
    if whole:
        game, limit = whole["igra static"], whole["C limit static"]
        r = ratio_median(game, limit)
        rounds = [a / b for a, b in zip(game, limit)]
        rows.append(f"| whole game, per start | {median(game) * 1e6:.0f} µs | C limit "
                    f"{median(limit) * 1e6:.0f} µs | {ratio_cell(game, limit)} | "
                    f"≤ {WHOLE_GAME_RATIO} | {verdict(r, WHOLE_GAME_RATIO, 'x', rounds)} |")
        if max(rounds) > WHOLE_GAME_RATIO:
            where = (f"{100 * (r / WHOLE_GAME_RATIO - 1):.0f}% over the target"
                     if r > WHOLE_GAME_RATIO else
                     f"at the edge of the target (rounds up to {max(rounds):.2f})")
            notes.append(
                f"- **Whole game**: {r:.2f}x the limit, {where}; "
                f"the static game takes {(median(game) - median(limit)) * 1e6:.0f} µs "
                f"per start more than the C limit, of a start that costs "
                f"{median(limit) * 1e6:.0f} µs even for the C limit on this machine.  The "
                f"process start-up section below takes the difference apart.")
    for case, by_placement in big:
        size = settings.size
        title = case.title.replace("SIZE", size_text(size))
        for placement, runs in by_placement.items():
            notes += big_time_row(rows, settings, case, title, placement, runs, profiles, touch)
        every = [run for runs in by_placement.values() for run in runs["game"]]
        rss = max(x["rss"] for x in every)
        cat_rss = max(x["rss"] for runs in by_placement.values() for x in runs["cat"])
        limit = case.rss_limit(size)
        limit_text = (f"≤ {NAME_RSS_FACTOR} × name + 8 MiB = {mib(limit)}"
                      if case.key == "name" else f"≤ {mib(limit)}")
        rss_verdict = "met" if rss <= limit else (
            f"**missed** by {mib(rss - limit)} ({100 * (rss / limit - 1):.0f}%)")
        rows.append(f"| {title}: peak RSS (largest of all runs) | {mib(rss)} | `cat` "
                    f"{mib(cat_rss)} | {rss / limit:.2f} of the target | "
                    f"{limit_text} | {rss_verdict} |")
        if rss > limit:
            notes.append(f"- **{title}, memory**: a peak of {mib(rss)} against {mib(limit)}.")
    out += ["## Summary", "",
            "| Benchmark | Game | Reference | Game / reference | Target | Result |",
            "|---|---|---|---|---|---|"] + rows + [""]
    if notes:
        out += ["## Targets missed or at the edge", ""] + notes + [""]

    if whole:
        out += ["## Process start-up", "",
                "A whole scripted game is mostly process start-up.  Per start of "
                "`program < examples/win.txt > /dev/null`:", "",
                "| Program | Per start | Over the static C limit | Ratio to the static C limit "
                "| Minor page faults | Per round |",
                "|---|---|---|---|---|---|"]
        base = whole["C limit static"]
        for name, values in whole.items():
            out.append(f"| {name} | {median(values) * 1e6:.0f} µs | "
                       f"{(median(values) - median(base)) * 1e6:+.0f} µs | "
                       f"{ratio_median(values, base):.2f} | {whole_faults[name]:.0f} | "
                       f"{' '.join(f'{v * 1e6:.0f}' for v in values)} |")

        def extra(slower, faster):
            return (median(whole[slower]) - median(whole[faster])) * 1e6

        pie = extra("C limit static-pie", "C limit static")
        lines = extra("C limit static, one write per line", "C limit static")
        game_extra = extra("igra static", "C limit static")
        out += ["",
                "- The game is linked statically by default (`-DIGRA_STATIC=OFF` links it "
                "dynamically).",
                f"- Dynamic linking costs the game {extra('igra dynamic', 'igra static'):.0f} µs "
                f"per start ({ratio_median(whole['igra dynamic'], whole['igra static']):.2f}x the "
                f"static game): the loader maps and relocates libstdc++, libm, libgcc_s and "
                f"libc.  For a plain C program the loader and libc alone cost "
                f"{extra('C limit dynamic', 'C limit static'):.0f} µs.",
                f"- The static game costs {game_extra:.0f} µs per start more than the static C "
                f"limit.  The last two rows take it apart: linking the C limit as a static PIE "
                f"(as the game is) changes its start by {pie:+.0f} µs; writing its output in "
                f"{settings.output_lines} writes, one per line (the game makes one write per "
                f"line or prompt), by {lines:+.0f} µs.  The rest, {game_extra - pie - lines:.0f} "
                f"µs, is the game's larger image (more pages to map and fault in: "
                f"{whole_faults['igra static']:.0f} minor faults against "
                f"{whole_faults['C limit static']:.0f}), the C++ runtime's start-up and the "
                f"game's own work.",
                ""]

    if big:
        out += ["## Big inputs in detail", "",
                "Medians over the rounds; user, kernel and faults are those of the reading "
                "process alone, the time is the whole pipeline's.", "",
                "| Case | Pipe on | Program | Time | Per round | User | Kernel | Minor faults "
                "| Peak RSS (largest) |",
                "|---|---|---|---|---|---|---|---|---|"]
        for case, by_placement in big:
            for placement, runs in by_placement.items():
                for who in ("game", "cat"):
                    rs = runs[who]
                    out.append(
                        f"| {case.key} | {placement} | "
                        f"{'igra static' if who == 'game' else 'cat'} | "
                        f"{median([x['seconds'] for x in rs]):.2f} s | "
                        f"{per_round(rs)} | "
                        f"{median([x['user'] for x in rs]):.2f} s | "
                        f"{median([x['system'] for x in rs]):.2f} s | "
                        f"{median([x['faults'] for x in rs]):.0f} | "
                        f"{mib(max(x['rss'] for x in rs))} |")
        out.append("")
        if any(profiles.values()):
            out += [f"Where the game's time goes on each big input, by `perf record -g` of the "
                    f"game alone on a {size_text(settings.profile_size)} input: the share of "
                    f"samples in each function of the game (and the C library linked into it), "
                    f"and in the kernel in page faults, in read(2) (with waiting for the "
                    f"pipe), in interrupts, elsewhere:", ""]
            for case, _ in big:
                if profiles.get(case.key):
                    out.append(f"- {case.key}: {profile_text(profiles[case.key], 6)}")
            out.append("")
    if touch:
        out += ["## First touch of fresh memory", "",
                f"`build/bench-tools/touch {settings.size}` (bench/touch.c) writes one byte in "
                f"every 4 KiB page of {size_text(settings.size)} of freshly mapped memory; "
                f"median of {settings.big_rounds} runs:", "",
                f"- 4 KiB pages: {touch[0]:.2f} s",
                f"- transparent huge pages asked for with `madvise`: {touch[1]:.2f} s", ""]
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--write", action="store_true", help=f"also write {RESULTS.relative_to(ROOT)}")
    parser.add_argument("--rounds", type=int, default=7, help="whole-game rounds (default 7)")
    parser.add_argument("--starts", type=int, default=300,
                        help="starts of each program per whole-game round (default 300)")
    parser.add_argument("--big-rounds", type=int, default=3,
                        help="rounds of each big-input benchmark, in each placement (default 3)")
    parser.add_argument("--size", type=int, default=GIB,
                        help="bytes of the long name, junk line, blank lines (default 1 GiB)")
    parser.add_argument("--profile-size", type=int, default=256 * MIB,
                        help="bytes of the big inputs in the perf profiles (default 256 MiB; "
                             "0: no profiles)")
    parser.add_argument("--only", choices=["whole", "name", "junk", "blank", "touch"], action="append",
                        help="run only these benchmarks (repeatable; not with --write)")
    settings = parser.parse_args()
    if settings.write and settings.only:
        parser.error("--write records every benchmark: leave out --only")
    wanted = set(settings.only or ["whole", "name", "junk", "blank", "touch"])
    started = time.perf_counter()
    settings.start_load = os.getloadavg()

    print("bench: building", file=sys.stderr)
    expected = winning_output()
    game_static = build_game(BUILD_STATIC, static=True)
    game_dynamic = build_game(BUILD_DYNAMIC, static=False)
    tools = build_tools(expected)
    programs = {
        "igra static": game_static,
        "igra dynamic": game_dynamic,
        "C limit static": tools["limit-static"],
        "C limit dynamic": tools["limit-dynamic"],
        "C limit static-pie": tools["limit-static-pie"],
        "C limit static, one write per line": tools["limit-lines"],
    }
    check_whole_game(programs, expected)
    settings.output_lines = expected.count(b"\n")
    cases = [c for c in big_cases(expected) if c.key in wanted]
    for case in cases:
        check_big_case(case, tools["gen"], game_static)

    whole = whole_faults = None
    if "whole" in wanted:
        print("bench: whole game", file=sys.stderr)
        whole, whole_faults = measure_whole_game(tools, programs, settings.rounds, settings.starts)
    big = []
    cat = shutil.which("cat")
    for case in cases:
        print(f"bench: {case.key}", file=sys.stderr)
        big.append((case, measure_big_case(tools, case, game_static, cat,
                                           settings.size, settings.big_rounds)))
    profiles = {}
    if settings.profile_size:
        for case in cases:
            print(f"bench: profiling {case.key}", file=sys.stderr)
            profiles[case.key] = profile_case(case, tools, game_static, settings.profile_size)
    touch = None
    if "touch" in wanted:
        print("bench: first touch of fresh memory", file=sys.stderr)
        touch = measure_touch(tools, settings.size, settings.big_rounds)

    text = report(settings, whole, whole_faults, big, profiles, touch)
    print(text)
    print(f"bench: done in {time.perf_counter() - started:.0f} s", file=sys.stderr)
    if settings.write:
        RESULTS.write_text(text)
        print(f"bench: wrote {RESULTS.relative_to(ROOT)}", file=sys.stderr)


if __name__ == "__main__":
    main()
