// The driver's own fills on the 1-bit surface, shared by DrvPaint and DrvBitBlt.
#pragma once

#include "drawing.h"

// On the 1-bit surface with pattern fills, a copy-pen paint of a brush with a grey level through a clip
// that is not trivial: the clip's rectangles within `bounds` get the level's dither pattern. false when
// the call is not such a paint (the engine paints it).
bool PatternFillsClip(const DrawTarget& t, CLIPOBJ* pco, BRUSHOBJ* pbo, MIX mix, const RECTL& bounds);
// The dither pattern of the brush's grey level over one rectangle; false when the brush has none.
bool PatternFillsRect(const DrawTarget& t, BRUSHOBJ* pbo, const RECTL& rect);
