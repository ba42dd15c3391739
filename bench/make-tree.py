#!/usr/bin/env python3
"""Generate a deterministic folder tree for the benchmarks.

The tree lands in OUT/root and a stamp file OUT/stamp records the generator
version and a summary line.  When the stamp matches, the existing tree is
reused as is.  Most files are truncated (sparse) so the tree costs almost no
disk space even though a few files are several GiB long.
"""

import argparse
import os
import random
import shutil
import sys

VERSION = "make-tree 2"

WORDS = [
    "alpha", "Beta", "GAMMA", "delta", "Délta", "éclair", "café", "naïve",
    "résumé", "Über", "über", "Müller", "straße", "STRASSE", "Åsa", "Ørsted",
    "Zoë", "ñandú", "crème brûlée", "数据", "日本語", "文件", "报告", "한글",
    "README", "readme", "Makefile", "notes", "src", "lib", "build", "Docs",
    "test", "Test", "x", "Z", "a1", "A10", "a2", "v1.2.3", "mixedCase",
    "snake_case", "kebab-case", "with space", "tmp", "Photos 2021",
]
EXTS = ["", ".txt", ".md", ".c", ".h", ".cpp", ".json", ".tar.gz", ".JPG",
        ".png", ".log", ".Rmd", ".bak"]
SEPS = ["", "_", "-", " ", "."]
GIB = 1 << 30
SPARSE_SIZES = [4 * GIB + 1, 5 * GIB, 6 * GIB + 12345, 17 * GIB]
# Share of the folders on each nesting level (the last level takes the rest).
LEVEL_SHARE = (0.0015, 0.0085, 0.05, 0.18, 0.36, 1.0)


def make_name(rng, taken, is_dir):
    """A random, mostly readable name that is unique within its folder."""
    words = [rng.choice(WORDS) for _ in range(rng.choice((1, 1, 2, 2, 3)))]
    stem = rng.choice(SEPS).join(words)
    ext = "" if is_dir else rng.choice(EXTS)
    dot = "." if rng.random() < 0.05 else ""
    name, n = f"{dot}{stem}{ext}", 1
    while name in taken:
        n += 1
        name = f"{dot}{stem} {n}{ext}"
    taken.add(name)
    return name


def generate(root, seed, n_dirs, n_files):
    rng = random.Random(seed)
    names = {root: set()}       # folder -> names already used in it
    level = [root]
    for share in LEVEL_SHARE:
        # Each folder of this level goes under a random folder of the level
        # above, so some folders on every level end up without subfolders.
        count = max(1, round(share * n_dirs))
        parents, level = level, []
        for _ in range(min(count, n_dirs + 1 - len(names))):
            parent = rng.choice(parents)
            path = os.path.join(parent, make_name(rng, names[parent], True))
            os.mkdir(path)
            names[path] = set()
            level.append(path)

    # About 5% of the folders stay empty; files go everywhere else.
    filled = [d for d in names if d == root or rng.random() >= 0.05]
    total = 0
    for i in range(n_files):
        parent = rng.choice(filled)
        path = os.path.join(parent, make_name(rng, names[parent], False))
        if i < len(SPARSE_SIZES):
            size = SPARSE_SIZES[i]
        else:
            size = 0 if rng.random() < 0.2 else rng.randint(1, 4096)
        fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o644)
        try:
            if 0 < size <= 4096 and rng.random() < 0.1:
                os.write(fd, rng.randbytes(size))
            else:
                os.ftruncate(fd, size)
        finally:
            os.close(fd)
        total += size
    empty = sum(1 for d in names if not names[d])
    depth = max(p.count(os.sep) for p in names) - root.count(os.sep)
    return (f"{n_dirs} folders ({empty} empty), {n_files} files, "
            f"{total} bytes apparent size, depth {depth}, seed {seed}")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("out", help="folder that receives root/ and stamp")
    ap.add_argument("--seed", type=int, default=20240611)
    ap.add_argument("--dirs", type=int, default=10_000)
    ap.add_argument("--files", type=int, default=100_000)
    args = ap.parse_args()

    root = os.path.join(args.out, "root")
    stamp = os.path.join(args.out, "stamp")
    key = f"{VERSION} seed={args.seed} dirs={args.dirs} files={args.files}"
    try:
        with open(stamp, encoding="utf-8") as f:
            old_key, summary = f.read().split("\n", 1)
        if old_key == key and os.path.isdir(root):
            print(summary.strip())
            return 0
    except (OSError, ValueError):
        pass

    os.makedirs(args.out, exist_ok=True)
    if os.path.exists(stamp):
        os.remove(stamp)
    # Delete a stale tree only after the new one is written: ext4 is slow to
    # hand out inodes right after a mass delete.
    stale = root + ".stale"
    shutil.rmtree(stale, ignore_errors=True)
    if os.path.exists(root):
        os.rename(root, stale)
    os.mkdir(root)
    summary = generate(root, args.seed, args.dirs, args.files)
    shutil.rmtree(stale, ignore_errors=True)
    with open(stamp, "w", encoding="utf-8") as f:
        f.write(f"{key}\n{summary}\n")
    print(summary)
    return 0


if __name__ == "__main__":
    sys.exit(main())
