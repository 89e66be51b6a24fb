#include "raster.h"

#include <algorithm>
#include <cmath>

namespace winsim {
namespace {

// Thresholds of a 4 x 4 ordered dither, 0..255.
constexpr ULONG kBayer[4][4] = {
    {8, 136, 40, 168},
    {200, 72, 232, 104},
    {56, 184, 24, 152},
    {248, 120, 216, 88},
};

// The darkest and the lightest entry of an indexed surface's palette: the two a dither chooses between.
void extremes(const Canvas& c, ULONG* dark, ULONG* light) {
    *dark = palette_nearest(c.palette, c.bits, 0x000000);
    *light = palette_nearest(c.palette, c.bits, 0xFFFFFF);
}

// round(i * delta / steps), exact for every line a LONG can describe.
long long rounded_share(long long i, long long delta, long long steps) {
    const __int128 n = static_cast<__int128>(2) * i * delta + steps;
    const __int128 d = static_cast<__int128>(2) * steps;
    __int128 q = n / d;
    if (n % d != 0 && n < 0)
        --q;
    return static_cast<long long>(q);
}

// floor((offset + 1/2) * source / dest): the source pixel under a destination pixel's centre.
long long centre_share(long long offset, long long source, long long dest) {
    const __int128 n = (static_cast<__int128>(2) * offset + 1) * source;
    const __int128 d = static_cast<__int128>(2) * dest;
    __int128 q = n / d;
    if (n % d != 0 && ((n < 0) != (d < 0)))
        --q;
    return static_cast<long long>(q);
}

// The span of a destination rectangle on the bitmap, cut to one region rectangle.
bool cut(const RECTL& a, const RECTL& b, RECTL* out) {
    out->left = std::max(a.left, b.left);
    out->top = std::max(a.top, b.top);
    out->right = std::min(a.right, b.right);
    out->bottom = std::min(a.bottom, b.bottom);
    return out->left < out->right && out->top < out->bottom;
}

RECTL ordered(const RECTL& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

ULONG rop_for(const Blit& b, long long x, long long y) {
    const ULONG fore = b.rop4 & 0xFF;
    const ULONG back = (b.rop4 >> 8) & 0xFF;
    if (!b.mask || fore == back)
        return fore;
    const long long mx = b.mask_from.x + x;
    const long long my = b.mask_from.y + y;
    if (mx < 0 || my < 0 || mx >= b.mask->width || my >= b.mask->height)
        return fore;
    return b.mask->get(static_cast<LONG>(mx), static_cast<LONG>(my)) ? fore : back;
}

// (rx, ry): the pixel's place in the destination rectangle, where the mask is read.
void put_blended(const Canvas& dest, LONG x, LONG y, const Blit& b, ULONG s, long long rx, long long ry) {
    const ULONG rop = rop_for(b, rx, ry);
    const ULONG p = b.pen.ok ? b.pen.at(dest, x, y) : 0;
    dest.put(x, y, apply_rop3(rop, p, s, dest.get(x, y)));
}

} // namespace

ULONG Canvas::get(LONG x, LONG y) const {
    const BYTE* row = static_cast<const BYTE*>(so->pvScan0) + static_cast<ptrdiff_t>(y) * so->lDelta;
    switch (bits) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return (row[x / 2] >> ((x & 1) ? 0 : 4)) & 0xF;
    case 8:
        return row[x];
    case 16:
        return row[2 * x] | row[2 * x + 1] << 8;
    case 24:
        return row[3 * x] | row[3 * x + 1] << 8 | static_cast<ULONG>(row[3 * x + 2]) << 16;
    default:
        return row[4 * x] | row[4 * x + 1] << 8 | static_cast<ULONG>(row[4 * x + 2]) << 16 |
               static_cast<ULONG>(row[4 * x + 3]) << 24;
    }
}

void Canvas::put(LONG x, LONG y, ULONG value) const {
    BYTE* row = static_cast<BYTE*>(so->pvScan0) + static_cast<ptrdiff_t>(y) * so->lDelta;
    switch (bits) {
    case 1: {
        const BYTE m = static_cast<BYTE>(0x80 >> (x % 8));
        row[x / 8] = (value & 1) ? (row[x / 8] | m) : (row[x / 8] & ~m);
        break;
    }
    case 4: {
        const int shift = (x & 1) ? 0 : 4;
        row[x / 2] = static_cast<BYTE>((row[x / 2] & ~(0xF << shift)) | ((value & 0xF) << shift));
        break;
    }
    case 8:
        row[x] = static_cast<BYTE>(value);
        break;
    default:
        for (ULONG i = 0; i < bits / 8; ++i)
            row[(bits / 8) * x + i] = static_cast<BYTE>(value >> (8 * i));
        break;
    }
}

bool make_canvas(SURFOBJ* so, const PaletteView& palette, Canvas* out) {
    if (!so || !so->pvScan0 || so->iType != STYPE_BITMAP)
        return false;
    out->so = so;
    out->bits = format_bits(so->iBitmapFormat);
    out->palette = palette;
    out->width = so->sizlBitmap.cx;
    out->height = so->sizlBitmap.cy;
    return out->bits != 0 && out->width > 0 && out->height > 0;
}

bool Region::inside(LONG x, LONG y) const {
    for (const RECTL& r : rects) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    }
    return false;
}

