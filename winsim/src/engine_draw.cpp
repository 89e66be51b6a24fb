// The engine's drawing services: each logs and records its call (what a driver handed on), checks that
// its target is a bitmap the engine made and its source one of its surfaces with pixels, and draws for
// real with the rasteriser. Arguments a call leaves out that it needs (a brush for a fill, a source point
// for a copy) make it draw nothing, as GDI's own calls never leave them out.
#include "engine_internal.h"
#include "objects.h"
#include "raster.h"
#include "reset.h"
#include "services.h"

#include <windows.h>
#include <winddi.h>
#include <winsim_host.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace winsim {
namespace {

constexpr size_t kMaxDrawRecords = 100000;

struct DrawLog {
    std::mutex mutex;
    std::vector<winsim_draw_call> calls;
};

DrawLog& draw_log() {
    static DrawLog* log = new DrawLog;
    return *log;
}

winsim_rect rect_of(const RECTL& r) {
    return {r.left, r.top, r.right, r.bottom};
}

winsim_point point_of(const POINTL& p) {
    return {p.x, p.y};
}

// One drawing call: its record, its log line and its planned failure.
class Call {
  public:
    Call(Service service, const char* name, SURFOBJ* target, SURFOBJ* source)
        : service_(service), target_(target), source_(source) {
        std::strncpy(rec_.service, name, sizeof(rec_.service) - 1);
        rec_.target = target ? target->hsurf : nullptr;
        rec_.source = source ? source->hsurf : nullptr;
        line_ = std::string(name) +
                " target=" + (target ? hex(reinterpret_cast<uintptr_t>(target->hsurf)) : "(null)");
        if (source)
            line_ += " source=" + hex(reinterpret_cast<uintptr_t>(source->hsurf));
    }

    Call& dest(const RECTL* r, uint32_t flag = WINSIM_DRAW_DEST) {
        if (r) {
            rec_.given |= flag;
            rec_.dest = rect_of(*r);
        }
        return *this;
    }
    Call& source_rect(const RECTL* r) {
        if (r) {
            rec_.given |= WINSIM_DRAW_SOURCE_RECT;
            rec_.source_rect = rect_of(*r);
        }
        return *this;
    }
    Call& source_point(const POINTL* p) {
        if (p) {
            rec_.given |= WINSIM_DRAW_SOURCE_POINT;
            rec_.source_point = point_of(*p);
        }
        return *this;
    }
    Call& origin(const POINTL* p) {
        if (p) {
            rec_.given |= WINSIM_DRAW_ORIGIN;
            rec_.origin = point_of(*p);
        }
        return *this;
    }
    Call& mask(const SURFOBJ* mask, const POINTL* p) {
        rec_.mask = mask;
        if (p) {
            rec_.given |= WINSIM_DRAW_MASK_POINT;
            rec_.mask_point = point_of(*p);
        }
        return *this;
    }
    Call& clip(const CLIPOBJ* pco) {
        rec_.clip = pco;
        if (pco) {
            rec_.given |= WINSIM_DRAW_CLIP;
            rec_.clip_complexity = pco->iDComplexity;
            rec_.clip_bounds = rect_of(pco->rclBounds);
        }
        return *this;
    }
    Call& xlate(const XLATEOBJ* pxlo) {
        rec_.xlate = pxlo;
        return *this;
    }
    Call& brush(const BRUSHOBJ* pbo) {
        rec_.brush = pbo;
        if (pbo) {
            rec_.given |= WINSIM_DRAW_BRUSH;
            rec_.brush_color = pbo->iSolidColor;
            rec_.brush_realized = pbo->pvRbrush;
        }
        return *this;
    }
    Call& brush2(const BRUSHOBJ* pbo) {
        rec_.brush2 = pbo;
        if (pbo) {
            rec_.given |= WINSIM_DRAW_BRUSH2;
            rec_.brush2_color = pbo->iSolidColor;
        }
        return *this;
    }
    Call& color_adjust(const COLORADJUSTMENT* ca) {
        rec_.color_adjust = ca;
        if (ca) {
            rec_.given |= WINSIM_DRAW_COLOR_ADJUST;
            const WORD values[12] = {ca->caIlluminantIndex,
                                     ca->caRedGamma,
                                     ca->caGreenGamma,
                                     ca->caBlueGamma,
                                     ca->caReferenceBlack,
                                     ca->caReferenceWhite,
                                     static_cast<WORD>(ca->caContrast),
                                     static_cast<WORD>(ca->caBrightness),
                                     static_cast<WORD>(ca->caColorfulness),
                                     static_cast<WORD>(ca->caRedGreenTint),
                                     0,
                                     0};
            for (int i = 0; i < 12; ++i)
                rec_.color_adjust_values[i] = static_cast<int16_t>(values[i]);
        }
        return *this;
    }
    Call& mode(ULONG m) {
        rec_.mode = m;
        return *this;
    }
    Call& rop(ULONG r) {
        rec_.rop = r;
        return *this;
    }
    Call& path(const PATHOBJ* ppo) {
        rec_.path = ppo;
        return *this;
    }
    Call& string(const STROBJ* pstro) {
        rec_.string = pstro;
        rec_.glyphs = pstro ? pstro->cGlyphs : 0;
        return *this;
    }
    Call& line(LONG x1, LONG y1, LONG x2, LONG y2) {
        rec_.line[0] = x1;
        rec_.line[1] = y1;
        rec_.line[2] = x2;
        rec_.line[3] = y2;
        return *this;
    }

