#!/bin/sh
# Draws the donation dialog's picture (a checkered badge with a heart, our own drawing) and
# writes it as donation.jpg beside this script. Run it again only to change the picture; the
# build embeds the committed file. Needs ImageMagick.
set -e
cd "$(dirname "$0")"
convert -size 296x304 xc:white \
    -fill '#0a7cca' -draw 'roundrectangle 28,32 268,272 18,18' \
    -fill white -draw 'roundrectangle 44,48 252,256 10,10' \
    -fill '#0a7cca' \
    -draw 'rectangle 60,64 108,112' -draw 'rectangle 188,64 236,112' -draw 'rectangle 60,192 108,240' \
    -fill white -draw 'rectangle 70,74 98,102' -draw 'rectangle 198,74 226,102' -draw 'rectangle 70,202 98,230' \
    -fill '#0a7cca' -draw 'rectangle 78,82 90,94' -draw 'rectangle 206,82 218,94' -draw 'rectangle 78,210 90,222' \
    -fill '#d83a3a' -draw 'circle 134,150 134,132' -draw 'circle 166,150 166,132' \
    -draw 'polygon 116,158 184,158 150,204' \
    -strip -quality 85 donation.jpg
