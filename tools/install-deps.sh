#!/usr/bin/env bash
# Installs, with apt, whatever the build and the tests need and this machine
# lacks. Run as root on Debian; does nothing when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libbenchmark-dev valgrind
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64 wine32:i386
  g++-aarch64-linux-gnu qemu-user
)

# Wine's 32-bit loader comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
