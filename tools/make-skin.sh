#!/usr/bin/env bash
# Draws Corvane's skin: the bitmaps that make the main window's face, and the
# program icon, into src/res/skin/.
#
# The pictures this script writes are committed to the repository, so building
# Corvane needs no image tools. Re-run it only to change the look:
#
#     tools/make-skin.sh          (from anywhere; needs ImageMagick 6 "convert"
#                                  and the WenQuanYi Micro Hei font)
#
# then look at the pictures and commit them together with the script. Every run
# overwrites all outputs. The bitmaps are 24-bit uncompressed BMPs (BMP3, no
# alpha), which every version of Windows' LoadImage reads.
set -euo pipefail

cd "$(dirname "$0")/.."
OUT=src/res/skin
mkdir -p "$OUT"

CJK_FONT=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
# The product name wants a real bold face; the CJK font has none.
LATIN_BOLD=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
[[ -f $LATIN_BOLD ]] || LATIN_BOLD=$CJK_FONT
[[ -f $CJK_FONT ]] || { echo "make-skin: missing font $CJK_FONT" >&2; exit 1; }

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

FACE='rgb(240,240,240)'          # the dialog face colour around the help button
TROUGH='#F7F7F7'                 # inside of the progress bar
TROUGH_FRAME='#A8A8A8'

# Writes a picture (any ImageMagick input) as a 24-bit uncompressed BMP.
bmp24() { # <input> <output name>
    convert "$1" -background white -alpha remove -alpha off \
        -define bmp:format=bmp3 -compress None -type TrueColor "BMP3:$OUT/$2"
}

# ---------------------------------------------------------------------------
# Command buttons: a rounded red face on white, caption centred in white.
# ---------------------------------------------------------------------------
button() { # <name> <height> <caption>
    local name=$1 h=$2 caption=$3 w=132
    # state: top colour, bottom colour, border, caption offset
    local -a states=(
        "normal  #D01010 #A00000 #7A0000 0"
        "hover   #E63A3A #C01818 #8A0A0A 0"
        "pressed #A00000 #780000 #5A0000 1"
    )
    convert -size "${w}x${h}" xc:black -fill white \
        -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 7,7" "$TMP/mask.png"
    local s state top bottom border shift
    for s in "${states[@]}"; do
        read -r state top bottom border shift <<<"$s"
        # Face: the gradient inside the rounded mask, white outside; a faint
        # sheen over the upper half (white on the white corners changes nothing).
        convert -size "${w}x${h}" xc:white \
            \( -size "${w}x${h}" "gradient:${top}-${bottom}" \) \
            "$TMP/mask.png" -composite \
            \( -size "${w}x$((h / 2))" gradient:'rgba(255,255,255,0.22)-rgba(255,255,255,0.04)' \) \
            -gravity north -compose over -composite \
            -gravity center \
            -fill none -stroke "$border" -strokewidth 1 \
            -draw "roundrectangle 0.5,0.5 $((w - 1)).5,$((h - 1)).5 7,7" \
            -stroke none -font "$CJK_FONT" -pointsize 17 -gravity center \
            -fill 'rgba(60,0,0,0.45)' -annotate "+$((shift + 1))+$((shift + 1))" "$caption" \
            -fill white -annotate "+${shift}+${shift}" "$caption" \
            "$TMP/btn.png"
        bmp24 "$TMP/btn.png" "${name}_${state}.bmp"
    done
}

button clear    44 "清除"
button test     42 "测试"
button save     42 "保存状态"
button restore  42 "还原"
button settings 42 "设置"
button helpbtn  42 "帮助"
button close    42 "关闭"

