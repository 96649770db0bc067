#!/usr/bin/env bash
# Where our install's time goes, step by step: setup.exe installs the sample payload (or,
# with "large", the payload a hundred times larger of bench/install-bench.sh) RUNS times,
# timed as the side-by-side benchmark times it, while Wine logs, with time stamps, the
# calls setup.exe makes to the functions that open each step (relay log); then
# bench/profile_install.py turns the logs into a table of medians.
#   bench/profile-install.sh [sample|large] [RUNS]      (sample, 5)
# The log costs time of its own: the figures say where the time goes, not how much there
# is (bench/install-bench.sh measures that, without a log).
set -euo pipefail
size=${1:-sample} runs=${2:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
work=$build/profile-install
. "$root/scripts/world/wine-arches.sh"
wine_arches
tree=$build/$WINE_TREE
setup=$tree/setup.exe
[ "$size" = sample ] || setup=$build/$WINE_TREE-big-payload/setup.exe
make -C "$root" --no-print-directory "$WINE_TREE" >/dev/null
[ -f "$setup" ] || { echo "profile-install: $setup is missing (bench/install-bench.sh builds it)" >&2; exit 1; }

# The functions whose calls open the steps, and only the calls setup.exe makes.
relay="kernel32.CreateDirectoryA;kernel32.FindResourceExA;kernel32.Sleep;kernel32.WritePrivateProfileStringA"
relay+=";kernel32.GetPrivateProfileIntA;kernel32.ExitProcess;user32.GetWindowTextLengthA;user32.FindWindowA"
relay+=";user32.MessageBoxA;user32.EndDialog;advapi32.RegOpenKeyExW;ole32.CoInitialize"

world=$work/wine
rm -rf "$work/logs"
mkdir -p "$work/logs"
trap '"$root/scripts/world/wine-env.sh" stop "$world"' EXIT
"$root/scripts/world/wine-env.sh" start "$world" win64 >/dev/null
set -a
. "$world/env"
set +a
"$WINELOADER" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d "$relay" /f >/dev/null
"$WINELOADER" reg add 'HKCU\Software\Wine\Debug' /v RelayFromInclude /d setup /f >/dev/null
drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/profile"
echo "$WINE_WHY: profiling the $WINE_BUILD build, $size payload, $runs runs" >&2
for run in $(seq 0 "$runs"); do  # run 0 warms the world up and is not counted
    rm -rf "$drive_c/profile/sondrel"
    printf '[Setup]\r\nMailingList=1\r\n' >"$drive_c/windows/MP3 SONDREL.INI"
    log=$work/logs/run-$run.log
    WINEDEBUG=+timestamp,+relay timeout 300 "$WINELOADER" "$tree/bench/install_timer/install_timer.exe" ours \
        "Z:${setup//\//\\}" 'C:\profile\sondrel' 2>"$log" >"$work/logs/run-$run.result" ||
        { echo "profile-install: run $run failed, see $log" >&2; exit 1; }
    echo "run $run: $(cat "$work/logs/run-$run.result")" >&2
done
/usr/bin/python3 "$root/bench/profile_install.py" "$work"/logs/run-[1-9]*.log
