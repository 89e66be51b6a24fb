#include "halftone.h"

#include "pdev.h"

#include <cstring>

namespace {

constexpr BYTE kThreshold128[] = {128};

constexpr BYTE kMatrixRough[64] = {
    104, 88,  96,  120, 148, 164, 156, 132, 32,  24,  16,  72,  220, 228, 236, 180, //
    40,  1,   8,   80,  212, 252, 244, 172, 64,  48,  56,  112, 188, 204, 196, 140, //
    144, 160, 152, 128, 108, 92,  100, 124, 216, 224, 232, 176, 36,  28,  20,  76,  //
    208, 248, 240, 168, 44,  4,   12,  84,  184, 200, 192, 136, 68,  52,  60,  116,
};

constexpr BYTE kMatrixFine[64] = {
    64,  128, 96,  160, 72,  136, 104, 168, 192, 1,  224, 32, 200, 8,  232, 40, //
    112, 176, 80,  144, 120, 184, 88,  152, 240, 48, 208, 16, 248, 56, 216, 24, //
    76,  140, 108, 172, 68,  132, 100, 164, 204, 12, 236, 44, 196, 4,  228, 36, //
    124, 188, 92,  156, 116, 180, 84,  148, 252, 60, 220, 28, 244, 52, 212, 20,
};

// Line art: group k of eight row bytes serves grey levels 8k..8k+7.
constexpr BYTE kLineArtRows[256] = {
    0,   0,   0,   0,   0,   0,   0,   0,   0,   2,   0,   0,   0,   32,  0,   0,   //
    0,   64,  0,   4,   0,   64,  0,   4,   0,   138, 0,   84,  0,   138, 0,   84,  //
    0,   109, 0,   85,  0,   214, 0,   170, 0,   109, 0,   119, 0,   214, 0,   221, //
    0,   109, 0,   221, 0,   107, 0,   221, 0,   119, 0,   221, 0,   119, 0,   221, //
    51,  140, 51,  200, 51,  140, 51,  200, 0,   111, 0,   255, 0,   246, 0,   255, //
    0,   255, 0,   255, 0,   255, 0,   255, 128, 255, 0,   255, 8,   255, 0,   255, //
    136, 255, 0,   255, 34,  255, 0,   255, 136, 255, 16,  255, 34,  255, 1,   255, //
    85,  119, 85,  221, 85,  119, 85,  221, 42,  255, 162, 255, 138, 255, 168, 255, //
    203, 249, 47,  229, 188, 159, 242, 94,  42,  255, 162, 255, 138, 255, 168, 255, //
    42,  255, 170, 255, 162, 255, 170, 255, 187, 119, 221, 238, 187, 119, 221, 238, //
    170, 255, 170, 255, 170, 255, 170, 255, 243, 126, 203, 249, 63,  231, 108, 159, //
    249, 63,  231, 252, 159, 243, 126, 207, 249, 63,  247, 252, 159, 243, 127, 207, //
    239, 253, 175, 119, 254, 223, 250, 119, 239, 253, 191, 231, 254, 223, 251, 126, //
    239, 253, 191, 247, 254, 223, 251, 127, 191, 223, 251, 253, 191, 223, 251, 253, //
    247, 255, 127, 239, 253, 255, 223, 254, 191, 255, 251, 255, 191, 255, 251, 255, //
    255, 239, 223, 255, 255, 254, 253, 255, 255, 255, 223, 255, 255, 255, 253, 255,
};

// The device's own matrix, for jobs that take no pattern.
constexpr BYTE kBuiltInMatrix[64] = {
    248, 242, 200, 32,  12,  8,   72,  160, 224, 232, 192, 40,  16,  24,  64,  168, //
    176, 184, 144, 96,  48,  56,  104, 136, 92,  84,  116, 132, 220, 212, 156, 124, //
    12,  8,   76,  164, 248, 242, 204, 36,  20,  28,  68,  172, 228, 236, 196, 44,  //
    52,  60,  108, 140, 180, 188, 148, 100, 216, 208, 152, 120, 88,  80,  112, 128,
};

struct PatternRow {
    HALFTONEPATTERN First;
    // Only whether the second pattern was taken matters to the device, so its table is not carried.
    HALFTONEPATTERN Second;
};

// "None", "Rough", "Fine", "LineArt".
constexpr PatternRow kPatternTable[] = {
    {{HTPAT_THRESHOLD, kThreshold128}, {HTPAT_THRESHOLD, kThreshold128}},
    {{HTPAT_MATRIX8, kMatrixRough}, {HTPAT_MATRIX8, nullptr}},
    {{HTPAT_MATRIX8, kMatrixFine}, {HTPAT_MATRIX8, nullptr}},
    {{HTPAT_ROWS, kLineArtRows}, {HTPAT_ROWS, kLineArtRows}},
};
constexpr LONG kPatternRowCount = static_cast<LONG>(sizeof(kPatternTable) / sizeof(kPatternTable[0]));
static_assert(kPatternRowCount == 4);

constexpr HALFTONEPATTERN kBuiltInPattern = {HTPAT_MATRIX8, kBuiltInMatrix};

bool TakesPatterns(const DRVDEVMODE* rec) {
    return rec->Private.SurfaceToPrint == 0 || rec->Private.SurfaceToPrint == 1;
}

void PutRow(BYTE (&out)[kPatternBytes], int row, WORD bits) {
    out[2 * row] = static_cast<BYTE>(bits >> 8);
    out[2 * row + 1] = static_cast<BYTE>(bits);
}

WORD Doubled(BYTE b) {
    return static_cast<WORD>(b << 8 | b);
}

} // namespace

