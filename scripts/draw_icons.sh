#!/usr/bin/env bash
# Draws the program's pictures again (scripts/draw_icons.cpp) after one has changed:
# the tool-bar images and, from the icon's SVG drawing, the window's icon and the icon
# theme's PNGs. Its output is committed; the build does not run it.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! dpkg-query -W -f='${Status}' qt6-svg-dev 2>/dev/null | grep -q "install ok installed"; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends qt6-svg-dev
fi
tool=$(mktemp -d)
trap 'rm -rf "$tool"' EXIT
g++ -std=c++20 -fPIC scripts/draw_icons.cpp -o "$tool/draw_icons" \
  $(pkg-config --cflags --libs Qt6Gui Qt6Svg)
QT_QPA_PLATFORM=offscreen "$tool/draw_icons" .
