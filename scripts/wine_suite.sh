#!/usr/bin/env bash
# The Wine suite: the real Windows DLLs (x64 and x86, both profiles) at work under Wine, through Wine's own
# spooler. Each host program installs the driver into a fresh prefix's spooler and prints the shared jobs
# through the real ktrender.dll; every captured stream must equal, byte for byte, what the native build
# prints for the same settings and pixels. Then the property sheets of the real ktcfg.dll are driven on an
# X server (Xvfb when no display is set) and every page is written as a PNG under build/wine-suite/ui/.
# Needs the native and both Windows builds.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD/build/wine-suite"
rm -rf "$root"
mkdir -p "$root"

export WINEPREFIX="$root/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A Japanese Windows: the ANSI code page is 932.
export LANG=ja_JP.UTF-8
locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$' || localedef -i ja_JP -f UTF-8 ja_JP.UTF-8

run() { timeout "$@"; }

# Debian's wine command starts Wine's 32-bit loader first. A machine whose kernel cannot run 32-bit programs
# runs the 64-bit loader directly and leaves out the x86 builds, saying so.
arches="x64 x86"
wine=wine
if ! wine --version >/dev/null 2>&1; then
  wine=/usr/lib/wine/wine64
  arches="x64"
  echo "wine: this machine cannot run 32-bit programs; the x86 DLLs are not run under Wine"
fi
winepath() { "$wine" winepath "$@" 2>/dev/null; }
# The property sheets need an X server. Without a display the suite starts its own on the first free number
# from 97 and stops it at the end.
xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 97 127); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$root/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    export DISPLAY=":$n"
    break
  done
fi

run 180 "$wine" wineboot -i >/dev/null 2>&1
run 60 "$wine" regedit /S "$(winepath -w tests/wine/settings.reg)" >/dev/null 2>&1
run 60 wineserver -w
# Wine draws the caption buttons with its Marlett font, which this Wine build does not find in its own data
# folder; the prefix's font folder is where every Windows program finds it.
if [ -e /usr/share/wine/fonts/marlett.ttf ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi

status=0
for profile in a b; do
  case $profile in
    a) name=kt508 ;;
    b) name=kt936 ;;
  esac
  expected="$root/native-$profile"
  mkdir -p "$expected"
  build/native/tests/wine/kt_native_expected_"$profile" "build/native/render/libktrender_$profile.so" \
    "build/native/config/libktcfg_$profile.so" "$expected"
  for arch in $arches; do
    out="$root/$arch-$profile"
    mkdir -p "$out"
    # Installed from the package as a user installs it (scripts/package.sh lays it out under dist/).
    if ! run 300 "$wine" "build/mingw-$arch/wine/kt_wine_render_$profile.exe" "$(winepath -w "dist/$name/$name.inf")" \
        "$(winepath -w "$out")" >"$out/host.log" 2>&1; then
      echo "wine $arch $profile: the host failed"
      cat "$out/host.log"
      status=1
      continue
    fi
    for stream in "$expected"/*.prn; do
      job=$(basename "$stream")
      if ! cmp -s "$stream" "$out/$job"; then
        echo "wine $arch $profile: $job differs from the native build's"
        cmp "$stream" "$out/$job" | head -1 || true
        status=1
      fi
    done
    # The configuration library's answers through Wine's winspool, line by line against the native ones.
    if ! diff "$expected/config.txt" "$out/config.txt" >"$out/config.diff"; then
      echo "wine $arch $profile: the configuration library answers differently (< native, > Wine):"
      cat "$out/config.diff"
      status=1
    fi
    echo "wine $arch $profile: $(grep -c '^printer ' "$out/host.log") printers from the INF," \
      "$(ls "$expected"/*.prn | wc -l) jobs byte for byte as natively, $(wc -l <"$expected/config.txt") configuration answers"
    # The property sheets, driven as a user drives them through Wine's own common libraries.
    shots="$root/ui/$profile"
    [ "$arch" = x64 ] || shots="$root/ui/$profile-$arch"
    mkdir -p "$shots"
    if ! run 120 "$wine" "build/mingw-$arch/wine/kt_wine_ui_$profile.exe" "$(winepath -w "dist/$name/$name.inf")" \
        "$(winepath -w "$shots")" >"$shots/host.log" 2>&1; then
      echo "wine $arch $profile: the property sheets failed:"
      grep -v '^[[:space:]]\|^[0-9a-f]\{8\} ' "$shots/host.log" | head -40
      status=1
      continue
    fi
    echo "wine $arch $profile: $(tr -d '\r' <"$shots/host.log" | grep -c ': ok$') property sheet runs as a user drives them," \
      "$(ls "$shots"/*.png | wc -l) screenshots in ${shots#"$PWD"/}"
  done
done
exit $status
