#!/usr/bin/env bash
# Installs what is missing, builds the program and its tools, generates the sample game into game/
# and plays it. Headless machines can set SDL_VIDEODRIVER=offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

build=${KV_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCH=OFF > /dev/null
cmake --build "$build" -j "$(nproc)"

exe=$(realpath "$build/src/kestrelvane")
game=${KV_GAME_DIR:-game}
if [ -x "$build/tools/samplegen" ]; then
  "$build/tools/samplegen" "$game"
else
  mkdir -p "$game"
fi
# The installation folder is the current directory.
cd "$game"
exec "$exe"
