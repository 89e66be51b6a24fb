// The library's exports: the printer-interface entry points the spooler and applications call by name.
// Each checks its arguments, calls the plain functions, and answers the Windows way.
#include "entry_points.h"
#include "sheets.h"

#include <winddiui.h>

namespace {

HINSTANCE g_module = nullptr;

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
    }
    return TRUE;
}

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    if (!pPSUIInfo) {
        return DocumentPropertyService(reinterpret_cast<DOCUMENTPROPERTYHEADER*>(lParam));
    }
    return static_cast<LONG>(DocumentPropertySheets(pPSUIInfo, lParam));
}

LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
    if (!pPSUIInfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    return static_cast<LONG>(DevicePropertySheets(pPSUIInfo, lParam));
}

WINBOOL WINAPI PrinterProperties(HWND hWnd, HANDLE hPrinter) {
    return OpenPrinterSheet(hWnd, hPrinter);
}

LONG WINAPI DrvDocumentProperties(HWND hWnd, HANDLE hPrinter, LPWSTR pDeviceName, PDEVMODEW pdmOutput,
                                  PDEVMODEW pdmInput, DWORD fMode) {
    return DocumentPropertiesSheet(hWnd, hPrinter, pDeviceName, pdmOutput, pdmInput, fMode);
}

LONG WINAPI DrvAdvancedDocumentProperties(HWND hWnd, HANDLE hPrinter, LPWSTR pDeviceName, PDEVMODEW pdmOutput,
                                          PDEVMODEW pdmInput) {
    return DocumentPropertiesSheet(hWnd, hPrinter, pDeviceName, pdmOutput, pdmInput,
                                   DM_COPY | DM_PROMPT | DM_ADVANCED);
}

WINBOOL WINAPI DrvConvertDevMode(LPWSTR pPrinterName, PDEVMODEW pdmIn, PDEVMODEW pdmOut, PLONG pcbNeeded,
                                 DWORD fMode) {
    return ConvertDevMode(pPrinterName, pdmIn, pdmOut, pcbNeeded, fMode);
}

DWORD WINAPI DrvDeviceCapabilities(HANDLE hPrinter, PWSTR pDeviceName, WORD iDevCap, PVOID pvOutput,
                                   PDEVMODEW pDevMode) {
    return DeviceCapabilities(hPrinter, pDeviceName, iDevCap, pvOutput, pDevMode);
}

DWORD WINAPI DrvSplDeviceCaps(HANDLE hPrinter, PWSTR pDeviceName, WORD wCapability, PVOID pOutput,
                              DWORD dwOutputSize, PDEVMODEW pDevmode) {
    return SplDeviceCaps(hPrinter, pDeviceName, wCapability, pOutput, dwOutputSize, pDevmode);
}

// Every job is printable on this printer.
WINBOOL WINAPI DevQueryPrint(HANDLE, LPDEVMODEW, DWORD* pResID) {
    if (pResID) {
        *pResID = 0;
    }
    return TRUE;
}

WINBOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO) {
    return TRUE;
}

WINBOOL WINAPI DrvQueryJobAttributes(HANDLE hPrinter, PDEVMODEW pDevMode, DWORD dwLevel,
                                     LPBYTE lpAttributeInfo) {
    return QueryJobAttributes(hPrinter, pDevMode, dwLevel, lpAttributeInfo);
}

// The printer has no colour profile.
WINBOOL WINAPI DrvQueryColorProfile(HANDLE, PDEVMODEW, ULONG, VOID*, ULONG*, FLONG*) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

WINBOOL WINAPI DrvPrinterEvent(LPWSTR pPrinterName, INT DriverEvent, DWORD Flags, LPARAM lParam) {
    return PrinterEvent(pPrinterName, DriverEvent, Flags, lParam);
}

int WINAPI DrvDocumentEvent(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID) {
    return DOCUMENTEVENT_UNSUPPORTED;
}

// Nothing of an earlier driver version needs migrating.
WINBOOL WINAPI DrvUpgradePrinter(DWORD dwLevel, LPBYTE pDriverUpgradeInfo) {
    if ((dwLevel == 1 || dwLevel == 2) && pDriverUpgradeInfo) {
        return TRUE;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

} // extern "C"
