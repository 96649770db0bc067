#!/usr/bin/env bash
# Regenerates resources/payload/Logo.jpg, byte for byte the same on every run:
#   109 x 84 pixels, baseline JPEG, quality 85, 4:2:0, no metadata.
# The product logo: a black vinyl record with an orange label, a white eighth
# note and the "mp3 sondrel" lettering on the deep blue / violet background of
# the setup program's artwork (resources/art/sidebar.bmp).
# It is drawn at four times the final size and scaled down, for smooth edges.
#
# Needs these Debian packages only:
#   imagemagick        /usr/bin/convert
#   fonts-dejavu-core  /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
#
# Usage: scripts/dev/make-logo.sh [OUTFILE]   (default: resources/payload/Logo.jpg)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$(dirname "$here")")
out=${1:-$root/resources/payload/Logo.jpg}

convert=/usr/bin/convert
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

missing=()
[ -x "$convert" ] || missing+=(imagemagick)
[ -f "$font" ] || missing+=(fonts-dejavu-core)
if [ ${#missing[@]} -gt 0 ]; then
  echo "make-logo: missing Debian packages: ${missing[*]} (apt-get install ${missing[*]})" >&2
  exit 1
fi

# A fixed environment, so nothing from the caller's shell can change the pixels.
export LC_ALL=C MAGICK_THREAD_LIMIT=1
unset MAGICK_CONFIGURE_PATH MAGICK_FONT_PATH

mkdir -p "$(dirname "$out")"
tmp=$(mktemp -d "$(dirname "$out")/.make-logo.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

# Everything below is in the 4x canvas: 436 x 336.
W=436 H=336
# Record: centre and radii.
cx=156 cy=134 r=114

grooves=()
for rr in 108 100 93 86 79 72 65 58; do
  grooves+=(-draw "circle $cx,$cy $((cx + rr)),$cy")
done

"$convert" -size ${W}x${H} \
  -define gradient:angle=160 gradient:'#10164c-#5c288a' \
  \( -size ${W}x${H} radial-gradient:'rgba(255,255,255,0.16)-rgba(255,255,255,0)' \
     -roll -70-40 \) -compose over -composite \
  -fill 'rgba(0,0,0,0.35)' -stroke none \
  -draw "circle $((cx + 6)),$((cy + 8)) $((cx + 6 + r)),$((cy + 8))" \
  -fill '#121218' -stroke '#2a2a36' -strokewidth 3 \
  -draw "circle $cx,$cy $((cx + r)),$cy" \
  -fill none -stroke '#30303e' -strokewidth 2 "${grooves[@]}" \
  -stroke 'rgba(255,255,255,0.22)' -strokewidth 6 \
  -draw "arc $((cx - 96)),$((cy - 96)) $((cx + 96)),$((cy + 96)) 200 250" \
  -draw "arc $((cx - 96)),$((cy - 96)) $((cx + 96)),$((cy + 96)) 20 70" \
  -stroke none -fill '#f28a1e' \
  -draw "circle $cx,$cy $((cx + 44)),$cy" \
  -fill '#ffb04a' \
  -draw "circle $cx,$cy $((cx + 30)),$cy" \
  -fill '#f28a1e' \
  -draw "circle $cx,$cy $((cx + 26)),$cy" \
  -fill '#10164c' \
  -draw "circle $cx,$cy $((cx + 7)),$cy" \
  -fill white -stroke none \
  -draw "translate 344,146 rotate -22 ellipse 0,0 27,19 0,360" \
  -draw "rectangle 363,24 372,142" \
  -draw "path 'M 363,24 L 372,24 C 378,56 420,66 410,118 C 408,88 388,76 372,74 Z'" \
  -font "$font" -kerning 1 \
  -fill '#f7a23a' -pointsize 40 -annotate +31+318 'mp3' \
  -fill white -pointsize 62 -annotate +143+318 'sondrel' \
  -resize 109x84\! \
  -strip -sampling-factor 2x2,1x1,1x1 -interlace none -quality 85 \
  "jpeg:$tmp/Logo.jpg"

mv -f "$tmp/Logo.jpg" "$out"
echo "make-logo: wrote $out ($(stat -c %s "$out") bytes)"
