// What the graphics-engine front asks of the engine's surfaces.
#pragma once

#include <windows.h>
#include <winddi.h>

#include "raster.h"

#include <map>

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
// The pixels and palette of a bitmap the engine made, for its drawing services; false for a SURFOBJ it
// did not hand out or one without pixels. `known` tells the two apart.
bool engine_canvas(SURFOBJ* pso, Canvas* out, bool* known);
// An engine palette as the rasteriser reads it.
bool engine_palette_view(HPALETTE hpal, PaletteView* out);
// A top-down bitmap made for the host (no call of a service), with a palette of its own, locked once;
// its SURFOBJ.
SURFOBJ* engine_host_bitmap(SIZEL size, ULONG format, HPALETTE palette);
// A palette made for the host, and its deletion.
HPALETTE engine_host_palette(const PaletteView& view);
void engine_delete_host_palette(HPALETTE hpal);
// Deletes a bitmap engine_host_bitmap made.
void engine_delete_host_bitmap(SURFOBJ* so);

// The SURFOBJ the engine hands the driver for one of its surfaces, and whether it is marked for banding.
SURFOBJ* engine_surface_object(HSURF hsurf, bool* banding);

// A device of the engine front, for its drawing primitives: its surface's SURFOBJ, physical device,
// default palette and the driver's function table. false with ERROR_INVALID_PARAMETER for an unknown one.
struct FrontDevice {
    SURFOBJ* so;
    DHPDEV dhpdev;
    HPALETTE palette;
    const std::map<ULONG, PFN>* functions;
};
bool front_device(void* handle, FrontDevice* out);

} // namespace winsim
