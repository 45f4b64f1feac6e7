#!/usr/bin/python3
"""Every construction kind on random configurations, from a size of 1e-6 to
1e6 and up to 1e6 sizes away from the origin, computed by
`tessarin-cli values --json` and checked against a 50-digit derivation made
here from the very numbers the program read.

usage: geometry_reference.py TESSARIN-CLI [SEED]
"""
import json
import math
import os
import random
import subprocess
import sys
import tempfile

from mpmath import mp, mpf

mp.dps = 50
CLI = sys.argv[1]
SEED = int(sys.argv[2]) if len(sys.argv) > 2 else 14
failures = []


def fail(what):
    failures.append(what)


def values(text, *extra):
    """Runs the values verb on a diagram text; (status, parsed, raw)."""
    fd, path = tempfile.mkstemp(suffix=".T")
    with os.fdopen(fd, "w") as f:
        f.write(text)
    try:
        r = subprocess.run([CLI, "values", path, "--json", *extra],
                           capture_output=True, text=True, timeout=60)
    finally:
        os.unlink(path)
    return r.returncode, (json.loads(r.stdout) if r.stdout else None), r.stdout


def first_records(text):
    """The records of the diagram as read (step 0), by name."""
    status, doc, _ = values(text)
    if status != 0:
        fail("values exited %d" % status)
        return {}
    return {r["name"]: r for r in doc["steps"][0]["records"]}


class Diagram:
    """A diagram text and, for each name, what the reference expects."""

    def __init__(self):
        self.lines = ['.geometry "version 0.65";']
        self.checks = []  # (name, check function(record, records))
        self.n = 0

    def add(self, expr, check=None):
        self.n += 1
        name = "r%d" % self.n
        self.lines.append("%s = %s;" % (name, expr))
        if check:
            self.checks.append((name, check))
        return name

    def free(self, x, y):
        return self.add(".free(%.17g, %.17g)" % (x, y))

    def text(self):
        return "\n".join(self.lines) + "\n"


# --- reference geometry at 50 digits ------------------------------------

def P(rec):
    """A point record as exact numbers (x / w, y / w)."""
    return (mpf(rec["x"]) / mpf(rec["w"]), mpf(rec["y"]) / mpf(rec["w"]))


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1])


def add(a, b):
    return (a[0] + b[0], a[1] + b[1])


def mul(a, k):
    return (a[0] * k, a[1] * k)


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1]


def cross(a, b):
    return a[0] * b[1] - a[1] * b[0]


def norm(a):
    return mp.sqrt(dot(a, a))


def dist(a, b):
    return norm(sub(a, b))


def perp(a):
    return (-a[1], a[0])


def meet(p, u, q, v):
    """Intersection of p + s u and q + t v."""
    s = cross(sub(q, p), v) / cross(u, v)
    return add(p, mul(u, s))


def foot(x, p, u):
    return add(p, mul(u, dot(sub(x, p), u) / dot(u, u)))


def line_circle(p, u, c, r):
    """Intersections of the line p + t u with the circle (c, r)."""
    f = foot(c, p, u)
    h2 = r * r - dist(f, c) ** 2
    if h2 < 0:
        return []
    e = mul(u, mp.sqrt(h2) / norm(u))
    return [add(f, e), sub(f, e)]


def circle_circle(c0, r0, c1, r1):
    d = dist(c0, c1)
    a = (r0 * r0 - r1 * r1 + d * d) / (2 * d)
    h2 = r0 * r0 - a * a
    if h2 < 0:
        return []
    u = mul(sub(c1, c0), 1 / d)
    m = add(c0, mul(u, a))
    return [add(m, mul(perp(u), mp.sqrt(h2))), sub(m, mul(perp(u), mp.sqrt(h2)))]


def tangent_points(s, c, r):
    d = dist(s, c)
    if d < r:
        return []
    u = mul(sub(s, c), 1 / d)
    t = r * r / d
    h = r * mp.sqrt(1 - (r / d) ** 2)
    m = add(c, mul(u, t))
    return [add(m, mul(perp(u), h)), sub(m, mul(perp(u), h))]


def circumcircle(a, b, c):
    u, v = sub(b, a), sub(c, a)
    d = 2 * cross(u, v)
    o = ((v[1] * dot(u, u) - u[1] * dot(v, v)) / d,
         (u[0] * dot(v, v) - v[0] * dot(u, u)) / d)
    return add(a, o), norm(o)


def invert(x, c, r):
    d = sub(x, c)
    return add(c, mul(d, r * r / dot(d, d)))


def ccw_angle(a, b, c):
    t = mp.atan2(c[1] - b[1], c[0] - b[0]) - mp.atan2(a[1] - b[1], a[0] - b[0])
    return t + 2 * mp.pi if t < 0 else t


