"""Prints what PIL reads from a bitmap file: format, mode and size on the
first line, then "x y r g b" for every point named on the command line.

Usage: bmp_probe.py FILE [X Y]...
"""
import sys

from PIL import Image


def main(path, coordinates):
    image = Image.open(path)
    lines = ["%s %s %d %d" % (image.format, image.mode, image.width, image.height)]
    for x, y in zip(coordinates[0::2], coordinates[1::2]):
        r, g, b = image.getpixel((x, y))
        lines.append("%d %d %d %d %d" % (x, y, r, g, b))
    print("\n".join(lines))


if __name__ == "__main__":
    main(sys.argv[1], [int(value) for value in sys.argv[2:]])
