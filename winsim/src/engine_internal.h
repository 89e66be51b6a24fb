// What the graphics-engine front asks of the engine's surfaces.
#pragma once

#include <windows.h>
#include <winddi.h>

namespace winsim {

struct PageBitmap {
    void* scan0;
    LONG delta;
    LONG width;
    LONG rows;
    ULONG bits_per_pixel;
};

// The bitmap associated with the engine device and locked by the driver: the page it draws into.
bool engine_page_bitmap(HDEV hdev, PageBitmap* out);
// The SURFOBJ the engine hands the driver for one of its surfaces, and whether it is marked for banding.
SURFOBJ* engine_surface_object(HSURF hsurf, bool* banding);

} // namespace winsim
