// The graphics engine's services a printer graphics driver calls: surfaces and bitmaps with real memory and
// palettes. The drawing services are in engine_draw.cpp.
#include "engine_internal.h"
#include "objects.h"
#include "reset.h"
#include "services.h"

#include <windows.h>
#include <winddi.h>
#include <winsim_host.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace winsim {
namespace {

// Larger bitmaps fail as out of memory: the engine's own limits lie far below what a test machine has.
constexpr unsigned long long kMaxBitmapBytes = 1ULL << 30;

struct Surface {
    Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    ~Surface() {
        if (owns_bits)
            std::free(so.pvBits);
    }

    SURFOBJ so{}; // handed out by EngLockSurface; its address stays put
    bool owns_bits = false;
    bool banding = false;
    FLONG hooks = 0;
    HPALETTE palette = nullptr; // the device's default palette, from EngAssociateSurface
    int locks = 0;
};

// The engine's record of a driver's physical device: what EngAssociateSurface hands on to the surfaces
// associated with it.
struct Device {
    DHPDEV dhpdev;
    HPALETTE palette;
};

struct Palette {
    ULONG mode = 0;
    std::vector<ULONG> colors;
};

struct Engine {
    std::mutex mutex;
    // Engine object handles live apart from kernel handles; values are never reused.
    uintptr_t next = 0x00E00000;
    ULONG next_uniq = 1;
    std::map<uintptr_t, std::unique_ptr<Surface>> surfaces; // bitmaps and device surfaces
    std::map<uintptr_t, std::unique_ptr<Palette>> palettes;
    std::map<uintptr_t, Device> devices; // registered by the host, which plays the engine's device side
};

// Never destroyed, like the other process-wide state.
Engine& engine() {
    static Engine* e = new Engine;
    return *e;
}

std::string handle_text(const void* handle) {
    return hex(reinterpret_cast<uintptr_t>(handle));
}

// Under the engine lock: the surface behind a handle, or behind a SURFOBJ the engine handed out.
Surface* surface_of(Engine& e, HSURF hsurf) {
    const auto it = e.surfaces.find(reinterpret_cast<uintptr_t>(hsurf));
    return it == e.surfaces.end() ? nullptr : it->second.get();
}

Surface* surface_of(Engine& e, const SURFOBJ* pso) {
    if (!pso)
        return nullptr;
    Surface* s = surface_of(e, pso->hsurf);
    return s && &s->so == pso ? s : nullptr;
}

uintptr_t add_surface(Engine& e, std::unique_ptr<Surface> surface) {
    const uintptr_t value = e.next;
    e.next += 4;
    surface->so.hsurf = reinterpret_cast<HSURF>(value);
    surface->so.iUniq = e.next_uniq++;
    e.surfaces.emplace(value, std::move(surface));
    return value;
}

// Sets one pixel of a bitmap to a colour index or value in the bitmap's own format.
void put_pixel(SURFOBJ& so, LONG x, LONG y, ULONG color) {
    BYTE* row = static_cast<BYTE*>(so.pvScan0) + static_cast<ptrdiff_t>(y) * so.lDelta;
    switch (so.iBitmapFormat) {
    case BMF_1BPP: {
        const BYTE mask = static_cast<BYTE>(0x80 >> (x & 7));
        row[x / 8] = (color & 1) ? (row[x / 8] | mask) : (row[x / 8] & ~mask);
        break;
    }
    case BMF_4BPP: {
        const int shift = (x & 1) ? 0 : 4;
        row[x / 2] = static_cast<BYTE>((row[x / 2] & ~(0xF << shift)) | ((color & 0xF) << shift));
        break;
    }
    case BMF_8BPP:
        row[x] = static_cast<BYTE>(color);
        break;
    case BMF_16BPP:
        row[2 * x] = static_cast<BYTE>(color);
        row[2 * x + 1] = static_cast<BYTE>(color >> 8);
        break;
    case BMF_24BPP:
        for (int i = 0; i < 3; ++i)
            row[3 * x + i] = static_cast<BYTE>(color >> (8 * i));
        break;
    case BMF_32BPP:
        for (int i = 0; i < 4; ++i)
            row[4 * x + i] = static_cast<BYTE>(color >> (8 * i));
        break;
    default:
        break;
    }
}

} // namespace

