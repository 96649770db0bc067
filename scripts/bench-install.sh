#!/usr/bin/env bash
# The install's wall time beyond its mandated pauses, under Wine in a virtual display.
#   scripts/bench-install.sh [RUNS]     (after `make win`)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
world=$build/bench-wine
trap '"$root/scripts/wine-env.sh" stop "$world"' EXIT
"$root/scripts/wine-env.sh" start "$world" >/dev/null
SONDREL_WINE_DIR=$world SONDREL_SETUP_EXE=$build/win/setup.exe SONDREL_UIDRIVER_EXE=$build/win/tests/e2e/uidriver.exe \
    /usr/bin/python3 "$root/scripts/bench_install.py" "${1:-7}"
