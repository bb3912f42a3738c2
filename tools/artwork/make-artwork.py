#!/usr/bin/python3
"""Artwork generator for 鹭笙语音阅读器 (lusheng-reader).

Makes:
  assets/images/background.jpg       960x720 baseline JPEG, the main window
                                     background (spring lawn, sky, clouds,
                                     hanging leaves, a seedling, soap bubbles
                                     and sparkles)
  assets/icons/lusheng-reader-128.png 128x128 RGBA application icon (smiling
                                     face with a speech bubble)
  assets/icons/lusheng-reader-32.png  the same icon at 32x32

Rerun from the repository root with:
    /usr/bin/python3 tools/artwork/make-artwork.py
It needs only Python 3 with PIL (Debian package python3-pil).  The output is
deterministic (fixed random seed).  The generated files are committed to the
repository, so building the program never needs Python.
"""

import math
import os
import random

from PIL import Image, ImageChops, ImageDraw, ImageFilter

SS = 2  # supersampling factor for the background
ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


# ----------------------------------------------------------------- helpers
def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(int(round(lerp(a, b, t))) for a, b in zip(c1, c2))


def vertical_gradient(size, stops):
    """RGB image with a vertical gradient; stops = [(pos 0..1, (r,g,b)), ...]."""
    w, h = size
    col = Image.new("RGB", (1, h))
    px = col.load()
    for y in range(h):
        p = y / max(1, h - 1)
        for i in range(len(stops) - 1):
            p0, c0 = stops[i]
            p1, c1 = stops[i + 1]
            if p <= p1 or i == len(stops) - 2:
                t = 0.0 if p1 == p0 else min(1.0, max(0.0, (p - p0) / (p1 - p0)))
                t = t * t * (3 - 2 * t)
                px[0, y] = mix(c0, c1, t)
                break
    return col.resize((w, h), Image.BILINEAR)


def paste_color(base, color, mask):
    """Composite a solid colour onto RGBA base through an L mask."""
    layer = Image.new("RGBA", base.size, color + (255,))
    layer.putalpha(mask)
    base.alpha_composite(layer)


def hill_curve(w, y0, amp, waves, phase):
    pts = []
    for x in range(0, w + 1, 8):
        t = x / w
        y = y0
        for k, (a, f, ph) in enumerate(zip(amp, waves, phase)):
            y += a * math.sin(2 * math.pi * f * t + ph)
        pts.append((x, y))
    return pts


def leaf_edges(base, tip, width, bend=0.0, n=28):
    """Left edge, right edge and midrib of a leaf going from base to tip."""
    bx, by = base
    tx, ty = tip
    dx, dy = tx - bx, ty - by
    length = math.hypot(dx, dy)
    nx, ny = -dy / length, dx / length
    left, right, mid = [], [], []
    for i in range(n + 1):
        t = i / n
        half = width * 0.5 * (math.sin(math.pi * t) ** 0.85) * (1.0 - 0.3 * t)
        curve = bend * length * math.sin(math.pi * t) * 0.5
        cx = bx + dx * t + nx * curve
        cy = by + dy * t + ny * curve
        mid.append((cx, cy))
        left.append((cx + nx * half, cy + ny * half))
        right.append((cx - nx * half, cy - ny * half))
    return left, right, mid


def draw_leaf(layer, base, tip, width, light, dark, vein, bend=0.0, shadow=True, edge=None):
    left, right, mid = leaf_edges(base, tip, width, bend)
    outline = left + right[::-1]
    if shadow:
        sh = Image.new("L", layer.size, 0)
        ImageDraw.Draw(sh).polygon([(x + 6 * SS, y + 9 * SS) for x, y in outline], fill=60)
        sh = sh.filter(ImageFilter.GaussianBlur(6 * SS))
        paste_color(layer, (40, 80, 60), sh)
    d = ImageDraw.Draw(layer)
    d.polygon(outline, fill=dark + (255,))
    d.polygon(left + mid[::-1], fill=light + (255,))
    # a soft sheen on the lit half
    n = len(mid) - 1
    sheen = [mix_pt(mid[i], left[i], 0.45) for i in range(3, n - 4)]
    d.line(sheen, fill=mix(light, (255, 255, 255), 0.25) + (120,), width=max(1, int(width * 0.08)))
    # side veins, running from the midrib towards the edge and the tip
    vw = max(1, int(width * 0.022))
    for i in range(3, n - 4, 4):
        for side_edge in (left, right):
            j = min(n, i + 4)
            end = mix_pt(mid[j], side_edge[j], 0.72)
            d.line([mid[i], end], fill=vein + (110,), width=vw)
    d.line(mid[:-2], fill=vein + (230,), width=max(1, int(width * 0.045)))
    if edge:
        d.line(outline + [outline[0]], fill=edge + (255,), width=max(1, int(width * 0.035)), joint="curve")


