#!/usr/bin/env python3
"""Turn a hyperfine JSON export into Markdown tables and add memory figures.

Usage: report.py HYPERFINE_JSON HEADER COMMAND...

COMMAND are the command lines given to hyperfine, in the same order.  Each
one is run once more to record its peak RSS and the size of what it prints.
"""

import json
import os
import shlex
import statistics
import subprocess
import sys
import tempfile

TIME = "/usr/bin/time"

# (label, numerator index, denominator index) into the command list
RATIOS = [
    ("default CLI / find", 0, 2),
    ("default CLI / ls -R -a", 0, 4),
    ("sized CLI / find -printf", 1, 3),
    ("default CLI / tree -a", 0, 5),
    ("sized CLI / tree -a", 1, 5),
]


def peak_rss_and_output(argv):
    """Peak RSS in KiB and stdout size in bytes of one run of argv."""
    with tempfile.NamedTemporaryFile("r") as rss:
        if os.access(TIME, os.X_OK):
            argv = [TIME, "-f", "%M", "-o", rss.name] + argv
        proc = subprocess.Popen(argv, stdout=subprocess.PIPE)
        size = 0
        while chunk := proc.stdout.read(1 << 16):
            size += len(chunk)
        _, status, usage = os.wait4(proc.pid, 0)
        proc.returncode = os.waitstatus_to_exitcode(status)
        if proc.returncode != 0:
            raise SystemExit(f"{argv} exited with {proc.returncode}")
        kib = int(rss.read().split()[-1]) if argv[0] == TIME else usage.ru_maxrss
    return kib, size


def main():
    json_path, header, commands = sys.argv[1], sys.argv[2], sys.argv[3:]
    with open(json_path, encoding="utf-8") as f:
        results = json.load(f)["results"]
    assert len(results) == len(commands), "one command per hyperfine result"

    median = [statistics.median(r["times"]) * 1000 for r in results]
    print(header)
    print()
    print("| Command | Median (ms) | Min (ms) | Max (ms) | Runs |")
    print("|---|--:|--:|--:|--:|")
    for r, med in zip(results, median):
        print(f"| `{r['command']}` | {med:.1f} | {min(r['times']) * 1000:.1f} "
              f"| {max(r['times']) * 1000:.1f} | {len(r['times'])} |")
    print()
    print("| Ratio of medians | Value |")
    print("|---|--:|")
    for label, a, b in RATIOS:
        print(f"| {label} | {median[a] / median[b]:.2f} |")
    print()
    print("| Command | Peak RSS (KiB) | Output (bytes) | Peak RSS / output |")
    print("|---|--:|--:|--:|")
    for r, cmd in zip(results, commands):
        kib, size = peak_rss_and_output(shlex.split(cmd))
        ratio = f"{kib * 1024 / size:.2f}" if size else "n/a"
        print(f"| `{r['command']}` | {kib} | {size} | {ratio} |")


if __name__ == "__main__":
    main()
