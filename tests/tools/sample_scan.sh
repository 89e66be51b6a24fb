#!/usr/bin/env bash
# The sample job's previews scan: each label's Code 128 barcode and QR code read back, with zbarimg, as the
# serial numbers of the job in order. Usage: sample_scan.sh SAMPLE_TOOL OUT_DIR. Exit 77 (skipped) when
# zbarimg is missing.
set -euo pipefail
tool="$1"
out="$2"
if ! command -v zbarimg >/dev/null; then
  echo "zbarimg is missing: skipped"
  exit 77
fi
rm -rf "$out"
"$tool" --labels 3 -o "$out"
status=0
for n in 1 2 3; do
  png=$(printf '%s/label-%04d.png' "$out" "$n")
  serial=$(printf 'KT-%06d' $((240000 + n)))
  found=$(zbarimg --quiet "$png" 2>/dev/null | sort | tr '\n' ' ')
  expected="CODE-128:$serial QR-Code:$serial "
  if [ "$found" != "$expected" ]; then
    echo "$png: read \"$found\", expected \"$expected\""
    status=1
  fi
done
[ $status -eq 0 ] && echo "3 labels scan to their serial numbers"
exit $status
