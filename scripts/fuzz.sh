#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang++ in build-fuzz and runs each one
# for a bounded time, one after the other, on a scratch copy of its committed
# corpus (fuzz/corpus/<harness>). Exits non-zero when any harness reports a
# finding: a crash, a sanitizer report, a hang beyond 10 s, memory beyond
# 2 GB or a failed check; the input that caused it is kept under
# build-fuzz/findings/<harness>/.
#
# Usage: scripts/fuzz.sh [SECONDS_PER_HARNESS] [HARNESS...]
#        (HDFE_FUZZ_SEED=N fixes libFuzzer's seed, as CI does, so a run on the
#        committed corpus takes the same path every time)
#        scripts/fuzz.sh --refresh-corpus
#          rebuilds fuzz/corpus/ from the seeds of fuzz/make_seeds.py and the
#          inputs the last runs found, minimised with -merge=1
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/prerequisites.sh --fuzz

refresh=false
seconds=60
if [ "${1:-}" = "--refresh-corpus" ]; then
  refresh=true
  shift
elif [ $# -gt 0 ]; then
  seconds=$1
  shift
fi
case "$seconds" in
  '' | *[!0-9]*) echo "fuzz.sh: SECONDS_PER_HARNESS must be a whole number" >&2; exit 2 ;;
esac

# Absolute names: the whole-run harness works inside a folder of its own.
root=$(pwd)
build="$root/build-fuzz"
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DHDFE_FUZZ=ON -DHDFE_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
harnesses=()
if [ $# -gt 0 ]; then
  harnesses=("$@")
else
  for source in fuzz/*_fuzz.cpp; do harnesses+=("$(basename "$source" .cpp)"); done
fi
cmake --build "$build" -j 2 --target "${harnesses[@]}"

if $refresh; then
  seeds="$build/seeds"
  rm -rf "$seeds"
  python3 fuzz/make_seeds.py "$seeds"
  for harness in "${harnesses[@]}"; do
    merged="$build/merged/$harness"
    rm -rf "$merged"
    mkdir -p "$merged"
    sources=("$seeds/$harness")
    [ -d "fuzz/corpus/$harness" ] && sources+=("$root/fuzz/corpus/$harness")
    [ -d "$build/corpus/$harness" ] && sources+=("$build/corpus/$harness")
    # Edges only (no hit counters): the smallest set of files that reaches
    # every covered branch (tens of files per harness, the whole run's 180).
    "$build/$harness" -merge=1 -use_counters=0 -timeout=10 -rss_limit_mb=2048 "$merged" \
      "${sources[@]}" \
      >"$build/merge-$harness.log" 2>&1
    rm -rf "fuzz/corpus/$harness"
    mkdir -p "fuzz/corpus/$harness"
    cp "$merged"/* "fuzz/corpus/$harness/"
    echo "$harness: $(ls "fuzz/corpus/$harness" | wc -l) corpus files"
  done
  exit 0
fi

status=0
for harness in "${harnesses[@]}"; do
  corpus="$build/corpus/$harness"
  findings="$build/findings/$harness"
  log="$build/logs/$harness.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  # The committed corpus is copied, so the source tree is never written.
  if [ -d "fuzz/corpus/$harness" ]; then cp -n "fuzz/corpus/$harness"/* "$corpus/" 2>/dev/null || true; fi
  if "$build/$harness" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -dict="$root/fuzz/hdfe.dict" -artifact_prefix="$findings/" -print_final_stats=1 \
    -seed="${HDFE_FUZZ_SEED:-0}" >"$log" 2>&1; then
    outcome=ok
  else
    outcome=FINDING
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 || true)
  echo "$harness: $outcome, ${runs:-?} executions, ${coverage:-cov: ?}"
  if [ "$outcome" != ok ]; then
    grep -E 'FINDING|ERROR|SUMMARY|Test unit written' "$log" | head -n 20 >&2 || true
  fi
done
exit $status
