#!/usr/bin/env bash
# The main job: installs what is missing, builds every build (native and both Windows builds) and
# runs the sample job of both model profiles: labels printed through the rendering library, read back
# into PNG previews in build/sample/a and build/sample/b.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
for preset in native mingw-x64 mingw-x86; do
  scripts/build.sh "$preset"
done
for profile in a b; do
  build/native/tools/ktsample_"$profile" -o build/sample/"$profile"
done
