#!/usr/bin/env bash
# Remakes the seed corpus in fuzz/corpus/ from our own tools. Usage:
#   bash fuzz/make-corpus.sh BUILD_FOLDER
# BUILD_FOLDER is a fuzz build (it holds fuzz/fuzz_seeds and tools/soundgen, tools/moviegen).
set -euo pipefail
build=$(cd "$1" && pwd)
corpus=$(cd "$(dirname "$0")" && pwd)/corpus
"$build/fuzz/fuzz_seeds" "$corpus"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/tools/soundgen" fixtures "$scratch" 2> /dev/null
mkdir -p "$corpus/fuzz_sound_wave" "$corpus/fuzz_sound_ogg" "$corpus/fuzz_movie_file"
# The short fixtures of every WAVE format the converter takes, and the Ogg ones.
for f in "$scratch"/*.wav; do
  [ "$(stat -c %s "$f")" -le 200000 ] && cp "$f" "$corpus/fuzz_sound_wave/"
done
for f in "$scratch"/*.ogg; do
  [ "$(stat -c %s "$f")" -le 200000 ] && cp "$f" "$corpus/fuzz_sound_ogg/"
done
"$build/tools/moviegen" "$scratch/tiny.mpg" 32 32 1 > /dev/null
"$build/tools/moviegen" "$scratch/tiny.avi" 16 16 1 --no-sound > /dev/null
"$build/tools/moviegen" "$scratch/tiny.mpv" 32 32 1 --no-sound > /dev/null
cp "$scratch"/tiny.mpg "$scratch"/tiny.avi "$scratch"/tiny.mpv "$corpus/fuzz_movie_file/"
