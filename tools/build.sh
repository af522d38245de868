#!/usr/bin/env bash
# Configures and builds one of the builds into build/<name>/: native, win32
# (i686), win64 (x86_64), aarch64 (ARM Linux, run under qemu), or sanitize
# (native, with AddressSanitizer and UndefinedBehaviorSanitizer).
# Usage: tools/build.sh native|win32|win64|aarch64|sanitize
set -euo pipefail
cd "$(dirname "$0")/.."

name=$1
type=Release
case "$name" in
  native) options=() ;;
  win32) options=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake "-DHOSTCODE_NATIVE_BUILD=$PWD/build/native") ;;
  win64) options=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake "-DHOSTCODE_NATIVE_BUILD=$PWD/build/native") ;;
  aarch64) options=(-DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux.cmake -DHOSTCODE_BUILD_BENCHMARKS=OFF) ;;
  sanitize)
    type=RelWithDebInfo
    flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    options=("-DCMAKE_CXX_FLAGS=$flags" "-DCMAKE_EXE_LINKER_FLAGS=$flags" -DHOSTCODE_BUILD_BENCHMARKS=OFF)
    ;;
  *) echo "usage: tools/build.sh native|win32|win64|aarch64|sanitize" >&2; exit 2 ;;
esac

cmake -S . -B "build/$name" -G Ninja -DCMAKE_BUILD_TYPE=$type \
  -DHOSTCODE_WARNINGS_AS_ERRORS=ON "${options[@]}" > /dev/null
cmake --build "build/$name"