bool engine_page_bitmap(HDEV hdev, PageBitmap* out) {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    for (const auto& [value, surface] : e.surfaces) {
        const SURFOBJ& so = surface->so;
        if (so.hdev == hdev && so.iType == STYPE_BITMAP && surface->locks > 0) {
            *out = {so.pvScan0, so.lDelta, so.sizlBitmap.cx, so.sizlBitmap.cy, format_bits(so.iBitmapFormat)};
            return true;
        }
    }
    return false;
}

SURFOBJ* engine_surface_object(HSURF hsurf, bool* banding) {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    Surface* s = surface_of(e, hsurf);
    if (!s)
        return nullptr;
    *banding = s->banding;
    return &s->so;
}

bool engine_palette_view(HPALETTE hpal, PaletteView* out) {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    const auto it = e.palettes.find(reinterpret_cast<uintptr_t>(hpal));
    if (it == e.palettes.end())
        return false;
    out->mode = it->second->mode;
    out->colors = it->second->colors;
    return true;
}

bool engine_canvas(SURFOBJ* pso, Canvas* out, bool* known) {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    const Surface* s = surface_of(e, pso);
    *known = s != nullptr;
    if (!s)
        return false;
    PaletteView palette;
    if (s->palette) {
        const auto it = e.palettes.find(reinterpret_cast<uintptr_t>(s->palette));
        if (it != e.palettes.end()) {
            palette.mode = it->second->mode;
            palette.colors = it->second->colors;
        }
    }
    return make_canvas(pso, palette, out);
}

SURFOBJ* engine_host_bitmap(SIZEL size, ULONG format, HPALETTE palette) {
    const ULONG bpp = format_bits(format);
    if (bpp == 0 || size.cx <= 0 || size.cy <= 0)
        return nullptr;
    const unsigned long long stride = (static_cast<unsigned long long>(size.cx) * bpp + 31) / 32 * 4;
    const unsigned long long bytes = stride * static_cast<unsigned long long>(size.cy);
    if (bytes > kMaxBitmapBytes)
        return nullptr;
    auto surface = std::make_unique<Surface>();
    surface->so.pvBits = std::calloc(static_cast<size_t>(bytes), 1);
    if (!surface->so.pvBits)
        return nullptr;
    surface->owns_bits = true;
    SURFOBJ& so = surface->so;
    so.sizlBitmap = size;
    so.cjBits = static_cast<ULONG>(bytes);
    so.lDelta = static_cast<LONG>(stride);
    so.pvScan0 = so.pvBits;
    so.iBitmapFormat = format;
    so.iType = STYPE_BITMAP;
    so.fjBitmap = BMF_TOPDOWN;
    surface->palette = palette;
    surface->locks = 1;
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    const uintptr_t value = add_surface(e, std::move(surface));
    return &e.surfaces[value]->so;
}

HPALETTE engine_host_palette(const PaletteView& view) {
    auto palette = std::make_unique<Palette>();
    palette->mode = view.mode;
    palette->colors = view.colors;
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    const uintptr_t value = e.next;
    e.next += 4;
    e.palettes.emplace(value, std::move(palette));
    return reinterpret_cast<HPALETTE>(value);
}

void engine_delete_host_palette(HPALETTE hpal) {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    e.palettes.erase(reinterpret_cast<uintptr_t>(hpal));
}

void engine_delete_host_bitmap(SURFOBJ* so) {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    if (Surface* s = surface_of(e, so))
        e.surfaces.erase(reinterpret_cast<uintptr_t>(s->so.hsurf));
}

void reset_engine() {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    e.surfaces.clear();
    e.palettes.clear();
    e.devices.clear();
}

} // namespace winsim

using namespace winsim;

