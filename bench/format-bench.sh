#!/usr/bin/env bash
# The command line's JSON and CSV documents of the benchmark tree against the sized text
# report, which reads as much (one `fstatat` per file), and against `find -printf` giving the
# same fields: time, processor time and peak memory. Prints a Markdown table to stdout;
# progress and build logs go to stderr.
#
# Environment:
#   BENCH_DIR=/tmp/tarvel-bench-tree   the listing benchmark's tree (made if missing)
#   RUNS=10                            timed runs per command
set -euo pipefail
[[ -x /usr/bin/time ]] || { echo "GNU time is required: apt-get install -y time" >&2; exit 1; }

# shellcheck source=bench/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build=$repo/build-bench-format

bench_build "$build" tarvelinquistombrel-cli
cli=$build/bin/tarvelinquistombrel-cli
bench_tree

# The commands take turns, run after run, so that a load that comes and goes on the machine
# falls on each alike; each run's processor time comes from wait4, the peak memory from one
# more run under GNU time (the forked child's own figure would count the Python it began as).
log "timing $runs interleaved runs per command"
python3 - "$runs" "$cli" "$dir" <<'PY'
import os, statistics, subprocess, sys, time
runs, cli, root = int(sys.argv[1]), sys.argv[2], sys.argv[3]
commands = [
    ("tarvelinquistombrel-cli --sizes DIR", [cli, "--sizes", root]),
    ("tarvelinquistombrel-cli --format=json DIR", [cli, "--format=json", root]),
    ("tarvelinquistombrel-cli --format=csv DIR", [cli, "--format=csv", root]),
    ("find DIR -printf '%y,%s,%T@,%p\\n'", ["find", root, "-printf", "%y,%s,%T@,%p\\n"]),
]
wall, cpu, peak = ({name: [] for name, _ in commands} for _ in range(3))
for run in range(runs + 1):  # the first round warms up
    for name, argv in commands:
        start = time.perf_counter()
        child = subprocess.Popen(argv, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        elapsed = time.perf_counter() - start
        assert os.waitstatus_to_exitcode(status) == 0, name
        if run == 0:
            continue
        wall[name].append(elapsed)
        cpu[name].append(usage.ru_utime + usage.ru_stime)
for name, argv in commands:
    measured = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, text=True, check=True)
    peak[name] = int(measured.stderr.split()[-1])
text, find = commands[0][0], commands[-1][0]
median = lambda values: statistics.median(values)
print("| Command | Median time | Ratio to `--sizes` | Ratio to `find` | Median CPU (user + system) "
      "| CPU ratio to `--sizes` | CPU ratio to `find` | Peak memory |")
print("|---|---|---|---|---|---|---|---|")
for name, _ in commands:
    print(f"| `{name}` | {median(wall[name]) * 1000:.0f} ms "
          f"| {median(wall[name]) / median(wall[text]):.2f} "
          f"| {median(wall[name]) / median(wall[find]):.2f} "
          f"| {median(cpu[name]) * 1000:.0f} ms | {median(cpu[name]) / median(cpu[text]):.2f} "
          f"| {median(cpu[name]) / median(cpu[find]):.2f} | {peak[name] / 1024:.1f} MiB |")
PY
echo
echo "JSON and CSV: $summary. Warm page cache, $runs runs of each in turn after one round of"
echo "warm-up, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)."
