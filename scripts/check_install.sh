#!/usr/bin/env bash
# Checks what `cmake --install` lays out from a build folder configured with
# -DCMAKE_INSTALL_PREFIX=/usr: every file a Linux desktop expects, valid for its
# validator; the programs answering --version without a display; the window starting
# for an ordinary user from the read-only prefix and logging into $XDG_STATE_HOME, and
# loading the code file it is started with; the bash completion; and `cpack -G DEB` making a package that holds both programs and
# passes Debian's package check, lintian, without an error.
#   scripts/check_install.sh [BUILD_DIR]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
prefix=$(cached CMAKE_INSTALL_PREFIX)
if [ "$prefix" != /usr ]; then
  echo "check_install: $build is configured for $prefix; configure it with -DCMAKE_INSTALL_PREFIX=/usr"
  exit 2
fi
version=$(cached CMAKE_PROJECT_VERSION)

stage=$(mktemp -d)
home=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  chmod -R u+w "$stage" 2>/dev/null || true
  rm -rf "$stage" "$home"
}
trap cleanup EXIT
chmod 755 "$stage"
DESTDIR="$stage" cmake --install "$build" >/dev/null

# Every file, where the desktop looks for it.
id=org.vaskarel.Vaskarel
files=(usr/bin/vaskarel usr/bin/vaskarel-merge
  usr/share/vaskarel/vaskarel.txt usr/share/vaskarel/vaskarel.ini etc/xdg/vaskarel/vaskarel.ini
  usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/$id.svg
  usr/share/man/man1/vaskarel.1.gz usr/share/man/man1/vaskarel-merge.1.gz
  usr/share/bash-completion/completions/vaskarel-merge
  usr/share/doc/vaskarel/README.md usr/share/doc/vaskarel/LICENSE
  usr/share/doc/vaskarel/changelog.gz usr/share/doc/vaskarel/copyright)
for size in 48 64 128 256; do files+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png"); done
missing=0
for f in "${files[@]}"; do
  [ -f "$stage/$f" ] || { fail "not installed: $f"; missing=1; }
done
[ $missing -eq 0 ] && pass "all ${#files[@]} files installed"
[ -x "$stage/usr/bin/vaskarel" ] && [ -x "$stage/usr/bin/vaskarel-merge" ] || fail "programs not executable"

# The icons are as large as their folders say (the PNG header's width and height).
for size in 48 64 128 256; do
  png="$stage/usr/share/icons/hicolor/${size}x$size/apps/$id.png"
  [ -f "$png" ] || continue
  dims=$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')
  [ "$((16#${dims:0:8}))x$((16#${dims:8:8}))" = "${size}x$size" ] || fail "$png is not ${size}x$size"
done

desktop-file-validate "$stage/usr/share/applications/$id.desktop" && pass "desktop-file-validate" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$stage/usr/share/metainfo/$id.metainfo.xml" >/dev/null &&
  pass "appstreamcli validate --no-net" || fail "appstreamcli validate --no-net"

for page in vaskarel vaskarel-merge; do
  file="$stage/usr/share/man/man1/$page.1.gz"
  warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null) || true
  text=$(MANWIDTH=80 man -l "$file" 2>/dev/null) || true
  if [ -n "$warnings" ] || ! grep -q "^NAME" <<<"$text" || ! grep -q "Vaskarel $version" <<<"$text"; then
    fail "man -l $page.1: ${warnings:-no NAME or version}"
  else
    pass "man -l $page.1"
  fi
done

# One version everywhere: the programs, the newest release of the metainfo, the changelog.
for program in vaskarel vaskarel-merge; do
  answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$stage/usr/bin/$program" --version)
  [ "$answer" = "$program $version" ] && pass "$program --version without a display" ||
    fail "$program --version gave '$answer'"
done
release=$(grep -o 'release version="[^"]*"' "$stage/usr/share/metainfo/$id.metainfo.xml" | head -1)
[ "$release" = "release version=\"$version\"" ] || fail "newest metainfo release is $release, not $version"
# (The newest release: changes not yet released stand above it under "Unreleased".)
heading=$(zcat "$stage/usr/share/doc/vaskarel/changelog.gz" | grep -m1 '^## [0-9]')
[[ $heading == "## $version "* ]] || fail "newest changelog entry is '$heading', not $version"

