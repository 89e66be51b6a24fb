// Grey levels and dither patterns. The printer has no grey: on the grey and 1-bit surfaces a colour
// becomes one of 256 grey levels, and a grey level a 16 x 16 pattern of black and white dots built from
// one of the job's halftone patterns.
#pragma once

#include <windows.h>

#include "devmode.h"

inline constexpr int kPatternRows = 16;
inline constexpr int kPatternBytes = 2 * kPatternRows; // two bytes a row, pixels 0..7 then 8..15
inline constexpr int kGreyLevels = 256;
inline constexpr SIZE_T kPatternSetSize = static_cast<SIZE_T>(kPatternBytes) * kGreyLevels;

// Type codes of halftone patterns; 0 means no pattern was taken.
enum : LONG {
    HTPAT_NONE = 0,
    HTPAT_THRESHOLD = 1,  // one byte: white from this level up
    HTPAT_ROWS = 2,       // 32 groups of 8 row bytes, level 255 all white
    HTPAT_MATRIX8 = 3,    // 8 x 8 thresholds
    HTPAT_MATRIX16 = 4,   // 16 x 16 thresholds
    HTPAT_ROWS_FULL = 10, // 32 groups of 8 row bytes, level 255 from its own group
};

struct HALFTONEPATTERN {
    LONG Type;
    const BYTE* Table; // nullptr: none carried
};

// 0 black .. 255 white, from a colour with red in the low byte.
BYTE GreyLevel(ULONG color);

// The first pattern of the job: the row PatternIndex names (profile B: the selected label's Dithering),
// on the grey and 1-bit surfaces only; otherwise, and for a row outside the table, the built-in matrix.
HALFTONEPATTERN FirstHalftonePattern(const DRVDEVMODE* rec);
// The second pattern of the job (row PatternIndex2), or type HTPAT_NONE on the colour surfaces.
HALFTONEPATTERN SecondHalftonePattern(const DRVDEVMODE* rec);
// The colour adjustment the device keeps: the job's when its second pattern was taken, else the neutral one.
COLORADJUSTMENT DeviceColorAdjustment(const DRVDEVMODE* rec);

// Pattern `grey` of a set built from `pattern`: 16 rows of two bytes, most significant bit first, a set
// bit white.
void BuildPattern(const HALFTONEPATTERN& pattern, BYTE grey, BYTE (&out)[kPatternBytes]);
// All 256 patterns, level by level, into kPatternSetSize bytes.
void BuildPatternSet(const HALFTONEPATTERN& pattern, BYTE* set);
