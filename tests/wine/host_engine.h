// The graphics engine's side of a print job for the real ktrender.dll under Wine. Wine's gdi32 has none
// of the engine services a printer graphics driver imports (Eng*), so the host answers them itself: it
// loads the driver, points the driver's Eng* import slots at its own small engine, and drives the driver
// through the function table DrvEnableDriver hands back, in the order Windows' engine does.
#pragma once

#include <windows.h>
#include <winddi.h>

#include <string>

namespace host {

struct Page {
    void* Bits;
    LONG Stride;
    LONG Width;
    LONG Height;
    ULONG BitsPerPixel;
};

class Driver {
  public:
    // Loads the library and enables the driver; false (with the reason in `why`) when it cannot.
    bool Load(const std::wstring& path, std::string* why);
    ~Driver();

    // A device of the driver on an open printer: DrvEnablePDEV, DrvCompletePDEV, DrvEnableSurface.
    bool Open(HANDLE printer, const std::wstring& printerName, const DEVMODEW* settings);
    bool StartDoc(const std::wstring& document, DWORD jobId);
    bool StartPage(Page* page);
    bool EndPage();
    bool EndDoc();
    void Close();

  private:
    PFN Function(ULONG index) const;

    HMODULE module_ = nullptr;
    DRVENABLEDATA data_ = {};
    DHPDEV dhpdev_ = nullptr;
    HDEV hdev_ = nullptr;
    HSURF surface_ = nullptr;
    std::wstring printerName_;
};

// Surfaces and palettes the host engine still holds (a driver that forgets one leaks it).
size_t LiveObjects();

} // namespace host
