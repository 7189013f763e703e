#!/usr/bin/env python3
"""Writes the reader's table of characters that read as something else (C++), from the Unicode
data of Python's unicodedata: NFKC forms, decimal digits and numeric values.

usage: make_character_table.py OUTPUT.cpp

Only characters the reader cannot read as they stand are listed: full-width Latin letters,
Latin letters with accents,
enclosed and parenthesised numbers and ideographs, squared words and units, Kangxi radicals,
compatibility ideographs, letterlike symbols, mathematical letters and digits, fractions,
superscripts and other scripts' digits. Full-width digits and punctuation, half-width katakana
and the ideographic blank read as they are and are left alone.
"""
import sys
import unicodedata

# Blocks whose compatibility forms are read through their NFKC form.
COMPAT_BLOCKS = [
    (0x00B2, 0x00BE),    # superscripts ² ³ ¹ and fractions ¼ ½ ¾ of Latin-1
    (0x2070, 0x209F),    # superscripts and subscripts
    (0x2100, 0x214F),    # letterlike symbols: ℃ № ℡
    (0x2150, 0x218F),    # number forms: ½ ⅓ Ⅻ ⅱ
    (0x2460, 0x24FF),    # enclosed alphanumerics: ① ⑴ ⒈ ⒜ Ⓐ
    (0x2776, 0x2793),    # dingbat circled digits: ❶ ➀
    (0x2E80, 0x2FDF),    # CJK and Kangxi radicals: ⼀ ⼆ ⼗
    (0x3200, 0x33FF),    # enclosed CJK letters, CJK compatibility: ㈱ ㊀ ㉑ ㍿ ㎞ ㌔
    (0xF900, 0xFAFF),    # CJK compatibility ideographs
    (0xFB00, 0xFB06),    # Latin ligatures: ﬁ
    (0xFF21, 0xFF3A),    # full-width capital letters
    (0xFF41, 0xFF5A),    # full-width small letters
    (0x1D400, 0x1D7FF),  # mathematical letters and digits: 𝐀 𝟓
    (0x1F100, 0x1F2FF),  # enclosed alphanumeric and ideographic supplements: 🄐 🈀
    (0x2F800, 0x2FA1F),  # CJK compatibility ideographs supplement
]
SUPERSCRIPT_DIGITS = {0x00B9, 0x00B2, 0x00B3, 0x2070, *range(0x2074, 0x207A)}


def in_blocks(code):
    return any(first <= code <= last for first, last in COMPAT_BLOCKS)


def entry(code):
    """(kind, text) for one code point, or None when it reads as it stands."""
    ch = chr(code)
    category = unicodedata.category(ch)
    if code in SUPERSCRIPT_DIGITS:
        return "Superscript", str(unicodedata.digit(ch))
    # Digits of every script but ASCII and full-width, which the reader knows: ٣ ३ 𝟓.
    if category == "Nd" and not (0x30 <= code <= 0x39 or 0xFF10 <= code <= 0xFF19):
        return "Digit", str(unicodedata.decimal(ch))
    # Latin letters with accents as the plain letters (café cafe), so the word stays one Latin word
    # for the English voice instead of three letters and a dropped one.
    if 0xC0 <= code <= 0x24F and category.startswith("L"):
        plain = "".join(c for c in unicodedata.normalize("NFKD", ch)
                        if not unicodedata.category(c).startswith("M"))
        return ("Text", plain) if plain.isascii() and plain.isalpha() and plain != ch else None
    if not in_blocks(code):
        return None
    nfkc = unicodedata.normalize("NFKC", ch)
    value = unicodedata.numeric(ch, None)
    if category in ("No", "Nl") and value is not None:
        if "\u2044" in nfkc:  # ½ is 1⁄2
            numerator, _, denominator = nfkc.partition("\u2044")
            if numerator.isdigit() and denominator.isdigit():
                return "Fraction", numerator + "/" + denominator
            return None
        if value == int(value):
            # ① ⑴ ⒈ ㉑ ❶ Ⅻ ㈠ ㊀ stand for a number of their own.
            return "Number", str(int(value))
    if nfkc == ch:
        return None
    # Parentheses and the full stop of ⒜ ⒈ ㈱ 🄐 are how the character is drawn, not read.
    if len(nfkc) > 1 and (0x2460 <= code <= 0x24FF or 0x3200 <= code <= 0x32FF or
                          0x1F100 <= code <= 0x1F1FF):
        nfkc = nfkc.strip("().,")
    return "Text", nfkc


def quiet(code):
    # Marks, blanks and format characters: dropping them takes nothing from what is said.
    return unicodedata.category(chr(code))[0] in "PZ" or unicodedata.category(chr(code)) in (
        "Cc", "Cf", "Mn", "Me")


def cpp_string(text):
    # Octal escapes end after three digits, so a letter after one stays a letter.
    return '"' + "".join("\\%03o" % b if b < 0x20 or b in (0x22, 0x5C) or b >= 0x80 else chr(b)
                         for b in text.encode("utf-8")) + '"'


def main():
    rows, ranges = [], []
    for code in range(0x110000):
        if 0xD800 <= code <= 0xDFFF:
            continue
        e = entry(code)
        if e:
            rows.append("    {0x%X, CharacterKind::%s, %s}," % (code, e[0], cpp_string(e[1])))
        if quiet(code):
            if ranges and ranges[-1][1] == code - 1:
                ranges[-1][1] = code
            else:
                ranges.append([code, code])
    out = [
        "// Made by the build from src/reading/make_character_table.py (Unicode %s): edit that"
        % unicodedata.unidata_version,
        "// file, not this one.",
        '#include "reading/character_table.hpp"',
        "",
        "namespace orvane::japanese {",
        "",
        "const CharacterForm kCharacterForms[] = {",
        *rows,
        "};",
        "const std::size_t kCharacterFormCount = sizeof kCharacterForms / sizeof kCharacterForms[0];",
        "",
        "const CodeRange kQuietRanges[] = {",
        *("    {0x%X, 0x%X}," % (a, b) for a, b in ranges),
        "};",
        "const std::size_t kQuietRangeCount = sizeof kQuietRanges / sizeof kQuietRanges[0];",
        "",
        "}  // namespace orvane::japanese",
        "",
    ]
    with open(sys.argv[1], "w", encoding="utf-8") as f:
        f.write("\n".join(out))


main()
