// What a property page procedure reaches of the sheet it belongs to.
#pragma once

#include <windows.h>

#include "devmode.h"

struct SHEETDATA; // sheet_data.h

// Keeps the page description given at WM_INITDIALOG (its lParam) with the page window.
void KeepPageDescription(HWND page, LPARAM pageDescription);
// The sheet record of a page; null before WM_INITDIALOG or when the record fails its check.
SHEETDATA* PageSheet(HWND page);
// The working settings the pages edit.
DRVDEVMODE* SheetSettings(SHEETDATA* sheet);
HANDLE SheetPrinter(const SHEETDATA* sheet);
LPCWSTR SheetPrinterName(const SHEETDATA* sheet);
// Tells the sheet the page has changes (PSM_CHANGED to the parent); not below OS generation 103.
void MarkPageChanged(HWND page);
// The user confirmed the sheet: its settings are the result.
void ConfirmSheet(SHEETDATA* sheet);
// Brings the public part of the working settings in line with the private part.
void SyncPublicDevMode(SHEETDATA* sheet);
// A page's answer to a notice: kept in DWLP_MSGRESULT, where the sheet reads it; the procedure returns TRUE.
INT_PTR AnswerNotice(HWND page, LONG_PTR result);
