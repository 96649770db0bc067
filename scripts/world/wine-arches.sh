# Which builds of the Windows programs this machine can run under Wine; sourced by the
# scripts that run them. Sets WINE_ARCHES (the builds, "i686 x86_64" or "x86_64") and
# WINE_ARCHES_WHY (one sentence saying why).
#
# 32-bit Wine needs a kernel that runs 32-bit programs, and some kernels have that
# switched off. Whether this one does is found out by starting 32-bit Wine's loader,
# never from names or versions. SONDREL_WINE_ARCHES (say "x86_64") forces the choice.
wine_arches() {
    local loader32=/usr/lib/wine/wine out
    if [ -n "${SONDREL_WINE_ARCHES:-}" ]; then
        WINE_ARCHES=$(tr ',' ' ' <<<"$SONDREL_WINE_ARCHES" | xargs)
        local a
        for a in $WINE_ARCHES; do
            case $a in
                i686 | x86_64) ;;
                *) echo "SONDREL_WINE_ARCHES: unknown build \"$a\" (i686 or x86_64)" >&2; return 2 ;;
            esac
        done
        WINE_ARCHES_WHY="SONDREL_WINE_ARCHES chose it"
        return 0
    fi
    if [ ! -e "$loader32" ]; then
        WINE_ARCHES=x86_64
        WINE_ARCHES_WHY="32-bit Wine is not installed"
    elif out=$("$loader32" --version 2>&1); then
        WINE_ARCHES="i686 x86_64"
        WINE_ARCHES_WHY="32-bit programs run on this machine"
    else
        WINE_ARCHES=x86_64
        case $out in
            *"Exec format error"*)
                WINE_ARCHES_WHY="32-bit programs cannot run on this machine (kernel without 32-bit support)" ;;
            *)
                WINE_ARCHES_WHY="32-bit programs cannot run on this machine ($(head -n 1 <<<"$out"))" ;;
        esac
    fi
}

# The one build to start where a single program is run (make run, the install benchmark):
# the shipped 32-bit one where it can run. Sets WINE_BUILD (i686 or x86_64), WINE_TREE
# (its folder under the build tree) and WINE_PREFIX_ARCH (win32 or win64).
wine_preferred_build() {
    case " $WINE_ARCHES " in
        *" i686 "*) WINE_BUILD=i686 WINE_TREE=win WINE_PREFIX_ARCH=win32 ;;
        *) WINE_BUILD=x86_64 WINE_TREE=win64 WINE_PREFIX_ARCH=win64 ;;
    esac
}

# The Wine loader of a prefix of PREFIX_ARCH, named in full: Debian's `wine` wrapper would
# take the 32-bit one for a 64-bit prefix whenever both are installed.
wine_loader() {
    case $1 in
        win32) echo /usr/lib/wine/wine ;;
        win64) echo /usr/lib/wine/wine64 ;;
        *) echo "unknown Wine prefix kind \"$1\" (win32 or win64)" >&2; return 2 ;;
    esac
}

# "the i686 and x86_64 builds" or "the x86_64 build".
wine_arches_words() {
    local n
    n=$(wc -w <<<"$WINE_ARCHES")
    if [ "$n" -eq 1 ]; then echo "the $WINE_ARCHES build"; else echo "the ${WINE_ARCHES// / and } builds"; fi
}