    // Logs and counts the call; then the target (and source) must be the engine's bitmaps. false when the
    // call fails here, by plan or for its surfaces, with the last error set and the failure recorded.
    bool start() {
        if (const DWORD fault = enter(service_, line_)) {
            finish(FALSE, fault);
            return false;
        }
        bool known = false;
        if (!engine_canvas(target_, &target_canvas_, &known)) {
            finish(FALSE, ERROR_INVALID_PARAMETER);
            return false;
        }
        if (source_) {
            if (!engine_canvas(source_, &source_canvas_, &known)) {
                finish(FALSE, ERROR_INVALID_PARAMETER);
                return false;
            }
        }
        return true;
    }
    const Canvas& target() const { return target_canvas_; }
    const Canvas& source() const { return source_canvas_; }
    bool has_source() const { return source_ != nullptr; }

    BOOL finish(BOOL result, DWORD error = 0) {
        rec_.result = result ? 1 : 0;
        if (!result && error)
            SetLastError(error);
        DrawLog& log = draw_log();
        std::lock_guard lock(log.mutex);
        if (log.calls.size() < kMaxDrawRecords)
            log.calls.push_back(rec_);
        return result;
    }

  private:
    Service service_;
    SURFOBJ* target_;
    SURFOBJ* source_;
    std::string line_;
    winsim_draw_call rec_{};
    Canvas target_canvas_;
    Canvas source_canvas_;
};

// An optional 1-bit mask as the rasteriser reads it.
bool mask_canvas(SURFOBJ* mask, Canvas* out) {
    bool known = false;
    return mask && engine_canvas(mask, out, &known) && out->bits == 1;
}

BOOL stretch(Call& call, SURFOBJ* psoMask, CLIPOBJ* pco, XLATEOBJ* pxlo, POINTL* pptlHTOrg, RECTL* prclDest,
             RECTL* prclSrc, POINTL* pptlMask, ULONG iMode, BRUSHOBJ* pbo, ROP4 rop4) {
    if (!call.start())
        return FALSE;
    if (!prclDest || !prclSrc || !call.has_source())
        return call.finish(TRUE);
    const Canvas& dest = call.target();
    const Translation t = translation_of(pxlo, call.source(), dest, iMode == HALFTONE);
    Canvas mask;
    Blit b;
    b.source = &call.source();
    b.translate = &t;
    if (mask_canvas(psoMask, &mask)) {
        b.mask = &mask;
        b.mask_from = pptlMask ? *pptlMask : POINTL{0, 0};
    }
    b.pen = pen_of(pbo, pptlHTOrg, dest);
    b.rop4 = rop4;
    blit_stretch(dest, clip_to(pco, dest), *prclDest, *prclSrc, b);
    return call.finish(TRUE);
}

} // namespace

void reset_draw_log() {
    DrawLog& log = draw_log();
    std::lock_guard lock(log.mutex);
    log.calls.clear();
}

} // namespace winsim

