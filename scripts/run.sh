#!/usr/bin/env bash
# Builds the program (incrementally) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target vaskarel
exec build/src/window/qt/vaskarel
