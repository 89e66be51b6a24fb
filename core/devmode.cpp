#include "devmode.h"

#include "label_store.h"
#include "model_lookup.h"
#include "os_version.h"
#include "printer_data.h"
#include "wstr.h"

#include <cstring>
#include <iterator>

namespace {

constexpr COLORADJUSTMENT kDefaultColorAdjust = {
    sizeof(COLORADJUSTMENT), 0, 0, 10000, 10000, 10000, 0, 10000, 0, 0, 0, 0,
};

constexpr DEVHTINFO kDefaultHalftone = {
    2, // HT_FLAG_HAS_BLACK_DYE
    7, // HT_PATSIZE_DEFAULT
    0,
    {
        {6810, 3050, 0},
        {2260, 6550, 0},
        {1810, 500, 0},
        {2000, 2450, 65534},
        {5210, 2100, 0},
        {4750, 5100, 0},
        {3324, 3474, 10000},
        10000,
        10000,
        10000,
        1422,
        952,
        787,
        495,
        324,
        248,
    },
};

// The public fields an input may carry, each counted only when the input's dmSize covers it.
struct PublicField {
    DWORD Flag;
    size_t End;
};
constexpr PublicField kPublicFields[] = {
    {DM_ORIENTATION, offsetof(DEVMODEW, dmOrientation) + sizeof(short)},
    {DM_PAPERSIZE, offsetof(DEVMODEW, dmPaperWidth) + sizeof(short)}, // brings length and width along
    {DM_PAPERLENGTH, offsetof(DEVMODEW, dmPaperLength) + sizeof(short)},
    {DM_PAPERWIDTH, offsetof(DEVMODEW, dmPaperWidth) + sizeof(short)},
    {DM_COPIES, offsetof(DEVMODEW, dmCopies) + sizeof(short)},
    {DM_DEFAULTSOURCE, offsetof(DEVMODEW, dmDefaultSource) + sizeof(short)},
    {DM_PRINTQUALITY, offsetof(DEVMODEW, dmYResolution) + sizeof(short)}, // both values form one resolution
    {DM_YRESOLUTION, offsetof(DEVMODEW, dmYResolution) + sizeof(short)},
    {DM_COLLATE, offsetof(DEVMODEW, dmCollate) + sizeof(short)},
    {DM_MEDIATYPE, offsetof(DEVMODEW, dmMediaType) + sizeof(DWORD)},
};

// The input's public part, zero-extended to a full DEVMODEW, and the fields it really holds.
DWORD ReadInputPublic(const DEVMODEW* input, DEVMODEW* pub) {
    std::memset(pub, 0, sizeof(*pub));
    size_t size = input->dmSize < sizeof(DEVMODEW) ? input->dmSize : sizeof(DEVMODEW);
    std::memcpy(pub, input, size);
    DWORD present = 0;
    for (const PublicField& f : kPublicFields) {
        if (f.End <= size) {
            present |= f.Flag;
        }
    }
    return pub->dmFields & present;
}

const WCHAR* DeviceNamePart(const WCHAR* name, size_t max, size_t* len) {
    size_t n = WStrLen(name, max);
    const WCHAR* start = name;
    for (size_t i = 0; i < n; ++i) {
        if (name[i] == TEXT('\\')) {
            start = name + i + 1;
        }
    }
    size_t rest = n - static_cast<size_t>(start - name);
    size_t k = 0;
    while (k < rest && k < MAX_PATH - 1 && start[k] != TEXT(',')) {
        ++k;
    }
    *len = k;
    return start;
}

LONG DriverModelIndex(HANDLE printer) {
    WCHAR driver[MAX_PATH];
    return QueryPrinterInfo(printer, PI_DRIVER_NAME, driver, sizeof(driver)) ? FindModelIndex(driver) : 0;
}

template <class T> bool Within(T value, T low, T high) {
    return value >= low && value <= high;
}

// LabelCount within 2..250, CurrentLabel inside the list, every name terminated.
DWORD RepairLabelList(DRVDEVMODE* rec) {
    PRIVDEVMODE& p = rec->Private;
    DWORD mended = 0;
    if (!Within<LONG>(p.LabelCount, 2, kMaxLabels)) {
        p.LabelCount = p.LabelCount < 2 ? 2 : kMaxLabels;
        mended |= REPAIR_LABEL_COUNT;
    }
    if (!Within<LONG>(p.CurrentLabel, 0, p.LabelCount - 1)) {
        p.CurrentLabel = 0;
        mended |= REPAIR_CURRENT_LABEL;
    }
    for (LABELINFO& label : p.Labels) {
        if (label.Name[kLabelNameChars - 1] != 0) {
            label.Name[kLabelNameChars - 1] = 0;
            mended |= REPAIR_LABEL_NAME;
        }
    }
    return mended;
}

void SetDefaults(DRVDEVMODE* rec, LONG modelIndex) {
    InitDevModeForModel(rec, modelIndex);
    rec->Private.Signature = kDevModeSignature;
}

// The private block and the signature word of an exchanged record that starts at dm.
const BYTE* PrivateBytes(const DEVMODEW* dm) {
    return reinterpret_cast<const BYTE*>(dm) + dm->dmSize;
}

DWORD InputSignature(const DEVMODEW* dm) {
    DWORD sig;
    std::memcpy(&sig, PrivateBytes(dm) + dm->dmDriverExtra - sizeof(DWORD), sizeof(sig));
    return sig;
}

bool InputUsable(const DEVMODEW* input) {
    return input && input->dmSize >= kMinInputPublicSize;
}

// A stored value that is absent, or not of the size it should be, is simply not there; any other error means
// it exists and the spooler (or the memory for it) failed, so the defaults in its place are not the user's.
DWORD LostRead(DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_MORE_DATA || error == ERROR_SUCCESS) {
        return 0;
    }
    return error;
}

