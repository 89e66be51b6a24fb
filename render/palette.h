// The palette the engine draws the page with, chosen by the surface's colour depth class.
#pragma once

#include "pdev.h"

// Creates the palette and keeps its entries in the device. false when the engine gives none.
bool CreateDevicePalette(PDEV* pdev);
void DeleteDevicePalette(PDEV* pdev);
