#!/usr/bin/env bash
# Merges one generated tree of dialog scripts with the Linux build of vaskarel-merge
# and with the Windows build under Wine, and fails unless both write the same files
# byte for byte. The tree mixes line breaks, code pages, letter case of header names
# and folder depths, and holds one large script. Run by scripts/test.sh after both
# builds; WINEPREFIX and the Wine settings come from there (scripts/wine-env.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build/src/cli/vaskarel-merge}
windows=${2:-build-windows/src/cli/vaskarel-merge.exe}
tmp=$(mktemp -d "${TMPDIR:-/tmp}/vaskarel-compare.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

# 400 scripts in 20 folders, 20 to 200 texts each, and one of 20,000 texts.
LC_ALL=C awk -v root="$tmp/tree" 'BEGIN {
  srand(12);
  for (s = 0; s <= 400; s++) {
    dir = root "/Quest" (s % 20) (s % 3 == 0 ? "/Deep" : "");
    if (s % 20 == s) system("mkdir -p \"" root "/Quest" s "/Deep\"");
    texts = (s == 400) ? 20000 : 20 + int(rand() * 180);
    name = "Npc " s "_dialog";
    eol = (s % 4 == 0) ? "\n" : "\r\n";
    header = dir "/" (s % 5 == 0 ? toupper(name) ".H" : name ".h");
    code = dir "/" name ".c";
    printf "string DLG_TEXT[%d] = {%s", texts, eol > header;
    for (t = 0; t < texts; t++) {
      text = "Text " t " of " s;
      if (t % 7 == 0) text = text sprintf(" %c%c%c", 192 + t % 32, 224 + t % 32, 168);
      if (t % 11 == 0) text = text " \342\202\254 UTF-8";
      if (t % 13 == 0) text = text "\\n" "second line";
      printf "\"%s\",%s", text, eol > header;
    }
    printf "};%s", eol > header;
    close(header);
    printf "void Dialog%d()%s{%s", s, eol, eol > code;
    for (t = 0; t < texts; t++) {
      n = int(rand() * (texts + 2));
      printf "  Say(DLG_TEXT[%d]); // line %d\t%s", n, t, eol > code;
    }
    printf "}%s", eol > code;
    close(code);
  }
}'

"$linux" -q -o "$tmp/linux" "$tmp/tree"
"$linux" -q "$tmp/tree/Quest0/Deep/Npc 0_dialog.c" >"$tmp/linux-stdout.c"
/usr/lib/wine/wine64 "$windows" -q -o "Z:$tmp/windows" "Z:$tmp/tree"
/usr/lib/wine/wine64 "$windows" -q "Z:$tmp/tree/Quest0/Deep/Npc 0_dialog.c" >"$tmp/windows-stdout.c"

files=$(find "$tmp/linux" -type f | wc -l)
bytes=$(du -sb "$tmp/linux" | cut -f1)
if diff -r "$tmp/linux" "$tmp/windows" >/dev/null && cmp -s "$tmp/linux-stdout.c" "$tmp/windows-stdout.c"; then
  echo "Windows and Linux builds wrote the same $files files ($bytes bytes)"
else
  echo "Windows and Linux builds differ:" >&2
  diff -rq "$tmp/linux" "$tmp/windows" >&2 || true
  exit 1
fi