extern "C" {

HBITMAP APIENTRY EngCreateBitmap(SIZEL sizl, LONG lWidth, ULONG iFormat, FLONG fl, PVOID pvBits) {
    if (const DWORD fault = enter(Service::EngCreateBitmap,
                                  "EngCreateBitmap cx=" + std::to_string(sizl.cx) +
                                      " cy=" + std::to_string(sizl.cy) + " width=" + std::to_string(lWidth) +
                                      " format=" + std::to_string(iFormat) + " flags=" + hex(fl))) {
        SetLastError(fault);
        return nullptr;
    }
    const ULONG bpp = format_bits(iFormat);
    if (bpp == 0 || sizl.cx <= 0 || sizl.cy <= 0 || lWidth < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const unsigned long long minimum = (static_cast<unsigned long long>(sizl.cx) * bpp + 31) / 32 * 4;
    // Bits the engine allocates itself have rows of whole 32-bit words: a row width that is not a multiple
    // of 4 is ignored then, as ReactOS's engine ignores it (SURFACE_AllocSurface aligns the rows).
    const bool own_rows = lWidth == 0 || (!pvBits && lWidth % 4 != 0);
    const unsigned long long stride = own_rows ? minimum : static_cast<unsigned long long>(lWidth);
    // The caller's own bits may have rows of whole bytes; the engine's rows are whole words.
    const unsigned long long pixel_bytes = (static_cast<unsigned long long>(sizl.cx) * bpp + 7) / 8;
    if (stride < (pvBits ? pixel_bytes : minimum)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const unsigned long long bytes = stride * static_cast<unsigned long long>(sizl.cy);
    if (bytes > kMaxBitmapBytes) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto surface = std::make_unique<Surface>();
    if (pvBits) {
        surface->so.pvBits = pvBits;
    } else {
        surface->so.pvBits = (fl & BMF_NOZEROINIT) ? std::malloc(static_cast<size_t>(bytes))
                                                   : std::calloc(static_cast<size_t>(bytes), 1);
        if (!surface->so.pvBits) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        surface->owns_bits = true;
    }
    SURFOBJ& so = surface->so;
    so.sizlBitmap = sizl;
    so.cjBits = static_cast<ULONG>(bytes);
    const bool top_down = (fl & BMF_TOPDOWN) != 0;
    so.lDelta = top_down ? static_cast<LONG>(stride) : -static_cast<LONG>(stride);
    so.pvScan0 = top_down ? so.pvBits : static_cast<BYTE*>(so.pvBits) + (bytes - stride);
    so.iBitmapFormat = iFormat;
    so.iType = STYPE_BITMAP;
    so.fjBitmap = static_cast<USHORT>(fl & (BMF_TOPDOWN | BMF_NOZEROINIT | BMF_DONTCACHE | BMF_USERMEM));
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    return reinterpret_cast<HBITMAP>(add_surface(e, std::move(surface)));
}

HSURF APIENTRY EngCreateDeviceSurface(DHSURF dhsurf, SIZEL sizl, ULONG iFormatCompat) {
    if (const DWORD fault =
            enter(Service::EngCreateDeviceSurface,
                  "EngCreateDeviceSurface dhsurf=" + handle_text(dhsurf) + " cx=" + std::to_string(sizl.cx) +
                      " cy=" + std::to_string(sizl.cy) + " format=" + std::to_string(iFormatCompat))) {
        SetLastError(fault);
        return nullptr;
    }
    if (sizl.cx <= 0 || sizl.cy <= 0 || format_bits(iFormatCompat) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto surface = std::make_unique<Surface>();
    surface->so.dhsurf = dhsurf;
    surface->so.sizlBitmap = sizl;
    surface->so.iBitmapFormat = iFormatCompat;
    surface->so.iType = STYPE_DEVICE;
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    return reinterpret_cast<HSURF>(add_surface(e, std::move(surface)));
}

WINBOOL APIENTRY EngAssociateSurface(HSURF hsurf, HDEV hdev, FLONG flHooks) {
    if (const DWORD fault = enter(Service::EngAssociateSurface,
                                  "EngAssociateSurface surface=" + handle_text(hsurf) +
                                      " hdev=" + handle_text(hdev) + " hooks=" + hex(flHooks))) {
        SetLastError(fault);
        return FALSE;
    }
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    Surface* s = surface_of(e, hsurf);
    if (!s) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const auto device = e.devices.find(reinterpret_cast<uintptr_t>(hdev));
    if (device == e.devices.end() || (flHooks & ~static_cast<FLONG>(HOOK_FLAGS))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The surface learns its device as Windows' engine tells it: the driver's DHPDEV, by which the driver
    // recognises its own surfaces in later calls, and the device's default palette.
    s->so.hdev = hdev;
    s->so.dhpdev = device->second.dhpdev;
    s->palette = device->second.palette;
    s->hooks = flHooks;
    return TRUE;
}

SURFOBJ* APIENTRY EngLockSurface(HSURF hsurf) {
    if (const DWORD fault = enter(Service::EngLockSurface, "EngLockSurface surface=" + handle_text(hsurf))) {
        SetLastError(fault);
        return nullptr;
    }
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    Surface* s = surface_of(e, hsurf);
    if (!s) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    ++s->locks;
    return &s->so;
}

VOID APIENTRY EngUnlockSurface(SURFOBJ* pso) {
    // A planned failure still unlocks: the caller has no way to react to it.
    enter(Service::EngUnlockSurface,
          "EngUnlockSurface surface=" + (pso ? handle_text(pso->hsurf) : "(null)"));
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    Surface* s = surface_of(e, pso);
    if (s && s->locks > 0)
        --s->locks;
}

WINBOOL APIENTRY EngDeleteSurface(HSURF hsurf) {
    const DWORD fault = enter(Service::EngDeleteSurface, "EngDeleteSurface surface=" + handle_text(hsurf));
    std::unique_ptr<Surface> deleted;
    {
        Engine& e = engine();
        std::lock_guard lock(e.mutex);
        const auto it = e.surfaces.find(reinterpret_cast<uintptr_t>(hsurf));
        if (it == e.surfaces.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        // A locked surface is still in use; deleting it would leave the locker a dangling SURFOBJ.
        if (it->second->locks > 0) {
            SetLastError(ERROR_BUSY);
            return FALSE;
        }
        deleted = std::move(it->second);
        e.surfaces.erase(it);
    }
    // An injected failure still deletes, so that a test of that path does not leak the surface.
    if (fault) {
        SetLastError(fault);
        return FALSE;
    }
    return TRUE;
}

WINBOOL APIENTRY EngMarkBandingSurface(HSURF hsurf) {
    if (const DWORD fault =
            enter(Service::EngMarkBandingSurface, "EngMarkBandingSurface surface=" + handle_text(hsurf))) {
        SetLastError(fault);
        return FALSE;
    }
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    Surface* s = surface_of(e, hsurf);
    if (!s) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    s->banding = true;
    return TRUE;
}

WINBOOL APIENTRY EngEraseSurface(SURFOBJ* pso, RECTL* prcl, ULONG iColor) {
    std::string line = "EngEraseSurface surface=" + (pso ? handle_text(pso->hsurf) : "(null)");
    if (prcl)
        line += " rect=" + std::to_string(prcl->left) + "," + std::to_string(prcl->top) + "," +
                std::to_string(prcl->right) + "," + std::to_string(prcl->bottom);
    line += " color=" + hex(iColor);
    if (const DWORD fault = enter(Service::EngEraseSurface, std::move(line))) {
        SetLastError(fault);
        return FALSE;
    }
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    Surface* s = surface_of(e, pso);
    if (!s || s->so.iType != STYPE_BITMAP || !prcl) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SURFOBJ& so = s->so;
    const LONG left = prcl->left < 0 ? 0 : prcl->left;
    const LONG top = prcl->top < 0 ? 0 : prcl->top;
    const LONG right = prcl->right > so.sizlBitmap.cx ? so.sizlBitmap.cx : prcl->right;
    const LONG bottom = prcl->bottom > so.sizlBitmap.cy ? so.sizlBitmap.cy : prcl->bottom;
    for (LONG y = top; y < bottom; ++y) {
        for (LONG x = left; x < right; ++x)
            put_pixel(so, x, y, iColor);
    }
    return TRUE;
}

HPALETTE APIENTRY EngCreatePalette(ULONG iMode, ULONG cColors, ULONG* pulColors, FLONG flRed, FLONG flGreen,
                                   FLONG flBlue) {
    if (const DWORD fault = enter(Service::EngCreatePalette, "EngCreatePalette mode=" + hex(iMode) +
                                                                 " colors=" + std::to_string(cColors))) {
        SetLastError(fault);
        return nullptr;
    }
    auto palette = std::make_unique<Palette>();
    palette->mode = iMode;
    switch (iMode) {
    case PAL_INDEXED:
        if (cColors == 0 || cColors > 65536) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        palette->colors.assign(cColors, 0);
        if (pulColors)
            palette->colors.assign(pulColors, pulColors + cColors);
        break;
    case PAL_BITFIELDS:
        if (!flRed || !flGreen || !flBlue) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        palette->colors = {flRed, flGreen, flBlue};
        break;
    case PAL_RGB:
    case PAL_BGR:
    case PAL_CMYK:
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    const uintptr_t value = e.next;
    e.next += 4;
    e.palettes.emplace(value, std::move(palette));
    return reinterpret_cast<HPALETTE>(value);
}

WINBOOL APIENTRY EngDeletePalette(HPALETTE hpal) {
    const DWORD fault = enter(Service::EngDeletePalette, "EngDeletePalette palette=" + handle_text(hpal));
    {
        Engine& e = engine();
        std::lock_guard lock(e.mutex);
        if (!e.palettes.erase(reinterpret_cast<uintptr_t>(hpal))) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
    }
    if (fault) {
        SetLastError(fault);
        return FALSE;
    }
    return TRUE;
}

// Host functions.

void* winsim_xlate_create(uint32_t source_mode, const uint32_t* colors, uint32_t count, void* dest_palette) {
    PaletteView source;
    source.mode = source_mode;
    if (source_mode == PAL_INDEXED && colors)
        source.colors.assign(colors, colors + count);
    PaletteView dest;
    if (dest_palette && !engine_palette_view(static_cast<HPALETTE>(dest_palette), &dest))
        return nullptr;
    return make_xlate(source, dest);
}

void* winsim_bitmap_create(int32_t width, int32_t height, uint32_t format, const void* bits, int32_t stride,
                           const uint32_t* colors, uint32_t count) {
    HPALETTE palette = nullptr;
    if (colors && count) {
        PaletteView view;
        view.mode = PAL_INDEXED;
        view.colors.assign(colors, colors + count);
        palette = engine_host_palette(view);
    }
    SURFOBJ* so = engine_host_bitmap({width, height}, format, palette);
    if (!so) {
        if (palette)
            engine_delete_host_palette(palette);
        return nullptr;
    }
    BYTE* scan = static_cast<BYTE*>(so->pvScan0);
    const size_t row = static_cast<size_t>(so->lDelta);
    for (int32_t y = 0; y < height; ++y) {
        if (bits)
            std::memcpy(scan + row * y, static_cast<const BYTE*>(bits) + static_cast<ptrdiff_t>(stride) * y,
                        std::min<size_t>(row, static_cast<size_t>(stride > 0 ? stride : 0)));
        else
            std::memset(scan + row * y, 0xFF, row);
    }
    return so;
}

void winsim_bitmap_delete(void* surfobj) {
    HPALETTE palette = nullptr;
    {
        Engine& e = engine();
        std::lock_guard lock(e.mutex);
        if (Surface* s = surface_of(e, static_cast<SURFOBJ*>(surfobj)))
            palette = s->palette;
    }
    engine_delete_host_bitmap(static_cast<SURFOBJ*>(surfobj));
    if (palette)
        engine_delete_host_palette(palette);
}

uint32_t winsim_engine_objects(void) {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    return static_cast<uint32_t>(e.surfaces.size() + e.palettes.size());
}

void* winsim_engine_add_device(void* dhpdev, void* default_palette) {
    if (!dhpdev)
        return nullptr;
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    if (default_palette && !e.palettes.count(reinterpret_cast<uintptr_t>(default_palette)))
        return nullptr;
    const uintptr_t value = e.next;
    e.next += 4;
    e.devices.emplace(value, Device{static_cast<DHPDEV>(dhpdev), static_cast<HPALETTE>(default_palette)});
    return reinterpret_cast<void*>(value);
}

int winsim_engine_remove_device(void* hdev) {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    return e.devices.erase(reinterpret_cast<uintptr_t>(hdev)) ? 1 : 0;
}

void* winsim_engine_surface_palette(void* hsurf) {
    Engine& e = engine();
    std::lock_guard lock(e.mutex);
    const Surface* s = surface_of(e, static_cast<HSURF>(hsurf));
    return s ? s->palette : nullptr;
}

} // extern "C"
