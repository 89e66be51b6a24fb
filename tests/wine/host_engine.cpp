#include "host_engine.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace host {
namespace {

struct Surface {
    SURFOBJ so = {};
    bool ownsBits = false;
    bool banding = false;
    int locks = 0;
};

struct Device {
    DHPDEV dhpdev;
};

std::map<HSURF, std::unique_ptr<Surface>>& Surfaces() {
    static auto* s = new std::map<HSURF, std::unique_ptr<Surface>>;
    return *s;
}
std::map<HPALETTE, int>& Palettes() {
    static auto* p = new std::map<HPALETTE, int>;
    return *p;
}
std::map<HDEV, Device>& Devices() {
    static auto* d = new std::map<HDEV, Device>;
    return *d;
}
uintptr_t next = 0x00E00000;

uintptr_t NewHandle() {
    next += 4;
    return next;
}

Surface* Find(HSURF hsurf) {
    const auto it = Surfaces().find(hsurf);
    return it == Surfaces().end() ? nullptr : it->second.get();
}

ULONG BitsPerPixel(ULONG format) {
    switch (format) {
    case BMF_1BPP:
        return 1;
    case BMF_4BPP:
        return 4;
    case BMF_8BPP:
        return 8;
    case BMF_16BPP:
        return 16;
    case BMF_24BPP:
        return 24;
    case BMF_32BPP:
        return 32;
    default:
        return 0;
    }
}

// The engine services, with the signatures of winddi.h.

HBITMAP APIENTRY CreateBitmap(SIZEL sizl, LONG width, ULONG format, FLONG flags, PVOID bits) {
    const ULONG bpp = BitsPerPixel(format);
    if (!bpp || sizl.cx <= 0 || sizl.cy <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const unsigned long long stride = width ? static_cast<unsigned long long>(width)
                                            : (static_cast<unsigned long long>(sizl.cx) * bpp + 31) / 32 * 4;
    const unsigned long long bytes = stride * static_cast<unsigned long long>(sizl.cy);
    auto s = std::make_unique<Surface>();
    s->so.pvBits = bits ? bits : std::calloc(static_cast<size_t>(bytes), 1);
    if (!s->so.pvBits) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    s->ownsBits = !bits;
    const bool topDown = (flags & BMF_TOPDOWN) != 0;
    s->so.sizlBitmap = sizl;
    s->so.cjBits = static_cast<ULONG>(bytes);
    s->so.lDelta = topDown ? static_cast<LONG>(stride) : -static_cast<LONG>(stride);
    s->so.pvScan0 = topDown ? s->so.pvBits : static_cast<BYTE*>(s->so.pvBits) + (bytes - stride);
    s->so.iBitmapFormat = format;
    s->so.iType = STYPE_BITMAP;
    const HSURF h = reinterpret_cast<HSURF>(NewHandle());
    s->so.hsurf = h;
    Surfaces().emplace(h, std::move(s));
    return reinterpret_cast<HBITMAP>(h);
}

HSURF APIENTRY CreateDeviceSurface(DHSURF dhsurf, SIZEL sizl, ULONG format) {
    auto s = std::make_unique<Surface>();
    s->so.dhsurf = dhsurf;
    s->so.sizlBitmap = sizl;
    s->so.iBitmapFormat = format;
    s->so.iType = STYPE_DEVICE;
    const HSURF h = reinterpret_cast<HSURF>(NewHandle());
    s->so.hsurf = h;
    Surfaces().emplace(h, std::move(s));
    return h;
}

WINBOOL APIENTRY AssociateSurface(HSURF hsurf, HDEV hdev, FLONG) {
    Surface* s = Find(hsurf);
    const auto device = Devices().find(hdev);
    if (!s || device == Devices().end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    s->so.hdev = hdev;
    s->so.dhpdev = device->second.dhpdev;
    return TRUE;
}

SURFOBJ* APIENTRY LockSurface(HSURF hsurf) {
    Surface* s = Find(hsurf);
    if (!s) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    ++s->locks;
    return &s->so;
}

VOID APIENTRY UnlockSurface(SURFOBJ* so) {
    if (Surface* s = so ? Find(so->hsurf) : nullptr) {
        s->locks = s->locks > 0 ? s->locks - 1 : 0;
    }
}

WINBOOL APIENTRY DeleteSurface(HSURF hsurf) {
    const auto it = Surfaces().find(hsurf);
    if (it == Surfaces().end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (it->second->ownsBits) {
        std::free(it->second->so.pvBits);
    }
    Surfaces().erase(it);
    return TRUE;
}

WINBOOL APIENTRY MarkBandingSurface(HSURF hsurf) {
    Surface* s = Find(hsurf);
    if (!s) {
        return FALSE;
    }
    s->banding = true;
    return TRUE;
}

HPALETTE APIENTRY CreatePalette(ULONG, ULONG, ULONG*, FLONG, FLONG, FLONG) {
    const HPALETTE h = reinterpret_cast<HPALETTE>(NewHandle());
    Palettes()[h] = 1;
    return h;
}

WINBOOL APIENTRY DeletePalette(HPALETTE h) {
    return Palettes().erase(h) ? TRUE : FALSE;
}

struct Import {
    const char* Name;
    void* Function;
};

template <class F> void* Address(F* f) {
    return reinterpret_cast<void*>(f);
}

// The services the host answers; a job whose pixels are painted straight into the page calls no other.
const Import kImports[] = {
    {"EngCreateBitmap", Address(CreateBitmap)},
    {"EngCreateDeviceSurface", Address(CreateDeviceSurface)},
    {"EngAssociateSurface", Address(AssociateSurface)},
    {"EngLockSurface", Address(LockSurface)},
    {"EngUnlockSurface", Address(UnlockSurface)},
    {"EngDeleteSurface", Address(DeleteSurface)},
    {"EngMarkBandingSurface", Address(MarkBandingSurface)},
    {"EngCreatePalette", Address(CreatePalette)},
    {"EngDeletePalette", Address(DeletePalette)},
};

// Points the module's imports of the engine services at the host's.
bool PatchImports(HMODULE module) {
    BYTE* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    int patched = 0;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name;
         ++imp) {
        if (_stricmp(reinterpret_cast<const char*>(base + imp->Name), "gdi32.dll") != 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (const Import& i : kImports) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), i.Name) == 0) {
                    DWORD old = 0;
                    VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old);
                    slots->u1.Function = reinterpret_cast<ULONG_PTR>(i.Function);
                    VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
                    ++patched;
                }
            }
        }
    }
    return patched > 0;
}

