// Profile B: the one-head KT-936 family at 203, 300, 400 or 600 dpi.
#pragma once

#include "model_types.h"

#define KT_PROFILE_NAME "B"
#define KT_FAMILY_NAME "KT-936"

inline constexpr int kHeadCount = 1;

// A label as the printer's list and the label file keep it. Byte layout is shared with stored
// records, so it must never change.
struct LABELINFO {
    WCHAR Name[64];
    DWORD Id;
    LONG Width;  // whole mm
    LONG Length; // whole mm
    LONG Gap;    // from here on the values a model record carries for its standard label
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
    LONG XAdjust1;
};
static_assert(sizeof(LABELINFO) == 212);
static_assert(offsetof(LABELINFO, Id) == 128 && offsetof(LABELINFO, Width) == 132 &&
              offsetof(LABELINFO, Gap) == 140);
static_assert(offsetof(LABELINFO, Copies) == 160 && offsetof(LABELINFO, Rotation) == 164);
static_assert(offsetof(LABELINFO, QuantityCommand) == 184 && offsetof(LABELINFO, Density1) == 196);
static_assert(offsetof(LABELINFO, HeadVoltage1) == 200 && offsetof(LABELINFO, DriverExpand) == 204);
static_assert(offsetof(LABELINFO, XAdjust1) == 208);

// One printer variant with its standard label.
struct MODELINFO {
    WCHAR Name[64]; // the standard label's name
    DWORD Id;
    LONG Width;  // 0.1 mm
    LONG Length; // 0.1 mm
    LONG MediaCode;
    LONG Gap; // Gap .. XAdjust1 in LABELINFO order
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
    LONG XAdjust1;
    LONG ExpandAllowed; // 0: the driver never expands for this variant, whatever a label file says
};
static_assert(sizeof(MODELINFO) == 220);
static_assert(offsetof(MODELINFO, MediaCode) == 140 && offsetof(MODELINFO, Gap) == 144);
static_assert(offsetof(MODELINFO, ExpandAllowed) - offsetof(MODELINFO, Gap) ==
                  sizeof(LABELINFO) - offsetof(LABELINFO, Gap),
              "the model's label values are copied into a label as one block");

struct VARIANTINFO {
    WCHAR VariantName[16];
    MODELINFO Model;
    RESOLUTIONINFO Resolution;
    LONG MaxWidth;  // 0.1 mm
    LONG MaxLength; // 0.1 mm
};

#define KT_LABEL_VALUES 0, 30, 0, 0, 0, 0, 1, 0, 0, 3, 1, 0, 0, 0, 2, 5, 5, 0, 0
#define KT_LABEL_100 TEXT("標準ﾗﾍﾞﾙ(100x80)"), 257, 1000, 800, KT_LABEL_VALUES
#define KT_LABEL_160 TEXT("標準ﾗﾍﾞﾙ(160x80)"), 257, 1600, 800, KT_LABEL_VALUES
#define KT_LABEL_95 TEXT("標準ﾗﾍﾞﾙ(95x80)"), 257, 950, 800, KT_LABEL_VALUES
#define KT_DPI_203                                                                                           \
    { TEXT("203 dpi"), 203, 203, 287, 64037 }
#define KT_DPI_300                                                                                           \
    { TEXT("300 dpi"), 300, 300, 424, 64037 }
#define KT_DPI_400                                                                                           \
    { TEXT("400 dpi"), 400, 400, 565, 64037 }
#define KT_DPI_600                                                                                           \
    { TEXT("600 dpi"), 600, 600, 849, 64037 }

// The "DISABLE" slots keep the index numbering of installed printers; no real driver name holds them.
inline constexpr VARIANTINFO kVariants[] = {
    {TEXT("DISABLE"), {KT_LABEL_100, 0}, KT_DPI_203, 1040, 5000},
    {TEXT("DISABLE"), {KT_LABEL_160, 0}, KT_DPI_203, 1600, 5000},
    {TEXT("DISABLE"), {KT_LABEL_100, 0}, KT_DPI_300, 1084, 5000},
    {TEXT("DISABLE"), {KT_LABEL_160, 0}, KT_DPI_300, 1626, 5000},
    {TEXT("DISABLE"), {KT_LABEL_95, 0}, KT_DPI_400, 975, 5000},
    {TEXT("KT-936U"), {KT_LABEL_100, 0}, KT_DPI_203, 1040, 5000},
    {TEXT("KT-936U-12"), {KT_LABEL_100, 0}, KT_DPI_300, 1084, 5000},
    {TEXT("DISABLE"), {KT_LABEL_160, 0}, KT_DPI_300, 1626, 5000},
    {TEXT("KT-936U-16"), {KT_LABEL_95, 0}, KT_DPI_400, 975, 5000},
    {TEXT("KT-936U-24"), {KT_LABEL_100, 1}, KT_DPI_600, 1056, 2500},
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
