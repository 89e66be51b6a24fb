// The device settings record: the public DEVMODEW followed by the driver's private block, and in
// memory a device extension. Applications and the spooler keep the exchanged part (public +
// private), so every offset here is fixed.
#pragma once

#include <windows.h>
#include <winspool.h>
#include <winddi.h>

#include <cstddef>

#include "profile.h"

inline constexpr DWORD kDevModeSignature = 0x28116119;
inline constexpr WORD kDriverVersion = 0x0100;
inline constexpr WORD kPublicSize = 220;

struct PRIVDEVMODE {
    DWORD PaperId; // label id of the selected label
    DWORD MediaType;
    DWORD InputSlot; // bin id
    LONG Orientation;
    LONG Copies;
    LONG PagesPerSheet;
    LONG NupBorder;
    LONG ReverseOrder;
    LONG Booklet;
    LONG Collate;
    LONG CustomWidth;  // 0.1 mm
    LONG CustomLength; // 0.1 mm
    LONG CurrentLabel;
    LONG LabelCount;
    LABELINFO Labels[kMaxLabels];
    BYTE Reserved[kReservedAfterLabels];
    LONG ModelIndex;
    LONG SurfaceToPrint;
    LONG ResolutionIndex;
    LONG PatternIndex;
    LONG PatternIndex2;
    COLORADJUSTMENT ColorAdjust;
    LONG LandscapeRotation;
    LONG ColorText;
    LONG ColorOrder;
    LONG RenderModeA;
    LONG PatternMode;
    LONG RenderLevel;
    LONG SpareFlag1;
    LONG RenderModeB;
    LONG SpareFlag2;
    DWORD Signature; // last field of the exchanged record
};

// Kept per printer as the printer-data value "Private DevMode"; never travels with a document.
struct DEVICEEXT {
    DEVHTINFO DeviceHalftone;
    DWORD Reserved;
    LONG NupHandling; // indexes into the handling selectors' value lists
    LONG PageOrderHandling;
    LONG CollateHandling;
    LONG CopyHandling;
    LONG Tray2ModelIndex;
    LONG Tray1ModelIndex;
};

struct DRVDEVMODE {
    DEVMODEW Public;
    PRIVDEVMODE Private;
    DEVICEEXT Extension;
};

inline constexpr size_t kExchangedSize = offsetof(DRVDEVMODE, Extension);
inline constexpr size_t kWorkingSize = sizeof(DRVDEVMODE);
inline constexpr size_t kLabelListBytes = sizeof(LABELINFO) * kMaxLabels;

static_assert(sizeof(DEVMODEW) == 220);
static_assert(sizeof(COLORADJUSTMENT) == 24 && sizeof(DEVHTINFO) == 132);
static_assert(sizeof(DEVICEEXT) == 160);
static_assert(offsetof(DRVDEVMODE, Private) == 220);
static_assert(sizeof(PRIVDEVMODE) == kPrivateBytes);
#define KT_AT(field, a, b) (offsetof(DRVDEVMODE, field) == (sizeof(LABELINFO) == 232 ? (a) : (b)))
static_assert(KT_AT(Private.PaperId, 220, 220) && KT_AT(Private.MediaType, 224, 224));
static_assert(KT_AT(Private.InputSlot, 228, 228) && KT_AT(Private.Orientation, 232, 232));
static_assert(KT_AT(Private.Copies, 236, 236) && KT_AT(Private.PagesPerSheet, 240, 240));
static_assert(KT_AT(Private.NupBorder, 244, 244) && KT_AT(Private.ReverseOrder, 248, 248));
static_assert(KT_AT(Private.Booklet, 252, 252) && KT_AT(Private.Collate, 256, 256));
static_assert(KT_AT(Private.CustomWidth, 260, 260) && KT_AT(Private.CustomLength, 264, 264));
static_assert(KT_AT(Private.CurrentLabel, 268, 268) && KT_AT(Private.LabelCount, 272, 272));
static_assert(KT_AT(Private.Labels, 276, 276) && KT_AT(Private.Reserved, 58276, 53276));
static_assert(KT_AT(Private.ModelIndex, 58304, 53288) && KT_AT(Private.SurfaceToPrint, 58308, 53292));
static_assert(KT_AT(Private.ResolutionIndex, 58312, 53296) && KT_AT(Private.PatternIndex, 58316, 53300));
static_assert(KT_AT(Private.PatternIndex2, 58320, 53304) && KT_AT(Private.ColorAdjust, 58324, 53308));
static_assert(KT_AT(Private.LandscapeRotation, 58348, 53332) && KT_AT(Private.ColorText, 58352, 53336));
static_assert(KT_AT(Private.ColorOrder, 58356, 53340) && KT_AT(Private.RenderModeA, 58360, 53344));
static_assert(KT_AT(Private.PatternMode, 58364, 53348) && KT_AT(Private.RenderLevel, 58368, 53352));
static_assert(KT_AT(Private.SpareFlag1, 58372, 53356) && KT_AT(Private.RenderModeB, 58376, 53360));
static_assert(KT_AT(Private.SpareFlag2, 58380, 53364) && KT_AT(Private.Signature, 58384, 53368));
static_assert(KT_AT(Extension.DeviceHalftone, 58388, 53372) && KT_AT(Extension.Reserved, 58520, 53504));
static_assert(KT_AT(Extension.NupHandling, 58524, 53508) && KT_AT(Extension.PageOrderHandling, 58528, 53512));
static_assert(KT_AT(Extension.CollateHandling, 58532, 53516) && KT_AT(Extension.CopyHandling, 58536, 53520));
static_assert(KT_AT(Extension.Tray2ModelIndex, 58540, 53524) &&
              KT_AT(Extension.Tray1ModelIndex, 58544, 53528));
