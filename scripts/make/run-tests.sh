#!/usr/bin/env bash
# Runs every test of the build trees (native, then the Windows trees under Wine) and
# closes with one summary line for the whole run. Exits non-zero when any test failed.
#
# The Windows tests run on one build, in the worlds scripts/world/wine-arches.sh finds for
# it; the other tree still has its build checks run, since they run nothing of what they
# check.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build}
. "$root/scripts/world/wine-arches.sh"
wine_arches || exit 2
# The Wine root reaches the build tree where it lies outside the project.
SONDREL_WINE_BIND=$(cd "$build" && pwd)
export SONDREL_WINE_BIND

passed=0
failed=0
status=0

# Every Wine world of the Windows trees is stopped when the run ends, however it ends: a test that
# failed or was killed on its timeout never got to stop the world it started.
stop_worlds() {
    local log
    find "$build/win" "$build/win64" -name xvfb.log 2>/dev/null | while read -r log; do
        "$root/scripts/world/wine-env.sh" stop "$(dirname "$log")" >/dev/null 2>&1 || true
    done
}
trap stop_worlds EXIT

# run_tree TREE [CTEST ARGS...]: runs the tree's tests and adds them to the counts.
run_tree() {
    local tree=$1 log line total bad
    shift
    echo "== $tree tests${*:+ ($*)}"
    log=$(mktemp)
    (cd "$build/$tree" && ctest --output-on-failure --timeout 600 "$@") 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    rm -f "$log"
    if [ -z "$line" ]; then
        echo "no test summary from the $tree tree" >&2
        status=1
        return
    fi
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}

run_tree native
for tree in win win64; do
    if [ "$tree" = "$WINE_TREE" ]; then run_tree "$tree"; else run_tree "$tree" -L build; fi
done
# 32-bit Windows: one whole install of the shipped build.
[ -n "$WINE32_WORLD" ] || SONDREL_WINE_WORLD=win32 run_tree win -R '^e2e[.]whole_install$'
echo
echo "$WINE_WHY: the Windows tests ran on $(wine_worlds_words)"
echo "all trees: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || status=1
exit $status
