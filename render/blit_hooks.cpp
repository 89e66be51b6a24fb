// The hooks that copy images: DrvBitBlt, DrvStretchBlt, DrvStretchBltROP, DrvCopyBits, DrvPlgBlt. Colour
// images reach the grey and 1-bit surfaces halftoned by the engine; where the engine cannot halftone
// straight into the 1-bit surface with a raster operation, the driver has it halftone into a 1-bit
// bitmap of its own first.
#include "drawing.h"
#include "os_version.h"
#include "paint.h"

#include <cstdlib>
#include <limits>

namespace {

// A 1-bpp bitmap of the engine's, associated with the device and locked, released on every path.
class TempBitmap {
  public:
    TempBitmap(HDEV hdev, LONG width, LONG height) {
        const SIZEL size = {width, height};
        // Rows of whole bytes: the engine pads them as it needs.
        const LONG rowBytes = static_cast<LONG>((static_cast<long long>(width) + 7) / 8);
        bitmap_ = reinterpret_cast<HSURF>(EngCreateBitmap(size, rowBytes, BMF_1BPP, BMF_TOPDOWN, nullptr));
        if (bitmap_ && EngAssociateSurface(bitmap_, hdev, 0)) {
            surface_ = EngLockSurface(bitmap_);
        }
    }
    TempBitmap(const TempBitmap&) = delete;
    TempBitmap& operator=(const TempBitmap&) = delete;
    ~TempBitmap() {
        if (surface_) {
            EngUnlockSurface(surface_);
        }
        if (bitmap_) {
            EngDeleteSurface(bitmap_);
        }
    }
    SURFOBJ* get() const { return surface_; }

  private:
    HSURF bitmap_ = nullptr;
    SURFOBJ* surface_ = nullptr;
};

struct TwoStepBlt {
    SURFOBJ* Source;
    SURFOBJ* Mask;
    CLIPOBJ* Clip;
    XLATEOBJ* Xlate;
    COLORADJUSTMENT* ColorAdjust;
    POINTL* HalftoneOrigin;
    RECTL* Dest;
    RECTL SourceRect;
    POINTL* MaskPoint;
    BRUSHOBJ* Brush;
    ROP4 Rop;
};

// The destination's size, when it is one an engine bitmap can have.
bool DestSize(const RECTL* dest, LONG* width, LONG* height) {
    const long long w = std::llabs(static_cast<long long>(dest->right) - dest->left);
    const long long h = std::llabs(static_cast<long long>(dest->bottom) - dest->top);
    if (w > MAXLONG || h > MAXLONG) {
        return false;
    }
    *width = static_cast<LONG>(w);
    *height = static_cast<LONG>(h);
    return true;
}

// The engine halftones the source into a 1-bit bitmap of the destination's size, which then goes onto
// the band with the caller's raster operation.
BOOL HalftoneInTwoSteps(const DrawTarget& t, const TwoStepBlt& s, LONG width, LONG height) {
    TempBitmap temp(t.Pdev->EngineDevice, width, height);
    if (!temp.get()) {
        return FALSE;
    }
    RECTL whole = {0, 0, width, height};
    RECTL source = s.SourceRect;
    if (!EngStretchBlt(temp.get(), s.Source, s.Mask, nullptr, s.Xlate, s.ColorAdjust, s.HalftoneOrigin,
                       &whole, &source, s.MaskPoint, HALFTONE)) {
        return FALSE;
    }
    return EngStretchBltROP(t.Band, temp.get(), s.Mask, s.Clip, nullptr, s.ColorAdjust, s.HalftoneOrigin,
                            s.Dest, &whole, s.MaskPoint, HALFTONE, s.Brush, s.Rop);
}

bool FitsLong(long long v) {
    return v >= std::numeric_limits<LONG>::min() && v <= std::numeric_limits<LONG>::max();
}

bool IsColorSource(const SURFOBJ* source) {
    return source && source->iBitmapFormat != BMF_1BPP;
}

// The caller's mode under the halftone mode setting; the palette of the source is asked for only where
// it decides.
ULONG StretchModeFor(const PDEV* pdev, ULONG callerMode, SURFOBJ* source, XLATEOBJ* pxlo) {
    const LONG setting = pdev->Options.HalftoneMode;
    const bool asks = setting == HTMODE_DRIVER && !IsColor(pdev);
    return ChooseStretchMode(setting, DepthClass(pdev), callerMode, asks && IsBlackAndWhite(source, pxlo));
}

} // namespace

