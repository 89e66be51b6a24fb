// The graphics engine's side of a print job, as Windows' engine drives a printer graphics driver: the
// library is loaded by path, DrvEnableDriver is its one entry by name, and everything after goes through
// the function table the driver hands back. The calls come in the engine's order: enable and complete
// the device, enable its surface, start the document, each page (banded when the driver marked its
// surface for banding), escapes, a device reset between pages, end the document, disable.
#include "engine_internal.h"
#include "reset.h"
#include "text.h"

#include <windows.h>
#include <winddi.h>
#include <winspool.h>
#include <winsim_host.h>

#include <dlfcn.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace winsim {
namespace {

// The engine version a Windows XP SP1 or later engine announces, the lowest the driver accepts.
constexpr ULONG kEngineVersion = DDI_DRIVER_VERSION_NT5_01_SP1;
// A page of banding that has not ended after this many bands is a driver that would keep the engine
// looping for ever.
constexpr int kMaxBandCalls = 100000;

using EnablePdev = DHPDEV(APIENTRY*)(DEVMODEW*, LPWSTR, ULONG, HSURF*, ULONG, ULONG*, ULONG, DEVINFO*, HDEV,
                                     LPWSTR, HANDLE);
using CompletePdev = VOID(APIENTRY*)(DHPDEV, HDEV);
using DisablePdev = VOID(APIENTRY*)(DHPDEV);
using ResetPdev = WINBOOL(APIENTRY*)(DHPDEV, DHPDEV);
using EnableSurface = HSURF(APIENTRY*)(DHPDEV);
using DisableSurface = VOID(APIENTRY*)(DHPDEV);
using StartDoc = WINBOOL(APIENTRY*)(SURFOBJ*, LPWSTR, DWORD);
using EndDoc = WINBOOL(APIENTRY*)(SURFOBJ*, FLONG);
using PageCall = WINBOOL(APIENTRY*)(SURFOBJ*);
using BandCall = WINBOOL(APIENTRY*)(SURFOBJ*, POINTL*);
using Escape = ULONG(APIENTRY*)(SURFOBJ*, ULONG, ULONG, PVOID, ULONG, PVOID);
using DisableDriver = VOID(APIENTRY*)();

struct Driver {
    void* library = nullptr;
    std::map<ULONG, PFN> functions;

    template <class F> F Get(ULONG index) const {
        const auto it = functions.find(index);
        return it == functions.end() ? nullptr
                                     : reinterpret_cast<F>(reinterpret_cast<void (*)()>(it->second));
    }
};

// One physical device of a driver on a printer, with its surface and the engine device it is known by.
struct Device {
    Driver* driver = nullptr;
    HANDLE printer = nullptr;
    std::u16string printer_name;
    std::u16string port;
    DHPDEV dhpdev = nullptr;
    HDEV hdev = nullptr;
    HSURF surface = nullptr;
    HPALETTE palette = nullptr; // DEVINFO.hpalDefault: what the engine translates colours into
    DWORD job = 0;
};

struct Front {
    std::mutex mutex;
    std::map<Driver*, std::unique_ptr<Driver>> drivers;
    std::map<Device*, std::unique_ptr<Device>> devices;
};

Front& front() {
    static Front* f = new Front;
    return *f;
}

Driver* find_driver(void* handle) {
    Front& f = front();
    std::lock_guard lock(f.mutex);
    const auto it = f.drivers.find(static_cast<Driver*>(handle));
    return it == f.drivers.end() ? nullptr : it->second.get();
}

Device* find_device(void* handle) {
    Front& f = front();
    std::lock_guard lock(f.mutex);
    const auto it = f.devices.find(static_cast<Device*>(handle));
    return it == f.devices.end() ? nullptr : it->second.get();
}

SURFOBJ* surface_object(const Device& d, bool* banding) {
    bool marked = false;
    SURFOBJ* so = d.surface ? engine_surface_object(d.surface, &marked) : nullptr;
    if (banding)
        *banding = marked;
    return so;
}

// Enables and completes a physical device and its surface: what CreateDC (and ResetDC, for the new
// device) makes the engine do. false, with the driver's last error, when any step fails; what was
// made is disabled again.
bool enable(Device& d, const void* devmode) {
    const auto enable_pdev = d.driver->Get<EnablePdev>(INDEX_DrvEnablePDEV);
    const auto complete = d.driver->Get<CompletePdev>(INDEX_DrvCompletePDEV);
    const auto enable_surface = d.driver->Get<EnableSurface>(INDEX_DrvEnableSurface);
    const auto disable_pdev = d.driver->Get<DisablePdev>(INDEX_DrvDisablePDEV);
    if (!enable_pdev || !complete || !enable_surface || !disable_pdev) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return false;
    }
    GDIINFO gdi = {};
    DEVINFO dev = {};
    HSURF patterns[HS_DDI_MAX] = {};
    d.dhpdev = enable_pdev(static_cast<DEVMODEW*>(const_cast<void*>(devmode)), d.port.data(), HS_DDI_MAX,
                           patterns, sizeof(gdi), reinterpret_cast<ULONG*>(&gdi), sizeof(dev), &dev, nullptr,
                           d.printer_name.data(), d.printer);
    if (!d.dhpdev)
        return false;
    d.hdev = static_cast<HDEV>(winsim_engine_add_device(d.dhpdev, dev.hpalDefault));
    d.palette = dev.hpalDefault;
    complete(d.dhpdev, d.hdev);
    d.surface = enable_surface(d.dhpdev);
    if (!d.surface) {
        const DWORD error = GetLastError();
        disable_pdev(d.dhpdev);
        winsim_engine_remove_device(d.hdev);
        d.dhpdev = nullptr;
        d.hdev = nullptr;
        SetLastError(error);
        return false;
    }
    return true;
}

