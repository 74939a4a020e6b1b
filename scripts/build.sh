#!/usr/bin/env bash
# Configures (once) and builds both trees: build/win, the 32-bit Windows module
# and its tests; build/native, the maths under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KELVARO_BUILD:-build}
if [ ! -f "$build/win/build.ninja" ]; then
  cmake -S . -B "$build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/i686-w64-mingw32.cmake" >/dev/null
fi
if [ ! -f "$build/native/build.ninja" ]; then
  cmake -S . -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build/win"
cmake --build "$build/native"