# The completion offers options, code and header files with their folders, and any file
# after -o.
completion="$stage/usr/share/bash-completion/completions/vaskarel-merge"
if [ -f /usr/share/bash-completion/bash_completion ]; then
  mkdir -p "$home/scripts/sub"
  touch "$home/scripts/a.c" "$home/scripts/B.H" "$home/scripts/notes.txt"
  complete_line() {
    (cd "$home/scripts" && bash -c 'source /usr/share/bash-completion/bash_completion
      source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"
      COMP_POINT=${#COMP_LINE}; _vaskarel_merge; printf "%s\n" "${COMPREPLY[@]}" | sort | xargs' \
      _ "$completion" vaskarel-merge "$@")
  }
  before=$failures
  for c in "--ch|--check" "|B.H a.c sub" "-o |B.H a.c notes.txt sub" "-q --q|--quiet" \
    "--lang |sub" "--eol=|crlf keep lf" "--codepage 125|1250 1251 1252 1253 1254 1255 1256 1257 1258" \
    "--only unused-text,sh|unused-text,shifted-texts" "--ignore no-|no-header no-language-header" \
    "--format |sarif text"; do
    words=${c%%|*}
    expected=${c#*|}
    read -r -a args <<<"$words"
    [[ $words == *" " || -z $words ]] && args+=("")
    got=$(complete_line "${args[@]}")
    [ "$got" = "$expected" ] || fail "completion of 'vaskarel-merge $words' gave '$got', not '$expected'"
  done
  [ $failures -eq $before ] && pass "bash completion"
else
  echo "note: bash-completion is not installed; the completion was not tried"
fi

# An ordinary user starts the window from the read-only prefix: no error box ends its
# start-up, and the start-up block goes to $XDG_STATE_HOME, in folders the user's alone.
chmod -R a-w "$stage/usr" "$stage/etc"
user=()
if [ "$(id -u)" -eq 0 ]; then
  chown 65534:65534 "$home"
  user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
log="$home/state/vaskarel/vaskarel.log"
# Starts the installed window from $home with the arguments given.
start_window() {
  (cd "$home" && exec env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_STATE_HOME="$home/state" \
    XDG_CONFIG_HOME="$home/config" XDG_CONFIG_DIRS="$stage/etc/xdg" QT_QPA_PLATFORM=offscreen \
    "${user[@]}" "$stage/usr/bin/vaskarel" "$@" >"$home/output" 2>&1) &
  pid=$!
}
# Waits until the log holds a line with the text, while the window runs.
wait_for_log() {
  for _ in $(seq 100); do
    grep -q "$1" "$log" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
}
stop_window() {
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
}
start_window
wait_for_log "Initialisation finished"
if grep -q "Initialisation finished" "$log" 2>/dev/null && kill -0 "$pid" 2>/dev/null &&
  grep -qxF "    $stage/etc/xdg/vaskarel/vaskarel.ini"$'\r' "$log" &&
  grep -qxF "    $log"$'\r' "$log" &&
  grep -qxF "    $stage/usr/share/vaskarel/vaskarel.txt"$'\r' "$log"; then
  pass "window started by uid ${user:+65534 }from the read-only prefix, log in \$XDG_STATE_HOME"
  modes=$(stat -c %a "$home/state" "$home/state/vaskarel" | xargs)
  [ "$modes" = "700 700" ] && pass "new state folders are private (700)" ||
    fail "new state folders have modes $modes, not 700 700"
else
  fail "window start from the read-only prefix; log: $(cat "$log" 2>/dev/null); output: $(cat "$home/output")"
fi
stop_window

# Started with a code file named from the folder it starts in, behind an option of Qt's,
# the window loads it and its header and logs them as Ctrl+L does.
mkdir -p "$home/sample"
cp "$(dirname "$0")/../tests/data/sample/dialog."[ch] "$home/sample/"
start_window -style fusion sample/dialog.c
wait_for_log "Assume that corresponding header file"
expected=$(printf '%s\r\n' " Load code file :" "    $home/sample/dialog.c" \
  " Assume that corresponding header file is also to be loaded :" "    $home/sample/dialog.h")
if kill -0 "$pid" 2>/dev/null && [ "$(tail -n 4 "$log")" = "${expected%$'\n'}" ]; then
  pass "vaskarel -style fusion sample/dialog.c loads the code file and its header"
else
  fail "vaskarel sample/dialog.c; log ends: $(tail -n 6 "$log"); output: $(cat "$home/output")"
fi
stop_window

# The Debian package holds both programs, with its dependencies computed.
rm -f "$build"/vaskarel_*.deb
if (cd "$build" && cpack -G DEB >/dev/null 2>&1); then
  deb=$(ls "$build"/vaskarel_"$version"_*.deb)
  contents=$(dpkg-deb -c "$deb")
  depends=$(dpkg-deb -f "$deb" Depends)
  if grep -q " ./usr/bin/vaskarel$" <<<"$contents" && grep -q " ./usr/bin/vaskarel-merge$" <<<"$contents" &&
    [[ $depends == *libqt6widgets6* ]]; then
    pass "cpack -G DEB: $(basename "$deb"), Depends: $depends"
  else
    fail "cpack -G DEB: package lacks a program or its dependencies ($depends)"
  fi
  # Debian's own package check finds no error (the warnings left are explained beside
  # the packaging rules in dist/linux/CMakeLists.txt).
  if report=$(lintian --fail-on error --allow-root "$deb" 2>&1); then
    pass "lintian: no error${report:+ ($(grep -c '^[WIP]:' <<<"$report") warnings or notes)}"
  else
    fail "lintian: $report"
  fi
else
  fail "cpack -G DEB"
fi

echo "install checks: $failures failed"
[ $failures -eq 0 ]