using namespace winsim;

extern "C" {

WINBOOL APIENTRY EngBitBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco, XLATEOBJ* pxlo,
                           RECTL* prclTrg, POINTL* pptlSrc, POINTL* pptlMask, BRUSHOBJ* pbo,
                           POINTL* pptlBrush, ROP4 rop4) {
    Call call(Service::EngBitBlt, "EngBitBlt", psoTrg, psoSrc);
    call.dest(prclTrg)
        .source_point(pptlSrc)
        .mask(psoMask, pptlMask)
        .clip(pco)
        .xlate(pxlo)
        .brush(pbo)
        .origin(pptlBrush);
    call.rop(rop4);
    if (!call.start())
        return FALSE;
    if (!prclTrg)
        return call.finish(TRUE);
    const Canvas& dest = call.target();
    const Region region = clip_to(pco, dest);
    const Pen pen = pen_of(pbo, pptlBrush, dest);
    const bool needs_source = ((rop4 ^ (rop4 >> 2)) & 0x3333) != 0;
    const bool needs_pattern = ((rop4 ^ (rop4 >> 4)) & 0x0F0F) != 0;
    if ((needs_pattern && !pen.ok) || (needs_source && (!call.has_source() || !pptlSrc)))
        return call.finish(TRUE);
    Canvas mask;
    Blit b;
    b.pen = pen;
    b.rop4 = rop4;
    if (mask_canvas(psoMask, &mask)) {
        b.mask = &mask;
        b.mask_from = pptlMask ? *pptlMask : POINTL{0, 0};
    }
    if (!needs_source) {
        if (!b.mask) {
            fill_rect(dest, region, *prclTrg, pen, rop4 & 0xFF);
            return call.finish(TRUE);
        }
        blit_copy(dest, region, *prclTrg, {0, 0}, b);
        return call.finish(TRUE);
    }
    const Translation t = translation_of(pxlo, call.source(), dest, false);
    b.source = &call.source();
    b.translate = &t;
    blit_copy(dest, region, *prclTrg, *pptlSrc, b);
    return call.finish(TRUE);
}

WINBOOL APIENTRY EngCopyBits(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo, RECTL* prclDest,
                             POINTL* pptlSrc) {
    Call call(Service::EngCopyBits, "EngCopyBits", psoDest, psoSrc);
    call.dest(prclDest).source_point(pptlSrc).clip(pco).xlate(pxlo).rop(0xCCCC);
    if (!call.start())
        return FALSE;
    if (!prclDest || !pptlSrc || !call.has_source())
        return call.finish(TRUE);
    const Translation t = translation_of(pxlo, call.source(), call.target(), false);
    Blit b;
    b.source = &call.source();
    b.translate = &t;
    blit_copy(call.target(), clip_to(pco, call.target()), *prclDest, *pptlSrc, b);
    return call.finish(TRUE);
}

WINBOOL APIENTRY EngStretchBlt(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco,
                               XLATEOBJ* pxlo, COLORADJUSTMENT* pca, POINTL* pptlHTOrg, RECTL* prclDest,
                               RECTL* prclSrc, POINTL* pptlMask, ULONG iMode) {
    Call call(Service::EngStretchBlt, "EngStretchBlt", psoDest, psoSrc);
    call.dest(prclDest).source_rect(prclSrc).mask(psoMask, pptlMask).clip(pco).xlate(pxlo).color_adjust(pca);
    call.origin(pptlHTOrg).mode(iMode).rop(0xCCCC);
    return stretch(call, psoMask, pco, pxlo, pptlHTOrg, prclDest, prclSrc, pptlMask, iMode, nullptr, 0xCCCC);
}

WINBOOL APIENTRY EngStretchBltROP(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco,
                                  XLATEOBJ* pxlo, COLORADJUSTMENT* pca, POINTL* pptlHTOrg, RECTL* prclDest,
                                  RECTL* prclSrc, POINTL* pptlMask, ULONG iMode, BRUSHOBJ* pbo, DWORD rop4) {
    Call call(Service::EngStretchBltROP, "EngStretchBltROP", psoDest, psoSrc);
    call.dest(prclDest).source_rect(prclSrc).mask(psoMask, pptlMask).clip(pco).xlate(pxlo).color_adjust(pca);
    call.origin(pptlHTOrg).mode(iMode).brush(pbo).rop(rop4);
    return stretch(call, psoMask, pco, pxlo, pptlHTOrg, prclDest, prclSrc, pptlMask, iMode, pbo, rop4);
}

