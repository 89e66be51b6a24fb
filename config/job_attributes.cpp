#include "job_attributes.h"

#include "model_lookup.h"
#include "os_version.h"
#include "printer_data.h"

#include <cstring>

namespace {

// Whether the caller's input record is long enough to hold a field ending at `end`.
bool Holds(const DEVMODEW* input, size_t end) {
    return input && input->dmSize >= end;
}

template <class Info> void ReadCommon(const Info& in, JOBATTRIBUTES* a) {
    a->JobPagesPerSide = in.dwJobNumberOfPagesPerSide;
    a->DrvPagesPerSide = in.dwDrvNumberOfPagesPerSide;
    a->NupBorderFlags = in.dwNupBorderFlags;
    a->JobPageOrderFlags = in.dwJobPageOrderFlags;
    a->DrvPageOrderFlags = in.dwDrvPageOrderFlags;
    a->JobCopies = in.dwJobNumberOfCopies;
    a->DrvCopies = in.dwDrvNumberOfCopies;
}

template <class Info> void WriteCommon(Info* out, const JOBATTRIBUTES& a) {
    out->dwJobNumberOfPagesPerSide = a.JobPagesPerSide;
    out->dwDrvNumberOfPagesPerSide = a.DrvPagesPerSide;
    out->dwNupBorderFlags = a.NupBorderFlags;
    out->dwJobPageOrderFlags = a.JobPageOrderFlags;
    out->dwDrvPageOrderFlags = a.DrvPageOrderFlags;
    out->dwJobNumberOfCopies = a.JobCopies;
    out->dwDrvNumberOfCopies = a.DrvCopies;
}

// The caller's resolution, from its input record where that holds it, else from the settled record.
template <class Info> void WriteResolution(Info* out, const DEVMODEW* input, const DRVDEVMODE* rec) {
    const bool own = Holds(input, offsetof(DEVMODEW, dmYResolution) + sizeof(short));
    out->dmPrintQuality = own ? input->dmPrintQuality : rec->Public.dmPrintQuality;
    out->dmYResolution = own ? input->dmYResolution : rec->Public.dmYResolution;
}

// Copies between the caller's bytes and a record of its level, which may be unaligned.
template <class Info> Info Load(const BYTE* info) {
    Info v;
    std::memcpy(&v, info, sizeof(v));
    return v;
}
template <class Info> void Store(BYTE* info, const Info& v) {
    std::memcpy(info, &v, sizeof(v));
}

} // namespace

size_t AttributeInfoSize(DWORD level) {
    switch (level) {
    case 1:
        return sizeof(ATTRIBUTE_INFO_1);
    case 2:
        return sizeof(ATTRIBUTE_INFO_2);
    case 3:
        return sizeof(ATTRIBUTE_INFO_3);
    case 4:
        return sizeof(ATTRIBUTE_INFO_4);
    default:
        return 0;
    }
}

void ReadAttributeInfo(const BYTE* info, DWORD level, JOBATTRIBUTES* a) {
    std::memset(a, 0, sizeof(*a));
    switch (level) {
    case 1:
        ReadCommon(Load<ATTRIBUTE_INFO_1>(info), a);
        break;
    case 2:
        ReadCommon(Load<ATTRIBUTE_INFO_2>(info), a);
        break;
    case 3:
        ReadCommon(Load<ATTRIBUTE_INFO_3>(info), a);
        break;
    case 4: {
        const ATTRIBUTE_INFO_4 in = Load<ATTRIBUTE_INFO_4>(info);
        ReadCommon(in, a);
        a->NupDirection = in.dwNupDirection;
        a->BookletFlags = in.dwBookletFlags;
        a->DuplexFlags = in.dwDuplexFlags;
        a->ScalingPercent = in.dwScalingPercentX;
        break;
    }
    default:
        break;
    }
}

void WriteAttributeInfo(BYTE* info, DWORD level, const JOBATTRIBUTES& a, const DEVMODEW* input,
                        const DRVDEVMODE* rec) {
    switch (level) {
    case 1: {
        ATTRIBUTE_INFO_1 out = Load<ATTRIBUTE_INFO_1>(info);
        WriteCommon(&out, a);
        Store(info, out);
        break;
    }
    case 2: {
        ATTRIBUTE_INFO_2 out = Load<ATTRIBUTE_INFO_2>(info);
        WriteCommon(&out, a);
        out.dwColorOptimization = 0;
        Store(info, out);
        break;
    }
    case 3: {
        ATTRIBUTE_INFO_3 out = Load<ATTRIBUTE_INFO_3>(info);
        WriteCommon(&out, a);
        out.dwColorOptimization = 0;
        WriteResolution(&out, input, rec);
        Store(info, out);
        break;
    }
    case 4: {
        ATTRIBUTE_INFO_4 out = Load<ATTRIBUTE_INFO_4>(info);
        WriteCommon(&out, a);
        out.dwColorOptimization = 0;
        WriteResolution(&out, input, rec);
        // Only values computed for this caller: otherwise the caller's own stay.
        if (a.LaterSet) {
            out.dwNupDirection = a.NupDirection;
            out.dwBookletFlags = a.BookletFlags;
            out.dwDuplexFlags = a.DuplexFlags;
            out.dwScalingPercentX = a.ScalingPercent;
            out.dwScalingPercentY = a.ScalingPercent;
        }
        Store(info, out);
        break;
    }
    default:
        break;
    }
}

