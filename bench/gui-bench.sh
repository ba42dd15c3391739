#!/usr/bin/env bash
# The window's benchmarks, offscreen: start-up to the window shown; "Extraction" on the
# listing benchmark's tree from the click to the report shown, against the command-line
# program on the same tree, and the longest time the window went without painting meanwhile;
# "&Quitter" in the middle of that walk to the process gone; the peak memory of the window after
# an Extraction of a tree of 1,000,000 entries, against the report's size; the pane receiving a
# report of 5,000,000 characters. Then "&Quitter" at several moments of an Extraction of "/",
# the last while its report goes into the pane, to the process gone; the longest time without a
# repaint when a new selection interrupts the folder size of a folder of 300,000 files on tmpfs; and, under Xvfb, "Copier"
# after an Extraction of the 1,000,000 entries and a paste of it by another program (xclip).
# Prints Markdown tables to stdout; progress and build logs go to stderr.
#
# It first waits for a quiet machine (bench_wait_for_quiet in common.sh) and says what it found.
# Extraction is timed against the command-line program run after run, taking turns (and beside
# an earlier build, OLD_BUILD), so that a load that comes and goes falls on all alike; each
# gives its wall time and its processor time (user + system, every thread).
#
# Environment:
#   BENCH_DIR=/tmp/tarvel-bench-tree          the listing benchmark's tree (made if missing)
#   BENCH_BIG_DIR=/tmp/tarvel-bench-tree-1m   the tree of 1,000,000 entries (made if missing)
#   BENCH_WIDE_DIR=/dev/shm/tarvel-bench-wide  wide/ (300,000 files), small/ (made if missing)
#   RUNS=10                                   timed runs per measure (RUNS_BIG=5 on the
#                                             tree of 1,000,000 entries)
#   OLD_BUILD=DIR                             the bin/ folder of an earlier build, timed beside
#                                             this one (its tarvel_gui_bench built from this
#                                             GuiBench.cpp, and its tarvelinquistombrel-cli)
#   QUIET_LOAD=1 QUIET_WAIT=600               what counts as quiet, how long to wait for it
#   QUIT_DIRS="/ BENCH_BIG_DIR/root"          the folders of the quit measures
#   QUIT_RUNS=3                               runs of each quit measure
#   PARTS="window quit paste"                 which measures to make
set -euo pipefail

# shellcheck source=bench/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_need_hyperfine
build=$repo/build-bench-gui

bench_build "$build" tarvel_gui_bench tarvelinquistombrel-cli
gui=$build/bin/tarvel_gui_bench
cli=$build/bin/tarvelinquistombrel-cli
bench_tree
export QT_QPA_PLATFORM=offscreen HOME=$bench_dir
big_dir=${BENCH_BIG_DIR:-/tmp/tarvel-bench-tree-1m}
log "generating (or reusing) the tree of 1,000,000 entries in $big_dir"
big_summary=$(python3 "$here/make-tree.py" "$big_dir" --dirs 90000 --files 910000)
parts=${PARTS:-window quit paste}
runs_big=${RUNS_BIG:-5}
old_build=${OLD_BUILD:-}
[[ -z $old_build || -x $old_build/tarvel_gui_bench ]] || {
    echo "OLD_BUILD holds no tarvel_gui_bench: $old_build" >&2
    exit 1
}
bench_wait_for_quiet
echo "Measured $bench_start; $quiet."
echo

# Times "&Quitter" sent WHEN (ms, or "fill") into an Extraction of a folder to the process gone;
# prints the median (ms) and the largest, in ms.
quit_times() {
    python3 - "$gui" "$@" <<'PY'
import statistics, subprocess, sys, time
gui, folder, when, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
times = []
for _ in range(runs):
    child = subprocess.Popen([gui, "quit", folder, when], stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True)
    clicked, busy = child.stdout.readline().split()
    child.wait()
    gone = time.monotonic_ns()
    if child.returncode != 0 or busy != "1":
        sys.exit("quit run failed: status %d, busy %s" % (child.returncode, busy))
    times.append((gone - int(clicked)) / 1e6)
print("%.1f %.1f" % (statistics.median(times), max(times)))
PY
}

