#!/usr/bin/env bash
# Checks the Windows builds of both libraries: each ktrender.dll and ktcfg.dll exports exactly the names of
# its .def file (render/ktrender.def, config/ktcfg.def), undecorated, and imports only from the Windows
# system DLLs that library may use. ktcfg loads the common property sheet library (compstui.dll) by name,
# so it must never import from it. Both carry the version resource of their profile and word size; ktcfg
# also its manifest and every dialog, icon, bitmap and control id of config/res/resource.h
# (tools/reslist/check_resources.py reads the modules' resource sections).
set -euo pipefail
cd "$(dirname "$0")/.."

# library folder, module name, system DLLs it may import from (compared case-insensitively).
libraries=(
  "render ktrender kernel32.dll gdi32.dll winspool.drv msvcrt.dll"
  "config ktcfg kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll winspool.drv ole32.dll oleaut32.dll msvcrt.dll"
)

status=0
for entry in "${libraries[@]}"; do
  read -r folder module allowed_imports <<<"$entry"
  expected=$(awk '/^EXPORTS/ {on = 1; next} on && NF && $1 !~ /^;/ {print $1}' "$folder/$module.def" | sort)
  checked=0
  library_status=0
  for arch in x64 x86; do
    case $arch in
      x64) objdump=x86_64-w64-mingw32-objdump ;;
      x86) objdump=i686-w64-mingw32-objdump ;;
    esac
    for profile in a b; do
      dll=build/mingw-$arch/$folder/$profile/$module.dll
      if [ ! -f "$dll" ]; then
        echo "$dll: missing"
        library_status=1
        continue
      fi
      dump=$("$objdump" -p "$dll")
      exports=$(printf '%s\n' "$dump" |
        awk '/\[Ordinal\/Name Pointer\] Table|\[Name Pointer\/Ordinal\] Table/ {on = 1; next}
             on && /^[ \t]*\[ *[0-9]+\] [^ ]/ {print $NF; next}
             on && !/^[ \t]*\[/ {on = 0}' | sort)
      if [ "$exports" != "$expected" ]; then
        echo "$dll: exports differ from $folder/$module.def"
        diff <(printf '%s\n' "$expected") <(printf '%s\n' "$exports") || true
        library_status=1
      fi
      while read -r imported; do
        [ -n "$imported" ] || continue
        lower=$(printf '%s' "$imported" | tr '[:upper:]' '[:lower:]')
        case " $allowed_imports " in
          *" $lower "*) ;;
          *)
            echo "$dll: imports from $imported, which is not a Windows system DLL it may use"
            library_status=1
            ;;
        esac
      done < <(printf '%s\n' "$dump" | awk '/DLL Name:/ {print $3}')
      python3 tools/reslist/check_resources.py "$module" "$dll" "$profile" "$arch" config/res/resource.h ||
        library_status=1
      checked=$((checked + 1))
    done
  done
  if [ $library_status -eq 0 ]; then
    echo "$module.dll: exports, imports and resources as expected ($checked builds)"
  fi
  status=$((status | library_status))
done
exit $status
