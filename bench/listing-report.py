#!/usr/bin/env python3
"""Markdown tables from interleave.py's timings, and the peak memory of commands.

Usage:
  listing-report.py times JSON [LABEL NUMERATOR DENOMINATOR]...
      medians of wall and processor time per command, then each ratio of medians asked for
      (NUMERATOR and DENOMINATOR name commands of JSON), in wall and in processor time
  listing-report.py scaling SMALL_JSON BIG_JSON NAME...
      how each named command's medians grow from the small tree to the big one
  listing-report.py memory NAME COMMAND [NAME COMMAND]...
      peak RSS and output size of one more run of each command (shell-quoted)
"""

import json
import os
import shlex
import statistics
import subprocess
import sys
import tempfile

TIME = "/usr/bin/time"  # GNU time: the peak RSS of one command


def load(path):
    """{name: (median wall ms, median cpu ms, median user ms, median system ms, runs)}."""
    with open(path, encoding="utf-8") as f:
        results = json.load(f)
    table = {}
    for r in results:
        cpu = [u + s for u, s in zip(r["user"], r["system"])]
        table[r["name"]] = (statistics.median(r["wall"]) * 1000, statistics.median(cpu) * 1000,
                            statistics.median(r["user"]) * 1000,
                            statistics.median(r["system"]) * 1000, len(r["wall"]))
    return table


def times(path, ratios):
    table = load(path)
    print("| Command | Wall, median (ms) | CPU user + system, median (ms) | User (ms) | System (ms) "
          "| Runs |")
    print("|---|--:|--:|--:|--:|--:|")
    for name, (wall, cpu, user, system, runs) in table.items():
        print(f"| `{name}` | {wall:.1f} | {cpu:.1f} | {user:.1f} | {system:.1f} | {runs} |")
    if ratios:
        print()
        print("| Ratio of medians | Wall | CPU (user + system) |")
        print("|---|--:|--:|")
        for i in range(0, len(ratios), 3):
            label, a, b = ratios[i:i + 3]
            print(f"| {label} | {table[a][0] / table[b][0]:.2f} | {table[a][1] / table[b][1]:.2f} |")


def scaling(small_path, big_path, names):
    small, big = load(small_path), load(big_path)
    print("| Command | Wall, small (ms) | Wall, big (ms) | Big / small, wall "
          "| CPU, small (ms) | CPU, big (ms) | Big / small, CPU |")
    print("|---|--:|--:|--:|--:|--:|--:|")
    for name in names:
        (ws, cs, *_), (wb, cb, *_) = small[name], big[name]
        print(f"| `{name}` | {ws:.1f} | {wb:.1f} | {wb / ws:.2f} | {cs:.1f} | {cb:.1f} "
              f"| {cb / cs:.2f} |")


def peak_rss_and_output(argv):
    """Peak RSS in KiB and stdout size in bytes of one run of argv."""
    with tempfile.NamedTemporaryFile("r") as rss:
        proc = subprocess.Popen([TIME, "-f", "%M", "-o", rss.name] + argv,
                                stdout=subprocess.PIPE)
        size = 0
        while chunk := proc.stdout.read(1 << 16):
            size += len(chunk)
        if proc.wait() != 0:
            raise SystemExit(f"{argv} exited with {proc.returncode}")
        return int(rss.read().split()[-1]), size


def memory(pairs):
    print("| Command | Peak RSS (KiB) | Output (bytes) | Peak RSS / output |")
    print("|---|--:|--:|--:|")
    for i in range(0, len(pairs), 2):
        kib, size = peak_rss_and_output(shlex.split(pairs[i + 1]))
        ratio = f"{kib * 1024 / size:.2f}" if size else "n/a"
        print(f"| `{pairs[i]}` | {kib} | {size} | {ratio} |")


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    mode, args = sys.argv[1], sys.argv[2:]
    if mode == "times" and len(args) % 3 == 1:
        times(args[0], args[1:])
    elif mode == "scaling" and len(args) >= 3:
        scaling(args[0], args[1], args[2:])
    elif mode == "memory" and len(args) % 2 == 0 and os.access(TIME, os.X_OK):
        memory(args)
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main()