// The printer's stored settings as a working record, not yet repaired. With privateFollows the caller is
// about to copy a trusted input's whole private block over the record, so only what outlives that copy
// is taken from the stored record (its validity and device extension), and its 58 KB private block is
// not copied for nothing. Returns the variant the printer's driver name selects.
LONG LoadStored(DRVDEVMODE* rec, HANDLE printer, LPCWSTR printerName, bool privateFollows,
                DWORD& storeError) {
    PrinterInfo2 pi;
    const bool fetched = FetchPrinterInfo2(printer, &pi);
    if (!fetched) {
        // A printer always has its level-2 record: not getting it is a failure, whatever it left behind.
        const DWORD error = GetLastError();
        storeError = error != ERROR_SUCCESS ? error : DWORD{ERROR_INVALID_DATA};
    }
    const LONG driverModel = fetched ? FindModelIndex(pi.info->pDriverName) : 0;
    const DEVMODEW* stored = fetched ? pi.DevMode() : nullptr;
    size_t available = pi.DevModeBytesAvailable();
    if (!stored || available < offsetof(DEVMODEW, dmFields)) {
        SetDefaults(rec, driverModel);
        return driverModel;
    }
    // A stored record claims its own size; never read more than the spooler really handed over.
    size_t bytes = static_cast<size_t>(stored->dmSize) + stored->dmDriverExtra;
    bytes = bytes < kExchangedSize ? bytes : kExchangedSize;
    bytes = bytes < available ? bytes : available;
    const bool oldRules = GetOsVersionCode() < OSCODE_VISTA;
    bool valid = false;
    if (privateFollows) {
        // Shorter than a whole record means the signature is missing: invalid either way.
        valid = bytes == kExchangedSize &&
                (oldRules ? IsValidDevModeForPrinter(stored, printerName) : IsValidDevMode(stored));
        if (valid) {
            rec->Public = *stored;
        }
    } else {
        std::memcpy(rec, stored, bytes);
        std::memset(reinterpret_cast<BYTE*>(rec) + bytes, 0, kExchangedSize - bytes);
        valid = oldRules ? IsValidDevModeForPrinter(&rec->Public, printerName) : IsValidDevMode(&rec->Public);
    }
    DWORD got = 0;
    bool extension = false;
    if (valid) {
        extension =
            GetPrinterDataValue(printer, kValuePrivateDevMode, &rec->Extension, sizeof(DEVICEEXT), &got);
        if (!extension) {
            storeError = storeError ? storeError : LostRead(GetLastError());
        }
    }
    if (!valid || !extension || got != sizeof(DEVICEEXT)) {
        SetDefaults(rec, driverModel);
    }
    return driverModel;
}

} // namespace

