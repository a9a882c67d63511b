#!/usr/bin/env bash
# The layer check must catch what it exists for: a tree with one forbidden include of
# each kind fails it, naming each, and the same tree without them passes.
#   planted_includes.sh CHECK_LAYERS
set -euo pipefail
check=${1:?usage: planted_includes.sh CHECK_LAYERS}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{platform,_4str32,engine/internal,main,cli,window/qt}
printf '#include <string>\n#include "platform/files.h"\n' >"$tree/engine/merge.cpp"
printf '#include "engine/internal/byte_scan.h"\n' >"$tree/engine/line_breaks.cpp"
printf '#include <QWidget>\n#include "main/main_core.h"\n' >"$tree/window/qt/main_form.cpp"
"$check" "$tree" >/dev/null || { echo "a clean tree failed the check"; exit 1; }

planted=(
  "engine/a.cpp|#include <QString>|may not include Qt"
  "main/b.h|#  include <QtCore/qobject.h>|may not include Qt"
  "platform/c.cpp|#include \"engine/merge.h\"|may not include engine/"
  "engine/d.cpp|#include \"main/text_pane.h\"|may not include main/"
  "cli/e.cpp|#include \"main/main_core.h\"|may not include main/"
  "main/f.cpp|#include \"window/qt/main_form.h\"|may not include window/qt/"
  "main/g.cpp|#include \"engine/internal/byte_scan.h\"|engine/internal/ is the engine's own"
  "window/qt/h.cpp|#include \"window/win32/main_form.h\"|may not include window/win32/"
)
for entry in "${planted[@]}"; do
  IFS='|' read -r file line expected <<<"$entry"
  printf '%s\n' "$line" >"$tree/$file"
  if out=$("$check" "$tree"); then
    echo "not caught: $line in $file"
    exit 1
  fi
  grep -qF "$file:1: " <<<"$out" && grep -qF "$expected" <<<"$out" ||
    { echo "wrong report for $line in $file: $out"; exit 1; }
  rm "$tree/$file"
done
echo "every planted include was caught"
