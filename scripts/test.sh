#!/usr/bin/env bash
# Installs the build's packages, builds, and runs the whole test suite twice:
# a normal build (GCC, warnings as errors), then a Clang build with
# AddressSanitizer + UndefinedBehaviorSanitizer, whose objects also carry
# libFuzzer's coverage so that the same build gives the fuzz targets; each of
# them then runs for a few seconds on its seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNO_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
# -O1 with line tables only: the sanitizers' reports keep file and line,
# without the cost of unoptimised code and full debug information.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -DTARNO_SANITIZE=ON -DTARNO_FUZZ=ON -DTARNO_BUILD_BENCH=OFF
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
BUILD=build-asan FUZZ_SEEDS_MAX=200 FUZZ_RUNS=3000 JOBS="$jobs" bash scripts/fuzz.sh 60
