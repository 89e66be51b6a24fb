// How the engine's drawing services put pixels into a bitmap: clip regions, brushes, raster operations,
// colour translation with a fixed ordered dither for halftoning, nearest-neighbour stretching, lines,
// polygons and glyphs. The engine of Windows halftones with its own patterns; an ordered dither stands in
// for them, which is enough for a driver whose concern is where the engine draws, not how it halftones.
#pragma once

#include "objects.h"

#include <windows.h>
#include <winddi.h>

#include <vector>

namespace winsim {

struct Canvas {
    SURFOBJ* so = nullptr;
    ULONG bits = 0;
    PaletteView palette;
    LONG width = 0;
    LONG height = 0;

    ULONG get(LONG x, LONG y) const;
    void put(LONG x, LONG y, ULONG value) const;
    ULONG mask() const { return bits >= 32 ? 0xFFFFFFFF : (1u << bits) - 1; }
};

// A bitmap's pixels with the palette they are read through; false when it has none.
bool make_canvas(SURFOBJ* so, const PaletteView& palette, Canvas* out);

// Where a call may draw: the clip's rectangles, cut to the bitmap.
struct Region {
    std::vector<RECTL> rects;
    bool inside(LONG x, LONG y) const;
};
Region clip_to(const CLIPOBJ* pco, const Canvas& c);

// The three-operand raster operation (the low byte of a ROP4) on pixel values.
ULONG apply_rop3(ULONG rop3, ULONG p, ULONG s, ULONG d);
// A MIX's foreground binary operation as the raster operation of pen and destination.
ULONG rop3_of_mix(MIX mix);

// A brush as it paints one bitmap.
struct Pen {
    bool ok = false;
    bool dither = false; // the engine dithers the brush's colour
    ULONG value = 0;     // a solid brush's pixel value
    ULONG color = 0;
    POINTL origin = {0, 0};
    ULONG at(const Canvas& c, LONG x, LONG y) const;
};
Pen pen_of(const BRUSHOBJ* pbo, const POINTL* origin, const Canvas& c);

// Source pixel values to destination ones.
struct Translation {
    bool identity = false;
    std::vector<ULONG> table; // for indexed sources
    bool halftone = false;
    ULONG source_bits = 0;
    PaletteView source;
    PaletteView dest;
    ULONG dest_bits = 0;
    ULONG dark = 0; // the 1-bit destination's black and white, for halftoning
    ULONG light = 1;
    ULONG operator()(ULONG raw, LONG x, LONG y) const;

  private:
    // Neighbouring pixels mostly have one colour: the last answer is kept.
    mutable bool cached_ = false;
    mutable ULONG cached_raw_ = 0;
    mutable ULONG cached_value_ = 0;
};
Translation translation_of(const XLATEOBJ* pxlo, const Canvas& source, const Canvas& dest, bool halftone);

// An ordered-dither pixel value of a colour on an indexed surface, the nearest one on others.
ULONG dithered(const Canvas& c, ULONG color, LONG x, LONG y);

// Source pixels onto the destination rectangle: the same size (a copy from `from`) or stretched from
// `source_rect` by nearest neighbours (inverted rectangles mirror). With a ROP4 on pen, source and
// destination and an optional 1-bit mask choosing the foreground operation; `skip` leaves source pixels of
// that raw value out (transparent copies).
struct Blit {
    const Canvas* source = nullptr;
    const Translation* translate = nullptr;
    const Canvas* mask = nullptr;
    POINTL mask_from = {0, 0};
    Pen pen;
    ULONG rop4 = 0xCCCC;
    bool has_skip = false;
    ULONG skip = 0;
};
void blit_copy(const Canvas& dest, const Region& region, const RECTL& dest_rect, POINTL from, const Blit& b);
void blit_stretch(const Canvas& dest, const Region& region, const RECTL& dest_rect, const RECTL& source_rect,
                  const Blit& b);
// The parallelogram of three points (28.4) gets the source rectangle.
void blit_parallelogram(const Canvas& dest, const Region& region, const POINTFIX* points,
                        const RECTL& source_rect, const Blit& b);

void fill_rect(const Canvas& dest, const Region& region, const RECTL& rect, const Pen& pen, ULONG rop3);
void draw_line(const Canvas& dest, const Region& region, LONG x1, LONG y1, LONG x2, LONG y2, const Pen& pen,
               ULONG rop3);
void fill_figures(const Canvas& dest, const Region& region, const std::vector<Figure>& figures, bool winding,
                  const Pen& pen, ULONG rop3);
void stroke_figures(const Canvas& dest, const Region& region, const std::vector<Figure>& figures,
                    const Pen& pen, ULONG rop3);
void draw_glyph(const Canvas& dest, const Region& region, POINTL at, const GLYPHBITS* glyph, const Pen& pen,
                ULONG rop3);

} // namespace winsim
