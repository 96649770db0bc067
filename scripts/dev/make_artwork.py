#!/usr/bin/python3
"""Draws the setup program's artwork and writes it as Windows ICO and BMP files.

    make_artwork.py OUTDIR [--convert /usr/bin/convert] [--font FILE.ttf]

Writes OUTDIR/sondrel.ico (32x32 4 bpp, 16x16 4 bpp, 32x32 8 bpp, each with an
AND mask) and OUTDIR/sidebar.bmp (120 x 250, 24 bpp, BI_RGB, bottom-up).

Everything is drawn here, in plain Python (standard library only), with
supersampled antialiasing.  ImageMagick is used for one thing only: rasterising
the product name with a DejaVu font into a grey-level coverage mask (raw bytes
on a pipe, so no file metadata or timestamps are involved).  The ICO and BMP
bytes are assembled by this script, so the output is the same on every run.
"""

import math
import os
import struct
import subprocess
import sys

# ---------------------------------------------------------------------------
# Colours shared by the icon and the sidebar.

NAVY = (16, 22, 76)          # top of the sidebar gradient
INDIGO = (46, 34, 122)       # middle
VIOLET = (92, 40, 138)       # bottom
VINYL = (20, 20, 30)         # disc body
GROOVE = (40, 42, 60)        # lighter groove ring
SHEEN = (120, 128, 196)      # blue-violet reflection on the disc
LABEL = (238, 124, 26)       # orange label
LABEL_HI = (255, 196, 96)    # label highlight
LABEL_RIM = (186, 82, 16)    # label edge
NOTE = (255, 255, 255)       # music notes
NOTE_SHADE = (214, 210, 246)
OUTLINE = (18, 20, 60)       # icon outline around the note
AMBER = (255, 184, 72)       # "mp3" lettering, list bullets


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return (lerp(c1[0], c2[0], t), lerp(c1[1], c2[1], t), lerp(c1[2], c2[2], t))


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


# ---------------------------------------------------------------------------
# Signed distance functions (negative inside), in pixel units.

def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ellipse(cx, cy, rx, ry, angle_deg):
    ca = math.cos(math.radians(angle_deg))
    sa = math.sin(math.radians(angle_deg))
    m = min(rx, ry)

    def f(x, y):
        dx, dy = x - cx, y - cy
        u = dx * ca + dy * sa
        v = -dx * sa + dy * ca
        return (math.hypot(u / rx, v / ry) - 1.0) * m
    return f


def sd_box(x0, y0, x1, y1):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2, (y1 - y0) / 2

    def f(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0)
    return f


def sd_quad(pts):
    """Convex quadrilateral (points in clockwise or anticlockwise order)."""
    n = len(pts)
    area = 0.0
    for i in range(n):
        x0, y0 = pts[i]
        x1, y1 = pts[(i + 1) % n]
        area += x0 * y1 - x1 * y0
    sign = 1.0 if area > 0 else -1.0
    edges = []
    for i in range(n):
        x0, y0 = pts[i]
        x1, y1 = pts[(i + 1) % n]
        ex, ey = x1 - x0, y1 - y0
        ln = math.hypot(ex, ey)
        # outward normal
        nx, ny = sign * ey / ln, -sign * ex / ln
        edges.append((x0, y0, nx, ny))

    def f(x, y):
        return max((x - x0) * nx + (y - y0) * ny for x0, y0, nx, ny in edges)
    return f


def sd_tapered_curve(p0, p1, p2, r0, r1, steps=28):
    """A stroke along a quadratic Bezier whose radius goes from r0 to r1."""
    disks = []
    for i in range(steps + 1):
        t = i / steps
        a, b, c = (1 - t) ** 2, 2 * (1 - t) * t, t * t
        disks.append((a * p0[0] + b * p1[0] + c * p2[0],
                      a * p0[1] + b * p1[1] + c * p2[1],
                      lerp(r0, r1, t)))

    def f(x, y):
        return min(math.hypot(x - cx, y - cy) - r for cx, cy, r in disks)
    return f


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def grow(f, d):
    return lambda x, y: f(x, y) - d


# ---------------------------------------------------------------------------
# Canvas with premultiplied RGBA float pixels (colour 0..255, alpha 0..1).

