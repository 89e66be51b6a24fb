// The two property sheets of the configuration library and the entry points that open them.
#pragma once

#include <windows.h>
#include <compstui.h>
#include <winddiui.h>

struct SHEETDATA;

// Who asks GetDriverDevMode for a sheet's working settings.
enum : DWORD {
    CALLER_DOCUMENT_SHEET = 11,
    CALLER_PRINTER_SHEET = 12,
};

// The sheet steps the common property sheet library asks for (info not null).
LONG_PTR DocumentPropertySheets(PROPSHEETUI_INFO* info, LPARAM param);
LONG_PTR DevicePropertySheets(PROPSHEETUI_INFO* info, LPARAM param);

// The result step of a sheet, for a common library that did not call it back at CPSFUNC_SET_RESULT: the
// result is applied as at PROPSHEETUI_REASON_SET_RESULT and handed to the library when the sheet closes.
void ApplyOwnSheetResult(SHEETDATA* sheet, LRESULT result);

// DrvDocumentProperties: the size, the settings service, or with DM_PROMPT the document sheet. When the
// common property sheet library cannot be loaded the answer is -1 with the loader's error in GetLastError,
// and the caller's output record is not touched.
LONG DocumentPropertiesSheet(HWND window, HANDLE printer, LPWSTR deviceName, DEVMODEW* out, DEVMODEW* in,
                             DWORD mode);
// PrinterProperties: the printer sheet; FALSE (with the loader's error) when the library cannot be loaded.
BOOL OpenPrinterSheet(HWND window, HANDLE printer);
