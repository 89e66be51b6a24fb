#!/usr/bin/env bash
# Configures and builds one preset: native (Linux, winsim, sanitizers), mingw-x64, mingw-x86, fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="$1"
jobs="${KT_JOBS:-$(nproc)}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$jobs"
