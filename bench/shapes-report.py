#!/usr/bin/env python3
"""Ratios of the other shapes' timings, and the wide folder's peak memory.

Usage: shapes-report.py TIMES_JSON CLI WIDE_FOLDER

The timings (interleave.py's) hold, in this order, pairs of (ours, peer) commands, as
run-bench.sh times them. The wide folder is then listed with sizes, with and without its subfolders, three
times each, and the largest peak RSS of each is compared.
"""

import json
import statistics
import subprocess
import sys
import tempfile

TIME = "/usr/bin/time"  # GNU time: the peak RSS of one command

# (what is measured, target ratio), one per pair of commands in the export
PAIRS = [
    ("chain of 2,000 folders, one-letter names: listing / `find`", 1.0),
    ("chain of 2,000 folders, 200-byte names: listing / `find`", 1.0),
    ("200,000 files in one folder: default listing / `find`", 0.9),
    ("200,000 files in one folder: sized listing / `find -printf '%s %p\\n'`", 0.8),
]


def peak_rss(argv):
    """Largest peak RSS in KiB of three runs of argv, output thrown away."""
    peaks = []
    for _ in range(3):
        with tempfile.NamedTemporaryFile("r") as rss:
            subprocess.run([TIME, "-f", "%M", "-o", rss.name] + argv, check=True,
                           stdout=subprocess.DEVNULL)
            peaks.append(int(rss.read().split()[-1]))
    return max(peaks)


def main():
    json_path, cli, wide = sys.argv[1:4]
    with open(json_path, encoding="utf-8") as f:
        results = json.load(f)
    median = [statistics.median(r["wall"]) * 1000 for r in results]
    cpu = [statistics.median([u + s for u, s in zip(r["user"], r["system"])]) * 1000
           for r in results]
    print("| Measure | Ours (ms) | Peer (ms) | Ratio | Target | CPU ours (ms) | CPU peer (ms) "
          "| CPU ratio |")
    print("|---|--:|--:|--:|--:|--:|--:|--:|")
    for i, (label, target) in enumerate(PAIRS):
        ours, peer = median[2 * i], median[2 * i + 1]
        print(f"| {label} | {ours:.1f} | {peer:.1f} | {ours / peer:.2f} | ≤ {target} "
              f"| {cpu[2 * i]:.1f} | {cpu[2 * i + 1]:.1f} | {cpu[2 * i] / cpu[2 * i + 1]:.2f} |")
    print()
    sized = peak_rss([cli, "--sizes", wide])
    alone = peak_rss([cli, "--sizes", "--no-subfolders", wide])
    print("| Peak RSS, 100,000 empty subfolders | KiB |")
    print("|---|--:|")
    print(f"| `--sizes DIR` | {sized} |")
    print(f"| `--sizes --no-subfolders DIR` | {alone} |")
    print(f"| ratio (target ≤ 1.3) | {sized / alone:.2f} |")


if __name__ == "__main__":
    main()
