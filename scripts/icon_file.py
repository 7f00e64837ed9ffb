"""Windows .ico files written by hand from a picture function, so the art
scripts need nothing but Python. A picture function gives the 16-colour
palette index at (x, y) of a size x size image, or None where it is clear."""
import struct

# The 16 standard colours; the 256-colour images use the same first entries.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)

# A 32x32 image in 16 colours, and 32x32 and 48x48 in 256.
ICON_IMAGES = [(32, 4), (32, 8), (48, 8)]


def icon_image(pixel, size, bits):
    pixels = [[pixel(x, y, size) for x in range(size)] for y in range(size)]
    colours = 16 if bits == 4 else 256
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    palette += b"\0\0\0\0" * (colours - len(PALETTE))
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bottom-up
        indexes = [p if p is not None else 0 for p in row]
        if bits == 4:
            data = bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, size, 2))
        else:
            data = bytes(indexes)
        xor_rows.append(data + b"\0" * (-len(data) % 4))
        mask = 0
        for p in row:
            mask = (mask << 1) | (p is None)
        mask_bytes = mask.to_bytes(size // 8, "big")
        and_rows.append(mask_bytes + b"\0" * (-len(mask_bytes) % 4))
    return header + palette + b"".join(xor_rows) + b"".join(and_rows)


def write_icon(path, pixel):
    blobs = [icon_image(pixel, size, bits) for size, bits in ICON_IMAGES]
    out = struct.pack("<HHH", 0, 1, len(ICON_IMAGES))
    offset = 6 + 16 * len(ICON_IMAGES)
    for (size, bits), blob in zip(ICON_IMAGES, blobs):
        colours = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    path.write_bytes(out + b"".join(blobs))
