#!/usr/bin/env python3
"""Makes the Windows window's icon files from the Qt window's pictures, so that both
windows show the same images: each 16 x 16 tool-bar picture as a 32-bit icon, once as
it is and once highlighted (for the button under the mouse), and the program's 32 x 32
picture as a 16-colour icon. Run it again after changing a picture:
    python3 scripts/make-win32-icons.py
"""
import pathlib
import struct
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCE = ROOT / "src/window/qt/resources"
TARGET = ROOT / "src/window/win32/resources"

# The 16 colours of the standard Windows palette.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def read_png(path):
    """Pixels (r, g, b, a) of an 8-bit RGBA, non-interlaced PNG, row by row."""
    data = path.read_bytes()
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour == 6, path
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = prev[i]
            corner = prev[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[i] = (line[i] + pred) & 255
        rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        prev = line
    return rows


def and_mask(rows, opaque):
    size = len(rows)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, pixel in enumerate(row):
            if not opaque(pixel):
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return bytes(mask)


def icon_file(size, image, colours=0):
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, colours, 0, 1, 32 if not colours else 4,
                        len(image), 22)
    return header + entry + image


def icon32(rows):
    size = len(rows)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    return icon_file(size, info + pixels + and_mask(rows, lambda p: p[3] >= 128))


def icon16(rows):
    size = len(rows)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)

    def nearest(p):
        return min(range(16), key=lambda i: sum((p[c] - PALETTE[i][c]) ** 2 for c in range(3)))

    pixels = bytearray()
    for row in reversed(rows):
        for x in range(0, size, 2):
            pixels.append(nearest(row[x]) << 4 | nearest(row[x + 1]))
    return icon_file(size, info + palette + bytes(pixels) + and_mask(rows, lambda p: p[3] >= 128),
                     16)


def highlighted(rows):
    """Lighter and warmer, as a button under the mouse shows its picture."""
    return [[(min(255, r + (255 - r) // 3), min(255, g + (255 - g) // 3), b // 2 + 40, a)
             for (r, g, b, a) in row] for row in rows]


def main():
    TARGET.mkdir(parents=True, exist_ok=True)
    for name in ("exit", "open", "merge", "save"):
        rows = read_png(SOURCE / f"{name}.png")
        (TARGET / f"{name}.ico").write_bytes(icon32(rows))
        (TARGET / f"{name}_hot.ico").write_bytes(icon32(highlighted(rows)))
    (TARGET / "vaskarel.ico").write_bytes(icon16(read_png(SOURCE / "vaskarel.png")))


if __name__ == "__main__":
    main()
