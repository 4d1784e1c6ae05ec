"""Reads a 24-bit BMP with nothing but the format's own rules and compares it with raw
RGB rows (bottom row first) of the same size: read_render_bmp.py BMP RGB WIDTH HEIGHT."""
import struct
import sys


def main():
    bmp_path, rgb_path, width, height = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    data = open(bmp_path, "rb").read()
    raw = open(rgb_path, "rb").read()
    failures = []
    magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    size, w, h, planes, bits, compression, image_size = struct.unpack_from("<IiiHHII", data, 14)
    row = (w * 3 + 3) & ~3
    expected = [("magic", magic, b"BM"), ("file size", file_size, len(data)), ("offset", offset, 54),
                ("header size", size, 40), ("width", w, width), ("height", h, height), ("planes", planes, 1),
                ("bits", bits, 24), ("compression", compression, 0), ("image size", image_size, row * h),
                ("length", len(data), 54 + row * h), ("raw length", len(raw), width * height * 3)]
    for name, got, want in expected:
        if got != want:
            failures.append("%s: %r, expected %r" % (name, got, want))
    if not failures:
        differ = 0
        for y in range(height):
            for x in range(width):
                b, g, r = data[offset + y * row + x * 3: offset + y * row + x * 3 + 3]
                want = tuple(raw[(y * width + x) * 3: (y * width + x) * 3 + 3])
                if (r, g, b) != want:
                    differ += 1
            padding = data[offset + y * row + width * 3: offset + (y + 1) * row]
            if any(padding):
                failures.append("row %d: padding not zero" % y)
        if differ:
            failures.append("%d pixels differ from the render" % differ)
        reds = sum(1 for i in range(0, len(raw), 3) if raw[i] > 120 and raw[i + 1] < 40 and raw[i + 2] < 40)
        if reds < 20:
            failures.append("the box is missing from the render (%d red pixels)" % reds)
    for failure in failures:
        print("FAIL", failure)
    print("checked %s: %d x %d" % (bmp_path, w, h))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
