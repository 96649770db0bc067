#!/usr/bin/env bash
# Install time of our setup.exe side by side with NSIS doing the same job
# (bench/peer/sondrel.nsi), under Wine in one warm world, at the sample payload and at
# one a hundred times larger (bench/make-big-payload.sh): our program against NSIS's zlib
# and solid-lzma installers of the same files.
#   bench/install-bench.sh [ROUNDS]     (7 by default)
# Builds what it needs, runs one warm-up round that also checks what each installer left
# on disk, then ROUNDS rounds taking the installers in turn, each run into a fresh folder.
# Prints a Markdown table of medians and ranges. A benchmark: never run by the tests.
set -euo pipefail
rounds=${1:-7}
[[ $rounds =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [ROUNDS]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
work=$build/bench-install
world=$work/wine
. "$root/scripts/world/wine-arches.sh"
wine_arches
case $WINE_BUILD in
    i686) nsis_target=x86-unicode toolchain=i686-w64-mingw32 ;;
    *) nsis_target=amd64-unicode toolchain=x86_64-w64-mingw32 ;;
esac
tree=$build/$WINE_TREE
big_tree=$build/$WINE_TREE-big-payload
sizes=(sample large)
variants=(ours zlib lzma)
mapfile -t installed < <(/usr/bin/python3 "$root/tests/support/catalogue.py" --paths)
links=("Desktop/[ mp3 - sondrel ].lnk" "Desktop/[ mp3 - quillo ].lnk" "StartUp/[ mp3 - sondrel ].lnk")
group_links=("[ mp3 - sondrel ].lnk" "Read me.lnk" "User's manual.lnk" "Web site.lnk" "Uninstall.lnk" "[ mp3 - quillo ].lnk")

say() { echo "install-bench: $*" >&2; }
fail() { say "FAILED: $*"; exit 1; }

ensure_nsis() {
    [ -x /usr/bin/makensis ] && [ -e "/usr/share/nsis/Stubs/zlib-$nsis_target" ] && return
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    say "installing nsis"
    $sudo apt-get update -qq >/dev/null 2>&1 || say "some package lists could not be read; going on with those apt has"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends nsis >/dev/null
}

payload_of() { if [ "$1" = sample ]; then echo "$tree/payload"; else echo "$work/payload-large"; fi; }
setup_of() { if [ "$1" = sample ]; then echo "$tree/setup.exe"; else echo "$big_tree/setup.exe"; fi; }
peer_of() { echo "$work/peers/$1-$2.exe"; }
win_path() { echo "Z:${1//\//\\}"; }

# The peer's list of the thirteen files, in install order, from the program's own catalogue:
# the folder each lands in, then the file.
peer_files() {
    awk -F'"' '/^PAYLOAD_ENTRY\(/ {
        folder = $0 ~ /HTMLVIEW\)$/ ? "$INSTDIR\\HtmlView" : "$INSTDIR"
        if (folder != last) print "SetOutPath \"" (last = folder) "\""
        print "File \"${PAYLOAD}/" $4 "\""
    }' "$root/payload/catalogue.def"
}

# Our tree as `make` builds it, the same program with the large payload in a tree of its
# own, and the four NSIS installers.
build_all() {
    make -C "$root" --no-print-directory "$WINE_TREE" >&2
    "$root/bench/make-big-payload.sh" "$tree/payload" "$work/payload-large"
    cmake -S "$root" -B "$big_tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DSONDREL_SUBSCRIPTION_HOST=127.0.0.1 -DSONDREL_PROBE_HOST=127.0.0.1 \
        -DSONDREL_PAYLOAD_DIR="$work/payload-large" >/dev/null
    cmake --build "$big_tree" --target setup -- --no-print-directory >/dev/null
    mkdir -p "$work/peers"
    peer_files >"$work/peers/files.nsh"
    local size compressor caption
    caption=$(sed -n 's/^#define SETUP_CAPTION *"\([^"]*\)".*/\1/p' "$root/resources/product.h")
    for size in "${sizes[@]}"; do
        for compressor in zlib lzma; do
            makensis -V1 -DPAYLOAD="$(payload_of "$size")" -DFILES="$work/peers/files.nsh" -DCAPTION="$caption" \
                -DCOMPRESSOR="$compressor" -DTARGET="$nsis_target" \
                -DOUTFILE="$(peer_of "$size" "$compressor")" "$root/bench/peer/sondrel.nsi" >&2
        done
    done
}

start_world() {
    trap '"$root/scripts/world/wine-env.sh" stop "$world"' EXIT
    "$root/scripts/world/wine-env.sh" start "$world" win64 >/dev/null
    set -a
    . "$world/env"
    set +a
    drive_c=$WINEPREFIX/drive_c
    profile=$drive_c/users/$(id -un)
    programs="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
}

