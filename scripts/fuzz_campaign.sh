#!/usr/bin/env bash
# The long fuzzing campaign: the fuzz targets (or those named), one after the other, each for 10,000,000
# executions or its time cap, whichever comes first, under AddressSanitizer and UndefinedBehaviorSanitizer,
# starting from its seed corpus. The configuration library's entry points and readers go first, then the
# rest. Per target the executions, the coverage (cov and ft of libFuzzer's last report), the peak memory and
# the result are printed and kept in build/fuzz-campaign/summary.txt as each target ends; findings stop the
# target and are kept under build/fuzz-campaign/<target>/findings/. Not part of the test command.
#
#     bash scripts/fuzz_campaign.sh [TARGET...]
#
# FUZZ_RUNS overrides the executions, FUZZ_SECONDS the cap of every target (default 1800 seconds: the
# whole-job, import and capability targets run a few hundred to a few thousand executions a second and do
# not reach 10,000,000 in that time), KT_JOBS the build's parallel jobs. Run it at low priority on a shared
# machine:
#     setsid nohup nice -n 19 bash scripts/fuzz_campaign.sh >build/fuzz-campaign.log 2>&1 &
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${FUZZ_RUNS:-10000000}"
cmake --preset fuzz >/dev/null
all=$(ninja -C build/fuzz -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): .*/\1/p' | sort -u)
first="fuzz_capabilities_a fuzz_capabilities_b fuzz_devmode_a fuzz_devmode_b fuzz_label_import_a fuzz_label_import_b"
ordered=""
for name in $first; do
  if grep -qx "$name" <<<"$all"; then ordered="$ordered $name"; fi
done
for name in $all; do
  case " $first " in *" $name "*) ;; *) ordered="$ordered $name" ;; esac
done
targets="${*:-$ordered}"
mkdir -p build/fuzz-campaign
summary=build/fuzz-campaign/summary.txt
echo "campaign started $(date -u '+%F %T UTC'), at most $runs executions per target" >"$summary"
status=0
for name in $targets; do
  seconds="${FUZZ_SECONDS:-1800}"
  # Each target is built just before it runs, so that the campaign starts as soon as the first one is ready.
  cmake --build build/fuzz -j "${KT_JOBS:-2}" --target "$name" >/dev/null
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
  last=$(grep -E '^#[0-9]+' "$out/log" | tail -1 || true)
  cov=$(grep -o 'cov: [0-9]*' <<<"$last" | cut -d' ' -f2 || true)
  ft=$(grep -o 'ft: [0-9]*' <<<"$last" | cut -d' ' -f2 || true)
  line="$name: ${executions:-?} executions (cap ${seconds}s), cov ${cov:-?} ft ${ft:-?}, peak ${peak:-?} MB: $result"
  echo "$line"
  echo "$line" >>"$summary"
done
echo "campaign ended $(date -u '+%F %T UTC')" >>"$summary"
exit $status
