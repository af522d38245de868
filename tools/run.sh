#!/usr/bin/env bash
# Builds the native program and runs it: it prints this machine's host code.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh native > /dev/null
exec build/native/hostcode
