#!/usr/bin/env bash
# under-wine.sh BUILD COMMAND...: runs COMMAND with the build's Wine prefix booted
# and one persistent wineserver, then stops the server.
set -uo pipefail
build=$(cd "$1" && pwd); shift
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY
# Wine's background services inherit every open descriptor: keep them off our pipes.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w </dev/null >/dev/null 2>&1
fi
# Wine's own fonts (fonts-wine) lie where this Wine build looks for them by a path it
# cannot open; it does read the prefix's font folder. Marlett draws the glyphs of
# caption buttons, which are letters without it.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi
wineserver -p </dev/null >/dev/null 2>&1
# Start the prefix's services now, so that they hold /dev/null rather than a test's pipes.
wineboot </dev/null >/dev/null 2>&1
# Links that the programs hand to the shell reach Wine's browser list: a command
# that opens nothing, so that no test starts a browser on the host.
if ! grep -q 'WineBrowser' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d true /f </dev/null >/dev/null 2>&1
fi
"$@"
rc=$?
wineserver -k </dev/null >/dev/null 2>&1
exit $rc
