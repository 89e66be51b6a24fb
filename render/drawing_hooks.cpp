// The drawing hooks that fill and stroke: paint, lines, paths, gradients, blending and transparent
// copies. The engine draws every primitive itself into the band surface; the driver points it there,
// makes origins band-relative and, on the grey and 1-bit surfaces, puts the printer's grey levels and
// dither patterns in place of colours. A surface that is not this driver's page goes to the engine as it
// came.
#include "drawing.h"
#include "paint.h"

namespace {

// The driver's own fill of a clip region, cut to `bounds`, with the dither pattern of a grey level.
// false when the device has no pattern to fill with.
bool DitherFillClip(const DrawTarget& t, CLIPOBJ* pco, const RECTL& bounds, int grey) {
    const BYTE* pattern = FillPattern(t.Pdev, grey);
    if (!pattern) {
        return false;
    }
    const RECTL band = {0, 0, t.Band->sizlBitmap.cx, t.Band->sizlBitmap.cy};
    RECTL area;
    if (IntersectRect(bounds, band, &area)) {
        ForEachClipRect(pco, area, [&](const RECTL& r) { DitherFill(t.Band, r, pattern); });
    }
    return true;
}

} // namespace

bool PatternFillsClip(const DrawTarget& t, CLIPOBJ* pco, BRUSHOBJ* pbo, MIX mix, const RECTL& bounds) {
    if (!IsMono(t.Pdev) || !(t.Pdev->Options.DrawFlags & DRAW_PATTERN_FILL) || mix != kMixCopyPen || !pco ||
        pco->iDComplexity == DC_TRIVIAL) {
        return false;
    }
    const int grey = BrushGreyLevel(t.Pdev, pbo);
    return grey >= 0 && DitherFillClip(t, pco, bounds, grey);
}

bool PatternFillsRect(const DrawTarget& t, BRUSHOBJ* pbo, const RECTL& rect) {
    const int grey = BrushGreyLevel(t.Pdev, pbo);
    return grey >= 0 && DitherFillClip(t, nullptr, rect, grey);
}

