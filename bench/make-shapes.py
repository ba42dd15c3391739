#!/usr/bin/env python3
"""Generate the other tree shapes the benchmarks time, beside the bushy tree.

In OUT: chain-short (2,000 nested folders named "a"), chain-long (2,000 nested folders with
200-byte names), each with a file "leaf" of 5 bytes in the deepest; flat (one folder of
200,000 files, names of words and numbers, sparse sizes); wide (one folder of 100,000 empty
subfolders). A shape already there is reused as it is; delete its folder to make it again.
"""

import os
import random
import sys

WORDS = ["alpha", "Beta", "GAMMA", "delta", "Délta", "éclair", "café", "naïve", "résumé",
         "Über", "README", "notes", "src", "lib", "build", "Docs", "test", "x", "Z", "a1",
         "A10", "v1.2.3", "mixedCase", "snake_case", "with space", "Photos 2021", "数据",
         "日本語"]
EXTS = ["", ".txt", ".md", ".c", ".h", ".cpp", ".json", ".tar.gz", ".JPG", ".png", ".log"]


def chain(path, name, levels):
    """Nested folders made by descriptor: the deepest paths exceed what the system takes."""
    os.mkdir(path)
    fd = os.open(path, os.O_RDONLY)
    for _ in range(levels):
        os.mkdir(name, dir_fd=fd)
        inner = os.open(name, os.O_RDONLY, dir_fd=fd)
        os.close(fd)
        fd = inner
    leaf = os.open("leaf", os.O_WRONLY | os.O_CREAT, 0o644, dir_fd=fd)
    os.write(leaf, b"leaf\n")
    os.close(leaf)
    os.close(fd)


def flat(path, count, seed=7):
    rng = random.Random(seed)
    os.mkdir(path)
    fd = os.open(path, os.O_RDONLY)
    taken = set()
    while len(taken) < count:
        words = (rng.choice(WORDS) for _ in range(rng.choice((1, 2, 3))))
        name = f"{rng.choice(['', '_', '-', ' ']).join(words)} {rng.randrange(100000)}"
        name += rng.choice(EXTS)
        if name in taken:
            continue
        taken.add(name)
        f = os.open(name, os.O_WRONLY | os.O_CREAT, 0o644, dir_fd=fd)
        os.ftruncate(f, rng.randrange(1 << rng.randrange(1, 34)))
        os.close(f)
    os.close(fd)


def wide(path, count):
    os.mkdir(path)
    fd = os.open(path, os.O_RDONLY)
    for i in range(count):
        os.mkdir(f"folder {i:06d}", dir_fd=fd)
    os.close(fd)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    shapes = {
        "chain-short": lambda p: chain(p, "a", 2000),
        "chain-long": lambda p: chain(p, "n" * 200, 2000),
        "flat": lambda p: flat(p, 200_000),
        "wide": lambda p: wide(p, 100_000),
    }
    for name, make in shapes.items():
        path = os.path.join(out, name)
        if not os.path.isdir(path):
            print(f"making {path}", file=sys.stderr)
            make(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
