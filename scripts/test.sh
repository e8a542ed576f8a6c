#!/usr/bin/env bash
# Installs the build's packages, builds, and runs the whole test suite twice:
# a normal build, then one with AddressSanitizer + UndefinedBehaviorSanitizer;
# then builds the fuzz targets and runs each for a few seconds on its seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNO_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARNO_SANITIZE=ON -DTARNO_BUILD_BENCH=OFF
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
FUZZ_SEEDS_MAX=200 FUZZ_RUNS=3000 JOBS="$jobs" bash scripts/fuzz.sh 60
