#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-dejavu-core
          # The X11 event layouts the window reads its frame from.
          libxcb1-dev
          # The install checks: validators, man, the completion, the Debian package and
          # its check.
          desktop-file-utils appstream man-db bash-completion dpkg-dev file lintian
          # The findings as an editor reads them.
          vim)
# The Windows build: the MinGW-w64 cross compiler, Wine to run its programs, and the
# GoogleTest sources it builds its tests with.
packages+=(g++-mingw-w64-x86-64-posix wine64 googletest)
# The SARIF Multitool the tests validate SARIF logs with runs on Node.js and comes from
# npm (scripts/install-sarif-multitool.sh). A Node.js that brings its own npm needs no
# Debian npm, which would not go with it.
packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)
# The fuzz targets: clang with libFuzzer and its sanitizer runtimes.
packages+=(clang libclang-rt-14-dev)
# The Windows window under Wine: a virtual X server for its windows, and for the run
# driven by real keys a window manager and a key sender.
packages+=(xvfb xauth openbox xdotool)
"$(dirname "$0")/install-missing.sh" "${packages[@]}"
