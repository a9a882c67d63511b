#!/usr/bin/env bash
# vaskarel-merge --check --format=sarif on a tree with findings of many kinds validates
# against the SARIF 2.1.0 schema and rules with Microsoft's SARIF Multitool
# (scripts/install-sarif-multitool.sh); a log with a planted fault does not.
#   sarif_validates.sh VASKAREL_MERGE SARIF_MULTITOOL
set -euo pipefail
tool=$1 multitool=$2
if [ ! -x "$multitool" ]; then
  echo "no SARIF Multitool at $multitool; scripts/install-sarif-multitool.sh installs it"
  exit 77
fi
dir=$(mktemp -d "${TMPDIR:-/tmp}/vk_sarif.XXXXXX")
trap 'rm -rf "$dir"' EXIT
cd "$dir"
d=PROGRAM/DIALOGS
name=$'Npc 1_caf\xc3\xa9' # a blank and UTF-8 in the name, and a name not in UTF-8
mkdir -p "$d/English" "$d/French"
printf 'Say(DLG_TEXT[0]); Say(DLG_TEXT[1]);\r\n dlg_text[2] DLG_TEXT[7];\r\n' >"$d/$name.c"
printf 'string DLG_TEXT[4] = {\r\n"Hello #sname#!", "Go \\ away", // "x"\r\n"c"};\r\n' \
  >"$d/English/$name.h"
printf 'string DLG_TEXT[4] = {\r\n"Salut!", "Va-t\x27en \xe9",\r\n"y", "c"};\r\n' >"$d/French/$name.h"
printf 'DLG_TEXT[0]\n' >"$d/"$'lone\xe9.c'

check() {  # validates $1; prints the Multitool's errors
  rm -f "$1.result"
  "$multitool" validate --output "$1.result" "$1" >"$1.out" 2>&1 || true
  grep -q 'Analysis completed successfully' "$1.out" || { cat "$1.out"; return 2; }
  ! grep -E ': error ' "$1.out"
}

"$tool" --check -q --format=sarif --lang English --lang French "$d" >log.sarif && status=0 ||
  status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, not 1"; exit 1; }
results=$(grep -c '"ruleId"' log.sarif)
[ "$results" -ge 6 ] || { echo "too few results:"; cat log.sarif; exit 1; }
if ! check log.sarif; then
  echo "the SARIF log of vaskarel-merge does not validate:"
  cat log.sarif
  exit 1
fi
# A run without findings gives a log without results, valid too.
mkdir clean && printf 'DLG_TEXT[0]' >clean/a.c && printf '"t"' >clean/a.h
"$tool" --check -q --format=sarif clean >empty.sarif || { echo "a clean run failed"; exit 1; }
grep -q '"results": \[\]' empty.sarif || { echo "results in a clean run:"; cat empty.sarif; exit 1; }
check empty.sarif || { echo "the log of a clean run does not validate"; exit 1; }
# The same log with a line number of 0, which no region may have, must fail.
sed '0,/"startLine": [0-9]*/s//"startLine": 0/' log.sarif >planted.sarif
if check planted.sarif >/dev/null; then
  echo "the validation did not catch a planted fault"
  exit 1
fi
echo "SARIF log of $results results valid"