def rotate(v, z, t):
    d = sub(v, z)
    return (z[0] + d[0] * mp.cos(t) - d[1] * mp.sin(t),
            z[1] + d[0] * mp.sin(t) + d[1] * mp.cos(t))


def conic_through(pts):
    """Coefficients (A..F) with F = 1 of the conic through five points."""
    m = mp.matrix([[x * x, x * y, y * y, x, y] for x, y in pts])
    s = mp.lu_solve(m, mp.matrix([-1] * 5))
    return [s[i] for i in range(5)] + [mpf(1)]


def conic_value(k, p):
    x, y = p
    return k[0] * x * x + k[1] * x * y + k[2] * y * y + k[3] * x + k[4] * y + k[5]


def conic_gap(k, p):
    """First-order distance from p to the conic k."""
    x, y = p
    gx = 2 * k[0] * x + k[1] * y + k[3]
    gy = k[1] * x + 2 * k[2] * y + k[4]
    return abs(conic_value(k, p)) / mp.sqrt(gx * gx + gy * gy)


def line_conic(k, p, u):
    """Intersections of p + t u with the conic k."""
    u = mul(u, 1 / norm(u))
    a = conic_value(k, add(p, u)) + conic_value(k, sub(p, u)) - 2 * conic_value(k, p)
    b = conic_value(k, add(p, u)) - conic_value(k, sub(p, u))
    c = conic_value(k, p)
    a, b = a / 2, b / 2  # value(t) = a t^2 + b t + c
    disc = b * b - 4 * a * c
    if disc < 0:
        return []
    return [add(p, mul(u, (-b + s * mp.sqrt(disc)) / (2 * a))) for s in (1, -1)]


# --- comparing ------------------------------------------------------------

class Config:
    def __init__(self, size, offset):
        self.size = mpf(size)
        self.far = mpf(offset) + mpf(size)
        self.tol = 1e-9 * self.size + 1e-14 * self.far

    def near(self, a, b, tol=None):
        return dist(a, b) <= (tol or self.tol)


def defined_check(label, body):
    """A check of a result that must be defined; body(rec) checks the rest."""
    def check(rec, recs):
        if not rec["defined"]:
            return fail("%s undefined" % label)
        body(rec)
    return check


def point_check(cfg, want, label):
    def body(rec):
        if not cfg.near(P(rec), want):
            fail("%s: %s off by %s" % (label, P(rec), dist(P(rec), want)))
    return defined_check(label, body)


def one_of_check(cfg, wants, label, taken):
    """The result is one of the solutions, and not one its sibling took."""
    def body(rec):
        hits = [i for i, w in enumerate(wants) if cfg.near(P(rec), w)]
        if not hits:
            return fail("%s: %s is no solution" % (label, P(rec)))
        if hits[0] in taken and dist(wants[0], wants[1]) > 100 * cfg.tol:
            fail("%s takes the solution its sibling took" % label)
        taken.append(hits[0])
    return defined_check(label, body)


def line_check(cfg, p, u, label, touch=None):
    """The line (a, b, c) is p + t u; `touch` lists tangent points to find
    among its defining points."""
    def body(rec):
        a, b, c = mpf(rec["a"]), mpf(rec["b"]), mpf(rec["c"])
        n = mp.sqrt(a * a + b * b)
        for q in (p, add(p, mul(u, cfg.size / norm(u)))):
            if abs(a * q[0] + b * q[1] + c) / n > cfg.tol:
                return fail("%s misses %s by %s" % (label, q, abs(a * q[0] + b * q[1] + c) / n))
        pts = [(mpf(rec[k][0]) / mpf(rec[k][2]), mpf(rec[k][1]) / mpf(rec[k][2]))
               for k in ("p1", "p2") if rec[k][2] != 0]
        for t in touch or []:
            if not any(cfg.near(t, q) for q in pts):
                fail("%s: tangent point %s not among %s" % (label, t, pts))
    return defined_check(label, body)


def circle_check(cfg, center, radius, label):
    def body(rec):
        got = (mpf(rec["center"][0]) / mpf(rec["center"][2]),
               mpf(rec["center"][1]) / mpf(rec["center"][2]))
        if not cfg.near(got, center) or abs(mpf(rec["radius"]) - radius) > cfg.tol:
            fail("%s: centre %s radius %s, wanted %s %s" % (label, got, rec["radius"], center, radius))
    return defined_check(label, body)


def value_check(cfg, want, label, tol):
    def check(rec, recs):
        got = rec.get("value", rec.get("area"))
        if not rec["defined"] or abs(mpf(got) - want) > tol:
            fail("%s: %s, wanted %s" % (label, got, want))
    return check


