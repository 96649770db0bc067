#!/usr/bin/env bash
# Screenshots of the setup dialog at 100 %, 150 % and 200 % display scale (96, 144 and 192
# DPI), for the README:
#   scripts/dev/display-scale-screens.sh [OUTDIR]      (default: docs)
# Builds what it needs, starts a Wine world of its own in a virtual display and stops it
# on every way out.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)
. "$root/scripts/world/wine-arches.sh"
wine_arches
make -C "$root" --no-print-directory "$WINE_TREE" >/dev/null
build=$root/build
world=$build/screens-wine
trap '"$root/scripts/world/wine-env.sh" stop "$world"' EXIT
"$root/scripts/world/wine-env.sh" start "$world" win64 >/dev/null
echo "$WINE_WHY: the $WINE_BUILD build"
SONDREL_WINE_DIR=$world SONDREL_SETUP_EXE=$build/$WINE_TREE/setup.exe \
SONDREL_UIDRIVER_EXE=$build/$WINE_TREE/tests/support/uidriver.exe SONDREL_SCREENS=$out \
    /usr/bin/python3 "$root/scripts/dev/display_scale_screens.py"
