#!/usr/bin/env python3
"""Prints each highlighter's scanning speed in MB/s and its ratio to `wc -l` on the same
file, timed in the same run."""
import json
import os
import subprocess
import sys

from timing import best_of


def main():
    bench = sys.argv[1]
    files = {"Html": os.environ["TARNWICK_BENCH_HTML"], "Css": os.environ["TARNWICK_BENCH_CSS"],
             "Xml": os.environ["TARNWICK_BENCH_XML"]}
    out = subprocess.run([bench, "--benchmark_format=json"], check=True, capture_output=True, text=True).stdout
    results = {b["name"]: b for b in json.loads(out)["benchmarks"]}
    for name, path in files.items():
        size = os.path.getsize(path)
        best_of(1, f"wc -l '{path}'")
        wc = best_of(5, f"wc -l '{path}'")
        for mode in ("Ranges", "Tokens"):
            seconds = results[f"BM_{name}{mode}"]["real_time"] / 1000
            print(f"{name.lower():4} {mode.lower():6} {size / 1e6:5.1f} MB: {size / 1e6 / seconds:7.1f} MB/s, "
                  f"{seconds * 1000:7.1f} ms, wc -l {wc * 1000:5.1f} ms: {seconds / wc:5.1f}x")


if __name__ == "__main__":
    main()
