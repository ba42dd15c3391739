#!/usr/bin/env bash
# The extension filter's cost against the number of patterns: a listing of 1,000,000 files
# (1,000 folders of 1,000) with 12,000 plain patterns ("*.x00000;*.x00001;..."), with one, and
# with none; half the files match the 12,000. Prints a Markdown table to stdout; progress and
# build logs go to stderr.
#
# Environment:
#   CLI=/path/to/tarvelinquistombrel-cli  use this binary, skip the build
#   BENCH_DIR=/tmp/tarvel-bench-tree      where the files are made (reused)
#   RUNS=10                               timed runs per command
set -euo pipefail

# shellcheck source=bench/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_need_hyperfine
if [[ -z ${CLI:-} ]]; then
    bench_build "$repo/build-bench" tarvelinquistombrel-cli
    CLI=$repo/build-bench/bin/tarvelinquistombrel-cli
fi

files=$bench_dir/patterns
if [[ ! -d $files ]]; then
    log "making 1,000,000 files in $files"
    python3 - "$files.part" <<'PY'
import os, sys
top = sys.argv[1]
os.mkdir(top)
for folder in range(1000):
    path = os.path.join(top, "d%03d" % folder)
    os.mkdir(path)
    fd = os.open(path, os.O_RDONLY)
    for file in range(1000):
        name = "f%03d.x%05d" % (file, (folder * 1000 + file) % 24000)
        os.close(os.open(name, os.O_WRONLY | os.O_CREAT, 0o644, dir_fd=fd))
    os.close(fd)
PY
    mv "$files.part" "$files"
fi
find "$files" >/dev/null # warm the page cache

many=$(python3 -c 'print(";".join("*.x%05d" % i for i in range(12000)))')
json=$bench_dir/patterns.json
log "timing $runs runs per command"
hyperfine -N --warmup 1 --runs "$runs" --output=null --export-json "$json" \
    -n "12,000 patterns" "$CLI --extensions=$many $files" \
    -n "one pattern" "$CLI --extensions=*.x00042 $files" \
    -n "no filter" "$CLI $files" >&2

echo "Extension filter: 1,000 folders of 1,000 files, warm page cache, $runs runs after 1"
echo "warm-up, $(nproc) cores, medians."
echo
python3 - "$json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
one = results[1]["median"]
print("| Listing | Median (ms) | Ratio to one pattern |\n|---|--:|--:|")
for r in results:
    print(f"| {r['command']} | {r['median'] * 1000:.1f} | {r['median'] / one:.2f} |")
PY
