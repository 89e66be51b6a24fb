// The physical device's life: DrvEnablePDEV, DrvCompletePDEV, DrvResetPDEV, DrvDisablePDEV.
#include "fonts.h"
#include "gdiinfo.h"
#include "geometry.h"
#include "job_commands.h"
#include "lifecycle.h"
#include "model_lookup.h"
#include "os_version.h"
#include "palette.h"
#include "pdev.h"
#include "printer_data.h"
#include "run_state.h"
#include "surface.h"
#include "wstr.h"

#include <cstring>

namespace {

LONG DepthClassOf(const PRIVDEVMODE& p) {
    switch (p.SurfaceToPrint) {
    case 0:
        return DEPTH_1BPP;
    case 1:
        return DEPTH_GREY;
    default:
        return p.ColorOrder == 1 ? DEPTH_BGR : DEPTH_RGB;
    }
}

void FillRenderOptions(PDEV* pdev) {
    const DRVDEVMODE* rec = pdev->Settings;
    const RESOLUTIONINFO& res = GetResolution(rec);
    RENDEROPTIONS& o = pdev->Options;
    o.Orientation = rec->Private.Orientation;
    o.DpiX = static_cast<LONG>(res.DpiX);
    o.DpiY = static_cast<LONG>(res.DpiY);
    o.DpiDiagonal = static_cast<LONG>(res.DpiDiagonal);
    o.Copies = rec->Private.Copies;
    o.FillLimit = kOutputFillLimit;
    o.DepthClass = DepthClassOf(rec->Private);
    o.DrawFlags = 0;
    if (rec->Private.SurfaceToPrint == 0 || rec->Private.SurfaceToPrint == 1) {
        o.DrawFlags |= DRAW_LINE_ART;
        if (rec->Private.ColorText != 0) {
            o.DrawFlags |= DRAW_PATTERN_FILL;
        }
    }
    o.HalftoneMode = rec->Private.RenderModeB;
    o.Halftone1 = FirstHalftonePattern(rec);
    o.Halftone2 = SecondHalftonePattern(rec);
    o.ColorAdjust = DeviceColorAdjustment(rec);
    o.OsVersionCode = GetOsVersionCode();
}

// Everything of the device that follows from the settings, the names and the printer. false (with the
// last error set) when the label gives no usable page or the engine gives no palette.
bool InitializeDevice(PDEV* pdev, const WCHAR* printerName, const WCHAR* port, HANDLE printer) {
    std::memset(pdev->PrinterName, 0, sizeof(pdev->PrinterName));
    std::memset(pdev->PortName, 0, sizeof(pdev->PortName));
    std::memset(pdev->DocName, 0, sizeof(pdev->DocName));
    WStrCopy(pdev->PrinterName, printerName);
    WStrCopy(pdev->PortName, port);
    if (!ComputePageGeometry(pdev->Settings, pdev->Options.Orientation, &pdev->Geometry)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    ComputeBanding(pdev->Settings, pdev->Geometry, pdev->Options.Orientation, &pdev->Banding);
    std::memset(pdev->Fonts, 0, sizeof(pdev->Fonts));
    BuildDefaultFonts(static_cast<ULONG>(pdev->Options.DpiX), pdev->Fonts);
    pdev->DeviceFontCount = 0;
    pdev->Printer = printer;
    pdev->Out = {};
    pdev->Out.Limit = pdev->Options.FillLimit;
    pdev->Out.Printer = printer;
    pdev->Out.State = &pdev->OutputState;
    if (!CreateDevicePalette(pdev)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    pdev->PagesSinceEnable = 0;
    pdev->DocumentPages = 0;
    pdev->TotalPages = 0;
    pdev->BandCount = 0;
    pdev->CurrentBand = 0;
    pdev->BandOrigin = {0, 0};
    pdev->OutputState = 0;
    return true;
}

void FreePdev(PDEV* pdev) {
    UnstampPdev(pdev);
    GlobalFree(pdev);
}

} // namespace

extern "C" {

DHPDEV APIENTRY DrvEnablePDEV(DEVMODEW* pdm, LPWSTR pwszLogAddress, ULONG cPat, HSURF* phsurfPatterns,
                              ULONG cjCaps, ULONG* pdevcaps, ULONG cjDevInfo, DEVINFO* pdi, HDEV, LPWSTR,
                              HANDLE hDriver) {
    WCHAR printerName[kNameChars];
    if (!QueryPrinterInfo(hDriver, PI_PRINTER_NAME, printerName, sizeof(printerName))) {
        if (GetLastError() == ERROR_SUCCESS) {
            SetLastError(ERROR_INVALID_PARAMETER);
        }
        return nullptr;
    }
    PDEV* pdev = static_cast<PDEV*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(PDEV)));
    if (!pdev) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (!GetDriverDevMode(&pdev->DevMode, pdm, hDriver, printerName)) {
        FreePdev(pdev);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    StampPdev(pdev);
    FillRenderOptions(pdev);
    if (!InitializeDevice(pdev, printerName, pwszLogAddress, hDriver)) {
        DeleteDevicePalette(pdev);
        FreePdev(pdev);
        return nullptr;
    }
    LifecycleHook(pdev, pdev->Settings, STAGE_PDEV_ENABLED);

    GDIINFO gdiInfo;
    DEVINFO devInfo;
    FillGdiInfo(pdev, &gdiInfo);
    FillDevInfo(pdev, &devInfo);
    CopyToCaller(pdevcaps, cjCaps, &gdiInfo, sizeof(gdiInfo));
    CopyToCaller(pdi, cjDevInfo, &devInfo, sizeof(devInfo));
    if (phsurfPatterns) {
        for (ULONG i = 0; i < cPat; ++i) {
            phsurfPatterns[i] = nullptr;
        }
    }
    return reinterpret_cast<DHPDEV>(pdev);
}

VOID APIENTRY DrvCompletePDEV(DHPDEV dhpdev, HDEV hdev) {
    PDEV* pdev = CheckedPdev(dhpdev);
    if (!pdev) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return;
    }
    pdev->EngineDevice = hdev;
}

BOOL APIENTRY DrvResetPDEV(DHPDEV dhpdevOld, DHPDEV dhpdevNew) {
    PDEV* old = CheckedPdev(dhpdevOld);
    PDEV* now = CheckedPdev(dhpdevNew);
    if (!old || !now || old == now) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The old device finishes its open page; the document itself goes on with the new one, which also
    // writes its end.
    if (old->OutputState & OUTSTATE_PAGE_OPEN) {
        WritePageEnd(old);
        old->OutputState = (old->OutputState & ~OUTSTATE_PAGE_OPEN) | OUTSTATE_PAGE_ENDED;
    }
    old->OutputState &= ~OUTSTATE_HEADER_SENT;
    old->Out.Flush();

    now->DocumentPages = old->DocumentPages;
    now->TotalPages = old->TotalPages;
    WStrCopy(now->PortName, old->PortName);
    if (old->DocName[0]) {
        WStrCopy(now->DocName, old->DocName);
    }
    if (old->PrinterName[0]) {
        WStrCopy(now->PrinterName, old->PrinterName);
    }
    // The comparison buffers move with their contents, so that the next page still sends only what
    // changed; the old device must no longer release them.
    ReleaseCompareBuffers(now->Settings);
    for (int head = 0; head < kHeadCount; ++head) {
        SetCompareBuffer(now->Settings, head, GetCompareBuffer(old->Settings, head));
        SetCompareBuffer(old->Settings, head, nullptr);
    }
    return TRUE;
}

VOID APIENTRY DrvDisablePDEV(DHPDEV dhpdev) {
    PDEV* pdev = CheckedPdev(dhpdev);
    if (!pdev) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return;
    }
    LifecycleHook(pdev, pdev->Settings, STAGE_PDEV_DISABLED);
    // An engine that gives up in the middle may skip DrvDisableSurface or DrvEndDoc; what they would have
    // released goes here.
    ReleaseSurface(pdev);
    ReleaseCompareBuffers(pdev->Settings);
    DeleteDevicePalette(pdev);
    FreePdev(pdev);
}

} // extern "C"
