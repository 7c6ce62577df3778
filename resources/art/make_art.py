#!/usr/bin/env python3
"""Build Tessaro's artwork (icons, splash, installer backdrop) and the sample
project.  Pure standard library and fully deterministic, so the committed
binaries can always be regenerated bit for bit.

    python3 resources/art/make_art.py OUTDIR VERSION

VERSION is the program version the splash shows ("18.06.01"); the build passes
the project's version.
"""
import math
import os
import struct
import sys

# Palette (sRGB, 0..1).  One blue-teal family across every asset.
TEAL_HI = (0.16, 0.66, 0.80)
TEAL_LO = (0.04, 0.40, 0.56)
TEAL_EDGE = (0.02, 0.27, 0.39)
SLOT = (0.96, 0.99, 1.00)
AMBER = (1.00, 0.71, 0.23)
INK = (0.31, 0.55, 0.64)
WHITE = (1.0, 1.0, 1.0)
RED_HI, RED_LO = (0.93, 0.31, 0.25), (0.70, 0.13, 0.10)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def rgba(c, a=1.0):
    return (c[0], c[1], c[2], a)


class Canvas:
    """Premultiplied RGBA float raster; shapes are drawn from signed distance
    functions, which gives analytic antialiasing at one sample per pixel."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.r, self.g, self.b, self.a = ([0.0] * (w * h) for _ in range(4))

    def blend(self, i, col, cov):
        sa = col[3] * cov
        k = 1.0 - sa
        self.r[i] = col[0] * sa + self.r[i] * k
        self.g[i] = col[1] * sa + self.g[i] * k
        self.b[i] = col[2] * sa + self.b[i] * k
        self.a[i] = sa + self.a[i] * k

    def fill(self, box, dist, paint, soft=1.0):
        """Paint where dist(x, y) < 0; `paint` is a colour or f(x, y)."""
        x0, y0, x1, y1 = box
        pad = soft + 1
        xs = range(max(0, int(x0 - pad)), min(self.w, int(math.ceil(x1 + pad))))
        ys = range(max(0, int(y0 - pad)), min(self.h, int(math.ceil(y1 + pad))))
        flat = not callable(paint)
        for y in ys:
            py = y + 0.5
            row = y * self.w
            for x in xs:
                px = x + 0.5
                cov = 0.5 - dist(px, py) / soft
                if cov <= 0.0:
                    continue
                self.blend(row + x, paint if flat else paint(px, py), min(cov, 1.0))

    def pixels(self):
        """Straight-alpha 8-bit (r, g, b, a) tuples, top row first."""
        out = []
        for r, g, b, a in zip(self.r, self.g, self.b, self.a):
            if a <= 0.0:
                out.append((0, 0, 0, 0))
                continue
            k = 255.0 / a  # channels are never negative, so only the top needs clamping
            out.append((min(255, int(r * k + 0.5)), min(255, int(g * k + 0.5)),
                        min(255, int(b * k + 0.5)), min(255, int(a * 255.0 + 0.5))))
        return out


# ---------------------------------------------------------------- shapes

def rrect_sdf(x0, y0, x1, y1, rad):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - rad, (y1 - y0) / 2 - rad

    def d(px, py):
        qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - rad
    return d


def poly_sdf(pts):
    """Convex polygon, clockwise in screen space; exact near the edges."""
    edges = []
    for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
        ln = math.hypot(bx - ax, by - ay)
        nx, ny = (by - ay) / ln, -(bx - ax) / ln
        edges.append((nx, ny, nx * ax + ny * ay))
    return lambda px, py: max(nx * px + ny * py - c for nx, ny, c in edges)


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / ll))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def rrect(cv, x0, y0, x1, y1, rad, paint, soft=1.0, inset=0.0):
    d = rrect_sdf(x0, y0, x1, y1, rad)
    cv.fill((x0, y0, x1, y1), (lambda x, y: d(x, y) + inset) if inset else d, paint, soft)


def capsule(cv, ax, ay, bx, by, width, paint):
    r = width / 2
    cv.fill((min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r),
            lambda x, y: seg_dist(x, y, ax, ay, bx, by) - r, paint)


def vgrad(c0, c1, y0, y1, a=1.0):
    return lambda x, y: rgba(mix(c0, c1, max(0.0, min(1.0, (y - y0) / (y1 - y0)))), a)


# ---------------------------------------------------------------- icon motifs

def board_layout(s, n=3, shadow=True):
    """Integer geometry so the slots land on whole pixels at 16/32/48."""
    sh = max(1, round(s / 16)) if shadow else 0   # drop-shadow offset
    t = s - sh                                    # tile edge
    g = max(1, round(t * 0.07))                   # slot gap
    k = (t - 2 * max(2, round(t * 0.13)) - (n - 1) * g) // n
    p = (t - n * k - (n - 1) * g) // 2
    slots = [(p + c * (k + g), p + r * (k + g), k) for r in range(n) for c in range(n)]
    return sh, t, slots


def draw_board(cv, ox, oy, s, n=3, shadow=True, alpha=1.0):
    sh, t, slots = board_layout(s, n, shadow)
    rad = max(2.5, t * 0.2)
    if shadow:
        rrect(cv, ox + sh, oy + sh, ox + t + sh * 0.6, oy + t + sh * 0.6, rad,
              (0, 0, 0, 0.32 * alpha), soft=1 + sh * 0.6)
    edge = 1.0 if s < 64 else s / 64
    rrect(cv, ox, oy, ox + t, oy + t, rad, rgba(TEAL_EDGE, alpha))
    rrect(cv, ox, oy, ox + t, oy + t, rad, vgrad(TEAL_HI, TEAL_LO, oy, oy + t, alpha), inset=edge)
    for i, (sx, sy, k) in enumerate(slots):
        x0, y0 = ox + sx, oy + sy
        rrect(cv, x0, y0, x0 + k, y0 + k, max(0.7, k * 0.2), rgba(AMBER if i == 0 else SLOT, alpha))
        if k >= 12:  # big enough to hint at the pasted text inside
            ink = rgba(INK if i else (0.62, 0.38, 0.05), alpha)
            for j, frac in enumerate((0.34, 0.54, 0.74)):
                ly, lx1 = y0 + k * frac, x0 + k * (0.78 if j < 2 else 0.55)
                capsule(cv, x0 + k * 0.22, ly, lx1, ly, k / 10, ink)


def draw_badge_cross(cv, s):
    small = s < 24
    cx = cy = 11.0 if small else s * 0.71
    r = 4.6 if small else s * 0.28
    cv.fill((cx - r, cy - r, cx + r, cy + r),
            lambda x, y: math.hypot(x - cx, y - cy) - r, rgba(WHITE))
    ri = r - max(1.0, s / 32)
    cv.fill((cx - r, cy - r, cx + r, cy + r), lambda x, y: math.hypot(x - cx, y - cy) - ri,
            vgrad(RED_HI, RED_LO, cy - r, cy + r))
    if small:  # a crisp minus reads better than a blurred cross at 16 px
        rrect(cv, cx - 3, cy - 1, cx + 3, cy + 1, 0.3, rgba(WHITE))
        return
    a, w = ri * 0.45, max(1.5, ri * 0.34)
    capsule(cv, cx - a, cy - a, cx + a, cy + a, w, rgba(WHITE))
    capsule(cv, cx - a, cy + a, cx + a, cy - a, w, rgba(WHITE))


def draw_document(cv, s):
    x0, y0, x1, y1 = round(s * 0.16), round(s * 0.04), round(s * 0.84), s - round(s * 0.04)
    f = round(s * 0.25)
    page = [(x0, y0), (x1 - f, y0), (x1, y0 + f), (x1, y1), (x0, y1)]
    edge = 1.0 if s < 40 else 1.5
    d = poly_sdf(page)
    cv.fill((x0, y0, x1, y1), d, rgba((0.35, 0.45, 0.52)))
    cv.fill((x0, y0, x1, y1), lambda x, y: d(x, y) + edge, vgrad(WHITE, (0.90, 0.95, 0.97), y0, y1))
    fold = poly_sdf([(x1 - f, y0), (x1, y0 + f), (x1 - f, y0 + f)])
    cv.fill((x1 - f, y0, x1, y0 + f), fold, rgba((0.35, 0.45, 0.52)))
    cv.fill((x1 - f, y0, x1, y0 + f), lambda x, y: fold(x, y) + edge, rgba((0.80, 0.88, 0.92)))
    lw = max(1.0, round(s / 16))
    step = max(2, round(s / 8))
    lx0 = x0 + max(2, round(s * 0.12))
    rrect(cv, lx0, y0 + step, x1 - f - step // 2, y0 + step + lw * 1.5, 0.5, rgba(TEAL_LO))
    y = y0 + step * 2 + lw
    while y + lw <= y1 - step * 0.7:
        short = (y // step) % 3 == 2
        rrect(cv, lx0, y, (x0 + x1) / 2 if short else x1 - lx0 + x0, y + lw, 0.4, rgba(INK))
        y += step


def icon(size, kind):
    cv = Canvas(size, size)
    if kind == 'board':
        draw_board(cv, 0, 0, size)
    elif kind == 'tray':  # full-bleed tile, fewer and bigger slots: readable at 16 px
        draw_board(cv, 0, 0, size, n=2 if size < 24 else 3, shadow=False)
    elif kind == 'uninstall':
        draw_board(cv, 0, 0, size)
        draw_badge_cross(cv, size)
    elif kind == 'readme':
        draw_document(cv, size)
    return cv


# ---------------------------------------------------------------- stroke font
# Geometric sans, stroke centre-lines in font units: baseline 0, x-height 7,
# cap height 10, descender -3.5.  Each glyph: (width, [polyline, ...]).

def arc(cx, cy, rx, ry, a0, a1):
    n = max(2, int(math.ceil(abs(a1 - a0) / 12.0)))
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]


O = arc(3.5, 3.5, 3.5, 3.5, 0, 360)
GLYPHS = {
    ' ': (3.0, []),
    '.': (0, [[(0, 0)]]),
    '0': (6, [arc(3, 5, 3, 5, 0, 360)]),
    '1': (3, [[(0.2, 8), (3, 10), (3, 0)]]),
    '2': (6, [arc(3, 7.2, 3, 2.8, 165, -35) + [(0, 0), (6, 0)]]),
    '3': (6, [arc(3, 7.5, 2.8, 2.5, 150, -90), arc(3, 2.6, 3, 2.6, 90, -150)]),
    '4': (6, [[(4.5, 0), (4.5, 10), (0, 3), (6, 3)]]),
    '5': (6, [[(5.6, 10), (0.8, 10), (0.6, 5.3)] + arc(3, 3, 3, 3, 128, -150)]),
    '6': (6, [arc(3, 3, 3, 3, 0, 360), [(0.4, 4.5), (4.4, 10)]]),
    '7': (6, [[(0, 10), (6, 10), (1.8, 0)]]),
    '8': (6, [arc(3, 7.6, 2.5, 2.4, 0, 360), arc(3, 2.6, 3, 2.6, 0, 360)]),
    '9': (6, [arc(3, 7, 3, 3, 0, 360), [(5.6, 5.5), (1.6, 0)]]),
    'S': (6.2, [arc(3.1, 7.5, 2.9, 2.5, 25, 270) + arc(3.1, 2.5, 3.1, 2.5, 90, -155)]),
    'T': (7, [[(0, 10), (7, 10)], [(3.5, 10), (3.5, 0)]]),
    'V': (8, [[(0, 10), (4, 0), (8, 10)]]),
    'a': (7, [O, [(7, 7), (7, 0)]]),
    'b': (7, [[(0, 10), (0, 0)], O]),
    'd': (7, [O, [(7, 10), (7, 0)]]),
    'e': (7, [[(0, 3.5), (7, 3.5)] + arc(3.5, 3.5, 3.5, 3.5, 0, 320)]),
    'f': (4.2, [[(1.4, 0)] + arc(3.6, 7.8, 2.2, 2.2, 180, 45), [(0, 7), (3.8, 7)]]),
    'g': (7, [O, [(7, 7)] + arc(3.5, -0.5, 3.5, 3, 0, -150)]),
    'h': (7, [[(0, 10), (0, 0)], arc(3.5, 3.5, 3.5, 3.5, 180, 0) + [(7, 0)]]),
    'i': (0, [[(0, 0), (0, 7)], [(0, 9.6)]]),
    'n': (7, [[(0, 7), (0, 0)], arc(3.5, 3.5, 3.5, 3.5, 180, 0) + [(7, 0)]]),
    'o': (7, [O]),
    'p': (7, [[(0, 7), (0, -3.5)], O]),
    'r': (4.4, [[(0, 7), (0, 0)], arc(3.5, 3.5, 3.5, 3.5, 180, 78)]),
    's': (5.6, [arc(2.8, 5.25, 2.6, 1.75, 25, 270) + arc(2.8, 1.75, 2.8, 1.75, 90, -155)]),
    't': (3.6, [[(1.5, 9.5), (1.5, 0)], [(0, 7), (3.6, 7)]]),
    'u': (7, [[(0, 7)] + arc(3.5, 3.5, 3.5, 3.5, 180, 360), [(7, 7), (7, 0)]]),
    'v': (6.4, [[(0, 7), (3.2, 0), (6.4, 7)]]),
    'w': (9.4, [[(0, 7), (2.35, 0), (4.7, 7), (7.05, 0), (9.4, 7)]]),
    'x': (6, [[(0, 0), (6, 7)], [(0, 7), (6, 0)]]),
    'y': (6.4, [[(0, 7), (3.2, 0)], [(6.4, 7), (1.6, -3.5)]]),
}
KERN = {'Te': -1.6, 'Ve': -1.0}


def layout_text(text, weight, track):
    """Yield (glyph, pen) in font units and return the total advance."""
    pen, out = 0.0, []
    for i, ch in enumerate(text):
        if ch not in GLYPHS:
            raise ValueError('no glyph for %r' % ch)
        out.append((GLYPHS[ch], pen))
        pen += GLYPHS[ch][0] + weight + track + KERN.get(text[i:i + 2], 0.0)
    return out, pen - track


def text_width(text, scale, weight=1.2, track=1.4):
    return layout_text(text, weight, track)[1] * scale


def text_coverage(cv, text, x, base, scale, weight=1.2, track=1.4):
    """Coverage map {pixel index: 0..1} of the text's ink."""
    glyphs, _ = layout_text(text, weight, track)
    r = weight * scale / 2
    cov = {}
    for (_, strokes), pen in glyphs:
        for stroke in strokes:
            pts = [(x + (pen + gx + weight / 2) * scale, base - gy * scale) for gx, gy in stroke]
            for (ax, ay), (bx, by) in zip(pts, pts[1:] or pts):
                for yy in range(max(0, int(min(ay, by) - r - 1)), min(cv.h, int(max(ay, by) + r + 2))):
                    for xx in range(max(0, int(min(ax, bx) - r - 1)), min(cv.w, int(max(ax, bx) + r + 2))):
                        c = 0.5 - (seg_dist(xx + 0.5, yy + 0.5, ax, ay, bx, by) - r)
                        if c > 0:
                            i = yy * cv.w + xx
                            cov[i] = min(1.0, max(c, cov.get(i, 0.0)))
    return cov