static_assert(kExchangedSize == (sizeof(LABELINFO) == 232 ? 58388u : 53372u));
static_assert(kWorkingSize == (sizeof(LABELINFO) == 232 ? 58548u : 53532u));
#undef KT_AT

// CheckDevMode faults.
enum : DWORD {
    DMFAULT_SPEC_VERSION = 0x01,
    DMFAULT_DRIVER_VERSION = 0x02,
    DMFAULT_SIZE = 0x04,
    DMFAULT_DRIVER_EXTRA = 0x08,
    DMFAULT_SIGNATURE = 0x10,
    DMFAULT_DEVICE_NAME = 0x20,
};

// GetDriverDevMode modes.
enum : DWORD {
    GDM_COPY_EXCHANGED = 0x0002,
    GDM_TAKE_INPUT = 0x0008,
    GDM_TAKE_INPUT_ALT = 0x2000,
    GDM_COPY_WORKING = 0x1000,
    // Fail (0, the spooler's error) rather than fall back to the defaults when the printer's stored
    // settings exist but could not be read: for a caller that will write them back.
    GDM_STORED_INTACT = 0x00010000,
};

// Who asks for a merge. The rendering library takes a job's copy count even when the application
// forgot DM_COPIES, because the printer makes the copies and a lost count prints one label.
enum : DWORD {
    CALLER_CONFIG = 0,
    CALLER_RENDER = 1,
};

// Smallest input whose public part holds dmFields; anything shorter cannot say what it carries.
inline constexpr WORD kMinInputPublicSize = offsetof(DEVMODEW, dmFields) + sizeof(DWORD);

void InitDevMode(DRVDEVMODE* rec, HANDLE printer);
void InitDevModeForModel(DRVDEVMODE* rec, LONG modelIndex);
void SyncPublicDevMode(DRVDEVMODE* rec);
DWORD CheckDevMode(const DEVMODEW* dm, LPCWSTR printerName);
BOOL IsValidDevMode(const DEVMODEW* dm);
BOOL IsValidDevModeForPrinter(const DEVMODEW* dm, LPCWSTR printerName);
bool DeviceNamesAgree(const WCHAR* a, size_t aMax, const WCHAR* b, size_t bMax);
BOOL SavePrinterDevModeExt(const DRVDEVMODE* rec, HANDLE printer, LPCWSTR printerName);

// What RepairDevMode mended.
enum : DWORD {
    REPAIR_MODEL_INDEX = 0x0001,
    REPAIR_LABEL_COUNT = 0x0002,
    REPAIR_CURRENT_LABEL = 0x0004,
    REPAIR_LABEL_NAME = 0x0008,
    REPAIR_RESOLUTION = 0x0010,
    REPAIR_PATTERN = 0x0020,
    REPAIR_RENDER_CHOICE = 0x0040,
    REPAIR_JOB_VALUE = 0x0080,
    REPAIR_EXTENSION = 0x0100,
    REPAIR_COLOR_ADJUST = 0x0200,
};

// Makes a record that came from somebody else safe to index with: every field that selects a table
// entry or bounds an array is brought back into range; a model index outside the table becomes
// driverModel, the variant the printer's driver name selects. Returns a mask of what it mended.
DWORD RepairDevMode(DRVDEVMODE* rec, LONG driverModel);

// Takes an input's public fields (those its dmFields names and its dmSize covers) into a repaired
// record; each is taken only when it is within range, so the record stays safe.
void MergeDevMode(DRVDEVMODE* rec, const DEVMODEW* input, DWORD callerCode);

// How much of the printer's stored record a settle reads.
enum class StoredLoad {
    // Skip what a trusted input replaces anyway (the stored private block and label list).
    AsNeeded,
    // Read every stored value first, as the rules are written; the result must be the same.
    Everything,
};

// The one road to a settled record: the printer's stored settings (default record, "Private DevMode",
// "Private Paper"), the input's private block when it can be trusted, the repair, the input's public
// fields, and the public part rewritten from the private block. Every settled record comes from here,
// so every record either library hands on is safe to index with. Returns whether an input was taken.
// When storeError is given it receives 0, or the error of a stored value that exists but could not be read
// (the spooler or the memory failed), for which the settle fell back to the defaults.
bool SettleDevMode(DRVDEVMODE* rec, const DEVMODEW* input, HANDLE printer, LPCWSTR printerName,
                   DWORD callerCode, StoredLoad load = StoredLoad::AsNeeded, DWORD* storeError = nullptr);

// The printer's current settings, settled, without an input. Always succeeds.
BOOL LoadPrinterDevMode(DRVDEVMODE* rec, HANDLE printer, LPCWSTR printerName);

// The configuration library's form: mode 0 returns the working-record size; otherwise builds the
// settled record and copies what the mode asks for into out. Returns 0 on allocation failure.
DWORD GetDriverDevMode(void* out, const DEVMODEW* input, HANDLE printer, LPCWSTR printerName, DWORD mode,
                       DWORD callerCode);
// The rendering library's form: builds the settled working record straight into out.
BOOL GetDriverDevMode(DRVDEVMODE* out, const DEVMODEW* input, HANDLE printer, LPCWSTR printerName);
