#!/usr/bin/python3
"""Checks the exact formats of the setup program's artwork.

    check_artwork.py [ARTDIR]      (default: resources/art next to this script)

sondrel.ico: exactly three BMP-style (not PNG) images, in this order:
32x32 4 bpp, 16x16 4 bpp, 32x32 8 bpp, each a BITMAPINFOHEADER with
biHeight = 2 x height, a full palette, the XOR bitmap and an AND mask.
sidebar.bmp: 120 x 250, 24 bpp, BI_RGB, bottom-up, rows padded to 4 bytes.
Exits non-zero with a message on the first failure."""

import os
import struct
import sys


class Bad(Exception):
    pass


def need(cond, msg):
    if not cond:
        raise Bad(msg)


def check_ico(path):
    data = open(path, "rb").read()
    need(len(data) >= 6, "ico: too short")
    reserved, typ, count = struct.unpack_from("<HHH", data, 0)
    need(reserved == 0 and typ == 1, "ico: bad ICONDIR (reserved %d, type %d)" % (reserved, typ))
    need(count == 3, "ico: %d images, want 3" % count)
    want = [(32, 32, 4), (16, 16, 4), (32, 32, 8)]
    expected_offset = 6 + 16 * count
    summary = []
    for i, (w, h, bpp) in enumerate(want):
        bw, bh, ncol, res, planes, bitcount, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        tag = "ico[%d]" % i
        need((bw, bh) == (w, h), "%s: entry says %dx%d, want %dx%d" % (tag, bw, bh, w, h))
        need(ncol == (16 if bpp == 4 else 0), "%s: bColorCount %d" % (tag, ncol))
        need(res == 0, "%s: bReserved %d" % (tag, res))
        need(planes == 1, "%s: wPlanes %d" % (tag, planes))
        need(bitcount == bpp, "%s: wBitCount %d, want %d" % (tag, bitcount, bpp))
        need(offset == expected_offset, "%s: offset %d, want %d" % (tag, offset, expected_offset))
        need(offset + size <= len(data), "%s: runs past the end of the file" % tag)
        blob = data[offset:offset + size]
        need(blob[:8] != b"\x89PNG\r\n\x1a\n", "%s: PNG-compressed entry" % tag)
        (bi_size, bi_w, bi_h, bi_planes, bi_bpp, bi_comp, bi_sizeimg,
         _xppm, _yppm, clr_used, _clr_imp) = struct.unpack_from("<IiiHHIIiiII", blob, 0)
        need(bi_size == 40, "%s: biSize %d" % (tag, bi_size))
        need(bi_w == w and bi_h == 2 * h, "%s: biWidth/biHeight %d/%d, want %d/%d" % (tag, bi_w, bi_h, w, 2 * h))
        need(bi_planes == 1 and bi_bpp == bpp, "%s: biPlanes/biBitCount %d/%d" % (tag, bi_planes, bi_bpp))
        need(bi_comp == 0, "%s: biCompression %d, want BI_RGB" % (tag, bi_comp))
        need(clr_used in (0, 1 << bpp), "%s: biClrUsed %d" % (tag, clr_used))
        ncolours = 1 << bpp
        xor_stride = ((w * bpp + 31) // 32) * 4
        and_stride = ((w + 31) // 32) * 4
        xor_len, and_len = xor_stride * h, and_stride * h
        need(size == 40 + 4 * ncolours + xor_len + and_len,
             "%s: dwBytesInRes %d, want %d" % (tag, size, 40 + 4 * ncolours + xor_len + and_len))
        need(bi_sizeimg in (0, xor_len + and_len), "%s: biSizeImage %d" % (tag, bi_sizeimg))
        pal = [struct.unpack_from("<BBBB", blob, 40 + 4 * k) for k in range(ncolours)]
        need(all(p[3] == 0 for p in pal), "%s: palette reserved bytes not zero" % tag)
        xor = blob[40 + 4 * ncolours:40 + 4 * ncolours + xor_len]
        andm = blob[40 + 4 * ncolours + xor_len:]

        def index(x, y):                      # y counted from the top
            row = xor[(h - 1 - y) * xor_stride:]
            if bpp == 8:
                return row[x]
            b = row[x // 2]
            return b >> 4 if x % 2 == 0 else b & 15

        def transparent(x, y):
            return (andm[(h - 1 - y) * and_stride + x // 8] >> (7 - x % 8)) & 1

        opaque, used = 0, set()
        for y in range(h):
            for x in range(w):
                if transparent(x, y):
                    b, g, r, _ = pal[index(x, y)]
                    need((r, g, b) == (0, 0, 0), "%s: transparent pixel (%d,%d) is not black in the XOR image" % (tag, x, y))
                else:
                    opaque += 1
                    used.add(index(x, y))
        for (x, y) in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
            need(transparent(x, y), "%s: corner (%d,%d) is not transparent" % (tag, x, y))
        need(opaque >= w * h // 3, "%s: only %d opaque pixels" % (tag, opaque))
        need(len(used) >= 8, "%s: only %d colours used" % (tag, len(used)))
        # padding bits at the end of AND-mask rows must be zero
        for y in range(h):
            row = andm[y * and_stride:(y + 1) * and_stride]
            for bit in range(w, and_stride * 8):
                need(not (row[bit // 8] >> (7 - bit % 8)) & 1, "%s: AND mask padding set" % tag)
        summary.append("%dx%d %dbpp (%d colours used, %d opaque pixels, %d bytes)" % (w, h, bpp, len(used), opaque, size))
        expected_offset += size
    need(expected_offset == len(data), "ico: %d bytes, want %d" % (len(data), expected_offset))
    return summary


def check_bmp(path):
    data = open(path, "rb").read()
    need(len(data) >= 54, "bmp: too short")
    magic, fsize, r1, r2, off = struct.unpack_from("<2sIHHI", data, 0)
    need(magic == b"BM", "bmp: no BM signature")
    need(fsize == len(data), "bmp: bfSize %d, file has %d bytes" % (fsize, len(data)))
    need(r1 == 0 and r2 == 0, "bmp: reserved fields not zero")
    need(off == 54, "bmp: bfOffBits %d, want 54" % off)
    (bi_size, w, h, planes, bpp, comp, sizeimg, _x, _y, clr_used, _ci) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    need(bi_size == 40, "bmp: biSize %d, want 40 (BITMAPINFOHEADER)" % bi_size)
    need((w, h) == (120, 250), "bmp: %dx%d, want 120x250 (positive height = bottom-up)" % (w, h))
    need(planes == 1 and bpp == 24, "bmp: planes/bpp %d/%d" % (planes, bpp))
    need(comp == 0, "bmp: biCompression %d, want BI_RGB" % comp)
    need(clr_used == 0, "bmp: biClrUsed %d" % clr_used)
    stride = (w * 3 + 3) & ~3
    need(sizeimg in (0, stride * h), "bmp: biSizeImage %d" % sizeimg)
    need(len(data) == 54 + stride * h, "bmp: %d bytes, want %d" % (len(data), 54 + stride * h))
    colours = set()
    for y in range(h):
        row = data[54 + y * stride:54 + (y + 1) * stride]
        need(not any(row[w * 3:]), "bmp: row padding not zero")
        for x in range(w):
            colours.add(bytes(row[3 * x:3 * x + 3]))
    need(len(colours) > 500, "bmp: only %d colours, expected an antialiased picture" % len(colours))
    return ["120x250 24bpp BI_RGB (%d distinct colours, %d bytes)" % (len(colours), len(data))]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    art = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "resources", "art")
    try:
        lines = ["sondrel.ico: " + s for s in check_ico(os.path.join(art, "sondrel.ico"))]
        lines += ["sidebar.bmp: " + s for s in check_bmp(os.path.join(art, "sidebar.bmp"))]
    except (Bad, OSError, struct.error) as e:
        sys.exit("check_artwork: FAILED: %s" % e)
    for s in lines:
        print("check_artwork: ok " + s)


if __name__ == "__main__":
    main()
