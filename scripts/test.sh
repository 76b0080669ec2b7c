#!/usr/bin/env bash
# Builds hdfe and runs every test. With --sanitize the build runs under
# AddressSanitizer and UndefinedBehaviorSanitizer in its own folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/prerequisites.sh
build=build
flags=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  flags=(-DHDFE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$build" "${flags[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
