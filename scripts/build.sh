#!/usr/bin/env bash
# Configures and builds Velmora into build/ (Release, warnings as errors under CI).
set -euo pipefail
cd "$(dirname "$0")/.."
werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVELMORA_WERROR="$werror" >/dev/null
cmake --build build -j"$(nproc)"
