#!/usr/bin/env bash
# Runs every test of both build trees (native, then Windows under Wine) and closes with
# one summary line for the whole run. Exits non-zero when any test failed.
set -uo pipefail
build=${1:-build}
passed=0
failed=0
status=0
for tree in native win; do
    echo "== $tree tests"
    log=$(mktemp)
    (cd "$build/$tree" && ctest --output-on-failure --timeout 600) 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    rm -f "$log"
    if [ -z "$line" ]; then
        echo "no test summary from the $tree tree" >&2
        status=1
        continue
    fi
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done
echo
echo "all trees: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || status=1
exit $status