def mix_pt(a, b, t):
    return (lerp(a[0], b[0], t), lerp(a[1], b[1], t))


# ------------------------------------------------------------- background
def make_background(path):
    rnd = random.Random(20240417)
    W, H = 960 * SS, 720 * SS
    horizon = int(H * 0.34)

    img = Image.new("RGBA", (W, H))
    sky = vertical_gradient((W, horizon + 80 * SS), [
        (0.0, (66, 146, 226)), (0.55, (125, 189, 243)), (1.0, (205, 234, 252))])
    img.paste(sky, (0, 0))

    # sun glow, top left behind the clouds
    glow = Image.new("L", (W, H), 0)
    ImageDraw.Draw(glow).ellipse((-160 * SS, -200 * SS, 260 * SS, 200 * SS), fill=150)
    glow = glow.filter(ImageFilter.GaussianBlur(90 * SS))
    paste_color(img, (255, 252, 225), glow)

    # clouds: clusters of round puffs; each puff has a pale blue-grey lower
    # side and a white lit top, which gives the fluffy, layered look
    def cloud(cx, cy, scale, alpha=255):
        r0 = 60 * SS * scale
        puffs = []
        # bottom row of smaller puffs
        for k in range(6):
            t = k / 5
            x = cx + (t - 0.5) * r0 * 3.6 + rnd.uniform(-0.1, 0.1) * r0
            puffs.append((x, cy + r0 * 0.15 + rnd.uniform(-0.08, 0.08) * r0,
                          r0 * rnd.uniform(0.42, 0.55) * (1.0 - 0.35 * abs(t - 0.5))))
        # upper, bigger puffs
        for x_off, y_off, rr in ((-0.75, -0.25, 0.62), (0.05, -0.55, 0.85), (0.8, -0.3, 0.6)):
            puffs.append((cx + x_off * r0 + rnd.uniform(-0.06, 0.06) * r0,
                          cy + y_off * r0 + rnd.uniform(-0.05, 0.05) * r0, rr * r0))
        puffs.sort(key=lambda p_: p_[1])
        shape = Image.new("L", (W, H), 0)
        lit = Image.new("L", (W, H), 0)
        sd_, ld_ = ImageDraw.Draw(shape), ImageDraw.Draw(lit)
        for x, y, r in puffs:
            sd_.ellipse((x - r, y - r, x + r, y + r), fill=255)
            ri = r * 0.82
            ox, oy = -r * 0.05, -r * 0.16
            ld_.ellipse((x + ox - ri, y + oy - ri, x + ox + ri, y + oy + ri), fill=255)
        # fill the gaps between the lower puffs so the base is a smooth line
        low = [p_ for p_ in puffs if p_[1] > cy]
        x_min = min(p_[0] for p_ in low)
        x_max = max(p_[0] for p_ in low)
        sd_.rectangle((x_min, cy, x_max, cy + r0 * 0.6), fill=255)
        lit = lit.filter(ImageFilter.GaussianBlur(r0 * 0.07))
        layer = Image.new("RGBA", (W, H), (204, 220, 242, 255))
        paste_color(layer, (255, 255, 255), lit)
        layer.putalpha(shape)
        # flatten the bottom with a slightly rounded cut
        bottom = cy + r0 * 0.5
        cut = Image.new("L", (W, H), 255)
        ImageDraw.Draw(cut).rectangle((0, bottom, W, H), fill=0)
        alpha_ch = ImageChops.multiply(layer.getchannel("A"), cut)
        layer.putalpha(alpha_ch)
        # bluish base line along the flat bottom
        base = Image.new("L", (W, H), 0)
        ImageDraw.Draw(base).rectangle((0, bottom - r0 * 0.22, W, bottom), fill=200)
        base = ImageChops.multiply(base.filter(ImageFilter.GaussianBlur(r0 * 0.12)), alpha_ch)
        paste_color(layer, (208, 222, 242), base)
        layer.putalpha(alpha_ch)
        layer = layer.filter(ImageFilter.GaussianBlur(0.9 * SS))
        if alpha < 255:
            layer.putalpha(layer.getchannel("A").point(lambda v: v * alpha // 255))
        halo = layer.getchannel("A").filter(ImageFilter.GaussianBlur(14 * SS * scale)).point(lambda v: v * 0.18)
        paste_color(img, (255, 255, 255), halo)
        img.alpha_composite(layer)

    cloud(190 * SS, 95 * SS, 1.05)
    cloud(430 * SS, 60 * SS, 0.6)
    cloud(95 * SS, 205 * SS, 0.55)
    cloud(560 * SS, 172 * SS, 0.32, alpha=230)

    # far hill (lighter, hazy)
    far = hill_curve(W, horizon - 6 * SS, [14 * SS, 8 * SS], [1.1, 2.7], [0.6, 1.9])
    far_mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(far_mask).polygon(far + [(W, H), (0, H)], fill=255)
    far_mask = far_mask.filter(ImageFilter.GaussianBlur(1.5 * SS))
    paste_color(img, (160, 214, 128), far_mask)

    # main lawn with a gentle hill line
    near = hill_curve(W, horizon + 26 * SS, [18 * SS, 7 * SS], [0.75, 2.1], [2.4, 0.3])
    lawn_mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(lawn_mask).polygon(near + [(W, H), (0, H)], fill=255)
    lawn_mask = lawn_mask.filter(ImageFilter.GaussianBlur(1.2 * SS))
    lawn = vertical_gradient((W, H), [
        (0.0, (150, 212, 96)), (0.33, (150, 212, 96)), (0.45, (136, 204, 84)),
        (0.75, (122, 194, 78)), (1.0, (108, 182, 70))]).convert("RGBA")
    # broad soft light/dark patches for gentle shading
    patches = Image.new("L", (W, H), 128)
    pd = ImageDraw.Draw(patches)
    for _ in range(26):
        x = rnd.uniform(0, W)
        y = rnd.uniform(horizon, H)
        rx = rnd.uniform(120, 320) * SS
        ry = rx * rnd.uniform(0.25, 0.45)
        pd.ellipse((x - rx, y - ry, x + rx, y + ry), fill=rnd.choice([108, 150]))
    patches = patches.filter(ImageFilter.GaussianBlur(60 * SS))
    light = patches.point(lambda v: max(0, (v - 128) * 3))
    darkp = patches.point(lambda v: max(0, (128 - v) * 3))
    paste_color(lawn, (190, 232, 130), light)
    paste_color(lawn, (90, 160, 60), darkp)
    # a soft fold across the lawn for depth: light crest, faint shade below
    fold = hill_curve(W, horizon + 150 * SS, [22 * SS, 8 * SS], [0.6, 1.7], [0.9, 2.2])
    fl = Image.new("L", (W, H), 0)
    ImageDraw.Draw(fl).line(fold, fill=90, width=30 * SS)
    fl = fl.filter(ImageFilter.GaussianBlur(26 * SS))
    paste_color(lawn, (180, 228, 120), fl)
    fs = Image.new("L", (W, H), 0)
    ImageDraw.Draw(fs).line([(x, y + 40 * SS) for x, y in fold], fill=45, width=40 * SS)
    fs = fs.filter(ImageFilter.GaussianBlur(30 * SS))
    paste_color(lawn, (80, 150, 54), fs)
    # a lit band along the hill crest
    crest = Image.new("L", (W, H), 0)
    ImageDraw.Draw(crest).line(near, fill=120, width=22 * SS)
    crest = crest.filter(ImageFilter.GaussianBlur(18 * SS))
    paste_color(lawn, (200, 236, 140), crest)
    # grass texture: many short, low-contrast blades
    blades = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    bd = ImageDraw.Draw(blades)
    for _ in range(26000):
        x = rnd.uniform(0, W)
        y = rnd.uniform(horizon - 10 * SS, H)
        depth = (y - horizon) / (H - horizon)
        L = (4 + 12 * depth) * SS * rnd.uniform(0.6, 1.2)
        lean = rnd.uniform(-0.35, 0.35)
        if rnd.random() < 0.5:
            c = (178, 228, 118, int(70 + 40 * depth))
        else:
            c = (88, 158, 56, int(55 + 35 * depth))
        bd.line([(x, y), (x + lean * L, y - L)], fill=c, width=max(1, int(SS * (0.6 + depth))))
    blades = blades.filter(ImageFilter.GaussianBlur(0.4 * SS))
    lawn.alpha_composite(blades)
    # a few tiny daisies and buttercups, sparse, towards the sides
    fd = ImageDraw.Draw(lawn)
    for _ in range(38):
        side = rnd.random()
        x = rnd.uniform(0, W * 0.22) if side < 0.5 else rnd.uniform(W * 0.6, W)
        y = rnd.uniform(horizon + 50 * SS, H - 10 * SS)
        depth = (y - horizon) / (H - horizon)
        r = (2 + 3.5 * depth) * SS
        if rnd.random() < 0.6:
            for k in range(6):
                a = k * math.pi / 3 + rnd.uniform(0, 0.3)
                px_, py_ = x + math.cos(a) * r, y + math.sin(a) * r * 0.6
                fd.ellipse((px_ - r * 0.6, py_ - r * 0.45, px_ + r * 0.6, py_ + r * 0.45),
                           fill=(255, 255, 255, 235))
            fd.ellipse((x - r * 0.45, y - r * 0.35, x + r * 0.45, y + r * 0.35), fill=(250, 206, 60, 255))
        else:
            fd.ellipse((x - r * 0.7, y - r * 0.55, x + r * 0.7, y + r * 0.55), fill=(255, 222, 70, 240))
    lawn.putalpha(lawn_mask)
    img.alpha_composite(lawn)

    # seedling on a little soil mound, right side of the lawn
    sx, sy = 800 * SS, 650 * SS
    plant = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    shadow = Image.new("L", (W, H), 0)
    ImageDraw.Draw(shadow).ellipse((sx - 80 * SS, sy - 6 * SS, sx + 88 * SS, sy + 26 * SS), fill=120)
    shadow = shadow.filter(ImageFilter.GaussianBlur(10 * SS))
    paste_color(plant, (60, 110, 40), shadow)
    pd = ImageDraw.Draw(plant)
    mound = [(sx - 70 * SS, sy + 10 * SS)]
    for i in range(41):
        t = i / 40
        x = sx - 70 * SS + 140 * SS * t
        y = sy + 10 * SS - 34 * SS * (math.sin(math.pi * t) ** 0.8)
        mound.append((x, y))
    mound.append((sx + 70 * SS, sy + 12 * SS))
    pd.polygon(mound + [(sx, sy + 18 * SS)], fill=(132, 92, 58, 255))
    # soil lighting and crumbs
    lit = Image.new("L", (W, H), 0)
    ImageDraw.Draw(lit).ellipse((sx - 55 * SS, sy - 26 * SS, sx + 10 * SS, sy + 2 * SS), fill=140)
    lit = lit.filter(ImageFilter.GaussianBlur(10 * SS))
    mmask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mmask).polygon(mound + [(sx, sy + 18 * SS)], fill=255)
    paste_color(plant, (176, 128, 84), Image.composite(lit, Image.new("L", (W, H), 0), mmask))
    pd = ImageDraw.Draw(plant)
    for _ in range(70):
        t = rnd.uniform(0.08, 0.92)
        x = sx - 70 * SS + 140 * SS * t
        ytop = sy + 10 * SS - 34 * SS * (math.sin(math.pi * t) ** 0.8)
        y = rnd.uniform(ytop + 4 * SS, sy + 10 * SS)
        r = rnd.uniform(1.0, 2.4) * SS
        c = rnd.choice([(104, 70, 44, 255), (160, 116, 76, 255), (118, 82, 52, 255)])
        pd.ellipse((x - r, y - r, x + r, y + r), fill=c)
    # grass tufts around the mound's foot
    for _ in range(70):
        x = rnd.uniform(sx - 80 * SS, sx + 80 * SS)
        y = sy + rnd.uniform(9, 18) * SS
        L = rnd.uniform(4, 10) * SS
        pd.line([(x, y), (x + rnd.uniform(-4, 4) * SS, y - L)],
                fill=rnd.choice([(96, 170, 62, 255), (140, 206, 92, 255)]), width=int(1.5 * SS))
    # stem
    stem = []
    top = (sx + 4 * SS, sy - 130 * SS)
    for i in range(31):
        t = i / 30
        x = sx + 2 * SS * 0 + 10 * SS * math.sin(math.pi * t * 0.9) * (1 - t) + (top[0] - sx) * t
        y = sy - 24 * SS + (top[1] - (sy - 24 * SS)) * t
        stem.append((x, y))
    pd.line(stem, fill=(70, 138, 36, 255), width=11 * SS, joint="curve")
    pd.line(stem, fill=(124, 190, 56, 255), width=8 * SS, joint="curve")
    pd.line([(x - 2 * SS, y) for x, y in stem], fill=(184, 232, 110, 255), width=3 * SS, joint="curve")
    # leaves: two big ones and a small new one, brighter than the lawn
    tx, ty = top
    edge = (70, 138, 36)
    draw_leaf(plant, (tx, ty + 6 * SS), (tx - 100 * SS, ty - 36 * SS), 50 * SS,
              (178, 232, 88), (126, 196, 52), (96, 160, 40), bend=-0.22, edge=edge)
    draw_leaf(plant, (tx, ty + 6 * SS), (tx + 104 * SS, ty - 50 * SS), 54 * SS,
              (160, 222, 74), (112, 184, 46), (86, 150, 36), bend=0.22, edge=edge)
    draw_leaf(plant, (tx, ty + 2 * SS), (tx + 6 * SS, ty - 48 * SS), 22 * SS,
              (200, 240, 120), (150, 212, 78), (110, 170, 50), bend=0.15, shadow=False, edge=edge)
    img.alpha_composite(plant)

    # branch with hanging leaves entering at the top right
    br = Image.new("RGBA", (W, H), (0, 0, 0, 0))

    def bezier(p0, p1, p2, n=40):
        return [((1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * p1[0] + t * t * p2[0],
                 (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * p1[1] + t * t * p2[1])
                for t in (i / n for i in range(n + 1))]

    main_br = bezier((W + 30 * SS, -16 * SS), (W - 190 * SS, 70 * SS), (W - 400 * SS, 52 * SS))
    twig_a = bezier(main_br[14], (W - 250 * SS, 110 * SS), (W - 270 * SS, 150 * SS), 24)
    twig_b = bezier(main_br[4], (W - 70 * SS, 90 * SS), (W - 46 * SS, 140 * SS), 20)
    twigs = [(main_br, 17, 5), (twig_a, 6, 3), (twig_b, 7, 3)]

    bsh = Image.new("L", (W, H), 0)
    sd_ = ImageDraw.Draw(bsh)
    for line, w0, w1 in twigs:
        sd_.line([(x + 7 * SS, y + 11 * SS) for x, y in line], fill=60, width=int(w0 * SS))
    bsh = bsh.filter(ImageFilter.GaussianBlur(8 * SS))
    paste_color(br, (40, 70, 110), bsh)

    def draw_twig(line, w0, w1):
        d_ = ImageDraw.Draw(br)
        n = len(line) - 1
        for i in range(n):
            t = i / n
            wdt = (w0 + (w1 - w0) * t) * SS
            d_.line([line[i], line[i + 1]], fill=(108, 74, 48, 255), width=int(wdt) + 1)
            r_ = wdt / 2
            d_.ellipse((line[i][0] - r_, line[i][1] - r_, line[i][0] + r_, line[i][1] + r_), fill=(108, 74, 48, 255))
        for i in range(n):
            t = i / n
            wdt = (w0 + (w1 - w0) * t) * SS
            d_.line([(line[i][0], line[i][1] - wdt * 0.22), (line[i + 1][0], line[i + 1][1] - wdt * 0.22)],
                    fill=(156, 116, 78, 255), width=max(1, int(wdt * 0.3)))

    leaves = []
    for li, (line, w0, w1) in enumerate(twigs):
        n = len(line) - 1
        count = 11 if li == 0 else 5
        for k in range(count):
            t = 0.06 + 0.94 * (k + rnd.uniform(0.0, 0.4)) / count
            i = min(n - 1, int(t * n))
            (x0, y0), (x1, y1) = line[i], line[i + 1]
            dir_ = math.atan2(y1 - y0, x1 - x0)
            side = 1 if k % 2 else -1
            ang = dir_ + side * math.radians(rnd.uniform(45, 75))
            # gravity: pull every leaf towards hanging straight down
            down = math.pi / 2
            diff = (ang - down + math.pi) % (2 * math.pi) - math.pi
            ang = down + diff * 0.45
            size = rnd.uniform(0.8, 1.1) * (1.0 - 0.3 * t if li == 0 else 0.8)
            leaves.append((rnd.random(), line[i], ang, size))
    # one leaf at each twig end
    for line, w0, w1 in twigs:
        (x0, y0), (x1, y1) = line[-2], line[-1]
        dir_ = math.atan2(y1 - y0, x1 - x0)
        down = math.pi / 2
        diff = (dir_ - down + math.pi) % (2 * math.pi) - math.pi
        leaves.append((rnd.random(), line[-1], down + diff * 0.6, 0.8))

    palette = [((86, 168, 60), (60, 134, 44), (44, 104, 32)),
               ((110, 192, 72), (76, 156, 52), (56, 122, 38)),
               ((132, 210, 86), (92, 174, 60), (62, 132, 42))]
    leaves.sort(key=lambda l: l[0])
    back = [l for l in leaves if l[0] < 0.35]
    front = [l for l in leaves if l[0] >= 0.35]

    def put_leaf(base, ang, size, pal):
        lt, dk, vn = pal
        pet = 12 * SS * size
        start = (base[0] + math.cos(ang) * pet, base[1] + math.sin(ang) * pet)
        ImageDraw.Draw(br).line([base, start], fill=(96, 120, 50, 255), width=int(3 * SS))
        length = 118 * SS * size
        tipp = (start[0] + math.cos(ang) * length, start[1] + math.sin(ang) * length)
        draw_leaf(br, start, tipp, 50 * SS * size, lt, dk, vn, bend=rnd.uniform(-0.25, 0.25))

    for depth, base, ang, size in back:
        put_leaf(base, ang, size, palette[0])
    for line, w0, w1 in twigs[::-1]:
        draw_twig(line, w0, w1)
    for depth, base, ang, size in front:
        put_leaf(base, ang, size, palette[1 if depth < 0.7 else 2])
    img.alpha_composite(br)

    # soap bubbles
    bub = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    bubbles = [(560, 250, 34), (610, 195, 20), (505, 300, 14), (680, 300, 24),
               (350, 170, 18), (300, 230, 11), (860, 250, 24), (900, 330, 13),
               (120, 420, 22), (70, 360, 12), (640, 420, 12), (470, 120, 12),
               (735, 235, 9), (210, 330, 15), (40, 560, 16), (930, 470, 10)]
    for bx, by, r in bubbles:
        bx, by, r = bx * SS, by * SS, r * SS
        layer = Image.new("RGBA", (W, H), (0, 0, 0, 0))
        ld = ImageDraw.Draw(layer)
        ld.ellipse((bx - r, by - r, bx + r, by + r), fill=(235, 248, 255, 38))
        # iridescent rim: pink on one side, cyan on the other
        ld.arc((bx - r, by - r, bx + r, by + r), 100, 260, fill=(255, 190, 235, 150), width=max(2, int(r * 0.09)))
        ld.arc((bx - r, by - r, bx + r, by + r), 260, 460, fill=(170, 235, 255, 150), width=max(2, int(r * 0.09)))
        ld.ellipse((bx - r, by - r, bx + r, by + r), outline=(255, 255, 255, 170), width=max(2, int(r * 0.05)))
        layer = layer.filter(ImageFilter.GaussianBlur(max(1, r * 0.03)))
        ld = ImageDraw.Draw(layer)
        # highlights
        hx, hy = bx - r * 0.42, by - r * 0.45
        ld.ellipse((hx - r * 0.22, hy - r * 0.14, hx + r * 0.22, hy + r * 0.14), fill=(255, 255, 255, 220))
        ld.arc((bx - r * 0.78, by - r * 0.78, bx + r * 0.78, by + r * 0.78), 190, 235,
               fill=(255, 255, 255, 200), width=max(2, int(r * 0.07)))
        ld.ellipse((bx + r * 0.42 - r * 0.08, by + r * 0.5 - r * 0.08, bx + r * 0.42 + r * 0.08, by + r * 0.5 + r * 0.08),
                   fill=(255, 255, 255, 150))
        bub.alpha_composite(layer)
    img.alpha_composite(bub)

    # sparkles: four-pointed glints with a soft glow
    spark_mask = Image.new("L", (W, H), 0)
    glow_mask = Image.new("L", (W, H), 0)
    sd = ImageDraw.Draw(spark_mask)
    gd = ImageDraw.Draw(glow_mask)
    sparks = [(585, 160, 13), (520, 215, 7), (700, 360, 9), (395, 205, 8), (250, 290, 10),
              (820, 280, 7), (905, 450, 11), (160, 380, 8), (735, 475, 6), (460, 360, 6),
              (660, 95, 7), (330, 100, 6), (90, 300, 6), (960 - 30, 250, 7)]
    for x, y, s in sparks:
        x, y, s = x * SS, y * SS, s * SS
        pts = []
        for i in range(8):
            a = i * math.pi / 4 - math.pi / 2
            rr = s if i % 2 == 0 else s * 0.2
            pts.append((x + math.cos(a) * rr, y + math.sin(a) * rr))
        sd.polygon(pts, fill=255)
        gd.ellipse((x - s * 0.8, y - s * 0.8, x + s * 0.8, y + s * 0.8), fill=200)
    glow_mask = glow_mask.filter(ImageFilter.GaussianBlur(4 * SS))
    paste_color(img, (255, 250, 200), glow_mask)
    paste_color(img, (255, 255, 255), spark_mask.filter(ImageFilter.GaussianBlur(0.5 * SS)))

    out = img.convert("RGB").resize((W // SS, H // SS), Image.LANCZOS)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    out.save(path, "JPEG", quality=90, progressive=False, optimize=True)


# ------------------------------------------------------------------- icon
def make_icon(size):
    """Smiling face with a speech bubble, drawn at 8x and reduced."""
    S = 8
    N = size * S
    u = N / 128.0  # one unit of the 128-px design grid
    stroke = 1.0 if size >= 64 else 1.6  # thicker lines for the small icon
    img = Image.new("RGBA", (N, N), (0, 0, 0, 0))

    # face geometry
    cx, cy, r = 56 * u, 54 * u, 48 * u
    # soft drop shadow
    sh = Image.new("L", (N, N), 0)
    ImageDraw.Draw(sh).ellipse((cx - r + 2 * u, cy - r + 4 * u, cx + r + 2 * u, cy + r + 4 * u), fill=90)
    sh = sh.filter(ImageFilter.GaussianBlur(3 * u))
    paste_color(img, (120, 80, 0), sh)
    # rim and face with a radial-ish gradient
    d = ImageDraw.Draw(img)
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=(236, 150, 20, 255))
    rim = 4.5 * u * stroke
    ri = r - rim
    face = Image.new("RGBA", (N, N), (0, 0, 0, 0))
    steps = 40
    for i in range(steps):
        t = i / (steps - 1)
        rr = ri * (1 - 0.72 * t)
        ox, oy = -ri * 0.28 * t, -ri * 0.32 * t
        c = mix((250, 190, 30), (255, 236, 110), t ** 0.8)
        ImageDraw.Draw(face).ellipse((cx + ox - rr, cy + oy - rr, cx + ox + rr, cy + oy + rr), fill=c + (255,))
    face = face.filter(ImageFilter.GaussianBlur(2 * u))
    fmask = Image.new("L", (N, N), 0)
    ImageDraw.Draw(fmask).ellipse((cx - ri, cy - ri, cx + ri, cy + ri), fill=255)
    face.putalpha(fmask)
    img.alpha_composite(face)
    # shine
    shine = Image.new("L", (N, N), 0)
    ImageDraw.Draw(shine).ellipse((cx - 30 * u, cy - 38 * u, cx + 2 * u, cy - 20 * u), fill=170)
    shine = shine.filter(ImageFilter.GaussianBlur(3 * u))
    paste_color(img, (255, 255, 240), shine)
    d = ImageDraw.Draw(img)
    # cheeks
    blush = Image.new("L", (N, N), 0)
    bd = ImageDraw.Draw(blush)
    for ex in (-26, 26):
        bd.ellipse((cx + (ex - 8) * u, cy + 6 * u, cx + (ex + 8) * u, cy + 15 * u), fill=120)
    blush = blush.filter(ImageFilter.GaussianBlur(2.5 * u))
    paste_color(img, (255, 120, 90), blush)
    d = ImageDraw.Draw(img)
    # eyes
    ew, eh = 6.5 * u * (1 + (stroke - 1) * 0.5), 9.5 * u * (1 + (stroke - 1) * 0.4)
    for ex in (-16, 16):
        x, y = cx + ex * u, cy - 10 * u
        d.ellipse((x - ew, y - eh, x + ew, y + eh), fill=(92, 52, 10, 255))
        if size >= 64:
            d.ellipse((x - ew * 0.55, y - eh * 0.7, x + ew * 0.1, y - eh * 0.05), fill=(255, 255, 255, 255))
    # smile
    sw = int(5 * u * stroke)
    box = (cx - 27 * u, cy - 20 * u, cx + 27 * u, cy + 28 * u)
    d.arc(box, 25, 155, fill=(140, 70, 10, 255), width=sw)
    for a in (25, 155):
        ax = (box[0] + box[2]) / 2 + math.cos(math.radians(a)) * (box[2] - box[0]) / 2
        ay = (box[1] + box[3]) / 2 + math.sin(math.radians(a)) * (box[3] - box[1]) / 2
        ax -= math.cos(math.radians(a)) * sw / 2
        ay -= math.sin(math.radians(a)) * sw / 2
        d.ellipse((ax - sw / 2, ay - sw / 2, ax + sw / 2, ay + sw / 2), fill=(140, 70, 10, 255))

    # speech bubble at lower right, overlapping the face
    bx0, by0, bx1, by1 = 62 * u, 72 * u, 124 * u, 114 * u
    tail = [(76 * u, 108 * u), (66 * u, 126 * u), (92 * u, 110 * u)]
    bmask = Image.new("L", (N, N), 0)
    md = ImageDraw.Draw(bmask)
    md.rounded_rectangle((bx0, by0, bx1, by1), radius=16 * u, fill=255)
    md.polygon(tail, fill=255)
    # shadow of the bubble on the face
    bsh = bmask.filter(ImageFilter.GaussianBlur(2.5 * u)).point(lambda v: v * 0.45)
    bsh = bsh.transform(bsh.size, Image.AFFINE, (1, 0, -1.5 * u, 0, 1, -2.5 * u))
    paste_color(img, (90, 60, 20), bsh)
    # outline, then fill with a light-blue gradient
    outer = bmask.filter(ImageFilter.MaxFilter(int(2 * 3 * u * stroke) | 1))
    paste_color(img, (52, 132, 206), outer)
    grad = vertical_gradient((N, N), [(0.0, (226, 244, 255)), (0.55, (226, 244, 255)),
                                      (0.95, (160, 210, 246)), (1.0, (160, 210, 246))])
    grad = grad.convert("RGBA")
    grad.putalpha(bmask)
    img.alpha_composite(grad)
    # glossy top strip on the bubble
    gl = Image.new("L", (N, N), 0)
    ImageDraw.Draw(gl).rounded_rectangle((bx0 + 6 * u, by0 + 3 * u, bx1 - 8 * u, by0 + 12 * u), radius=5 * u, fill=150)
    gl = gl.filter(ImageFilter.GaussianBlur(1.5 * u))
    paste_color(img, (255, 255, 255), Image.composite(gl, Image.new("L", (N, N), 0), bmask))
    d = ImageDraw.Draw(img)
    # three dots
    dr = 5 * u * (1.25 if stroke > 1 else 1)
    for k, dx in enumerate((-15, 0, 15)):
        x, y = (bx0 + bx1) / 2 + dx * u, (by0 + by1) / 2 + 1 * u
        d.ellipse((x - dr, y - dr, x + dr, y + dr), fill=(40, 116, 196, 255))

    return img.resize((size, size), Image.LANCZOS)


def main():
    make_background(os.path.join(ROOT, "assets", "images", "background.jpg"))
    icons = os.path.join(ROOT, "assets", "icons")
    os.makedirs(icons, exist_ok=True)
    make_icon(128).save(os.path.join(icons, "lusheng-reader-128.png"), "PNG", optimize=True)
    make_icon(32).save(os.path.join(icons, "lusheng-reader-32.png"), "PNG", optimize=True)


if __name__ == "__main__":
    main()
