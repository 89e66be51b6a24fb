#!/usr/bin/env python3
"""Lists the resources of a PE module (.dll) or of a compiled resource file (.res).

One line per resource: "<type> <name> <language> <size>", types and names as numbers (or their strings).
With --version, also prints the FileDescription and FileVersion strings of the version resource; with
--dialogs, the control ids of each dialog template, one line per dialog: "DIALOG <id> <caption>: ids...".
"""
import argparse
import struct
import sys

RT_ICON, RT_BITMAP, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 2, 5, 6, 14, 16, 24


def res_entries(data):
    """Entries of a .res file: (type, name, language, bytes)."""
    out, pos = [], 0
    while pos + 8 <= len(data):
        data_size, header_size = struct.unpack_from("<II", data, pos)
        p = pos + 8
        ident = []
        for _ in range(2):
            if struct.unpack_from("<H", data, p)[0] == 0xFFFF:
                ident.append(struct.unpack_from("<H", data, p + 2)[0])
                p += 4
            else:
                end = p
                while struct.unpack_from("<H", data, end)[0]:
                    end += 2
                ident.append(data[p:end].decode("utf-16-le"))
                p = end + 2
        p = (p + 3) & ~3
        language = struct.unpack_from("<IHH", data, p)[2]
        body = data[pos + header_size:pos + header_size + data_size]
        if data_size or ident[0] != 0:
            out.append((ident[0], ident[1], language, body))
        pos = (pos + header_size + data_size + 3) & ~3
    return out


def pe_entries(data):
    """Entries of the .rsrc section of a PE image."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE image")
    sections, opt_size = struct.unpack_from("<HxxxxxxxxxxxxH", data, pe + 6)
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    dirs = opt + (96 if magic == 0x10B else 112)
    rsrc_rva, rsrc_size = struct.unpack_from("<II", data, dirs + 2 * 8)
    if not rsrc_size:
        return []
    table = opt + opt_size
    base = None
    for i in range(sections):
        _, vsize, va, rsize, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
        if va <= rsrc_rva < va + max(vsize, rsize):
            base = raw + rsrc_rva - va
            delta = raw - va
    if base is None:
        raise ValueError("resource directory outside every section")

    def name_at(offset):
        length = struct.unpack_from("<H", data, base + offset)[0]
        return data[base + offset + 2:base + offset + 2 + 2 * length].decode("utf-16-le")

    def directory(offset):
        named, ids = struct.unpack_from("<HH", data, base + offset + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
            key = name_at(name & 0x7FFFFFFF) if name & 0x80000000 else name
            yield key, target

    out = []
    for kind, t1 in directory(0):
        for name, t2 in directory(t1 & 0x7FFFFFFF):
            for language, t3 in directory(t2 & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", data, base + t3)
                out.append((kind, name, language, data[rva + delta:rva + delta + size]))
    return out


def version_strings(body):
    """The string values of a VS_VERSIONINFO block."""
    values = {}

    def walk(pos, end):
        while pos + 6 <= end:
            length, value_length, kind = struct.unpack_from("<HHH", body, pos)
            if length == 0:
                break
            key_end = pos + 6
            while struct.unpack_from("<H", body, key_end)[0]:
                key_end += 2
            key = body[pos + 6:key_end].decode("utf-16-le")
            value = (key_end + 2 + 3) & ~3
            if kind == 1 and value_length:
                values[key] = body[value:value + 2 * value_length].decode("utf-16-le").rstrip("\0")
            elif key in ("VS_VERSION_INFO", "StringFileInfo") or len(key) == 8:
                child = value + (value_length if kind == 0 else 2 * value_length)
                walk((child + 3) & ~3, pos + length)
            pos = (pos + length + 3) & ~3

    walk(0, len(body))
    return values


def dialog_controls(body):
    """(caption, [control ids]) of a DLGTEMPLATEEX or DLGTEMPLATE."""
    pos = 0

    def skip_sz_or_ord(p):
        first = struct.unpack_from("<H", body, p)[0]
        if first == 0xFFFF:
            return p + 4, None
        start = p
        while struct.unpack_from("<H", body, p)[0]:
            p += 2
        return p + 2, body[start:p].decode("utf-16-le")

    extended = struct.unpack_from("<HH", body, 0) == (1, 0xFFFF)
    if extended:
        style = struct.unpack_from("<I", body, 12)[0]
        count = struct.unpack_from("<H", body, 16)[0]
        pos = 26
    else:
        style = struct.unpack_from("<I", body, 0)[0]
        count = struct.unpack_from("<H", body, 8)[0]
        pos = 18
    pos, _ = skip_sz_or_ord(pos)  # menu
    pos, _ = skip_sz_or_ord(pos)  # class
    pos, caption = skip_sz_or_ord(pos)
    if style & 0x40:  # DS_SETFONT
        pos += 6 if extended else 2
        pos, _ = skip_sz_or_ord(pos)
    ids = []
    for _ in range(count):
        pos = (pos + 3) & ~3
        if extended:
            control = struct.unpack_from("<i", body, pos + 20)[0]
            pos += 24
        else:
            control = struct.unpack_from("<h", body, pos + 16)[0]
            pos += 18
        pos, _ = skip_sz_or_ord(pos)  # class
        pos, _ = skip_sz_or_ord(pos)  # title
        extra = struct.unpack_from("<H", body, pos)[0]
        pos += 2 + extra
        ids.append(control)
    return caption or "", ids


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("file")
    parser.add_argument("--version", action="store_true")
    parser.add_argument("--dialogs", action="store_true")
    args = parser.parse_args()
    with open(args.file, "rb") as f:
        data = f.read()
    entries = pe_entries(data) if data[:2] == b"MZ" else res_entries(data)
    for kind, name, language, body in entries:
        print(kind, name, language, len(body))
    for kind, name, _, body in entries:
        if args.version and kind == RT_VERSION:
            strings = version_strings(body)
            for key in ("FileDescription", "FileVersion"):
                print("VERSION %s=%s" % (key, strings.get(key, "")))
        if args.dialogs and kind == RT_DIALOG:
            caption, ids = dialog_controls(body)
            print("DIALOG %s %s: %s" % (name, caption, " ".join(str(i) for i in ids)))
        if kind == RT_MANIFEST:
            print("MANIFEST %s common-controls-6=%s" % (
                name, "yes" if b"Microsoft.Windows.Common-Controls" in body and b'"6.0.0.0"' in body else "no"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
