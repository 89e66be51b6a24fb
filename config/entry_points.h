// The plain functions behind the library's exports, one per printer-interface entry point that does more
// than answer a constant. Each reports failures the Windows way (result and SetLastError).
#pragma once

#include <windows.h>
#include <winddiui.h>

// GetDriverDevMode caller codes: they only say who asks.
enum : DWORD {
    CALLER_DEVICE_CAPABILITIES = 13,
    CALLER_DOCUMENT_PROPERTIES = 14,
    CALLER_CONVERT = 15,
    CALLER_CONVERT_DEFAULT = 16,
    CALLER_JOB_ATTRIBUTES = 20,
    CALLER_SPL_DEVICE_CAPS = 25,
};

BOOL ConvertDevMode(LPCWSTR printerName, const DEVMODEW* in, DEVMODEW* out, LONG* size, DWORD mode);
DWORD DeviceCapabilities(HANDLE printer, LPCWSTR deviceName, WORD capability, void* output,
                         const DEVMODEW* input);
DWORD SplDeviceCaps(HANDLE printer, LPCWSTR deviceName, WORD capability, void* output, DWORD capacityChars,
                    const DEVMODEW* input);
BOOL QueryJobAttributes(HANDLE printer, DEVMODEW* input, DWORD level, BYTE* info);
BOOL PrinterEvent(LPCWSTR printerName, INT event, DWORD flags, LPARAM parameter);
void InitializePrinter(LPCWSTR printerName);
// DrvDocumentPropertySheets without a sheet: the size query, or the caller's settings settled into pdmOut.
LONG DocumentPropertyService(DOCUMENTPROPERTYHEADER* header);
