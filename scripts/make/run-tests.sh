#!/usr/bin/env bash
# Builds the trees and runs every test of them (native, and the Windows trees under Wine),
# then closes with one summary line for the whole run. Exits non-zero when any build or test failed.
#
# The Windows tests run on one build, in the worlds scripts/world/wine-arches.sh finds for
# it; the other tree still has its build checks run, since they run nothing of what they
# check.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build}
. "$root/scripts/world/wine-arches.sh"
wine_arches || exit 2
mkdir -p "$build" && build=$(cd "$build" && pwd) || exit 2
# The Wine root reaches the build tree where it lies outside the project.
SONDREL_WINE_BIND=$build
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
logs=$(mktemp -d)
trap 'stop_worlds; rm -rf "$logs"' EXIT

# build_tree TREE [MAKE ARGS...]: the Makefile's own build of the tree (its cmake settings are
# written there).
build_tree() {
    ${MAKE:-make} -s --no-print-directory -C "$root" BUILD="$build" SONDREL_DEPS_CHECKED=1 "$@"
}

# test_tree TREE LOG [CTEST ARGS...]: runs the tree's tests, their output into LOG, and
# ctest's status into LOG.status.
test_tree() {
    local tree=$1 log=$2
    shift 2
    { echo "== $tree tests${*:+ ($*)}"
      (cd "$build/$tree" && ctest --output-on-failure --timeout 600 "$@") 2>&1
      echo $? >"$log.status"; } >"$log"
}

# build_and_test TREE LOG [CTEST ARGS...]: as test_tree, once the tree is built (on one core); a build that
# failed leaves its errors in LOG and no test summary there, which counts as a failure.
build_and_test() {
    local tree=$1 log=$2
    if build_tree "$tree" JOBS=1 >"$log.build" 2>&1; then
        test_tree "$@"
        cat "$log.build" "$log" >"$log.all" && mv "$log.all" "$log"
    else
        { echo "== $tree build failed"; cat "$log.build"; } >"$log"
        echo 2 >"$log.status"
    fi
}

# count LOG TREE: adds the tree's summary to the counts; a tree without one (it did not build,
# or ctest ran nothing) counts as one failure.
count() {
    local log=$1 tree=$2 line total bad
    [ "$(cat "$log.status" 2>/dev/null)" = 0 ] || status=1
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$line" ]; then
        echo "no test summary from the $tree tree" >&2
        failed=$((failed + 1))
        status=1
        return
    fi
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}

# The Windows tests' world needs nothing of their tree's build, so it starts while the tree
# builds; ctest then leaves out its own start of it (wine.start in tests/win32/CMakeLists.txt,
# which names the same folder). Where the early start failed, ctest's start tries again and
# reports it as a test.
world=$build/$WINE_TREE/wine
"$root/scripts/world/wine-env.sh" start "$world" >"$logs/world" 2>&1 &
starter=$!
if ! build_tree "$WINE_TREE"; then
    wait $starter
    exit 2
fi
world_started=()
if wait $starter; then
    world_started=(-E '^wine[.]start$' -FS '^wine$')
else
    cat "$logs/world"
fi

# The native tree and the other Windows tree are built and tested beside the Windows tests,
# which spend their time waiting on windows: one after the other, on one core and at a lower
# priority, so that they do not slow the Windows tests down. The Windows tests' output is shown
# as it comes.
other=win
[ "$WINE_TREE" = win ] && other=win64
(renice -n 10 -p $BASHPID >/dev/null
 build_and_test native "$logs/native"
 build_and_test "$other" "$logs/$other" -L build) &
beside=$!
test_tree "$WINE_TREE" "$logs/$WINE_TREE" "${world_started[@]}" &
windows=$!
tail -n +1 -f --pid=$windows "$logs/$WINE_TREE" 2>/dev/null
wait $windows $beside
for tree in "$WINE_TREE" native "$other"; do
    [ "$tree" = "$WINE_TREE" ] || cat "$logs/$tree"
    count "$logs/$tree" "$tree"
done
# 32-bit Windows: one whole install of the shipped build.
if [ -z "$WINE32_WORLD" ]; then
    SONDREL_WINE_WORLD=win32 test_tree win "$logs/win32" -R '^e2e[.]whole_install$'
    cat "$logs/win32"
    count "$logs/win32" "win (32-bit Windows)"
fi
echo
echo "$WINE_WHY: the Windows tests ran on $(wine_worlds_words)"
echo "all trees: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || status=1
exit $status
