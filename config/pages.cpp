// What a page procedure reaches of its sheet: the record arrives as the lParam of the page description
// handed to WM_INITDIALOG, and the page keeps that description with its window.
#include "pages.h"

#include <prsht.h>

#include "os_version.h"
#include "sheet_data.h"
#include "sheets.h"

void KeepPageDescription(HWND page, LPARAM pageDescription) {
    SetWindowLongPtrW(page, DWLP_USER, pageDescription);
}

SHEETDATA* PageSheet(HWND page) {
    const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(GetWindowLongPtrW(page, DWLP_USER));
    if (!description) {
        return nullptr;
    }
    auto* sheet = reinterpret_cast<SHEETDATA*>(description->lParam);
    return IsValidSheet(sheet) ? sheet : nullptr;
}

DRVDEVMODE* SheetSettings(SHEETDATA* sheet) {
    return IsValidSheet(sheet) ? sheet->Settings : nullptr;
}

HANDLE SheetPrinter(const SHEETDATA* sheet) {
    return IsValidSheet(sheet) ? sheet->Printer : nullptr;
}

LPCWSTR SheetPrinterName(const SHEETDATA* sheet) {
    return IsValidSheet(sheet) ? sheet->PrinterName : nullptr;
}

void MarkPageChanged(HWND page) {
    // Sheets before Windows 2000 enable Apply on their own.
    if (GetOsVersionCode() < OSCODE_2000) {
        return;
    }
    SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

void ConfirmSheet(SHEETDATA* sheet) {
    if (!IsValidSheet(sheet) || sheet->PageCount < 1 || sheet->Pages[0].Kind != kCustomPage ||
        !sheet->ComPropSheet) {
        return;
    }
    // The library answers how many sheet functions it called with the result. None (Wine's library does
    // not carry the request) would lose the user's OK, so the sheet applies the result itself.
    const LONG_PTR reached = sheet->ComPropSheet(sheet->ComPropSheetHandle, CPSFUNC_SET_RESULT,
                                                 reinterpret_cast<LPARAM>(sheet->PageHandles[0]), CPSUI_OK);
    if (reached == 0) {
        ApplyOwnSheetResult(sheet, CPSUI_OK);
    }
}

void SyncPublicDevMode(SHEETDATA* sheet) {
    if (IsValidSheet(sheet)) {
        SyncPublicDevMode(sheet->Settings);
    }
}

INT_PTR AnswerNotice(HWND page, LONG_PTR result) {
    SetWindowLongPtrW(page, DWLP_MSGRESULT, result);
    return TRUE;
}
