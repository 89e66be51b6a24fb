#include "printer_data.h"

#include "devmode.h"
#include "wstr.h"

#include <cstring>

namespace {

// Asks a two-call spooler query for its size, then fills storage of exactly that size. The first
// call must fail with ERROR_INSUFFICIENT_BUFFER; anything else means the printer cannot answer.
template <class Query> BOOL QueryWithSize(GlobalBuffer* buffer, Query query) {
    DWORD needed = 0;
    if (query(nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) {
        return FALSE;
    }
    if (!buffer->Allocate(needed)) {
        return FALSE;
    }
    DWORD filled = 0;
    return query(buffer->get(), needed, &filled);
}

BOOL FetchPrinterLevel(HANDLE printer, DWORD level, GlobalBuffer* buffer) {
    return QueryWithSize(buffer, [&](BYTE* data, DWORD size, DWORD* needed) {
        return GetPrinterW(printer, level, data, size, needed);
    });
}

BOOL FetchDriverInfo3(HANDLE printer, GlobalBuffer* buffer) {
    return QueryWithSize(buffer, [&](BYTE* data, DWORD size, DWORD* needed) {
        return GetPrinterDriverW(printer, nullptr, 3, data, size, needed);
    });
}

BOOL FetchDriverDirectory(GlobalBuffer* buffer) {
    return QueryWithSize(buffer, [&](BYTE* data, DWORD size, DWORD* needed) {
        return GetPrinterDriverDirectoryW(nullptr, nullptr, 1, data, size, needed);
    });
}

// Strings go out truncated to what the caller's buffer holds, always terminated.
BOOL CopyString(LPCWSTR text, void* buffer, DWORD size) {
    if (!text) {
        return FALSE;
    }
    WStrCopy(static_cast<WCHAR*>(buffer), size / sizeof(WCHAR), text);
    return TRUE;
}

BOOL CopyDword(DWORD value, void* buffer, DWORD size) {
    if (size < sizeof(DWORD)) {
        return FALSE;
    }
    std::memcpy(buffer, &value, sizeof(value));
    return TRUE;
}

BOOL QueryDriverDirectory(bool withVersion, void* buffer, DWORD size) {
    GlobalBuffer dir;
    if (!FetchDriverDirectory(&dir)) {
        return FALSE;
    }
    const WCHAR* text = dir.as<WCHAR>();
    size_t len = WStrLen(text, dir.size() / sizeof(WCHAR));
    size_t total = len + (withVersion ? 2 : 0);
    // A cut-off directory names another folder, so a buffer too small fails instead.
    if (total + 1 > size / sizeof(WCHAR)) {
        return FALSE;
    }
    WCHAR* out = static_cast<WCHAR*>(buffer);
    std::memcpy(out, text, len * sizeof(WCHAR));
    if (withVersion) {
        out[len] = TEXT('\\');
        out[len + 1] = TEXT('3');
    }
    out[total] = 0;
    return TRUE;
}

} // namespace

size_t PrinterInfo2::DevModeBytesAvailable() const {
    const BYTE* start = reinterpret_cast<const BYTE*>(DevMode());
    const BYTE* begin = buffer.get();
    if (!start || start < begin || start >= begin + buffer.size()) {
        return 0;
    }
    return static_cast<size_t>(begin + buffer.size() - start);
}

BOOL FetchPrinterInfo2(HANDLE printer, PrinterInfo2* out) {
    out->info = nullptr;
    if (!FetchPrinterLevel(printer, 2, &out->buffer) || out->buffer.size() < sizeof(PRINTER_INFO_2W)) {
        return FALSE;
    }
    out->info = out->buffer.as<PRINTER_INFO_2W>();
    return TRUE;
}

BOOL OpenDriverPrinter(LPCWSTR printerName, int mode, HANDLE* out) {
    if (!out || mode <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *out = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    return OpenPrinterW(const_cast<LPWSTR>(printerName), out, mode == 1 ? &defaults : nullptr);
}

BOOL QueryPrinterInfo(HANDLE printer, int kind, void* buffer, DWORD size) {
    if (!buffer || size == 0) {
        return FALSE;
    }
    std::memset(buffer, 0, size);
    for (const KINDALIAS& alias : kKindAliases) {
        kind = kind == alias.Kind ? alias.SameAs : kind;
    }
    switch (kind) {
    case PI_DRIVER_NAME:
    case PI_PRINT_PROCESSOR:
    case PI_DEVMODE:
    case PI_PORT_NAME:
    case PI_ATTRIBUTES:
    case PI_PRINTER_NAME: {
        PrinterInfo2 pi;
        if (!FetchPrinterInfo2(printer, &pi)) {
            return FALSE;
        }
        switch (kind) {
        case PI_PRINT_PROCESSOR:
            return CopyString(pi.info->pPrintProcessor, buffer, size);
        case PI_PORT_NAME:
            return CopyString(pi.info->pPortName, buffer, size);
        case PI_PRINTER_NAME:
            return CopyString(pi.info->pPrinterName, buffer, size);
        case PI_ATTRIBUTES:
            return CopyDword(pi.info->Attributes, buffer, size);
        case PI_DEVMODE: {
            const DEVMODEW* dm = pi.DevMode();
            size_t available = pi.DevModeBytesAvailable();
            if (!dm || available < offsetof(DEVMODEW, dmFields)) {
                return FALSE;
            }
            size_t bytes = static_cast<size_t>(dm->dmSize) + dm->dmDriverExtra;
            bytes = bytes < size ? bytes : size;
            bytes = bytes < available ? bytes : available;
            std::memcpy(buffer, dm, bytes);
            return TRUE;
        }
        default:
            return CopyString(pi.info->pDriverName, buffer, size);
        }
    }
    case PI_DRIVER_DIR_VERSION3:
        return QueryDriverDirectory(true, buffer, size);
    case PI_DRIVER_DIR:
        return QueryDriverDirectory(false, buffer, size);
    case PI_ATTRIBUTES_4: {
        GlobalBuffer b;
        return FetchPrinterLevel(printer, 4, &b) && b.size() >= sizeof(PRINTER_INFO_4W) &&
               CopyDword(b.as<PRINTER_INFO_4W>()->Attributes, buffer, size);
    }
    case PI_ATTRIBUTES_5: {
        GlobalBuffer b;
        return FetchPrinterLevel(printer, 5, &b) && b.size() >= sizeof(PRINTER_INFO_5W) &&
               CopyDword(b.as<PRINTER_INFO_5W>()->Attributes, buffer, size);
    }
    case PI_HELP_FILE:
    case PI_DATA_FILE: {
        GlobalBuffer b;
        if (!FetchDriverInfo3(printer, &b) || b.size() < sizeof(DRIVER_INFO_3W)) {
            return FALSE;
        }
        const DRIVER_INFO_3W* di = b.as<DRIVER_INFO_3W>();
        return CopyString(kind == PI_HELP_FILE ? di->pHelpFile : di->pDataFile, buffer, size);
    }
    default:
        return FALSE;
    }
}

BOOL IsRawOnlyPrinter(HANDLE printer) {
    DWORD attributes = 0;
    return QueryPrinterInfo(printer, PI_ATTRIBUTES_5, &attributes, sizeof(attributes)) &&
           (attributes & PRINTER_ATTRIBUTE_RAW_ONLY) != 0;
}

BOOL ReadPrintProcCaps(HANDLE printer, PRINTPROCCAPS* out) {
    std::memset(out, 0, sizeof(*out));
    WCHAR processor[MAX_PATH];
    if (IsRawOnlyPrinter(printer) ||
        !QueryPrinterInfo(printer, PI_PRINT_PROCESSOR, processor, sizeof(processor))) {
        return FALSE;
    }
    DWORD caps[4] = {};
    DWORD got = 0;
    if (!GetPrinterDataValue(printer, kValuePrintProcCaps, caps, sizeof(caps), &got) || got < sizeof(caps) ||
        caps[0] != 1) {
        return FALSE;
    }
    for (DWORD bit = 0; bit < 32; ++bit) {
        if (caps[1] & (1u << bit)) {
            out->NupValues[out->NupCount++] = bit + 1;
        }
    }
    out->PageOrderFlags = caps[2];
    out->Booklet = (caps[2] & 0x2) != 0;
    out->MaxCopies = caps[3];
    return TRUE;
}

BOOL GetPrinterDataValue(HANDLE printer, LPCWSTR name, void* buffer, DWORD size, DWORD* outSize) {
    DWORD type = 0;
    DWORD needed = 0;
    DWORD rc =
        GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, static_cast<LPBYTE>(buffer), size, &needed);
    if (outSize) {
        *outSize = needed;
    }
    if (rc != ERROR_SUCCESS) {
        SetLastError(rc);
        return FALSE;
    }
    return TRUE;
}

BOOL SetPrinterDataValue(HANDLE printer, LPCWSTR name, DWORD type, const void* data, DWORD size) {
    return SetPrinterDataW(printer, const_cast<LPWSTR>(name), type,
                           static_cast<LPBYTE>(const_cast<void*>(data)), size) == ERROR_SUCCESS;
}

BOOL WriteKitIdentifier(HANDLE printer, LPCWSTR identifier) {
    // The spooler reads REG_SZ here without the terminating NUL.
    DWORD bytes = static_cast<DWORD>(WStrLen(identifier) * sizeof(WCHAR));
    return SetPrinterDataValue(printer, kValueKitIdentifier, REG_SZ, identifier, bytes);
}

LPCWSTR GetCoreVersionString() {
    return TEXT("Ver9.00.00");
}

BOOL ReadStoredLabels(DRVDEVMODE* rec, HANDLE printer) {
    GlobalBuffer stored(kLabelListBytes);
    DWORD got = 0;
    if (!stored || !GetPrinterDataValue(printer, kValuePrivatePaper, stored.get(), kLabelListBytes, &got)) {
        return FALSE;
    }
    if (got == 0) {
        SetLastError(ERROR_FILE_NOT_FOUND); // an empty list is no list
        return FALSE;
    }
    got = got < kLabelListBytes ? got : static_cast<DWORD>(kLabelListBytes);
    const LABELINFO* labels = stored.as<LABELINFO>();
    LONG count = 0;
    while (count < kMaxLabels && labels[count].Name[0] != 0) {
        ++count;
    }
    rec->Private.LabelCount = count;
    std::memcpy(rec->Private.Labels, stored.get(), got);
    return TRUE;
}

BOOL WriteStoredLabels(const DRVDEVMODE* rec, HANDLE printer) {
    return SetPrinterDataValue(printer, kValuePrivatePaper, REG_BINARY, rec->Private.Labels,
                               static_cast<DWORD>(kLabelListBytes));
}
