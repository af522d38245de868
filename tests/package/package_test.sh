#!/usr/bin/env bash
# Installs the library from a build folder into a fresh prefix, then
# configures, builds and runs a tiny consumer project against it.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" > "$work/install.log"
cmake -S "$source/tests/package/consumer" -B "$work/consumer" -G Ninja \
  -DCMAKE_PREFIX_PATH="$work/prefix" > "$work/configure.log"
cmake --build "$work/consumer" > "$work/build.log"
actual=$("$work/consumer/consumer")
expected=$'197-4903-750\n162-9830-315'
if [ "$actual" = "$expected" ]; then
  echo "1 passed, 0 failed"
else
  printf 'FAIL consumer printed %q, expected %q\n' "$actual" "$expected"
  echo "0 passed, 1 failed"
  exit 1
fi
