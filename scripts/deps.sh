#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail

packages=(
  git python3 cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  clang libclang-rt-14-dev clang-format
  libpugixml-dev
  zip
  wine wine64 wine32:i386 fonts-wine xvfb xauth fonts-ipafont-gothic locales
  libfreetype-dev libzint-dev zbar-tools
)

# The 32-bit Wine runs the x86 DLLs; its packages come from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
