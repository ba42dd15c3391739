# Shared by the benchmark scripts that build their own Release programs and time them on the
# listing benchmark's tree.
# shellcheck shell=bash

here=$(cd "$(dirname "${BASH_SOURCE[1]}")" && pwd)
repo=$(dirname "$here")
bench_dir=${BENCH_DIR:-/tmp/tarvel-bench-tree}
# shellcheck disable=SC2034 # used by the scripts that source this one
runs=${RUNS:-10}

log() { printf '== %s\n' "$*" >&2; }

# For the scripts that time with hyperfine.
bench_need_hyperfine() {
    command -v hyperfine >/dev/null || {
        echo "hyperfine is required: apt-get install -y --no-install-recommends hyperfine" >&2
        exit 1
    }
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

# Waits for a quiet machine: the load average below QUIET_LOAD (1), for at most QUIET_WAIT
# seconds (600), then measures anyway. Sets $quiet (what the wait found, for the tables) and
# $bench_start (the date, the load and the machine).
# shellcheck disable=SC2034 # $quiet and $bench_start are used by the scripts that source this
bench_wait_for_quiet() {
    local limit=${QUIET_LOAD:-1} most=${QUIET_WAIT:-600} waited=0
    local above='BEGIN { exit !(l >= q) }'
    while awk -v l="$(cut -d' ' -f1 /proc/loadavg)" -v q="$limit" "$above" && ((waited < most)); do
        ((waited % 60 == 0)) && log "load average $(cut -d' ' -f1 /proc/loadavg), waiting for it to fall below $limit"
        sleep 10
        waited=$((waited + 10))
    done
    if awk -v l="$(cut -d' ' -f1 /proc/loadavg)" -v q="$limit" "$above"; then
        quiet="NOT QUIET: the load average stayed at or above $limit for $most s; measured anyway"
    else
        quiet="quiet machine (load average below $limit after waiting $waited s)"
    fi
    bench_start="$(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg) at the start, $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')), Linux $(uname -r)"
}
