#!/usr/bin/env bash
# `make run`: setup.exe under Wine, in a prefix of the build tree (never ~/.wine), in the
# project's Wine root as on 64-bit Windows: the shipped 32-bit program where this machine
# runs 32-bit code, its 64-bit twin where it cannot. With a display it simply starts there
# for the user. Without one it runs in a virtual display, is driven through every dialog it
# shows, and leaves a screenshot of each under build/screens/.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/world/wine-arches.sh"
wine_arches
tree=$WINE_TREE
make -C "$root" --no-print-directory BUILD="$build" "$tree"
build=$(cd "$build" && pwd)
setup=$build/$tree/setup.exe
echo "$WINE_WHY: starting the $WINE_BUILD build in 64-bit Windows, $setup"
export SONDREL_WINE_BIND=$build

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    loader=$root/scripts/world/root-wine
    export WINEPREFIX=$build/run-prefix-$WINE_BUILD WINEARCH=win64 WINELOADER=$loader WINEDEBUG=-all \
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    [ -d "$WINEPREFIX" ] || "$loader" wineboot -i >/dev/null 2>&1
    echo "Starting it on $DISPLAY (Wine prefix $WINEPREFIX)"
    set +e
    "$loader" "$setup"
    echo "setup.exe ended with status $?"
    exit 0
fi

world=$build/run-wine
trap '"$root/scripts/world/wine-env.sh" stop "$world"' EXIT
"$root/scripts/world/wine-env.sh" start "$world" win64
rm -rf "$build/screens"
SONDREL_WINE_DIR=$world SONDREL_SETUP_EXE=$setup SONDREL_UIDRIVER_EXE=$build/$tree/tests/support/uidriver.exe \
SONDREL_SCREENS=$build/screens SONDREL_PAYLOAD_FOLDER=$build/$tree/payload \
    /usr/bin/python3 "$root/scripts/make/demo.py"