class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def over(self, x, y, col, a):
        if a <= 0.0:
            return
        p = self.px[y * self.w + x]
        k = 1.0 - a
        p[0] = col[0] * a + p[0] * k
        p[1] = col[1] * a + p[1] * k
        p[2] = col[2] * a + p[2] * k
        p[3] = a + p[3] * k

    def erase(self, x, y, a):
        """Cut a hole: scale the pixel (premultiplied) by 1 - a."""
        p = self.px[y * self.w + x]
        k = 1.0 - a
        for i in range(4):
            p[i] *= k

    def fill(self, sdf, colour, alpha=1.0, ss=4, bbox=None, shade_ss=False, erase=False):
        """Fill the area where sdf < 0.

        colour is an (r, g, b) tuple or a function (x, y) -> (r, g, b).  Edge
        pixels are supersampled ss x ss.  With shade_ss the colour function is
        averaged over the subsamples too (for fine patterns such as grooves)."""
        x0, y0, x1, y1 = bbox if bbox else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        const = not callable(colour)
        offs = [(i + 0.5) / ss for i in range(ss)]
        for py in range(y0, y1):
            for px in range(x0, x1):
                cx, cy = px + 0.5, py + 0.5
                d = sdf(cx, cy)
                if d > 0.75:
                    continue
                if d < -0.75 and not shade_ss:
                    cov = 1.0
                    col = colour if const else colour(cx, cy)
                else:
                    n = 0
                    acc = [0.0, 0.0, 0.0]
                    for oy in offs:
                        for ox in offs:
                            sx, sy = px + ox, py + oy
                            if sdf(sx, sy) < 0.0:
                                n += 1
                                if not const:
                                    c = colour(sx, sy)
                                    acc[0] += c[0]
                                    acc[1] += c[1]
                                    acc[2] += c[2]
                    if n == 0:
                        continue
                    cov = n / (ss * ss)
                    col = colour if const else (acc[0] / n, acc[1] / n, acc[2] / n)
                if erase:
                    self.erase(px, py, cov * alpha)
                else:
                    self.over(px, py, col, cov * alpha)

    def rgba(self, x, y):
        """Un-premultiplied (r, g, b, a)."""
        r, g, b, a = self.px[y * self.w + x]
        if a <= 1e-9:
            return (0.0, 0.0, 0.0, 0.0)
        return (r / a, g / a, b / a, a)


# ---------------------------------------------------------------------------
# Motifs.

def eighth_note(x, y, s, tilt=-22.0, sw=None, height=3.6):
    """Eighth note whose head centre is at (x, y); s is the head's half width,
    sw the stem width.  Returns (sdf, bbox)."""
    rx, ry = s, s * 0.70
    head = sd_ellipse(x, y, rx, ry, tilt)
    if sw is None:
        sw = max(1.0, s * 0.32)
    sx1 = x + s * 0.93                           # stem's right edge
    sx0 = sx1 - sw
    top = y - s * height
    stem = sd_box(sx0, top, sx1, y - s * 0.15)
    fr = sw * 0.55                               # flag's half thickness at the stem
    flag = sd_tapered_curve((sx1 - fr, top + fr),
                            (sx1 + s * 1.45, top + s * 1.05),
                            (sx1 + s * 0.80, top + s * 2.55),
                            fr * 1.10, fr * 0.55)
    f = union(head, stem, flag)
    return f, (x - rx - 2, top - 2, sx1 + s * 1.7 + 2, y + rx + 2)


def beamed_notes(x, y, s, gap, tilt=-22.0, rise=None):
    """Two eighth notes joined by a beam; heads at (x, y) and (x + gap, y - rise)."""
    if rise is None:
        rise = s * 0.8
    rx, ry = s, s * 0.70
    sw = max(1.0, s * 0.34)
    h1 = sd_ellipse(x, y, rx, ry, tilt)
    h2 = sd_ellipse(x + gap, y - rise, rx, ry, tilt)
    s1x1 = x + s * 0.93
    s2x1 = x + gap + s * 0.93
    top1 = y - s * 3.7
    top2 = top1 - rise
    st1 = sd_box(s1x1 - sw, top1, s1x1, y - s * 0.15)
    st2 = sd_box(s2x1 - sw, top2, s2x1, y - rise - s * 0.15)
    bh = s * 0.72                                  # beam thickness
    beam = sd_quad([(s1x1 - sw, top1), (s2x1, top2), (s2x1, top2 + bh), (s1x1 - sw, top1 + bh)])
    f = union(h1, h2, st1, st2, beam)
    return f, (x - rx - 2, top2 - 2, s2x1 + 2, y + rx + 2)


# ---------------------------------------------------------------------------
# The sidebar: 120 x 250, 24 bpp.

