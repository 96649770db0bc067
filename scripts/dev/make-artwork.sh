#!/usr/bin/env bash
# Regenerates the setup program's artwork, byte for byte the same on every run:
#   resources/art/sondrel.ico  - 32x32 4 bpp, 16x16 4 bpp, 32x32 8 bpp (BMP-style entries with AND masks)
#   resources/art/sidebar.bmp  - 120 x 250, 24 bpp, BI_RGB, bottom-up
# Drawing and file writing: scripts/dev/make_artwork.py (Python standard library only).
# Format self-check:        scripts/dev/check_artwork.py
#
# Needs these Debian packages only:
#   python3            /usr/bin/python3
#   imagemagick        /usr/bin/convert  (rasterises the product name, nothing else)
#   fonts-dejavu-core  /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
#
# Usage: scripts/dev/make-artwork.sh [OUTDIR]   (default: resources/art)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$(dirname "$here")")
out=${1:-$root/resources/art}

python=/usr/bin/python3
convert=/usr/bin/convert
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

missing=()
[ -x "$python" ] || missing+=(python3)
[ -x "$convert" ] || missing+=(imagemagick)
[ -f "$font" ] || missing+=(fonts-dejavu-core)
if [ ${#missing[@]} -gt 0 ]; then
  echo "make-artwork: missing Debian packages: ${missing[*]} (apt-get install ${missing[*]})" >&2
  exit 1
fi

# A fixed environment, so nothing from the caller's shell can change the pixels.
export LC_ALL=C MAGICK_THREAD_LIMIT=1 PYTHONHASHSEED=0
unset MAGICK_CONFIGURE_PATH MAGICK_FONT_PATH

mkdir -p "$out"
tmp=$(mktemp -d "$out/.make-artwork.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

"$python" -I "$here/make_artwork.py" --convert "$convert" --font "$font" "$tmp"
"$python" -I "$here/check_artwork.py" "$tmp"

mv -f "$tmp/sondrel.ico" "$out/sondrel.ico"
mv -f "$tmp/sidebar.bmp" "$out/sidebar.bmp"
echo "make-artwork: wrote $out/sondrel.ico ($(stat -c %s "$out/sondrel.ico") bytes), $out/sidebar.bmp ($(stat -c %s "$out/sidebar.bmp") bytes)"