def blur(cov, w):
    out = {}
    for i, c in cov.items():
        for j in (i - w - 1, i - w, i - w + 1, i - 1, i, i + 1, i + w - 1, i + w, i + w + 1):
            out[j] = out.get(j, 0.0) + c / 9.0
    return out


def draw_text(cv, text, x, base, scale, color, weight=1.2, track=1.4, shadow=0.0):
    cov = text_coverage(cv, text, x, base, scale, weight, track)
    if shadow:
        off = max(1, round(scale / 2.5)) * cv.w + max(1, round(scale / 4))
        for i, c in blur(blur(cov, cv.w), cv.w).items():
            if 0 <= i + off < len(cv.a):
                cv.blend(i + off, (0, 0, 0, shadow), c)
    for i, c in sorted(cov.items()):
        cv.blend(i, color, c)


def draw_centered(cv, text, base, scale, color, **kw):
    w = text_width(text, scale, kw.get('weight', 1.2), kw.get('track', 1.4))
    draw_text(cv, text, round((cv.w - w) / 2), base, scale, color, **kw)


# ---------------------------------------------------------------- backgrounds

def background(cv, top, bottom, glow_at, glow_r, glow=0.16):
    gx, gy = glow_at
    for y in range(cv.h):
        base = mix(top, bottom, y / (cv.h - 1))
        for x in range(cv.w):
            d = math.hypot(x - gx, (y - gy) * 1.3) / glow_r
            t = glow * max(0.0, 1.0 - d) ** 2
            i = y * cv.w + x
            cv.r[i], cv.g[i], cv.b[i] = (c + (1.0 - c) * t for c in base)
            cv.a[i] = 1.0