SB_W, SB_H = 120, 250
BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def sidebar_background(x, y):
    t = y / (SB_H - 1)
    if t < 0.55:
        c = mix(NAVY, INDIGO, smoothstep(0.0, 0.55, t))
    else:
        c = mix(INDIGO, VIOLET, smoothstep(0.55, 1.0, t))
    # a soft glow behind the disc
    g = math.hypot((x - 62) / 70.0, (y - 80) / 62.0)
    glow = 0.30 * (1.0 - smoothstep(0.0, 1.0, g))
    c = mix(c, (110, 110, 210), glow)
    # a faint diagonal light band across the lower part
    band = math.exp(-((x * 0.55 + y - 205) / 26.0) ** 2) * 0.08
    return mix(c, (200, 170, 255), band)


def disc_shader(cx, cy, R, r_label, rings=None, sheen=0.55):
    """Vinyl: fine grooves (or, for small sizes, a few distinct rings at the
    given fractions of the grooved band), a blue-violet reflection and a rim."""
    def shade(x, y):
        dx, dy = x - cx, y - cy
        r = math.hypot(dx, dy)
        th = math.atan2(dy, dx)
        c = VINYL
        # grooves: fine concentric modulation, with plain "gaps" between tracks
        if rings:
            for q in rings:
                rr = lerp(r_label, R, q)
                c = mix(c, GROOVE, 0.9 * math.exp(-((r - rr) / 0.55) ** 2))
        elif r > r_label + 2.0:
            g = 0.5 + 0.5 * math.sin(r * 2.0 * math.pi / 2.1)
            c = mix(c, GROOVE, 0.35 * g)
            for gap in (0.46, 0.64, 0.82):
                rr = lerp(r_label + 2.0, R, gap)
                c = mix(c, (10, 10, 16), 0.8 * math.exp(-((r - rr) / 0.7) ** 2))
        # reflection: two opposite light wedges, brightest half way out
        w = max(0.0, math.cos(2.0 * (th + math.radians(50)))) ** 5
        radial = math.sin(math.pi * clamp((r - r_label) / (R - r_label)))
        c = mix(c, SHEEN, sheen * w * (0.35 + 0.65 * radial))
        # a thin bevel at the rim, lit from the top left
        rim = smoothstep(R - 1.8, R - 0.3, r)
        lit = 0.5 + 0.5 * math.cos(th + math.radians(135))
        c = mix(c, (92, 96, 150), rim * (0.25 + 0.6 * lit))
        return c
    return shade


def label_shader(cx, cy, r_label):
    def shade(x, y):
        dx, dy = x - cx, y - cy
        r = math.hypot(dx, dy)
        # light from the top left
        h = math.hypot(dx + r_label * 0.45, dy + r_label * 0.45) / (r_label * 1.6)
        c = mix(LABEL_HI, LABEL, smoothstep(0.0, 1.0, h))
        c = mix(c, LABEL_RIM, smoothstep(r_label - 1.6, r_label - 0.2, r))
        # a thin printed ring on the label
        c = mix(c, LABEL_RIM, 0.55 * math.exp(-((r - r_label * 0.62) / 0.45) ** 2))
        return c
    return shade


def render_text_mask(convert, font, text, pointsize, w, h, kerning=0.0):
    """Coverage mask (list of rows of 0..1) of text centred in a w x h box."""
    cmd = [convert, "-size", "%dx%d" % (w, h), "xc:black",
           "-font", font, "-pointsize", str(pointsize), "-kerning", str(kerning),
           "-fill", "white", "-gravity", "center", "-annotate", "+0+0", text,
           "-depth", "8", "gray:-"]
    env = dict(os.environ, MAGICK_THREAD_LIMIT="1", LC_ALL="C")
    raw = subprocess.run(cmd, check=True, stdout=subprocess.PIPE, env=env).stdout
    if len(raw) != w * h:
        sys.exit("make_artwork: unexpected output size from %s" % convert)
    return [[raw[y * w + x] / 255.0 for x in range(w)] for y in range(h)]


def draw_mask(cv, mask, ox, oy, colour_fn, alpha=1.0):
    for y, row in enumerate(mask):
        for x, m in enumerate(row):
            if m > 0.0 and 0 <= ox + x < cv.w and 0 <= oy + y < cv.h:
                cv.over(ox + x, oy + y, colour_fn(ox + x, oy + y), m * alpha)


