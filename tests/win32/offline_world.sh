#!/usr/bin/env bash
# Runs one test program in a network namespace with only the loopback, where Wine reports
# that there is no internet connection: a Wine world of its own inside it (the shared
# world's device service would see the machine's routes) and its own subscription server.
# Started by ctest inside `unshare --net`:
#   offline_world.sh WORLD_DIR SERVER -- PROGRAM...
# The world is stopped on every way out.
set -euo pipefail
world=$1 server=$2
shift 3
here=$(cd "$(dirname "$0")" && pwd)
env_sh=$here/../../scripts/world/wine-env.sh
ip link set lo up
"$env_sh" start "$world" >/dev/null
trap '"$env_sh" stop "$world" >/dev/null 2>&1' EXIT
SONDREL_WINE_DIR=$world /usr/bin/python3 "$server" --dir "$world/server" -- "$@"
