#!/usr/bin/env bash
# Builds and runs the maths benchmark in a native Release tree of its own
# (build-bench, no sanitizers). Arguments go to the benchmark program.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKELVARO_BENCH=ON -DKELVARO_SANITIZE=OFF >/dev/null
cmake --build build-bench --target math_bench
build-bench/bench/math/math_bench "$@"

# The drag step of the real panel in Kelvaro.dll under Wine, next to the two
# Win32 floors, with the module's own heap calls counted. KELVARO_DRAG_SWEEPS
# sets the number of timed sweeps (default 40).
build=${KELVARO_BUILD:-build}
if [ ! -f "$build/win/build.ninja" ]; then
  cmake -S . -B "$build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/i686-w64-mingw32.cmake" >/dev/null
fi
cmake --build "$build/win" --target drag_bench
echo "== drag step of the panel in Kelvaro.dll, under Wine"
scripts/wine-session "$build/win" bash -c \
  'cd "$0" && LANG=ja_JP.UTF-8 wine bench/drag/drag_bench.exe "$1"' \
  "$build/win" "${KELVARO_DRAG_SWEEPS:-40}"