def splash(version):
    cv = Canvas(480, 344)
    background(cv, (0.03, 0.18, 0.29), (0.04, 0.40, 0.49), (240, 100), 300)
    draw_board(cv, 184, 26, 112)
    draw_centered(cv, 'Tessaro', 214, 5.4, rgba(WHITE), weight=1.5, track=1.3, shadow=0.45)
    rrect(cv, 215, 230, 265, 233, 1.5, rgba(AMBER))
    draw_centered(cv, 'Version ' + version, 262, 1.45, rgba((0.72, 0.90, 0.96)), weight=1.3)
    rrect(cv, -10, 296, 490, 354, 0, (0.0, 0.06, 0.12, 0.35))
    rrect(cv, -10, 296, 490, 297, 0, (1, 1, 1, 0.10))
    draw_centered(cv, 'the text board for everything you paste', 325, 1.35,
                  rgba((0.93, 0.97, 1.0)), weight=1.3, track=1.2)
    return cv


def backdrop():
    cv = Canvas(480, 344)
    background(cv, (0.02, 0.16, 0.30), (0.05, 0.44, 0.52), (90, 40), 360, glow=0.12)
    draw_board(cv, 250, 130, 250, alpha=0.14)
    draw_board(cv, 24, 22, 48)
    draw_text(cv, 'Tessaro Setup', 86, 62, 3.4, rgba(WHITE), weight=1.5, track=1.3, shadow=0.5)
    return cv


