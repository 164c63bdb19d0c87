#!/usr/bin/env bash
# All pictures on one sheet, each labelled with its resource name: the small ones (icons, ink levels) at twice
# their size on top, the dialog pictures at their own size below.
# Usage: contact-sheet.sh <out.png> <bitmap>...
set -euo pipefail
out=$1
shift
command -v montage >/dev/null || { echo "contact-sheet.sh: ImageMagick's montage is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# ImageMagick's default font is not everywhere; take whatever sans font fontconfig knows.
font=()
if command -v fc-match >/dev/null; then
    file=$(fc-match -f '%{file}' sans 2>/dev/null || true)
    [[ -n $file && -f $file ]] && font=(-font "$file")
fi
small=()
large=()
for bmp in "$@"; do
    name=$(basename "$bmp" .bmp)
    width=$(identify -format '%w' "$bmp")
    if ((width < 100)); then
        # A cell wide enough for the longest name under it.
        convert "$bmp" -scale 200% -background '#d8d8d8' -gravity center -extent 190x136 "$work/$name.png"
        small+=("$work/$name.png")
    else
        convert "$bmp" "$work/$name.png"
        large+=("$work/$name.png")
    fi
done
sheets=()
if ((${#small[@]})); then
    montage "${font[@]}" -label '%t' -pointsize 11 "${small[@]}" -tile 8x -geometry +4+4 -background '#d8d8d8' \
        "$work/small.png"
    sheets+=("$work/small.png")
fi
if ((${#large[@]})); then
    montage "${font[@]}" -label '%t' -pointsize 12 "${large[@]}" -tile 4x -geometry +6+6 -background '#d8d8d8' \
        "$work/large.png"
    sheets+=("$work/large.png")
fi
convert "${sheets[@]}" -background '#d8d8d8' -gravity center -append "$out"
echo "$out"
