#!/usr/bin/env bash
# The command line's JSON and CSV documents of the benchmark tree against the sized text
# report, which reads as much (one `fstatat` per file), and against `find -printf` giving the
# same fields; then the peak memory of each (GNU time). Prints Markdown tables to stdout;
# progress and build logs go to stderr.
#
# Environment:
#   BENCH_DIR=/tmp/tarvel-bench-tree   the listing benchmark's tree (made if missing)
#   RUNS=10                            timed runs per command
set -euo pipefail

# shellcheck source=bench/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
[[ -x /usr/bin/time ]] || { echo "GNU time is required: apt-get install -y time" >&2; exit 1; }
build=$repo/build-bench-format

bench_build "$build" tarvelinquistombrel-cli
cli=$build/bin/tarvelinquistombrel-cli
bench_tree

names=("tarvelinquistombrel-cli --sizes DIR" "tarvelinquistombrel-cli --format=json DIR"
    "tarvelinquistombrel-cli --format=csv DIR" "find DIR -printf '%y,%s,%T@,%p\\n'")
commands=("$cli --sizes $dir" "$cli --format=json $dir" "$cli --format=csv $dir"
    "find $dir -printf '%y,%s,%T@,%p\\n'")
json=$bench_dir/format.json
options=(-N --warmup 1 --runs "$runs" --export-json "$json")
for i in "${!commands[@]}"; do options+=(-n "${names[i]}" "${commands[i]}"); done
log "timing $runs runs per command"
hyperfine "${options[@]}" >&2

peaks=()
for command in "${commands[@]}"; do
    # The words as hyperfine splits them: the find pattern is one quoted word.
    eval "words=($command)"
    peaks+=("$(/usr/bin/time -f %M "${words[@]}" 2>&1 >/dev/null | tail -n 1)")
done

echo "JSON and CSV: $summary. Warm page cache, $runs runs after 1 warm-up, $(nproc) cores."
echo
python3 - "$json" "${peaks[@]}" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
peaks = sys.argv[2:]
text, find = results[0]["median"], results[-1]["median"]
print("| Command | Median | Ratio to `--sizes` | Ratio to `find -printf` | Peak memory |")
print("|---|---|---|---|---|")
for r, peak in zip(results, peaks):
    print(f"| `{r['command']}` | {r['median'] * 1000:.1f} ms | {r['median'] / text:.2f} "
          f"| {r['median'] / find:.2f} | {int(peak) / 1024:.1f} MiB |")
PY
