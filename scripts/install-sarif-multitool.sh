#!/usr/bin/env bash
# Installs Microsoft's SARIF Multitool from the npm registry into .tools/ of the project
# (git-ignored), which the tests validate vaskarel-merge's SARIF logs with; does nothing
# when that version is there. Needs node and npm (scripts/deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
version=5.7.0
prefix=.tools
tool=$prefix/node_modules/@microsoft/sarif-multitool/package.json
if [ -f "$tool" ] && grep -q "\"version\": \"$version\"" "$tool"; then
  exit 0
fi
echo "Installing @microsoft/sarif-multitool@$version into $prefix"
mkdir -p "$prefix"
npm install --prefix "$prefix" --no-audit --no-fund --no-save --loglevel=error \
  "@microsoft/sarif-multitool@$version"
# Its program comes without the execute bit when npm runs no install scripts.
chmod u+x "$prefix"/node_modules/@microsoft/sarif-multitool-*/Sarif.Multitool 2>/dev/null || true
