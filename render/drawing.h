// What every drawing hook shares: finding the page a call draws on, band-relative origins, the grey
// level of a brush, the choice of stretch mode, the clip rectangles and the driver's own dither fill.
#pragma once

#include "pdev.h"

// Raster operations and mixes the hooks look at.
inline constexpr ROP4 kRopPatCopy = 0xF0F0;
inline constexpr ROP4 kRopSrcCopy = 0xCCCC;
inline constexpr ROP4 kRopSrcAnd = 0x8888;
inline constexpr ROP4 kRopSrcPaint = 0xEEEE;
inline constexpr MIX kMixCopyPen = 0x0D0D;
inline constexpr MIX kMixNop = 0x0B0B;

// What the profile-B brush realisation leaves with the engine: 12 bytes, freed with the brush.
struct REALIZEDBRUSH {
    ULONG Color; // the dither-colour request as given, marker bit included
    ULONG Grey;  // grey level in the low byte
    ULONG Valid; // always 1
};
static_assert(sizeof(REALIZEDBRUSH) == 12);

// The page a drawing call is for.
struct DrawTarget {
    PDEV* Pdev;    // nullptr: not this driver's page; the call goes to the engine as it came
    SURFOBJ* Band; // the band surface the engine draws into instead of the device surface
    bool Drawable; // false: the current band is not in use, nothing is drawn
};

// The common start of every hook. A drawable target counts as drawn on, so the next page is erased.
DrawTarget FindDrawTarget(SURFOBJ* pso);
// A source that is the device surface itself is read from the band surface.
SURFOBJ* EngineSource(const DrawTarget& target, SURFOBJ* source);

inline LONG DepthClass(const PDEV* pdev) {
    return pdev->Options.DepthClass;
}
inline bool IsMono(const PDEV* pdev) {
    return DepthClass(pdev) == DEPTH_1BPP;
}
inline bool IsGrey(const PDEV* pdev) {
    return DepthClass(pdev) == DEPTH_GREY;
}
inline bool IsColor(const PDEV* pdev) {
    return DepthClass(pdev) == DEPTH_RGB || DepthClass(pdev) == DEPTH_BGR;
}

// On the grey and 24-bit surfaces an origin of the page becomes one of the band: `copy` holds the
// shifted point and is returned. A point with a negative coordinate, and every point on the 1-bit
// surface, is returned as it came.
POINTL* BandRelative(const PDEV* pdev, POINTL* point, POINTL* copy);

// The grey level a brush carries through its realisation, or -1 when it has none. A brush without a
// realisation yet is realised first, a solid one only when its index lies within the surface's palette.
int BrushGreyLevel(const PDEV* pdev, BRUSHOBJ* pbo);
// A copy of the brush whose solid colour is `color`, in `copy`.
BRUSHOBJ* SolidCopy(const BRUSHOBJ* pbo, ULONG color, BRUSHOBJ* copy);
// On the grey surface: a brush with a grey level becomes a solid brush of that grey; with `lineArt`
// every level but white becomes black. Other brushes, and other surfaces, come back as they are.
BRUSHOBJ* GreySubstitute(const PDEV* pdev, BRUSHOBJ* pbo, bool lineArt, BRUSHOBJ* copy);

// A 1-bpp source whose two palette colours are black and white, in either order.
bool IsBlackAndWhite(SURFOBJ* source, XLATEOBJ* pxlo);

// The stretch mode handed to the engine for a caller's mode under the halftone mode setting.
ULONG ChooseStretchMode(LONG setting, LONG depthClass, ULONG callerMode, bool blackAndWhiteSource);

// The rectangles of a clip region that meet `bounds`, cut to it, one at a time; a missing or trivial
// clip is `bounds` itself. Returns the number of rectangles handed to `each`.
template <class F> ULONG ForEachClipRect(CLIPOBJ* pco, const RECTL& bounds, F&& each);

// The driver's dither fill: pattern rows repeat every 16 rows of the band, its two bytes every two byte
// columns. Right and bottom are exclusive; the rectangle is cut to the band.
void DitherFill(SURFOBJ* band, const RECTL& rect, const BYTE* pattern);
// Pattern `grey` of the fill set.
const BYTE* FillPattern(const PDEV* pdev, int grey);

// ---------------------------------------------------------------------------------------------------

bool IntersectRect(const RECTL& a, const RECTL& b, RECTL* out);

template <class F> ULONG ForEachClipRect(CLIPOBJ* pco, const RECTL& bounds, F&& each) {
    RECTL part;
    if (!pco || pco->iDComplexity == DC_TRIVIAL) {
        if (!IntersectRect(bounds, bounds, &part)) {
            return 0;
        }
        each(part);
        return 1;
    }
    if (pco->iDComplexity == DC_RECT) {
        if (!IntersectRect(pco->rclBounds, bounds, &part)) {
            return 0;
        }
        each(part);
        return 1;
    }
    struct {
        ULONG c;
        RECTL arcl[16];
    } batch;
    ULONG count = 0;
    CLIPOBJ_cEnumStart(pco, FALSE, CT_RECTANGLES, CD_ANY, 0);
    BOOL more = TRUE;
    while (more) {
        batch.c = 0;
        more = CLIPOBJ_bEnum(pco, sizeof(batch), reinterpret_cast<ULONG*>(&batch));
        const ULONG got = batch.c < 16 ? batch.c : 16;
        for (ULONG i = 0; i < got; ++i) {
            if (IntersectRect(batch.arcl[i], bounds, &part)) {
                each(part);
                ++count;
            }
        }
    }
    return count;
}
