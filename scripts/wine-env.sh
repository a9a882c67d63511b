# Sourced by the scripts that run Windows programs under Wine: no display (but the
# virtual one of scripts/wine-display.sh, where a script set it up), no messages, nothing installed into the prefix on its first start, and one Wine server
# with Wine's own background programs started here, away from the output of the
# programs that follow (a test runner would wait for whatever holds a test's output).
# The script that sources this ends the server when it is done: wineserver -k.
unset DISPLAY WAYLAND_DISPLAY
if [ -n "${VASKAREL_WINE_DISPLAY:-}" ]; then
  export DISPLAY=$VASKAREL_WINE_DISPLAY
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
/usr/lib/wine/wine64 wineboot --init </dev/null >/dev/null 2>&1 || true
