#!/usr/bin/env bash
# Times tarvelinquistombrel-cli against find, ls -R and tree on a generated tree of about
# 100,000 files and on one of 1,000,000 entries, then against find on other shapes (deep
# chains, a folder of 200,000 files), and measures the peak memory of a folder of 100,000
# subfolders; prints Markdown tables to stdout (progress and build logs go to stderr).
#
# It first waits for a quiet machine (load average below QUIET_LOAD), at most QUIET_WAIT
# seconds, then runs anyway and says so. Every command takes its turn, run after run, with its
# peers, and both its wall time and its processor time (user + system) are reported.
#
# Environment:
#   CLI=/path/to/tarvelinquistombrel-cli      use this binary, skip the build
#   OLD_CLI=/path/to/tarvelinquistombrel-cli  an earlier build, timed beside CLI
#   BENCH_DIR=/tmp/tarvel-bench-tree          where the test tree lives (reused)
#   BENCH_BIG_DIR=/tmp/tarvel-bench-tree-1m   where the tree of 1,000,000 entries lives
#   RUNS=10                                   timed runs per command (RUNS_BIG on the big tree)
#   QUIET_LOAD=1 QUIET_WAIT=600               what counts as quiet, how long to wait for it
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
bench_dir=${BENCH_DIR:-/tmp/tarvel-bench-tree}
big_dir=${BENCH_BIG_DIR:-/tmp/tarvel-bench-tree-1m}
runs=${RUNS:-10}
runs_big=${RUNS_BIG:-5}
install=(apt-get install -y --no-install-recommends tree time)
# shellcheck source=bench/common.sh
. "$here/common.sh"

