#!/usr/bin/env bash
# Runs a Windows program in the test run's Wine world (see wine-env.sh). The folder is
# SONDREL_WINE_DIR. The Windows side speaks the world's English (the env file sets LANG),
# or the locale SONDREL_LANG names when the caller sets it.
set -euo pipefail
dir=${SONDREL_WINE_DIR:?SONDREL_WINE_DIR names the folder that wine-env.sh prepared}
set -a
. "$dir/env"
set +a
[ -n "${SONDREL_LANG:-}" ] && export LANG=$SONDREL_LANG
exec "$WINELOADER" "$@"
