#!/usr/bin/env bash
# Builds the native program, both Windows programs, an AArch64 build and a
# sanitizer build, with their tests, and runs every test this machine can run.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

mkdir -p build
for build in native win32 win64 aarch64 sanitize; do
  echo "== building $build"
  tools/build.sh "$build" > "build/$build.log" 2>&1 || { cat "build/$build.log"; exit 1; }
done

echo "== Windows programs import only Windows' own DLLs"
for exe in build/win32/hostcode.exe build/win64/hostcode.exe \
           build/win32/hostcode-calc.exe build/win64/hostcode-calc.exe; do
  imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | sort | tr '\n' ' ')
  echo "$exe: $imports"
  for dll in $imports; do
    case "$dll" in
      KERNEL32.dll | ADVAPI32.dll | msvcrt.dll | api-ms-win-crt-*.dll) ;;
      *) echo "unexpected import $dll in $exe" >&2; exit 1 ;;
    esac
  done
done

echo "== native tests"
ctest --test-dir build/native --output-on-failure

# The Windows builds' unit tests and scenarios under Wine; a build this machine
# cannot run (a 32-bit one on a kernel without 32-bit support) is reported as
# skipped.
for build in win64 win32; do
  echo "== $build tests under Wine"
  ctest --test-dir "build/$build" --output-on-failure
done

echo "== aarch64 tests under qemu"
ctest --test-dir build/aarch64 --output-on-failure

echo "== the same codes from every build"
bash tests/cross_check/cross_check.sh build

# The unit tests and the end-to-end scripts again with AddressSanitizer and
# UndefinedBehaviorSanitizer; the long arithmetic slices, the package test
# (its consumer is built without sanitizers) and memcheck stay with the
# native build.
echo "== sanitizer tests"
ctest --test-dir build/sanitize --output-on-failure \
  -E 'verify_all|verify_random|verify_negative|installed_package|memcheck'