extern "C" {

BOOL APIENTRY DrvPaint(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* pptlBrushOrg, MIX mix) {
    const DrawTarget t = FindDrawTarget(pso);
    if (!t.Pdev) {
        return EngPaint(pso, pco, pbo, pptlBrushOrg, mix);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    const RECTL everywhere = {0, 0, t.Band->sizlBitmap.cx, t.Band->sizlBitmap.cy};
    if (PatternFillsClip(t, pco, pbo, mix, everywhere)) {
        return TRUE;
    }
    BRUSHOBJ copy;
    POINTL origin;
    // A paint that leaves the destination as it is keeps its brush.
    BRUSHOBJ* brush = mix == kMixNop ? pbo : GreySubstitute(t.Pdev, pbo, false, &copy);
    return EngPaint(t.Band, pco, brush, BandRelative(t.Pdev, pptlBrushOrg, &origin), mix);
}

BOOL APIENTRY DrvLineTo(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, LONG x1, LONG y1, LONG x2, LONG y2,
                        RECTL* prclBounds, MIX mix) {
    const DrawTarget t = FindDrawTarget(pso);
    if (!t.Pdev) {
        return EngLineTo(pso, pco, pbo, x1, y1, x2, y2, prclBounds, mix);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    BRUSHOBJ copy;
    return EngLineTo(t.Band, pco, GreySubstitute(t.Pdev, pbo, true, &copy), x1, y1, x2, y2, prclBounds, mix);
}

BOOL APIENTRY DrvStrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo, BRUSHOBJ* pbo,
                            POINTL* pptlBrushOrg, LINEATTRS* plineattrs, MIX mix) {
    const DrawTarget t = FindDrawTarget(pso);
    if (!t.Pdev) {
        return EngStrokePath(pso, ppo, pco, pxo, pbo, pptlBrushOrg, plineattrs, mix);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    BRUSHOBJ copy;
    POINTL origin;
    return EngStrokePath(t.Band, ppo, pco, pxo, GreySubstitute(t.Pdev, pbo, true, &copy),
                         BandRelative(t.Pdev, pptlBrushOrg, &origin), plineattrs, mix);
}

BOOL APIENTRY DrvFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* pptlBrushOrg,
                          MIX mix, FLONG flOptions) {
    const DrawTarget t = FindDrawTarget(pso);
    if (!t.Pdev) {
        return EngFillPath(pso, ppo, pco, pbo, pptlBrushOrg, mix, flOptions);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    BRUSHOBJ copy;
    POINTL origin;
    return EngFillPath(t.Band, ppo, pco, GreySubstitute(t.Pdev, pbo, false, &copy),
                       BandRelative(t.Pdev, pptlBrushOrg, &origin), mix, flOptions);
}

BOOL APIENTRY DrvStrokeAndFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo,
                                   BRUSHOBJ* pboStroke, LINEATTRS* plineattrs, BRUSHOBJ* pboFill,
                                   POINTL* pptlBrushOrg, MIX mixFill, FLONG flOptions) {
    const DrawTarget t = FindDrawTarget(pso);
    if (!t.Pdev) {
        return EngStrokeAndFillPath(pso, ppo, pco, pxo, pboStroke, plineattrs, pboFill, pptlBrushOrg, mixFill,
                                    flOptions);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    POINTL origin;
    return EngStrokeAndFillPath(t.Band, ppo, pco, pxo, pboStroke, plineattrs, pboFill,
                                BandRelative(t.Pdev, pptlBrushOrg, &origin), mixFill, flOptions);
}

BOOL APIENTRY DrvGradientFill(SURFOBJ* psoDest, CLIPOBJ* pco, XLATEOBJ* pxlo, TRIVERTEX* pVertex,
                              ULONG nVertex, PVOID pMesh, ULONG nMesh, RECTL* prclExtents,
                              POINTL* pptlDitherOrg, ULONG ulMode) {
    const DrawTarget t = FindDrawTarget(psoDest);
    if (!t.Pdev) {
        return EngGradientFill(psoDest, pco, pxlo, pVertex, nVertex, pMesh, nMesh, prclExtents, pptlDitherOrg,
                               ulMode);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    POINTL origin;
    return EngGradientFill(t.Band, pco, pxlo, pVertex, nVertex, pMesh, nMesh, prclExtents,
                           BandRelative(t.Pdev, pptlDitherOrg, &origin), ulMode);
}

BOOL APIENTRY DrvAlphaBlend(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo, RECTL* prclDest,
                            RECTL* prclSrc, BLENDOBJ* pBlendObj) {
    const DrawTarget t = FindDrawTarget(psoDest);
    if (!t.Pdev) {
        return EngAlphaBlend(psoDest, psoSrc, pco, pxlo, prclDest, prclSrc, pBlendObj);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    return EngAlphaBlend(t.Band, EngineSource(t, psoSrc), pco, pxlo, prclDest, prclSrc, pBlendObj);
}

BOOL APIENTRY DrvTransparentBlt(SURFOBJ* psoDst, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo,
                                RECTL* prclDst, RECTL* prclSrc, ULONG iTransColor, ULONG ulReserved) {
    const DrawTarget t = FindDrawTarget(psoDst);
    if (!t.Pdev) {
        return EngTransparentBlt(psoDst, psoSrc, pco, pxlo, prclDst, prclSrc, iTransColor, ulReserved);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    return EngTransparentBlt(t.Band, EngineSource(t, psoSrc), pco, pxlo, prclDst, prclSrc, iTransColor,
                             ulReserved);
}

VOID APIENTRY DrvSynchronize(DHPDEV, RECTL*) {}

VOID APIENTRY DrvSynchronizeSurface(SURFOBJ*, RECTL*, FLONG) {}

} // extern "C"
