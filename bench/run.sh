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
html=$data/html50.html css=$data/css20.css xml=$data/xml20.xml
[ -f "$html" ] || python3 "$corpus" --kind html --size-mb 50 --out "$html"
[ -f "$css" ] || python3 "$corpus" --kind css --size-mb 20 --out "$css"
[ -f "$xml" ] || python3 "$corpus" --kind xml --size-mb 20 --out "$xml"
export TARNWICK_BENCH_HTML=$html TARNWICK_BENCH_CSS=$css TARNWICK_BENCH_XML=$xml

for b in "$build"/bench/*_bench; do
  echo "== $(basename "$b")"
  "$b"
done
echo "== text buffer against cat and cp"
python3 "$here/compare_text_buffer.py" "$build/bench/text_buffer_bench" "$html"
echo "== search against grep and sed"
python3 "$here/compare_search.py" "$build/bench/search_bench" "$html"
echo "== highlighters against wc -l"
python3 "$here/compare_highlighters.py" "$build/bench/highlighter_bench"
echo "== FTP upload to vsftpd against curl"
python3 "$here/compare_ftp.py" "$build/bench/ftp_store_tool"