def undefined_check(label):
    def check(rec, recs):
        if rec["defined"]:
            fail("%s defined where there is no solution" % label)
    return check


# --- the configurations ---------------------------------------------------

def build(rng, size, offset, with_conics):
    """One diagram holding every construction kind around a random point
    `offset` away from the origin, of overall size `size`; returns the
    diagram and a function giving the reference checks once the free points
    have been read back."""
    d = Diagram()
    phi = rng.uniform(0, 2 * math.pi)
    ox, oy = offset * math.cos(phi), offset * math.sin(phi)

    def rp(spread=1.0):
        return d.free(ox + size * spread * rng.uniform(-1, 1),
                      oy + size * spread * rng.uniform(-1, 1))

    def at(dx, dy):
        return d.free(ox + size * dx, oy + size * dy)

    A, B, C, D = rp(), rp(), rp(), rp()
    # a circle about Q through R, with E, F inside it for secants
    Q = rp(0.2)
    ang = rng.uniform(0, 2 * math.pi)
    R = at(0, 0)
    d.lines[-1] = "%s = .free(%.17g, %.17g);" % (R, ox + size * math.cos(ang), oy + size * math.sin(ang))
    E, F = rp(0.3), rp(0.3)
    # a second circle meeting the first
    G = rp(0.6)
    H = rp(0.3)
    S, T = at(3 + rng.uniform(0, 1), rng.uniform(-1, 1)), at(3.5 + rng.uniform(0, 1), rng.uniform(-1, 1))
    V = at(rng.uniform(2.5, 4), rng.uniform(2.5, 4))  # outside the circle
    names = [A, B, C, D, Q, R, E, F, G, H, S, T, V]
    return d, names, (ox, oy)


