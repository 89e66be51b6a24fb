#!/usr/bin/env bash
# Checks the Windows builds of the rendering library: each ktrender.dll exports exactly the names of
# render/ktrender.def, undecorated, and imports only from Windows system DLLs.
set -euo pipefail
cd "$(dirname "$0")/.."

# System DLLs the rendering library may import from (compared case-insensitively).
allowed_imports="kernel32.dll gdi32.dll winspool.drv msvcrt.dll"

expected=$(awk '/^EXPORTS/ {on = 1; next} on && NF && $1 !~ /^;/ {print $1}' render/ktrender.def | sort)
status=0
checked=0

for arch in x64 x86; do
  case $arch in
    x64) objdump=x86_64-w64-mingw32-objdump ;;
    x86) objdump=i686-w64-mingw32-objdump ;;
  esac
  for profile in a b; do
    dll=build/mingw-$arch/render/$profile/ktrender.dll
    if [ ! -f "$dll" ]; then
      echo "$dll: missing"
      status=1
      continue
    fi
    dump=$("$objdump" -p "$dll")
    exports=$(printf '%s\n' "$dump" |
      awk '/\[Ordinal\/Name Pointer\] Table|\[Name Pointer\/Ordinal\] Table/ {on = 1; next}
           on && /^[ \t]*\[ *[0-9]+\] [^ ]/ {print $NF; next}
           on && !/^[ \t]*\[/ {on = 0}' | sort)
    if [ "$exports" != "$expected" ]; then
      echo "$dll: exports differ from render/ktrender.def"
      diff <(printf '%s\n' "$expected") <(printf '%s\n' "$exports") || true
      status=1
    fi
    while read -r imported; do
      [ -n "$imported" ] || continue
      lower=$(printf '%s' "$imported" | tr '[:upper:]' '[:lower:]')
      case " $allowed_imports " in
        *" $lower "*) ;;
        *)
          echo "$dll: imports from $imported, which is not a Windows system DLL it may use"
          status=1
          ;;
      esac
    done < <(printf '%s\n' "$dump" | awk '/DLL Name:/ {print $3}')
    checked=$((checked + 1))
  done
done

if [ $status -eq 0 ]; then
  echo "ktrender.dll: exports and imports as expected ($checked builds)"
fi
exit $status
