#!/usr/bin/env bash
# Fails when an option or a finding's name that `vaskarel-merge --help` lists is missing
# from the man page or from the bash completion, so the three cannot drift apart.
#   cli_options_documented.sh VASKAREL_MERGE MAN_PAGE COMPLETION
set -euo pipefail
tool=$1 man=$2 completion=$3

# The option column of the help: lines that start with blanks and a dash, up to the
# first run of two blanks ("  -o, --output=OUT    write ..." gives -o and --output).
options=$("$tool" --help | grep -E '^ +-' | sed -E 's/^ +//; s/  .*//' |
  grep -oE -- '--?[A-Za-z][A-Za-z0-9-]*' | sort -u)
if [ "$(wc -l <<<"$options")" -lt 4 ]; then
  echo "too few options found in vaskarel-merge --help: $options"
  exit 1
fi

missing=0
for option in $options; do
  # The man page writes each dash as \- ; a short option must not match inside a long one.
  roff=${option//-/\\\\-}
  if ! grep -qE -- "(^|[^-])$roff([^A-Za-z0-9-]|$)" "$man"; then
    echo "$option is missing from $man"
    missing=1
  fi
  if ! grep -qE -- "(^|[ \"'|])$option([ =\"'|)]|$)" "$completion"; then
    echo "$option is missing from $completion"
    missing=1
  fi
done

# The findings' names: "  unused-text (warning)" lines of the help. The man page writes
# each as the tag of its paragraph; the completion offers each after --only and --ignore.
names=$("$tool" --help | sed -nE 's/^  ([a-z][a-z0-9-]*) \((error|warning)\)$/\1/p')
if [ "$(wc -l <<<"$names")" -lt 10 ]; then
  echo "too few finding names found in vaskarel-merge --help: $names"
  exit 1
fi
for name in $names; do
  if ! grep -qE -- "^\.BR ${name//-/\\\\-} \" \((error|warning)\)\"$" "$man"; then
    echo "finding $name is missing from $man"
    missing=1
  fi
  if ! grep -qE -- "(^|[ \"])$name([ \"]|$)" "$completion"; then
    echo "finding $name is missing from $completion"
    missing=1
  fi
done
[ $missing -eq 0 ] && echo "$(wc -w <<<"$options") options documented: $(xargs <<<"$options")" &&
  echo "$(wc -w <<<"$names") findings documented"
exit $missing
