// The one-head printers' dither colours: DrvDitherColor answers a solid colour with one of the
// printer's dither patterns, DrvRealizeBrush keeps the grey level of a dither-colour brush for the
// drawing hooks. Neither is in the function table the engine is given; they serve an engine that asks
// for them by name.
#include "drawing.h"

#if defined(KT_PROFILE_B)

namespace {

bool HasPatterns(LONG type) {
    return (type >= HTPAT_THRESHOLD && type <= HTPAT_MATRIX16) || type == HTPAT_ROWS_FULL;
}

} // namespace

extern "C" {

ULONG APIENTRY DrvDitherColor(DHPDEV dhpdev, ULONG, ULONG rgb, ULONG* pul) {
    PDEV* pdev = CheckedPdev(dhpdev);
    if (!pdev || !pul) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (pdev->Settings->Private.PatternMode == 2) {
        return DCR_HALFTONE;
    }
    if (IsColor(pdev) || !HasPatterns(pdev->Options.Halftone1.Type)) {
        return DCR_SOLID;
    }
    const BYTE grey = GreyLevel(rgb);
    if (IsGrey(pdev)) {
        pul[0] = grey; // a 1 x 1 dither: the grey palette index itself
        return DCR_DRIVER;
    }
    BYTE built[kPatternBytes];
    const BYTE* pattern = pdev->PatternSet1 ? pdev->PatternSet1 + static_cast<size_t>(grey) * kPatternBytes
                                            : (BuildPattern(pdev->Options.Halftone1, grey, built), built);
    // A 32 x 16 cell of 1-bit rows: each 16-pixel pattern row twice, in memory order.
    for (int r = 0; r < kPatternRows; ++r) {
        const ULONG row = static_cast<ULONG>(pattern[2 * r]) | static_cast<ULONG>(pattern[2 * r + 1]) << 8;
        pul[r] = row * 0x00010001;
    }
    return DCR_DRIVER;
}

BOOL APIENTRY DrvRealizeBrush(BRUSHOBJ* pbo, SURFOBJ* psoTarget, SURFOBJ*, SURFOBJ*, XLATEOBJ*,
                              ULONG iHatch) {
    PDEV* pdev = CheckedPdev(psoTarget);
    if (!pdev) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (IsColor(pdev)) {
        return FALSE;
    }
    // Only dither colours are realised; hatches and pattern brushes the engine draws itself.
    if (!(iHatch & RB_DITHERCOLOR) || iHatch == 0xFFFFFFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* record = static_cast<REALIZEDBRUSH*>(BRUSHOBJ_pvAllocRbrush(pbo, sizeof(REALIZEDBRUSH)));
    if (!record) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    record->Color = iHatch;
    record->Grey = GreyLevel(iHatch & 0xFFFFFF);
    record->Valid = 1;
    return TRUE;
}

} // extern "C"

#endif