WINBOOL APIENTRY EngPlgBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMsk, CLIPOBJ* pco, XLATEOBJ* pxlo,
                           COLORADJUSTMENT* pca, POINTL* pptlBrushOrg, POINTFIX* pptfx, RECTL* prcl,
                           POINTL* pptl, ULONG iMode) {
    Call call(Service::EngPlgBlt, "EngPlgBlt", psoTrg, psoSrc);
    call.source_rect(prcl).mask(psoMsk, pptl).clip(pco).xlate(pxlo).color_adjust(pca).origin(pptlBrushOrg);
    call.mode(iMode).rop(0xCCCC);
    if (!call.start())
        return FALSE;
    if (!pptfx || !prcl || !call.has_source())
        return call.finish(TRUE);
    const Translation t = translation_of(pxlo, call.source(), call.target(), iMode == HALFTONE);
    Blit b;
    b.source = &call.source();
    b.translate = &t;
    blit_parallelogram(call.target(), clip_to(pco, call.target()), pptfx, *prcl, b);
    return call.finish(TRUE);
}

WINBOOL APIENTRY EngAlphaBlend(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo,
                               RECTL* prclDest, RECTL* prclSrc, BLENDOBJ* pBlendObj) {
    Call call(Service::EngAlphaBlend, "EngAlphaBlend", psoDest, psoSrc);
    call.dest(prclDest).source_rect(prclSrc).clip(pco).xlate(pxlo);
    if (!call.start())
        return FALSE;
    // Blending is not drawn: a label printer has nothing between dot and no dot to blend into. The source
    // goes on where it is at least half opaque.
    if (!prclDest || !prclSrc || !pBlendObj || !call.has_source() ||
        pBlendObj->BlendFunction.SourceConstantAlpha < 128)
        return call.finish(TRUE);
    const Translation t = translation_of(pxlo, call.source(), call.target(), true);
    Blit b;
    b.source = &call.source();
    b.translate = &t;
    blit_stretch(call.target(), clip_to(pco, call.target()), *prclDest, *prclSrc, b);
    return call.finish(TRUE);
}

WINBOOL APIENTRY EngTransparentBlt(SURFOBJ* psoDst, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo,
                                   RECTL* prclDst, RECTL* prclSrc, ULONG iTransColor, ULONG) {
    Call call(Service::EngTransparentBlt, "EngTransparentBlt", psoDst, psoSrc);
    call.dest(prclDst).source_rect(prclSrc).clip(pco).xlate(pxlo).mode(iTransColor);
    if (!call.start())
        return FALSE;
    if (!prclDst || !prclSrc || !call.has_source())
        return call.finish(TRUE);
    const Translation t = translation_of(pxlo, call.source(), call.target(), false);
    Blit b;
    b.source = &call.source();
    b.translate = &t;
    b.has_skip = true;
    b.skip = iTransColor;
    blit_stretch(call.target(), clip_to(pco, call.target()), *prclDst, *prclSrc, b);
    return call.finish(TRUE);
}

