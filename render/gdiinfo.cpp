#include "gdiinfo.h"

#include "os_version.h"

#include <cstring>

namespace {

bool HasDitherCell(LONG halftoneType) {
    return (halftoneType >= 1 && halftoneType <= 4) || halftoneType == 10;
}

} // namespace

void FillGdiInfo(const PDEV* pdev, GDIINFO* info) {
    const RENDEROPTIONS& o = pdev->Options;
    const PAGEGEOMETRY& g = pdev->Geometry;
    const DEVHTINFO& ht = pdev->Settings->Extension.DeviceHalftone;
    std::memset(info, 0, sizeof(*info));
    info->ulVersion = 0x400;
    info->ulTechnology = DT_RASPRINTER;
    info->ulHorzSize = static_cast<ULONG>(g.PrintableWidth / 10);
    info->ulVertSize = static_cast<ULONG>(g.PrintableHeight / 10);
    info->ulHorzRes = static_cast<ULONG>(g.PrintableWidthDots);
    info->ulVertRes = static_cast<ULONG>(g.PrintableHeightDots);
    switch (o.DepthClass) {
    case DEPTH_1BPP:
        info->cBitsPixel = 1;
        info->ulNumColors = 2;
        info->ulNumPalReg = 2;
        info->ulHTOutputFormat = HT_FORMAT_1BPP;
        break;
    case DEPTH_GREY:
        info->cBitsPixel = 8;
        info->ulNumColors = 256;
        info->ulNumPalReg = 256;
        info->ulHTOutputFormat = HT_FORMAT_8BPP;
        break;
    default:
        info->cBitsPixel = 24;
        info->ulNumColors = 0xFFFFFF;
        info->ulNumPalReg = 0;
        info->ulHTOutputFormat = HT_FORMAT_24BPP;
        break;
    }
    info->cPlanes = 1;
    // The engine thinks in the page's own directions: turned to landscape, across becomes along.
    const bool landscape = o.Orientation == DMORIENT_LANDSCAPE;
    info->ulLogPixelsX = static_cast<ULONG>(landscape ? o.DpiY : o.DpiX);
    info->ulLogPixelsY = static_cast<ULONG>(landscape ? o.DpiX : o.DpiY);
    info->ulAspectX = info->ulLogPixelsX;
    info->ulAspectY = info->ulLogPixelsY;
    info->ulAspectXY = static_cast<ULONG>(o.DpiDiagonal);
    info->xStyleStep = 1;
    info->yStyleStep = 1;
    info->denStyleStep = static_cast<LONG>(info->ulLogPixelsX / 50);
    info->ptlPhysOffset.x = g.OffsetX;
    info->ptlPhysOffset.y = g.OffsetY;
    info->szlPhysSize.cx = g.PageWidthDots;
    info->szlPhysSize.cy = g.PageHeightDots;
    info->ciDevice = ht.ColorInfo;
    info->ulDevicePelsDPI = ht.DevPelsDPI;
    info->ulHTPatternSize = ht.HTPatternSize;
    info->flHTFlags = HT_FLAG_HAS_BLACK_DYE;
}

void FillDevInfo(const PDEV* pdev, DEVINFO* info) {
    const RENDEROPTIONS& o = pdev->Options;
    const PRIVDEVMODE& p = pdev->Settings->Private;
    std::memset(info, 0, sizeof(*info));
    info->lfDefaultFont = pdev->Fonts[0];
    info->lfAnsiVarFont = pdev->Fonts[1];
    info->lfAnsiFixFont = pdev->Fonts[2];
    info->cFonts = pdev->DeviceFontCount;
    info->hpalDefault = pdev->Palette;
    info->flGraphicsCaps2 = 0;
    if (o.DepthClass == DEPTH_1BPP || o.DepthClass == DEPTH_GREY) {
        FLONG caps = GCAPS_BEZIERS | GCAPS_ALTERNATEFILL | GCAPS_WINDINGFILL | GCAPS_HALFTONE |
                     GCAPS_COLOR_DITHER | GCAPS_OPAQUERECT | GCAPS_MONO_DITHER | GCAPS_DITHERONREALIZE |
                     GCAPS_FORCEDITHER;
        if (p.ColorText != 0) {
            caps |= GCAPS_ARBRUSHOPAQUE | GCAPS_ARBRUSHTEXT;
        }
        if (p.PatternMode == 2) {
            caps &= ~static_cast<FLONG>(GCAPS_DITHERONREALIZE);
        }
        info->flGraphicsCaps = caps;
        if (o.DepthClass == DEPTH_1BPP) {
            info->iDitherFormat = BMF_1BPP;
            if (HasDitherCell(o.Halftone1.Type)) {
                info->cxDither = 32;
                info->cyDither = 16;
            }
        } else {
            info->iDitherFormat = BMF_8BPP;
            if (HasDitherCell(o.Halftone1.Type)) {
                info->cxDither = 1;
                info->cyDither = 1;
            }
        }
    } else {
        FLONG caps = GCAPS_HALFTONE;
        if (o.OsVersionCode > OSCODE_2003) {
            caps |= GCAPS_BEZIERS | GCAPS_ALTERNATEFILL | GCAPS_WINDINGFILL;
        }
        info->flGraphicsCaps = caps;
        info->iDitherFormat = BMF_24BPP;
    }
}

void CopyToCaller(void* caller, ULONG callerSize, const void* block, size_t blockSize) {
    if (!caller || callerSize == 0) {
        return;
    }
    std::memset(caller, 0, callerSize);
    std::memcpy(caller, block, callerSize < blockSize ? callerSize : blockSize);
}
