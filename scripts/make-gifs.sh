#!/bin/sh
# Draws the two loading animations, frame by frame, with ImageMagick:
#   resources/images/wnd/loading.gif        120 x 120, cyan dots (home page, loading panel)
#   resources/images/skin/loading_inner.gif  32 x 32, navy dots (please-wait box)
# The results are committed, so a build never needs ImageMagick; rerun this after a change.
#
# GIF transparency is all-or-nothing, so each frame is blended onto the colour it will be shown
# on (the "matte") and only the pixels outside the dots are made transparent.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
# Prefer ImageMagick's own binary over any wrapper earlier in PATH.
if [ -z "${CONVERT:-}" ]; then
    if [ -x /usr/bin/convert ]; then CONVERT=/usr/bin/convert; else CONVERT=convert; fi
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# spinner <out.gif> <size> <ring radius> <head dot radius> <tail dot radius> <r,g,b> <matte>
# Twelve dots on a ring; the bright head moves one place per frame, the tail fades behind it.
spinner() {
    out=$1 size=$2 ring=$3 head=$4 tail=$5 rgb=$6 matte=$7
    frames=""
    f=0
    while [ $f -lt 12 ]; do
        draw=""
        i=0
        while [ $i -lt 12 ]; do
            # dot i places behind the head: fading alpha, shrinking radius
            # shellcheck disable=SC2046 # awk prints four numbers, split on purpose
            set -- $(awk -v f="$f" -v i="$i" -v s="$size" -v R="$ring" -v h="$head" -v t="$tail" 'BEGIN {
                pi = atan2(0, -1); a = (f - i) * pi / 6 - pi / 2; c = s / 2;
                x = c + R * cos(a); y = c + R * sin(a);
                r = h - (h - t) * i / 11; o = 1 - 0.85 * i / 11;
                printf "%.3f %.3f %.3f %.3f", x, y, x + r, o }')
            draw="$draw fill rgba($rgb,$4) circle $1,$2 $3,$2"
            i=$((i + 1))
        done
        raw=$work/raw_$f.png
        frame=$work/frame_$(printf %02d $f).png
        # drawn at 4x and reduced, for smooth dot edges
        "$CONVERT" -size $((size * 4))x$((size * 4)) xc:none \
            -draw "scale 4,4 $draw" -resize "${size}x${size}" "$raw"
        "$CONVERT" \( "$raw" -background "$matte" -flatten \) \
            \( "$raw" -alpha extract -threshold 6% \) \
            -alpha off -compose CopyOpacity -composite "$frame"
        frames="$frames $frame"
        f=$((f + 1))
    done
    # shellcheck disable=SC2086 # the frame list is split on purpose
    "$CONVERT" -delay 8 -dispose Background -loop 0 $frames "$out"
    echo "wrote $out"
}

spinner "$root/resources/images/wnd/loading.gif" 120 42 7 3 "0,201,228" "#1e2433"
spinner "$root/resources/images/skin/loading_inner.gif" 32 11.5 2.6 1.2 "28,43,74" "rgb(113,200,210)"