void InitDevModeForModel(DRVDEVMODE* rec, LONG modelIndex) {
    std::memset(rec, 0, sizeof(*rec));
    PRIVDEVMODE& p = rec->Private;
    p.ModelIndex = Within<LONG>(modelIndex, 0, kVariantCount - 1) ? modelIndex : 0;
    const MODELINFO& model = GetModelInfo(rec);
    p.PaperId = model.Id;
    p.MediaType = 1;
    p.InputSlot = kInputSlots[0].BinId;
    p.Orientation = DMORIENT_PORTRAIT;
    p.Copies = 1;
    BuildDefaultLabels(rec);
    p.CustomWidth = kCustomSizeFromWholeMm ? p.Labels[0].Width * 10 : model.Width;
    p.CustomLength = kCustomSizeFromWholeMm ? p.Labels[0].Length * 10 : model.Length;
    p.ResolutionIndex = 0;
    p.ColorAdjust = kDefaultColorAdjust;
    p.SurfaceToPrint = kDefaultSurfaceToPrint;
    p.PatternIndex2 = 1;
    p.ColorText = 1;
    p.RenderModeA = 1;
    p.PatternMode = 1;
    DEVICEEXT& e = rec->Extension;
    e.DeviceHalftone = kDefaultHalftone;
    // No label carries id 9, so the trays start out holding nothing known.
    e.Tray2ModelIndex = FindLabel(rec, 9);
    e.Tray1ModelIndex = FindLabel(rec, 9);
    SyncPublicDevMode(rec);
}

void InitDevMode(DRVDEVMODE* rec, HANDLE printer) {
    InitDevModeForModel(rec, DriverModelIndex(printer));
}

void SyncPublicDevMode(DRVDEVMODE* rec) {
    const PRIVDEVMODE& p = rec->Private;
    DEVMODEW& d = rec->Public;
    std::memset(&d, 0, sizeof(d));
    const bool nup = GetRecordHandling(rec, SELECTOR_NUP) != HANDLING_NOT_SUPPORTED;
    const bool collate = IsCollateOffered(rec);
    d.dmSpecVersion = DM_SPECVERSION;
    d.dmDriverVersion = kDriverVersion;
    d.dmSize = kPublicSize;
    d.dmDriverExtra = kPrivateBytes;
    d.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES |
                 DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_YRESOLUTION | DM_MEDIATYPE |
                 (kHasColor ? DM_COLOR : 0) | (nup ? DM_NUP : 0) | (collate ? DM_COLLATE : 0);
    d.dmOrientation = static_cast<short>(p.Orientation);
    d.dmPaperSize = static_cast<short>(p.PaperId);
    int selected = FindLabel(rec, p.PaperId);
    if (selected >= 0 && p.PaperId != kUserDefinedLabelId) {
        d.dmPaperLength = static_cast<short>(MmToTenths(p.Labels[selected].Length));
        d.dmPaperWidth = static_cast<short>(MmToTenths(p.Labels[selected].Width));
    } else {
        d.dmPaperLength = static_cast<short>(p.CustomLength);
        d.dmPaperWidth = static_cast<short>(p.CustomWidth);
    }
    d.dmScale = 100;
    d.dmCopies = static_cast<short>(p.Copies);
    d.dmDefaultSource = static_cast<short>(p.InputSlot);
    d.dmPrintQuality = static_cast<short>(GetResolutionX(rec, p.ResolutionIndex));
    d.dmYResolution = static_cast<short>(GetResolutionY(rec, p.ResolutionIndex));
    d.dmColor = kHasColor ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
    d.dmDuplex = DMDUP_SIMPLEX;
    d.dmTTOption = DMTT_BITMAP;
    d.dmCollate = collate ? static_cast<short>(p.Collate) : 0;
    WStrCopy(d.dmFormName, p.Labels[selected >= 0 ? selected : 0].Name, kLabelNameChars - 1);
    d.dmNup = nup ? DMNUP_SYSTEM : DMNUP_ONEUP;
    d.dmMediaType = DMMEDIA_STANDARD;
}