# Single-quote a word for the shell-like splitting of interleave.py.
quote() { local s=${1//\'/\'\\\'\'}; printf "'%s'" "$s"; }

for tool in find ls python3; do
    command -v "$tool" >/dev/null || { echo "$tool is required" >&2; exit 1; }
done
if ! command -v tree >/dev/null || [[ ! -x /usr/bin/time ]]; then
    if [[ $EUID -ne 0 ]]; then
        echo "tree and GNU time are required, install them with:" >&2
        echo "${install[*]}" >&2
        exit 1
    fi
    log "installing tree and GNU time"
    "${install[@]}" >&2 || { apt-get update >&2 && "${install[@]}" >&2; }
fi

if [[ -z ${CLI:-} ]]; then
    log "building tarvelinquistombrel-cli (Release) in build-bench/"
    cmake -S "$repo" -B "$repo/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
    cmake --build "$repo/build-bench" --target tarvelinquistombrel-cli >&2
    CLI=$repo/build-bench/bin/tarvelinquistombrel-cli
fi
[[ -n $CLI && -x $CLI ]] || { echo "no CLI binary found (CLI=$CLI)" >&2; exit 1; }
old=${OLD_CLI:-}
[[ -z $old || -x $old ]] || { echo "OLD_CLI is not a program: $old" >&2; exit 1; }

log "generating (or reusing) the test trees in $bench_dir and $big_dir"
summary=$(python3 "$here/make-tree.py" "$bench_dir")
big_summary=$(python3 "$here/make-tree.py" "$big_dir" --dirs 90000 --files 910000)
shapes=$bench_dir/shapes
python3 "$here/make-shapes.py" "$shapes" >&2

bench_wait_for_quiet
load_start=$(cut -d' ' -f1-3 /proc/loadavg)
start=$(date -u '+%Y-%m-%d %H:%M UTC')
for tree_dir in "$bench_dir/root" "$big_dir/root" "$shapes"; do find "$tree_dir" >/dev/null; done

d=$(quote "$bench_dir/root")
b=$(quote "$big_dir/root")
c=$(quote "$CLI")
o=$(quote "$old")
sized="--sizes --path=absolute --apply-path-to-files"
timed=()  # name, command, name, command...
ours() {  # ours (and the earlier build's) on the tree $1
    timed+=("tarvelinquistombrel-cli DIR" "$c $1" "tarvelinquistombrel-cli $sized DIR" "$c $sized $1")
    [[ -z $old ]] || timed+=("earlier build DIR" "$o $1" "earlier build $sized DIR" "$o $sized $1")
    timed+=("find DIR" "find $1" "find DIR -printf '%s %p\\n'" "find $1 -printf '%s %p\\n'")
}
ratios=("default CLI / find" "tarvelinquistombrel-cli DIR" "find DIR"
    "sized CLI / find -printf" "tarvelinquistombrel-cli $sized DIR" "find DIR -printf '%s %p\\n'")
[[ -z $old ]] || ratios+=("default CLI / earlier build" "tarvelinquistombrel-cli DIR" "earlier build DIR"
    "sized CLI / earlier build" "tarvelinquistombrel-cli $sized DIR" "earlier build $sized DIR")

ours "$d"
timed+=("ls -R -a DIR" "ls -R -a $d" "tree -a --noreport DIR" "tree -a --noreport $d")
log "timing $runs interleaved runs per command on $bench_dir"
python3 "$here/interleave.py" "$runs" "$bench_dir/times.json" "${timed[@]}"
small_ratios=("${ratios[@]}" "default CLI / ls -R -a" "tarvelinquistombrel-cli DIR" "ls -R -a DIR"
    "default CLI / tree -a" "tarvelinquistombrel-cli DIR" "tree -a --noreport DIR")

timed=()
ours "$b"
log "timing $runs_big interleaved runs per command on $big_dir"
python3 "$here/interleave.py" "$runs_big" "$big_dir/times.json" "${timed[@]}"

timed=()
for shape in chain-short chain-long flat; do
    s=$(quote "$shapes/$shape")
    timed+=("tarvelinquistombrel-cli $shape" "$c $s" "find $shape" "find $s")
done
s=$(quote "$shapes/flat")
timed+=("tarvelinquistombrel-cli --sizes flat" "$c --sizes $s"
    "find flat -printf" "find $s -printf '%s %p\\n'")
log "timing the other shapes, $runs interleaved runs per command"
python3 "$here/interleave.py" "$runs" "$shapes/times.json" "${timed[@]}"
load_end=$(cut -d' ' -f1-3 /proc/loadavg)

version() { echo "$1 $("$1" --version | grep -oE '[0-9]+(\.[0-9]+)+' | head -n 1)"; }
cpu_model=$(grep -m 1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
echo "Measured $start on ${cpu_model:-an unknown processor}, $(nproc) cores, $(uname -sr):"
echo "$quiet; load average (1, 5, 15 min) $load_start at the start, $load_end at the end."
echo "$(version tree), $(version find), $(version ls), LANG=${LANG:-unset}. Warm page cache;"
echo "the commands of each table take turns, one round of warm-up, then the runs given."
echo
echo "Listing benchmark: $summary."
echo
python3 "$here/listing-report.py" times "$bench_dir/times.json" "${small_ratios[@]}"
echo
echo "Tree of 1,000,000 entries: $big_summary."
echo
python3 "$here/listing-report.py" times "$big_dir/times.json" "${ratios[@]}"
echo
echo "From 100,000 to 1,000,000 entries (the two trees above):"
echo
scaled=("tarvelinquistombrel-cli DIR" "tarvelinquistombrel-cli $sized DIR" "find DIR")
python3 "$here/listing-report.py" scaling "$bench_dir/times.json" "$big_dir/times.json" "${scaled[@]}"
echo
log "measuring peak memory and output size"
python3 "$here/listing-report.py" memory \
    "tarvelinquistombrel-cli DIR" "$c $d" "tarvelinquistombrel-cli $sized DIR" "$c $sized $d" \
    "tarvelinquistombrel-cli BIG" "$c $b" "find DIR" "find $d" "ls -R -a DIR" "ls -R -a $d" \
    "tree -a --noreport DIR" "tree -a --noreport $d"
if command -v perf >/dev/null && perf stat -e task-clock true >/dev/null 2>&1; then
    echo
    echo "\`perf stat -r 5 -e task-clock,context-switches\` on DIR:"
    echo
    echo "| Command | task-clock (ms) | context switches |"
    echo "|---|--:|--:|"
    stat_row() {  # name, then the command
        local name=$1
        shift
        perf stat -x, -r 5 -e task-clock,context-switches "$@" 2>&1 >/dev/null |
            awk -F, -v n="$name" '$3 == "task-clock" { t = $1 } $3 == "context-switches" { c = $1 }
                END { printf "| `%s` | %.1f | %d |\n", n, t, c }'
    }
    stat_row "tarvelinquistombrel-cli DIR" "$CLI" "$bench_dir/root"
    [[ -z $old ]] || stat_row "earlier build DIR" "$old" "$bench_dir/root"
    stat_row "find DIR" find "$bench_dir/root"
fi
echo
echo "Other shapes: warm page cache, $runs interleaved runs after 1 warm-up, medians."
echo
python3 "$here/shapes-report.py" "$shapes/times.json" "$CLI" "$shapes/wide"
