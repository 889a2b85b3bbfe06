#!/usr/bin/env bash
# Takes the screens benchmark's text from Debian's own packages, as it was committed under
# bench/screens/text (run again only to refresh it): description paragraphs of English man pages
# (coreutils, tar, ...) and of the Chinese ones (manpages-zh), and the names and comments of
# desktop entries and packages' short descriptions. Lines stay as the man pages lay them out, at
# most 60 terminal columns (a Chinese character takes two), so that a terminal shows them as they are.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/text"

# The DESCRIPTION (描述) section of a man page, laid out at 64 columns, without indentation,
# blank lines or option lines.
description() {
    local page=$1 lang=$2 heading=$3
    { MANWIDTH=64 LANG=C.UTF-8 timeout 10 man --nj --nh -L "$lang" "$page" 2>/dev/null || true; } | col -bx |
        awk -v h="$heading" '$0 ~ "^" h { on = 1; next } /^[^ ]/ { on = 0 } on && /^       [^ -]/' |
        sed 's/^ *//; s/ *$//' | head -8
}

: >en-man.txt
for page in ls cp mv tar grep sort find chmod df du; do
    description "$page" en DESCRIPTION >>en-man.txt
done
: >zh-man.txt
for page in ls cp mv tar chmod du find grep sort passwd login; do
    description "/usr/share/man/zh_CN/man1/$page.1.gz" zh_CN '(描述|说明|描叙)' >>zh-man.txt
done
# Written later, for the screens made after a round of tuning: man-db's own Chinese pages (it
# ships them; the lines above came from manpages-zh).
: >zh-more.txt
for page in apropos whatis manpath lexgrog manconv zsoelim; do
    description "/usr/share/man/zh_CN/man1/$page.1.gz" zh_CN '(描述|说明|描叙)' >>zh-more.txt
done
# Written later still, for the screens made after the next round (marks set apart in Chinese
# text): pages of manpages-zh and English pages that no list showed.
: >zh-third.txt
for page in rm ln mkdir chown wc cat; do
    description "/usr/share/man/zh_CN/man1/$page.1.gz" zh_CN '(描述|说明|描叙)' >>zh-third.txt
done
: >en-more.txt
for page in rm ln mkdir head; do
    description "$page" en DESCRIPTION >>en-more.txt
done
dpkg-query -W -f '${Package}: ${binary:Summary}\n' | awk 'length($0) < 60' | sort -R --random-source=/dev/zero |
    head -60 >packages.txt
# "Name: Comment" of each desktop entry, in English and (where it has them) in Chinese.
for file in /usr/share/applications/*.desktop /usr/share/xsessions/*.desktop; do
    [ -f "$file" ] || continue
    awk -F= '/^\[/ { main = ($0 == "[Desktop Entry]") } main { v[$1] = substr($0, index($0, "=") + 1) }
        END {
            if (v["Name"] != "" && v["Comment"] != "") print v["Name"] ": " v["Comment"]
            zn = v["Name[zh_CN]"] != "" ? v["Name[zh_CN]"] : v["GenericName[zh_CN]"]
            if (zn != "" && v["Comment[zh_CN]"] != "") print zn ": " v["Comment[zh_CN]"]
        }' "$file"
done >desktop.txt