bool DeviceNamesAgree(const WCHAR* a, size_t aMax, const WCHAR* b, size_t bMax) {
    size_t aLen = 0;
    size_t bLen = 0;
    const WCHAR* pa = DeviceNamePart(a, aMax, &aLen);
    const WCHAR* pb = DeviceNamePart(b, bMax, &bLen);
    size_t n = aLen < bLen ? aLen : bLen;
    for (size_t i = 0; i < n; ++i) {
        if (pa[i] != pb[i]) {
            return false;
        }
    }
    return true;
}

DWORD CheckDevMode(const DEVMODEW* dm, LPCWSTR printerName) {
    DWORD faults = 0;
    if (dm->dmSpecVersion != DM_SPECVERSION) {
        faults |= DMFAULT_SPEC_VERSION;
    }
    if (dm->dmDriverVersion != kDriverVersion) {
        faults |= DMFAULT_DRIVER_VERSION;
    }
    if (dm->dmSize != kPublicSize) {
        faults |= DMFAULT_SIZE;
    }
    if (dm->dmDriverExtra != kPrivateBytes) {
        faults |= DMFAULT_DRIVER_EXTRA;
    }
    if (dm->dmDriverExtra < sizeof(DWORD) || InputSignature(dm) != kDevModeSignature) {
        faults |= DMFAULT_SIGNATURE;
    }
    size_t nameChars = dm->dmSize >= sizeof(dm->dmDeviceName) ? CCHDEVICENAME : 0;
    if (!DeviceNamesAgree(dm->dmDeviceName, nameChars, printerName, MAX_PATH)) {
        faults |= DMFAULT_DEVICE_NAME;
    }
    return faults;
}

BOOL IsValidDevMode(const DEVMODEW* dm) {
    if (dm->dmSpecVersion != DM_SPECVERSION || dm->dmDriverVersion != kDriverVersion ||
        dm->dmSize != kPublicSize || dm->dmDriverExtra != kPrivateBytes) {
        return FALSE;
    }
    return reinterpret_cast<const DRVDEVMODE*>(dm)->Private.Signature == kDevModeSignature;
}

BOOL IsValidDevModeForPrinter(const DEVMODEW* dm, LPCWSTR printerName) {
    return IsValidDevMode(dm) && DeviceNamesAgree(dm->dmDeviceName, CCHDEVICENAME, printerName, MAX_PATH);
}

DWORD RepairDevMode(DRVDEVMODE* rec, LONG driverModel) {
    PRIVDEVMODE& p = rec->Private;
    DWORD mended = 0;
    if (!Within<LONG>(p.ModelIndex, 0, kVariantCount - 1)) {
        p.ModelIndex = Within<LONG>(driverModel, 0, kVariantCount - 1) ? driverModel : 0;
        mended |= REPAIR_MODEL_INDEX;
    }
    mended |= RepairLabelList(rec);
    if (p.ResolutionIndex != 0) {
        p.ResolutionIndex = 0; // every variant has exactly one resolution
        mended |= REPAIR_RESOLUTION;
    }
    if (!Within<LONG>(p.PatternIndex, 0, 3) || !Within<LONG>(p.PatternIndex2, 0, 3)) {
        p.PatternIndex = Within<LONG>(p.PatternIndex, 0, 3) ? p.PatternIndex : 0;
        p.PatternIndex2 = Within<LONG>(p.PatternIndex2, 0, 3) ? p.PatternIndex2 : 1;
        mended |= REPAIR_PATTERN;
    }
    struct Choice {
        LONG* Field;
        LONG Low, High, Default;
    };
    const Choice choices[] = {
        {&p.SurfaceToPrint, 0, 3, kDefaultSurfaceToPrint},
        {&p.RenderModeA, 0, 2, 1},
        {&p.PatternMode, 1, 2, 1},
        {&p.RenderLevel, 0, 5, 0},
        {&p.RenderModeB, 0, 3, 0},
        {&p.ColorOrder, 0, 1, 0},
    };
    for (const Choice& c : choices) {
        if (!Within(*c.Field, c.Low, c.High)) {
            *c.Field = c.Default;
            mended |= REPAIR_RENDER_CHOICE;
        }
    }
    if (!Within<LONG>(p.Orientation, DMORIENT_PORTRAIT, DMORIENT_LANDSCAPE) ||
        !Within<LONG>(p.Copies, 1, kMaxCopies)) {
        p.Orientation =
            Within<LONG>(p.Orientation, DMORIENT_PORTRAIT, DMORIENT_LANDSCAPE) ? p.Orientation : 1;
        p.Copies = Within<LONG>(p.Copies, 1, kMaxCopies) ? p.Copies : 1;
        mended |= REPAIR_JOB_VALUE;
    }
    if (p.ColorAdjust.caSize != sizeof(COLORADJUSTMENT)) {
        p.ColorAdjust = kDefaultColorAdjust;
        mended |= REPAIR_COLOR_ADJUST;
    }
    DEVICEEXT& e = rec->Extension;
    LONG* handling[SELECTOR_COUNT] = {&e.NupHandling, &e.PageOrderHandling, &e.CollateHandling,
                                      &e.CopyHandling};
    for (int s = 0; s < SELECTOR_COUNT; ++s) {
        if (!Within<LONG>(*handling[s], 0, kHandlingSelectors[s].ValueCount - 1)) {
            *handling[s] = 0;
            mended |= REPAIR_EXTENSION;
        }
    }
    for (LONG* tray : {&e.Tray1ModelIndex, &e.Tray2ModelIndex}) {
        if (!Within<LONG>(*tray, -1, kMaxLabels - 1)) {
            *tray = -1;
            mended |= REPAIR_EXTENSION;
        }
    }
    return mended;
}

