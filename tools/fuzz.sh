#!/usr/bin/env bash
# Runs one fuzz target for real: builds it with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ and fuzzes it for SECONDS (default 300), starting
# from its seed corpus in tests/fuzz/corpus/TARGET. New inputs go to build-fuzz/corpus/TARGET;
# a finding is written to build-fuzz/ as crash-* and replays with build-fuzz/tests/TARGET FILE.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:?usage: tools/fuzz.sh ReadersFuzz|ArgumentsFuzz [SECONDS]}"
seconds="${2:-300}"
[ -d "tests/fuzz/corpus/$target" ] || { echo "no fuzz target $target" >&2; exit 2; }

scripts/setup-debian.sh --fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_FUZZ=ON -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "$target"

mkdir -p "build-fuzz/corpus/$target"
cd build-fuzz
exec "tests/$target" -max_total_time="$seconds" -print_final_stats=1 \
  "corpus/$target" "../tests/fuzz/corpus/$target"
