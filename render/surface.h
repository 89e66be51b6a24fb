// The drawing surface of a physical device: a device surface the engine draws on through the driver's
// hooks, an engine bitmap behind it that holds the pixels (locked, so the image sender can read them),
// the band table, and the device's work storage.
#pragma once

#include "halftone.h"
#include "pdev.h"
#include "row_coder.h"

inline constexpr SIZE_T kPatternSetBytes = 64 * 1024;
inline constexpr SIZE_T kWorkAreaBytes = 256 * 1024;
static_assert(kPatternSetSize <= kPatternSetBytes);
inline constexpr SIZE_T kWorkStorageBytes =
    2 * kPatternSetBytes + kWorkAreaBytes + kOutputHeadroom + kOutputBufferBytes;
// The row coder's two areas, one per coding.
inline constexpr int kRowCoderScratchCount = 2;
inline constexpr SIZE_T kRowCoderScratchBytes = kRowCodeBytes;

inline constexpr FLONG kSurfaceHooks = HOOK_BITBLT | HOOK_STRETCHBLT | HOOK_PLGBLT | HOOK_TEXTOUT |
                                       HOOK_PAINT | HOOK_STROKEPATH | HOOK_FILLPATH | HOOK_STROKEANDFILLPATH |
                                       HOOK_LINETO | HOOK_COPYBITS | HOOK_STRETCHBLTROP |
                                       HOOK_TRANSPARENTBLT | HOOK_ALPHABLEND | HOOK_GRADIENTFILL;

// Releases surface, bitmap, work storage and scratch buffers; safe to call on a device that has none.
void ReleaseSurface(PDEV* pdev);

// Fills rows of a bitmap with white. White is all ones in every format the driver draws in (index 1
// of the black-and-white palette, 255 of the grey one, 0xFFFFFF), so it is one fill of bytes.
void EraseRows(BYTE* scan0, LONG delta, LONG rows);
