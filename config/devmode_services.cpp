// Device records for the spooler and applications: conversion, capabilities, and the document-properties
// service without a sheet.
#include "entry_points.h"

#include "capabilities.h"
#include "devmode.h"
#include "printer_handle.h"

namespace {

// The settled working record for a query, in storage of its own.
bool SettleFor(HANDLE printer, LPCWSTR name, const DEVMODEW* input, DWORD caller, GlobalBuffer* work) {
    return work->Allocate(kWorkingSize) && GetDriverDevMode(work->get(), input, printer, name,
                                                            GDM_COPY_WORKING | GDM_TAKE_INPUT, caller) != 0;
}

} // namespace

BOOL ConvertDevMode(LPCWSTR printerName, const DEVMODEW* in, DEVMODEW* out, LONG* size, DWORD mode) {
    const LONG needed = static_cast<LONG>(kExchangedSize);
    switch (mode) {
    case CDM_CONVERT:
        if (!in || !out || !size) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        if (*size < needed) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        break;
    case CDM_DRIVER_DEFAULT:
        if (!size) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        if (*size < needed || !out) {
            *size = needed;
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        break;
    default:
        // CDM_CONVERT351 included: there are no records of that age for this driver.
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    OpenedPrinter printer;
    if (!printer.Open(printerName, 2)) {
        *size = 0;
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool convert = mode == CDM_CONVERT;
    const DWORD got = GetDriverDevMode(out, convert ? in : nullptr, printer.get(), printerName,
                                       convert ? GDM_COPY_EXCHANGED | GDM_TAKE_INPUT : GDM_COPY_EXCHANGED,
                                       convert ? CALLER_CONVERT : CALLER_CONVERT_DEFAULT);
    if (!got) {
        *size = 0;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    *size = needed;
    return TRUE;
}

DWORD DeviceCapabilities(HANDLE printer, LPCWSTR deviceName, WORD capability, void* output,
                         const DEVMODEW* input) {
    // Capabilities run from DC_FIELDS (1) to DC_MEDIATYPES (35).
    if (capability == 0 || capability > DC_MEDIATYPES) {
        return kCapabilityError;
    }
    CallPrinter call(printer, deviceName);
    GlobalBuffer work;
    if (!call.get() || !SettleFor(call.get(), deviceName, input, CALLER_DEVICE_CAPABILITIES, &work)) {
        return kCapabilityError;
    }
    return DeviceCapability(work.as<DRVDEVMODE>(), capability, output);
}

DWORD SplDeviceCaps(HANDLE printer, LPCWSTR deviceName, WORD capability, void* output, DWORD capacityChars,
                    const DEVMODEW* input) {
    if (capability != DC_PAPERNAMES && capability != DC_MEDIAREADY) {
        return kCapabilityError;
    }
    CallPrinter call(printer, deviceName);
    GlobalBuffer work;
    if (!call.get() || !SettleFor(call.get(), deviceName, input, CALLER_SPL_DEVICE_CAPS, &work)) {
        return kCapabilityError;
    }
    return SplDeviceCapability(work.as<DRVDEVMODE>(), capability, output, capacityChars);
}

LONG DocumentPropertyService(DOCUMENTPROPERTYHEADER* header) {
    // The header's size covers the fields read below.
    if (!header || header->cbSize < sizeof(DOCUMENTPROPERTYHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERR_CPSUI_GETLASTERROR;
    }
    const LONG size = static_cast<LONG>(kExchangedSize);
    header->cbOut = static_cast<DWORD>(size);
    if (header->fMode == 0 || !header->pdmOut) {
        return size;
    }
    if (!(header->fMode & (DM_OUT_BUFFER | DM_UPDATE))) {
        return 1;
    }
    // DM_UPDATE is not passed on: without a sheet the printer's own settings are never written.
    CallPrinter call(header->hPrinter, header->pszPrinterName);
    if (!call.get()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!GetDriverDevMode(header->pdmOut, header->pdmIn, call.get(), header->pszPrinterName,
                          GDM_COPY_EXCHANGED | GDM_TAKE_INPUT, CALLER_DOCUMENT_PROPERTIES)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    return 1;
}