WINBOOL APIENTRY EngGradientFill(SURFOBJ* psoDest, CLIPOBJ* pco, XLATEOBJ* pxlo, TRIVERTEX* pVertex,
                                 ULONG nVertex, PVOID pMesh, ULONG nMesh, RECTL* prclExtents,
                                 POINTL* pptlDitherOrg, ULONG ulMode) {
    Call call(Service::EngGradientFill, "EngGradientFill", psoDest, nullptr);
    call.dest(prclExtents).clip(pco).xlate(pxlo).origin(pptlDitherOrg).mode(ulMode);
    if (!call.start())
        return FALSE;
    if (!pVertex || !pMesh || ulMode > GRADIENT_FILL_RECT_V)
        return call.finish(TRUE);
    const Canvas& dest = call.target();
    const Region region = clip_to(pco, dest);
    const POINTL org = pptlDitherOrg ? *pptlDitherOrg : POINTL{0, 0};
    const auto* rects = static_cast<const GRADIENT_RECT*>(pMesh);
    for (ULONG m = 0; m < nMesh; ++m) {
        if (rects[m].UpperLeft >= nVertex || rects[m].LowerRight >= nVertex)
            continue;
        const TRIVERTEX& a = pVertex[rects[m].UpperLeft];
        const TRIVERTEX& z = pVertex[rects[m].LowerRight];
        const RECTL area = {std::min(a.x, z.x), std::min(a.y, z.y), std::max(a.x, z.x), std::max(a.y, z.y)};
        for (const RECTL& r : region.rects) {
            const LONG l = std::max(r.left, area.left), t = std::max(r.top, area.top);
            const LONG rr = std::min(r.right, area.right), b = std::min(r.bottom, area.bottom);
            for (LONG y = t; y < b; ++y) {
                for (LONG x = l; x < rr; ++x) {
                    const bool across = ulMode == GRADIENT_FILL_RECT_H;
                    const double span = across ? static_cast<double>(area.right) - area.left
                                               : static_cast<double>(area.bottom) - area.top;
                    const double at =
                        across ? static_cast<double>(x) - area.left : static_cast<double>(y) - area.top;
                    const double f = span > 0 ? (at + 0.5) / span : 0;
                    const auto mix = [&](COLOR16 p, COLOR16 q) {
                        return static_cast<ULONG>(((p >> 8) * (1 - f) + (q >> 8) * f) + 0.5) & 0xFF;
                    };
                    const ULONG color =
                        mix(a.Red, z.Red) | mix(a.Green, z.Green) << 8 | mix(a.Blue, z.Blue) << 16;
                    dest.put(x, y,
                             dithered(dest, color, static_cast<LONG>((static_cast<long long>(x) - org.x) & 3),
                                      static_cast<LONG>((static_cast<long long>(y) - org.y) & 3)));
                }
            }
        }
    }
    return call.finish(TRUE);
}

WINBOOL APIENTRY EngLineTo(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, LONG x1, LONG y1, LONG x2, LONG y2,
                           RECTL* prclBounds, MIX mix) {
    Call call(Service::EngLineTo, "EngLineTo", pso, nullptr);
    call.dest(prclBounds).clip(pco).brush(pbo).line(x1, y1, x2, y2).rop(mix);
    if (!call.start())
        return FALSE;
    const Canvas& dest = call.target();
    const Pen pen = pen_of(pbo, nullptr, dest);
    if (pen.ok)
        draw_line(dest, clip_to(pco, dest), x1, y1, x2, y2, pen, rop3_of_mix(mix));
    return call.finish(TRUE);
}

WINBOOL APIENTRY EngStrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ*, BRUSHOBJ* pbo,
                               POINTL* pptlBrushOrg, LINEATTRS*, MIX mix) {
    Call call(Service::EngStrokePath, "EngStrokePath", pso, nullptr);
    call.path(ppo).clip(pco).brush(pbo).origin(pptlBrushOrg).rop(mix);
    if (!call.start())
        return FALSE;
    std::vector<Figure> figures;
    const Canvas& dest = call.target();
    const Pen pen = pen_of(pbo, pptlBrushOrg, dest);
    if (pen.ok && path_figures(ppo, &figures))
        stroke_figures(dest, clip_to(pco, dest), figures, pen, rop3_of_mix(mix));
    return call.finish(TRUE);
}

WINBOOL APIENTRY EngFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* pptlBrushOrg,
                             MIX mix, FLONG flOptions) {
    Call call(Service::EngFillPath, "EngFillPath", pso, nullptr);
    call.path(ppo).clip(pco).brush(pbo).origin(pptlBrushOrg).rop(mix).mode(flOptions);
    if (!call.start())
        return FALSE;
    std::vector<Figure> figures;
    const Canvas& dest = call.target();
    const Pen pen = pen_of(pbo, pptlBrushOrg, dest);
    if (pen.ok && path_figures(ppo, &figures))
        fill_figures(dest, clip_to(pco, dest), figures, flOptions & FP_WINDINGMODE, pen, rop3_of_mix(mix));
    return call.finish(TRUE);
}

