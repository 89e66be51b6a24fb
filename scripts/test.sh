#!/usr/bin/env bash
# All tests: installs what is missing, checks formatting, builds and runs every test of both model
# profiles under the sanitizers, cross-builds for Windows x64 and x86 (checking both libraries' exports
# and imports, and winsim's headers against mingw-w64's), runs the Windows DLLs under Wine, and builds and
# briefly runs the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

echo "== formatting"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

echo "== native build and tests (ASan, UBSan)"
scripts/build.sh native
ctest --preset native -j "${KT_JOBS:-$(nproc)}"

echo "== Windows builds"
scripts/build.sh mingw-x64
scripts/build.sh mingw-x86
scripts/check_dll.sh
scripts/check_winsim_headers.sh

echo "== Wine suite (the Windows DLLs under Wine, installed from the packages)"
scripts/package.sh >/dev/null
scripts/wine_suite.sh

echo "== fuzz targets (short smoke run; see README for long runs)"
# Only the fuzz targets (and what they link): the libraries themselves are built and tested above.
cmake --preset fuzz >/dev/null
fuzz_targets=$(ninja -C build/fuzz -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): .*/\1/p' | sort -u)
cmake --build build/fuzz -j "${KT_JOBS:-$(nproc)}" --target $fuzz_targets
# At most 3000 runs or 10 seconds each: a whole print job per run is slow under the sanitizers, and the
# long runs belong to scripts/fuzz_campaign.sh. One target per core at a time; results in target order.
smoke() {
  local target=$1 name corpus=()
  name=$(basename "$target")
  if [ -d "tests/fuzz/corpus/$name" ]; then
    # Start from the committed seeds; what the run finds goes to a scratch folder, never to the seeds.
    local scratch="build/fuzz/corpus/$name"
    rm -rf "$scratch"
    mkdir -p "$scratch"
    corpus=("$scratch" "tests/fuzz/corpus/$name")
  fi
  "$target" -runs=3000 -max_total_time=10 -seed=1 "${corpus[@]}" >/dev/null 2>"$target.log"
}
targets=()
pids=()
for target in build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  targets+=("$target")
  smoke "$target" &
  pids+=($!)
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
done
failed=0
for i in "${!targets[@]}"; do
  target=${targets[$i]}
  if wait "${pids[$i]}"; then
    echo "$(basename "$target"): $(sed -n "s/^Done \([0-9]*\) runs.*/\1/p" "$target.log") runs clean"
  else
    cat "$target.log"
    failed=1
  fi
done
[ "$failed" = 0 ] || exit 1
