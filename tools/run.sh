#!/usr/bin/env bash
# Builds the Windows program and runs it under Wine, in a prefix kept in the
# build folder (made on first use): it prints the host code of that Wine
# machine, read from Wine's registry. The 32-bit program is used where this
# machine can run 32-bit programs, the 64-bit one otherwise; both read the
# same registry view and print the same code.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
kind=win64
/usr/lib/wine/wine --version > /dev/null 2>&1 && kind=win32
tools/build.sh "$kind" > /dev/null
exec bash cmake/wine-run.sh "$kind" "build/$kind/wineprefix" "build/$kind/hostcode.exe"