Region clip_to(const CLIPOBJ* pco, const Canvas& c) {
    const RECTL surface = {0, 0, c.width, c.height};
    Region region;
    std::vector<RECTL> rects;
    if (!pco || pco->iDComplexity == DC_TRIVIAL) {
        rects.push_back(surface);
    } else if (pco->iDComplexity == DC_COMPLEX && clip_region(pco, &rects)) {
        // the engine's own region
    } else {
        // A clip the engine did not make is known by its bounds alone.
        rects.assign(1, pco->rclBounds);
    }
    RECTL part;
    for (const RECTL& r : rects) {
        if (cut(r, surface, &part))
            region.rects.push_back(part);
    }
    return region;
}

ULONG apply_rop3(ULONG rop3, ULONG p, ULONG s, ULONG d) {
    ULONG result = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((rop3 >> i) & 1))
            continue;
        // Bit i of a ROP3 is its result for pattern bit (i >> 2), source bit ((i >> 1) & 1), dest bit (i &
        // 1).
        const ULONG term = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
        result |= term;
    }
    return result;
}

ULONG rop3_of_mix(MIX mix) {
    const ULONG rop2 = ((mix & 0xFF) - 1) & 0xF; // bit (pen << 1 | dest) of the binary operation
    ULONG rop3 = 0;
    for (int i = 0; i < 8; ++i) {
        const ULONG p = (i >> 2) & 1;
        const ULONG d = i & 1;
        if ((rop2 >> (p << 1 | d)) & 1)
            rop3 |= 1u << i;
    }
    return rop3;
}

ULONG dithered(const Canvas& c, ULONG color, LONG x, LONG y) {
    if (c.bits != 1)
        return palette_nearest(c.palette, c.bits, color);
    ULONG dark = 0;
    ULONG light = 1;
    extremes(c, &dark, &light);
    return palette_grey(color) > kBayer[y & 3][x & 3] ? light : dark;
}

ULONG Pen::at(const Canvas& c, LONG x, LONG y) const {
    // Only the phase of the dither cell matters, so far-off origins cannot overflow.
    return dither ? dithered(c, color, static_cast<LONG>((static_cast<long long>(x) - origin.x) & 3),
                             static_cast<LONG>((static_cast<long long>(y) - origin.y) & 3))
                  : value;
}

Pen pen_of(const BRUSHOBJ* pbo, const POINTL* origin, const Canvas& c) {
    Pen pen;
    if (!pbo)
        return pen;
    if (origin)
        pen.origin = *origin;
    if (pbo->iSolidColor != 0xFFFFFFFF) {
        pen.ok = true;
        pen.value = pbo->iSolidColor & c.mask();
        return pen;
    }
    const BrushFacts facts = brush_facts(pbo);
    if (facts.known && facts.has_color) {
        pen.ok = true;
        pen.dither = c.bits == 1;
        pen.color = facts.color;
        pen.value = palette_nearest(c.palette, c.bits, facts.color);
    }
    return pen;
}

ULONG Translation::operator()(ULONG raw, LONG x, LONG y) const {
    if (identity)
        return raw;
    if (!table.empty() && !halftone)
        return raw < table.size() ? table[raw] : table[0];
    if (halftone) {
        const ULONG color = palette_color(source, source_bits, raw);
        return palette_grey(color) > kBayer[y & 3][x & 3] ? light : dark;
    }
    if (!cached_ || cached_raw_ != raw) {
        cached_value_ = palette_nearest(dest, dest_bits, palette_color(source, source_bits, raw));
        cached_raw_ = raw;
        cached_ = true;
    }
    return cached_value_;
}