void MergeDevMode(DRVDEVMODE* rec, const DEVMODEW* input, DWORD callerCode) {
    PRIVDEVMODE& p = rec->Private;
    DEVMODEW in;
    DWORD fields = ReadInputPublic(input, &in);
    if ((fields & DM_ORIENTATION) && Within<short>(in.dmOrientation, DMORIENT_PORTRAIT, DMORIENT_LANDSCAPE)) {
        p.Orientation = in.dmOrientation;
    }
    if (fields & DM_PAPERSIZE) {
        DWORD id = static_cast<DWORD>(in.dmPaperSize);
        if (in.dmPaperSize >= 0 && FindLabel(rec, id) >= 0) {
            p.PaperId = id;
        }
        // The custom size is bounded by the longest label in both directions: the head width limit
        // is applied later, where the label is placed.
        Extent min = GetMinExtent(rec);
        Extent max = GetMaxExtent(rec);
        if (id == kUserDefinedLabelId && in.dmPaperWidth >= min.Width && in.dmPaperLength >= min.Length &&
            in.dmPaperWidth <= max.Length && in.dmPaperLength <= max.Length) {
            p.PaperId = kUserDefinedLabelId;
            p.CustomWidth = in.dmPaperWidth;
            p.CustomLength = in.dmPaperLength;
        }
    }
    if ((fields & DM_MEDIATYPE) && FindMediaType(in.dmMediaType) >= 0) {
        p.MediaType = in.dmMediaType;
    }
    const bool copies =
        (fields & DM_COPIES) ||
        (callerCode == CALLER_RENDER && input->dmSize >= offsetof(DEVMODEW, dmCopies) + sizeof(short));
    if (copies && Within<LONG>(in.dmCopies, 1, kMaxCopies)) {
        p.Copies = in.dmCopies;
    }
    if (fields & DM_COLLATE) {
        p.Collate = in.dmCollate;
    }
    if ((fields & DM_DEFAULTSOURCE) && FindInputSlot(static_cast<DWORD>(in.dmDefaultSource)) >= 0) {
        p.InputSlot = static_cast<DWORD>(in.dmDefaultSource);
    }
    if (fields & (DM_PRINTQUALITY | DM_YRESOLUTION)) {
        for (int i = 0; i < GetResolutionCount(); ++i) {
            if (static_cast<DWORD>(in.dmPrintQuality) == GetResolutionX(rec, i) &&
                static_cast<DWORD>(in.dmYResolution) == GetResolutionY(rec, i)) {
                p.ResolutionIndex = i;
            }
        }
    }
}