# ---------------------------------------------------------------- encoders

def ico_bytes(canvases):
    head = struct.pack('<HHH', 0, 1, len(canvases))
    offset = 6 + 16 * len(canvases)
    entries, blobs = b'', b''
    for cv in canvases:
        s = cv.w
        px = cv.pixels()
        mask_row = (s + 31) // 32 * 4
        xor, mask = bytearray(), bytearray()
        for y in reversed(range(s)):  # DIBs are stored bottom-up
            bits = bytearray(mask_row)
            for x in range(s):
                r, g, b, a = px[y * s + x]
                xor += bytes((b, g, r, a))
                if a == 0:
                    bits[x >> 3] |= 0x80 >> (x & 7)
            mask += bits
        dib = struct.pack('<IiiHHIIiiII', 40, s, 2 * s, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = dib + xor + mask
        entries += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return head + entries + blobs


def bmp_bytes(w, h, bpp, rows, palette=b''):
    """rows: top-first list of packed pixel rows (already padded)."""
    data = b''.join(reversed(rows))
    off = 14 + 40 + len(palette)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, 0, len(data), 2835, 2835,
                       len(palette) // 4, 0)
    return b'BM' + struct.pack('<IHHI', off + len(data), 0, 0, off) + info + palette + data


BAYER = (0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5)


def median_cut(keys, hist, count):
    """Splits the 15-bit colour bins into at most `count` boxes, the widest
    (weighted by pixel count) first.  Returns the palette as BGRx bytes and
    the box index of every bin."""
    boxes = [sorted(hist)]
    chan = lambda k, c: k >> (10 - 5 * c) & 31
    while len(boxes) < count:
        best, span, c = None, 0, 0
        for bi, box in enumerate(boxes):
            for ch in range(3):
                vals = [chan(k, ch) for k in box]
                sp = (max(vals) - min(vals)) * math.sqrt(sum(hist[k][0] for k in box))
                if sp > span:
                    best, span, c = bi, sp, ch
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda k: (chan(k, c), k))
        half, acc, cut = sum(hist[k][0] for k in box) / 2, 0, 1
        for j, k in enumerate(box[:-1]):
            acc += hist[k][0]
            if acc >= half:
                cut = j + 1
                break
        boxes[best:best] = [box[:cut], box[cut:]]
    index, palette = {}, bytearray()
    for n, box in enumerate(boxes):
        tot = [sum(hist[k][j] for k in box) for j in range(4)]
        palette += bytes((round(tot[3] / tot[0]), round(tot[2] / tot[0]), round(tot[1] / tot[0]), 0))
        for k in box:
            index[k] = n
    palette += bytes(4 * (count - len(boxes)))
    return bytes(palette), index


