#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs them for FUZZ_SECONDS in all
# (60 unless set), shared out evenly. New inputs go to
# build-fuzz/corpus-<target>; tests/fixtures and tests/fuzz/<target> only seed
# them.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! ls tests/fuzz/fuzz_*.cpp >/dev/null 2>&1; then exit 0; fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DLOGO_BUILD_TESTS=OFF -DLOGO_BUILD_FUZZERS=ON >/dev/null
cmake --build build-fuzz --target fuzzers >build-fuzz/build.log 2>&1 \
  || { tail -n 40 build-fuzz/build.log; echo "fuzz build failed"; exit 1; }
targets=()
for f in build-fuzz/fuzz_*; do
  [ -f "$f" ] && [ -x "$f" ] && targets+=("$f")
done
[ ${#targets[@]} -gt 0 ] || exit 0
SECONDS_PER_TARGET=$(( ${FUZZ_SECONDS:-60} / ${#targets[@]} ))
[ "$SECONDS_PER_TARGET" -ge 1 ] || SECONDS_PER_TARGET=1
for f in "${targets[@]}"; do
  name=$(basename "$f")
  corpus="build-fuzz/corpus-$name"
  seeds=tests/fixtures
  [ -d "tests/fuzz/$name" ] && seeds="tests/fuzz/$name"
  mkdir -p "$corpus"
  "$f" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
       -artifact_prefix=build-fuzz/ "$corpus" "$seeds" >build-fuzz/$name.log 2>&1 \
    || { tail -n 40 build-fuzz/$name.log; echo "fuzz target $name failed"; exit 1; }
  echo "fuzz $name: ok"
done