def run_config(rng, size, offset, with_conics):
    d, names, origin = build(rng, size, offset, with_conics)
    # first pass: read the free points back exactly as the program holds them
    recs = first_records(d.text())
    A, B, C, D, Q, R, E, F, G, H, S, T, V = names
    p = {n: P(recs[n]) for n in names}
    cfg = Config(size, offset)
    later = []  # checks that need more than the record itself
    label = lambda what: "%s at size %g, offset %g" % (what, size, offset)
    c0, r0 = p[Q], dist(p[Q], p[R])

    # lines and their intersections
    d.add(".l.vv(%s, %s)" % (A, B), line_check(cfg, p[A], sub(p[B], p[A]), label("L_VV")))
    lab = "r%d" % d.n
    lcd = d.add(".l.vv(%s, %s)" % (C, D))
    d.add(".v.ll(%s, %s)" % (lab, lcd), point_check(cfg, meet(p[A], sub(p[B], p[A]), p[C], sub(p[D], p[C])), label("V_LL")))
    d.add(".v.vvmid(%s, %s)" % (A, B), point_check(cfg, mul(add(p[A], p[B]), mpf(1) / 2), label("V_VVMID")))
    d.add(".l.vlpar(%s, %s)" % (C, lab), line_check(cfg, p[C], sub(p[B], p[A]), label("L_VLPAR")))
    d.add(".l.vlperp(%s, %s)" % (C, lab), line_check(cfg, p[C], perp(sub(p[B], p[A])), label("L_VLPERP")))
    d.add(".l.vvperp(%s, %s)" % (A, B), line_check(cfg, mul(add(p[A], p[B]), mpf(1) / 2), perp(sub(p[B], p[A])), label("L_VVPERP")))
    d.add(".v.lvmirror(%s, %s)" % (lab, C), point_check(cfg, sub(mul(foot(p[C], p[A], sub(p[B], p[A])), 2), p[C]), label("V_LVMIRROR")))
    d.add(".f.vv(%s, %s)" % (A, B), value_check(cfg, dist(p[A], p[B]), label("F_VV"), cfg.tol))
    ratio = dist(p[A], p[B]) / dist(p[A], p[C])
    if dot(sub(p[B], p[A]), sub(p[C], p[A])) < 0:
        ratio = -ratio
    d.add(".f.vvvratio(%s, %s, %s)" % (A, B, C), value_check(cfg, ratio, label("F_VVVRATIO"), 1e-9 * abs(ratio) * cfg.far / cfg.size))
    ang = ccw_angle(p[A], p[B], p[C])
    gname = d.add(".a.vvv(%s, %s, %s)" % (A, B, C), value_check(cfg, ang, label("A_VVV"), 1e-9 * cfg.far / cfg.size))
    d.add(".v.avv(%s, %s, %s)" % (gname, D, C), point_check(cfg, rotate(p[D], p[C], ang), label("V_AVV")))
    poly = d.add(".polygon(4, %s, %s, %s, %s)" % (A, B, C, D))
    pts = [p[A], p[B], p[C], p[D]]
    area = abs(sum(cross(pts[i], pts[(i + 1) % 4]) for i in range(4))) / 2
    d.checks.append((poly, value_check(cfg, area, label("polygon area"), cfg.size * cfg.tol)))
    d.add(".f.area(%s)" % poly, value_check(cfg, area, label("F_AREA"), cfg.size * cfg.tol))
    fr = d.add(".f.rpn(0.375)")
    d.add(".v.vvf(%s, %s, %s)" % (A, B, fr), point_check(cfg, add(mul(p[A], 1 - mpf(0.375)), mul(p[B], mpf(0.375))), label("V_VVF")))
    # the harmonic conjugate of a point of AB, coordinate by coordinate
    beta = 0.3 + 0.2 * random.Random(size).random()
    hb = d.free(float(p[A][0] + beta * (p[B][0] - p[A][0])), float(p[A][1] + beta * (p[B][1] - p[A][1])))
    hrec = d.add(".v.vvvharmonic(%s, %s, %s)" % (A, hb, B))
    later.append((hrec, hb))
    # the circle and the secant EF
    circ = d.add(".c.vv(%s, %s)" % (Q, R), circle_check(cfg, c0, r0, label("C_VV")))
    lef = d.add(".l.vv(%s, %s)" % (E, F))
    sols = line_circle(p[E], sub(p[F], p[E]), c0, r0)
    taken = []
    d.add(".v.lc(%s, %s, 1)" % (lef, circ), one_of_check(cfg, sols, label("V_LC1"), taken))
    d.add(".v.lc(%s, %s, 2)" % (lef, circ), one_of_check(cfg, sols, label("V_LC2"), taken))
    d.add(".v.ccenter(%s)" % circ, point_check(cfg, c0, label("V_CCENTER")))
    d.add(".v.vcinv(%s, %s)" % (V, circ), point_check(cfg, invert(p[V], c0, r0), label("V_VCINV")))
    d.add(".c.vcrad(%s, %s)" % (V, circ), circle_check(cfg, p[V], r0, label("C_VCRAD")))
    d.add(".c.ctrvv(%s, %s, %s)" % (V, A, B), circle_check(cfg, p[V], dist(p[A], p[B]), label("C_CTRVV")))
    # a point on the circle, and the other intersection of a line through it
    on = d.add(".vonc(%s, %.17g, %.17g)" % (circ, float(p[E][0]), float(p[E][1] + r0 * 3)))
    won = add(c0, mul(sub((p[E][0], mpf(float(p[E][1] + r0 * 3))), c0), r0 / dist((p[E][0], mpf(float(p[E][1] + r0 * 3))), c0)))
    d.checks.append((on, point_check(cfg, won, label("VONC"))))
    lon = d.add(".l.vv(%s, %s)" % (on, F))
    other = [s for s in line_circle(won, sub(p[F], won), c0, r0) if dist(s, won) > r0 * mpf("1e-6")]
    if other:
        d.add(".v.lcvother(%s, %s, %s)" % (lon, circ, on), point_check(cfg, other[0], label("V_LCVOTHER")))
    onl = d.add(".vonl(%s, %.17g, %.17g)" % (lab, float(p[C][0]), float(p[C][1])))
    d.checks.append((onl, point_check(cfg, foot(p[C], p[A], sub(p[B], p[A])), label("VONL"))))
    # a second circle about G through H' at a distance that makes them meet
    dgc = dist(p[G], c0)
    r1 = float(max(dgc * 0.9, abs(r0 - dgc) * 1.2 + float(cfg.size) * 0.1))
    circ2 = d.add(".c.vf(%s, %s)" % (G, d.add(".f.rpn(%.17g)" % r1)))
    r1m = mpf(r1)
    sols = circle_circle(c0, r0, p[G], r1m)
    if sols and dist(sols[0], sols[1]) > cfg.size * mpf("1e-3"):
        taken = []
        x1 = d.add(".v.cc(%s, %s, 1)" % (circ, circ2), one_of_check(cfg, sols, label("V_CC1"), taken))
        d.add(".v.cc(%s, %s, 2)" % (circ, circ2), one_of_check(cfg, sols, label("V_CC2"), taken))
        later.append(("ccother", x1, circ, circ2, sols))
    # inversions
    if abs(dist(p[G], c0) - r1m) > cfg.size * mpf("1e-3"):
        pts3 = [invert(add(p[G], (r1m * mp.cos(t), r1m * mp.sin(t))), c0, r0) for t in (0, 2, 4)]
        cc, rr = circumcircle(*pts3)
        d.add(".c.ccinv(%s, %s)" % (circ2, circ), circle_check(cfg, cc, rr, label("C_CCINV")))
    if dist(foot(c0, p[C], sub(p[D], p[C])), c0) > cfg.size * mpf("1e-3"):
        pts3 = [invert(x, c0, r0) for x in (p[C], p[D])] + [c0]
        cc, rr = circumcircle(*pts3)
        d.add(".c.lcinv(%s, %s)" % (lcd, circ), circle_check(cfg, cc, rr, label("C_LCINV")))
    # tangents from V, and common tangents of two separate circles
    taken = []
    tps = tangent_points(p[V], c0, r0)
    for k in (1, 2):
        d.add(".l.vc(%s, %s, %d)" % (V, circ, k), line_check(cfg, p[V], sub(tps[k - 1], p[V]), label("L_VC%d" % k)))
    d.add(".l.vc(%s, %s, 1)" % (E, circ), undefined_check(label("L_VC from inside")))
    cs = d.add(".c.vv(%s, %s)" % (S, T))
    cst, rst = p[S], dist(p[S], p[T])
    if dist(cst, c0) > (r0 + rst) * mpf("1.05"):
        for kind, sign in (("ext", 1), ("int", -1)):
            # centre of similitude, then the tangent points on each circle
            k = rst / (r0 - sign * rst) if r0 != rst or sign < 0 else None
            if k is None:
                continue
            sc = add(cst, mul(sub(cst, c0), sign * k)) if sign > 0 else sub(cst, mul(sub(cst, c0), k))
            t0, t1 = tangent_points(sc, c0, r0), tangent_points(sc, cst, rst)
            for br in (0, 1):
                tp = t0[br]
                mate = min(t1, key=lambda b: abs(cross(sub(b, tp), sub(sc, tp))))
                d.add(".l.cc%s(%s, %s, %d)" % (kind, circ, cs, br + 1),
                      line_check(cfg, tp, sub(mate, tp), label("L_CC%s%d" % (kind.upper(), br + 1)), touch=[tp, mate]))
    # circle through three points, tangent circles of the triangle ABC
    cc, rr = circumcircle(p[A], p[B], p[C])
    d.add(".c.vvv(%s, %s, %s)" % (A, B, C), circle_check(cfg, cc, rr, label("C_VVV")))
    l0 = d.add(".l.vv(%s, %s)" % (A, B))
    l1 = d.add(".l.vv(%s, %s)" % (B, C))
    l2 = d.add(".l.vv(%s, %s)" % (C, A))
    # corners: P01 = B, P12 = C, P02 = A; excentre opposite X has weight -|side opposite X|
    wa, wb, wc = dist(p[B], p[C]), dist(p[C], p[A]), dist(p[A], p[B])
    for k, signs in ((1, (1, 1, 1)), (2, (-1, 1, 1)), (3, (1, 1, -1)), (4, (1, -1, 1))):
        ws = (signs[0] * wa, signs[1] * wb, signs[2] * wc)
        ctr = mul(add(add(mul(p[A], ws[0]), mul(p[B], ws[1])), mul(p[C], ws[2])), 1 / sum(ws))
        rad = abs(cross(sub(p[B], p[A]), sub(ctr, p[A]))) / wc
        d.add(".c.lll(%s, %s, %s, %d)" % (l0, l1, l2, k), circle_check(cfg, ctr, rad, label("C_LLL%d" % k)))
    if with_conics:
        conic_rows(d, cfg, rng, size, origin, label)
    return d, cfg, later, p


