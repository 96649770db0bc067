#!/usr/bin/env bash
# SONDREL_PAYLOAD_DIR swaps in another folder of thirteen files: a second Windows tree
# built with a folder of made-up files must carry exactly those.
set -euo pipefail
root=$1 work=$2
rm -rf "$work"
mkdir -p "$work/files"
mapfile -t names < <(/usr/bin/python3 "$root/tests/support/catalogue.py")
[ ${#names[@]} -eq 13 ] || { echo "payload_dir_swap: the catalogue has ${#names[@]} entries" >&2; exit 1; }
i=0
for name in "${names[@]}"; do
    i=$((i + 1))
    # Different sizes and contents, one of them empty and one under 16 bytes.
    head -c $(( (i - 1) * 1500 )) /dev/urandom > "$work/files/$name"
    printf 'entry %d\n' "$i" >> "$work/files/$name"
done
: > "$work/files/${names[12]}"  # one entry empty
cmake -S "$root" -B "$work/tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel -DSONDREL_PAYLOAD_DIR="$work/files" >/dev/null
cmake --build "$work/tree" --target setup -j2 -- --no-print-directory >/dev/null
/usr/bin/python3 "$root/tests/build/check_payload.py" "$work/tree/setup.exe" "$work/files"
