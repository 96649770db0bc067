#!/usr/bin/env bash
# `make run`: setup.exe under Wine, in a prefix of the build tree (never ~/.wine).
# With a display it simply starts there for the user. Without one it runs in a virtual
# display, is driven through every dialog it shows, and leaves a screenshot of each
# under build/screens/.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
setup=$build/win/setup.exe

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export WINEPREFIX=$build/run-prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
    echo "Starting $setup on $DISPLAY (Wine prefix $WINEPREFIX)"
    set +e
    wine "$setup"
    echo "setup.exe ended with status $?"
    exit 0
fi

world=$build/run-wine
trap '"$root/scripts/wine-env.sh" stop "$world"' EXIT
"$root/scripts/wine-env.sh" start "$world"
rm -rf "$build/screens"
SONDREL_WINE_DIR=$world SONDREL_SETUP_EXE=$setup SONDREL_UIDRIVER_EXE=$build/win/tests/e2e/uidriver.exe \
SONDREL_SCREENS=$build/screens SONDREL_PAYLOAD_FOLDER=$build/win/payload \
    /usr/bin/python3 "$root/scripts/demo.py"
