#!/usr/bin/env python3
"""Writes the picture fixtures of test_formats under tests/fixtures/.

Raster pictures are made by ImageMagick's convert (an ordinary image program,
so the files are what such programs write); the metafiles are written here,
record by record, with frames that differ from what the drawing covers.
Run it again only to change the fixtures; the tests never need it.

    python3 tests/formats/make_fixtures.py
"""
import os
import shutil
import struct
import subprocess
import tempfile

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'fixtures')

# The raster pattern (mirrored in test_pictureimport.cpp): colour index
# (3c + 5r) mod 8; indexes 0..2 are dark, 3..7 light, the threshold's edges
# among them.
COLOURS = [(0, 0, 0), (64, 64, 64), (20, 40, 60),
           (65, 0, 0), (0, 65, 0), (0, 0, 65), (255, 255, 255), (120, 190, 110)]


def pattern_ppm(path, width, height):
    with open(path, 'w') as f:
        f.write('P3\n%d %d\n255\n' % (width, height))
        for r in range(height):
            f.write(' '.join('%d %d %d' % COLOURS[(3 * c + 5 * r) % 8] for c in range(width)) + '\n')


def blocks_ppm(path, width, height):
    """8 x 8 blocks, black where (bx + by) is even: survives JPEG."""
    with open(path, 'w') as f:
        f.write('P3\n%d %d\n255\n' % (width, height))
        for r in range(height):
            f.write(' '.join('0 0 0' if (c // 8 + r // 8) % 2 == 0 else '255 255 255'
                             for c in range(width)) + '\n')


def rle4_bmp(path, width, height):
    """The pattern as a 4-bit RLE bitmap (what ImageMagick doesn't write):
    encoded runs of one colour, rows bottom-up."""
    data = b''
    for r in reversed(range(height)):
        c = 0
        while c < width:
            index = (3 * c + 5 * r) % 8
            run = 1
            while c + run < width and (3 * (c + run) + 5 * r) % 8 == index and run < 255:
                run += 1
            data += bytes([run, index << 4 | index])
            c += run
        data += b'\x00\x00'
    data += b'\x00\x01'
    palette = b''.join(bytes([b, g, r, 0]) for r, g, b in COLOURS) + b'\x00' * 4 * (16 - len(COLOURS))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 2, len(data), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', offset + len(data), 0, 0, offset) + info + palette + data)


def out(*parts):
    path = os.path.join(ROOT, *parts)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


def convert(*args):
    subprocess.run(['convert', *args], check=True)


def rasters(tmp):
    big = os.path.join(tmp, 'pattern80x20.ppm')
    pattern_ppm(big, 80, 20)
    small = os.path.join(tmp, 'pattern32x32.ppm')
    pattern_ppm(small, 32, 32)
    blocks = os.path.join(tmp, 'blocks80x16.ppm')
    blocks_ppm(blocks, 80, 16)

    convert(big, '-type', 'TrueColor', 'BMP3:' + out('bmp', 'pattern24.bmp'))
    convert(big, '-type', 'Palette', '-compress', 'RLE', 'BMP3:' + out('bmp', 'pattern_rle8.bmp'))
    rle4_bmp(out('bmp', 'pattern_rle4.bmp'), 80, 20)
    shutil.copy(out('bmp', 'pattern_rle8.bmp'), out('rle', 'pattern.rle'))
    convert(blocks, '-type', 'Bilevel', 'BMP3:' + out('bmp', 'blocks1.bmp'))
    convert(big, 'GIF:' + out('gif', 'pattern.gif'))
    # Black made transparent: those places must read as light.
    convert(big, '-transparent', 'black', 'GIF:' + out('gif', 'pattern_transparent.gif'))
    convert(blocks, '-quality', '95', 'JPEG:' + out('jpeg', 'blocks.jpg'))
    convert(small, 'ICO:' + out('ico', 'pattern32.ico'))
    convert(big, '-define', 'png:exclude-chunks=date,time', 'PNG:' + out('png', 'pattern.png'))
    # An I61 file is a picture under its own name; two kinds of content.
    shutil.copy(out('bmp', 'pattern24.bmp'), out('i61', 'pattern.i61'))
    shutil.copy(out('gif', 'pattern.gif'), out('i61', 'gif_inside.I61'))
    with open(out('i61', 'damaged.i61'), 'wb') as f:
        f.write(b'BM' + b'\xff' * 40)


# ---------------------------------------------------------------- WMF

def wrec(func, *params):
    return struct.pack('<IH', 3 + len(params), func) + b''.join(struct.pack('<h', p) for p in params)


def wmf(records, bbox=None, inch=1440):
    body = b''.join(records) + struct.pack('<IH', 3, 0)
    maxrec = max(struct.unpack('<I', r[:4])[0] for r in records)
    out_ = struct.pack('<HHHIHIH', 1, 9, 0x300, (18 + len(body)) // 2, 2, maxrec, 0) + body
    if bbox is None:
        return out_
    left, top, right, bottom = bbox
    head = struct.pack('<IHhhhhHI', 0x9AC6CDD7, 0, left, top, right, bottom, inch, 0)
    checksum = 0
    for i in range(0, 20, 2):
        checksum ^= struct.unpack('<H', head[i:i + 2])[0]
    return head + struct.pack('<H', checksum) + out_


def w_black_brush_no_pen():
    return [wrec(0x02FC, 0, 0, 0, 0), wrec(0x012D, 0),      # black solid brush, selected
            wrec(0x02FA, 5, 0, 0, 0, 0), wrec(0x012D, 1)]   # null pen, selected


def w_org(x, y): return wrec(0x020B, y, x)
def w_ext(x, y): return wrec(0x020C, y, x)
def w_rect(l, t, r, b): return wrec(0x041B, b, r, t, l)


def metafiles_wmf():
    # Every file: frame 96 x 28 px (1440 x 420 twips at 1440 per inch) and one
    # black rectangle at pixels (10, 5) to (20, 10) of that frame; the drawing
    # covers far less than the frame.
    files = {
        'frame.wmf': ((0, 0, 1440, 420), [w_org(0, 0), w_ext(1440, 420)], (150, 75, 300, 150)),
        'frame_offset.wmf': ((1000, 2000, 2440, 2420), [w_org(1000, 2000), w_ext(1440, 420)],
                             (1150, 2075, 1300, 2150)),
        'no_window_records.wmf': ((1000, 2000, 2440, 2420), [], (1150, 2075, 1300, 2150)),
        'window_twice_frame.wmf': ((0, 0, 1440, 420), [w_org(0, 0), w_ext(2880, 840)], (300, 150, 600, 300)),
        'anisotropic.wmf': ((0, 0, 1440, 420), [wrec(0x0103, 8), w_org(0, 0), w_ext(2880, 840)],
                            (300, 150, 600, 300)),
    }
    for name, (bbox, mapping, rect) in files.items():
        with open(out('wmf', name), 'wb') as f:
            f.write(wmf(mapping + w_black_brush_no_pen() + [w_rect(*rect)], bbox))
    # A 24 x 8 px frame filled past its edges: nothing beyond the frame shows.
    with open(out('wmf', 'small_frame.wmf'), 'wb') as f:
        f.write(wmf([w_org(0, 0), w_ext(360, 120)] + w_black_brush_no_pen() + [w_rect(-100, -100, 900, 900)],
                    (0, 0, 360, 120)))
    # No placeable header: no frame to show it at.
    with open(out('wmf', 'not_placeable.wmf'), 'wb') as f:
        f.write(wmf([w_org(0, 0), w_ext(1440, 420)] + w_black_brush_no_pen() + [w_rect(150, 75, 300, 150)]))


# ---------------------------------------------------------------- EMF

def erec(kind, *ints):
    return struct.pack('<II', kind, 8 + 4 * len(ints)) + b''.join(
        struct.pack('<I' if i > 0x7FFFFFFF else '<i', i) for i in ints)


def emf(records, bounds, frame, device=(1920, 1080), millimetres=(508, 286)):
    body = b''.join(records) + erec(14, 0, 16, 20)
    head = struct.pack('<II4i4iIIIIHHIIIiiii', 1, 108, *bounds, *frame, 0x464D4520, 0x10000,
                       108 + len(body), len(records) + 2, 3, 0, 0, 0, 0, *device, *millimetres)
    head += struct.pack('<III', 0, 0, 0) + struct.pack('<ii', millimetres[0] * 1000, millimetres[1] * 1000)
    return head + body


NULL_PEN = 0x80000008
E_BLACK = [erec(39, 1, 0, 0, 0), erec(37, 1), erec(37, NULL_PEN)]


def e_rect(l, t, r, b): return erec(43, l, t, r, b)


def metafiles_emf():
    # Frame 2540 x 741 (0.01 mm) = 96 x 28 px; rectangle at (10, 5) to (20, 10).
    frame = (0, 0, 2540, 741)
    files = {
        # Reference device at 96 dpi (1920 px over 508 mm).
        'frame.emf': (E_BLACK + [e_rect(10, 5, 20, 10)], (10, 5, 19, 9), {}),
        # Reference device at 48 dpi: device units are two pixels each.
        'reference_48dpi.emf': (E_BLACK + [e_rect(5, 3, 10, 5)], (5, 3, 9, 4), {'device': (960, 540)}),
        # Logical units a tenth of a device pixel.
        'anisotropic.emf': ([erec(17, 8), erec(10, 0, 0), erec(9, 1000, 1000), erec(12, 0, 0),
                             erec(11, 100, 100)] + E_BLACK + [e_rect(100, 50, 200, 100)], (10, 5, 19, 9), {}),
        # Bounds left empty by the writer.
        'empty_bounds.emf': (E_BLACK + [e_rect(10, 5, 20, 10)], (0, 0, -1, -1), {}),
    }
    for name, (records, bounds, extra) in files.items():
        with open(out('emf', name), 'wb') as f:
            f.write(emf(records, bounds, frame, **extra))
    with open(out('emf', 'small_frame.emf'), 'wb') as f:
        f.write(emf(E_BLACK + [e_rect(-10, -10, 90, 90)], (0, 0, 90, 90), (0, 0, 635, 212)))


def nokia_seeds():
    """One well-formed file per foreign reader: seeds for the fuzz target."""
    rows = bytes((0x80 >> (r % 8)) if k == r // 8 else 0 for r in range(14) for k in range(9))
    seeds = {
        ('nlm', 'diagonal.nlm'): b'NLM \x01\x00\x00\x48\x0e\x00' + rows,
        ('nsl', 'diagonal.nsl'): b'FORM' + b'\x00' * 60 + b'NSLD\x01\xf8' + bytes(
            (1 << (c % 8)) if c < 14 and (c // 8) == band else 0 for band in range(6) for c in range(84)),
        ('ngl', 'diagonal.ngl'): b'NGL ' + bytes.fromhex('20072006200520042003200720060' + '63E') + rows.hex().upper().encode(),
        ('otb', 'diagonal.otb'): b'\x00\x48\x0e\x01' + rows,
        ('wbmp', 'diagonal.wbmp'): b'\x00\x00\x48\x0e' + bytes(0xFF ^ b for b in rows),
    }
    for parts, data in seeds.items():
        with open(out(*parts), 'wb') as f:
            f.write(data)


def main():
    nokia_seeds()
    with tempfile.TemporaryDirectory() as tmp:
        rasters(tmp)
    metafiles_wmf()
    metafiles_emf()


if __name__ == '__main__':
    main()