Translation translation_of(const XLATEOBJ* pxlo, const Canvas& source, const Canvas& dest, bool halftone) {
    Translation t;
    t.source_bits = source.bits;
    t.dest_bits = dest.bits;
    t.source = source.palette;
    t.dest = dest.palette;
    // Halftoning is an ordered dither into 1-bit surfaces; deeper ones take the nearest colour.
    t.halftone = halftone && dest.bits == 1;
    PaletteView from;
    PaletteView to;
    if (pxlo && xlate_palettes(pxlo, &from, &to)) {
        t.source = from;
        if (to.mode != 0)
            t.dest = to;
    } else if (pxlo && (pxlo->flXlate & XO_TABLE) && pxlo->pulXlate && pxlo->cEntries) {
        // A translation the engine did not make is taken by its table.
        t.table.assign(pxlo->pulXlate, pxlo->pulXlate + std::min<ULONG>(pxlo->cEntries, 1u << 16));
        t.halftone = false;
        return t;
    } else if (source.bits == dest.bits) {
        t.identity = true;
        return t;
    }
    if (t.halftone) {
        t.dark = palette_nearest(t.dest, 1, 0x000000);
        t.light = palette_nearest(t.dest, 1, 0xFFFFFF);
    } else if (source.bits <= 8) {
        for (ULONG i = 0; i < (1u << source.bits); ++i)
            t.table.push_back(
                palette_nearest(t.dest, t.dest_bits, palette_color(t.source, t.source_bits, i)));
    }
    return t;
}

void blit_copy(const Canvas& dest, const Region& region, const RECTL& dest_rect, POINTL from, const Blit& b) {
    RECTL part;
    for (const RECTL& r : region.rects) {
        if (!cut(r, dest_rect, &part))
            continue;
        for (LONG y = part.top; y < part.bottom; ++y) {
            const long long sy = static_cast<long long>(from.y) + (static_cast<long long>(y) - dest_rect.top);
            for (LONG x = part.left; x < part.right; ++x) {
                ULONG s = 0;
                if (b.source) {
                    const long long sx =
                        static_cast<long long>(from.x) + (static_cast<long long>(x) - dest_rect.left);
                    if (sx < 0 || sy < 0 || sx >= b.source->width || sy >= b.source->height)
                        continue; // nothing of the source lies there
                    const ULONG raw = b.source->get(static_cast<LONG>(sx), static_cast<LONG>(sy));
                    if (b.has_skip && raw == b.skip)
                        continue;
                    s = (*b.translate)(raw, x, y);
                }
                put_blended(dest, x, y, b, s, static_cast<long long>(x) - dest_rect.left,
                            static_cast<long long>(y) - dest_rect.top);
            }
        }
    }
}

void blit_stretch(const Canvas& dest, const Region& region, const RECTL& dest_rect, const RECTL& source_rect,
                  const Blit& b) {
    const long long dw = static_cast<long long>(dest_rect.right) - dest_rect.left;
    const long long dh = static_cast<long long>(dest_rect.bottom) - dest_rect.top;
    const long long sw = static_cast<long long>(source_rect.right) - source_rect.left;
    const long long sh = static_cast<long long>(source_rect.bottom) - source_rect.top;
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0 || !b.source)
        return;
    const RECTL area = ordered(dest_rect);
    RECTL part;
    for (const RECTL& r : region.rects) {
        if (!cut(r, area, &part))
            continue;
        for (LONG y = part.top; y < part.bottom; ++y) {
            // The source pixel under the destination pixel's centre.
            const long long sy =
                source_rect.top + centre_share(y - static_cast<long long>(dest_rect.top), sh, dh);
            if (sy < 0 || sy >= b.source->height)
                continue;
            for (LONG x = part.left; x < part.right; ++x) {
                const long long sx =
                    source_rect.left + centre_share(x - static_cast<long long>(dest_rect.left), sw, dw);
                if (sx < 0 || sx >= b.source->width)
                    continue;
                const ULONG raw = b.source->get(static_cast<LONG>(sx), static_cast<LONG>(sy));
                if (b.has_skip && raw == b.skip)
                    continue;
                put_blended(dest, x, y, b, (*b.translate)(raw, x, y), static_cast<long long>(x) - area.left,
                            static_cast<long long>(y) - area.top);
            }
        }
    }
}

