#!/usr/bin/env python3
"""Writes Shift-JIS (code page 932) as glibc's iconv "CP932" decodes it, as a table of codes.

The WebAssembly build's C library has no CP932 (its SHIFT_JIS lacks the NEC and IBM rows and maps
some codes elsewhere), so that build decodes through this table; the desktop keeps glibc's iconv,
and a unit test holds the two to the same result for every byte and byte pair.

    python3 src/drill/make_cp932_table.py > data/encoding/cp932.txt

The build turns the table into C++ (src/drill/cp932_table.cpp.in).
"""
import ctypes
import ctypes.util
import sys

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p),
                       ctypes.POINTER(ctypes.c_size_t), ctypes.POINTER(ctypes.c_char_p),
                       ctypes.POINTER(ctypes.c_size_t)]

cd = libc.iconv_open(b"UTF-32LE", b"CP932")
if cd in (None, ctypes.c_void_p(-1).value):
    sys.exit("glibc's iconv has no CP932")

NONE = 0xFFFF  # a noncharacter: no code decodes to it
LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = range(0x40, 0xFD)


def decode(data):
    """The one character `data` decodes to whole, or None."""
    libc.iconv(cd, None, None, None, None)
    inbuf = ctypes.create_string_buffer(data, len(data))
    outbuf = ctypes.create_string_buffer(16)
    inptr, outptr = ctypes.c_char_p(ctypes.addressof(inbuf)), ctypes.c_char_p(
        ctypes.addressof(outbuf))
    inleft, outleft = ctypes.c_size_t(len(data)), ctypes.c_size_t(16)
    if libc.iconv(cd, ctypes.byref(inptr), ctypes.byref(inleft), ctypes.byref(outptr),
                  ctypes.byref(outleft)) == ctypes.c_size_t(-1).value or inleft.value:
        return None
    chars = outbuf.raw[:16 - outleft.value]
    if len(chars) != 4:
        return None
    code = int.from_bytes(chars, "little")
    if code > 0xFFFF or code == NONE:
        sys.exit(f"{data.hex()} decodes outside the table's range: U+{code:X}")
    return code


single = [decode(bytes([b])) for b in range(256)]
pairs = {(a, b): decode(bytes([a, b])) for a in range(256) for b in range(256)}
for (a, b), code in pairs.items():
    if code is not None and (a not in LEADS or b not in TRAILS):
        sys.exit(f"{a:02X} {b:02X} decodes but lies outside the table's rows and columns")
for a in LEADS:
    if single[a] is not None:
        sys.exit(f"lead byte {a:02X} decodes by itself")


def codes(values):
    return " ".join(f"{NONE if v is None else v:04X}" for v in values)


out = sys.stdout
out.write("""# Shift-JIS (code page 932) as glibc's iconv "CP932" decodes it: made by
# src/drill/make_cp932_table.py, do not edit. The line "--" holds the codes of the 256 single
# bytes; each line after it, the codes of a lead byte (81..9F, E0..FC) followed by each trail
# byte 40..FC. FFFF: no character.
""")
out.write("-- " + codes(single) + "\n")
for a in LEADS:
    out.write(f"{a:02X} " + codes(pairs[(a, b)] for b in TRAILS) + "\n")
