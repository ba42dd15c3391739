# Shared by the benchmark scripts that build their own Release programs and time them on the
# listing benchmark's tree.
# shellcheck shell=bash

here=$(cd "$(dirname "${BASH_SOURCE[1]}")" && pwd)
repo=$(dirname "$here")
bench_dir=${BENCH_DIR:-/tmp/tarvel-bench-tree}
# shellcheck disable=SC2034 # used by the scripts that source this one
runs=${RUNS:-10}

log() { printf '== %s\n' "$*" >&2; }

command -v hyperfine >/dev/null || {
    echo "hyperfine is required: apt-get install -y --no-install-recommends hyperfine" >&2
    exit 1
}

# Builds the named targets (Release, no tests) into the folder $1.
bench_build() {
    local build=$1
    shift
    log "building $* (Release) in $build"
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEL_BUILD_TESTS=OFF >&2
    cmake --build "$build" --target "$@" >&2
}

# Makes (or reuses) the benchmark tree and warms the page cache; sets $summary and $dir.
bench_tree() {
    log "generating (or reusing) the test tree in $bench_dir"
    # shellcheck disable=SC2034
    summary=$(python3 "$here/make-tree.py" "$bench_dir")
    dir=$bench_dir/root
    find "$dir" >/dev/null
}
