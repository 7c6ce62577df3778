"""Checks the artwork generator's output formats, the sample project layout and
that the build is reproducible."""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
SCRIPT = os.path.join(ROOT, 'resources', 'art', 'make_art.py')
ICONS = {'board.ico': [16, 32, 48], 'tray.ico': [16, 20, 24, 32]}
# The installer's payload icons: one 32 x 32 image of 16 colours each, 766 bytes.
PAYLOAD_ICONS = ['readme.ico', 'uninstall.ico']
NAMES = [b'First Name', b'Last Name', b'Full Name', b'Street Address', b'City', b'State']


VERSION = '18.06.01'


def run(outdir, version=VERSION):
    return subprocess.run([sys.executable, SCRIPT, outdir, version], capture_output=True,
                          text=True)


def parse_ico(data):
    """Return [(size, xor_rows_bgra_bottom_up, and_mask_bytes)] and check framing."""
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    assert (reserved, kind) == (0, 1), (reserved, kind)
    images, spans = [], []
    for n in range(count):
        w, h, colors, res, planes, bpp, size, off = struct.unpack_from('<BBBBHHII', data, 6 + 16 * n)
        assert (w, colors, res, planes, bpp) == (h, 0, 0, 1, 32), (w, h, colors, res, planes, bpp)
        hdr = struct.unpack_from('<IiiHHIIiiII', data, off)
        assert hdr[0] == 40 and hdr[1] == w and hdr[2] == 2 * w, hdr
        assert hdr[3:6] == (1, 32, 0), hdr
        mask_row = (w + 31) // 32 * 4
        assert size == 40 + w * w * 4 + mask_row * w, (w, size)
        spans.append((off, off + size))
        xor = data[off + 40:off + 40 + w * w * 4]
        images.append((w, xor, data[off + 40 + w * w * 4:off + size], mask_row))
    spans.sort()
    assert spans[0][0] == 6 + 16 * count and spans[-1][1] == len(data), spans
    assert all(a[1] == b[0] for a, b in zip(spans, spans[1:])), spans
    return images


def parse_bmp(data):
    magic, fsize, _, _, off = struct.unpack_from('<2sIHHI', data, 0)
    info = struct.unpack_from('<IiiHHIIiiII', data, 14)
    return magic, fsize, off, info


class MakeArtTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.out = os.path.join(cls.tmp.name, 'a')
        res = run(cls.out)
        if res.returncode != 0:
            raise AssertionError('make_art failed: ' + res.stderr)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def read(self, name):
        with open(os.path.join(self.out, name), 'rb') as f:
            return f.read()

    def test_icons_have_expected_sizes_and_headers(self):
        for name, sizes in ICONS.items():
            with self.subTest(name=name):
                images = parse_ico(self.read(name))
                self.assertEqual([im[0] for im in images], sizes)

    def test_icon_alpha_matches_and_mask(self):
        for name in ICONS:
            for s, xor, mask, mrow in parse_ico(self.read(name)):
                alphas = xor[3::4]
                self.assertEqual(len(alphas), s * s)
                for y in range(s):
                    for x in range(s):
                        a = alphas[y * s + x]
                        bit = mask[y * mrow + (x >> 3)] >> (7 - (x & 7)) & 1
                        self.assertEqual(bit, 1 if a == 0 else 0, (name, s, x, y))

    def test_icons_are_drawn_with_transparent_surround(self):
        for name in ICONS:
            for s, xor, _, _ in parse_ico(self.read(name)):
                alphas = xor[3::4]
                opaque = sum(1 for a in alphas if a == 255)
                self.assertGreater(opaque, s * s // 3, (name, s))
                self.assertLess(opaque, s * s, (name, s))
                # rows are bottom-up: the top-left corner pixel is the last row's first
                self.assertEqual(alphas[(s - 1) * s], 0, (name, s))
                # fully transparent pixels carry no colour
                for i, a in enumerate(alphas):
                    if a == 0:
                        self.assertEqual(xor[4 * i:4 * i + 3], b'\0\0\0')
                self.assertGreater(len({xor[i:i + 3] for i in range(0, len(xor), 4)}), 8)

    def test_payload_icons_are_classic_16_colour_icons(self):
        images = {}
        for name in PAYLOAD_ICONS:
            with self.subTest(name=name):
                data = self.read(name)
                self.assertEqual(len(data), 766)
                self.assertEqual(struct.unpack_from('<HHH', data, 0), (0, 1, 1))
                entry = struct.unpack_from('<BBBBHHII', data, 6)
                self.assertEqual(entry, (32, 32, 16, 0, 1, 4, 744, 22))
                hdr = struct.unpack_from('<IiiHHIIiiII', data, 22)
                self.assertEqual(hdr[:6], (40, 32, 64, 1, 4, 0))
                self.assertEqual(hdr[6], 512 + 128)
                palette = [data[62 + 4 * i:62 + 4 * i + 3] for i in range(16)]
                xor, mask = data[126:638], data[638:766]
                # every pixel: its 4-bit index and whether the mask leaves it drawn
                drawn, used = 0, set()
                for y in range(32):
                    for x in range(32):
                        nibble = xor[y * 16 + x // 2] >> (0 if x & 1 else 4) & 15
                        clear = mask[y * 4 + (x >> 3)] >> (7 - (x & 7)) & 1
                        if clear:
                            self.assertEqual(nibble, 0, (name, x, y))
                        else:
                            drawn += 1
                            used.add(palette[nibble])
                self.assertGreater(drawn, 32 * 32 // 3, name)
                self.assertLess(drawn, 32 * 32, name)
                # rows are bottom-up: the last row's first bit is the top-left corner
                self.assertEqual(mask[31 * 4] >> 7, 1, name)
                self.assertGreaterEqual(len(used), 8, name)
                images[name] = xor
        self.assertNotEqual(images['readme.ico'], images['uninstall.ico'])

    def check_bmp(self, name, bpp):
        data = self.read(name)
        magic, fsize, off, info = parse_bmp(data)
        self.assertEqual(magic, b'BM')
        self.assertEqual(fsize, len(data))
        self.assertEqual(info[:6], (40, 480, 344, 1, bpp, 0))
        stride = (480 * bpp // 8 + 3) // 4 * 4
        self.assertEqual(len(data) - off, stride * 344)
        return data, off, info

    def test_splash_is_8bit_480x344_with_bright_title(self):
        data, off, info = self.check_bmp('splash.bmp', 8)
        self.assertIn(info[9], (0, 256))
        self.assertEqual(off, 54 + 1024)
        pal = data[54:off]
        pix = data[off:]
        self.assertGreater(len(set(pix)), 200, 'the gradients use most of the palette')
        # the white title sits in the middle band (rows are stored bottom-up)
        bright = 0
        for y in range(150, 215):
            row = pix[(343 - y) * 480:(344 - y) * 480]
            bright += sum(1 for i in row if min(pal[4 * i:4 * i + 3]) > 235)
        self.assertGreater(bright, 1500)

    def test_splash_shows_the_version_it_is_given(self):
        other = os.path.join(self.tmp.name, 'version')
        res = run(other, '23.45.79')  # every digit the other version lacks
        self.assertEqual(res.returncode, 0, res.stderr)
        with open(os.path.join(other, 'splash.bmp'), 'rb') as f:
            splash = f.read()
        self.assertNotEqual(splash, self.read('splash.bmp'))
        with open(os.path.join(other, 'backdrop.bmp'), 'rb') as f:
            self.assertEqual(f.read(), self.read('backdrop.bmp'), 'only the splash shows it')

    def test_backdrop_is_8bit_palettised(self):
        data, off, info = self.check_bmp('backdrop.bmp', 8)
        self.assertIn(info[9], (0, 256))
        self.assertEqual(off, 54 + 1024)
        used = set(data[off:])
        self.assertGreater(len(used), 64)
        pal = data[54:off]
        self.assertTrue(all(pal[i + 3] == 0 for i in range(0, 1024, 4)))
        self.assertGreater(len({pal[4 * i:4 * i + 3] for i in used}), 64)

    def test_sample_project_layout(self):
        data = self.read('SAMPLE.VQP')
        self.assertEqual(len(data), 338976)
        self.assertEqual(len(data), 33 * 32 + 33 * 10240)
        rest = bytearray(data)
        for i, name in enumerate(NAMES):
            self.assertEqual(data[32 * i:32 * i + len(name) + 1], name + b'\0')
            rest[32 * i:32 * i + len(name)] = bytes(len(name))
        self.assertEqual(rest.count(0), len(rest))

    def test_two_runs_are_identical(self):
        other = os.path.join(self.tmp.name, 'b')
        res = run(other)
        self.assertEqual(res.returncode, 0, res.stderr)
        names = sorted(os.listdir(self.out))
        self.assertEqual(names, sorted(os.listdir(other)))
        self.assertEqual(len(names), 7)
        for name in names:
            with open(os.path.join(other, name), 'rb') as f:
                self.assertEqual(f.read(), self.read(name), name)

    def test_errors_exit_non_zero_with_message(self):
        for args in ([], [self.out]):
            res = subprocess.run([sys.executable, SCRIPT] + args, capture_output=True, text=True)
            self.assertNotEqual(res.returncode, 0)
            self.assertIn('usage', res.stderr)
        blocker = os.path.join(self.tmp.name, 'file')
        with open(blocker, 'w') as f:
            f.write('x')
        res = run(os.path.join(blocker, 'sub'))
        self.assertNotEqual(res.returncode, 0)
        self.assertIn('make_art:', res.stderr)


if __name__ == '__main__':
    unittest.main()
