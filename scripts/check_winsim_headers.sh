#!/usr/bin/env bash
# Checks winsim's Windows headers against mingw-w64's, for Windows x64 and x86: every numeric constant winsim
# defines and the size and field offsets of every record it declares must be mingw-w64's. Names each
# difference; the generated sources stay in build/winsim-headers/. See check_winsim_headers.py.
set -euo pipefail
cd "$(dirname "$0")/.."
python3 scripts/check_winsim_headers.py "$PWD" "$PWD/build/winsim-headers"
