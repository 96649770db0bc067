#!/usr/bin/env bash
# The install's wall time beyond its mandated pauses, under Wine in a virtual display.
#   scripts/dev/bench-install.sh [RUNS]     (after `make win`)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
. "$root/scripts/world/wine-arches.sh"
wine_arches
wine_preferred_build
tree=$WINE_TREE
echo "$WINE_ARCHES_WHY: timing the $WINE_BUILD build's setup.exe" >&2
world=$build/bench-wine
trap '"$root/scripts/world/wine-env.sh" stop "$world"' EXIT
"$root/scripts/world/wine-env.sh" start "$world" "$WINE_PREFIX_ARCH" >/dev/null
SONDREL_WINE_DIR=$world SONDREL_SETUP_EXE=$build/$tree/setup.exe SONDREL_UIDRIVER_EXE=$build/$tree/tests/support/uidriver.exe \
    /usr/bin/python3 "$root/scripts/dev/bench_install.py" "${1:-7}"