# ---------------------------------------------------------------------------
# The small round help button, 19 x 19, on the dialog face colour.
# Drawn four times larger and reduced, for smooth edges.
# ---------------------------------------------------------------------------
help_button() { # <state> <top> <bottom> <border> <shift>
    local state=$1 top=$2 bottom=$3 border=$4 shift=$5
    convert -size 76x76 xc:black -fill white -draw "circle 37.5,37.5 37.5,2" "$TMP/hmask.png"
    convert -size 76x76 "xc:$FACE" \
        \( -size 76x76 "gradient:${top}-${bottom}" \) "$TMP/hmask.png" -composite \
        -fill none -stroke "$border" -strokewidth 4 -draw "circle 37.5,37.5 37.5,3" \
        -stroke none -font "$LATIN_BOLD" -pointsize 54 -fill white -gravity center \
        -annotate "+$((shift * 4))+$((2 + shift * 4))" "?" \
        -filter Box -resize 19x19 "$TMP/help.png"
    bmp24 "$TMP/help.png" "help_${state}.bmp"
}

help_button normal  '#D82020' '#A00000' '#7A0000' 0
help_button hover   '#EE4A4A' '#C41818' '#8A0A0A' 0
help_button pressed '#A00000' '#780000' '#5A0000' 1

# ---------------------------------------------------------------------------
# Progress bar: a light trough with a 1-px frame, and one red tile whose
# rightmost two columns are trough so the tiles stand apart.
# ---------------------------------------------------------------------------
convert -size 413x18 "xc:$TROUGH" -fill none -stroke "$TROUGH_FRAME" \
    -draw "rectangle 0,0 412,17" "$TMP/trough.png"
bmp24 "$TMP/trough.png" progress_back.bmp

convert -size 12x14 "xc:$TROUGH" \
    \( -size 10x14 gradient:'#F03030-#B00000' \) -gravity west -composite \
    "$TMP/tile.png"
bmp24 "$TMP/tile.png" progress_tile.bmp

# ---------------------------------------------------------------------------
# Background, 584 x 396: red at the left edge fading to white by column 184,
# white from there on (the buttons' column, x >= 440, is plain white); the
# product name, the tagline and the log's label in the top band.
# ---------------------------------------------------------------------------
convert \
    -size 11x396 xc:'#FF0000' \
    \( -size 396x174 gradient:'#FF0000-#FFFFFF' -rotate -90 \) \
    -size 399x396 xc:white \
    +append \
    -font "$LATIN_BOLD" -pointsize 38 -fill '#2A2A2A' \
    -annotate +22+50 'Corvane' \
    -font "$CJK_FONT" -pointsize 16 -fill '#333333' \
    -annotate +226+48 '清除上网痕迹，保护您的隐私' \
    -fill '#C8C8C8' -draw 'line 226,58 424,58' \
    -font "$CJK_FONT" -pointsize 13 -fill '#222222' \
    -annotate +14+93 '活动记录' \
    "$TMP/background.png"
bmp24 "$TMP/background.png" background.bmp

# ---------------------------------------------------------------------------
# Icon: a red shield with a white tick, 32 x 32 and 16 x 16 in one .ico.
# ---------------------------------------------------------------------------
SHIELD='M 64,6 L 114,22 L 114,58 C 114,92 92,112 64,124 C 36,112 14,92 14,58 L 14,22 Z'
convert -size 128x128 gradient:'#F02828-#A00000' \
    \( -size 128x128 xc:black -fill white -draw "path '$SHIELD'" \) \
    -alpha off -compose CopyOpacity -composite -compose over \
    -fill none -stroke '#6A0000' -strokewidth 6 -draw "path '$SHIELD'" \
    -stroke white -strokewidth 16 \
    -draw 'stroke-linecap round stroke-linejoin round polyline 40,64 58,84 90,44' \
    "$TMP/icon128.png"
convert "$TMP/icon128.png" -filter Lanczos -resize 32x32 "$TMP/icon32.png"
convert "$TMP/icon128.png" -filter Lanczos -resize 16x16 "$TMP/icon16.png"
convert "$TMP/icon32.png" "$TMP/icon16.png" "$OUT/corvane.ico"

echo "make-skin: wrote the skin into $OUT"
