#!/usr/bin/env bash
# The szdd tool as the build uses it: round trips, and on bad input a clear message, a
# non-zero status and no OUT (nor a partial one) left behind.
set -uo pipefail
szdd=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
check() { if ! eval "$2"; then echo "FAILED: $1"; failures=$((failures + 1)); fi; }

printf 'hello, hello, hello world\n' > "$dir/in"
"$szdd" compress "$dir/in" "$dir/packed"; check "compress succeeds" '[ $? -eq 0 ]'
"$szdd" expand "$dir/packed" "$dir/out"; check "expand succeeds" '[ $? -eq 0 ]'
check "round trip" 'cmp -s "$dir/in" "$dir/out"'

head -c 20 "$dir/packed" > "$dir/truncated"          # ends inside the data: too short
printf 'not compressed at all' > "$dir/plain"           # no magic
for bad in truncated plain; do
    message=$("$szdd" expand "$dir/$bad" "$dir/$bad.out" 2>&1); status=$?
    check "$bad: status 1" '[ $status -eq 1 ]'
    check "$bad: says why ($message)" '[[ $message == *"$dir/$bad"* ]]'
    check "$bad: no output" '[ ! -e "$dir/$bad.out" ] && [ ! -e "$dir/$bad.out.partial" ]'
done
"$szdd" expand "$dir/plain" "$dir/plain.out" 2>&1 | grep -q "not in the SZDD compressed format"
check "no magic is named" '[ ${PIPESTATUS[1]} -eq 0 ]'

"$szdd" checksums "$dir/table" ONE="$dir/packed" TWO="$dir/in"; check "checksums succeed" '[ $? -eq 0 ]'
expected=$(/usr/bin/python3 -c 'import sys, zlib
print("".join(n.encode().hex() + "00" + zlib.crc32(open(f, "rb").read()).to_bytes(4, "little").hex()
              for n, f in (a.split("=", 1) for a in sys.argv[1:])))' ONE="$dir/packed" TWO="$dir/in")
check "checksums are zlib's CRC-32s after each name" '[ "$(od -An -tx1 -v "$dir/table" | tr -d " \n")" = "$expected" ]'
"$szdd" checksums "$dir/table2" ONE="$dir/missing" 2>/dev/null; status=$?
check "checksum of a missing file: status 1, no output" '[ $status -eq 1 ] && [ ! -e "$dir/table2" ]'

"$szdd" compress "$dir/missing" "$dir/never" 2>/dev/null; status=$?
check "missing input: status 1, no output" '[ $status -eq 1 ] && [ ! -e "$dir/never" ]'
"$szdd" frobnicate "$dir/in" "$dir/out" 2>/dev/null; status=$?
check "usage error: status 2" '[ $status -eq 2 ]'

[ $failures -eq 0 ] && echo "szdd tool: all checks passed"
exit $failures
