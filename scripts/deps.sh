#!/usr/bin/env bash
# Debian packages the build needs.
set -euo pipefail
pkgs=(g++ cmake ninja-build ccache libgtest-dev libgmock-dev libcli11-dev nlohmann-json3-dev libbenchmark-dev
      qt6-base-dev qt6-translations-l10n fonts-ipafont clang libclang-rt-14-dev)
missing=()
for p in "${pkgs[@]}"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
