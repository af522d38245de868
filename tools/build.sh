#!/usr/bin/env bash
# Configures and builds one of the three builds: native, win32 (i686) or
# win64 (x86_64), into build/<name>/. Usage: tools/build.sh native|win32|win64
set -euo pipefail
cd "$(dirname "$0")/.."

name=$1
case "$name" in
  native) toolchain=() ;;
  win32) toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake) ;;
  win64) toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake) ;;
  *) echo "usage: tools/build.sh native|win32|win64" >&2; exit 2 ;;
esac

cmake -S . -B "build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DHOSTCODE_WARNINGS_AS_ERRORS=ON "${toolchain[@]}" > /dev/null
cmake --build "build/$name"
