"""Writes the profile files that run-profiles.sh reads with both readers, and the queries.

Usage: profile_fixtures.py <folder>

The same text goes into a file of each encoding the Windows reader recognises (UTF-16 LE and BE
and UTF-8, each with its byte-order mark); files of broken UTF-8, of UTF-16 without a
mark and in code page 1252 show what happens at the edges. (An odd last byte of UTF-16 is left
out: Wine reads a byte beyond the file for it.)"""

import os
import sys

LONG = "\u00e4" * 1030
TEXT = "".join([
    "[Installation]\r\n",
    "Bezeichnung=Quarnel ZTR Hotfix 3 \u2013 Gr\u00fc\u00dfe \u20ac\r\n",
    "EXEFile1=\"Nach lauf.exe\" /q\r\n",
    "EXEFile2=\"C:\\Programme\\Nach lauf.exe\"\r\n",
    "EXEFile3='x' \"y\"\r\n",
    "best=\u0100\u0107\u2018x\u2019\uff21\u2002\r\n",
    "unmappable=\u65e5\u672c\u2028\u0085\r\n",
    "surrogates=\U0001d11e!\r\n",
    "blanks=\u00a0nb\u00a0\r\n",
    "wide=\u3000w\u3000\r\n",
    "ctrlz=\x1az\x1a\r\n",
    "long=" + LONG + "\r\n",
    "quotedlong=\"" + "x" * 1023 + "\"\r\n",
    "quotedfull=\"" + "x" * 1022 + "\"\r\n",
    "quotedover=\"" + "x" * 1030 + "\"\r\n",
    "nul=a\0b\r\n",
    "  Spaced  =  v  \r\n",
    "[\u00dcbersicht]\r\n",
    "k=\u00fc\r\n",
    "[\u0100B]\r\n",
    "k=best-fit name\r\n",
    "[Block1]\r\n",
    "File1=Vorlagen\\Brief.dot;VERSION\r\n",
    "\u0100=key with a best-fit name\r\n",
    "[installation]\r\n",
    "Bezeichnung=second section of the name\r\n",
])

QUERIES = [
    ("Installation", k) for k in (
        "Bezeichnung", "EXEFile1", "EXEFile2", "EXEFile3", "best", "unmappable", "surrogates",
        "blanks", "wide", "ctrlz", "long", "quotedlong", "quotedfull", "quotedover", "nul",
        "spaced", "absent")
] + [
    # Asked in the case of the file: Wine folds only ASCII letters of names, Windows (and our
    # reader) all letters of code page 1252.
    ("\u00dcbersicht", "K"), ("AB", "k"), ("?B", "k"), ("Block1", "File1"), ("Block1", "A"),
    ("S", "a"), ("S", "b"), ("S", "c"), ("S", "d"),
]

BROKEN_UTF8 = (b"\xef\xbb\xbf[S]\r\n"
               b"a=x\xff\xc3y\xc0\xaf\r\n"
               b"b=\xed\xa0\x80z\xe0\x80\x80\xf0\x80\x80\x80\xf4\x90\x80\x80\r\n"
               b"c=\xf0\x9f\x98\x80\xe2\x82\xac\r\n"
               b"d=\xe2\x82")
CP1252 = b"[S]\r\na=\xa0x\xa0\r\nb=\x81\x8d\x8f\x90\x9d\r\nc=\x80\xfc\r\n"


def main():
    folder = sys.argv[1]
    files = {
        "utf16le.ini": b"\xff\xfe" + TEXT.encode("utf-16-le"),
        "utf16be.ini": b"\xfe\xff" + TEXT.encode("utf-16-be"),
        "utf8.ini": b"\xef\xbb\xbf" + TEXT.encode("utf-8"),
        "utf8-broken.ini": BROKEN_UTF8,
        "utf16-no-mark.ini": "[S]\r\na=x\r\n".encode("utf-16-le"),
        "cp1252.ini": CP1252,
    }
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    with open(os.path.join(folder, "queries.txt"), "wb") as f:
        for section, key in QUERIES:
            f.write(("%s\t%s\n" % (section, key)).encode("cp1252"))


if __name__ == "__main__":
    main()