def shadow(cv, sdf, bbox, dx, dy, blur, alpha):
    """A soft drop shadow: darkening that falls off over `blur` pixels."""
    x0, y0, x1, y1 = bbox
    for py in range(max(0, int(y0 + dy - blur)), min(cv.h, int(y1 + dy + blur + 1))):
        for px in range(max(0, int(x0 + dx - blur)), min(cv.w, int(x1 + dx + blur + 1))):
            d = sdf(px + 0.5 - dx, py + 0.5 - dy)
            a = alpha * (1.0 - smoothstep(-blur * 0.5, blur, d))
            cv.over(px, py, (4, 4, 20), a)


def make_sidebar(convert, font):
    cv = Canvas(SB_W, SB_H)
    for y in range(SB_H):
        for x in range(SB_W):
            cv.over(x, y, sidebar_background(x + 0.5, y + 0.5), 1.0)

    # --- the disc
    cx, cy, R, RL = 61.0, 84.0, 46.0, 16.0
    disc = sd_circle(cx, cy, R)
    dbox = (cx - R - 1, cy - R - 1, cx + R + 1, cy + R + 1)
    shadow(cv, disc, dbox, 2.5, 4.0, 6.0, 0.55)
    cv.fill(disc, disc_shader(cx, cy, R, RL), ss=3, bbox=dbox, shade_ss=True)
    lab = sd_circle(cx, cy, RL)
    cv.fill(lab, label_shader(cx, cy, RL), ss=4, bbox=(cx - RL - 1, cy - RL - 1, cx + RL + 1, cy + RL + 1))
    hole = sd_circle(cx, cy, 2.3)
    hbox = (cx - 4, cy - 4, cx + 4, cy + 4)
    cv.fill(hole, lambda x, y: mix(sidebar_background(x, y), (0, 0, 0), 0.35), ss=4, bbox=hbox)

    # --- notes: a beamed pair at the top left, a single note at the lower right
    f, box = beamed_notes(14.5, 42.0, 5.5, 15.5)
    shadow(cv, f, box, 1.5, 2.0, 3.0, 0.45)
    cv.fill(f, lambda x, y: mix(NOTE, NOTE_SHADE, smoothstep(38, 46, y)), ss=4, bbox=box)
    f, box = eighth_note(95.0, 136.0, 6.4)
    shadow(cv, f, box, 1.5, 2.0, 3.0, 0.45)
    cv.fill(f, lambda x, y: mix(NOTE, NOTE_SHADE, smoothstep(133, 141, y)), ss=4, bbox=box)

    # --- a tidy catalogue: four list rows with bullets and durations
    rows = [(150, 58), (160, 46), (170, 52), (180, 38)]
    for i, (ry, ln) in enumerate(rows):
        bullet = sd_circle(17.5, ry + 1.5, 2.0)
        cv.fill(bullet, AMBER, alpha=0.95 if i == 0 else 0.75, bbox=(13, ry - 3, 22, ry + 6))
        bar = sd_box(24, ry, 24 + ln, ry + 3)
        cv.fill(bar, (255, 255, 255), alpha=0.42 if i == 0 else 0.24, bbox=(22, ry - 1, 26 + ln, ry + 5))
        dur = sd_box(92, ry, 104, ry + 3)
        cv.fill(dur, (255, 255, 255), alpha=0.18, bbox=(90, ry - 1, 106, ry + 5))

    # --- the product name
    if font:
        mp3 = render_text_mask(convert, font, "mp3", 13, SB_W, 20, kerning=1.5)
        draw_mask(cv, mp3, 0, 196, lambda x, y: AMBER)
        name = render_text_mask(convert, font, "sondrel", 24, SB_W, 34)
        # a dark soft shadow, then the white name with a light violet foot
        for (ox, oy, a) in ((1, 1, 0.45), (0, 2, 0.25)):
            draw_mask(cv, name, ox, 210 + oy, lambda x, y: (10, 6, 40), a)
        draw_mask(cv, name, 0, 210, lambda x, y: mix((255, 255, 255), (214, 200, 255), smoothstep(222, 238, y)))
    # a hairline highlight under the name
    for x in range(SB_W):
        a = 0.55 * math.sin(math.pi * clamp((x - 14) / 92.0)) ** 2
        cv.over(x, 242, (230, 220, 255), a)

    # --- final pixels, with a little ordered dither against banding
    out = []
    for y in range(SB_H):
        row = []
        for x in range(SB_W):
            r, g, b, _ = cv.rgba(x, y)
            d = (BAYER4[y % 4][x % 4] + 0.5) / 16.0 - 0.5
            row.append(tuple(int(clamp(v + d, 0, 255) + 0.5) for v in (r, g, b)))
        out.append(row)
    return out