BOOL ComputeJobAttributes(const DRVDEVMODE* rec, DEVMODEW* input, HANDLE printer, LONG osCode,
                          JOBATTRIBUTES* a) {
    const WORD nup = GetRecordHandling(rec, SELECTOR_NUP);
    const WORD pageOrder = GetRecordHandling(rec, SELECTOR_PAGE_ORDER);
    const WORD copies = GetRecordHandling(rec, SELECTOR_COPIES);
    if (nup != HANDLING_PRINT_PROCESSOR && pageOrder != HANDLING_PRINT_PROCESSOR &&
        copies != HANDLING_PRINT_PROCESSOR) {
        return FALSE;
    }
    PRINTPROCCAPS caps;
    if (!ReadPrintProcCaps(printer, &caps)) {
        return FALSE;
    }
    const PRIVDEVMODE& p = rec->Private;
    a->NupBorderFlags = 1; // no border
    if (nup == HANDLING_NOT_SUPPORTED) {
        a->JobPagesPerSide = a->DrvPagesPerSide = 1;
    } else if (nup == HANDLING_PRINT_PROCESSOR) {
        a->DrvPagesPerSide = 1;
        const bool oneUp =
            Holds(input, offsetof(DEVMODEW, dmNup) + sizeof(DWORD)) && input->dmNup == DMNUP_ONEUP;
        bool offered = false;
        for (DWORD i = 0; i < caps.NupCount; ++i) {
            offered = offered || caps.NupValues[i] == static_cast<DWORD>(p.PagesPerSheet);
        }
        const bool taken = p.PagesPerSheet != 0 && !oneUp && offered;
        a->JobPagesPerSide = taken ? static_cast<DWORD>(p.PagesPerSheet) : 1;
        if (taken && p.NupBorder) {
            a->NupBorderFlags = 0;
        }
    }
    if (pageOrder == HANDLING_NOT_SUPPORTED) {
        a->JobPageOrderFlags = a->DrvPageOrderFlags = 0;
    } else if (pageOrder == HANDLING_PRINT_PROCESSOR) {
        a->DrvPageOrderFlags = 0;
        if (!p.Booklet) {
            a->JobPageOrderFlags =
                p.ReverseOrder != 1 ? static_cast<DWORD>(p.ReverseOrder) : (caps.PageOrderFlags & 1);
        } else {
            const bool duplex = (rec->Public.dmFields & DM_DUPLEX) && rec->Public.dmDuplex != DMDUP_SIMPLEX;
            a->JobPageOrderFlags = duplex && caps.Booklet ? 2 : 0; // 2: booklet
        }
    }
    // The application learns whether collation happens from its own record.
    const bool collateField = Holds(input, offsetof(DEVMODEW, dmCollate) + sizeof(short));
    auto setCollate = [&](short value) {
        if (collateField) {
            input->dmCollate = value;
        }
    };
    const DWORD n = static_cast<DWORD>(p.Copies);
    if (copies == HANDLING_NOT_SUPPORTED) {
        a->JobCopies = a->DrvCopies = 1;
        setCollate(0);
    } else if (copies == HANDLING_PRINTER) {
        a->JobCopies = a->DrvCopies = n;
        setCollate(static_cast<short>(p.Collate));
    } else if (copies == HANDLING_PRINT_PROCESSOR) {
        setCollate(static_cast<short>(p.Collate));
        if (p.Copies < 2) {
            a->JobCopies = a->DrvCopies = 1;
        } else if (caps.MaxCopies <= n) {
            a->JobCopies = a->DrvCopies = n;
        } else if (p.Collate == 1) {
            a->JobCopies = n;
            a->DrvCopies = 1;
        } else {
            a->DrvCopies = static_cast<DWORD>(kMaxCopies);
            a->JobCopies = n < static_cast<DWORD>(kMaxCopies) ? n : static_cast<DWORD>(kMaxCopies);
        }
    }
    if (osCode >= OSCODE_VISTA) {
        a->NupDirection = 1; // right, then down
        a->BookletFlags = 0;
        a->DuplexFlags = 2;
        a->ScalingPercent = 100;
        a->LaterSet = true;
    }
    return TRUE;
}
