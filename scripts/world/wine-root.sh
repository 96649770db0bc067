#!/usr/bin/env bash
# The project's own Wine: a Debian root holding Wine 10, whose WoW64 runs 32-bit Windows
# programs inside 64-bit processes, as 64-bit Windows does, with no 32-bit Linux code.
# It is made once with mmdebstrap, kept in a cache folder outside any build tree, and made
# again when its recipe changes. The machine's own package sources and packages are never
# touched: the root has its own.
#
#   wine-root.sh ensure          makes the root unless a sound one is there
#   wine-root.sh run CMD...      runs CMD inside it; the project, the folders named in
#                                SONDREL_WINE_BIND (a build tree elsewhere), /tmp (the
#                                display's socket, the Wine servers' sockets), the display's
#                                XAUTHORITY and the machine's network are reachable there at
#                                the same paths
#   wine-root.sh probe32         whether 32-bit Windows programs run in it on this machine;
#                                prints why not and fails where they cannot
#   wine-root.sh size            the root's size on disk
#
# SONDREL_WINE_ROOT names another folder for it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
project=$(cd "$here/../.." && pwd)
cache=${SONDREL_WINE_ROOT:-/var/cache/mp3-sondrel/wine-root}
root=$cache/root
stamp=$root/.sondrel-recipe
bin=/usr/lib/x86_64-linux-gnu/wine

# Everything the root is made from. Debian's unstable suite carries Wine 10 built with the new
# WoW64; the registry's copy of it may have an expired Release file, hence the option. Wine's
# programs are started by their real paths: the loader refuses to start through a link.
recipe() {
    cat <<RECIPE
suite sid
variant apt
option Acquire::Check-Valid-Until "false"
packages wine wine64 libwine fonts-wine locales
RECIPE
}

# The URI of the machine's own Debian archive (the one that serves its main suite).
mirror() {
    apt-get indextargets --format '$(REPO_URI) $(RELEASE)' |
        awk '$2 !~ /-/ { print $1; exit }'
}

sound() {
    [ -x "$root$bin/wine" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$(recipe)" ]
}

make_root() {
    local uri packages log=$cache/mmdebstrap.log
    uri=$(mirror)
    [ -n "$uri" ] || { echo "no Debian archive among this machine's package sources" >&2; return 1; }
    packages=$(recipe | sed -n 's/^packages //p' | tr ' ' ',')
    echo "Making the Wine root in $root from $uri (once; about 2 minutes)"
    rm -rf "$root.new"
    if ! mmdebstrap --variant=apt --aptopt='Acquire::Check-Valid-Until "false"' --include="$packages" \
        sid "$root.new" "deb $uri sid main" >"$log" 2>&1; then
        rm -rf "$root.new"
        echo "mmdebstrap could not make the Wine root; its log is $log:" >&2
        tail -n 5 "$log" >&2
        return 1
    fi
    recipe >"$root.new/.sondrel-recipe"
    rm -rf "$root.old"
    [ ! -e "$root" ] || mv "$root" "$root.old"
    mv "$root.new" "$root"
    rm -rf "$root.old"
}

ensure() {
    mkdir -p "$cache"
    # One maker at a time; a second run waits and then finds the root made.
    exec 9>"$cache/lock"
    flock 9
    sound || make_root
    sound || { echo "the Wine root in $root is not sound after it was made" >&2; return 1; }
}

# CMD in the root, in a mount namespace of its own: every mount below is undone when the
# namespace's last process (a lingering wineserver included) ends, and none reaches the
# machine. The machine's later mounts (the small drive) reach in.
run() {
    [ -x "$root$bin/wine" ] || { echo "no Wine root in $root (scripts/world/wine-root.sh ensure makes it)" >&2; return 1; }
    exec unshare --mount --propagation slave -- "$0" enter "$@"
}

enter() {
    local d
    mount --rbind /dev "$root/dev"
    mount -t proc proc "$root/proc"
    mount --rbind /sys "$root/sys"
    mount --rbind /tmp "$root/tmp"
    for d in /etc/hosts /etc/resolv.conf ${XAUTHORITY:-}; do
        [ -f "$d" ] && mkdir -p "$root$(dirname "$d")" && touch "$root$d" && mount --bind "$d" "$root$d"
    done
    # The project and the build tree (which may lie elsewhere), at the paths they have here.
    mkdir -p "$root$project"
    mount --rbind "$project" "$root$project"
    for d in ${SONDREL_WINE_BIND:-}; do
        case $d in "$project" | "$project"/*) continue ;; esac
        mkdir -p "$root$d"
        mount --rbind "$d" "$root$d"
    done
    # The working folder too, where the root reaches it (chroot alone would start at /).
    local cwd=$PWD
    [ -d "$root$cwd" ] || cwd=/
    exec chroot "$root" /usr/bin/env -C "$cwd" WINELOADER="$bin/wine" WINESERVER="$bin/wineserver" \
        PATH=/usr/local/bin:/usr/bin:/bin "$@"
}

# A 32-bit Windows program of Wine's own, in a prefix inside the root made for this question.
# Wine goes on writing a new prefix's 32-bit half after wineboot has ended: the prefix is
# whole once its server has ended with the last of the processes that write it.
probe32() {
    local out status=0
    export WINEPREFIX=/var/lib/sondrel-probe-prefix WINEDEBUG=-all
    if [ ! -f "$root$WINEPREFIX/system.reg" ]; then
        "$0" run "$bin/wine" wineboot -i >/dev/null 2>&1 || true
        timeout 300 "$0" run "$bin/wineserver" -w || true
    fi
    out=$("$0" run "$bin/wine" "$bin/i386-windows/hostname.exe" 2>&1) || status=$?
    [ $status -eq 0 ] && return 0
    case $status in
        139) echo "under Wine's WoW64 a 32-bit program ended with a segmentation fault" ;;
        *) echo "a 32-bit program of Wine's ended with status $status: $(tail -n 1 <<<"$out")" ;;
    esac
    return 1
}

case ${1:-} in
    ensure) ensure ;;
    run) shift; run "$@" ;;
    enter) shift; enter "$@" ;;
    probe32) probe32 ;;
    size) du -sh "$root" | cut -f1 ;;
    *) echo "usage: $0 ensure|run CMD...|probe32|size" >&2; exit 2 ;;
esac