def conic_rows(d, cfg, rng, size, origin, label):
    """An ellipse through five points, one tangent to five lines, and what
    is built on them."""
    ox, oy = origin
    cx, cy = ox + size * rng.uniform(-0.5, 0.5), oy + size * rng.uniform(-0.5, 0.5)
    a, b, th = size * rng.uniform(0.6, 1), size * rng.uniform(0.3, 0.6), rng.uniform(0, math.pi)

    def ell(t):
        x, y = a * math.cos(t), b * math.sin(t)
        return cx + x * math.cos(th) - y * math.sin(th), cy + x * math.sin(th) + y * math.cos(th)

    def tangent(t):
        x, y = -a * math.sin(t), b * math.cos(t)
        return x * math.cos(th) - y * math.sin(th), x * math.sin(th) + y * math.cos(th)

    ts = [0.3, 1.5, 2.6, 3.9, 5.1]
    names = [d.free(*ell(t)) for t in ts]
    d.conic = (names, ts, ell, tangent, size)
    k = d.add(".conic.vvvvv(%s)" % ", ".join(names))
    d.conicname = k
    lines = []
    for t in ts:
        p0 = ell(t)
        u = tangent(t)
        lines.append(d.add(".l.vv(%s, %s)" % (d.free(*p0), d.free(p0[0] + u[0], p0[1] + u[1]))))
    d.conicl = d.add(".conic.lllll(%s)" % ", ".join(lines))
    d.conictangents = [ell(t) for t in ts]
    e, f = d.free(cx, cy), d.free(cx + size * 0.2, cy + size * 0.1)
    d.conicline = d.add(".l.vv(%s, %s)" % (e, f))
    d.conicpoints = (e, f)
    d.lc1 = d.add(".v.lconic(%s, %s, 1)" % (d.conicline, k))
    d.lc2 = d.add(".v.lconic(%s, %s, 2)" % (d.conicline, k))
    d.outside = d.free(cx + size * 2.5, cy + size * 1.5)
    d.t1 = d.add(".l.conicv(%s, %s, 1)" % (k, d.outside))
    d.t2 = d.add(".l.conicv(%s, %s, 2)" % (k, d.outside))


