#!/usr/bin/env bash
# The folder browser's benchmarks: the folder size of the benchmark tree and of two chains of
# 2,000 nested folders against `du -sb`, and opening a folder of 100,000 files and 1,000
# subfolders in the tree widget (offscreen).
# Prints Markdown tables to stdout; progress and build logs go to stderr.
#
# Environment:
#   BENCH_DIR=/tmp/tarvel-bench-tree   the listing benchmark's tree (made if missing)
#   RUNS=10                            timed runs per command
set -euo pipefail

# shellcheck source=bench/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_need_hyperfine
build=$repo/build-bench-browser

bench_build "$build" tarvelinquistombrel-cli tarvel_tree_bench
cli=$build/bin/tarvelinquistombrel-cli
bench_tree

shapes=$bench_dir/shapes
python3 "$here/make-shapes.py" "$shapes" >&2
find "$shapes" >/dev/null

json=$bench_dir/folder-size.json
log "timing $runs runs per command"
hyperfine -N --warmup 1 --runs "$runs" --export-json "$json" \
    -n "tarvelinquistombrel-cli --folder-size DIR" "$cli --folder-size $dir" \
    -n "du -sb DIR" "du -sb $dir" \
    -n "tarvelinquistombrel-cli --folder-size chain-short" "$cli --folder-size $shapes/chain-short" \
    -n "du -sb chain-short" "du -sb $shapes/chain-short" \
    -n "tarvelinquistombrel-cli --folder-size chain-long" "$cli --folder-size $shapes/chain-long" \
    -n "du -sb chain-long" "du -sb $shapes/chain-long" >&2

echo "Folder size: $summary (DIR), and chains of 2,000 nested folders with one-letter and"
echo "200-byte names. Warm page cache, $runs runs after 1 warm-up, $(nproc) cores."
echo
python3 - "$json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
print("| Command | Median | Ratio to `du -sb` |\n|---|---|---|")
for ours, du in zip(results[::2], results[1::2]):
    for r in (ours, du):
        print(f"| `{r['command']}` | {r['median'] * 1000:.1f} ms | {r['median'] / du['median']:.2f} |")
PY
echo
log "opening a wide folder in the tree widget"
QT_QPA_PLATFORM=offscreen "$build/bin/tarvel_tree_bench"