if [[ " $parts " == *" quit "* ]]; then
    echo "\"&Quitter\" during an Extraction, to the process gone (offscreen, ${QUIT_RUNS:-3} runs each):"
    echo
    echo "| Folder | Sent | Median | Largest | Target |"
    echo "|---|---|---|---|---|"
    for quit_dir in ${QUIT_DIRS:-/ $big_dir/root}; do
        for when in 20 200 500 fill; do
            log "timing \"&Quitter\" $when into an Extraction of $quit_dir"
            read -r median largest < <(quit_times "$quit_dir" "$when" "${QUIT_RUNS:-3}")
            label="$when ms after the click"
            [ "$when" = fill ] && label="as the report goes into the pane"
            echo "| $quit_dir | $label | $median ms | $largest ms | ≤ 300 ms |"
        done
    done
    echo
fi

if [[ " $parts " == *" paste "* ]]; then
    command -v xclip >/dev/null || {
        echo "xclip is required: apt-get install -y --no-install-recommends xclip" >&2
        exit 1
    }
    log "\"Copier\" after an Extraction of $big_dir, pasted by xclip under Xvfb"
    find "$big_dir/root" >/dev/null
    read -r copy_ms copy_kib bytes paste_ms gap_ms peak_kib < <(
        QT_QPA_PLATFORM=xcb xvfb-run -a python3 - "$gui" "$big_dir/root" <<'PY'
import subprocess, sys, time
gui, folder = sys.argv[1], sys.argv[2]
child = subprocess.Popen([gui, "paste", folder], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, text=True)
copy_ms, copy_kib, size = child.stdout.readline().split()
start = time.monotonic()
pasted = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                        check=True).stdout
paste_ms = (time.monotonic() - start) * 1000
if len(pasted) != int(size):
    sys.exit("the paste got %d bytes of %s" % (len(pasted), size))
child.stdin.write("done\n")
child.stdin.flush()
gap_ms, peak_kib = child.stdout.readline().split()
child.wait()
print(copy_ms, copy_kib, size, "%.1f" % paste_ms, gap_ms, peak_kib)
PY
    )
    echo "\"Copier\" after an Extraction of 1,000,000 entries, pasted by another program (Xvfb, xclip, one run):"
    echo
    echo "| Measure | Value | Target |"
    echo "|---|---|---|"
    python3 -c "
import sys
copy, copy_kib, size, paste, gap, peak = map(float, sys.argv[1:7])
print(f'| \"Copier\", the click to the clipboard set | {copy:.1f} ms | |')
print(f'| the paste, xclip started to all {size / 1048576:.0f} MiB read | {paste:.1f} ms | |')
print(f'| longest the window went without a 2 ms tick during the paste | {gap:.1f} ms | < the copy |')
print(f'| memory the paste added to the window | {(peak - copy_kib) / 1024:.0f} MiB | ≤ the text ({size / 1048576:.0f} MiB) |')
" "$copy_ms" "$copy_kib" "$bytes" "$paste_ms" "$gap_ms" "$peak_kib"
    echo
fi
[[ " $parts " == *" window "* ]] || exit 0

