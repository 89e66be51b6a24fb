#!/usr/bin/env bash
# Builds both profiles for both Windows architectures and lays out the driver packages under dist/: one
# folder per profile with its INF and the DLLs of each architecture (amd64/, x86/), and a zip of each.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
for preset in mingw-x64 mingw-x86; do
  scripts/build.sh "$preset"
done
rm -rf dist
mkdir -p dist
for profile in a b; do
  case $profile in
    a) name=kt508 ;;
    b) name=kt936 ;;
  esac
  folder="dist/$name"
  mkdir -p "$folder/amd64" "$folder/x86"
  cp "package/$name.inf" "$folder/"
  for arch in x64 x86; do
    case $arch in
      x64) to=amd64 ;;
      x86) to=x86 ;;
    esac
    cp "build/mingw-$arch/render/$profile/ktrender.dll" "build/mingw-$arch/config/$profile/ktcfg.dll" "$folder/$to/"
  done
  (cd dist && rm -f "$name.zip" && zip -qr "$name.zip" "$name")
  echo "dist/$name/ and dist/$name.zip"
done