# ---------------------------------------------------------------------------
# The icon.

def icon_motif(size):
    """Renders the 32x32 (or scaled) motif as an RGBA canvas, supersampled."""
    k = size / 32.0
    cv = Canvas(size, size)
    cx, cy, R, RL = 14.0 * k, 14.0 * k, 14.0 * k, 5.2 * k
    disc = sd_circle(cx, cy, R)
    cv.fill(disc, disc_shader(cx, cy, R, RL, rings=(0.3, 0.62), sheen=0.6), ss=8, shade_ss=True)
    cv.fill(sd_circle(cx, cy, RL), label_shader(cx, cy, RL), ss=8)
    cv.fill(sd_circle(cx, cy, 1.3 * k), None, ss=8, erase=True)
    f, _ = eighth_note(19.8 * k, 25.9 * k, 4.6 * k, sw=2.0 * k, height=3.5)
    cv.fill(grow(f, 1.25 * k), OUTLINE, ss=8)
    cv.fill(f, lambda x, y: mix(NOTE, NOTE_SHADE, smoothstep(26 * k, 31 * k, y)), ss=8)
    return cv


# Hand-chosen 16-colour palette; index 0 is black, used for transparent pixels.
PAL16 = [
    (0, 0, 0),          # 0 transparent / black
    (20, 20, 30),       # 1 vinyl
    (40, 42, 60),       # 2 groove
    (70, 74, 112),      # 3 sheen, dim
    (112, 118, 180),    # 4 sheen
    (160, 166, 220),    # 5 sheen, bright
    (18, 20, 60),       # 6 outline navy
    (255, 255, 255),    # 7 white
    (214, 210, 246),    # 8 note shade
    (238, 124, 26),     # 9 label orange
    (255, 170, 64),     # 10 label light
    (255, 212, 130),    # 11 label highlight
    (186, 82, 16),      # 12 label rim
    (92, 96, 150),      # 13 rim bevel
    (46, 34, 122),      # 14 indigo
    (128, 128, 128),    # 15 grey
]


def nearest(pal, c, start=0):
    best, bi = None, start
    for i in range(start, len(pal)):
        p = pal[i]
        # weighted distance, roughly perceptual
        d = 2 * (p[0] - c[0]) ** 2 + 4 * (p[1] - c[1]) ** 2 + 3 * (p[2] - c[2]) ** 2
        if best is None or d < best:
            best, bi = d, i
    return bi


def quantise16(cv):
    """Maps an RGBA canvas to (indices, mask) using PAL16."""
    idx, mask = [], []
    for y in range(cv.h):
        ir, mr = [], []
        for x in range(cv.w):
            r, g, b, a = cv.rgba(x, y)
            if a < 0.5:
                ir.append(0)
                mr.append(1)
            else:
                ir.append(nearest(PAL16, (r, g, b), start=1))
                mr.append(0)
        idx.append(ir)
        mask.append(mr)
    return idx, mask


# The 16x16 image is drawn by hand: a simpler disc and a bolder note.
# Letters map to PAL16 indices; '.' is transparent.
ICON16_KEY = {
    '.': 0, 'k': 1, 'g': 2, 'd': 3, 's': 4, 'S': 5, 'n': 6, 'W': 7, 'w': 8,
    'o': 9, 'l': 10, 'h': 11, 'r': 12, 'b': 13, 'i': 14, 'x': 15,
}
ICON16 = [
    "....ddkkk.......",
    "..dkkkkkSkknnn..",
    ".dkkggggsSknWWn.",
    ".dkgkkkkkgSnWWWn",
    "dkgkkhlokkgnWnWn",
    "dkgkhloookgnWnWn",
    "dkgklokorkgnWnn.",
    "dkgkooorrkgnWn..",
    "dsgkkorrkkgnWn..",
    ".SsgkkkkkgknWn..",
    ".kSsggggkknnWn..",
    "..ksSkkkknWWWn..",
    "....kkkknWWWWn..",
    ".......nWWWWn...",
    ".......nwWWn....",
    "........nnn.....",
]


def parse16():
    idx, mask = [], []
    for row in ICON16:
        assert len(row) == 16, row
        idx.append([ICON16_KEY[c] for c in row])
        mask.append([1 if c == '.' else 0 for c in row])
    return idx, mask


