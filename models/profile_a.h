// Profile A: the two-head KT-508 family. Every head has its own density, voltage, colour and
// horizontal correction, so the label record is longer than profile B's.
#pragma once

#include "model_types.h"

#define KT_PROFILE_NAME "A"
#define KT_FAMILY_NAME "KT-508"

inline constexpr int kHeadCount = 2;

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
    LONG Density2;
    LONG HeadVoltage1;
    LONG HeadVoltage2;
    DWORD HeadColor1; // 0x00BBGGRR
    DWORD HeadColor2;
    LONG DriverExpand;
    LONG XAdjust1;
    LONG XAdjust2;
};
static_assert(sizeof(LABELINFO) == 232);
static_assert(offsetof(LABELINFO, Id) == 128 && offsetof(LABELINFO, Width) == 132 &&
              offsetof(LABELINFO, Gap) == 140);
static_assert(offsetof(LABELINFO, Copies) == 160 && offsetof(LABELINFO, Rotation) == 164);
static_assert(offsetof(LABELINFO, QuantityCommand) == 184 && offsetof(LABELINFO, Density1) == 196);
static_assert(offsetof(LABELINFO, Density2) == 200 && offsetof(LABELINFO, HeadVoltage1) == 204);
static_assert(offsetof(LABELINFO, HeadVoltage2) == 208 && offsetof(LABELINFO, HeadColor1) == 212);
static_assert(offsetof(LABELINFO, HeadColor2) == 216 && offsetof(LABELINFO, DriverExpand) == 220);
static_assert(offsetof(LABELINFO, XAdjust1) == 224 && offsetof(LABELINFO, XAdjust2) == 228);

// One printer variant with its standard label.
struct MODELINFO {
    WCHAR Name[64]; // the standard label's name
    DWORD Id;
    LONG Width;  // 0.1 mm
    LONG Length; // 0.1 mm
    LONG MediaCode;
    LONG Gap; // Gap .. XAdjust2 in LABELINFO order
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
    LONG Density2;
    LONG HeadVoltage1;
    LONG HeadVoltage2;
    DWORD HeadColor1;
    DWORD HeadColor2;
    LONG DriverExpand;
    LONG XAdjust1;
    LONG XAdjust2;
};
static_assert(sizeof(MODELINFO) == 236);
static_assert(offsetof(MODELINFO, MediaCode) == 140 && offsetof(MODELINFO, Gap) == 144);
static_assert(sizeof(MODELINFO) - offsetof(MODELINFO, Gap) == sizeof(LABELINFO) - offsetof(LABELINFO, Gap),
              "the model's label values are copied into a label as one block");

// Per variant: printer name to look for in the driver name, standard label, resolution, largest label.
struct VARIANTINFO {
    WCHAR VariantName[16];
    MODELINFO Model;
    RESOLUTIONINFO Resolution;
    LONG MaxWidth;  // 0.1 mm
    LONG MaxLength; // 0.1 mm
};

#define KT_STANDARD_LABEL_VALUES                                                                             \
    0, 30, 0, 0, 0, 0, 1, 0, 0, 3, 1, 0, 0, 0, 2, 15, 15, 5, 5, 0x000000, 0x0000FF, 0, 0, 0

inline constexpr VARIANTINFO kVariants[] = {
    {TEXT("KT-508W"),
     {TEXT("標準ﾗﾍﾞﾙ(160x80)"), 257, 1600, 800, KT_STANDARD_LABEL_VALUES},
     {TEXT("305 dpi"), 305, 305, 431, 64037},
     1600,
     5000},
    {TEXT("KT-508X"),
     {TEXT("標準ﾗﾍﾞﾙ(210x297)"), 257, 2100, 2970, KT_STANDARD_LABEL_VALUES},
     {TEXT("305 dpi"), 305, 305, 431, 64037},
     2133,
     5000},
};
#undef KT_STANDARD_LABEL_VALUES

// Public-record facts that differ between the profiles.
inline constexpr WORD kPrivateBytes = 58168;    // dmDriverExtra
inline constexpr int kReservedAfterLabels = 28; // run-time values of the rendering library live here
inline constexpr LONG kDefaultSurfaceToPrint = 3;
inline constexpr bool kHasColor = true;
// The user-defined size starts as the standard label's size in 0.1 mm.
inline constexpr bool kCustomSizeFromWholeMm = false;