WINBOOL APIENTRY EngStrokeAndFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ*,
                                      BRUSHOBJ* pboStroke, LINEATTRS*, BRUSHOBJ* pboFill,
                                      POINTL* pptlBrushOrg, MIX mixFill, FLONG flOptions) {
    Call call(Service::EngStrokeAndFillPath, "EngStrokeAndFillPath", pso, nullptr);
    call.path(ppo)
        .clip(pco)
        .brush(pboStroke)
        .brush2(pboFill)
        .origin(pptlBrushOrg)
        .rop(mixFill)
        .mode(flOptions);
    if (!call.start())
        return FALSE;
    std::vector<Figure> figures;
    const Canvas& dest = call.target();
    if (path_figures(ppo, &figures)) {
        const Region region = clip_to(pco, dest);
        const Pen fill = pen_of(pboFill, pptlBrushOrg, dest);
        const Pen stroke = pen_of(pboStroke, pptlBrushOrg, dest);
        if (fill.ok)
            fill_figures(dest, region, figures, flOptions & FP_WINDINGMODE, fill, rop3_of_mix(mixFill));
        if (stroke.ok)
            stroke_figures(dest, region, figures, stroke, rop3_of_mix(R2_COPYPEN));
    }
    return call.finish(TRUE);
}

WINBOOL APIENTRY EngPaint(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* pptlBrushOrg, MIX mix) {
    Call call(Service::EngPaint, "EngPaint", pso, nullptr);
    call.clip(pco).brush(pbo).origin(pptlBrushOrg).rop(mix);
    if (!call.start())
        return FALSE;
    const Canvas& dest = call.target();
    const Pen pen = pen_of(pbo, pptlBrushOrg, dest);
    if (pen.ok)
        fill_rect(dest, clip_to(pco, dest), {0, 0, dest.width, dest.height}, pen, rop3_of_mix(mix));
    return call.finish(TRUE);
}

WINBOOL APIENTRY EngTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ*, CLIPOBJ* pco, RECTL* prclExtra,
                            RECTL* prclOpaque, BRUSHOBJ* pboFore, BRUSHOBJ* pboOpaque, POINTL* pptlOrg,
                            MIX mix) {
    Call call(Service::EngTextOut, "EngTextOut", pso, nullptr);
    call.string(pstro).clip(pco).brush(pboFore).brush2(pboOpaque).origin(pptlOrg).rop(mix);
    call.dest(prclOpaque, WINSIM_DRAW_OPAQUE);
    if (!call.start())
        return FALSE;
    const Canvas& dest = call.target();
    const Region region = clip_to(pco, dest);
    const Pen fore = pen_of(pboFore, pptlOrg, dest);
    if (prclOpaque) {
        const Pen opaque = pen_of(pboOpaque, pptlOrg, dest);
        if (opaque.ok)
            fill_rect(dest, region, *prclOpaque, opaque, rop3_of_mix(R2_COPYPEN));
    }
    if (fore.ok) {
        const ULONG rop3 = rop3_of_mix(mix ? mix : R2_COPYPEN);
        std::vector<GLYPHPOS> glyphs;
        string_glyphs(pstro, &glyphs);
        for (const GLYPHPOS& g : glyphs) {
            if (g.pgdf && g.pgdf->pgb)
                draw_glyph(dest, region, g.ptl, g.pgdf->pgb, fore, rop3);
        }
        // Underlines and strike-outs: rectangles up to one that is all zero.
        int extras = 0;
        for (const RECTL* r = prclExtra; r && extras < 64 && (r->left || r->top || r->right || r->bottom);
             ++r, ++extras)
            fill_rect(dest, region, *r, fore, rop3);
    }
    return call.finish(TRUE);
}

size_t winsim_draw_count(void) {
    DrawLog& log = draw_log();
    std::lock_guard lock(log.mutex);
    return log.calls.size();
}

int winsim_draw_get(size_t index, winsim_draw_call* out) {
    DrawLog& log = draw_log();
    std::lock_guard lock(log.mutex);
    if (index >= log.calls.size() || !out)
        return 0;
    *out = log.calls[index];
    return 1;
}

void winsim_draw_clear(void) {
    reset_draw_log();
}

} // extern "C"
