# Which build of the Windows programs runs here, and in which Wine worlds; sourced by the
# scripts that run them.
#
# Every Windows test runs in the project's Wine root (scripts/world/wine-root.sh), in a
# 64-bit prefix: the world of 64-bit Windows. There the shipped 32-bit build runs under
# WoW64, as its users run it, wherever the CPU lets a 64-bit process switch to 32-bit code.
# Some kernels forbid that (32-bit emulation switched off); only there does the x86_64 twin
# stand in. Which is the case is found out by trying, never from names or versions.
#
# Where 32-bit code runs and the machine's own 32-bit Wine is installed, the shipped build
# also makes one whole install in a 32-bit prefix: the world of 32-bit Windows.

wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-root.sh

# Sets WINE_BUILD (i686 or x86_64: the build whose Windows tests run), WINE_TREE (its folder
# under the build tree), WINE_WHY (one sentence saying why) and WINE32_WORLD (the reason the
# 32-bit Windows world is missing, or empty where it runs). SONDREL_WINE_ARCHES (i686 or
# x86_64) forces the build; the 32-bit world then runs only with the i686 build.
wine_arches() {
    local why32
    WINE32_WORLD=""
    if why32=$("$wine_root" probe32); then
        WINE_BUILD=i686 WINE_WHY="32-bit programs run on this machine"
    else
        WINE_BUILD=x86_64 WINE_WHY="32-bit programs cannot run on this machine ($why32)"
        WINE32_WORLD="no 32-bit code"
    fi
    case ${SONDREL_WINE_ARCHES:-} in
        "") ;;
        i686 | x86_64) WINE_BUILD=$SONDREL_WINE_ARCHES WINE_WHY="SONDREL_WINE_ARCHES chose it" ;;
        *) echo "SONDREL_WINE_ARCHES: unknown build \"$SONDREL_WINE_ARCHES\" (i686 or x86_64)" >&2; return 2 ;;
    esac
    [ "$WINE_BUILD" = i686 ] || WINE32_WORLD=${WINE32_WORLD:-"the x86_64 build chosen"}
    if [ -z "$WINE32_WORLD" ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        WINE32_WORLD="32-bit Wine is not installed"
    fi
    case $WINE_BUILD in
        i686) WINE_TREE=win ;;
        x86_64) WINE_TREE=win64 ;;
    esac
}

# "the i686 build in 64-bit Windows (Wine 10) and its whole install in 32-bit Windows (Wine 8)"
wine_worlds_words() {
    local words="the $WINE_BUILD build in 64-bit Windows ($("$wine_root" run /usr/lib/x86_64-linux-gnu/wine/wine --version))"
    if [ -z "$WINE32_WORLD" ]; then
        words+=" and its whole install in 32-bit Windows ($(/usr/lib/wine/wine --version))"
    else
        words+="; no 32-bit Windows world: $WINE32_WORLD"
    fi
    echo "$words"
}
