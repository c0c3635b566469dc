#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (the benchmark sources compiled but not linked), and runs every test headless, the layering check
# among them. Extra arguments go to ctest (for example -L core). `-L layering` alone runs the layering
# check straight from the sources, as its test does: it needs neither the packages nor a build.
set -euo pipefail
cd "$(dirname "$0")/.."

case "$*" in
"-L layering" | "-Llayering" | "--label-regex layering" | "-L ^layering\$")
  exec cmake -DKV_SOURCE_DIR="$PWD" -P cmake/CheckLayering.cmake
  ;;
esac

bash scripts/deps.sh

build=${KV_TEST_BUILD_DIR:-build-tests}
jobs=$(nproc)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE=ON -DKV_BUILD_BENCH=OFF -DKV_CHECK_BENCH=ON > /dev/null
cmake --build "$build" -j "$jobs"

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$build"
ctest --output-on-failure -j "$jobs" "$@"
