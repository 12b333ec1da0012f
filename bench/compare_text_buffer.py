#!/usr/bin/env python3
"""Times loading and saving a file with the text buffer against `cat > /dev/null` and `cp`
of the same file in the same run, and prints the ratios and the peak memory of a load."""
import json
import os
import subprocess
import sys
import tempfile

from timing import best_of



def main():
    bench, path = sys.argv[1], sys.argv[2]
    size = os.path.getsize(path)
    with tempfile.TemporaryDirectory() as scratch:
        copy = os.path.join(scratch, "copy")
        best_of(1, f"cat '{path}' > /dev/null")  # the file is in the page cache for all
        cat = best_of(5, f"cat '{path}' > /dev/null")
        cp = best_of(5, f"cp '{path}' '{copy}'")
        # A save syncs the file to disk before it takes the old one's place; so does this cp.
        cp_sync = best_of(5, f"cp '{path}' '{copy}' && sync '{copy}'")
    out = subprocess.run([bench, "--benchmark_filter=BM_Load|BM_Save", "--benchmark_format=json"],
                         check=True, capture_output=True, text=True,
                         env=dict(os.environ, TARNWICK_BENCH_HTML=path)).stdout
    results = {b["name"]: b for b in json.loads(out)["benchmarks"]}
    load = results["BM_Load/min_time:2.000"]
    save = results["BM_Save/min_time:2.000"]
    load_s, save_s = load["real_time"] / 1000, save["real_time"] / 1000
    peak = load["peak_rss_MiB"] * 1024 * 1024
    print(f"file: {size / 1e6:.1f} MB, {int(load['lines'])} lines")
    print(f"load {load_s * 1000:.1f} ms, cat {cat * 1000:.1f} ms: {load_s / cat:.2f}x (target 4x)")
    print(f"save {save_s * 1000:.1f} ms, cp {cp * 1000:.1f} ms: {save_s / cp:.2f}x (target 4x); "
          f"cp and sync {cp_sync * 1000:.1f} ms: {save_s / cp_sync:.2f}x")
    print(f"peak memory of a load: {peak / 1e6:.1f} MB, {peak / size:.2f}x the file (target 2x)")


if __name__ == "__main__":
    main()
