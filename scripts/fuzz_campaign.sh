#!/usr/bin/env bash
# The long fuzzing campaign: every fuzz target (or those named) for 10,000,000 executions or 30 minutes,
# whichever comes first, under AddressSanitizer and UndefinedBehaviorSanitizer, starting from its seed
# corpus. Prints per target the executions, the coverage and the peak memory; findings stop the target and
# are kept under build/fuzz-campaign/<target>/. Not part of the test command.
#
#     bash scripts/fuzz_campaign.sh [TARGET...]      (FUZZ_SECONDS and FUZZ_RUNS override the limits)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-1800}"
runs="${FUZZ_RUNS:-10000000}"
cmake --preset fuzz >/dev/null
all=$(ninja -C build/fuzz -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): .*/\1/p' | sort -u)
targets="${*:-$all}"
cmake --build build/fuzz -j "${KT_JOBS:-$(nproc)}" --target $targets >/dev/null
status=0
for name in $targets; do
  out="build/fuzz-campaign/$name"
  rm -rf "$out"
  mkdir -p "$out/corpus" "$out/findings"
  seeds=()
  [ -d "tests/fuzz/corpus/$name" ] && seeds=("tests/fuzz/corpus/$name")
  if build/fuzz/tests/fuzz/"$name" -runs="$runs" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$out/findings/" "$out/corpus" "${seeds[@]}" >"$out/log" 2>&1; then
    result="no finding"
  else
    result="FINDING (see $out/log)"
    status=1
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/log" | tail -1)
  peak=$(sed -n 's/^stat::peak_rss_mb: *//p' "$out/log" | tail -1)
  coverage=$(grep -o 'cov: [0-9]*' "$out/log" | tail -1 | cut -d' ' -f2)
  seconds_run=$(grep -o 'DONE .*' "$out/log" | head -1 || true)
  echo "$name: $executions executions, coverage $coverage, peak $peak MB: $result"
done
exit $status
