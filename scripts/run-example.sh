#!/usr/bin/env bash
# Builds hdfe when needed, evaluates the bundled T5 example truck and shows
# the console summary and the results file (converted from Shift_JIS to UTF-8
# for reading; the file itself stays Shift_JIS with CR LF line ends).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
example=${1:-t5-truck}
bash scripts/prerequisites.sh
cmake -S . -B build >/dev/null
cmake --build build -j "$(nproc)" --target hdfe hdfe-schedule >/dev/null
mkdir -p out
result="$root/out/$example"
cd "examples/$example"
"$root/build/hdfe" spec.txt "$result" | tr -d '\r'
echo
echo "=== $result (results file, shown in UTF-8) ==="
head -n 30 "$result" | iconv -f CP932 -t UTF-8 | tr -d '\r'
lines=$(wc -l < "$result")
if [ "$lines" -gt 30 ]; then
  echo "=== ... followed by $((lines - 30)) lines of second-by-second trace data ==="
fi
