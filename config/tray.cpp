#include "tray.h"

#include "bidi.h"
#include "com_ptr.h"
#include "printer_data.h"
#include "printer_handle.h"
#include "wstr.h"

#include <winspool.h>

#include <iterator>

int FindMediaCodeRecord(const VARIANTINFO* variants, size_t count, LONG mediaCode) {
    for (size_t i = 0; i < count; ++i) {
        if (variants[i].Model.MediaCode == mediaCode) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

LONG UpdateTrayModel(LPCWSTR printerName, LONG mediaCode, int tray, bool lookupOnly) {
    const int found = FindMediaCodeRecord(kVariants, std::size(kVariants), mediaCode);
    const LONG index = found < 0 ? 0 : found;
    if (lookupOnly || found < 0 || (tray != 1 && tray != 2)) {
        return index;
    }
    OpenedPrinter printer;
    GlobalBuffer work(kWorkingSize);
    if (!printer.Open(printerName, 1) || !work) {
        return index;
    }
    DRVDEVMODE* rec = work.as<DRVDEVMODE>();
    // Only the tray changes: the printer's stored device options are kept as they are. When the spooler
    // cannot hand them over now, nothing is written, rather than the defaults over the user's options.
    DWORD type = 0;
    DWORD got = 0;
    const DWORD rc = GetPrinterDataW(printer.get(), const_cast<LPWSTR>(kValuePrivateDevMode), &type,
                                     reinterpret_cast<LPBYTE>(&rec->Extension), sizeof(DEVICEEXT), &got);
    if (rc != ERROR_SUCCESS || got != sizeof(DEVICEEXT)) {
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND && rc != ERROR_MORE_DATA) {
            return index;
        }
        LoadPrinterDevMode(rec, printer.get(), printerName);
    }
    (tray == 1 ? rec->Extension.Tray1ModelIndex : rec->Extension.Tray2ModelIndex) = index;
    if (SavePrinterDevModeExt(rec, printer.get(), printerName)) {
        // Published printers carry their configuration in the directory; tell it the printer changed.
        PRINTER_INFO_7W publish = {nullptr, DSPRINT_UPDATE};
        SetPrinterW(printer.get(), 7, reinterpret_cast<LPBYTE>(&publish), 0);
    }
    return index;
}

void QueryTrayModels(LPCWSTR printerName, DRVDEVMODE* rec) {
    DWORD count = EnumerateBidiSchema(printerName, nullptr, 0);
    if (count == 0) {
        return;
    }
    count = count < kMaxSchemaPaths ? count : kMaxSchemaPaths;
    GlobalBuffer buffer(static_cast<size_t>(count) * sizeof(BIDIVALUE));
    if (!buffer) {
        return;
    }
    BIDIVALUE* records = buffer.as<BIDIVALUE>();
    DWORD filled = EnumerateBidiSchema(printerName, records, count);
    filled = filled < count ? filled : count;
    // The printer names its paths exactly; another spelling is another path.
    for (DWORD i = 0; i < filled; ++i) {
        const int tray = WStrEqual(records[i].Path, kTray1Path)   ? 1
                         : WStrEqual(records[i].Path, kTray2Path) ? 2
                                                                  : 0;
        if (tray && GetBidiValue(printerName, &records[i]) && records[i].Type == BIDI_INT) {
            (tray == 1 ? rec->Extension.Tray1ModelIndex : rec->Extension.Tray2ModelIndex) =
                UpdateTrayModel(printerName, static_cast<LONG>(BidiValueNumber(records[i])), tray, true);
        }
    }
}

BOOL HandleBidiNotification(LPCWSTR printerName, LPCWSTR text) {
    GlobalBuffer buffer;
    DWORD count = 0;
    {
        // The spooler's thread need not have COM; the XML object needs it only while the text is read.
        ComScope com(COINIT_MULTITHREADED);
        if (com.Usable()) {
            count = ReadBidiNotification(text, kNotificationRecords, &buffer);
        }
    }
    const BIDIVALUE* records = buffer.as<BIDIVALUE>();
    // Notifications spell paths as they like; case does not make another tray.
    for (DWORD i = 0; i < count; ++i) {
        if (records[i].Type != BIDI_INT) {
            continue;
        }
        const LONG code = static_cast<LONG>(BidiValueNumber(records[i]));
        if (WStrEqualNoCase(records[i].Path, kTray1Path)) {
            UpdateTrayModel(printerName, code, 1, false);
        } else if (WStrEqualNoCase(records[i].Path, kTray2Path)) {
            UpdateTrayModel(printerName, code, 2, false);
        }
    }
    return TRUE;
}