def check_conics(d, cfg, recs, p):
    names, ts, ell, tangent, size = d.conic
    pts = [P(recs[n]) for n in names]
    ref = conic_through(pts)
    tol = 1e-6 * cfg.size
    got = [mpf(c) for c in recs[d.conicname]["coef"]]
    for q in pts:
        if conic_gap(got, q) > tol:
            fail("CONIC_VVVVV misses %s by %s (size %g)" % (q, conic_gap(got, q), size))
    gotl = [mpf(c) for c in recs[d.conicl]["coef"]]
    for q in d.conictangents:
        q = (mpf(q[0]), mpf(q[1]))
        if conic_gap(gotl, q) > tol:
            fail("CONIC_LLLLL misses tangent point %s by %s" % (q, conic_gap(gotl, q)))
    e, f = P(recs[d.conicpoints[0]]), P(recs[d.conicpoints[1]])
    sols = line_conic(ref, e, sub(f, e))
    for name in (d.lc1, d.lc2):
        r = recs[name]
        if not r["defined"] or r["w"] == 0 or not any(dist(P(r), s) <= tol for s in sols):
            fail("V_LCONIC %s not among %s" % (r, sols))
    v = P(recs[d.outside])
    # the tangent points from v: where the polar of v meets the conic,
    # worked out with v as the origin
    A, B, C, D, E, F = ref
    local = [A, B, C, D + 2 * A * v[0] + B * v[1], E + B * v[0] + 2 * C * v[1], conic_value(ref, v)]
    pp = (local[3] / 2, local[4] / 2, local[5])
    base = (-pp[0] * pp[2] / (pp[0] ** 2 + pp[1] ** 2), -pp[1] * pp[2] / (pp[0] ** 2 + pp[1] ** 2))
    touch = [add(t, v) for t in line_conic(local, base, (-pp[1], pp[0]))]
    # Tangent points slide along the conic with the square root of any
    # error; the tangent lines themselves are what is well defined.
    for name in (d.t1, d.t2):
        r = recs[name]
        a, b, c = mpf(r["a"]), mpf(r["b"]), mpf(r["c"])
        gaps = [abs(a * s[0] + b * s[1] + c) / mp.sqrt(a * a + b * b) for s in touch]
        if not r["defined"] or min(gaps) > tol:
            fail("L_CONICV misses the tangent points %s by %s" % (touch, gaps))


def check_harmonic(cfg, recs, hrec, a, b, c):
    """Coordinate by coordinate, as the construction is defined."""
    want = []
    spread = max(abs(b[i] - a[i]) for i in (0, 1))
    for i in (0, 1):
        den = 2 * b[i] - a[i] - c[i]
        want.append(((c[i] + a[i]) * b[i] - 2 * a[i] * c[i]) / den)
    got = P(recs[hrec])
    if not recs[hrec]["defined"] or dist(got, want) > cfg.tol * 1e3:
        fail("V_VVVHARMONIC %s, wanted %s" % (got, want))


def run(rng, size, offset, conics):
    d, cfg, later, p = run_config(rng, size, offset, conics)
    text = d.text()
    status, doc, raw = values(text)
    if status != 0:
        return fail("values exited %d at size %g offset %g" % (status, size, offset))
    status2, _, raw2 = values(text)
    if raw2 != raw:
        fail("values printed different text on a second run")
    recs = {r["name"]: r for r in doc["steps"][0]["records"]}
    for name, check in d.checks:
        check(recs[name], recs)
    for item in later:
        if item[0] == "ccother":
            _, x1, c1, c2, sols = item
            # the other intersection of the two circles through V_CC1
            dd = Diagram()
            dd.lines = list(d.lines)
            dd.n = d.n
            o = dd.add(".v.ccvother(%s, %s, %s)" % (c1, c2, x1))
            r2 = first_records(dd.text())
            known = P(recs[x1])
            far = max(sols, key=lambda s: dist(s, known))
            if not r2[o]["defined"] or not cfg.near(P(r2[o]), far):
                fail("V_CCVOTHER %s, wanted %s" % (r2[o], far))
        else:
            hrec, hb = item
            # parents are A, hb, B: the first two free points and hb
            a = P(recs["r1"])
            b = P(recs[hb])
            c = P(recs["r2"])
            check_harmonic(cfg, recs, hrec, a, b, c)
    if conics:
        check_conics(d, cfg, recs, p)


