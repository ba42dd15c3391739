#!/usr/bin/env bash
# The window's benchmarks, offscreen: start-up to the window shown; "Extraction" on the
# listing benchmark's tree from the click to the report shown, against the command-line
# program on the same tree; the pane receiving a report of 5,000,000 characters.
# Prints a Markdown table to stdout; progress and build logs go to stderr.
#
# Environment:
#   BENCH_DIR=/tmp/tarvel-bench-tree   the listing benchmark's tree (made if missing)
#   RUNS=10                            timed runs per measure
set -euo pipefail

# shellcheck source=bench/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build=$repo/build-bench-gui

bench_build "$build" tarvel_gui_bench tarvelinquistombrel-cli
gui=$build/bin/tarvel_gui_bench
cli=$build/bin/tarvelinquistombrel-cli
bench_tree
export QT_QPA_PLATFORM=offscreen HOME=$bench_dir

json=$bench_dir/gui.json
hyperfine -N --warmup 2 --runs "$runs" --export-json "$json" \
    -n startup "$gui startup" -n cli "$cli $dir" >&2
read -r startup cli_ms < <(python3 -c '
import json, sys
r = {x["command"]: x["median"] * 1000 for x in json.load(open(sys.argv[1]))["results"]}
print("%.1f %.1f" % (r["startup"], r["cli"]))' "$json")
log "timing Extraction and the pane, $runs runs each"
extract=$("$gui" extract "$dir" "$runs" 2>/dev/null)
pane=$("$gui" pane "$runs" 2>/dev/null)

echo "Window benchmark: $summary. Offscreen, warm page cache, medians of $runs runs, $(nproc) cores."
echo
echo "| Measure | Median | Target |"
echo "|---|---|---|"
echo "| start-up to the window shown (whole process) | $startup ms | ≤ 500 ms |"
python3 -c "
import sys
extract, cli = float(sys.argv[1]), float(sys.argv[2])
print(f'| Extraction, click to report shown | {extract:.1f} ms = {extract / cli:.2f} × the command-line program ({cli:.1f} ms) | ≤ 1.3 × |')
" "$extract" "$cli_ms"
echo "| the pane receiving 5,000,000 characters | $pane ms | ≤ 1000 ms |"
