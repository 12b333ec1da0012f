#!/usr/bin/env bash
# Builds the highlighter fuzz targets with clang's libFuzzer and runs each for a bounded time
# on the seed corpus kept beside them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
out=${FUZZ_BUILD:-$top/build-fuzz}
seconds=${FUZZ_SECONDS:-30}
mkdir -p "$out"
sources=("$top"/src/highlight/*.cpp)
for target in Html Css Xml; do
  lower=$(echo "$target" | tr 'A-Z' 'a-z')
  binary=$out/${lower}_fuzzer
  if [ ! -x "$binary" ] || [ -n "$(find "$top/src/highlight" "$here" -newer "$binary" -name '*.[ch]*' | head -n 1)" ]; then
    clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
      -I"$top/src" -I"$here" "$here/${target}Fuzzer.cpp" "${sources[@]}" -o "$binary"
  fi
  work=$out/corpus-$lower
  cd "$out"
  mkdir -p "$work"
  log=$out/$lower.log
  echo "== $lower: ${seconds}s"
  if ! "$binary" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
      "$work" "$here/corpus/$lower" > "$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzzing $lower found a fault; the input is in $out"
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units)' "$log"
done
