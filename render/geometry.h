// Page geometry and banding parameters of a physical device, from the selected label, the orientation and
// the variant's head. Label sizes come from whatever the user typed, so every step is checked: a size that
// gives no page, or one the engine cannot address, is refused instead of wrapping around.
#pragma once

#include <windows.h>

#include "pdev.h"

// The engine addresses pages with 28-bit coordinates.
inline constexpr LONG kMaxPageDots = 0x7FFFFFF;

// 0.1 mm to dots, truncated toward zero.
long long TenthsToDots(long long tenths, LONG dotsPer100mm);

// Fills the page geometry from the settings. false when the label size gives no usable page.
bool ComputePageGeometry(const DRVDEVMODE* rec, LONG orientation, PAGEGEOMETRY* out);

// Surface row size in bytes for a width in pixels: rows are padded to 4 bytes. 0 when too large.
SIZE_T SurfaceStride(LONG widthPixels, ULONG bitsPerPixel);

ULONG BitsPerPixel(LONG depthClass);

void ComputeBanding(const DRVDEVMODE* rec, const PAGEGEOMETRY& page, LONG orientation, BANDINGPARAMS* out);
