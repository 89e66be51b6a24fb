// The printer has no fonts the driver uses: text reaches the label as raster drawn by the engine. The
// device still names three default fonts for the engine to fall back on.
#pragma once

#include "pdev.h"

// Fills the three default fonts for a head of dpi dots per inch: a 10-point cell, rounded up.
void BuildDefaultFonts(ULONG dpi, LOGFONTW (&fonts)[kDefaultFontCount]);