def colour_bins(pixels, w, dither):
    """15-bit bin of every pixel (a light ordered dither when asked) and the
    histogram of the bins: [count, r sum, g sum, b sum]."""
    keys, hist = [], {}
    for i, (r, g, b, _) in enumerate(pixels):
        d = BAYER[(i // w & 3) * 4 + (i & 3)] // 2 - 4 if dither else 0
        k = (min(255, max(0, r + d)) >> 3 << 10 | min(255, max(0, g + d)) >> 3 << 5
             | min(255, max(0, b + d)) >> 3)
        keys.append(k)
        e = hist.setdefault(k, [0, 0, 0, 0])
        e[0] += 1; e[1] += r; e[2] += g; e[3] += b
    return keys, hist


def bmp8(cv):
    """Median-cut to 256 colours over 15-bit bins; a light ordered dither
    hides the banding of the long gradients."""
    keys, hist = colour_bins(cv.pixels(), cv.w, True)
    palette, index = median_cut(keys, hist, 256)
    return bmp_bytes(cv.w, cv.h, 8, [bytes(index[k] for k in keys[y * cv.w:(y + 1) * cv.w])
                                     for y in range(cv.h)], palette)


def ico16_bytes(cv):
    """One 32 x 32 image of 16 colours with its transparency mask: the classic
    icon file of 766 bytes that any shell can show.  Half-covered edge pixels
    count as drawn; the palette is the icon's own 16 colours."""
    s = cv.w
    px = cv.pixels()
    drawn = [a >= 128 for _, _, _, a in px]
    opaque = [p for p, d in zip(px, drawn) if d]
    keys, hist = colour_bins(opaque, s, False)
    palette, index = median_cut(keys, hist, 16)
    indices = iter(index[k] for k in keys)
    colour = [next(indices) if d else 0 for d in drawn]
    xor, mask = bytearray(), bytearray()
    for y in reversed(range(s)):  # DIBs are stored bottom-up
        row = colour[y * s:(y + 1) * s]
        xor += bytes(row[x] << 4 | row[x + 1] for x in range(0, s, 2))
        bits = bytearray(4)
        for x in range(s):
            if not drawn[y * s + x]:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bits
    dib = struct.pack('<IiiHHIIiiII', 40, s, 2 * s, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    blob = dib + palette + xor + mask
    return struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', s, s, 16, 0, 1, 4,
                                                      len(blob), 22) + blob


def sample_project():
    names = ['First Name', 'Last Name', 'Full Name', 'Street Address', 'City', 'State']
    names += [''] * (33 - len(names))
    return b''.join(n.encode('ascii').ljust(32, b'\0') for n in names) + bytes(33 * 10240)


def build(version):
    ico = lambda kind, sizes: ico_bytes([icon(s, kind) for s in sizes])
    return {
        'board.ico': ico('board', (16, 32, 48)),
        'tray.ico': ico('tray', (16, 20, 24, 32)),
        # The installer writes these two into the install folder for its shortcuts.
        'uninstall.ico': ico16_bytes(icon(32, 'uninstall')),
        'readme.ico': ico16_bytes(icon(32, 'readme')),
        'splash.bmp': bmp8(splash(version)),
        'backdrop.bmp': bmp8(backdrop()),
        'SAMPLE.VQP': sample_project(),
    }


def main(argv):
    if len(argv) != 3:
        sys.stderr.write('usage: make_art.py OUTDIR VERSION\n')
        return 2
    try:
        os.makedirs(argv[1], exist_ok=True)
        for name, data in build(argv[2]).items():
            with open(os.path.join(argv[1], name), 'wb') as f:
                f.write(data)
    except (OSError, ValueError) as e:
        sys.stderr.write('make_art: %s\n' % e)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