def faults():
    """Configurations that used to give wrong results marked valid."""
    for s, off in ((1e-6, 0.0), (1.0, 0.0), (1e6, 1e12), (1e-6, 1.0)):
        # equal small circles moved onto each other: no internal tangent
        d = Diagram()
        a, b = d.free(off, off), d.free(off + s, off)
        c, e = d.free(off + 1.5 * s, off), d.free(off + 2.5 * s, off)
        c0, c1 = d.add(".c.vv(%s, %s)" % (a, b)), d.add(".c.vv(%s, %s)" % (c, e))
        d.add(".l.ccint(%s, %s, 1)" % (c0, c1), undefined_check("L_CCINT of overlapping circles"))
        # two parallel lines and a transversal: two circles, two undefined
        p = [d.free(off, off), d.free(off + s, off), d.free(off, off + s),
             d.free(off + s, off + s), d.free(off + 0.3 * s, off - s)]
        l0 = d.add(".l.vv(%s, %s)" % (p[0], p[1]))
        l1 = d.add(".l.vv(%s, %s)" % (p[2], p[3]))
        l2 = d.add(".l.vv(%s, %s)" % (p[4], p[2]))
        cfg = Config(s, abs(off))
        xl2 = lambda y: mpf(off) + mpf(0.3 * s) + (mpf(off) - mpf(off) - mpf(0.3 * s)) * (y - (mpf(off) - mpf(s))) / (2 * mpf(s))
        ym = mpf(off) + mpf(s) / 2
        # the two circles of radius s/2 on the midline, touching l2
        dirn = mp.sqrt(1 + (mpf(0.3) / 2) ** 2)
        shift = (mpf(s) / 2) * dirn
        cands = [(xl2(ym) + shift, ym), (xl2(ym) - shift, ym)]
        got = []
        for k in (1, 2, 3, 4):
            name = d.add(".c.lll(%s, %s, %s, %d)" % (l0, l1, l2, k))
            got.append(name)
        d.parallel = (got, cands, cfg)
        # three lines through one point
        q = [d.free(off + s, off), d.free(off, off + s), d.free(off - s, off - s * 0.5)]
        mid = d.free(off, off)
        ls = [d.add(".l.vv(%s, %s)" % (mid, x)) for x in q]
        for k in (1, 2, 3, 4):
            d.add(".c.lll(%s, %s, %s, %d)" % (ls[0], ls[1], ls[2], k), undefined_check("C_LLL%d of concurrent lines" % k))
        # a nearly level pair 1e-6 apart: the bisector is right and the pair untouched
        ya = off + 3e-7 * s
        u, v = d.free(off, ya), d.free(off + s, off)
        d.add(".l.vvperp(%s, %s)" % (u, v))
        # a small triangle is not collinear; a unit triangle far out keeps its area
        t = [d.free(off, off), d.free(off + s, off), d.free(off + 0.3 * s, off + 0.93 * s)]
        circle3 = d.add(".c.vvv(%s, %s, %s)" % tuple(t))
        poly = d.add(".polygon(3, %s, %s, %s)" % tuple(t))
        recs = first_records(d.text())
        for name, check in d.checks:
            check(recs[name], recs)
        defined = [recs[n] for n in got if recs[n]["defined"]]
        if len(defined) != 2:
            fail("C_LLL with parallel lines: %d circles defined, wanted 2" % len(defined))
        for r in defined:
            ctr = (mpf(r["center"][0]), mpf(r["center"][1]))
            if not any(cfg.near(ctr, c) for c in cands) or abs(mpf(r["radius"]) - mpf(s) / 2) > cfg.tol:
                fail("C_LLL with parallel lines: %s" % r)
        if recs[u]["y"] != ya:
            fail("L_VVPERP changed its parent's y: %r, not %r" % (recs[u]["y"], ya))
        if not recs[circle3]["defined"] or recs[circle3]["center"][2] == 0:
            fail("C_VVV of a triangle of size %g taken for collinear" % s)
        tri = [P(recs[n]) for n in t]
        area = abs(cross(sub(tri[1], tri[0]), sub(tri[2], tri[0]))) / 2
        if abs(mpf(recs[poly]["area"]) - area) > 1e-9 * area:
            fail("polygon area %s, wanted %s" % (recs[poly]["area"], area))