BYTE GreyLevel(ULONG color) {
    const ULONG r = color & 0xFF;
    const ULONG g = (color >> 8) & 0xFF;
    const ULONG b = (color >> 16) & 0xFF;
    return static_cast<BYTE>((r * 5 + g * 9 + b * 2) >> 4);
}

HALFTONEPATTERN FirstHalftonePattern(const DRVDEVMODE* rec) {
    if (!TakesPatterns(rec)) {
        return kBuiltInPattern;
    }
#if defined(KT_PROFILE_A)
    const LONG row = rec->Private.PatternIndex;
#else
    // The one-head printers take the pattern from the label's own dithering choice.
    const LONG row = SelectedLabel(rec).Values.Dithering;
#endif
    return row >= 0 && row < kPatternRowCount ? kPatternTable[row].First : kBuiltInPattern;
}

HALFTONEPATTERN SecondHalftonePattern(const DRVDEVMODE* rec) {
    const LONG row = rec->Private.PatternIndex2;
    if (!TakesPatterns(rec) || row < 0 || row >= kPatternRowCount) {
        return {HTPAT_NONE, nullptr};
    }
    return kPatternTable[row].Second;
}

COLORADJUSTMENT DeviceColorAdjustment(const DRVDEVMODE* rec) {
    if (SecondHalftonePattern(rec).Type != HTPAT_NONE) {
        return rec->Private.ColorAdjust;
    }
    COLORADJUSTMENT ca = {};
    ca.caSize = sizeof(COLORADJUSTMENT);
    ca.caRedGamma = 10000;
    ca.caGreenGamma = 10000;
    ca.caBlueGamma = 10000;
    ca.caReferenceWhite = 10000;
    return ca;
}

void BuildPattern(const HALFTONEPATTERN& pattern, BYTE grey, BYTE (&out)[kPatternBytes]) {
    std::memset(out, 0, sizeof(out)); // black, for a type without a table
    const BYTE* t = pattern.Table;
    if (!t) {
        return;
    }
    switch (pattern.Type) {
    case HTPAT_THRESHOLD:
        std::memset(out, grey >= t[0] ? 0xFF : 0x00, sizeof(out));
        break;
    case HTPAT_ROWS:
        if (grey == 255) {
            std::memset(out, 0xFF, sizeof(out));
            break;
        }
        [[fallthrough]];
    case HTPAT_ROWS_FULL:
        for (int i = 0; i < 8; ++i) {
            const WORD row = Doubled(t[(grey & 0xF8) + i]);
            PutRow(out, i, row);
            PutRow(out, i + 8, row);
        }
        break;
    case HTPAT_MATRIX8:
        for (int i = 0; i < 8; ++i) {
            BYTE bits = 0xFF;
            for (int j = 0; j < 8; ++j) {
                if (grey < t[8 * i + j]) {
                    bits &= static_cast<BYTE>(~(0x80 >> j));
                }
            }
            PutRow(out, i, Doubled(bits));
            PutRow(out, i + 8, Doubled(bits));
        }
        break;
    case HTPAT_MATRIX16:
        for (int i = 0; i < 16; ++i) {
            WORD bits = 0xFFFF;
            for (int j = 0; j < 16; ++j) {
                if (grey < t[16 * i + j]) {
                    bits &= static_cast<WORD>(~(0x8000 >> j));
                }
            }
            PutRow(out, i, bits);
        }
        break;
    default:
        break;
    }
}

void BuildPatternSet(const HALFTONEPATTERN& pattern, BYTE* set) {
    for (int g = 0; g < kGreyLevels; ++g) {
        BYTE one[kPatternBytes];
        BuildPattern(pattern, static_cast<BYTE>(g), one);
        std::memcpy(set + static_cast<size_t>(g) * kPatternBytes, one, kPatternBytes);
    }
}
