#!/usr/bin/env python3
"""Character error rate of a reading against the text a screen shows.

    Score.py EXPECTED.txt GOT.txt  ->  prints "ERRORS LENGTH"

Both texts are compared line by line joined with line breaks, blank lines dropped, lines
trimmed and runs of spaces taken as one. Chinese is set without spaces, so in the expected text
a space between two Chinese characters (or marks) is dropped; in the reading it stays an error.
A tab in the expected text parts columns (two buttons, a list's cells): a space that stays.
The errors are the Levenshtein distance in characters (code points)."""
import re
import sys


def is_cjk(c):
    o = ord(c)
    return (0x2E80 <= o <= 0x2FDF or 0x3000 <= o <= 0x303F or 0x3400 <= o <= 0x4DBF or 0x4E00 <= o <= 0x9FFF
            or 0xF900 <= o <= 0xFAFF or 0xFF00 <= o <= 0xFFEF)


def normal(text, expected):
    lines = []
    for line in text.splitlines():
        if expected:
            line = re.sub(r"[^\S\t]+", " ", line).strip()
            line = re.sub(r"(?<=(.)) (?=(.))", lambda m: "" if is_cjk(m.group(1)) and is_cjk(m.group(2)) else " ", line)
        line = re.sub(r"\s+", " ", line).strip()
        if line:
            lines.append(line)
    return "\n".join(lines)


def distance(a, b):
    row = list(range(len(b) + 1))
    for i, ca in enumerate(a, 1):
        prev, row[0] = row[0], i
        for j, cb in enumerate(b, 1):
            prev, row[j] = row[j], min(row[j] + 1, row[j - 1] + 1, prev + (ca != cb))
    return row[len(b)]


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        expected = normal(f.read(), True)
    with open(sys.argv[2], encoding="utf-8", errors="replace") as f:
        got = normal(f.read(), False)
    print(distance(expected, got), len(expected))


if __name__ == "__main__":
    main()
