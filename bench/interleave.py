#!/usr/bin/env python3
"""Time commands taking turns, run after run, and report wall and processor time.

Usage: interleave.py RUNS JSON_OUT NAME COMMAND [NAME COMMAND]...

Each COMMAND is a shell-quoted command line (split with shlex, run without a shell, its
output thrown away). After one round of warm-up, every round runs each command once, in
turn, so that a load that comes and goes on a shared machine falls on all of them alike.
The wall time of each run is measured here, its processor time (user and system) comes
from wait4. Writes, per command, the lists of times (seconds) to JSON_OUT.
"""

import json
import os
import shlex
import subprocess
import sys
import time


def run_once(argv):
    """Wall, user and system seconds of one run of argv."""
    start = time.perf_counter()
    child = subprocess.Popen(argv, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{argv} failed")
    return wall, usage.ru_utime, usage.ru_stime


def main():
    runs, out, pairs = int(sys.argv[1]), sys.argv[2], sys.argv[3:]
    if not pairs or len(pairs) % 2:
        raise SystemExit(__doc__)
    commands = [(pairs[i], shlex.split(pairs[i + 1])) for i in range(0, len(pairs), 2)]
    results = {name: {"wall": [], "user": [], "system": []} for name, _ in commands}
    for round_ in range(runs + 1):
        for name, argv in commands:
            wall, user, system = run_once(argv)
            if round_ == 0:
                continue
            results[name]["wall"].append(wall)
            results[name]["user"].append(user)
            results[name]["system"].append(system)
        print(f"round {round_}/{runs}", file=sys.stderr, end="\r")
    print(file=sys.stderr)
    with open(out, "w", encoding="utf-8") as f:
        json.dump([{"name": name, **results[name]} for name, _ in commands], f)


if __name__ == "__main__":
    main()
