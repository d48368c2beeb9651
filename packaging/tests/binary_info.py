#!/usr/bin/env python3
"""Reads the two Windows binary formats the package tests check.

  binary_info.py pe-version FILE   prints "file=A.B.C.D" and "product=A.B.C.D"
                                   from the version resource of a PE file
  binary_info.py shortcut FILE     prints "target=..." and "workdir=..." of a
                                   shell link (.lnk)

Exits with 1 and a message on stderr when the file is not what it should be.
"""
import struct
import sys


class FormatError(Exception):
    pass


def u16(data, offset):
    return struct.unpack_from("<H", data, offset)[0]


def u32(data, offset):
    return struct.unpack_from("<I", data, offset)[0]


def pe_version(data):
    """The file and product versions of the VS_FIXEDFILEINFO in .rsrc."""
    if data[:2] != b"MZ":
        raise FormatError("no MZ header")
    pe = u32(data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise FormatError("no PE signature")
    sections = u16(data, pe + 6)
    optional_size = u16(data, pe + 20)
    table = pe + 24 + optional_size
    for i in range(sections):
        entry = table + 40 * i
        name = data[entry:entry + 8].rstrip(b"\0")
        if name != b".rsrc":
            continue
        raw_size, raw_offset = u32(data, entry + 16), u32(data, entry + 20)
        rsrc = data[raw_offset:raw_offset + raw_size]
        # VS_FIXEDFILEINFO starts with the signature 0xFEEF04BD, then the
        # structure version, then FileVersionMS/LS and ProductVersionMS/LS.
        fixed = rsrc.find(struct.pack("<I", 0xFEEF04BD))
        if fixed < 0:
            raise FormatError("no version resource in .rsrc")
        ms, ls, pms, pls = struct.unpack_from("<4I", rsrc, fixed + 8)
        dotted = lambda hi, lo: "%d.%d.%d.%d" % (hi >> 16, hi & 0xFFFF, lo >> 16, lo & 0xFFFF)
        return dotted(ms, ls), dotted(pms, pls)
    raise FormatError("no .rsrc section")


def shortcut(data):
    """Target path and working folder of a shell link (MS-SHLLINK)."""
    if len(data) < 76 or u32(data, 0) != 0x4C:
        raise FormatError("not a shell link header")
    flags = u32(data, 20)
    has_id_list, has_link_info, has_name, has_relative_path, has_working_dir = (
        flags & 0x1, flags & 0x2, flags & 0x4, flags & 0x8, flags & 0x10)
    unicode = flags & 0x80
    offset = 76
    if has_id_list:
        offset += 2 + u16(data, offset)
    target = ""
    if has_link_info:
        info = offset
        info_flags = u32(data, info + 8)
        if info_flags & 0x1:  # VolumeIDAndLocalBasePath
            base = info + u32(data, info + 16)
            suffix = info + u32(data, info + 24)
            target = (data[base:data.index(b"\0", base)] +
                      data[suffix:data.index(b"\0", suffix)]).decode("latin-1")
        offset += u32(data, info)

    def read_string(at):
        count = u16(data, at)
        at += 2
        size = count * (2 if unicode else 1)
        raw = data[at:at + size]
        text = raw.decode("utf-16-le") if unicode else raw.decode("latin-1")
        return text.rstrip("\0"), at + size

    workdir = ""
    if has_name:
        _, offset = read_string(offset)
    if has_relative_path:
        _, offset = read_string(offset)
    if has_working_dir:
        workdir, offset = read_string(offset)
    return target, workdir


def main(argv):
    if len(argv) != 3 or argv[1] not in ("pe-version", "shortcut"):
        sys.stderr.write(__doc__)
        return 2
    try:
        with open(argv[2], "rb") as f:
            data = f.read()
        if argv[1] == "pe-version":
            file_version, product_version = pe_version(data)
            print("file=" + file_version)
            print("product=" + product_version)
        else:
            target, workdir = shortcut(data)
            print("target=" + target)
            print("workdir=" + workdir)
    except (OSError, FormatError, struct.error, ValueError) as error:
        sys.stderr.write("%s: %s\n" % (argv[2], error))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
