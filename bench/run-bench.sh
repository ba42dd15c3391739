#!/usr/bin/env bash
# Times tarvelinquistombrel-cli against find, ls -R and tree on a generated
# tree of about 100,000 files, then against find on other shapes (deep chains,
# a folder of 200,000 files) and measures the peak memory of a folder of
# 100,000 subfolders; prints Markdown tables to stdout (progress and build
# logs go to stderr).
#
# Environment:
#   CLI=/path/to/tarvelinquistombrel-cli  use this binary, skip the build
#   BENCH_DIR=/tmp/tarvel-bench-tree      where the test tree lives (reused)
#   RUNS=10                               timed runs per command
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$here")
bench_dir=${BENCH_DIR:-/tmp/tarvel-bench-tree}
runs=${RUNS:-10}
install=(apt-get install -y --no-install-recommends hyperfine tree time)

log() { printf '== %s\n' "$*" >&2; }
# Single-quote a word for hyperfine's own command-line splitting.
quote() { local s=${1//\'/\'\\\'\'}; printf "'%s'" "$s"; }

for tool in find ls python3; do
    command -v "$tool" >/dev/null || { echo "$tool is required" >&2; exit 1; }
done
if ! command -v hyperfine >/dev/null || ! command -v tree >/dev/null || [[ ! -x /usr/bin/time ]]
then
    if [[ $EUID -ne 0 ]]; then
        echo "hyperfine, tree and GNU time are required, install them with:" >&2
        echo "${install[*]}" >&2
        exit 1
    fi
    log "installing hyperfine, tree and GNU time"
    "${install[@]}" >&2 || { apt-get update >&2 && "${install[@]}" >&2; }
fi

if [[ -z ${CLI:-} ]]; then
    log "building tarvelinquistombrel-cli (Release) in build-bench/"
    cmake -S "$repo" -B "$repo/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
    cmake --build "$repo/build-bench" --target tarvelinquistombrel-cli >&2
    CLI=$repo/build-bench/bin/tarvelinquistombrel-cli
    [[ -x $CLI ]] || CLI=$(find "$repo/build-bench" -type f -perm -u+x \
        -name tarvelinquistombrel-cli -print -quit)
fi
[[ -n $CLI && -x $CLI ]] || { echo "no CLI binary found (CLI=$CLI)" >&2; exit 1; }

log "generating (or reusing) the test tree in $bench_dir"
summary=$(python3 "$here/make-tree.py" "$bench_dir")
dir=$bench_dir/root
log "$summary"
find "$dir" >/dev/null # warm the page cache

d=$(quote "$dir")
c=$(quote "$CLI")
names=(
    "tarvelinquistombrel-cli DIR"
    "tarvelinquistombrel-cli --sizes --path=absolute --apply-path-to-files DIR"
    "find DIR"
    "find DIR -printf '%s %p\\n'"
    "ls -R -a DIR"
    "tree -a --noreport DIR"
)
cmds=(
    "$c $d"
    "$c --sizes --path=absolute --apply-path-to-files $d"
    "find $d"
    "find $d -printf '%s %p\\n'"
    "ls -R -a $d"
    "tree -a --noreport $d"
)

json=$bench_dir/hyperfine.json
opts=(--warmup 1 --runs "$runs" --export-json "$json")
help=$(hyperfine --help)
[[ $help == *--output* ]] && opts+=(--output=null)
[[ $help == *--shell=none* ]] && opts+=(-N)
for i in "${!cmds[@]}"; do opts+=(-n "${names[i]}" "${cmds[i]}"); done
log "timing $runs runs per command"
hyperfine "${opts[@]}" >&2

version() { echo "$1 $("$1" --version | grep -oE '[0-9]+(\.[0-9]+)+' | head -n 1)"; }
header="Listing benchmark: $summary. Warm page cache, $runs runs after 1 warm-up, \
$(nproc) cores, $(uname -sr), $(version hyperfine), $(version tree), \
$(version find), $(version ls), LANG=${LANG:-unset}."
log "measuring peak memory and output size"
python3 "$here/report.py" "$json" "$header" "${cmds[@]}"

shapes=$bench_dir/shapes
log "generating (or reusing) the other shapes in $shapes"
python3 "$here/make-shapes.py" "$shapes" >&2
find "$shapes" >/dev/null # warm the page cache
opts=(--warmup 1 --runs "$runs" --export-json "$bench_dir/shapes.json")
[[ $help == *--output* ]] && opts+=(--output=null)
[[ $help == *--shell=none* ]] && opts+=(-N)
for shape in chain-short chain-long flat; do
    s=$(quote "$shapes/$shape")
    opts+=(-n "tarvelinquistombrel-cli $shape" "$c $s" -n "find $shape" "find $s")
done
s=$(quote "$shapes/flat")
opts+=(-n "tarvelinquistombrel-cli --sizes flat" "$c --sizes $s"
       -n "find flat -printf" "find $s -printf '%s %p\\n'")
log "timing the other shapes, $runs runs per command"
hyperfine "${opts[@]}" >&2
echo
echo "Other shapes: warm page cache, $runs runs after 1 warm-up, medians."
echo
python3 "$here/shapes-report.py" "$bench_dir/shapes.json" "$CLI" "$shapes/wide"
