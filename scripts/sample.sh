#!/usr/bin/env bash
# Installs the build's packages, builds tarno, and runs it on the bundled sample project.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target tarno
./build/tarno --version
