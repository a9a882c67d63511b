#!/usr/bin/env bash
# Fails when a source file includes what its layer may not reach. The layers, from the
# bottom: platform, _4str32, engine, main; cli stands on the engine, each window on main.
# Qt is included in src/window/qt alone, the engine's internal/ headers in the engine
# alone, and no Qt-free folder reaches src/window/.
#   check_layers.sh SRC_DIR
set -euo pipefail
src=${1:?usage: check_layers.sh SRC_DIR}

# The folders of src/ (as the includes name them) that a layer may include.
declare -A allowed=(
  [platform]="platform"
  [_4str32]="platform _4str32"
  [engine]="platform _4str32 engine"
  [main]="platform _4str32 engine main"
  [cli]="platform _4str32 engine cli"
  [window/qt]="platform _4str32 engine main window/qt"
  [window/win32]="platform _4str32 engine main window/win32"
)
# The first folders of the include paths that belong to the project.
project="platform|_4str32|engine|main|cli|window"

failures=0
fail() {
  echo "$1"
  failures=$((failures + 1))
}

for layer in "${!allowed[@]}"; do
  [ -d "$src/$layer" ] || continue
  while IFS= read -r -d '' file; do
    rel=${file#"$src"/}
    while IFS=: read -r line include; do
      # A Qt header: <QWidget>, <QtCore/qstring.h>, <qobject.h>.
      if [[ $include =~ ^\<(Q[A-Za-z]+|Qt[A-Za-z]*/[^>]*|q[a-z]+\.h)\> ]] && [ "$layer" != window/qt ]; then
        fail "$rel:$line: the layer $layer may not include Qt ($include)"
        continue
      fi
      [[ $include =~ ^\"(($project)(/[a-z0-9_]+)?)/[^\"]+\"$ ]] || continue
      path=${include:1:-1}
      target=${BASH_REMATCH[2]}
      [ "$target" = window ] && target=${BASH_REMATCH[1]}
      if [[ $path == engine/internal/* ]] && [ "$layer" != engine ]; then
        fail "$rel:$line: engine/internal/ is the engine's own ($include)"
        continue
      fi
      case " ${allowed[$layer]} " in
        *" $target "*) ;;
        *) fail "$rel:$line: the layer $layer may not include $target/ ($include)" ;;
      esac
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file" |
             sed -E 's/^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*([<"][^>"]*[>"]).*/\1:\2/')
  done < <(find "$src/$layer" \( -name '*.h' -o -name '*.cpp' \) -print0)
done

# Every folder of src/ is a layer named above.
while IFS= read -r -d '' dir; do
  rel=${dir#"$src"/}
  case $rel in window | window/*/*) continue ;; esac
  [[ $rel == */internal ]] && continue
  [ -n "${allowed[$rel]+set}" ] || fail "src/$rel is no known layer; name it in tests/layers/check_layers.sh"
done < <(find "$src" -mindepth 1 -type d -print0)

if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) across the layers"
  exit 1
fi
echo "layers: every include points down"
