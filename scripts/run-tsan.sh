#!/usr/bin/env bash
# The cases that start threads, under ThreadSanitizer: the quit flags a signal sets on any thread, the
# process reaper, the fontconfig loading, the sound device's and the sound feeding threads (platform), and
# every sound and movie case (media: the feeding threads, the movie threads). ThreadSanitizer cannot share
# a build with AddressSanitizer: a build of its own (KV_TSAN_BUILD_DIR, build-tsan) holds just those two
# test programs. Any report stops its case with a failure, and so fails the run (no report is suppressed:
# the software rasteriser draws without its worker threads, LP_NUM_THREADS=0). Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

build=${KV_TSAN_BUILD_DIR:-build-tsan}
jobs=$(nproc)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DKV_SANITIZE_THREAD=ON -DKV_BUILD_BENCH=OFF > /dev/null
cmake --build "$build" -j "$jobs" --target kv_tests_platform kv_tests_media

export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
# The test main ends a process that opened a window with _exit, past ThreadSanitizer's exit-time verdict:
# the first report ends the process there and then, with a failing code.
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:exitcode=66:second_deadlock_stack=1}
cd "$build"
threaded='^(PfSignal|PfProcess|PfFontconfigStart|PfSoundBuffer|PfAudioDevice)'
ctest --output-on-failure -j "$jobs" -R "$threaded" "$@"
ctest --output-on-failure -j "$jobs" -L media -E ffmpeg_seeds_memcheck "$@"
