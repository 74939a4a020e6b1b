#!/usr/bin/env bash
# Set-up, build, every test: the Windows build under Wine (in an Xvfb display,
# with one persistent wineserver), the native maths under the sanitizers, and
# short runs of the native text fuzzers.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh
build=${KELVARO_BUILD:-build}

echo "== native maths under AddressSanitizer and UndefinedBehaviorSanitizer"
(cd "$build/native" && ctest --output-on-failure -j2)

echo "== text fuzzers (libFuzzer), a short run each"
KELVARO_BUILD="$build" fuzz/run.sh "${KELVARO_FUZZ_SECONDS:-20}"

echo "== Windows build under Wine"
scripts/wine-session "$build/win" bash -c 'cd "$0" && ctest --output-on-failure -j2' "$build/win"
