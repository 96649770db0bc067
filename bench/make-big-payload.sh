#!/usr/bin/env bash
# A payload a hundred times the size of the sample one, for the install benchmark: the
# same thirteen names, each file a hundred times the size of its sample namesake and made
# of real files of its kind found on every machine the project installs:
#   programs (.exe, .dll)  Wine's own Windows DLLs and programs (package libwine)
#   documents              CMake's help pages, then Python's standard library (text)
#   Logo.jpg               the sample logo enlarged, with seeded noise (ImageMagick)
# Files are taken in name order and none twice, so that no entry repeats another (a
# solid compressor would gain from repeats that a real product does not have), and the
# result is the same on every run with the same packages.
#   bench/make-big-payload.sh SAMPLE_DIR OUT_DIR
# A file whose bytes did not change is left as it is, so the build does not pack it again.
set -euo pipefail
sample=${1:?folder of the sample payload}
out=${2:?output folder}
scale=100

# "SIZE<TAB>PATH" lines, in name order.
listing() { find "$@" -printf '%s\t%p\n' | LC_ALL=C sort -t $'\t' -k 2; }
mapfile -t programs < <(listing /usr/lib/x86_64-linux-gnu/wine/x86_64-windows -maxdepth 1 -type f \
    \( -name '*.dll' -o -name '*.exe' \))
mapfile -t texts < <(listing /usr/share/cmake-*/Help -type f -name '*.rst'
                     listing /usr/lib/python3.*/ -maxdepth 1 -type f -name '*.py')
next_program=0
next_text=0

# Writes to $2 the first $1 bytes of the files of the list named $3, from the position
# held in the variable named $4 on, and moves that position past the files it used.
fill() {
    local size=$1 file=$2
    local -n list=$3 next=$4
    local taken=0 chosen=()
    while [ "$taken" -lt "$size" ]; do
        if [ "$next" -ge "${#list[@]}" ]; then
            echo "make-big-payload: not enough files of the kind of $(basename "$file") on this machine" >&2
            return 1
        fi
        taken=$((taken + ${list[$next]%%$'\t'*}))
        chosen+=("${list[$next]#*$'\t'}")
        next=$((next + 1))
    done
    # head stops reading at $size: a pipe would end the script with cat's SIGPIPE.
    head -c "$size" < <(cat "${chosen[@]}") >"$file"
}

logo() {
    /usr/bin/convert "$sample/Logo.jpg" -resize 800% -seed 1 -attenuate 1.0 +noise Gaussian -strip -quality 90 "$1"
}

# In catalogue order, so that the files each entry gets do not depend on anything else.
mapfile -t names < <(/usr/bin/python3 "$(dirname "$0")/../tests/support/catalogue.py")
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in "${names[@]}"; do
    size=$(( $(stat -c %s "$sample/$name") * scale ))
    case $name in
        *.exe | *.dll) fill "$size" "$work/$name" programs next_program ;;
        *.jpg) logo "$work/$name" ;;
        *) fill "$size" "$work/$name" texts next_text ;;
    esac
    cmp -s "$work/$name" "$out/$name" || mv "$work/$name" "$out/$name"
done
