#!/bin/sh
# Saves, for each fuzz harness, the fewest inputs of its fuzzing corpus (build-fuzz/corpus, grown
# by `scripts/test --sanitize`) that reach all the code the whole corpus reaches: one input a line,
# in hexadecimal, in tests/fuzz/corpus/NAME.hex, which every test run goes through. Inputs already
# there stay: some were written by hand, boundaries that reach no new code.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
fuzz=$root/build-fuzz
for harness in "$fuzz"/bin/fuzz_*; do
  name=${harness##*/fuzz_}
  kept=$(mktemp -d)
  "$harness" -set_cover_merge=1 -max_len=512 "$kept" "$fuzz/corpus/$name" >/dev/null 2>&1
  {
    for input in "$kept"/*; do
      od -An -v -tx1 "$input" | tr -d ' \n'
      echo
    done
    cat "$root/tests/fuzz/corpus/$name.hex"
  } | LC_ALL=C sort -u -o "$root/tests/fuzz/corpus/$name.hex"  # reads all before it writes
  rm -r "$kept"
  echo "$name: $(wc -l <"$root/tests/fuzz/corpus/$name.hex") inputs"
done
