// Profile A: the two-head KT-508 family. Every head has its own density, voltage, colour and
// horizontal correction, so the label record is longer than profile B's.
#pragma once

#include "model_types.h"

#define KT_PROFILE_NAME "A"
#define KT_FAMILY_NAME "KT-508"

inline constexpr int kHeadCount = 2;

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
    LONG Density2;
    LONG HeadVoltage1;
    LONG HeadVoltage2;
    DWORD HeadColor1; // 0x00BBGGRR
    DWORD HeadColor2;
    LONG DriverExpand;
    LONG XAdjust1; // 0.1 mm
    LONG XAdjust2;
};
static_assert(sizeof(LABELVALUES) == 92);

// A label as the printer's list and the label file keep it. Byte layout is shared with stored
// records, so it must never change.
struct LABELINFO {
    WCHAR Name[64];
    DWORD Id;
    LONG Width;  // whole mm
    LONG Length; // whole mm
    LABELVALUES Values;
};
static_assert(sizeof(LABELINFO) == 232);
static_assert(offsetof(LABELINFO, Id) == 128 && offsetof(LABELINFO, Width) == 132 &&
              offsetof(LABELINFO, Values.Gap) == 140);
static_assert(offsetof(LABELINFO, Values.Copies) == 160 && offsetof(LABELINFO, Values.Rotation) == 164);
static_assert(offsetof(LABELINFO, Values.QuantityCommand) == 184 &&
              offsetof(LABELINFO, Values.Density1) == 196);
static_assert(offsetof(LABELINFO, Values.Density2) == 200 && offsetof(LABELINFO, Values.HeadVoltage1) == 204);
static_assert(offsetof(LABELINFO, Values.HeadVoltage2) == 208 &&
              offsetof(LABELINFO, Values.HeadColor1) == 212);
static_assert(offsetof(LABELINFO, Values.HeadColor2) == 216 &&
              offsetof(LABELINFO, Values.DriverExpand) == 220);
static_assert(offsetof(LABELINFO, Values.XAdjust1) == 224 && offsetof(LABELINFO, Values.XAdjust2) == 228);

// One printer variant's standard label.
struct MODELINFO {
    WCHAR Name[64];
    DWORD Id;
    LONG Width;     // 0.1 mm
    LONG Length;    // 0.1 mm
    LONG MediaCode; // what the printer reports for a tray holding this label
    LABELVALUES Values;
};
static_assert(sizeof(MODELINFO) == 236);
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

#define KT_STANDARD_LABEL_VALUES                                                                             \
    { 30, 0, 0, 0, 0, 1, 0, 0, 3, 1, 0, 0, 0, 2, 15, 15, 5, 5, 0x000000, 0x0000FF, 0, 0, 0 }

inline constexpr VARIANTINFO kVariants[] = {
    {TEXT("KT-508W"),
     {TEXT("標準ﾗﾍﾞﾙ(160x80)"), 257, 1600, 800, 0, KT_STANDARD_LABEL_VALUES},
     {TEXT("305 dpi"), 305, 305, 431, 64037},
     1600,
     5000,
     {1200, 1920, 60, 50}},
    {TEXT("KT-508X"),
     {TEXT("標準ﾗﾍﾞﾙ(210x297)"), 257, 2100, 2970, 0, KT_STANDARD_LABEL_VALUES},
     {TEXT("305 dpi"), 305, 305, 431, 64037},
     2133,
     5000,
     {1200, 2560, 60, 50}},
};
#undef KT_STANDARD_LABEL_VALUES

// Public-record facts that differ between the profiles.
inline constexpr WORD kPrivateBytes = 58168;    // dmDriverExtra
inline constexpr int kReservedAfterLabels = 28; // run-time values of the rendering library live here
inline constexpr LONG kDefaultSurfaceToPrint = 3;
inline constexpr bool kHasColor = true;
// The user-defined size starts as the standard label's size in 0.1 mm.
inline constexpr bool kCustomSizeFromWholeMm = false;
