#!/usr/bin/env python3
"""Runs commands side by side as whole processes and prints their medians.

    race.py [--runs N] [--warmup W] NAME=COMMAND...

COMMAND is one shell-quoted command line (bash's printf %q output splits back with shlex). Every
round runs each command once; the first W rounds warm the caches and are not timed, then N
rounds are. Each round runs the commands in an order of its own, shuffled with a fixed seed, so
that no command always runs right after the same neighbour: a command that follows a large
process (matplotlib's, tens of MiB and half a second of one core) runs slower, its memory and
caches cold. Turning the order by one place each round would not do: the commands keep their
neighbours in a circle, and the one after the heaviest pays for it in almost every round. A timed run is started with posix_spawn,
its standard output and error go to /dev/null, its wall time is taken with perf_counter_ns
around spawn and wait, and its CPU time (user + system, in microseconds) comes from wait4's
rusage.

Peak resident memory comes from the warm-up runs, each under /usr/bin/time: a process spawned
from this one starts inside Python's address space, and the kernel counts that space in the
child's peak (ru_maxrss), so the timed runs' own figure would never be below Python's size.
With --warmup 0 (for commands that run for minutes) the timed runs themselves go through
/usr/bin/time, whose start then counts in their times.

Prints one line per command, in the order given:
    NAME WALL_MS CPU_MS PEAK_MIB
(medians; milliseconds with one decimal, MiB whole). A command that exits with a failure or a
signal stops the race with exit status 1 and the command on standard error.
"""

import argparse
import os
import random
import shlex
import shutil
import statistics
import sys
import tempfile
import time

TIME = "/usr/bin/time"


def parse_commands(items):
    commands = {}
    for item in items:
        name, sep, line = item.partition("=")
        if not sep or not name or not line:
            sys.exit(f"race.py: expected NAME=COMMAND, got {item!r}")
        argv = shlex.split(line)
        program = shutil.which(argv[0])
        if program is None:
            sys.exit(f"race.py: {argv[0]}: command not found")
        commands[name] = (program, argv)
    return commands


def spawn_and_wait(program, argv, quiet_actions, shown):
    """Runs one process to its end: (wall ns, rusage). Stops the race when it fails."""
    start = time.perf_counter_ns()
    pid = os.posix_spawn(program, argv, os.environ, file_actions=quiet_actions)
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter_ns() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.stderr.write("failed: " + shlex.join(shown) + "\n")
        sys.exit(1)
    return wall, usage


def timed_run(program, argv, quiet_actions):
    """(wall ns, CPU us) of one run."""
    wall, usage = spawn_and_wait(program, argv, quiet_actions, argv)
    return wall, round((usage.ru_utime + usage.ru_stime) * 1e6)


def run_with_peak(program, argv, quiet_actions, report):
    """One run under /usr/bin/time: (wall ns, CPU us, the command's own peak in KiB); the wall
    and CPU times include /usr/bin/time's start, about a millisecond."""
    wall, usage = spawn_and_wait(
        TIME, [TIME, "-f", "%M", "-o", report, program] + argv[1:], quiet_actions, argv
    )
    with open(report) as f:
        peak = int(f.read().split()[-1])
    return wall, round((usage.ru_utime + usage.ru_stime) * 1e6), peak


def race(commands, runs, warmup):
    """Per command: a list of (wall ns, CPU us) of the timed runs, and a list of peaks in KiB."""
    names = list(commands)
    timed = {name: [] for name in names}
    peaks = {name: [] for name in names}
    quiet = [
        (os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
        (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0),
    ]
    order = random.Random(20261207)
    with tempfile.TemporaryDirectory() as folder:
        report = os.path.join(folder, "peak")
        for round_index in range(warmup + runs):
            for name in order.sample(names, len(names)):
                program, argv = commands[name]
                if round_index < warmup or warmup == 0:
                    wall, cpu, peak = run_with_peak(program, argv, quiet, report)
                    peaks[name].append(peak)
                    if warmup == 0:
                        timed[name].append((wall, cpu))
                else:
                    timed[name].append(timed_run(program, argv, quiet))
    return timed, peaks


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--warmup", type=int, default=1)
    parser.add_argument("commands", nargs="+", metavar="NAME=COMMAND")
    options = parser.parse_args()
    if options.runs < 1 or options.warmup < 0:
        sys.exit("race.py: --runs must be at least 1 and --warmup at least 0")
    if not os.access(TIME, os.X_OK):
        sys.exit(f"race.py: {TIME} is missing (apt-get install time)")
    commands = parse_commands(options.commands)
    timed, peaks = race(commands, options.runs, options.warmup)
    for name in commands:
        wall = statistics.median(r[0] for r in timed[name]) / 1e6
        cpu = statistics.median(r[1] for r in timed[name]) / 1e3
        peak = statistics.median(peaks[name]) / 1024
        print(f"{name} {wall:.1f} {cpu:.1f} {peak:.0f}")


if __name__ == "__main__":
    main()
