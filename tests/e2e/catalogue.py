"""The setup's message catalogue, read from its compiled resources (the .res that windres makes
of setup.rc), so that the end-to-end checks use the very texts the program carries."""

import struct

STRING_TYPE = 6


def _read_id(data, pos):
    (first,) = struct.unpack_from("<H", data, pos)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def read_strings(res_path, language=0x0407):
    """All strings of the string table in `language`, by number."""
    data = open(res_path, "rb").read()
    strings = {}
    pos = 0
    while pos + 8 <= len(data):
        data_size, header_size = struct.unpack_from("<II", data, pos)
        rtype, p = _read_id(data, pos + 8)
        name, p = _read_id(data, p)
        p = (p + 3) & ~3
        (lang,) = struct.unpack_from("<H", data, p + 6)
        body = data[pos + header_size : pos + header_size + data_size]
        if rtype == STRING_TYPE and lang == language and isinstance(name, int):
            q = 0
            for index in range(16):
                (length,) = struct.unpack_from("<H", body, q)
                q += 2
                if length:
                    strings[(name - 1) * 16 + index] = body[q : q + 2 * length].decode("utf-16-le")
                q += 2 * length
        pos = (pos + header_size + data_size + 3) & ~3
    return strings


def format_message(template, *args):
    """The catalogue's formatting: %1..%9 replaced by the arguments, "?" for a missing one."""
    out = []
    i = 0
    template = template[:255]
    while i < len(template):
        c = template[i]
        if c == "%" and i + 1 < len(template) and template[i + 1] in "123456789":
            n = int(template[i + 1])
            out.append(args[n - 1] if n <= len(args) else "?")
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)
