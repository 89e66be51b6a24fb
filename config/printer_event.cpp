// Printer events from the spooler and the job attributes it asks for before a job is printed.
#include "entry_points.h"

#include "devmode.h"
#include "job_attributes.h"
#include "os_version.h"
#include "printer_data.h"
#include "printer_handle.h"
#include "tray.h"
#include "wstr.h"

void InitializePrinter(LPCWSTR printerName) {
    OpenedPrinter printer;
    GlobalBuffer work(kWorkingSize);
    if (!printer.Open(printerName, 1) || !work) {
        return;
    }
    DRVDEVMODE* rec = work.as<DRVDEVMODE>();
    InitDevMode(rec, printer.get());
    rec->Private.Signature = kDevModeSignature;
    if (GetOsVersionCode() >= OSCODE_XP_FALLBACK) {
        QueryTrayModels(printerName, rec);
    }
    SavePrinterDevModeExt(rec, printer.get(), printerName);
    WCHAR driver[MAX_PATH];
    if (QueryPrinterInfo(printer.get(), PI_DRIVER_NAME, driver, sizeof(driver))) {
        for (const KITINFO& kit : kKits) {
            if (kit.DriverName[0] && WStrEqual(kit.DriverName, driver)) {
                WriteKitIdentifier(printer.get(), kit.Identifier);
            }
        }
    }
}

BOOL PrinterEvent(LPCWSTR printerName, INT event, DWORD, LPARAM parameter) {
    switch (event) {
    case PRINTER_EVENT_INITIALIZE:
        // Nothing here keeps the printer from being installed: a failure only leaves the defaults.
        InitializePrinter(printerName);
        return TRUE;
    case PRINTER_EVENT_CONFIGURATION_UPDATE:
        return HandleBidiNotification(printerName, reinterpret_cast<LPCWSTR>(parameter));
    case PRINTER_EVENT_ADD_CONNECTION:
    case PRINTER_EVENT_DELETE_CONNECTION:
    case PRINTER_EVENT_DELETE:
    case PRINTER_EVENT_CACHE_REFRESH:
    case PRINTER_EVENT_CACHE_DELETE:
    case PRINTER_EVENT_ATTRIBUTES_CHANGED:
        return TRUE;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

BOOL QueryJobAttributes(HANDLE printer, DEVMODEW* input, DWORD level, BYTE* info) {
    if (!info || AttributeInfoSize(level) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WCHAR name[MAX_PATH];
    if (!QueryPrinterInfo(printer, PI_PRINTER_NAME, name, sizeof(name))) {
        return FALSE;
    }
    GlobalBuffer work(kWorkingSize);
    if (!work) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    DRVDEVMODE* rec = work.as<DRVDEVMODE>();
    if (!GetDriverDevMode(rec, input, printer, name, GDM_COPY_WORKING | GDM_TAKE_INPUT_ALT,
                          CALLER_JOB_ATTRIBUTES)) {
        return FALSE;
    }
    JOBATTRIBUTES a;
    ReadAttributeInfo(info, level, &a);
    const BOOL result = ComputeJobAttributes(rec, input, printer, GetOsVersionCode(), &a);
    WriteAttributeInfo(info, level, a, input, rec);
    return result;
}
