#!/usr/bin/env bash
# A world without its small drive T:, once with no T: at all and once with T: a plain folder
# of the real disk: the tests that fill the drive must fail before they write anything, and
# the folder stays empty.
#   no_small_drive.sh WINE_RUN TEST_PROGRAM     (SONDREL_WINE_DIR names the world)
set -euo pipefail
wine_run=$1 program=$2
dir=${SONDREL_WINE_DIR:?}
link=$dir/prefix/dosdevices/t:
plain=$dir/not-a-small-drive
log=$dir/no-small-drive.log
saved=$(readlink "$link" || true)
restore() { rm -f "$link"; [ -z "$saved" ] || ln -s "$saved" "$link"; rm -rf "$plain"; }
trap restore EXIT
rm -rf "$plain" && mkdir -p "$plain"

for world in "no T:" "T: a plain folder"; do
    rm -f "$link"
    [ "$world" = "no T:" ] || ln -s "$plain" "$link"
    if GTEST_FILTER='*DiskFull*' "$wine_run" "$program" >"$log" 2>&1; then
        echo "$world: the disk-full tests passed without a small drive"; cat "$log"; exit 1
    fi
    # Both tests, each on the drive's absence.
    if [ "$(grep -cE 'drive T: is (missing|not the small memory drive)' "$log")" -lt 2 ]; then
        echo "$world: the disk-full tests did not fail on the missing drive"; cat "$log"; exit 1
    fi
    echo "$world: $(grep -m1 -oE 'drive T: is (missing|not the small memory drive)' "$log")"
    if [ -n "$(ls -A "$plain")" ]; then
        echo "$world: written where no small drive is:"; ls -laR "$plain"; exit 1
    fi
done
