# Sourced by the scripts that run Windows programs under Wine: no display, no
# messages, nothing installed into the prefix on its first start, and one Wine server
# for all the programs of the run (it ends 30 s after the last one).
unset DISPLAY WAYLAND_DISPLAY
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p30 </dev/null >/dev/null 2>&1
