#include "fonts.h"

#include "wstr.h"

namespace {

struct DefaultFont {
    BYTE CharSet;
    BYTE PitchAndFamily;
    const WCHAR* FaceName;
};

// Default font, variable-pitch ANSI font, fixed-pitch ANSI font, in DEVINFO order.
constexpr DefaultFont kDefaultFonts[kDefaultFontCount] = {
    {SHIFTJIS_CHARSET, FIXED_PITCH | FF_ROMAN, TEXT("ＭＳ 明朝")},
    {ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, TEXT("Helvetica")},
    {ANSI_CHARSET, FIXED_PITCH | FF_MODERN, TEXT("Courier")},
};

} // namespace

void BuildDefaultFonts(ULONG dpi, LOGFONTW (&fonts)[kDefaultFontCount]) {
    const LONG height = -static_cast<LONG>((dpi * 10 + 71) / 72);
    for (int i = 0; i < kDefaultFontCount; ++i) {
        LOGFONTW& f = fonts[i];
        f = {};
        f.lfHeight = height;
        f.lfWeight = FW_NORMAL;
        f.lfCharSet = kDefaultFonts[i].CharSet;
        f.lfOutPrecision = OUT_CHARACTER_PRECIS;
        f.lfClipPrecision = CLIP_CHARACTER_PRECIS;
        f.lfQuality = DEFAULT_QUALITY;
        f.lfPitchAndFamily = kDefaultFonts[i].PitchAndFamily;
        WStrCopy(f.lfFaceName, kDefaultFonts[i].FaceName);
    }
}

extern "C" {

PIFIMETRICS APIENTRY DrvQueryFont(DHPDEV dhpdev, ULONG_PTR, ULONG, ULONG_PTR*) {
    if (!CheckedPdev(dhpdev)) {
        SetLastError(ERROR_INVALID_PARAMETER);
    }
    return nullptr;
}

PVOID APIENTRY DrvQueryFontTree(DHPDEV dhpdev, ULONG_PTR, ULONG, ULONG, ULONG_PTR*) {
    if (!CheckedPdev(dhpdev)) {
        SetLastError(ERROR_INVALID_PARAMETER);
    }
    return nullptr;
}

LONG APIENTRY DrvQueryFontData(DHPDEV dhpdev, FONTOBJ*, ULONG, HGLYPH, GLYPHDATA*, PVOID, ULONG) {
    if (!CheckedPdev(dhpdev)) {
        SetLastError(ERROR_INVALID_PARAMETER);
    }
    return static_cast<LONG>(FD_ERROR);
}

ULONG APIENTRY DrvGetGlyphMode(DHPDEV, FONTOBJ*) {
    return FO_GLYPHBITS;
}

} // extern "C"