void blit_parallelogram(const Canvas& dest, const Region& region, const POINTFIX* points,
                        const RECTL& source_rect, const Blit& b) {
    if (!points || !b.source)
        return;
    const double x0 = points[0].x / 16.0, y0 = points[0].y / 16.0;
    const double ax = points[1].x / 16.0 - x0, ay = points[1].y / 16.0 - y0;
    const double bx = points[2].x / 16.0 - x0, by = points[2].y / 16.0 - y0;
    const double det = ax * by - ay * bx;
    if (std::fabs(det) < 1e-9)
        return;
    const double xs[4] = {x0, x0 + ax, x0 + bx, x0 + ax + bx};
    const double ys[4] = {y0, y0 + ay, y0 + by, y0 + ay + by};
    const double min_x = std::max(0.0, std::floor(*std::min_element(xs, xs + 4)));
    const double max_x = std::min(static_cast<double>(dest.width), std::ceil(*std::max_element(xs, xs + 4)));
    const double min_y = std::max(0.0, std::floor(*std::min_element(ys, ys + 4)));
    const double max_y = std::min(static_cast<double>(dest.height), std::ceil(*std::max_element(ys, ys + 4)));
    const double sw = static_cast<double>(source_rect.right) - source_rect.left;
    const double sh = static_cast<double>(source_rect.bottom) - source_rect.top;
    for (LONG y = static_cast<LONG>(min_y); y < static_cast<LONG>(max_y); ++y) {
        for (LONG x = static_cast<LONG>(min_x); x < static_cast<LONG>(max_x); ++x) {
            if (!region.inside(x, y))
                continue;
            const double px = x + 0.5 - x0, py = y + 0.5 - y0;
            const double u = (px * by - py * bx) / det;
            const double v = (ax * py - ay * px) / det;
            if (u < 0 || u >= 1 || v < 0 || v >= 1)
                continue;
            const long long sx = source_rect.left + static_cast<long long>(std::floor(u * sw));
            const long long sy = source_rect.top + static_cast<long long>(std::floor(v * sh));
            if (sx < 0 || sy < 0 || sx >= b.source->width || sy >= b.source->height)
                continue;
            const ULONG raw = b.source->get(static_cast<LONG>(sx), static_cast<LONG>(sy));
            put_blended(dest, x, y, b, (*b.translate)(raw, x, y), x, y);
        }
    }
}

void fill_rect(const Canvas& dest, const Region& region, const RECTL& rect, const Pen& pen, ULONG rop3) {
    RECTL part;
    for (const RECTL& r : region.rects) {
        if (!cut(r, rect, &part))
            continue;
        for (LONG y = part.top; y < part.bottom; ++y) {
            for (LONG x = part.left; x < part.right; ++x)
                dest.put(x, y, apply_rop3(rop3, pen.at(dest, x, y), 0, dest.get(x, y)));
        }
    }
}

void draw_line(const Canvas& dest, const Region& region, LONG x1, LONG y1, LONG x2, LONG y2, const Pen& pen,
               ULONG rop3) {
    const long long dx = static_cast<long long>(x2) - x1;
    const long long dy = static_cast<long long>(y2) - y1;
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    if (steps == 0)
        return;
    // Pixel i of the line's `steps` (the last point is left out) lies at start + i / steps of the way,
    // rounded. Only the steps that can land on the bitmap are walked, so a line far off it costs nothing.
    double lo = 0, hi = static_cast<double>(steps - 1);
    const auto limit = [&](long long start, long long delta, LONG size) {
        if (delta == 0) {
            if (start < 0 || start >= size)
                hi = -1;
            return;
        }
        double a = (-1.0 - start) * steps / delta;
        double b = (size + 1.0 - start) * steps / delta;
        if (a > b)
            std::swap(a, b);
        lo = std::max(lo, std::floor(a));
        hi = std::min(hi, std::ceil(b));
    };
    limit(x1, dx, dest.width);
    limit(y1, dy, dest.height);
    if (hi < lo)
        return;
    for (long long i = static_cast<long long>(lo); i <= static_cast<long long>(hi); ++i) {
        const long long x = x1 + rounded_share(i, dx, steps);
        const long long y = y1 + rounded_share(i, dy, steps);
        if (x < 0 || y < 0 || x >= dest.width || y >= dest.height)
            continue;
        const LONG px = static_cast<LONG>(x), py = static_cast<LONG>(y);
        if (region.inside(px, py))
            dest.put(px, py, apply_rop3(rop3, pen.at(dest, px, py), 0, dest.get(px, py)));
    }
}