def point_on_conic():
    """A point on a conic in view lands on the nearest point of the conic,
    found here along the ellipse's parameter."""
    d = Diagram()
    ell = lambda t: (0.3 + mp.cos(t), 0.2 + mpf(0.6) * mp.sin(t))
    names = [d.free(*[float(c) for c in ell(t)]) for t in (0, 1.5, 3, 4, 5.5)]
    k = d.add(".conic.vvvvv(%s)" % ", ".join(names))
    targets = [(1.2, 0.75), (-0.9, -0.1), (0.35, 0.1)]
    ons = [d.add(".vonconic(%s, %.17g, %.17g)" % (k, x, y)) for x, y in targets]
    recs = first_records(d.text())
    for name, (x, y) in zip(ons, targets):
        q = (mpf(x), mpf(y))
        gap = lambda t: dist(ell(t), q) ** 2
        t0 = min((2 * mp.pi * i / 2000 for i in range(2000)), key=gap)
        t = mp.findroot(lambda t: mp.diff(gap, t), t0)
        if dist(P(recs[name]), ell(t)) > 1e-9:
            fail("VONCONIC %s lands %s from the nearest point %s" % (q, dist(P(recs[name]), ell(t)), ell(t)))


def cli_behaviour():
    d = Diagram()
    a = d.free(0, 0)
    b = d.free(-1, 1e-5)
    c = d.add(".c.vv(%s, %s)" % (d.free(0.2, 0.1), d.free(1.2, 0.1)))
    line = d.add(".l.vv(%s, %s)" % (a, b))
    x = d.add(".v.lc(%s, %s, 1)" % (line, c))
    status, doc, raw = values(d.text(), "--drag", b, "-1,1e-5", "1,1e-5", "--steps", "41")
    steps = doc["steps"]
    if status != 0 or len(steps) != 42 or [s["step"] for s in steps] != list(range(42)):
        fail("--drag gave status %d and %d steps" % (status, len(steps)))
    pos = [[r for r in s["records"] if r["name"] == x][0] for s in steps]
    jump = max(math.hypot(p["x"] - q["x"], p["y"] - q["y"]) for p, q in zip(pos, pos[1:]))
    if jump > 4 * 2 / 41:
        fail("the intersection jumped by %g during the drag" % jump)
    if pos[-1]["kind"] != "V_LC2":
        fail("the followed intersection did not become V_LC2: %s" % pos[-1]["kind"])
    for bad in ([x], [c], ["nosuch"]):
        st, _, _ = values(d.text(), "--drag", bad[0], "0,0", "1,1", "--steps", "3")
        if st != 2:
            fail("--drag of %s exited %d, not 2" % (bad[0], st))
    st, _, _ = values(d.text(), "--steps", "3")
    if st != 2:
        fail("--steps without --drag exited %d" % st)
    # one step per script frame, the value landing on the stop
    d = Diagram()
    s = d.add(".script(0, 1, 0.3)")
    x = d.add(".v.ff(%s, %s)" % (s, s))
    status, doc, _ = values(d.text(), "--frames")
    xs = [[r["x"] for r in st["records"] if r["name"] == x][0] for st in doc["steps"]]
    if status != 0 or xs != [0, 0.3, 0.6, 0.8999999999999999, 1]:
        fail("--frames gave status %d and %s" % (status, xs))
    # plain text: one record a line, every digit (c >= 0 flips the signs)
    fd, path = tempfile.mkstemp(suffix=".T")
    with os.fdopen(fd, "w") as f:
        f.write('A = .free(0.5, 0.2, "top");\nB = .free(1, 0.2);\n'
                'l = .l.vv(A, B);\nX = .v.ll(l, l);\n')
    out = subprocess.run([CLI, "values", path], capture_output=True, text=True).stdout
    os.unlink(path)
    want = ('A "top" vertex FREE defined x=0.5 y=0.20000000000000001 w=1\n'
            'B "" vertex FREE defined x=1 y=0.20000000000000001 w=1\n'
            'l "" line L_VV defined a=-0 b=-0.5 c=0.10000000000000001 '
            'p1=0.5,0.20000000000000001,1 p2=1,0.20000000000000001,1\n'
            'X "" vertex V_LL defined x=0 y=0 w=0\n')
    if out != want:
        fail("plain values:\n%s" % out)
    r = subprocess.run([CLI, "values", "/nonexistent/x.T"], capture_output=True)
    if r.returncode != 2:
        fail("an unreadable file exited %d" % r.returncode)


def main():
    rng = random.Random(SEED)
    for size in (1e-6, 1.0, 1e6):
        for factor in (0.0, 1e3, 1e6):
            for _ in range(2):
                run(rng, size, size * factor, conics=(factor == 1e3))
    faults()
    point_on_conic()
    cli_behaviour()
    for f in failures[:40]:
        print("FAIL:", f)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
