// The document, page, band and escape entry points: when the job header, the page image and the page
// end are written, and when the buffered bytes go to the spooler.
#include "job_commands.h"
#include "lifecycle.h"
#include "os_version.h"
#include "page_image.h"
#include "pdev.h"
#include "printer_data.h"
#include "surface.h"
#include "wstr.h"

#include <winspool.h>

#include <cstring>

namespace {

PDEV* DeviceOf(SURFOBJ* pso) {
    PDEV* pdev = CheckedPdev(pso);
    if (!pdev) {
        SetLastError(ERROR_INVALID_PARAMETER);
    }
    return pdev;
}

// The page (or the current band) is white again for the next drawing.
void EraseSurface(PDEV* pdev) {
    if (SURFOBJ* so = pdev->BandSurface) {
        EraseRows(static_cast<BYTE*>(so->pvScan0), so->lDelta, so->sizlBitmap.cy);
    }
    pdev->SurfaceWhite = 0;
}

void MakeBandCurrent(PDEV* pdev, LONG band) {
    pdev->CurrentBand = band;
    pdev->BandOrigin =
        band < pdev->BandCount ? POINTL{pdev->Bands[band].OriginX, pdev->Bands[band].OriginY} : POINTL{0, 0};
}

// On the first page of this device: the job header (which writes only on the document's first page).
void StartOutput(PDEV* pdev) {
    if (pdev->PagesSinceEnable == 1) {
        WriteJobHeader(pdev);
        pdev->OutputState |= OUTSTATE_HEADER_SENT;
    }
    pdev->OutputState |= OUTSTATE_PAGE_OPEN;
}

void EndPage(PDEV* pdev) {
    WritePageEnd(pdev);
    pdev->OutputState = (pdev->OutputState & ~OUTSTATE_PAGE_OPEN) | OUTSTATE_PAGE_ENDED;
    pdev->Out.Flush();
}

// The job's document name as the spooler knows it; Windows 2000 hands the driver none of its own.
void TakeJobName(PDEV* pdev, DWORD jobId) {
    WCHAR printer[kNameChars];
    if (!QueryPrinterInfo(pdev->Printer, PI_PRINTER_NAME, printer, sizeof(printer))) {
        return;
    }
    std::memset(pdev->DocName, 0, sizeof(pdev->DocName));
    DWORD needed = 0;
    if (GetJobW(pdev->Printer, jobId, 1, nullptr, 0, &needed) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed < sizeof(JOB_INFO_1W)) {
        return;
    }
    GlobalBuffer job(needed);
    if (job && GetJobW(pdev->Printer, jobId, 1, job.get(), needed, &needed)) {
        WStrCopy(pdev->DocName, job.as<JOB_INFO_1W>()->pDocument);
    }
}

// The largest copy count the printer takes, as the configuration library reports it; a count below
// zero asks for no print.
constexpr LONG kMaxCopyCount = 9999;

LONG HeldCopyCount(LONG requested) {
    return requested < 0 ? 0 : (requested > kMaxCopyCount ? kMaxCopyCount : requested);
}

} // namespace

