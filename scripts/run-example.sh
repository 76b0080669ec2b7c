#!/usr/bin/env bash
# Builds hdfe when needed and prints its usage (the example vehicle follows).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/prerequisites.sh
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target hdfe
./build/hdfe --help
