#!/bin/sh
# Renders the PNG pictures of resources/ from their SVG sources:
#   icons/tarvelinquistombrel.svg -> icons/tarvelinquistombrel-{16,32,48,256}.png
#                                    help/tarvelinquistombrel-48.png (the help pages show it)
#   about/about.svg               -> about/about.png (120 x 50, for the About box)
# Needs rsvg-convert (Debian package librsvg2-bin) and the DejaVu fonts used by the About
# picture's text (fonts-dejavu-core). Run it from anywhere; it works beside itself.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)

if ! command -v rsvg-convert >/dev/null 2>&1; then
  echo "render-icons.sh: rsvg-convert is missing; install it with:" >&2
  echo "  apt-get install librsvg2-bin fonts-dejavu-core" >&2
  exit 1
fi
if command -v fc-list >/dev/null 2>&1 && ! fc-list | grep -q 'DejaVu Sans'; then
  echo "render-icons.sh: warning: DejaVu Sans not found (apt-get install fonts-dejavu-core);" \
       "the About picture's text will use another font" >&2
fi

render() { # render SVG WIDTH HEIGHT PNG
  rsvg-convert --format=png --width="$2" --height="$3" --output="$4.tmp" "$1"
  mv -f "$4.tmp" "$4"
  echo "wrote $4 ($2 x $3)"
}

icon="$here/icons/tarvelinquistombrel.svg"
for size in 16 32 48 256; do
  render "$icon" "$size" "$size" "$here/icons/tarvelinquistombrel-$size.png"
done
render "$icon" 48 48 "$here/help/tarvelinquistombrel-48.png"
render "$here/about/about.svg" 120 50 "$here/about/about.png"
