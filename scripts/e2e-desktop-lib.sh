# Shell functions for the end-to-end scripts' desktops; sourced.

# desktop_pattern WIDTH HEIGHT OUT_PNG: a picture whose every pixel tells where it is, for
# pixel-exact comparisons of captures: red and green count along a 251x241 tile, blue mixes
# both, the tile repeats (no shift or scale of a capture keeps it).
desktop_pattern() {
    local tile="${3%.png}-tile.png"
    convert -size 251x241 xc: -channel R -fx 'i/255' -channel G -fx 'j/255' -channel B -fx '((i+2*j)%256)/255' \
        +channel "$tile" 2>/dev/null &&
        convert -size "$1x$2" tile:"$tile" -depth 8 "$3" 2>/dev/null
}

# show_on_root PNG: the picture as the root window's background; true when the screen shows it
# pixel for pixel.
show_on_root() {
    local seen="${1%.png}-seen.png"
    # display ends with 1 even when it has set the background: the screen tells.
    display -window root "$1" 2>/dev/null
    import -window root "$seen" 2>/dev/null &&
        [ "$(compare -metric AE "$seen" "$1" null: 2>&1)" = 0 ]
}
