#!/usr/bin/env bash
# Builds the native program and both Windows programs with their tests, and
# runs every test that this machine can run.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

mkdir -p build
for build in native win32 win64; do
  echo "== building $build"
  tools/build.sh "$build" > "build/$build.log" 2>&1 || { cat "build/$build.log"; exit 1; }
done

echo "== Windows programs import only Windows' own DLLs"
for exe in build/win32/hostcode.exe build/win64/hostcode.exe; do
  imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | sort | tr '\n' ' ')
  echo "$exe: $imports"
  if [ "$imports" != "ADVAPI32.dll KERNEL32.dll msvcrt.dll " ]; then
    echo "unexpected imports in $exe" >&2
    exit 1
  fi
done

echo "== native tests"
ctest --test-dir build/native --output-on-failure