extern "C" {

BOOL APIENTRY DrvStartDoc(SURFOBJ* pso, LPWSTR pwszDocName, DWORD dwJobId) {
    PDEV* pdev = DeviceOf(pso);
    if (!pdev) {
        return FALSE;
    }
    if (pwszDocName && pwszDocName[0]) {
        WStrCopy(pdev->DocName, pwszDocName);
    }
    if (dwJobId != 0 && pdev->Options.OsVersionCode == OSCODE_2000) {
        TakeJobName(pdev, dwJobId);
    }
    pdev->Out.Flush();
    return TRUE;
}

BOOL APIENTRY DrvStartPage(SURFOBJ* pso) {
    PDEV* pdev = DeviceOf(pso);
    if (!pdev) {
        return FALSE;
    }
    ++pdev->PagesSinceEnable;
    ++pdev->DocumentPages;
    ++pdev->TotalPages;
    LifecycleHook(pdev, pdev->Settings, STAGE_PAGE_START);
    if (!pdev->Banded) {
        StartOutput(pdev);
        MakeBandCurrent(pdev, 0);
        // The last page's end left the surface white, unless something was drawn since: erasing is a pass
        // over the whole page.
        if (!pdev->SurfaceWhite) {
            EraseSurface(pdev);
        }
    }
    pdev->SurfaceWhite = 0; // from here on the page is drawn on
    pdev->PassesLeft = 1;
    return TRUE;
}

BOOL APIENTRY DrvSendPage(SURFOBJ* pso) {
    PDEV* pdev = DeviceOf(pso);
    if (!pdev) {
        return FALSE;
    }
    if (pdev->Banded) {
        return TRUE; // the last band ends the page
    }
    if (pdev->CurrentBand < pdev->BandCount && (pdev->Bands[pdev->CurrentBand].Flags & BAND_IN_USE)) {
        SendPageImage(pdev);
    }
    EraseSurface(pdev);
    pdev->SurfaceWhite = 1;
    EndPage(pdev);
    return TRUE;
}

BOOL APIENTRY DrvEndDoc(SURFOBJ* pso, FLONG) {
    PDEV* pdev = DeviceOf(pso);
    if (!pdev) {
        return FALSE;
    }
    // An aborted document ends like any other: the printer is told the job is over.
    if (pdev->OutputState & OUTSTATE_HEADER_SENT) {
        WriteDocumentEnd(pdev);
        pdev->OutputState &= ~OUTSTATE_HEADER_SENT;
    }
    pdev->Out.Flush();
    pdev->PagesSinceEnable = 0;
    pdev->DocumentPages = 0;
    pdev->OutputState = 0;
    LifecycleHook(pdev, pdev->Settings, STAGE_DOCUMENT_END);
    return TRUE;
}

BOOL APIENTRY DrvStartBanding(SURFOBJ* pso, POINTL* pptl) {
    PDEV* pdev = DeviceOf(pso);
    if (!pdev || !pptl) {
        return FALSE;
    }
    MakeBandCurrent(pdev, 0);
    pdev->PassesDone = 0;
    *pptl = pdev->BandOrigin;
    EraseSurface(pdev);
    return TRUE;
}

BOOL APIENTRY DrvNextBand(SURFOBJ* pso, POINTL* pptl) {
    PDEV* pdev = DeviceOf(pso);
    if (!pdev || !pptl) {
        return FALSE;
    }
    if (pdev->CurrentBand == 0 && pdev->PassesDone == 0) {
        StartOutput(pdev);
    }
    SendPageImage(pdev);
    EraseSurface(pdev);
    if (pdev->CurrentBand + 1 < pdev->BandCount) {
        MakeBandCurrent(pdev, pdev->CurrentBand + 1);
        *pptl = pdev->BandOrigin;
        return TRUE;
    }
    EndPage(pdev);
    MakeBandCurrent(pdev, 0);
    ++pdev->PassesDone;
    if (pdev->PassesDone < pdev->PassesLeft) {
        pdev->OutputState |= OUTSTATE_PAGE_OPEN;
        *pptl = pdev->BandOrigin;
        return TRUE;
    }
    pdev->PassesDone = 0;
    *pptl = {-1, -1}; // the page is done
    return TRUE;
}

ULONG APIENTRY DrvEscape(SURFOBJ* pso, ULONG iEsc, ULONG cjIn, PVOID pvIn, ULONG cjOut, PVOID pvOut) {
    PDEV* pdev = DeviceOf(pso);
    if (!pdev) {
        return DDI_ERROR;
    }
    const bool query = iEsc == QUERYESCSUPPORT;
    ULONG asked = iEsc;
    if (query) {
        WORD escape = 0;
        if (!pvIn || cjIn < sizeof(escape)) {
            return 0;
        }
        std::memcpy(&escape, pvIn, sizeof(escape));
        asked = escape;
    }
    switch (asked) {
    case QUERYESCSUPPORT:
        return 1;
    case SETCOPYCOUNT:
        if (!query) {
            // The printer makes the copies: a count beyond what it takes would only send print commands
            // by the billion.
            LONG count = pdev->Options.Copies;
            if (pvIn && cjIn >= sizeof(LONG)) {
                std::memcpy(&count, pvIn, sizeof(count));
                pdev->Options.Copies = HeldCopyCount(count);
            }
            if (pvOut && cjOut >= sizeof(LONG)) {
                std::memcpy(pvOut, &pdev->Options.Copies, sizeof(LONG));
            }
        }
        return 1;
    default:
        return 0; // PASSTHROUGH, GETTECHNOLOGY and the rest are not supported
    }
}

} // extern "C"
