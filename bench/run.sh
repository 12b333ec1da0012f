#!/usr/bin/env bash
# Runs every benchmark. The large files come from the shared corpus generator (fixed seed),
# so figures compare from change to change.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
corpus=$here/../../shared/bench/make_corpus.py
[ -f "$corpus" ] || corpus=$here/../shared/bench/make_corpus.py
data=${TARNWICK_BENCH_DATA:-/tmp/tarnwick-bench}
mkdir -p "$data"
html=$data/html50.html
[ -f "$html" ] || python3 "$corpus" --kind html --size-mb 50 --out "$html"
export TARNWICK_BENCH_HTML=$html

for b in "$build"/bench/*_bench; do
  echo "== $(basename "$b")"
  "$b"
done
echo "== text buffer against cat and cp"
python3 "$here/compare_text_buffer.py" "$build/bench/text_buffer_bench" "$html"