def median_cut(colours, n):
    """Deterministic median-cut palette (list of RGB tuples) for a list of colours."""
    boxes = [sorted(colours)]
    while len(boxes) < n:
        # split the box with the widest channel range (ties: first box)
        best, bi, bc = -1, -1, 0
        for i, bx in enumerate(boxes):
            if len(set(bx)) < 2:
                continue
            for ch in range(3):
                vs = [c[ch] for c in bx]
                rng = max(vs) - min(vs)
                if rng > best:
                    best, bi, bc = rng, i, ch
        if bi < 0:
            break
        bx = sorted(boxes[bi], key=lambda c: (c[bc], c))
        mid = len(bx) // 2
        boxes[bi:bi + 1] = [bx[:mid], bx[mid:]]
    pal = []
    for bx in boxes:
        pal.append(tuple(int(sum(c[ch] for c in bx) / len(bx) + 0.5) for ch in range(3)))
    return pal


def quantise256(cv):
    colours, mask = [], []
    for y in range(cv.h):
        mr = []
        for x in range(cv.w):
            r, g, b, a = cv.rgba(x, y)
            if a < 0.5:
                mr.append(1)
            else:
                mr.append(0)
                colours.append(tuple(int(clamp(v, 0, 255) + 0.5) for v in (r, g, b)))
        mask.append(mr)
    uniq = sorted(set(colours))
    used = uniq if len(uniq) <= 255 else sorted(set(median_cut(colours, 255)))
    pal = [(0, 0, 0)] + used
    lookup = {c: i for i, c in enumerate(pal) if i > 0}
    idx = []
    for y in range(cv.h):
        ir = []
        for x in range(cv.w):
            if mask[y][x]:
                ir.append(0)
                continue
            r, g, b, _ = cv.rgba(x, y)
            c = tuple(int(clamp(v, 0, 255) + 0.5) for v in (r, g, b))
            if c not in lookup:
                lookup[c] = nearest(pal, c, start=1)
            ir.append(lookup[c])
        idx.append(ir)
    pal += [(0, 0, 0)] * (256 - len(pal))
    return idx, mask, pal


# ---------------------------------------------------------------------------
# File writers.

def dib_entry(w, h, bpp, palette, idx, mask):
    """BITMAPINFOHEADER + palette + XOR bitmap + AND mask, as in an ICO file."""
    ncol = 1 << bpp
    assert len(palette) == ncol
    xor_stride = ((w * bpp + 31) // 32) * 4
    and_stride = ((w + 31) // 32) * 4
    xor = bytearray()
    for y in range(h - 1, -1, -1):               # bottom-up
        row = bytearray(xor_stride)
        for x in range(w):
            v = idx[y][x]
            assert 0 <= v < ncol
            if bpp == 8:
                row[x] = v
            else:
                row[x // 2] |= v << (4 if x % 2 == 0 else 0)
        xor += row
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(and_stride)
        for x in range(w):
            if mask[y][x]:
                row[x // 8] |= 0x80 >> (x % 8)
        andm += row
    hdr = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bpp, 0,
                      len(xor) + len(andm), 0, 0, 0, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return hdr + pal + bytes(xor) + bytes(andm)


def write_ico(path, images):
    """images: list of (w, h, bpp, palette, idx, mask)."""
    blobs = [dib_entry(*im) for im in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        w, h, bpp = im[0], im[1], im[2]
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 16 if bpp == 4 else 0, 0,
                           1, bpp, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


def write_bmp24(path, rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for (r, g, b) in rows[y]:
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        data += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(head + info + bytes(data))


def main(argv):
    import argparse
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("outdir")
    ap.add_argument("--convert", default="/usr/bin/convert")
    ap.add_argument("--font", default="/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf")
    a = ap.parse_args(argv)
    if not os.path.isfile(a.font):
        sys.exit("make_artwork: font %s not found (Debian package fonts-dejavu-core)" % a.font)
    os.makedirs(a.outdir, exist_ok=True)

    big = icon_motif(32)
    i32, m32 = quantise16(big)
    i16, m16 = parse16()
    i256, m256, p256 = quantise256(big)
    write_ico(os.path.join(a.outdir, "sondrel.ico"), [
        (32, 32, 4, PAL16, i32, m32),
        (16, 16, 4, PAL16, i16, m16),
        (32, 32, 8, p256, i256, m256),
    ])
    write_bmp24(os.path.join(a.outdir, "sidebar.bmp"), make_sidebar(a.convert, a.font))


if __name__ == "__main__":
    main(sys.argv[1:])