extern "C" {

BOOL APIENTRY DrvBitBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco, XLATEOBJ* pxlo,
                        RECTL* prclTrg, POINTL* pptlSrc, POINTL* pptlMask, BRUSHOBJ* pbo, POINTL* pptlBrush,
                        ROP4 rop4) {
    const DrawTarget t = FindDrawTarget(psoTrg);
    if (!t.Pdev) {
        return EngBitBlt(psoTrg, psoSrc, psoMask, pco, pxlo, prclTrg, pptlSrc, pptlMask, pbo, pptlBrush,
                         rop4);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    PDEV* pdev = t.Pdev;
    SURFOBJ* source = EngineSource(t, psoSrc);
    if (IsMono(pdev)) {
        if (pdev->Options.DrawFlags & DRAW_PATTERN_FILL) {
            if (rop4 == kRopPatCopy && pbo && pco && prclTrg) {
                // A solid fill through a clip is a paint of the clip, but only where it meets the
                // destination: the clip of a call may reach far beyond what it draws.
                if (pco->iDComplexity != DC_TRIVIAL && pbo->iSolidColor != 0xFFFFFFFF &&
                    PatternFillsClip(t, pco, pbo, kMixCopyPen, *prclTrg)) {
                    return TRUE;
                }
                if (pco->iDComplexity == DC_TRIVIAL && PatternFillsRect(t, pbo, *prclTrg)) {
                    return TRUE;
                }
            }
            if (IsColorSource(source) &&
                (rop4 == kRopSrcAnd || rop4 == kRopSrcCopy || rop4 == kRopSrcPaint)) {
                LONG width = 0;
                LONG height = 0;
                // The source rectangle must be one a LONG can describe.
                if (!prclTrg || !pptlSrc || !DestSize(prclTrg, &width, &height) ||
                    !FitsLong(static_cast<long long>(pptlSrc->x) + width) ||
                    !FitsLong(static_cast<long long>(pptlSrc->y) + height)) {
                    return FALSE;
                }
                POINTL origin = {0, 0};
                const TwoStepBlt s = {source,
                                      psoMask,
                                      pco,
                                      pxlo,
                                      &pdev->Options.ColorAdjust,
                                      &origin,
                                      prclTrg,
                                      {pptlSrc->x, pptlSrc->y, pptlSrc->x + width, pptlSrc->y + height},
                                      pptlMask,
                                      pbo,
                                      rop4};
                return HalftoneInTwoSteps(t, s, width, height);
            }
        }
        return EngBitBlt(t.Band, source, psoMask, pco, pxlo, prclTrg, pptlSrc, pptlMask, pbo, pptlBrush,
                         rop4);
    }
    BRUSHOBJ copy;
    POINTL origin;
    BRUSHOBJ* brush = rop4 == kRopPatCopy && pco ? GreySubstitute(pdev, pbo, false, &copy) : pbo;
    return EngBitBlt(t.Band, source, psoMask, pco, pxlo, prclTrg, pptlSrc, pptlMask, brush,
                     BandRelative(pdev, pptlBrush, &origin), rop4);
}

BOOL APIENTRY DrvStretchBlt(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco, XLATEOBJ* pxlo,
                            COLORADJUSTMENT* pca, POINTL* pptlHTOrg, RECTL* prclDest, RECTL* prclSrc,
                            POINTL* pptlMask, ULONG iMode) {
    const DrawTarget t = FindDrawTarget(psoDest);
    if (!t.Pdev) {
        return EngStretchBlt(psoDest, psoSrc, psoMask, pco, pxlo, pca, pptlHTOrg, prclDest, prclSrc, pptlMask,
                             iMode);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    SURFOBJ* source = EngineSource(t, psoSrc);
    POINTL origin;
    return EngStretchBlt(t.Band, source, psoMask, pco, pxlo, pca ? pca : &t.Pdev->Options.ColorAdjust,
                         BandRelative(t.Pdev, pptlHTOrg, &origin), prclDest, prclSrc, pptlMask,
                         StretchModeFor(t.Pdev, iMode, source, pxlo));
}

BOOL APIENTRY DrvStretchBltROP(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco,
                               XLATEOBJ* pxlo, COLORADJUSTMENT* pca, POINTL* pptlHTOrg, RECTL* prclDest,
                               RECTL* prclSrc, POINTL* pptlMask, ULONG iMode, BRUSHOBJ* pbo, DWORD rop4) {
    const DrawTarget t = FindDrawTarget(psoDest);
    if (!t.Pdev) {
        return EngStretchBltROP(psoDest, psoSrc, psoMask, pco, pxlo, pca, pptlHTOrg, prclDest, prclSrc,
                                pptlMask, iMode, pbo, rop4);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    SURFOBJ* source = EngineSource(t, psoSrc);
    ULONG mode = StretchModeFor(t.Pdev, iMode, source, pxlo);
    if (IsMono(t.Pdev) && IsColorSource(source)) {
        // Engines from Vista on halftone a plain source copy straight into a 1-bit surface.
        if (t.Pdev->Options.OsVersionCode >= OSCODE_VISTA && rop4 == kRopSrcCopy) {
            mode = HALFTONE;
        } else {
            LONG width = 0;
            LONG height = 0;
            if (!prclDest || !prclSrc || !DestSize(prclDest, &width, &height)) {
                return FALSE;
            }
            const TwoStepBlt s = {source,   psoMask,  pco,      pxlo, pca, pptlHTOrg,
                                  prclDest, *prclSrc, pptlMask, pbo,  rop4};
            return HalftoneInTwoSteps(t, s, width, height);
        }
    }
    POINTL origin;
    return EngStretchBltROP(t.Band, source, psoMask, pco, pxlo, pca, BandRelative(t.Pdev, pptlHTOrg, &origin),
                            prclDest, prclSrc, pptlMask, mode, pbo, rop4);
}

BOOL APIENTRY DrvCopyBits(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo, RECTL* prclDest,
                          POINTL* pptlSrc) {
    const DrawTarget t = FindDrawTarget(psoDest);
    if (!t.Pdev) {
        return EngCopyBits(psoDest, psoSrc, pco, pxlo, prclDest, pptlSrc);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    PDEV* pdev = t.Pdev;
    SURFOBJ* source = EngineSource(t, psoSrc);
    if (!prclDest || !pptlSrc || !source) {
        return EngCopyBits(t.Band, source, pco, pxlo, prclDest, pptlSrc);
    }
    // The source rectangle is the destination's size at the source point, cut to the source bitmap; the
    // destination shrinks with it, so that nothing is read from outside the bitmap.
    long long sl = pptlSrc->x;
    long long st = pptlSrc->y;
    long long sr = sl + (static_cast<long long>(prclDest->right) - prclDest->left);
    long long sb = st + (static_cast<long long>(prclDest->bottom) - prclDest->top);
    long long dl = prclDest->left;
    long long dt = prclDest->top;
    long long dr = prclDest->right;
    long long db = prclDest->bottom;
    if (sr > source->sizlBitmap.cx) {
        dr -= sr - source->sizlBitmap.cx;
        sr = source->sizlBitmap.cx;
    }
    if (sb > source->sizlBitmap.cy) {
        db -= sb - source->sizlBitmap.cy;
        sb = source->sizlBitmap.cy;
    }
    if (sl < 0) {
        dl -= sl;
        sl = 0;
    }
    if (st < 0) {
        dt -= st;
        st = 0;
    }
    if (sl >= sr || st >= sb || !FitsLong(dl) || !FitsLong(dr) || !FitsLong(dt) || !FitsLong(db)) {
        return TRUE; // no part of the source lies there, or none of it on any surface
    }
    RECTL dest = {static_cast<LONG>(dl), static_cast<LONG>(dt), static_cast<LONG>(dr), static_cast<LONG>(db)};
    RECTL sourceRect = {static_cast<LONG>(sl), static_cast<LONG>(st), static_cast<LONG>(sr),
                        static_cast<LONG>(sb)};
    const LONG setting = pdev->Options.HalftoneMode;
    const bool stretch = setting == HTMODE_HALFTONE || setting == HTMODE_COLORONCOLOR ||
                         (!IsColor(pdev) && !IsBlackAndWhite(source, pxlo));
    if (stretch) {
        POINTL zero = {0, 0};
        POINTL origin;
        return EngStretchBlt(t.Band, source, nullptr, pco, pxlo, &pdev->Options.ColorAdjust,
                             BandRelative(pdev, &zero, &origin), &dest, &sourceRect, nullptr,
                             setting == HTMODE_COLORONCOLOR ? COLORONCOLOR : HALFTONE);
    }
    POINTL from = {sourceRect.left, sourceRect.top};
    return EngCopyBits(t.Band, source, pco, pxlo, &dest, &from);
}

BOOL APIENTRY DrvPlgBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMsk, CLIPOBJ* pco, XLATEOBJ* pxlo,
                        COLORADJUSTMENT* pca, POINTL* pptlBrushOrg, POINTFIX* pptfx, RECTL* prcl,
                        POINTL* pptl, ULONG iMode) {
    const DrawTarget t = FindDrawTarget(psoTrg);
    if (!t.Pdev) {
        return EngPlgBlt(psoTrg, psoSrc, psoMsk, pco, pxlo, pca, pptlBrushOrg, pptfx, prcl, pptl, iMode);
    }
    if (!t.Drawable) {
        return TRUE;
    }
    POINTL origin;
    return EngPlgBlt(t.Band, EngineSource(t, psoSrc), psoMsk, pco, pxlo,
                     pca ? pca : &t.Pdev->Options.ColorAdjust, BandRelative(t.Pdev, pptlBrushOrg, &origin),
                     pptfx, prcl, pptl, t.Pdev->Options.HalftoneMode == HTMODE_CALLER ? iMode : HALFTONE);
}

} // extern "C"
