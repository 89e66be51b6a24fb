// The engine's DDI objects and the object services a driver calls on them: BRUSHOBJ_pvAllocRbrush,
// BRUSHOBJ_pvGetRbrush, CLIPOBJ_cEnumStart, CLIPOBJ_bEnum, STROBJ_vEnumStart, STROBJ_bEnum,
// XLATEOBJ_cGetPalette. Their behaviour follows ReactOS's engine (win32ss/gdi/eng: brushobj.c, clip.c,
// xlateobj.c, stringobj.c).
#include "objects.h"

#include "reset.h"
#include "services.h"

#include <winsim_host.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

namespace winsim {
namespace {

struct ClipRecord {
    CLIPOBJ co{};
    std::vector<RECTL> rects;
    size_t cursor = 0;
};

struct BrushRecord {
    BRUSHOBJ bo{};
    bool has_color = false;
    ULONG color = 0;
    ULONG hatch = 0;
    RealizeBrush realize = nullptr;
    SURFOBJ* target = nullptr;
    std::vector<unsigned long long> rbrush; // the driver's realisation, freed with the brush
};

struct XlateRecord {
    XLATEOBJ xo{};
    PaletteView source;
    PaletteView dest;
    std::vector<ULONG> table;
};

struct PathRecord {
    PATHOBJ po{};
    std::vector<Figure> figures;
};

struct StringRecord {
    STROBJ so{};
    std::vector<std::vector<unsigned long long>> bits; // one GLYPHBITS each
    std::vector<GLYPHDEF> defs;
    std::vector<GLYPHPOS> positions;
    std::u16string text;
};

struct FontRecord {
    FONTOBJ fo{};
};

struct Objects {
    std::mutex mutex;
    ULONG next_uniq = 1;
    std::map<const void*, std::unique_ptr<ClipRecord>> clips;
    std::map<const void*, std::unique_ptr<BrushRecord>> brushes;
    std::map<const void*, std::unique_ptr<XlateRecord>> xlates;
    std::map<const void*, std::unique_ptr<PathRecord>> paths;
    std::map<const void*, std::unique_ptr<StringRecord>> strings;
    std::map<const void*, std::unique_ptr<FontRecord>> fonts;
};

Objects& objects() {
    static Objects* o = new Objects;
    return *o;
}

template <class R> R* find(std::map<const void*, std::unique_ptr<R>>& map, const void* key) {
    const auto it = map.find(key);
    return it == map.end() ? nullptr : it->second.get();
}

template <class R> using Registry = std::map<const void*, std::unique_ptr<R>> Objects::*;

// Keeps an object's record until its delete; the driver is handed its public part, `handle`. Clips,
// translations and fonts carry the engine's next unique number in `uniq`.
template <class R, class H>
H* keep(Registry<R> registry, std::unique_ptr<R> r, H* handle, ULONG* uniq = nullptr) {
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    if (uniq)
        *uniq = o.next_uniq++;
    (o.*registry).emplace(handle, std::move(r));
    return handle;
}

template <class R> void forget(Registry<R> registry, const void* handle) {
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    (o.*registry).erase(handle);
}

ULONG grey_of(ULONG c) {
    return ((c & 0xFF) * 299 + ((c >> 8) & 0xFF) * 587 + ((c >> 16) & 0xFF) * 114) / 1000;
}

ULONG swap_rb(ULONG c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

int shift_of(ULONG mask) {
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

ULONG width_of(ULONG mask) {
    mask >>= shift_of(mask);
    ULONG w = 0;
    while (mask & 1) {
        mask >>= 1;
        ++w;
    }
    return w;
}

ULONG take_field(ULONG value, ULONG mask) {
    const ULONG w = width_of(mask);
    if (w == 0)
        return 0;
    const ULONG v = (value & mask) >> shift_of(mask);
    return w >= 8 ? v >> (w - 8) : v * 255 / ((1u << w) - 1);
}

ULONG put_field(ULONG channel, ULONG mask) {
    const ULONG w = width_of(mask);
    if (w == 0)
        return 0;
    const ULONG v = w >= 8 ? channel << (w - 8) : channel >> (8 - w);
    return (v << shift_of(mask)) & mask;
}

PaletteView default_palette(ULONG bits) {
    PaletteView p;
    switch (bits) {
    case 1:
        p.mode = PAL_INDEXED;
        p.colors = {0x000000, 0xFFFFFF};
        break;
    case 4:
    case 8: {
        p.mode = PAL_INDEXED;
        const ULONG n = 1u << bits;
        for (ULONG i = 0; i < n; ++i)
            p.colors.push_back((i * 255 / (n - 1)) * 0x010101);
        break;
    }
    case 16:
        p.mode = PAL_BITFIELDS;
        p.colors = {0x7C00, 0x03E0, 0x001F};
        break;
    default:
        p.mode = PAL_BGR; // device-independent bitmaps hold blue first
        break;
    }
    return p;
}

const PaletteView& resolved(const PaletteView& palette, ULONG bits, PaletteView* storage) {
    if (palette.mode != 0 && !(palette.mode == PAL_INDEXED && palette.colors.empty()))
        return palette;
    *storage = default_palette(bits);
    return *storage;
}

} // namespace

ULONG palette_color(const PaletteView& given, ULONG bits, ULONG value) {
    PaletteView storage;
    const PaletteView& p = resolved(given, bits, &storage);
    switch (p.mode) {
    case PAL_INDEXED:
        return value < p.colors.size() ? p.colors[value] & 0xFFFFFF : 0;
    case PAL_RGB:
        return value & 0xFFFFFF;
    case PAL_BGR:
        return swap_rb(value & 0xFFFFFF);
    case PAL_BITFIELDS:
        return take_field(value, p.colors[0]) | take_field(value, p.colors[1]) << 8 |
               take_field(value, p.colors[2]) << 16;
    default:
        return 0;
    }
}

ULONG palette_nearest(const PaletteView& given, ULONG bits, ULONG color) {
    PaletteView storage;
    const PaletteView& p = resolved(given, bits, &storage);
    color &= 0xFFFFFF;
    switch (p.mode) {
    case PAL_INDEXED: {
        ULONG best = 0;
        long long best_distance = -1;
        for (size_t i = 0; i < p.colors.size(); ++i) {
            const ULONG c = p.colors[i] & 0xFFFFFF;
            long long d = 0;
            for (int k = 0; k < 3; ++k) {
                const long long diff = static_cast<long long>((c >> (8 * k)) & 0xFF) -
                                       static_cast<long long>((color >> (8 * k)) & 0xFF);
                d += diff * diff;
            }
            if (best_distance < 0 || d < best_distance) {
                best = static_cast<ULONG>(i);
                best_distance = d;
                if (d == 0)
                    break;
            }
        }
        return best;
    }
    case PAL_RGB:
        return color;
    case PAL_BGR:
        return swap_rb(color);
    case PAL_BITFIELDS:
        return put_field(color & 0xFF, p.colors[0]) | put_field((color >> 8) & 0xFF, p.colors[1]) |
               put_field((color >> 16) & 0xFF, p.colors[2]);
    default:
        return 0;
    }
}

ULONG palette_grey(ULONG color) {
    return grey_of(color);
}

bool clip_region(const CLIPOBJ* pco, std::vector<RECTL>* rects) {
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    const ClipRecord* r = find(o.clips, pco);
    if (!r)
        return false;
    *rects = r->rects;
    return true;
}

BrushFacts brush_facts(const BRUSHOBJ* pbo) {
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    const BrushRecord* r = find(o.brushes, pbo);
    if (!r)
        return {};
    return {true, r->has_color, r->color};
}

bool xlate_palettes(const XLATEOBJ* pxlo, PaletteView* source, PaletteView* dest) {
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    const XlateRecord* r = find(o.xlates, pxlo);
    if (!r)
        return false;
    *source = r->source;
    *dest = r->dest;
    return true;
}

bool path_figures(const PATHOBJ* ppo, std::vector<Figure>* figures) {
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    const PathRecord* r = find(o.paths, ppo);
    if (!r)
        return false;
    *figures = r->figures;
    return true;
}

bool string_glyphs(STROBJ* pstro, std::vector<GLYPHPOS>* glyphs) {
    glyphs->clear();
    if (!pstro)
        return false;
    if (pstro->pgp) {
        glyphs->assign(pstro->pgp, pstro->pgp + pstro->cGlyphs);
        return true;
    }
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    const StringRecord* r = find(o.strings, pstro);
    if (!r)
        return false;
    *glyphs = r->positions;
    return true;
}

CLIPOBJ* make_clip(ULONG complexity, const RECTL* rects, ULONG count) {
    auto r = std::make_unique<ClipRecord>();
    RECTL bounds = {0, 0, 0, 0};
    for (ULONG i = 0; i < count; ++i) {
        const RECTL& x = rects[i];
        if (x.left >= x.right || x.top >= x.bottom)
            continue;
        if (r->rects.empty()) {
            bounds = x;
        } else {
            bounds.left = std::min(bounds.left, x.left);
            bounds.top = std::min(bounds.top, x.top);
            bounds.right = std::max(bounds.right, x.right);
            bounds.bottom = std::max(bounds.bottom, x.bottom);
        }
        r->rects.push_back(x);
    }
    // A region's rectangles come top to bottom, left to right, as the engine enumerates them.
    std::sort(r->rects.begin(), r->rects.end(), [](const RECTL& a, const RECTL& b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    r->co.rclBounds = bounds;
    r->co.iDComplexity = static_cast<BYTE>(complexity);
    r->co.iFComplexity = complexity == DC_COMPLEX ? FC_COMPLEX : FC_RECT;
    r->co.iMode = TC_RECTANGLES;
    CLIPOBJ* handle = &r->co;
    return keep(&Objects::clips, std::move(r), handle, &handle->iUniq);
}

void delete_clip(CLIPOBJ* pco) {
    forget(&Objects::clips, pco);
}

BRUSHOBJ* make_brush(ULONG solid, bool has_color, ULONG color, ULONG hatch, RealizeBrush realize,
                     SURFOBJ* target) {
    auto r = std::make_unique<BrushRecord>();
    r->bo.iSolidColor = solid;
    r->has_color = has_color;
    r->color = color & 0xFFFFFF;
    r->hatch = hatch;
    r->realize = realize;
    r->target = target;
    BRUSHOBJ* handle = &r->bo;
    return keep(&Objects::brushes, std::move(r), handle);
}

void delete_brush(BRUSHOBJ* pbo) {
    forget(&Objects::brushes, pbo);
}

XLATEOBJ* make_xlate(const PaletteView& source, const PaletteView& dest) {
    auto r = std::make_unique<XlateRecord>();
    r->source = source;
    r->dest = dest;
    r->xo.iSrcType = static_cast<USHORT>(source.mode);
    r->xo.iDstType = static_cast<USHORT>(dest.mode);
    if (source.mode == PAL_INDEXED) {
        for (ULONG c : source.colors)
            r->table.push_back(palette_nearest(dest, 24, c));
        r->xo.flXlate = XO_TABLE;
        r->xo.cEntries = static_cast<ULONG>(r->table.size());
        r->xo.pulXlate = r->table.data();
    }
    XLATEOBJ* handle = &r->xo;
    return keep(&Objects::xlates, std::move(r), handle, &handle->iUniq);
}

void delete_xlate(XLATEOBJ* pxlo) {
    forget(&Objects::xlates, pxlo);
}

PATHOBJ* make_path(std::vector<Figure> figures) {
    auto r = std::make_unique<PathRecord>();
    r->figures = std::move(figures);
    ULONG curves = 0;
    for (const Figure& f : r->figures)
        curves += static_cast<ULONG>(f.points.size());
    r->po.cCurves = curves;
    r->po.fl = 0;
    PATHOBJ* handle = &r->po;
    return keep(&Objects::paths, std::move(r), handle);
}

void delete_path(PATHOBJ* ppo) {
    forget(&Objects::paths, ppo);
}

STROBJ* make_string(const std::vector<GlyphImage>& glyphs, const RECTL& background, const WCHAR* text) {
    auto r = std::make_unique<StringRecord>();
    const size_t n = glyphs.size();
    r->bits.resize(n);
    r->defs.resize(n);
    r->positions.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const GlyphImage& g = glyphs[i];
        const size_t row_bytes = (static_cast<size_t>(g.size.cx) + 7) / 8;
        const size_t bytes = offsetof(GLYPHBITS, aj) + std::max<size_t>(row_bytes * g.size.cy, 1);
        r->bits[i].assign((bytes + 7) / 8, 0);
        auto* gb = reinterpret_cast<GLYPHBITS*>(r->bits[i].data());
        gb->ptlOrigin = g.origin;
        gb->sizlBitmap = g.size;
        std::copy(g.rows.begin(), g.rows.begin() + std::min(g.rows.size(), row_bytes * g.size.cy), gb->aj);
        r->defs[i].pgb = gb;
        r->positions[i] = {static_cast<HGLYPH>(i), &r->defs[i], g.position};
    }
    if (text)
        r->text = text;
    r->so.cGlyphs = static_cast<ULONG>(n);
    r->so.flAccel = SO_HORIZONTAL;
    r->so.rclBkGround = background;
    r->so.pgp = nullptr; // the driver enumerates, as with most strings Windows' engine hands out
    r->so.pwszOrg = r->text.empty() ? nullptr : r->text.data();
    STROBJ* handle = &r->so;
    return keep(&Objects::strings, std::move(r), handle);
}

void delete_string(STROBJ* pstro) {
    forget(&Objects::strings, pstro);
}

FONTOBJ* make_font(ULONG face, LONG pixel_height, ULONG dpi) {
    auto r = std::make_unique<FontRecord>();
    r->fo.iFace = face;
    r->fo.cxMax = static_cast<ULONG>(pixel_height);
    r->fo.flFontType = 0x0004; // TRUETYPE_FONTTYPE
    r->fo.sizLogResPpi = {static_cast<LONG>(dpi), static_cast<LONG>(dpi)};
    r->fo.ulStyleSize = static_cast<ULONG>(pixel_height);
    FONTOBJ* handle = &r->fo;
    return keep(&Objects::fonts, std::move(r), handle, &handle->iUniq);
}

void delete_font(FONTOBJ* pfo) {
    forget(&Objects::fonts, pfo);
}

void reset_objects() {
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    o.clips.clear();
    o.brushes.clear();
    o.xlates.clear();
    o.paths.clear();
    o.strings.clear();
    o.fonts.clear();
}

} // namespace winsim

using namespace winsim;

extern "C" {

PVOID APIENTRY BRUSHOBJ_pvAllocRbrush(BRUSHOBJ* pbo, ULONG cj) {
    if (const DWORD fault = enter(Service::BRUSHOBJ_pvAllocRbrush)) {
        SetLastError(fault);
        return nullptr;
    }
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    BrushRecord* r = find(o.brushes, pbo);
    // Only the engine's own brushes carry a realisation it can free with them.
    if (!r || cj == 0 || cj > (1u << 20)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    r->rbrush.assign((static_cast<size_t>(cj) + 7) / 8, 0);
    r->bo.pvRbrush = r->rbrush.data();
    return r->bo.pvRbrush;
}

PVOID APIENTRY BRUSHOBJ_pvGetRbrush(BRUSHOBJ* pbo) {
    if (const DWORD fault = enter(Service::BRUSHOBJ_pvGetRbrush)) {
        SetLastError(fault);
        return nullptr;
    }
    if (!pbo)
        return nullptr;
    if (pbo->pvRbrush)
        return pbo->pvRbrush;
    RealizeBrush realize = nullptr;
    SURFOBJ* target = nullptr;
    ULONG hatch = 0;
    {
        Objects& o = objects();
        std::lock_guard lock(o.mutex);
        const BrushRecord* r = find(o.brushes, pbo);
        if (!r)
            return nullptr;
        realize = r->realize;
        target = r->target;
        hatch = r->hatch;
    }
    // A driver without DrvRealizeBrush gets no realisation: the engine keeps its own apart.
    if (!realize)
        return nullptr;
    if (!realize(pbo, target, nullptr, nullptr, nullptr, hatch)) {
        Objects& o = objects();
        std::lock_guard lock(o.mutex);
        if (BrushRecord* r = find(o.brushes, pbo)) {
            r->rbrush.clear();
            r->bo.pvRbrush = nullptr;
        }
        return nullptr;
    }
    return pbo->pvRbrush;
}

ULONG APIENTRY CLIPOBJ_cEnumStart(CLIPOBJ* pco, WINBOOL, ULONG, ULONG, ULONG cLimit) {
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    ClipRecord* r = find(o.clips, pco);
    if (!r)
        return 0;
    r->cursor = 0;
    const ULONG count = static_cast<ULONG>(r->rects.size());
    return cLimit && count > cLimit ? 0xFFFFFFFF : count;
}

WINBOOL APIENTRY CLIPOBJ_bEnum(CLIPOBJ* pco, ULONG cj, ULONG* pv) {
    auto* out = reinterpret_cast<ENUMRECTS*>(pv);
    if (!out || cj < sizeof(ULONG))
        return FALSE;
    out->c = 0;
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    ClipRecord* r = find(o.clips, pco);
    if (!r)
        return FALSE;
    const size_t room = (cj - offsetof(ENUMRECTS, arcl)) / sizeof(RECTL);
    while (out->c < room && r->cursor < r->rects.size())
        out->arcl[out->c++] = r->rects[r->cursor++];
    return r->cursor < r->rects.size();
}

VOID APIENTRY STROBJ_vEnumStart(STROBJ*) {}

WINBOOL APIENTRY STROBJ_bEnum(STROBJ* pstro, ULONG* pc, PGLYPHPOS* ppgpos) {
    if (pc)
        *pc = 0;
    if (ppgpos)
        *ppgpos = nullptr;
    if (!pstro || !pc || !ppgpos)
        return FALSE;
    if (pstro->pgp) {
        *pc = pstro->cGlyphs;
        *ppgpos = pstro->pgp;
        return FALSE;
    }
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    StringRecord* r = find(o.strings, pstro);
    if (!r)
        return FALSE;
    // One batch holds the whole string: nothing follows it.
    *pc = static_cast<ULONG>(r->positions.size());
    *ppgpos = r->positions.data();
    return FALSE;
}

ULONG APIENTRY XLATEOBJ_cGetPalette(XLATEOBJ* pxlo, ULONG iPal, ULONG cPal, ULONG* pPal) {
    if (const DWORD fault = enter(Service::XLATEOBJ_cGetPalette)) {
        SetLastError(fault);
        return 0;
    }
    Objects& o = objects();
    std::lock_guard lock(o.mutex);
    const XlateRecord* r = find(o.xlates, pxlo);
    if (!r || (iPal != XO_SRCPALETTE && iPal != XO_DESTPALETTE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Only indexed palettes have entries to hand out.
    const PaletteView& p = iPal == XO_SRCPALETTE ? r->source : r->dest;
    if (p.mode != PAL_INDEXED)
        return 0;
    const ULONG count = static_cast<ULONG>(p.colors.size());
    if (!pPal)
        return count;
    const ULONG n = std::min(cPal, count);
    for (ULONG i = 0; i < n; ++i)
        pPal[i] = p.colors[i] & 0xFFFFFF;
    return n;
}

} // extern "C"

// Host functions.

extern "C" {

void* winsim_clip_create(uint32_t complexity, const int32_t* rects, uint32_t count) {
    std::vector<RECTL> list;
    for (uint32_t i = 0; rects && i < count; ++i)
        list.push_back({rects[4 * i], rects[4 * i + 1], rects[4 * i + 2], rects[4 * i + 3]});
    return make_clip(complexity, list.data(), static_cast<ULONG>(list.size()));
}

void winsim_clip_delete(void* clip) {
    delete_clip(static_cast<CLIPOBJ*>(clip));
}

void* winsim_brush_create(uint32_t solid, uint32_t color, uint32_t hatch, winsim_realize_brush realize,
                          void* target) {
    return make_brush(solid, solid == 0xFFFFFFFF, color, hatch, reinterpret_cast<RealizeBrush>(realize),
                      static_cast<SURFOBJ*>(target));
}

void winsim_brush_delete(void* brush) {
    delete_brush(static_cast<BRUSHOBJ*>(brush));
}

void* winsim_path_create(const int32_t* points, uint32_t count) {
    Figure figure;
    figure.closed = true;
    for (uint32_t i = 0; points && i < count; ++i)
        figure.points.push_back({points[2 * i] * 16, points[2 * i + 1] * 16});
    std::vector<Figure> figures;
    figures.push_back(std::move(figure));
    return make_path(std::move(figures));
}

void winsim_path_delete(void* path) {
    delete_path(static_cast<PATHOBJ*>(path));
}

void winsim_xlate_delete(void* xlate) {
    delete_xlate(static_cast<XLATEOBJ*>(xlate));
}

} // extern "C"