void fill_figures(const Canvas& dest, const Region& region, const std::vector<Figure>& figures, bool winding,
                  const Pen& pen, ULONG rop3) {
    struct Edge {
        double x0, y0, x1, y1;
        int dir;
    };
    std::vector<Edge> edges;
    double top = 1e18, bottom = -1e18;
    for (const Figure& f : figures) {
        const size_t n = f.points.size();
        for (size_t i = 0; i < n; ++i) {
            const POINTFIX& a = f.points[i];
            const POINTFIX& c = f.points[(i + 1) % n];
            if (a.y == c.y)
                continue;
            const Edge e = {a.x / 16.0, a.y / 16.0, c.x / 16.0, c.y / 16.0, a.y < c.y ? 1 : -1};
            edges.push_back(e);
            top = std::min({top, e.y0, e.y1});
            bottom = std::max({bottom, e.y0, e.y1});
        }
    }
    if (edges.empty())
        return;
    const LONG first = static_cast<LONG>(std::max(0.0, std::floor(top)));
    const LONG last = static_cast<LONG>(std::min(static_cast<double>(dest.height), std::ceil(bottom)));
    std::vector<std::pair<double, int>> crossings;
    for (LONG y = first; y < last; ++y) {
        const double sy = y + 0.5;
        crossings.clear();
        for (const Edge& e : edges) {
            const double lo = std::min(e.y0, e.y1), hi = std::max(e.y0, e.y1);
            if (sy < lo || sy >= hi)
                continue;
            crossings.emplace_back(e.x0 + (sy - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir);
        }
        std::sort(crossings.begin(), crossings.end());
        int count = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            count += winding ? crossings[i].second : 1;
            const bool filled = winding ? count != 0 : (count & 1) != 0;
            if (!filled)
                continue;
            // Pixels whose centres lie between the two crossings.
            const double from = std::max(0.0, std::ceil(crossings[i].first - 0.5));
            const double to =
                std::min(static_cast<double>(dest.width), std::ceil(crossings[i + 1].first - 0.5));
            for (LONG x = static_cast<LONG>(from); x < static_cast<LONG>(to); ++x) {
                if (region.inside(x, y))
                    dest.put(x, y, apply_rop3(rop3, pen.at(dest, x, y), 0, dest.get(x, y)));
            }
        }
    }
}

void stroke_figures(const Canvas& dest, const Region& region, const std::vector<Figure>& figures,
                    const Pen& pen, ULONG rop3) {
    for (const Figure& f : figures) {
        const size_t n = f.points.size();
        const size_t segments = f.closed ? n : (n ? n - 1 : 0);
        for (size_t i = 0; i < segments; ++i) {
            const POINTFIX& a = f.points[i];
            const POINTFIX& c = f.points[(i + 1) % n];
            draw_line(dest, region, (a.x + 8) >> 4, (a.y + 8) >> 4, (c.x + 8) >> 4, (c.y + 8) >> 4, pen,
                      rop3);
        }
    }
}

void draw_glyph(const Canvas& dest, const Region& region, POINTL at, const GLYPHBITS* glyph, const Pen& pen,
                ULONG rop3) {
    if (!glyph || glyph->sizlBitmap.cx <= 0 || glyph->sizlBitmap.cy <= 0)
        return;
    const long long left = static_cast<long long>(at.x) + glyph->ptlOrigin.x;
    const long long top = static_cast<long long>(at.y) + glyph->ptlOrigin.y;
    const size_t row_bytes = (static_cast<size_t>(glyph->sizlBitmap.cx) + 7) / 8;
    // Only the rows and columns that land on the bitmap are read.
    const LONG r0 = static_cast<LONG>(std::max<long long>(0, -top));
    const LONG r1 = static_cast<LONG>(std::min<long long>(glyph->sizlBitmap.cy, dest.height - top));
    const LONG c0 = static_cast<LONG>(std::max<long long>(0, -left));
    const LONG c1 = static_cast<LONG>(std::min<long long>(glyph->sizlBitmap.cx, dest.width - left));
    for (LONG r = r0; r < r1; ++r) {
        const BYTE* row = glyph->aj + row_bytes * r;
        for (LONG c = c0; c < c1; ++c) {
            if (!((row[c / 8] >> (7 - c % 8)) & 1))
                continue;
            const LONG x = static_cast<LONG>(left + c), y = static_cast<LONG>(top + r);
            if (region.inside(x, y))
                dest.put(x, y, apply_rop3(rop3, pen.at(dest, x, y), 0, dest.get(x, y)));
        }
    }
}

} // namespace winsim
