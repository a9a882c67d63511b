#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) in build-fuzz/
# and runs them, each from its seeds in tests/fuzz/corpus/TARGET and the inputs it found
# before (kept in build-fuzz/corpus/TARGET).
#
#   scripts/fuzz.sh TARGET SECONDS   fuzz one target for that long
#   scripts/fuzz.sh --smoke          every target for a fixed number of runs (the tests)
#   scripts/fuzz.sh --list           the targets
#
# A crash, a sanitizer report, a hang or a failed comparison ends the target's run; its
# input is left in build-fuzz/crashes/ (replay: build-fuzz/tests/fuzz/TARGET FILE), and
# the script exits 1.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-fuzz
targets=(fuzz_merge fuzz_check fuzz_text fuzz_document fuzz_options)
# The smoke's runs per target: about 15 to 20 seconds each on two quiet cores; on a
# busy machine a target stops after 30 seconds with the runs it has done (which it
# prints). VASKAREL_FUZZ_RUNS sets every count.
declare -A smoke_runs=([fuzz_merge]=80000 [fuzz_check]=50000 [fuzz_text]=80000
                       [fuzz_document]=50000 [fuzz_options]=300000)

usage() { echo "usage: $0 TARGET SECONDS | --smoke | --list" >&2; exit 2; }
[ $# -ge 1 ] || usage
if [ "$1" = --list ]; then
  printf '%s\n' "${targets[@]}"
  exit 0
fi

build() {
  echo "== fuzz build ($dir)"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DVASKAREL_BUILD_FUZZ=ON -DVASKAREL_BUILD_TESTS=OFF -DVASKAREL_BUILD_BENCH=OFF >/dev/null
  cmake --build "$dir" -j"${VASKAREL_JOBS:-2}" --target "$@"
}

# run TARGET OPTIONS...: one libFuzzer run; 0 when it found nothing.
run() {
  local target=$1
  shift
  local corpus=$dir/corpus/$target crashes=$dir/crashes
  mkdir -p "$corpus" "$crashes"
  local args=(-timeout=10 -rss_limit_mb=2048 -max_len=4096 -print_final_stats=0
              "-artifact_prefix=$crashes/$target-")
  case $target in fuzz_merge | fuzz_check) args+=(-dict=tests/fuzz/dialog.dict) ;; esac
  if ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
     UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     "$dir/tests/fuzz/$target" "${args[@]}" "$@" "$corpus" "tests/fuzz/corpus/$target" \
       >"$dir/$target.log" 2>&1; then
    echo "$target: $(grep -E '^Done [0-9]+ runs' "$dir/$target.log" | tail -1 || true)"
    return 0
  fi
  echo "$target: FAILED; its input is in $crashes/ (log: $dir/$target.log)" >&2
  grep -E 'ERROR|fuzz check failed|SUMMARY|artifact' "$dir/$target.log" | head -20 >&2 || true
  return 1
}

if [ "$1" = --smoke ]; then
  build fuzz_targets
  status=0
  for target in "${targets[@]}"; do
    [ -x "$dir/tests/fuzz/$target" ] || { echo "$target: not built" >&2; status=1; continue; }
    run "$target" -runs="${VASKAREL_FUZZ_RUNS:-${smoke_runs[$target]}}" -max_total_time=30 ||
      status=1
  done
  exit $status
fi

[ $# -eq 2 ] || usage
printf '%s\n' "${targets[@]}" | grep -qx "$1" || { echo "unknown target $1" >&2; usage; }
build "$1"
run "$1" -max_total_time="$2"
