#!/usr/bin/env bash
# Runs the platform's FFmpeg-facing classes over the movie and WAVE fuzz seeds under valgrind's memcheck
# (CTest runs it with the driver tests/memcheck/FFmpegSeedDriver.cpp builds). AddressSanitizer does not see
# a value read before it was ever set; memcheck does, on a driver built without sanitizers, and such a value
# handed to FFmpeg (a layout whose garbage reads as a map to free, say) fails the run, as does an invalid
# read, write or free. Exits 77 (skipped) without valgrind or FFmpeg. Usage:
#   bash scripts/memcheck-ffmpeg-seeds.sh DRIVER
set -euo pipefail
driver=$1
root=$(cd "$(dirname "$0")/.." && pwd)

if ! command -v valgrind > /dev/null; then
  echo "valgrind is not installed (scripts/deps.sh installs it): skipped"
  exit 77
fi
shopt -s nullglob
movies=("$root"/fuzz/corpus/fuzz_movie_file/* "$root"/fuzz/regressions/fuzz_movie_file/*)
sounds=("$root"/fuzz/corpus/fuzz_sound_wave/* "$root"/fuzz/regressions/fuzz_sound_wave/*)
# Leaks are the sanitizer build's and the fuzz runs' to find; only definite ones count here, the C
# library's and FFmpeg's own thread and TLS blocks left at exit being "possibly lost".
exec valgrind --tool=memcheck --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite \
  --track-origins=yes "$driver" "${movies[@]}" --sound "${sounds[@]}"
