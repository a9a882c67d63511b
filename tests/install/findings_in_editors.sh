#!/usr/bin/env bash
# The findings of vaskarel-merge --check as editors read them: every line in the form
# FILE:LINE:COLUMN: SEVERITY: MESSAGE [NAME], and Vim's quickfix list, with its default
# errorformat and with GCC's, takes each with its file, line and column (and, GCC's,
# its type).
#   findings_in_editors.sh VASKAREL_MERGE
set -euo pipefail
tool=$1
dir=$(mktemp -d "${TMPDIR:-/tmp}/vk_editors.XXXXXX")
trap 'rm -rf "$dir"' EXIT
cd "$dir"
mkdir -p "PROGRAM/DIALOGS/English"
# Findings of several kinds, in a name with blanks and one with a UTF-8 column.
printf 'Say(DLG_TEXT[0]);\r\n  dlg_text[1]; DLG_TEXT[5];\r\n' >"PROGRAM/DIALOGS/Npc 1_dialog.c"
printf 'string DLG_TEXT[3] = {\r\n"caf\xc3\xa9", "b" // "x"\r\n};\r\n' \
  >"PROGRAM/DIALOGS/English/Npc 1_dialog.h"
printf 'DLG_TEXT[0]\n' >PROGRAM/DIALOGS/lone.c
"$tool" --check -q --lang English PROGRAM/DIALOGS >findings.txt && status=0 || status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, not 1"; exit 1; }
lines=$(wc -l <findings.txt)
[ "$lines" -ge 5 ] || { echo "too few findings: $(cat findings.txt)"; exit 1; }
bad=$(grep -vcE '^[^:]+:[0-9]+:[0-9]+: (warning|error): .* \[[a-z0-9-]+\]$' findings.txt || true)
[ "$bad" -eq 0 ] || { echo "lines not in the compilers' form:"; grep -vE '\]$' findings.txt; exit 1; }

# The quickfix list as "file|line|col|type|valid", once per errorformat.
for setup in "" "compiler gcc"; do
  vim -Nu NONE -i NONE -es ${setup:+-c "$setup"} -c 'cgetfile findings.txt' \
    -c 'redir! > quickfix.txt' \
    -c 'for e in getqflist() | echo bufname(e.bufnr)."|".e.lnum."|".e.col."|".e.type."|".e.valid | endfor' \
    -c 'redir END' -c 'qa!' || true
  # What the lines say, in the same form: the type is the severity's first letter.
  if [ -z "$setup" ]; then
    want=$(sed -E 's/^([^:]+):([0-9]+):([0-9]+): .*/\1|\2|\3||1/' findings.txt)
  else
    want=$(sed -E 's/^([^:]+):([0-9]+):([0-9]+): (.).*/\1|\2|\3|\4|1/' findings.txt)
  fi
  got=$(grep -v '^$' quickfix.txt)
  if [ "$got" != "$want" ]; then
    echo "Vim (${setup:-default errorformat}) read the findings otherwise:"
    diff <(echo "$want") <(echo "$got") || true
    exit 1
  fi
done
grep -q 'Npc 1_dialog.h|2|9|w|1' quickfix.txt || { echo "no UTF-8 column"; cat quickfix.txt; exit 1; }
echo "$lines findings read by Vim with its default errorformat and GCC's"
