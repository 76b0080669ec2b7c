#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine, when missing.
set -euo pipefail
needed=()
command -v g++ >/dev/null 2>&1 || needed+=(g++)
command -v cmake >/dev/null 2>&1 || needed+=(cmake)
command -v make >/dev/null 2>&1 || needed+=(make)
[ -f /usr/include/gtest/gtest.h ] || needed+=(libgtest-dev)
[ -f /usr/include/benchmark/benchmark.h ] || needed+=(libbenchmark-dev)
command -v iconv >/dev/null 2>&1 || needed+=(libc-bin)
if [ "${1:-}" = "--fuzz" ]; then
  command -v clang++ >/dev/null 2>&1 || needed+=(clang)
  ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 \
    || needed+=(libclang-rt-dev)
fi
if [ ${#needed[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing: ${needed[*]}. Install them with: sudo apt-get update && sudo apt-get install -y ${needed[*]}" >&2
    exit 1
  fi
  echo "Installing ${needed[*]}" >&2
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${needed[@]}"
fi