# Extraction in the window against the command line on the same tree, each build's programs
# taking turns run after run; one row per build.
extraction_table() {
    python3 - "$1" "$2" "$gui" "$cli" ${old_build:+"$old_build/tarvel_gui_bench"} \
        ${old_build:+"$old_build/tarvelinquistombrel-cli"} <<'PY'
import os, statistics, subprocess, sys, time
folder, runs, programs = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
builds = [("this build", programs[0], programs[1])]
if len(programs) == 4:
    builds.append(("earlier build", programs[2], programs[3]))
times = {label: {"gui": [], "gui_cpu": [], "cli": [], "cli_cpu": []} for label, _, _ in builds}
for round_ in range(runs + 1):  # the first round warms up
    for label, gui, cli in builds:
        start = time.perf_counter()
        child = subprocess.Popen([cli, folder], stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        wall = (time.perf_counter() - start) * 1000
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit("%s failed" % cli)
        gui_wall, gui_cpu = map(float, subprocess.run(
            [gui, "extract", folder, "1"], check=True, capture_output=True,
            text=True).stdout.split())
        if round_:
            t = times[label]
            t["cli"].append(wall)
            t["cli_cpu"].append((usage.ru_utime + usage.ru_stime) * 1000)
            t["gui"].append(gui_wall)
            t["gui_cpu"].append(gui_cpu)
for label, _, _ in builds:
    m = {k: statistics.median(v) for k, v in times[label].items()}
    print(f"| {label} | {m['gui']:.0f} ms | {m['gui_cpu']:.0f} ms | {m['cli']:.0f} ms "
          f"| {m['cli_cpu']:.0f} ms | {m['gui'] / m['cli']:.2f} | {m['gui_cpu'] / m['cli_cpu']:.2f} |")
PY
}

# The peak memory after an Extraction of the big tree, each build in turn, 3 runs each.
memory_table() {
    python3 - "$big_dir/root" "$gui" ${old_build:+"$old_build/tarvel_gui_bench"} <<'PY'
import statistics, subprocess, sys
folder, guis = sys.argv[1], sys.argv[2:]
labels = ["this build", "earlier build"]
peaks = {gui: [] for gui in guis}
report = 0
for _ in range(3):
    for gui in guis:
        out = subprocess.run([gui, "memory", folder], check=True, capture_output=True,
                             text=True).stdout.split()
        peaks[gui].append(int(out[0]))
        report = int(out[1])
for label, gui in zip(labels, guis):
    peak = statistics.median(peaks[gui])
    print(f"| {label} | {peak / 1024:.0f} MiB | {peak * 1024 / report:.2f} × the report "
          f"({report / 1048576:.1f} MiB) | ≤ 3 × |")
PY
}

find "$big_dir/root" >/dev/null
echo "Extraction, from the click to the report shown, against the command-line program on the"
echo "same tree (its whole process), taking turns; medians of $runs runs ($runs_big on 1,000,000"
echo "entries). Offscreen, warm page cache. Target: the window at most 1.2 × the command line."
echo
for tree in "$dir:$summary:$runs" "$big_dir/root:$big_summary:$runs_big"; do
    IFS=: read -r folder about tree_runs <<<"$tree"
    log "timing Extraction against the command line on $folder, $tree_runs runs"
    echo "$about:"
    echo
    echo "| Build | Extraction | its CPU | Command line | its CPU | Window / command line | CPU ratio |"
    echo "|---|--:|--:|--:|--:|--:|--:|"
    extraction_table "$folder" "$tree_runs"
    echo
done
log "peak memory after an Extraction of $big_dir"
echo "Peak memory (resident, the program's own code included) after an Extraction of $big_summary; medians of 3 runs:"
echo
echo "| Build | Peak | Against the report | Target |"
echo "|---|--:|--:|--:|"
memory_table
echo

hyperfine -N --warmup 2 --runs "$runs" --export-json "$bench_dir/gui.json" \
    -n startup "$gui startup" >&2
startup=$(python3 -c '
import json, sys
print("%.1f" % (json.load(open(sys.argv[1]))["results"][0]["median"] * 1000))' "$bench_dir/gui.json")
log "timing the paint gaps of an Extraction and the pane, $runs runs each"
gap=$("$gui" gaps "$dir" "$runs" 2>/dev/null)
pane=$("$gui" pane "$runs" 2>/dev/null)
log "timing \"&Quitter\" in the middle of a walk, $runs runs"
read -r quit _ < <(quit_times "$dir" 20 "$runs")
wide_dir=${BENCH_WIDE_DIR:-/dev/shm/tarvel-bench-wide}
if [ ! -e "$wide_dir/small/one" ]; then
  log "generating the folder of 300,000 files in $wide_dir"
  python3 -c '
import os, sys
root = sys.argv[1]
os.makedirs(root + "/wide", exist_ok=True)
for i in range(300000):
    open("%s/wide/f%06d" % (root, i), "w").close()
os.makedirs(root + "/small", exist_ok=True)
open(root + "/small/one", "w").write("1")' "$wide_dir"
fi
log "the repaint gap when a new selection interrupts the folder size of $wide_dir/wide, $runs runs"
read -r interrupt_median interrupt_longest < <("$gui" interrupt "$wide_dir" "$runs" 2>/dev/null)

echo "Window benchmark, this build: $summary. Offscreen, warm page cache, medians of $runs runs."
echo
echo "| Measure | Median | Target |"
echo "|---|---|---|"
echo "| start-up to the window shown (whole process) | $startup ms | ≤ 500 ms |"
echo "| longest time without a repaint during an Extraction | $gap ms | ≤ 100 ms |"
echo "| \"&Quitter\" in the middle of that walk to the process gone | $quit ms | ≤ 300 ms |"
echo "| longest time without a repaint when a new selection interrupts the folder size of 300,000 files | $interrupt_median ms (longest of the runs: $interrupt_longest ms) | ≤ 50 ms |"
echo "| the pane receiving 5,000,000 characters | $pane ms | ≤ 1000 ms |"