using EnableDriver = WINBOOL(APIENTRY*)(ULONG, ULONG, DRVENABLEDATA*);
using EnablePdev = DHPDEV(APIENTRY*)(DEVMODEW*, LPWSTR, ULONG, HSURF*, ULONG, ULONG*, ULONG, DEVINFO*, HDEV,
                                     LPWSTR, HANDLE);
using CompletePdev = VOID(APIENTRY*)(DHPDEV, HDEV);
using DisablePdev = VOID(APIENTRY*)(DHPDEV);
using EnableSurface = HSURF(APIENTRY*)(DHPDEV);
using DisableSurface = VOID(APIENTRY*)(DHPDEV);
using StartDocFn = WINBOOL(APIENTRY*)(SURFOBJ*, LPWSTR, DWORD);
using EndDocFn = WINBOOL(APIENTRY*)(SURFOBJ*, FLONG);
using PageFn = WINBOOL(APIENTRY*)(SURFOBJ*);
using BandFn = WINBOOL(APIENTRY*)(SURFOBJ*, POINTL*);

template <class F> F As(PFN p) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
}

} // namespace

size_t LiveObjects() {
    return Surfaces().size() + Palettes().size();
}

bool Driver::Load(const std::wstring& path, std::string* why) {
    module_ = LoadLibraryW(path.c_str());
    if (!module_) {
        *why = "LoadLibrary failed";
        return false;
    }
    if (!PatchImports(module_)) {
        *why = "the module imports no engine services";
        return false;
    }
    const auto enable =
        reinterpret_cast<EnableDriver>(reinterpret_cast<void*>(GetProcAddress(module_, "DrvEnableDriver")));
    if (!enable || !enable(DDI_DRIVER_VERSION_NT5_01_SP1, sizeof(data_), &data_) || !data_.pdrvfn) {
        *why = "DrvEnableDriver refused";
        return false;
    }
    return true;
}

