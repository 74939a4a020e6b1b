#!/usr/bin/env bash
# Builds the two text fuzzers natively with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for a while from its corpus.
#     fuzz/run.sh [seconds per fuzzer]     (default 20)
# A finding stops the run with the crashing input saved under the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
out=${KELVARO_BUILD:-build}/fuzz
mkdir -p "$out"
flags=(-std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -I. -Ifuzz/native)
clang++ "${flags[@]}" fuzz/numeric_text_fuzzer.cpp panel/numeric_text.cpp -o "$out/numeric_text_fuzzer"
clang++ "${flags[@]}" fuzz/limits_texts_fuzzer.cpp panel/limits_validation.cpp panel/numeric_text.cpp \
  -o "$out/limits_texts_fuzzer"
for name in numeric_text limits_texts; do
  mkdir -p "$out/corpus/$name"
  echo "== fuzzing $name for ${seconds}s"
  if ! "$out/${name}_fuzzer" -max_total_time="$seconds" -seed=1 -max_len=64 \
      -artifact_prefix="$out/" "$out/corpus/$name" "fuzz/corpus/$name" >"$out/$name.log" 2>&1; then
    tail -n 30 "$out/$name.log"
    echo "fuzz: $name found a failing input (saved under $out/)" >&2
    exit 1
  fi
  tail -n 1 "$out/$name.log"
done
