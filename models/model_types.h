// Record types of the model tables. The tables themselves are constant and per profile
// (profile_a.h, profile_b.h); both libraries of a build carry the same copy.
#pragma once

#include <windows.h>

// One entry of a variant's resolution list (each variant has exactly one).
struct RESOLUTIONINFO {
    WCHAR Name[32];
    DWORD DpiX;
    DWORD DpiY;
    DWORD DpiDiagonal; // x * sqrt(2), rounded: what GDI wants as the aspect of a diagonal step
    DWORD IconId;
};

// The print head of a variant, as the image path needs it.
struct HEADINFO {
    LONG DotsPer100mm; // across and along: the printer's own unit (its dpi figure is rounded)
    LONG WidthDots;    // dots across the head
    LONG BlockRows;    // rows of an image block when the image is sent in blocks
    LONG BlockStep;    // Y distance between blocks, 0.1 mm
};

struct INPUTSLOTINFO {
    WCHAR Name[24];
    DWORD BinId;
    DWORD IconId;
};

struct MEDIATYPEINFO {
    WCHAR Name[64];
    DWORD MediaId;
};

// Where the spooler-side features happen (N-up, page order, collation, copies). A device-extension
// field holds an index into Values.
struct HANDLINGSELECTOR {
    DWORD ControlId;
    WORD ValueCount;
    WORD Values[5];
};

enum : WORD {
    HANDLING_NOT_SUPPORTED = 1,
    HANDLING_PRINT_PROCESSOR = 2,
    HANDLING_PRINTER = 3,
};

enum HandlingSelector : int {
    SELECTOR_NUP = 0,
    SELECTOR_PAGE_ORDER = 1,
    SELECTOR_COLLATE = 2,
    SELECTOR_COPIES = 3,
    SELECTOR_COUNT = 4,
};
