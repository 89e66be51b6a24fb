// Profile B: the one-head KT-936 family at 203, 300, 400 or 600 dpi.
#pragma once

#include "model_types.h"

#define KT_PROFILE_NAME "B"
#define KT_FAMILY_NAME "KT-936"

inline constexpr int kHeadCount = 1;

// What a label says about printing it, and what a model's standard label starts with. Labels and
// model records share the type, so a standard label is copied into a label by one assignment.
struct LABELVALUES {
    LONG Gap; // 0.1 mm
    LONG PositionAdjust;
    LONG CutPosition;
    LONG CutCount;
    LONG CutAdjust;
    LONG Copies;
    LONG Rotation;
    LONG CutLast;
    LONG Dithering;
    LONG Compress;
    LONG BandSplit;
    LONG QuantityCommand;
    LONG PrintSettingsEnabled;
    LONG PrintSpeed;
    LONG Density1;
    LONG HeadVoltage1;
    LONG DriverExpand;
    LONG XAdjust1; // 0.1 mm
};
static_assert(sizeof(LABELVALUES) == 72);

// A label as the printer's list and the label file keep it. Byte layout is shared with stored
// records, so it must never change.
struct LABELINFO {
    WCHAR Name[64];
    DWORD Id;
    LONG Width;  // whole mm
    LONG Length; // whole mm
    LABELVALUES Values;
};
static_assert(sizeof(LABELINFO) == 212);
static_assert(offsetof(LABELINFO, Id) == 128 && offsetof(LABELINFO, Width) == 132 &&
              offsetof(LABELINFO, Values.Gap) == 140);
static_assert(offsetof(LABELINFO, Values.Copies) == 160 && offsetof(LABELINFO, Values.Rotation) == 164);
static_assert(offsetof(LABELINFO, Values.QuantityCommand) == 184 &&
              offsetof(LABELINFO, Values.Density1) == 196);
static_assert(offsetof(LABELINFO, Values.HeadVoltage1) == 200 &&
              offsetof(LABELINFO, Values.DriverExpand) == 204);
static_assert(offsetof(LABELINFO, Values.XAdjust1) == 208);

// One printer variant's standard label.
struct MODELINFO {
    WCHAR Name[64];
    DWORD Id;
    LONG Width;     // 0.1 mm
    LONG Length;    // 0.1 mm
    LONG MediaCode; // what the printer reports for a tray holding this label
    LABELVALUES Values;
    LONG ExpandAllowed; // 0: the driver never expands for this variant, whatever a label file says
};
static_assert(sizeof(MODELINFO) == 220);
static_assert(offsetof(MODELINFO, MediaCode) == 140 && offsetof(MODELINFO, Values) == 144);

// Per variant: the name to look for in the driver name, standard label, resolution, largest label,
// and the head the image is sent to.
struct VARIANTINFO {
    WCHAR VariantName[16];
    MODELINFO Model;
    RESOLUTIONINFO Resolution;
    LONG MaxWidth;  // 0.1 mm: the widest label, and the widest image the head prints
    LONG MaxLength; // 0.1 mm
    HEADINFO Head;
};

#define KT_LABEL_VALUES                                                                                      \
    { 30, 0, 0, 0, 0, 1, 0, 0, 3, 1, 0, 0, 0, 2, 5, 5, 0, 0 }
#define KT_LABEL_100 TEXT("標準ﾗﾍﾞﾙ(100x80)"), 257, 1000, 800, 0, KT_LABEL_VALUES
#define KT_LABEL_160 TEXT("標準ﾗﾍﾞﾙ(160x80)"), 257, 1600, 800, 0, KT_LABEL_VALUES
#define KT_LABEL_95 TEXT("標準ﾗﾍﾞﾙ(95x80)"), 257, 950, 800, 0, KT_LABEL_VALUES
#define KT_DPI_203                                                                                           \
    { TEXT("203 dpi"), 203, 203, 287, 64037 }
#define KT_DPI_300                                                                                           \
    { TEXT("300 dpi"), 300, 300, 424, 64037 }
#define KT_DPI_400                                                                                           \
    { TEXT("400 dpi"), 400, 400, 565, 64037 }
#define KT_DPI_600                                                                                           \
    { TEXT("600 dpi"), 600, 600, 849, 64037 }

// The "DISABLE" slots keep the index numbering of installed printers; no real driver name holds them.
// Heads: dots per 100 mm (800, 1180, 1575 and 2360 are the 203, 300, 400 and 600 dpi heads), dots
// across, rows per image block, block Y step in 0.1 mm.
inline constexpr VARIANTINFO kVariants[] = {
    {TEXT("DISABLE"), {KT_LABEL_100, 0}, KT_DPI_203, 1040, 5000, {800, 832, 40, 50}},
    {TEXT("DISABLE"), {KT_LABEL_160, 0}, KT_DPI_203, 1600, 5000, {800, 1280, 40, 50}},
    {TEXT("DISABLE"), {KT_LABEL_100, 0}, KT_DPI_300, 1084, 5000, {1180, 1280, 59, 50}},
    {TEXT("DISABLE"), {KT_LABEL_160, 0}, KT_DPI_300, 1626, 5000, {1180, 1920, 59, 50}},
    {TEXT("DISABLE"), {KT_LABEL_95, 0}, KT_DPI_400, 975, 5000, {1575, 1536, 63, 40}},
    {TEXT("KT-936U"), {KT_LABEL_100, 0}, KT_DPI_203, 1040, 5000, {800, 832, 40, 50}},
    {TEXT("KT-936U-12"), {KT_LABEL_100, 0}, KT_DPI_300, 1084, 5000, {1180, 1280, 59, 50}},
    {TEXT("DISABLE"), {KT_LABEL_160, 0}, KT_DPI_300, 1626, 5000, {1180, 1920, 59, 50}},
    {TEXT("KT-936U-16"), {KT_LABEL_95, 0}, KT_DPI_400, 975, 5000, {1575, 1536, 63, 40}},
    {TEXT("KT-936U-24"), {KT_LABEL_100, 1}, KT_DPI_600, 1056, 2500, {2360, 2496, 59, 25}},
};
#undef KT_LABEL_VALUES
#undef KT_LABEL_100
#undef KT_LABEL_160
#undef KT_LABEL_95
#undef KT_DPI_203
#undef KT_DPI_300
#undef KT_DPI_400
#undef KT_DPI_600

inline constexpr WORD kPrivateBytes = 53152;    // dmDriverExtra
inline constexpr int kReservedAfterLabels = 12; // run-time values of the rendering library live here
inline constexpr LONG kDefaultSurfaceToPrint = 0;
inline constexpr bool kHasColor = false;
// The user-defined size starts as the standard label's whole-mm size times ten.
inline constexpr bool kCustomSizeFromWholeMm = true;