bool SettleDevMode(DRVDEVMODE* rec, const DEVMODEW* input, HANDLE printer, LPCWSTR printerName,
                   DWORD callerCode, StoredLoad load, DWORD* storeError) {
    DWORD lost = 0;
    const bool taken = InputUsable(input);
    DWORD faults = 0;
    if (taken) {
        faults = CheckDevMode(input, printerName);
        if (GetOsVersionCode() >= OSCODE_VISTA) {
            faults &= ~DMFAULT_DEVICE_NAME;
        }
    }
    const bool trusted = taken && faults == 0;
    const LONG driverModel =
        LoadStored(rec, printer, printerName, trusted && load == StoredLoad::AsNeeded, lost);
    auto readLabels = [&] {
        if (!ReadStoredLabels(rec, printer)) {
            lost = lost ? lost : LostRead(GetLastError());
        }
    };
    if (trusted) {
        // The input's whole private block, label list included, replaces the stored one; its signature
        // word is taken too, where the stored record may have held anything.
        if (load == StoredLoad::Everything) {
            readLabels();
        }
        std::memcpy(&rec->Private, PrivateBytes(input), offsetof(PRIVDEVMODE, Signature));
        rec->Private.Signature = InputSignature(input);
    } else {
        readLabels();
    }
    if (storeError) {
        *storeError = lost;
    }
    RepairDevMode(rec, driverModel);
    if (taken) {
        MergeDevMode(rec, input, callerCode);
    }
    SyncPublicDevMode(rec);
    // The bytes after the label list carry the rendering library's run-time values; what a stored or
    // foreign record left there means nothing to this process.
    std::memset(rec->Private.Reserved, 0, sizeof(rec->Private.Reserved));
    return taken;
}

BOOL LoadPrinterDevMode(DRVDEVMODE* rec, HANDLE printer, LPCWSTR printerName) {
    SettleDevMode(rec, nullptr, printer, printerName, CALLER_CONFIG);
    return TRUE;
}

BOOL SavePrinterDevModeExt(const DRVDEVMODE* rec, HANDLE printer, LPCWSTR) {
    return SetPrinterDataValue(printer, kValuePrivateDevMode, REG_BINARY, &rec->Extension, sizeof(DEVICEEXT));
}

DWORD GetDriverDevMode(void* out, const DEVMODEW* input, HANDLE printer, LPCWSTR printerName, DWORD mode,
                       DWORD callerCode) {
    if (mode == 0) {
        return static_cast<DWORD>(kWorkingSize);
    }
    GlobalBuffer work(kWorkingSize);
    if (!work) {
        return 0;
    }
    DRVDEVMODE* rec = work.as<DRVDEVMODE>();
    const bool wantsInput = (mode & (GDM_TAKE_INPUT | GDM_TAKE_INPUT_ALT)) != 0;
    DWORD lost = 0;
    const bool taken = SettleDevMode(rec, wantsInput ? input : nullptr, printer, printerName, callerCode,
                                     StoredLoad::AsNeeded, &lost);
    if ((mode & GDM_STORED_INTACT) && lost) {
        SetLastError(lost);
        return 0;
    }
    if ((mode & GDM_COPY_EXCHANGED) && out) {
        if (taken && input->dmSize < kPublicSize) {
            // An older, shorter public part goes back as the caller made it, private data and all.
            WORD extra = input->dmDriverExtra < kPrivateBytes ? input->dmDriverExtra : kPrivateBytes;
            std::memcpy(out, input, input->dmSize);
            std::memcpy(static_cast<BYTE*>(out) + input->dmSize, PrivateBytes(input), extra);
            static_cast<DEVMODEW*>(out)->dmDriverExtra = extra;
        } else {
            std::memcpy(out, rec, kExchangedSize);
        }
    }
    if ((mode & GDM_COPY_WORKING) && out) {
        std::memcpy(out, rec, kWorkingSize);
    }
    return 1;
}

BOOL GetDriverDevMode(DRVDEVMODE* out, const DEVMODEW* input, HANDLE printer, LPCWSTR printerName) {
    SettleDevMode(out, input, printer, printerName, CALLER_RENDER);
    return TRUE;
}
