#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
# New inputs go to build-fuzz/corpus-<target>; tests/fixtures only seeds them.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! ls tools/fuzz_*.cpp >/dev/null 2>&1; then exit 0; fi
SECONDS_PER_TARGET=${FUZZ_SECONDS:-60}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DLOGO_BUILD_TESTS=OFF -DLOGO_BUILD_FUZZERS=ON >/dev/null
cmake --build build-fuzz --target fuzzers >build-fuzz/build.log 2>&1 \
  || { tail -n 40 build-fuzz/build.log; echo "fuzz build failed"; exit 1; }
for f in build-fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus="build-fuzz/corpus-$name"
  mkdir -p "$corpus"
  "$f" -max_total_time="$SECONDS_PER_TARGET" -rss_limit_mb=2048 -print_final_stats=0 \
       -artifact_prefix=build-fuzz/ "$corpus" tests/fixtures >build-fuzz/$name.log 2>&1 \
    || { tail -n 40 build-fuzz/$name.log; echo "fuzz target $name failed"; exit 1; }
  echo "fuzz $name: ok"
done
