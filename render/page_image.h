// The image sender as the page logic calls it: everything it needs taken from the physical device.
#pragma once

#include "pdev.h"

// Sends the current band's image, if the settings print one. A page whose image cannot be sent sets
// OUTSTATE_IMAGE_SKIPPED and sends none of it; the page itself goes on. The first-page flag is
// cleared afterwards either way.
void SendPageImage(PDEV* pdev);
