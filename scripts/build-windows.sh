#!/usr/bin/env bash
# Cross-builds for 64-bit Windows with MinGW-w64 into build-windows/: the native window
# vaskarel.exe and vaskarel-merge.exe (statically linked: they need no DLL beside
# them), the test programs, and dist/vaskarel-<version>-win64.zip. Test discovery runs
# the test programs under Wine; scripts/test.sh then runs the tests there, the window's
# on the virtual display of scripts/wine-display.sh.
#
# Wine runs in the prefix named by WINEPREFIX or, when none is set, in a throw-away one
# that goes at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
dir=${VASKAREL_WINDOWS_BUILD_DIR:-build-windows}
jobs=${VASKAREL_JOBS:-2}

own_prefix=""
if [ -z "${WINEPREFIX:-}" ]; then
  own_prefix=$(mktemp -d "${TMPDIR:-/tmp}/vaskarel-wine.XXXXXX")
  export WINEPREFIX=$own_prefix
fi
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; [ -z "$own_prefix" ] || rm -rf "$own_prefix"' EXIT
source scripts/wine-env.sh

cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DVASKAREL_BUILD_GUI=OFF -DVASKAREL_BUILD_BENCH=OFF \
  -DVASKAREL_GTEST_SOURCE_DIR=/usr/src/googletest >/dev/null
cmake --build "$dir" -j"$jobs"
cmake --build "$dir" --target win64-zip
