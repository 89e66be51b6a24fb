// Head planes: one bit per printed dot, most significant bit first, rows packed one after the other.
// The bits past the last dot of a row are always 0, so a plane never prints what is not on the page.
#pragma once

#include <windows.h>

#include <cstddef>

struct PLANE {
    BYTE* Bits;
    LONG Width; // dots
    LONG Rows;
    size_t RowBytes;
};

inline size_t PlaneRowBytes(long long width) {
    return width > 0 ? static_cast<size_t>((width + 7) / 8) : 0;
}

// What the engine drew, as the image sender reads it.
struct BANDBITS {
    const BYTE* Scan0; // first row
    LONG Delta;        // bytes from one row to the next
    LONG Width;        // pixels of a row that lie on the page (the rest of a row is padding)
    LONG Rows;
};

// Profile A: the dots of each head are the pixels drawn in exactly its colour (0x00BBGGRR, compared
// byte by byte in the surface's own order). Both planes come out of one pass over the surface.
void SeparateHeadPlanes(const BANDBITS& band, const DWORD (&colors)[2], PLANE (&planes)[2]);
// Profile B: the 1-bit surface holds 1 for white; the printer wants 1 for a dot.
void InvertedPlane(const BANDBITS& band, PLANE* plane);

// The turns, each into dst (rows and row bytes set here; dst.Bits must hold Rows x RowBytes). The
// quarter turns exchange width and rows.
void TurnCounterClockwise(const PLANE& src, PLANE* dst);
void TurnClockwise(const PLANE& src, PLANE* dst);
void TurnHalf(const PLANE& src, PLANE* dst);
