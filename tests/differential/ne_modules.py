#!/usr/bin/env python3
"""16-bit Windows modules (NE) for the comparison of the version readers with Wine's.

    ne_modules.py list FILE...          the 1-based positions of the NE modules among FILEs
    ne_modules.py extract DIR FILE...   writes the NE module that each FILE carries into DIR

A module is NE when it starts with "MZ" and the header that e_lfanew (offset 0x3C) points at
starts with "NE". Wine's 16-bit builtins (ole2nls.dll16, shell.dll16, ... of 32-bit Wine) are PE
files that carry such a module whole, from its own "MZ" on: it is what a prefix's syswow64 holds
under the module's name where the kernel runs 32-bit programs. extract writes it as that name
(ole2nls.dll) and prints the paths written; a FILE that carries none is passed over.
"""

import os
import struct
import sys


def ne_at(data, start):
    """Whether an NE module starts at `start` of `data`."""
    if data[start:start + 2] != b"MZ" or start + 0x40 > len(data):
        return False
    header = start + struct.unpack_from("<I", data, start + 0x3C)[0]
    return data[header:header + 2] == b"NE"


def is_ne_file(path):
    """Whether the file at `path` is an NE module; only its two headers are read."""
    try:
        with open(path, "rb") as f:
            dos = f.read(0x40)
            if len(dos) < 0x40 or dos[:2] != b"MZ":
                return False
            f.seek(struct.unpack_from("<I", dos, 0x3C)[0])
            return f.read(2) == b"NE"
    except OSError:
        return False


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""


def embedded_module(data):
    start = data.find(b"MZ", 1)
    while start > 0:
        if ne_at(data, start):
            return data[start:]
        start = data.find(b"MZ", start + 1)
    return None


def main(argv):
    if len(argv) >= 2 and argv[1] == "list":
        for position, path in enumerate(argv[2:], 1):
            if is_ne_file(path):
                print(position)
        return 0
    if len(argv) >= 3 and argv[1] == "extract":
        out = argv[2]
        os.makedirs(out, exist_ok=True)
        for path in argv[3:]:
            module = embedded_module(read(path))
            name = os.path.basename(path)
            if module is None or not name.endswith("16"):
                continue
            target = os.path.join(out, name[:-2])
            with open(target, "wb") as f:
                f.write(module)
            print(target)
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
