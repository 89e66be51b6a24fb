// The drawing hooks. The engine draws every primitive itself; the driver only has to point it at the
// pixels: the device surface the engine knows is opaque, the locked bitmap behind it holds the page. A
// surface that is not one of this driver's goes to the engine as it came.
#include "pdev.h"

namespace {

SURFOBJ* EngineSurface(SURFOBJ* pso) {
    PDEV* pdev = CheckedPdev(pso);
    if (pdev && pdev->BandSurface && pso->hsurf == pdev->DeviceSurface) {
        pdev->SurfaceWhite = 0; // drawn on: the next page must be erased again
        return pdev->BandSurface;
    }
    return pso;
}

} // namespace

extern "C" {

BOOL APIENTRY DrvBitBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco, XLATEOBJ* pxlo,
                        RECTL* prclTrg, POINTL* pptlSrc, POINTL* pptlMask, BRUSHOBJ* pbo, POINTL* pptlBrush,
                        ROP4 rop4) {
    return EngBitBlt(EngineSurface(psoTrg), EngineSurface(psoSrc), psoMask, pco, pxlo, prclTrg, pptlSrc,
                     pptlMask, pbo, pptlBrush, rop4);
}

BOOL APIENTRY DrvStretchBlt(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco, XLATEOBJ* pxlo,
                            COLORADJUSTMENT* pca, POINTL* pptlHTOrg, RECTL* prclDest, RECTL* prclSrc,
                            POINTL* pptlMask, ULONG iMode) {
    return EngStretchBlt(EngineSurface(psoDest), EngineSurface(psoSrc), psoMask, pco, pxlo, pca, pptlHTOrg,
                         prclDest, prclSrc, pptlMask, iMode);
}

BOOL APIENTRY DrvStretchBltROP(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco,
                               XLATEOBJ* pxlo, COLORADJUSTMENT* pca, POINTL* pptlHTOrg, RECTL* prclDest,
                               RECTL* prclSrc, POINTL* pptlMask, ULONG iMode, BRUSHOBJ* pbo, DWORD rop4) {
    return EngStretchBltROP(EngineSurface(psoDest), EngineSurface(psoSrc), psoMask, pco, pxlo, pca, pptlHTOrg,
                            prclDest, prclSrc, pptlMask, iMode, pbo, rop4);
}

BOOL APIENTRY DrvCopyBits(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo, RECTL* prclDest,
                          POINTL* pptlSrc) {
    return EngCopyBits(EngineSurface(psoDest), EngineSurface(psoSrc), pco, pxlo, prclDest, pptlSrc);
}

BOOL APIENTRY DrvPlgBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMsk, CLIPOBJ* pco, XLATEOBJ* pxlo,
                        COLORADJUSTMENT* pca, POINTL* pptlBrushOrg, POINTFIX* pptfx, RECTL* prcl,
                        POINTL* pptl, ULONG iMode) {
    return EngPlgBlt(EngineSurface(psoTrg), EngineSurface(psoSrc), psoMsk, pco, pxlo, pca, pptlBrushOrg,
                     pptfx, prcl, pptl, iMode);
}

BOOL APIENTRY DrvAlphaBlend(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo, RECTL* prclDest,
                            RECTL* prclSrc, BLENDOBJ* pBlendObj) {
    return EngAlphaBlend(EngineSurface(psoDest), EngineSurface(psoSrc), pco, pxlo, prclDest, prclSrc,
                         pBlendObj);
}

BOOL APIENTRY DrvTransparentBlt(SURFOBJ* psoDst, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo,
                                RECTL* prclDst, RECTL* prclSrc, ULONG iTransColor, ULONG ulReserved) {
    return EngTransparentBlt(EngineSurface(psoDst), EngineSurface(psoSrc), pco, pxlo, prclDst, prclSrc,
                             iTransColor, ulReserved);
}

BOOL APIENTRY DrvGradientFill(SURFOBJ* psoDest, CLIPOBJ* pco, XLATEOBJ* pxlo, TRIVERTEX* pVertex,
                              ULONG nVertex, PVOID pMesh, ULONG nMesh, RECTL* prclExtents,
                              POINTL* pptlDitherOrg, ULONG ulMode) {
    return EngGradientFill(EngineSurface(psoDest), pco, pxlo, pVertex, nVertex, pMesh, nMesh, prclExtents,
                           pptlDitherOrg, ulMode);
}

BOOL APIENTRY DrvLineTo(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, LONG x1, LONG y1, LONG x2, LONG y2,
                        RECTL* prclBounds, MIX mix) {
    return EngLineTo(EngineSurface(pso), pco, pbo, x1, y1, x2, y2, prclBounds, mix);
}

BOOL APIENTRY DrvStrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo, BRUSHOBJ* pbo,
                            POINTL* pptlBrushOrg, LINEATTRS* plineattrs, MIX mix) {
    return EngStrokePath(EngineSurface(pso), ppo, pco, pxo, pbo, pptlBrushOrg, plineattrs, mix);
}

BOOL APIENTRY DrvFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* pptlBrushOrg,
                          MIX mix, FLONG flOptions) {
    return EngFillPath(EngineSurface(pso), ppo, pco, pbo, pptlBrushOrg, mix, flOptions);
}

BOOL APIENTRY DrvStrokeAndFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo,
                                   BRUSHOBJ* pboStroke, LINEATTRS* plineattrs, BRUSHOBJ* pboFill,
                                   POINTL* pptlBrushOrg, MIX mixFill, FLONG flOptions) {
    return EngStrokeAndFillPath(EngineSurface(pso), ppo, pco, pxo, pboStroke, plineattrs, pboFill,
                                pptlBrushOrg, mixFill, flOptions);
}

BOOL APIENTRY DrvPaint(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* pptlBrushOrg, MIX mix) {
    return EngPaint(EngineSurface(pso), pco, pbo, pptlBrushOrg, mix);
}

BOOL APIENTRY DrvTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco, RECTL* prclExtra,
                         RECTL* prclOpaque, BRUSHOBJ* pboFore, BRUSHOBJ* pboOpaque, POINTL* pptlOrg,
                         MIX mix) {
    return EngTextOut(EngineSurface(pso), pstro, pfo, pco, prclExtra, prclOpaque, pboFore, pboOpaque, pptlOrg,
                      mix);
}

VOID APIENTRY DrvSynchronize(DHPDEV, RECTL*) {}

VOID APIENTRY DrvSynchronizeSurface(SURFOBJ*, RECTL*, FLONG) {}

} // extern "C"
