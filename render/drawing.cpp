#include "drawing.h"

#include <cstring>

DrawTarget FindDrawTarget(SURFOBJ* pso) {
    PDEV* pdev = CheckedPdev(pso);
    // Only the device surface is the page; a bitmap the engine merely associated with the device is
    // the engine's to draw on.
    if (!pdev || !pdev->BandSurface || pso->hsurf != pdev->DeviceSurface) {
        return {nullptr, pso, false};
    }
    const bool drawable = pdev->CurrentBand >= 0 && pdev->CurrentBand < pdev->BandCount &&
                          (pdev->Bands[pdev->CurrentBand].Flags & BAND_IN_USE);
    if (drawable) {
        pdev->SurfaceWhite = 0; // drawn on: the next page must be erased again
    }
    return {pdev, pdev->BandSurface, drawable};
}

SURFOBJ* EngineSource(const DrawTarget& target, SURFOBJ* source) {
    if (target.Pdev && source && source->hsurf == target.Pdev->DeviceSurface) {
        return target.Band;
    }
    return source;
}

POINTL* BandRelative(const PDEV* pdev, POINTL* point, POINTL* copy) {
    if (!point || IsMono(pdev) || point->x < 0 || point->y < 0) {
        return point;
    }
    copy->x = point->x - pdev->BandOrigin.x;
    copy->y = point->y - pdev->BandOrigin.y;
    return copy;
}

int BrushGreyLevel(const PDEV* pdev, BRUSHOBJ* pbo) {
#if defined(KT_PROFILE_A)
    // Without a brush realisation of its own the driver never learns a brush's grey.
    (void)pdev;
    (void)pbo;
    return -1;
#else
    if (!pbo) {
        return -1;
    }
    void* realised = pbo->pvRbrush;
    if (!realised) {
        if (pbo->iSolidColor != 0xFFFFFFFF) {
            const ULONG palette = IsMono(pdev) ? 2 : (IsGrey(pdev) ? 256 : 0);
            if (pbo->iSolidColor >= palette) {
                return -1;
            }
        }
        realised = BRUSHOBJ_pvGetRbrush(pbo);
    }
    if (!realised) {
        return -1;
    }
    const REALIZEDBRUSH* record = static_cast<const REALIZEDBRUSH*>(realised);
    return record->Valid ? static_cast<int>(record->Grey & 0xFF) : -1;
#endif
}

BRUSHOBJ* SolidCopy(const BRUSHOBJ* pbo, ULONG color, BRUSHOBJ* copy) {
    *copy = *pbo;
    copy->iSolidColor = color;
    return copy;
}

BRUSHOBJ* GreySubstitute(const PDEV* pdev, BRUSHOBJ* pbo, bool lineArt, BRUSHOBJ* copy) {
    if (!IsGrey(pdev)) {
        return pbo;
    }
    const int grey = BrushGreyLevel(pdev, pbo);
    if (grey < 0) {
        return pbo;
    }
    ULONG color = static_cast<ULONG>(grey);
    if (lineArt && (pdev->Options.DrawFlags & DRAW_LINE_ART)) {
        color = grey == 255 ? 255 : 0; // hairlines in grey would print as broken dots
    }
    return SolidCopy(pbo, color, copy);
}

bool IsBlackAndWhite(SURFOBJ* source, XLATEOBJ* pxlo) {
    if (!source || source->iBitmapFormat != BMF_1BPP || !pxlo) {
        return false;
    }
    ULONG colors[2] = {0x12345678, 0x12345678};
    if (XLATEOBJ_cGetPalette(pxlo, XO_SRCPALETTE, 2, colors) != 2) {
        return false;
    }
    const ULONG a = colors[0] & 0xFFFFFF;
    const ULONG b = colors[1] & 0xFFFFFF;
    return (a == 0 && b == 0xFFFFFF) || (a == 0xFFFFFF && b == 0);
}

ULONG ChooseStretchMode(LONG setting, LONG depthClass, ULONG callerMode, bool blackAndWhiteSource) {
    switch (setting) {
    case HTMODE_CALLER:
        return callerMode;
    case HTMODE_HALFTONE:
        return HALFTONE;
    case HTMODE_COLORONCOLOR:
        return COLORONCOLOR;
    default:
        break;
    }
    if (depthClass == DEPTH_RGB || depthClass == DEPTH_BGR) {
        return callerMode;
    }
    // Colour reaches the grey and 1-bit surfaces only halftoned; black and white need no halftone.
    if (blackAndWhiteSource && callerMode != HALFTONE) {
        return callerMode;
    }
    return HALFTONE;
}

bool IntersectRect(const RECTL& a, const RECTL& b, RECTL* out) {
    out->left = a.left > b.left ? a.left : b.left;
    out->top = a.top > b.top ? a.top : b.top;
    out->right = a.right < b.right ? a.right : b.right;
    out->bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    return out->left < out->right && out->top < out->bottom;
}

void DitherFill(SURFOBJ* band, const RECTL& rect, const BYTE* pattern) {
    if (!band || !band->pvScan0 || !pattern) {
        return;
    }
    // Rows and columns before the band's first are cut off as well as those past its last: the fill
    // writes the band's memory itself.
    const LONG top = rect.top > 0 ? rect.top : 0;
    const LONG left = rect.left > 0 ? rect.left : 0;
    const LONG lastRow =
        rect.bottom - 1 < band->sizlBitmap.cy - 1 ? rect.bottom - 1 : band->sizlBitmap.cy - 1;
    const LONG lastCol = rect.right - 1 < band->sizlBitmap.cx - 1 ? rect.right - 1 : band->sizlBitmap.cx - 1;
    if (lastRow < top || lastCol < left) {
        return;
    }
    const LONG firstByte = left / 8;
    const LONG lastByte = lastCol / 8;
    const BYTE firstMask = static_cast<BYTE>(0xFF >> (left % 8));
    const BYTE lastMask = static_cast<BYTE>(0xFF << (7 - lastCol % 8));
    for (LONG y = top; y <= lastRow; ++y) {
        BYTE* row = static_cast<BYTE*>(band->pvScan0) + static_cast<ptrdiff_t>(y) * band->lDelta;
        const BYTE* bits = pattern + 2 * (y % kPatternRows);
        for (LONG k = firstByte; k <= lastByte; ++k) {
            BYTE mask = 0xFF;
            if (k == firstByte) {
                mask &= firstMask;
            }
            if (k == lastByte) {
                mask &= lastMask;
            }
            row[k] = static_cast<BYTE>((row[k] & ~mask) | (bits[k % 2] & mask));
        }
    }
}

const BYTE* FillPattern(const PDEV* pdev, int grey) {
    if (!pdev->PatternSet2 || grey < 0 || grey >= kGreyLevels) {
        return nullptr;
    }
    return pdev->PatternSet2 + static_cast<size_t>(grey) * kPatternBytes;
}
