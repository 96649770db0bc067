#!/usr/bin/env bash
# pack-payload-file.sh SZDD IN OUT: compresses IN into OUT with our encoder and checks it
# by expanding OUT again and comparing with IN. OUT appears only when the check passed.
set -euo pipefail
szdd=$1 in=$2 out=$3
mkdir -p "$(dirname "$out")"
partial=$out.partial check=$out.check
trap 'rm -f "$partial" "$check"' EXIT
"$szdd" compress "$in" "$partial"
"$szdd" expand "$partial" "$check"
cmp -s "$in" "$check" || { echo "pack-payload-file: $out does not expand back to $in" >&2; exit 1; }
mv "$partial" "$out"
