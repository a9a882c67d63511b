#!/usr/bin/env bash
# Builds everything twice, plain and with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs the whole test suite in both builds; the plain build is also installed into a
# temporary folder and packaged, and what that lays out is checked. Then the Qt-free part
# is cross-built for Windows (scripts/build-windows.sh), its tests run under Wine, and the
# Windows vaskarel-merge must write the same bytes as the Linux one, and last the Windows
# window from the release archive is driven by real keys on a virtual X server. In
# between, the fuzz targets run for a while each, built with clang in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/install-sarif-multitool.sh
jobs=${VASKAREL_JOBS:-2}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for variant in plain sanitize; do
  dir=build
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVASKAREL_SANITIZE=OFF -DCMAKE_INSTALL_PREFIX=/usr)
  if [ "$variant" = sanitize ]; then
    dir=build-sanitize
    flags=(-DCMAKE_BUILD_TYPE=Debug -DVASKAREL_SANITIZE=ON -DVASKAREL_BUILD_BENCH=OFF)
  fi
  echo "== $variant build ($dir)"
  cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "== $variant tests"
  (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 300) || status=1
  if [ "$variant" = plain ]; then
    echo "== install checks"
    scripts/check_install.sh "$dir" || status=1
  fi
done

# Every fuzz target for a fixed number of runs (scripts/fuzz.sh); a crash, a sanitizer
# report or a failed comparison fails the run and leaves its input in build-fuzz/crashes/.
fuzz_start=$SECONDS
scripts/fuzz.sh --smoke || status=1
echo "== fuzz stage: $((SECONDS - fuzz_start)) s"

echo "== windows build (build-windows)"
# A throw-away Wine prefix for this run, with its Wine server, gone at the end.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vaskarel-wine.XXXXXX")
export WINEPREFIX
# The window tests show the Windows window on a virtual X server of their own.
source scripts/wine-display.sh
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"; vk_stop_wine_display' EXIT
windows_start=$SECONDS
scripts/build-windows.sh
source scripts/wine-env.sh  # a Wine server again, build-windows.sh ended its own
echo "== windows tests (under Wine)"
# The window's tests take the focus on a real X server with a window manager, which now
# and then hands it over late; a test that fails is run again, up to three times.
(cd build-windows && ctest --output-on-failure -j"$jobs" --timeout 300 --repeat until-pass:3) ||
  status=1
scripts/compare-windows.sh || status=1
scripts/windows-end-to-end.sh || status=1
echo "== windows stage: $((SECONDS - windows_start)) s"
exit $status
