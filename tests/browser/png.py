"""PNG files to RGBA pixels (8-bit, non-interlaced: what the player and Chromium write) and
their comparison, with zlib from the standard library."""

import struct
import zlib

CHANNELS = {0: 1, 2: 3, 4: 2, 6: 4}  # grey, RGB, grey + alpha, RGBA


def decode(data):
    """(width, height, bytes of RGBA rows)."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert depth == 8 and interlace == 0 and colour in CHANNELS, "unsupported PNG %s" % (header,)
    n = CHANNELS[colour]
    raw, stride = zlib.decompress(idat), width * n
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - n] if i >= n else 0
            b, c = previous[i], previous[i - n] if i >= n else 0
            line[i] = (line[i] + (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]) & 255
        rows.append(line)
        previous = line
    pixels = bytearray()
    for line in rows:
        for x in range(width):
            p = line[x * n:(x + 1) * n]
            pixels += {1: p * 3 + b"\xff", 2: p[:1] * 3 + p[1:], 3: p + b"\xff", 4: p}[n]
    return width, height, bytes(pixels)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def differing(first, second, tolerance=48):
    """The share of pixels whose largest channel difference exceeds tolerance (alpha is
    composed over white first, as a page shows it)."""
    (w1, h1, p1), (w2, h2, p2) = first, second
    assert (w1, h1) == (w2, h2), "sizes differ: %sx%s and %sx%s" % (w1, h1, w2, h2)
    bad = 0
    for i in range(0, len(p1), 4):
        for c in range(3):
            one = (p1[i + c] * p1[i + 3] + 255 * (255 - p1[i + 3])) // 255
            two = (p2[i + c] * p2[i + 3] + 255 * (255 - p2[i + 3])) // 255
            if abs(one - two) > tolerance:
                bad += 1
                break
    return bad / (w1 * h1)
