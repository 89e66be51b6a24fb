// The two property sheets of the configuration library and the entry points that open them.
#pragma once

#include <windows.h>
#include <compstui.h>
#include <winddiui.h>

// Who asks GetDriverDevMode for a sheet's working settings.
enum : DWORD {
    CALLER_DOCUMENT_SHEET = 11,
    CALLER_PRINTER_SHEET = 12,
};

// The sheet steps the common property sheet library asks for (info not null).
LONG_PTR DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM param);
LONG_PTR DevicePropertySheets(PROPSHEETUI_INFO* info, LPARAM param);

// DrvDocumentProperties: the size, the settings service, or with DM_PROMPT the document sheet. When the
// common property sheet library cannot be loaded the answer is -1 with the loader's error in GetLastError,
// and the caller's output record is not touched.
LONG DocumentPropertiesSheet(HWND window, HANDLE printer, LPWSTR deviceName, DEVMODEW* out, DEVMODEW* in,
                             DWORD mode);
// PrinterProperties: the printer sheet; FALSE (with the loader's error) when the library cannot be loaded.
BOOL OpenPrinterSheet(HWND window, HANDLE printer);
