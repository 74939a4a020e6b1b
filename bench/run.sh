#!/usr/bin/env bash
# Builds and runs the maths benchmark in a native Release tree of its own
# (build-bench, no sanitizers). Arguments go to the benchmark program.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKELVARO_BENCH=ON -DKELVARO_SANITIZE=OFF >/dev/null
cmake --build build-bench --target math_bench
exec build-bench/bench/math/math_bench "$@"
