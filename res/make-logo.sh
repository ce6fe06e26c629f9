#!/usr/bin/env bash
# Draws the start page's default picture, KTRlogo.jpg (800 x 500), with ImageMagick.
# The picture is stretched over the page behind its buttons and welcome box, which
# cover roughly the upper 60 %; the name and the letter tiles sit in the band below.
set -euo pipefail
cd "$(dirname "$0")"
bold=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
plain=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
args=(-size 800x500 gradient:'#f2f8fe'-'#8ebfe9'
      -stroke none -fill '#ffffff30' -draw 'circle 690,70 690,210'
      -fill '#ffffff26' -draw 'circle 90,470 90,640'
      -fill '#ffffff1c' -draw 'circle 430,560 430,700')
tile() { # x y angle letter
    args+=(-stroke none -fill '#00000022' -draw "translate $(($1 + 3)),$(($2 + 4)) rotate $3 roundrectangle -30,-30 30,30 6,6"
           -stroke '#b8955a' -strokewidth 3 -fill '#fff6dc' -draw "translate $1,$2 rotate $3 roundrectangle -30,-30 30,30 6,6"
           -stroke none -fill '#1f4e8c' -font "$bold" -pointsize 40 -draw "translate $1,$2 rotate $3 text -14,15 '$4'")
}
tile 92 400 -8 K
tile 160 392 5 E
tile 228 404 -4 L
args+=(-stroke none -fill '#17407a' -font "$bold" -pointsize 70 -annotate +300+425 'Keltora'
       -fill '#2f5d96' -font "$plain" -pointsize 23 -annotate +306+465 'Listen, spell, check, learn.'
       -quality 92 KTRlogo.jpg)
convert "${args[@]}"
