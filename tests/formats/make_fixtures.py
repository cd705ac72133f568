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


def wmf(records, bbox=None, inch=1440, objects=2):
    body = b''.join(records) + struct.pack('<IH', 3, 0)
    maxrec = max(struct.unpack('<I', r[:4])[0] for r in records)
    out_ = struct.pack('<HHHIHIH', 1, 9, 0x300, (18 + len(body)) // 2, objects, maxrec, 0) + body
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


def emf(records, bounds, frame, device=(1920, 1080), millimetres=(508, 286), handles=3):
    body = b''.join(records) + erec(14, 0, 16, 20)
    head = struct.pack('<II4i4iIIIIHHIIIiiii', 1, 108, *bounds, *frame, 0x464D4520, 0x10000,
                       108 + len(body), len(records) + 2, handles, 0, 0, 0, 0, *device, *millimetres)
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


# ---------------------------------------------------------------- scenes
#
# One picture, drawn through each mapping mode: the same device pixels from
# different logical units (test_pictureimport.cpp holds the picture worked out
# by hand). Frame 96 x 24 px; in device pixels:
#   A  ellipse (1, 1)-(13, 13), black brush, no pen: a filled disc
#   B  rectangle (15, 2)-(21, 9), black brush, no pen
#   C  rectangle (23, 2)-(31, 9), white brush, one-pixel black pen
#   D  line (34, 6)-(56, 6), black pen 5 px wide
#   E  line (64, 3)-(64, 10), the same pen

SCENE_FRAME = (96, 24)


def scene_shapes(dev, pen_units):
    """The scene as calls on a scene writer: dev maps a device point to logical
    coordinates, pen_units the 5 px pen's width in logical units."""
    return [('brush', 0), ('nullpen',), ('ellipse', dev(1, 1), dev(13, 13)), ('rect', dev(15, 2), dev(21, 9)),
            ('brush', 0xFFFFFF), ('pen', 0), ('rect', dev(23, 2), dev(31, 9)),
            ('pen', pen_units), ('line', dev(34, 6), dev(56, 6)), ('line', dev(64, 3), dev(64, 10))]


class WmfSceneWriter:
    """WMF records; every brush and pen a new object, selected by its index."""
    def __init__(self):
        self.objects = 0

    def _new(self, record):
        self.objects += 1
        return [record, wrec(0x012D, self.objects - 1)]

    def brush(self, colour):
        low, high = struct.unpack('<hh', struct.pack('<I', colour))  # COLORREF as two words
        return self._new(wrec(0x02FC, 0, low, high, 0))

    def nullpen(self):
        return self._new(wrec(0x02FA, 5, 0, 0, 0, 0))

    def pen(self, width):
        return self._new(wrec(0x02FA, 0, width, 0, 0, 0))

    def rect(self, tl, br):
        return [wrec(0x041B, br[1], br[0], tl[1], tl[0])]

    def ellipse(self, tl, br):
        return [wrec(0x0418, br[1], br[0], tl[1], tl[0])]

    def line(self, p0, p1):
        return [wrec(0x0214, p0[1], p0[0]), wrec(0x0213, p1[1], p1[0])]


class EmfSceneWriter:
    """EMF records; every brush and pen a new handle. The wide pen is an
    EXTCREATEPEN geometric pen, the one-pixel pen a cosmetic CREATEPEN."""
    def __init__(self):
        self.handles = 1

    def _new(self, kind, *params):
        self.handles += 1
        return [erec(kind, self.handles - 1, *params), erec(37, self.handles - 1)]

    def brush(self, colour):
        return self._new(39, 0, colour, 0)

    def nullpen(self):
        return [erec(37, NULL_PEN)]

    def pen(self, width):
        if width == 0:
            return self._new(38, 0, 0, 0, 0)
        # PS_GEOMETRIC | PS_SOLID, round caps and joins, solid black
        return self._new(95, 0, 0, 0, 0, 0x10000, width, 0, 0, 0, 0)

    def rect(self, tl, br):
        return [erec(43, *tl, *br)]

    def ellipse(self, tl, br):
        return [erec(42, *tl, *br)]

    def line(self, p0, p1):
        return [erec(27, *p0), erec(54, *p1)]


def scene_records(shapes, writer):
    return [record for kind, *args in shapes for record in getattr(writer, kind)(*args)]


def scenes_wmf():
    w, h = SCENE_FRAME
    files = {
        # No mapping records: the header's box (twips) is the window.
        'scene_twips.wmf': (1440, [], lambda x, y: (15 * x, 15 * y), 75),
        # 576 units per inch (6 to the pixel) in the header; the window is the
        # file's own, ten units to the pixel, from (-500, 200).
        'scene_anisotropic.wmf': (576, [wrec(0x0103, 8), w_org(-500, 200), w_ext(960, 240)],
                                  lambda x, y: (10 * x - 500, 10 * y + 200), 50),
        # y up: the window's height negative.
        'scene_anisotropic_y_up.wmf': (576, [w_org(0, 240), w_ext(960, -240)],
                                       lambda x, y: (10 * x, 240 - 10 * y), 50),
        # A square window in a wide frame: 40 units to the pixel both ways.
        'scene_isotropic.wmf': (576, [wrec(0x0103, 7), w_org(100, 100), w_ext(960, 960)],
                                lambda x, y: (40 * x + 100, 40 * y + 100), 200),
        # One unit, one pixel; the window's extent counts for nothing.
        'scene_text.wmf': (576, [wrec(0x0103, 1), w_org(-7, -3), w_ext(5000, 5000)],
                           lambda x, y: (x - 7, y - 3), 5),
    }
    for name, (inch, mapping, dev, pen) in files.items():
        box = (0, 0, w * inch // 96, h * inch // 96)
        writer = WmfSceneWriter()
        records = scene_records(scene_shapes(dev, pen), writer)
        data = wmf(mapping + records, box, inch, writer.objects)
        with open(out('wmf', name), 'wb') as f:
            f.write(data)


def scenes_emf():
    w, h = SCENE_FRAME
    frame = (0, 0, w * 2540 // 96, h * 2540 // 96)  # 0.01 mm, exact at these sizes
    files = {
        'scene_text.emf': ([], lambda x, y: (x, y), 5),
        # The window of 960 x 240 units on a viewport of 96 x 24 pixels.
        'scene_anisotropic.emf': ([erec(17, 8), erec(10, -500, 200), erec(9, 960, 240), erec(12, 0, 0),
                                   erec(11, 96, 24)], lambda x, y: (10 * x - 500, 10 * y + 200), 50),
        'scene_isotropic.emf': ([erec(17, 7), erec(10, 100, 100), erec(9, 960, 960), erec(12, 0, 0),
                                 erec(11, 96, 24)], lambda x, y: (40 * x + 100, 40 * y + 100), 200),
    }
    for name, (mapping, dev, pen) in files.items():
        with open(out('emf', name), 'wb') as f:
            writer = EmfSceneWriter()
            records = scene_records(scene_shapes(dev, pen), writer)
            f.write(emf(mapping + records, (1, 1, 66, 12), frame, handles=writer.handles))


def picture_metafiles():
    """An 8 x 8 picture, its top half black, drawn at natural size at (5, 3)
    of a 96 x 24 px frame (STRETCHDIB in WMF, STRETCHDIBITS in EMF)."""
    info = struct.pack('<IiiHHIIiiII', 40, 8, 8, 1, 1, 0, 32, 0, 0, 2, 0) + bytes([0, 0, 0, 0, 255, 255, 255, 0])
    bits = b'\xff\x00\x00\x00' * 4 + b'\x00' * 16  # rows bottom-up: white, then black
    words = struct.unpack('<%dh' % ((len(info) + len(bits)) // 2), info + bits)
    srccopy = (0x0020, 0x00CC)
    stretch = wrec(0x0F43, *srccopy, 0, 8, 8, 0, 0, 8, 8, 3, 5, *words)
    with open(out('wmf', 'picture.wmf'), 'wb') as f:
        f.write(wmf([w_org(0, 0), w_ext(96, 24), stretch], (0, 0, 96, 24), 96))
    # Bounds, destination, source, where the info and bits are, usage, raster
    # operation, destination size; then the info and bits.
    fields = struct.pack('<4i6i4I2I2i', 5, 3, 12, 10, 5, 3, 0, 0, 8, 8,
                         80, len(info), 80 + len(info), len(bits), 0, 0x00CC0020, 8, 8)
    record = struct.pack('<II', 81, 8 + len(fields) + len(info) + len(bits)) + fields + info + bits
    with open(out('emf', 'picture.emf'), 'wb') as f:
        f.write(emf([record], (5, 3, 12, 10), (0, 0, 2540, 635)))


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
    scenes_wmf()
    scenes_emf()
    picture_metafiles()


if __name__ == '__main__':
    main()
