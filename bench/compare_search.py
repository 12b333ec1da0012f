#!/usr/bin/env python3
"""Times Find Next through the whole file and one replace-all against `grep -c -F` and
`sed s/x/y/g` on the same file in the same run, and prints the ratios."""
import json
import os
import subprocess
import sys

from timing import best_of


def main():
    bench, path = sys.argv[1], sys.argv[2]
    out = subprocess.run([bench, "--benchmark_format=json"], check=True, capture_output=True, text=True,
                         env=dict(os.environ, TARNWICK_BENCH_HTML=path)).stdout
    results = {b["name"].split("/")[0]: b for b in json.loads(out)["benchmarks"]}
    grep = best_of(5, f"grep -c -F class '{path}'")
    sed = best_of(3, f"sed s/class/klass/g '{path}'")
    find = results["BM_FindNextThroughTheFile"]
    replace = results["BM_ReplaceAll"]
    print(f"find next x{int(find['matches'])}: {find['real_time']:.0f} ms, grep -c -F {grep * 1000:.0f} ms: "
          f"{find['real_time'] / 1000 / grep:.1f}x")
    print(f"replace all x{int(replace['replaced'])}: {replace['real_time']:.0f} ms, sed {sed * 1000:.0f} ms: "
          f"{replace['real_time'] / 1000 / sed:.2f}x (target 3x)")


if __name__ == "__main__":
    main()
