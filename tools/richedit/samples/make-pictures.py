#!/usr/bin/env python3
"""Writes pictures.rtf: the pictures an exercise holds, as the editor stores
them (PNG, four times denser than shown): an equilibrium sign 36 x 12 px and an
ion formula 60 x 24 px, inside a line of text, alone in a paragraph and in a
bold red run."""
import os
import struct
import zlib

DENSITY = 4
TWIPS_PER_PX = 15


def png(width, height, black):
    """A white picture with the pixels black(x, y) says in black."""
    rows = b"".join(b"\0" + bytes(0 if black(x, y) else 255 for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    header = struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)  # 8-bit grey
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def equilibrium(width, height):
    quarter, line = height // 4, max(1, height // 12)
    def black(x, y):
        upper = abs(y - quarter) < line or (x < height // 2 and abs(y - quarter) <= x // 2)
        lower = abs(y - 3 * quarter) < line or (
            x > width - height // 2 and abs(y - 3 * quarter) <= (width - x) // 2)
        return upper or lower
    return png(width, height, black)


def formula(width, height):
    # A frame and a bar: enough to tell the picture from a blank.
    return png(width, height, lambda x, y: x < 4 or y < 4 or x >= width - 4
               or y >= height - 4 or abs(y - height // 2) < 3)


def pict(data, shown_w_px, shown_h_px):
    w, h = shown_w_px * DENSITY, shown_h_px * DENSITY
    return ("{\\pict\\pngblip\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d\n%s}"
            % (w, h, shown_w_px * TWIPS_PER_PX, shown_h_px * TWIPS_PER_PX, data(w, h).hex()))


sign = pict(equilibrium, 36, 12)
ion = pict(formula, 60, 24)
rtf = ("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\n"
       "{\\colortbl ;\\red200\\green0\\blue0;}\n"
       "\\pard\\f0\\fs24 Fe\\up6 3+\\up0  + 3 OH\\up6 -\\up0  " + sign + " Fe(OH)\\dn4 3\\up0\\par\n"
       + ion + "\\par\n"
       "Ion : \\b\\cf1 " + ion + " sulfate\\b0\\cf0  et " + sign + "\\par\n}\n")
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures.rtf"), "w") as out:
    out.write(rtf)
