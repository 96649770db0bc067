#!/usr/bin/env bash
# The Wine world of one test run, kept under DIR (a folder of the build tree):
#   wine-env.sh start DIR [KIND]  a fresh prefix, a virtual X display, French locales and a
#                                 persistent wineserver; writes DIR/env for wine-run.sh and
#                                 the tests
#   wine-env.sh stop DIR          ends the wineserver and the display
# KIND (else SONDREL_WINE_WORLD, else win64) is the Windows the world is:
#   win64  64-bit Windows: a 64-bit prefix of the project's Wine root (wine-root.sh), where
#          32-bit programs run under WoW64
#   win32  32-bit Windows: a 32-bit prefix of the machine's own 32-bit Wine
# Never touches ~/.wine.
set -euo pipefail
cmd=${1:?start or stop}
dir=$(mkdir -p "${2:?folder}" && cd "$2" && pwd)
kind=${3:-${SONDREL_WINE_WORLD:-win64}}
here=$(cd "$(dirname "$0")" && pwd)
prefix=$dir/prefix

stop() {
    if mountpoint -q "$dir/small-drive" 2>/dev/null; then umount "$dir/small-drive" || true; fi
    if [ -f "$dir/env" ]; then
        (set +e; set -a; . "$dir/env"; "$WINESERVER" -k) >/dev/null 2>&1 || true
    fi
    if [ -f "$dir/xvfb.pid" ]; then
        local pid
        pid=$(cat "$dir/xvfb.pid")
        kill "$pid" 2>/dev/null || true
        # The display is free only once its server has gone.
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        rm -f "$dir/xvfb.pid"
    fi
}

# A display number no server holds: its socket in /tmp, its lock, or the abstract socket that
# a server of another /tmp (a chroot's) holds on the same network.
free_display() {
    local taken
    taken=$(grep -o '@/tmp/.X11-unix/X[0-9]*' /proc/net/unix 2>/dev/null || true)
    for n in $(seq 90 160); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || grep -qx "@/tmp/.X11-unix/X$n" <<<"$taken" ||
            { echo "$n"; return; }
    done
    echo "no free X display number" >&2
    return 1
}

# Wine needs real locales to name files in French; generate them inside the build tree,
# with the localedef of the C library that reads them (the root's or the machine's).
make_locales() {
    mkdir -p "$locales"
    for loc in fr_FR fr_CH de_DE en_US ja_JP; do
        [ -d "$locales/$loc.UTF-8" ] || $in_world localedef -i "$loc" -f UTF-8 "$locales/$loc.UTF-8" 2>/dev/null || \
            [ -d "$locales/$loc.UTF-8" ]
    done
}

# Drive T: is a small memory file system, so that tests can fill a disk for real. Where it
# cannot be mounted there is no T: at all: a plain folder in its place would let the tests
# that fill the drive fill the machine's disk instead. It is mounted before any Wine program
# starts, so that every one of them sees it.
mount_small_drive() {
    mkdir -p "$dir/small-drive"
    if out=$(mount -t tmpfs -o size=4m tmpfs "$dir/small-drive" 2>&1) && mountpoint -q "$dir/small-drive"; then
        return 0
    fi
    echo "no small drive T: (the memory file system could not be mounted: ${out:-not a mount point}); the tests that fill it will fail" >&2
}

link_small_drive() {
    rm -f "$prefix/dosdevices/t:"
    if mountpoint -q "$dir/small-drive"; then ln -sfn "$dir/small-drive" "$prefix/dosdevices/t:"; fi
}

# Windows draws the caption buttons' symbols (the close box's cross) in the Marlett font.
# Debian's Wine 8 looks for its own fonts in a folder it cannot name (its data folder
# followed by "../fonts"), so the world's Fonts folder gets a copy of the root's Marlett.
symbol_font() {
    "$here/wine-root.sh" run cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
}

# The world's Wine: its loader and server, the prefix kind, and how to run a Unix program
# beside it (the root's localedef for the root's C library).
case $kind in
    win64) loader=$here/root-wine server=$here/root-wineserver in_world="$here/wine-root.sh run" ;;
    win32) loader=/usr/lib/wine/wine server=/usr/lib/wine/wineserver32 in_world="" ;;
    *) echo "unknown kind of Windows \"$kind\" (win64 or win32)" >&2; exit 2 ;;
esac
locales=$dir/locales-$kind

start() {
    stop
    rm -rf "$prefix"
    make_locales
    mount_small_drive
    local display
    display=$(free_display)
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
    local xvfb=$!
    echo $xvfb >"$dir/xvfb.pid"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
    if ! kill -0 $xvfb 2>/dev/null; then
        echo "the virtual display :$display did not start:" >&2
        cat "$dir/xvfb.log" >&2
        return 1
    fi
    cat >"$dir/env" <<ENV
WINEPREFIX=$prefix
WINEARCH=$kind
WINELOADER=$loader
WINESERVER=$server
WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
DISPLAY=:$display
LOCPATH=$locales
LANG=en_US.UTF-8
LC_ALL=
ENV
    # Wine goes on writing the prefix's 32-bit half after wineboot has ended: the prefix is
    # whole once the server has ended with the last of the processes that write it. Then a
    # persistent server: every later Wine program starts quickly.
    mkdir -p "$prefix"
    (set -a; . "$dir/env"
     timeout 180 "$WINELOADER" wineboot -i >"$dir/wineboot.log" 2>&1
     timeout 180 "$WINESERVER" -w
     "$WINESERVER" -p </dev/null >/dev/null 2>&1
     # The virtual display has no window manager: windows Wine leaves to one would make
     # every dialog wait two seconds for a manager's answer when it closes.
     "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$dir/wineboot.log" 2>&1)
    # Wine links the user's Desktop, Documents and the like to the Unix home folder: the
    # tests' shortcuts and files must stay inside the prefix.
    for folder in "$prefix"/drive_c/users/*/*; do
        if [ -L "$folder" ]; then rm "$folder" && mkdir "$folder"; fi
    done
    symbol_font
    link_small_drive
    echo "Wine prefix $prefix ($kind) ready on display :$display"
}

case $cmd in
    start) start ;;
    stop) stop ;;
    *) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
