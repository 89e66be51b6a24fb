// The label stock in the printer's two trays, as the printer reports it over the bidi channel: the model
// record whose media code the printer names is kept in the device extension (Tray1ModelIndex,
// Tray2ModelIndex).
#pragma once

#include <windows.h>

#include <cstddef>

#include "devmode.h"

inline constexpr WCHAR kTray1Path[] = TEXT("\\Printer.Configuration.Paper:Tray1");
inline constexpr WCHAR kTray2Path[] = TEXT("\\Printer.Configuration.Paper:Tray2");

// A printer lists every schema path it has; only the trays matter, so a printer offering an absurd number
// of paths is looked at for its first kMaxSchemaPaths only.
inline constexpr DWORD kMaxSchemaPaths = 1024;

// The first of count model records whose MediaCode is mediaCode, or -1.
int FindMediaCodeRecord(const VARIANTINFO* variants, size_t count, LONG mediaCode);

// The model record for a tray's media code: its index, 0 when none matches. Unless lookupOnly, a match is
// stored for the printer (tray 1 or 2: "Private DevMode") and the printer republished.
LONG UpdateTrayModel(LPCWSTR printerName, LONG mediaCode, int tray, bool lookupOnly);

// At printer initialisation: the trays the printer reports, into rec's tray fields.
void QueryTrayModels(LPCWSTR printerName, DRVDEVMODE* rec);

// A bidi notification for the printer: every integer tray value updates the stored tray. Always TRUE.
BOOL HandleBidiNotification(LPCWSTR printerName, LPCWSTR text);
