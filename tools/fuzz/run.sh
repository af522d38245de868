#!/usr/bin/env bash
# Builds the fuzz targets with clang into build/fuzz and runs one of them for
# a given time. Not part of the test run.
# Usage: tools/fuzz/run.sh TARGET SECONDS   (TARGET: host_code_fuzzer, registry_fuzzer)
set -euo pipefail
cd "$(dirname "$0")/../.."
target=${1:?usage: tools/fuzz/run.sh TARGET SECONDS}
seconds=${2:?usage: tools/fuzz/run.sh TARGET SECONDS}

for package in clang libclang-rt-dev; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || {
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends clang libclang-rt-dev
    break
  }
done
tools/install-deps.sh

# Everything is instrumented, so that the library's code guides the fuzzer;
# only the fuzz targets link libFuzzer's main.
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DHOSTCODE_BUILD_FUZZERS=ON -DHOSTCODE_BUILD_TESTS=OFF \
  -DHOSTCODE_BUILD_BENCHMARKS=OFF \
  "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined" > /dev/null
cmake --build build/fuzz --target "$target"

corpus=build/fuzz/corpus/$target
mkdir -p "$corpus"
seeds=tests/fuzz_corpus/$target
[ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
"build/fuzz/tools/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus"
