// The DDI objects the engine hands a driver (CLIPOBJ, BRUSHOBJ, XLATEOBJ, PATHOBJ, STROBJ, FONTOBJ): the
// public record the driver sees comes first in a larger record of the engine's, as in Windows' engine,
// where a driver's object is the head of the engine's own (ReactOS: EBRUSHOBJ, XCLIPOBJ, EXLATEOBJ). The
// engine recognises its own objects by address; an object a driver or test made itself is used only by
// its public fields.
#pragma once

#include <windows.h>
#include <winddi.h>

#include <vector>

namespace winsim {

// Bits per pixel of a bitmap format (BMF_*), 0 for a format that is not one.
inline ULONG format_bits(ULONG format) {
    switch (format) {
    case BMF_1BPP:
        return 1;
    case BMF_4BPP:
        return 4;
    case BMF_8BPP:
        return 8;
    case BMF_16BPP:
        return 16;
    case BMF_24BPP:
        return 24;
    case BMF_32BPP:
        return 32;
    default:
        return 0;
    }
}

// Palettes as the rasteriser reads them: an indexed list of colours (0x00BBGGRR), or a direct format.
struct PaletteView {
    ULONG mode = 0;            // PAL_INDEXED, PAL_RGB, PAL_BGR, PAL_BITFIELDS; 0: none known
    std::vector<ULONG> colors; // PAL_INDEXED: the entries; PAL_BITFIELDS: red, green, blue masks
};

// The clip region of an engine clip object, or false for a clip the engine did not make.
bool clip_region(const CLIPOBJ* pco, std::vector<RECTL>* rects);

// What the engine knows of a brush it made beyond its public fields.
struct BrushFacts {
    bool known = false;
    bool has_color = false; // a non-solid brush of one colour, which the engine dithers itself
    ULONG color = 0;        // 0x00BBGGRR
};
BrushFacts brush_facts(const BRUSHOBJ* pbo);

// The two palettes of an engine colour translation, or false for one the engine did not make.
bool xlate_palettes(const XLATEOBJ* pxlo, PaletteView* source, PaletteView* dest);

// The figures of an engine path, in 28.4 fixed point, and whether each is closed.
struct Figure {
    std::vector<POINTFIX> points;
    bool closed = false;
};
bool path_figures(const PATHOBJ* ppo, std::vector<Figure>* figures);

// Every glyph of a string: its own array, or the engine's enumeration of a string it made.
bool string_glyphs(STROBJ* pstro, std::vector<GLYPHPOS>* glyphs);

// Engine objects the front makes for one drawing call; the host functions of the same names make them
// for tests.
CLIPOBJ* make_clip(ULONG complexity, const RECTL* rects, ULONG count);
void delete_clip(CLIPOBJ* pco);
using RealizeBrush = WINBOOL(APIENTRY*)(BRUSHOBJ*, SURFOBJ*, SURFOBJ*, SURFOBJ*, XLATEOBJ*, ULONG);
BRUSHOBJ* make_brush(ULONG solid, bool has_color, ULONG color, ULONG hatch, RealizeBrush realize,
                     SURFOBJ* target);
void delete_brush(BRUSHOBJ* pbo);
XLATEOBJ* make_xlate(const PaletteView& source, const PaletteView& dest);
void delete_xlate(XLATEOBJ* pxlo);
PATHOBJ* make_path(std::vector<Figure> figures);
void delete_path(PATHOBJ* ppo);

// A string of glyph bitmaps, positioned, for DrvTextOut.
struct GlyphImage {
    POINTL position; // where the glyph's origin lies on the surface
    POINTL origin;   // the bitmap's top-left relative to the glyph's origin
    SIZEL size;
    std::vector<BYTE> rows; // (cx + 7) / 8 bytes a row
};
STROBJ* make_string(const std::vector<GlyphImage>& glyphs, const RECTL& background, const WCHAR* text);
void delete_string(STROBJ* pstro);
FONTOBJ* make_font(ULONG face, LONG pixel_height, ULONG dpi);
void delete_font(FONTOBJ* pfo);

// The colour of an index or value in a palette, and the nearest index or value for a colour.
ULONG palette_color(const PaletteView& palette, ULONG format_bits, ULONG value);
ULONG palette_nearest(const PaletteView& palette, ULONG format_bits, ULONG color);

// A colour's grey, 0 black to 255 white.
ULONG palette_grey(ULONG color);

void reset_objects();

} // namespace winsim