Driver::~Driver() {
    Close();
    if (module_) {
        FreeLibrary(module_);
    }
}

PFN Driver::Function(ULONG index) const {
    for (ULONG i = 0; i < data_.c; ++i) {
        if (data_.pdrvfn[i].iFunc == index) {
            return data_.pdrvfn[i].pfn;
        }
    }
    return nullptr;
}

bool Driver::Open(HANDLE printer, const std::wstring& printerName, const DEVMODEW* settings) {
    printerName_ = printerName;
    GDIINFO gdi = {};
    DEVINFO dev = {};
    HSURF patterns[HS_DDI_MAX] = {};
    std::wstring port = TEXT("FILE:");
    dhpdev_ = As<EnablePdev>(Function(INDEX_DrvEnablePDEV))(
        const_cast<DEVMODEW*>(settings), &port[0], HS_DDI_MAX, patterns, sizeof(gdi),
        reinterpret_cast<ULONG*>(&gdi), sizeof(dev), &dev, nullptr, &printerName_[0], printer);
    if (!dhpdev_) {
        return false;
    }
    hdev_ = reinterpret_cast<HDEV>(NewHandle());
    Devices()[hdev_] = {dhpdev_};
    As<CompletePdev>(Function(INDEX_DrvCompletePDEV))(dhpdev_, hdev_);
    surface_ = As<EnableSurface>(Function(INDEX_DrvEnableSurface))(dhpdev_);
    return surface_ != nullptr;
}

bool Driver::StartDoc(const std::wstring& document, DWORD jobId) {
    Surface* s = Find(surface_);
    std::wstring name = document;
    return s && As<StartDocFn>(Function(INDEX_DrvStartDoc))(&s->so, &name[0], jobId);
}

bool Driver::StartPage(Page* page) {
    Surface* s = Find(surface_);
    if (!s || !As<PageFn>(Function(INDEX_DrvStartPage))(&s->so)) {
        return false;
    }
    // The page bitmap: the one the driver associated with its device and locked.
    for (const auto& [h, surface] : Surfaces()) {
        if (surface->so.hdev == hdev_ && surface->so.iType == STYPE_BITMAP && surface->locks > 0) {
            const SURFOBJ& so = surface->so;
            *page = {so.pvScan0, so.lDelta, so.sizlBitmap.cx, so.sizlBitmap.cy,
                     BitsPerPixel(so.iBitmapFormat)};
            return true;
        }
    }
    return false;
}

bool Driver::EndPage() {
    Surface* s = Find(surface_);
    if (!s) {
        return false;
    }
    if (!s->banding) {
        return As<PageFn>(Function(INDEX_DrvSendPage))(&s->so) != FALSE;
    }
    POINTL origin = {};
    if (!As<BandFn>(Function(INDEX_DrvStartBanding))(&s->so, &origin)) {
        return false;
    }
    for (int calls = 0; calls < 100000; ++calls) {
        if (!As<BandFn>(Function(INDEX_DrvNextBand))(&s->so, &origin)) {
            return false;
        }
        if (origin.x == -1 && origin.y == -1) {
            return true;
        }
    }
    return false;
}

bool Driver::EndDoc() {
    Surface* s = Find(surface_);
    return s && As<EndDocFn>(Function(INDEX_DrvEndDoc))(&s->so, 0);
}

void Driver::Close() {
    if (dhpdev_) {
        As<DisableSurface>(Function(INDEX_DrvDisableSurface))(dhpdev_);
        As<DisablePdev>(Function(INDEX_DrvDisablePDEV))(dhpdev_);
        Devices().erase(hdev_);
        dhpdev_ = nullptr;
        surface_ = nullptr;
    }
}

} // namespace host
