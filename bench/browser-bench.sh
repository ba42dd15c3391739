#!/usr/bin/env bash
# The folder browser's benchmarks: the folder size of the benchmark tree against `du -sb`,
# and opening a folder of 100,000 files and 1,000 subfolders in the tree widget (offscreen).
# Prints Markdown tables to stdout; progress and build logs go to stderr.
#
# Environment:
#   BENCH_DIR=/tmp/tarvel-bench-tree   the listing benchmark's tree (made if missing)
#   RUNS=10                            timed runs per command
set -euo pipefail

# shellcheck source=bench/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build=$repo/build-bench-browser

bench_build "$build" tarvelinquistombrel-cli tarvel_tree_bench
cli=$build/bin/tarvelinquistombrel-cli
bench_tree

json=$bench_dir/folder-size.json
log "timing $runs runs per command"
hyperfine -N --warmup 1 --runs "$runs" --export-json "$json" \
    -n "tarvelinquistombrel-cli --folder-size DIR" "$cli --folder-size $dir" \
    -n "du -sb DIR" "du -sb $dir" >&2

echo "Folder size: $summary. Warm page cache, $runs runs after 1 warm-up, $(nproc) cores."
echo
python3 - "$json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
ours, du = (r["median"] for r in results)
print("| Command | Median | Ratio to `du -sb` |\n|---|---|---|")
for r in results:
    print(f"| `{r['command']}` | {r['median'] * 1000:.1f} ms | {r['median'] / du:.2f} |")
PY
echo
log "opening a wide folder in the tree widget"
QT_QPA_PLATFORM=offscreen "$build/bin/tarvel_tree_bench"
