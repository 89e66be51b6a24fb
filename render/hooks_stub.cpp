// Document, page, band and escape entry points as far as this library carries them yet: each checks its
// device and leaves it in a state the engine can go on from. No printer bytes are produced here, and the
// band calls always end the page, so an engine that bands can never be kept looping.
#include "pdev.h"

namespace {

PDEV* DeviceOf(SURFOBJ* pso) {
    PDEV* pdev = CheckedPdev(pso);
    if (!pdev) {
        SetLastError(ERROR_INVALID_PARAMETER);
    }
    return pdev;
}

} // namespace

extern "C" {

BOOL APIENTRY DrvStartDoc(SURFOBJ* pso, LPWSTR, DWORD) {
    return DeviceOf(pso) ? TRUE : FALSE;
}

BOOL APIENTRY DrvStartPage(SURFOBJ* pso) {
    return DeviceOf(pso) ? TRUE : FALSE;
}

BOOL APIENTRY DrvSendPage(SURFOBJ* pso) {
    return DeviceOf(pso) ? TRUE : FALSE;
}

BOOL APIENTRY DrvEndDoc(SURFOBJ* pso, FLONG) {
    return DeviceOf(pso) ? TRUE : FALSE;
}

BOOL APIENTRY DrvStartBanding(SURFOBJ* pso, POINTL* pptl) {
    PDEV* pdev = DeviceOf(pso);
    if (!pdev || !pptl) {
        return FALSE;
    }
    pdev->CurrentBand = 0;
    pdev->BandOrigin = {0, 0};
    *pptl = pdev->BandOrigin;
    return TRUE;
}

BOOL APIENTRY DrvNextBand(SURFOBJ* pso, POINTL* pptl) {
    PDEV* pdev = DeviceOf(pso);
    if (!pdev || !pptl) {
        return FALSE;
    }
    // (-1, -1) tells the engine the page is done.
    *pptl = {-1, -1};
    return TRUE;
}

ULONG APIENTRY DrvEscape(SURFOBJ* pso, ULONG, ULONG, PVOID, ULONG, PVOID) {
    if (!DeviceOf(pso)) {
        return DDI_ERROR;
    }
    return 0; // not supported
}

} // extern "C"