# One install into a fresh folder; prints its figure in ms.
run_one() {
    local size=$1 variant=$2 folder=C:\\bench\\$1-$2 line
    # setup.exe makes one folder level: the parent must be there, as under Program Files.
    rm -rf "$drive_c/bench/$size-$variant"
    mkdir -p "$drive_c/bench"
    # A recorded subscription: the newsletter is not offered.
    printf '[Setup]\r\nMailingList=1\r\n' >"$drive_c/windows/MP3 SONDREL.INI"
    local mode=peer program
    if [ "$variant" = ours ]; then mode=ours program=$(setup_of "$size"); else program=$(peer_of "$size" "$variant"); fi
    line=$(timeout 300 "$WINELOADER" "$tree/bench/install_timer/install_timer.exe" "$mode" "$(win_path "$program")" \
        "$folder") || fail "$size $variant: the timed run failed"
    echo "$line" >>"$work/results/runs.log"
    sed -n 's/^RESULT .* ms=\([0-9.]*\) .*/\1/p' <<<"$line"
}

# What the install left: the thirteen files, byte for byte, and nothing else in the
# folder; the nine shortcuts; the settings.
check_install() {
    local size=$1 variant=$2 folder=$drive_c/bench/$1-$2 payload name link
    payload=$(payload_of "$size")
    for name in "${installed[@]}"; do
        cmp -s "$payload/${name#*/}" "$folder/$name" || fail "$size $variant: $name is not the payload's file"
    done
    [ "$(find "$folder" -type f | wc -l)" -eq 13 ] || fail "$size $variant: the folder holds other files than the payload"
    for link in "${links[@]}"; do
        case $link in Desktop/*) link=$profile/$link ;; *) link=$programs/$link ;; esac
        [ -f "$link" ] || fail "$size $variant: no shortcut $link"
    done
    for link in "${group_links[@]}"; do
        [ -f "$programs/[ mp3 - sondrel ]/$link" ] || fail "$size $variant: no shortcut $link in the program group"
    done
    tr -d '\r' <"$drive_c/windows/MP3 SONDREL.INI" | grep -qxF "InstallPath=C:\\bench\\$size-$variant" ||
        fail "$size $variant: the settings file does not record the install folder"
}

clear_shortcuts() {
    rm -f "$profile/Desktop/"*.lnk "$programs/StartUp/"*.lnk
    rm -rf "$programs/[ mp3 - sondrel ]"
}

warm_up() {
    local size variant
    for size in "${sizes[@]}"; do
        for variant in "${variants[@]}"; do
            clear_shortcuts
            run_one "$size" "$variant" >/dev/null
            check_install "$size" "$variant"
        done
    done
    say "warm-up round done; every installer left the payload, the shortcuts and the settings as it should"
}

timed_rounds() {
    local round size variant ms
    for round in $(seq "$rounds"); do
        for size in "${sizes[@]}"; do
            for variant in "${variants[@]}"; do
                ms=$(run_one "$size" "$variant")
                echo "$ms" >>"$work/results/$size-$variant"
                say "round $round/$rounds: $size $variant $ms ms"
            done
        done
    done
}

# median min max of a file of numbers
stats() {
    sort -g "$1" | awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
                                        printf "%.0f %.0f %.0f\n", m, v[1], v[NR] }'
}

mb() { awk -v b="$1" 'BEGIN { printf "%.2f MB", b / 1e6 }'; }

table() {
    local size variant label program median low high ours
    echo
    echo "$WINE_WHY: timed the $WINE_BUILD build of setup.exe against NSIS $nsis_target installers" \
        "($("$WINELOADER" --version)), $rounds rounds after a warm-up round."
    echo
    echo "| Payload | Installer | File bytes | Median ms | Range ms | Ours / NSIS |"
    echo "|---|---|--:|--:|--:|--:|"
    for size in "${sizes[@]}"; do
        for variant in "${variants[@]}"; do
            read -r median low high < <(stats "$work/results/$size-$variant")
            case $variant in
                ours) label="setup.exe, beyond its 1 s of pauses" program=$(setup_of "$size") ours=$median ;;
                zlib) label="NSIS zlib" program=$(peer_of "$size" zlib) ;;
                lzma) label="NSIS lzma solid" program=$(peer_of "$size" lzma) ;;
            esac
            local ratio=""
            [ "$variant" = ours ] || ratio=$(awk -v a="$ours" -v b="$median" 'BEGIN { printf "%.2f", a / b }')
            printf '| %s (%s) | %s | %s | %s | %s-%s | %s |\n' "$size" "$(mb "$(du -sb "$(payload_of "$size")" | cut -f1)")" \
                "$label" "$(stat -c %s "$program")" "$median" "$low" "$high" "$ratio"
        done
    done
    echo
    echo "setup.exe: from the press of Install to the end of its process, less the progress bar's 100 steps of" \
        "10 ms and the time its two questions waited for their answers. NSIS: from CreateProcess to the end of" \
        "the silent installer (/S), its process start-up included. Ours / NSIS: the ratio of the medians."
}

ensure_nsis
build_all
rm -rf "$work/results"
mkdir -p "$work/results"
start_world
warm_up
timed_rounds
table