void disable(Device& d) {
    if (!d.dhpdev)
        return;
    if (const auto disable_surface = d.driver->Get<DisableSurface>(INDEX_DrvDisableSurface))
        disable_surface(d.dhpdev);
    if (const auto disable_pdev = d.driver->Get<DisablePdev>(INDEX_DrvDisablePDEV))
        disable_pdev(d.dhpdev);
    winsim_engine_remove_device(d.hdev);
    d.dhpdev = nullptr;
    d.hdev = nullptr;
    d.surface = nullptr;
}

} // namespace

bool front_device(void* handle, FrontDevice* out) {
    Device* d = find_device(handle);
    SURFOBJ* so = d ? surface_object(*d, nullptr) : nullptr;
    if (!so) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    out->so = so;
    out->dhpdev = d->dhpdev;
    out->palette = d->palette;
    out->functions = &d->driver->functions;
    return true;
}

void reset_engine_front() {
    // Devices left open belong to drivers the host no longer drives; their memory goes with the reset of
    // the engine and the spooler, the loaded libraries stay.
    Front& f = front();
    std::lock_guard lock(f.mutex);
    f.devices.clear();
}

} // namespace winsim

using namespace winsim;

extern "C" {

void* winsim_engine_load(const char* library_path) {
    if (!library_path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* library = dlopen(library_path, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    using EnableDriver = WINBOOL(APIENTRY*)(ULONG, ULONG, DRVENABLEDATA*);
    const auto enable_driver = reinterpret_cast<EnableDriver>(dlsym(library, "DrvEnableDriver"));
    DRVENABLEDATA data = {};
    if (!enable_driver) {
        dlclose(library);
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    if (!enable_driver(kEngineVersion, sizeof(data), &data) || !data.pdrvfn) {
        dlclose(library);
        return nullptr;
    }
    auto driver = std::make_unique<Driver>();
    driver->library = library;
    for (ULONG i = 0; i < data.c; ++i)
        driver->functions[data.pdrvfn[i].iFunc] = data.pdrvfn[i].pfn;
    Front& f = front();
    std::lock_guard lock(f.mutex);
    Driver* handle = driver.get();
    f.drivers.emplace(handle, std::move(driver));
    return handle;
}

void winsim_engine_unload(void* driver) {
    std::unique_ptr<Driver> owned;
    {
        Front& f = front();
        std::lock_guard lock(f.mutex);
        const auto it = f.drivers.find(static_cast<Driver*>(driver));
        if (it == f.drivers.end())
            return;
        owned = std::move(it->second);
        f.drivers.erase(it);
    }
    if (const auto disable_driver = owned->Get<DisableDriver>(INDEX_DrvDisableDriver))
        disable_driver();
    dlclose(owned->library);
}

void* winsim_engine_open(void* driver, const char* printer, const void* devmode) {
    Driver* drv = find_driver(driver);
    if (!drv || !printer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto device = std::make_unique<Device>();
    device->driver = drv;
    device->printer_name = from_utf8(printer);
    if (!OpenPrinterW(device->printer_name.data(), &device->printer, nullptr))
        return nullptr;
    // The engine gives the driver the printer's port as the device's logical address.
    DWORD needed = 0;
    GetPrinterW(device->printer, 2, nullptr, 0, &needed);
    std::string info(needed, '\0');
    if (needed && GetPrinterW(device->printer, 2, reinterpret_cast<LPBYTE>(info.data()), needed, &needed)) {
        const auto* pi = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
        if (pi->pPortName)
            device->port = pi->pPortName;
    }
    if (!enable(*device, devmode)) {
        const DWORD error = GetLastError();
        ClosePrinter(device->printer);
        SetLastError(error);
        return nullptr;
    }
    Front& f = front();
    std::lock_guard lock(f.mutex);
    Device* handle = device.get();
    f.devices.emplace(handle, std::move(device));
    return handle;
}

int winsim_engine_start_doc(void* device, const char* document) {
    Device* d = find_device(device);
    SURFOBJ* so = d ? surface_object(*d, nullptr) : nullptr;
    const auto start = d ? d->driver->Get<StartDoc>(INDEX_DrvStartDoc) : nullptr;
    if (!so || !start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string name = document ? from_utf8(document) : std::u16string();
    DOC_INFO_1W doc = {document ? name.data() : nullptr, nullptr, nullptr};
    d->job = StartDocPrinterW(d->printer, 1, reinterpret_cast<LPBYTE>(&doc));
    if (!d->job)
        return 0;
    if (!start(so, document ? name.data() : nullptr, d->job)) {
        const DWORD error = GetLastError();
        EndDocPrinter(d->printer);
        d->job = 0;
        SetLastError(error);
        return 0;
    }
    return 1;
}

int winsim_engine_start_page(void* device, winsim_engine_page* page) {
    Device* d = find_device(device);
    SURFOBJ* so = d ? surface_object(*d, nullptr) : nullptr;
    const auto start = d ? d->driver->Get<PageCall>(INDEX_DrvStartPage) : nullptr;
    if (!so || !start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!start(so))
        return 0;
    if (page) {
        *page = {};
        PageBitmap bitmap;
        if (engine_page_bitmap(d->hdev, &bitmap))
            *page = {bitmap.scan0, bitmap.delta, bitmap.width, bitmap.rows, bitmap.bits_per_pixel};
    }
    return 1;
}

int winsim_engine_end_page(void* device) {
    Device* d = find_device(device);
    bool banding = false;
    SURFOBJ* so = d ? surface_object(*d, &banding) : nullptr;
    if (!so) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!banding) {
        const auto send = d->driver->Get<PageCall>(INDEX_DrvSendPage);
        if (!send) {
            SetLastError(ERROR_PROC_NOT_FOUND);
            return 0;
        }
        return send(so) ? 1 : 0;
    }
    const auto start = d->driver->Get<BandCall>(INDEX_DrvStartBanding);
    const auto next = d->driver->Get<BandCall>(INDEX_DrvNextBand);
    POINTL origin = {};
    if (!start || !next) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return 0;
    }
    if (!start(so, &origin))
        return 0;
    for (int calls = 0; calls < kMaxBandCalls; ++calls) {
        if (!next(so, &origin))
            return 0;
        if (origin.x == -1 && origin.y == -1)
            return 1;
    }
    SetLastError(ERROR_INVALID_FUNCTION);
    return 0;
}

uint32_t winsim_engine_escape(void* device, uint32_t escape, const void* in, uint32_t in_size, void* out,
                              uint32_t out_size) {
    Device* d = find_device(device);
    SURFOBJ* so = d ? surface_object(*d, nullptr) : nullptr;
    const auto call = d ? d->driver->Get<Escape>(INDEX_DrvEscape) : nullptr;
    if (!so || !call) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return DDI_ERROR;
    }
    return call(so, escape, in_size, const_cast<void*>(in), out_size, out);
}

int winsim_engine_reset(void* device, const void* devmode) {
    Device* d = find_device(device);
    const auto reset = d ? d->driver->Get<ResetPdev>(INDEX_DrvResetPDEV) : nullptr;
    if (!d || !reset) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Device fresh = *d;
    fresh.dhpdev = nullptr;
    fresh.hdev = nullptr;
    fresh.surface = nullptr;
    if (!enable(fresh, devmode))
        return 0;
    if (!reset(d->dhpdev, fresh.dhpdev)) {
        const DWORD error = GetLastError();
        disable(fresh);
        SetLastError(error);
        return 0;
    }
    disable(*d);
    d->dhpdev = fresh.dhpdev;
    d->hdev = fresh.hdev;
    d->surface = fresh.surface;
    d->palette = fresh.palette;
    return 1;
}

int winsim_engine_end_doc(void* device, uint32_t flags) {
    Device* d = find_device(device);
    SURFOBJ* so = d ? surface_object(*d, nullptr) : nullptr;
    const auto end = d ? d->driver->Get<EndDoc>(INDEX_DrvEndDoc) : nullptr;
    if (!so || !end) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const BOOL ended = end(so, flags);
    const DWORD error = GetLastError();
    if (d->job) {
        EndDocPrinter(d->printer);
        d->job = 0;
    }
    SetLastError(error);
    return ended ? 1 : 0;
}

void winsim_engine_close(void* device) {
    std::unique_ptr<Device> owned;
    {
        Front& f = front();
        std::lock_guard lock(f.mutex);
        const auto it = f.devices.find(static_cast<Device*>(device));
        if (it == f.devices.end())
            return;
        owned = std::move(it->second);
        f.devices.erase(it);
    }
    if (owned->job)
        EndDocPrinter(owned->printer);
    disable(*owned);
    ClosePrinter(owned->printer);
}

void* winsim_engine_device(void* device) {
    Device* d = find_device(device);
    return d ? d->dhpdev : nullptr;
}

} // extern "C"
