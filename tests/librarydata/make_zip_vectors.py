#!/usr/bin/env python3
"""Writes ZipVectors.h: archives made by Python's zipfile, read back by the tests."""
import io
import struct
import zipfile
import zlib


def info(name, date, system, external, extra=b"", method=zipfile.ZIP_DEFLATED):
    zi = zipfile.ZipInfo(name, date)
    zi.create_system = system
    zi.external_attr = external
    zi.compress_type = method
    zi.extra = extra
    return zi


PAGE = b"<html><body>" + b"Page text. " * 40 + b"</body></html>"
LOGO = bytes(range(256)) * 4


def sample():
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as z:
        z.writestr(info("page.htm", (2010, 5, 6, 7, 8, 10), 0, 0x21), PAGE)
        ut = struct.pack("<HHBI", 0x5455, 5, 1, 1325375998)
        z.writestr(info("img/logo.png", (2011, 12, 31, 23, 59, 58), 3, 0o100644 << 16, ut, zipfile.ZIP_STORED), LOGO)
        z.writestr(info("../../x.htm", (2012, 1, 1, 0, 0, 0), 3, 0o100444 << 16), b"x")
        z.writestr(info("C:\\y.htm", (2012, 1, 1, 0, 0, 0), 0, 0x20, b"", zipfile.ZIP_STORED), b"y")
        z.writestr(info("sub/", (2012, 1, 1, 0, 0, 0), 0, 0x10, b"", zipfile.ZIP_STORED), b"")
        # Flags claim three times, the field holds one: only the first may be read.
        short_ut = struct.pack("<HHBI", 0x5455, 5, 7, 1300000000)
        z.writestr(info("Index.HTML", (2012, 1, 1, 0, 0, 0), 0, 0x20, short_ut), b"<p>index</p>")
    return out.getvalue()


def empty():
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w"):
        pass
    return out.getvalue()


def array(name, data):
    lines = []
    for i in range(0, len(data), 16):
        lines.append("    " + ", ".join("0x%02x" % b for b in data[i:i + 16]) + ",")
    return "inline const unsigned char %s[%d] = {\n%s\n};\n" % (name, len(data), "\n".join(lines))


def main():
    s = sample()
    text = ["#pragma once", "// Made by tests/librarydata/make_zip_vectors.py; do not edit.", ""]
    text.append(array("kSampleZip", s))
    text.append(array("kEmptyZip", empty()))
    text.append("constexpr unsigned long kPageCrc = 0x%08xUL;" % zlib.crc32(PAGE))
    text.append("constexpr unsigned long kPageSize = %d;" % len(PAGE))
    text.append("constexpr unsigned long kLogoCrc = 0x%08xUL;" % zlib.crc32(LOGO))
    text.append("")
    open(__file__.replace("make_zip_vectors.py", "ZipVectors.h"), "w").write("\n".join(text))


main()
