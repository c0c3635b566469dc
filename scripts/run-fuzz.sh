#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each over its seed corpus in fuzz/corpus/<target>/.
# Any finding (a crash, a sanitizer report, a leak, a time-out) fails the run and its reproducer is kept
# in the build folder's fuzz-findings/. Usage:
#   bash scripts/run-fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# Seconds default to 20 (KV_FUZZ_SECONDS also sets it); with no target named, every target runs. Targets
# run side by side, one per core (KV_JOBS sets how many).
# The seed corpus is never written: new inputs go to a scratch copy. Inputs that once failed are kept in
# fuzz/regressions/<target>/, which fuzz/make-corpus.sh leaves alone, and run with the seeds.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${KV_FUZZ_SECONDS:-20}}
[ $# -gt 0 ] && shift
build=${KV_FUZZ_BUILD_DIR:-build-fuzz}
jobs=${KV_JOBS:-$(nproc)}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in fuzz/*.cpp; do
    targets+=("fuzz_$(basename "$src" .cpp)")
  done
fi

# Only the targets are built (not the game, the tools or the seed maker): the engine's libraries and
# the harnesses.
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_FUZZ=ON \
  -DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCH=OFF > /dev/null
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

root=$PWD
build=$(cd "$build" && pwd)
findings=$build/fuzz-findings
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# One target per core at a time; each keeps its own log, shown when it fails.
run_target() {
  local target=$1
  mkdir -p "$scratch/$target" "fuzz/corpus/$target"
  # The model and animation readers check every count against the whole file, and their files run to
  # hundreds of KB: they get inputs up to 1 MB rather than libFuzzer's 4 KB.
  local options=()
  case $target in
    fuzz_model_readers | fuzz_animation_readers) options=(-max_len=1048576) ;;
  esac
  # libFuzzer writes new inputs into the first folder only: the scratch copy comes first, then the seeds
  # and the kept regressions, which are only read.
  local folders=("$scratch/$target" "$root/fuzz/corpus/$target")
  [ -d "fuzz/regressions/$target" ] && folders+=("$root/fuzz/regressions/$target")
  # Leaks are findings too (but those of fuzz/lsan.supp, inside system libraries); the logs of the engine
  # go nowhere (each target sends them to /dev/null).
  if (cd "$scratch" && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
        LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp:print_suppressions=0 \
        "$build/fuzz/$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
        -artifact_prefix="$findings/$target-" -print_final_stats=1 ${options[@]+"${options[@]}"} \
        "${folders[@]}" > "$scratch/$target.log" 2>&1); then
    touch "$scratch/$target.ok"
  fi
}
running=0
for target in "${targets[@]}"; do
  echo "== $target: ${seconds}s"
  run_target "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait
failed=()
for target in "${targets[@]}"; do
  if [ -e "$scratch/$target.ok" ]; then
    echo "$target: $(grep -E "^stat::number_of_executed_units" "$scratch/$target.log" || echo done)"
  else
    echo "== $target failed:"
    tail -n 60 "$scratch/$target.log"
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz findings in: ${failed[*]} (reproducers in $findings)"
  exit 1
fi
