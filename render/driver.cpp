// The library's entry: DllMain, DrvEnableDriver with the function table, DrvQueryDriverInfo,
// DrvDisableDriver.
#include "driver.h"

#include <iterator>

namespace {

HINSTANCE g_module = nullptr;

// Through void (*)(void), the type a function pointer is cast through when only its address matters.
template <class F> PFN Hook(F* function) {
    return reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(function));
}

// In the order the engine is told about them. A function-pointer cast is not a constant expression, so the
// table cannot be constexpr; it is a constant-initialised array all the same, made before any code runs.
const DRVFN kDriverFunctions[] = {
    {INDEX_DrvDisableDriver, Hook(DrvDisableDriver)},
    {INDEX_DrvEnablePDEV, Hook(DrvEnablePDEV)},
    {INDEX_DrvResetPDEV, Hook(DrvResetPDEV)},
    {INDEX_DrvCompletePDEV, Hook(DrvCompletePDEV)},
    {INDEX_DrvDisablePDEV, Hook(DrvDisablePDEV)},
    {INDEX_DrvEnableSurface, Hook(DrvEnableSurface)},
    {INDEX_DrvDisableSurface, Hook(DrvDisableSurface)},
    {INDEX_DrvBitBlt, Hook(DrvBitBlt)},
    {INDEX_DrvStretchBlt, Hook(DrvStretchBlt)},
    {INDEX_DrvCopyBits, Hook(DrvCopyBits)},
    {INDEX_DrvAlphaBlend, Hook(DrvAlphaBlend)},
    {INDEX_DrvGradientFill, Hook(DrvGradientFill)},
    {INDEX_DrvPlgBlt, Hook(DrvPlgBlt)},
    {INDEX_DrvStretchBltROP, Hook(DrvStretchBltROP)},
    {INDEX_DrvTransparentBlt, Hook(DrvTransparentBlt)},
    {INDEX_DrvSynchronize, Hook(DrvSynchronize)},
    {INDEX_DrvSynchronizeSurface, Hook(DrvSynchronizeSurface)},
    {INDEX_DrvTextOut, Hook(DrvTextOut)},
    {INDEX_DrvGetGlyphMode, Hook(DrvGetGlyphMode)},
    {INDEX_DrvPaint, Hook(DrvPaint)},
    {INDEX_DrvFillPath, Hook(DrvFillPath)},
    {INDEX_DrvStrokeAndFillPath, Hook(DrvStrokeAndFillPath)},
    {INDEX_DrvLineTo, Hook(DrvLineTo)},
    {INDEX_DrvStrokePath, Hook(DrvStrokePath)},
    {INDEX_DrvStartDoc, Hook(DrvStartDoc)},
    {INDEX_DrvStartPage, Hook(DrvStartPage)},
    {INDEX_DrvSendPage, Hook(DrvSendPage)},
    {INDEX_DrvEndDoc, Hook(DrvEndDoc)},
    {INDEX_DrvStartBanding, Hook(DrvStartBanding)},
    {INDEX_DrvNextBand, Hook(DrvNextBand)},
    {INDEX_DrvQueryFont, Hook(DrvQueryFont)},
    {INDEX_DrvQueryFontTree, Hook(DrvQueryFontTree)},
    {INDEX_DrvQueryFontData, Hook(DrvQueryFontData)},
    {INDEX_DrvEscape, Hook(DrvEscape)},
};
static_assert(std::size(kDriverFunctions) == 34);

} // namespace

HINSTANCE ModuleHandle() {
    return g_module;
}

const DRVFN* DriverFunctions() {
    return kDriverFunctions;
}

ULONG DriverFunctionCount() {
    return static_cast<ULONG>(std::size(kDriverFunctions));
}

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
    }
    return TRUE;
}

BOOL APIENTRY DrvEnableDriver(ULONG iEngineVersion, ULONG cj, DRVENABLEDATA* pded) {
    // The engine's record is as large as this build's DRVENABLEDATA: 16 bytes on 64-bit Windows, 12 on
    // 32-bit Windows.
    if (iEngineVersion < kDriverDdiVersion || cj < sizeof(DRVENABLEDATA)) {
        SetLastError(ERROR_BAD_DRIVER_LEVEL);
        return FALSE;
    }
    if (!pded) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pded->iDriverVersion = kDriverDdiVersion;
    pded->c = DriverFunctionCount();
    pded->pdrvfn = const_cast<DRVFN*>(kDriverFunctions);
    return TRUE;
}

BOOL APIENTRY DrvQueryDriverInfo(DWORD dwMode, PVOID pBuffer, DWORD cbBuf, PDWORD pcbNeeded) {
    if (dwMode != DRVQUERY_USERMODE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (pcbNeeded) {
        *pcbNeeded = sizeof(DWORD);
    }
    if (!pBuffer || cbBuf < sizeof(DWORD)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    *static_cast<DWORD*>(pBuffer) = TRUE; // a user-mode driver
    return TRUE;
}

VOID APIENTRY DrvDisableDriver(VOID) {}

} // extern "C"
