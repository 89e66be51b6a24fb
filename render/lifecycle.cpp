#include "lifecycle.h"

#include "model_lookup.h"
#include "printer_data.h"

#include <winspool.h>

namespace {

bool IsFilePort(const WCHAR* port) {
    const WCHAR file[] = TEXT("FILE:");
    for (int i = 0; file[i]; ++i) {
        WCHAR c = port[i];
        c = c >= TEXT('a') && c <= TEXT('z') ? static_cast<WCHAR>(c - TEXT('a') + TEXT('A')) : c;
        if (c != file[i]) {
            return false;
        }
    }
    return port[5] == 0;
}

// A print processor sees the job only when the spooler keeps it: not on a printer that prints directly or
// takes raw data only, and not into a file.
bool IsSpooled(HANDLE printer) {
    DWORD attributes = 0;
    WCHAR port[MAX_PATH];
    if (!QueryPrinterInfo(printer, PI_ATTRIBUTES_5, &attributes, sizeof(attributes)) ||
        !QueryPrinterInfo(printer, PI_PORT_NAME, port, sizeof(port))) {
        return false;
    }
    return (attributes & (PRINTER_ATTRIBUTE_DIRECT | PRINTER_ATTRIBUTE_RAW_ONLY)) == 0 && !IsFilePort(port);
}

bool Offers(const PRINTPROCCAPS& caps, LONG pagesPerSheet) {
    for (DWORD i = 0; i < caps.NupCount; ++i) {
        if (caps.NupValues[i] == static_cast<DWORD>(pagesPerSheet)) {
            return true;
        }
    }
    return false;
}

// Whether the settings leave to the print processor something it cannot do. Then the document sends no
// printer bytes at all: a job printed without its N-up, page order or copies would waste labels.
bool ProcessorCannotDoIt(const DRVDEVMODE* rec, HANDLE printer) {
    const bool nup = GetRecordHandling(rec, SELECTOR_NUP) == HANDLING_PRINT_PROCESSOR;
    const bool order = GetRecordHandling(rec, SELECTOR_PAGE_ORDER) == HANDLING_PRINT_PROCESSOR;
    const bool copies = GetRecordHandling(rec, SELECTOR_COPIES) == HANDLING_PRINT_PROCESSOR;
    if (!(nup || order || copies) || !IsSpooled(printer)) {
        return false;
    }
    // Capabilities that cannot be read count as none offered.
    PRINTPROCCAPS caps;
    if (!ReadPrintProcCaps(printer, &caps)) {
        caps = {};
    }
    const PRIVDEVMODE& p = rec->Private;
    const DEVMODEW& d = rec->Public;
    if (nup && p.PagesPerSheet != 0 && d.dmNup != DMNUP_ONEUP && !Offers(caps, p.PagesPerSheet)) {
        return true;
    }
    if (order) {
        const bool reverseOffered = (caps.PageOrderFlags & 0x1) != 0;
        if (p.Booklet == 0 && p.ReverseOrder == 1 && !reverseOffered) {
            return true;
        }
        if (p.Booklet != 0 && (!(d.dmFields & DM_DUPLEX) || d.dmDuplex == DMDUP_SIMPLEX || !caps.Booklet)) {
            return true;
        }
    }
    return copies && static_cast<DWORD>(p.Copies) > caps.MaxCopies;
}

} // namespace

void LifecycleHook(PDEV* pdev, DRVDEVMODE* rec, LifecycleStage stage) {
    switch (stage) {
    case STAGE_PDEV_ENABLED:
        pdev->Suppress = 0;
        break;
    case STAGE_SURFACE_ENABLED:
        pdev->Suppress = ProcessorCannotDoIt(rec, pdev->Printer) ? 1 : 0;
        break;
    default:
        break;
    }
}
