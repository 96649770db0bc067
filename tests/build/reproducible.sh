#!/usr/bin/env bash
# Two clean builds of the same sources, in two different folders, give a byte-identical
# setup.exe: nothing of the build's time or place ends up inside.
set -euo pipefail
root=$1 work=$2
rm -rf "$work"
for tree in first second-tree-elsewhere; do
    cmake -S "$root" -B "$work/$tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" \
          -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
    cmake --build "$work/$tree" --target setup -j2 -- --no-print-directory >/dev/null
    sleep 1  # a different second for anything that would stamp the time
done
if cmp "$work/first/setup.exe" "$work/second-tree-elsewhere/setup.exe"; then
    echo "setup.exe is the same in both builds ($(stat -c %s "$work/first/setup.exe") bytes)"
    rm -rf "$work"
else
    exit 1
fi
