// The physical device: everything the rendering library knows about one printer device between
// DrvEnablePDEV and DrvDisablePDEV. The engine hands it back as a DHPDEV on every call, so every entry
// point first checks that what it got really is one.
#pragma once

#include <windows.h>
#include <winddi.h>

#include "devmode.h"
#include "halftone.h"
#include "image_sender.h"
#include "output_buffer.h"

inline constexpr WORD kPdevSignature = 0x8940;
inline constexpr int kNameChars = 260;
inline constexpr int kMaxBands = 128;
inline constexpr int kMaxScratch = 5;
inline constexpr int kDefaultFontCount = 3;

// Colour depth classes of the drawing surface, from SurfaceToPrint and ColorOrder.
enum : LONG {
    DEPTH_1BPP = 0,
    DEPTH_GREY = 1,
    DEPTH_RGB = 2,
    DEPTH_BGR = 3,
};

// Bits of the output state word. The page logic owns the header, page-open and page-ended bits, the
// output buffer the other two.
enum : DWORD {
    OUTSTATE_HEADER_SENT = 0x01,
    OUTSTATE_PAGE_OPEN = 0x02,
    OUTSTATE_DATA_WRITTEN = 0x04,
    OUTSTATE_WRITE_FAILED = 0x08,
    OUTSTATE_PAGE_ENDED = 0x10,
    OUTSTATE_IMAGE_SKIPPED = 0x20, // a page's image could not be sent (too large, or no memory for it)
};

enum : DWORD {
    BAND_IN_USE = 0x01,
};

// Drawing flags: how the hooks treat what the engine draws on the grey and 1-bit surfaces.
enum : DWORD {
    DRAW_PATTERN_FILL = 0x01, // the driver fills solid brushes with its own dither patterns
    DRAW_LINE_ART = 0x02,     // lines print black unless they are white
};

// The halftone mode setting (RenderModeB): who picks the stretch mode of colour images.
enum : LONG {
    HTMODE_DRIVER = 0,
    HTMODE_CALLER = 1,
    HTMODE_HALFTONE = 2,
    HTMODE_COLORONCOLOR = 3,
};

struct RENDEROPTIONS {
    LONG Orientation; // 1 portrait, 2 landscape
    LONG DpiX;
    LONG DpiY;
    LONG DpiDiagonal;
    LONG Copies; // replaced by SETCOPYCOUNT
    DWORD FillLimit;
    LONG DepthClass;
    DWORD DrawFlags;
    LONG HalftoneMode;
    HALFTONEPATTERN Halftone1; // builds both pattern sets
    HALFTONEPATTERN Halftone2; // only whether it was taken matters
    COLORADJUSTMENT ColorAdjust;
    LONG OsVersionCode; // the running Windows, asked once when the device is made
};

struct PAGEGEOMETRY {
    LONG PageWidth; // 0.1 mm
    LONG PageHeight;
    LONG PrintableWidth;
    LONG PrintableHeight;
    LONG PageWidthDots;
    LONG PageHeightDots;
    LONG PrintableWidthDots;
    LONG PrintableHeightDots;
    LONG OffsetX; // dots
    LONG OffsetY;
};

struct BANDINGPARAMS {
    LONG MinBands;
    LONG MaxBands;
    LONG RowAlignment;
    LONG OrientationCode; // 17 portrait, 34 landscape turned 90 degrees, 18 turned 270 degrees
};

// Eight 32-bit values per band, as the image sender reads them.
struct BANDRECORD {
    LONG OriginX;
    LONG OriginY;
    LONG Width; // pixels
    LONG Height;
    LONG PageWidth; // pixels
    LONG Rows;      // rows of this band (the last band takes what is left)
    LONG Stride;    // bytes per surface row
    DWORD Flags;
};

struct SCRATCHBUFFER {
    BYTE* Data;
    SIZE_T Size;
};

struct PDEV {
    WORD Signature;
    DWORD Size;
    DRVDEVMODE DevMode;
    DRVDEVMODE* Settings; // every settings read goes through this
    RENDEROPTIONS Options;
    WCHAR PrinterName[kNameChars];
    WCHAR PortName[kNameChars];
    WCHAR DocName[kNameChars];
    PAGEGEOMETRY Geometry;
    BANDINGPARAMS Banding;
    LOGFONTW Fonts[kDefaultFontCount]; // default, variable pitch, fixed pitch
    ULONG DeviceFontCount;
    HANDLE Printer;
    HDEV EngineDevice;
    HPALETTE Palette;
    ULONG PaletteCount;
    ULONG PaletteEntries[256];
    PDEV* Self;
    LONG PagesSinceEnable;
    LONG DocumentPages;
    LONG TotalPages;
    LONG BandCount;
    LONG CurrentBand;
    POINTL BandOrigin;
    LONG PassesLeft; // passes over the bands of a page (one in this system)
    LONG PassesDone;
    BANDRECORD Bands[kMaxBands];
    DWORD OutputState;
    BYTE* Work; // one allocation: two pattern sets, the work area, the output buffer
    SIZE_T WorkSize;
    BYTE* PatternSet1;
    BYTE* PatternSet2;
    BYTE* WorkArea;
    OutputBuffer Out;
    SCRATCHBUFFER Scratch[kMaxScratch];
    IMAGEWORK Image; // planes and turned copies, kept from page to page
    HSURF DeviceSurface;
    HBITMAP Bitmap;
    SURFOBJ* BandSurface; // the locked engine bitmap the engine draws into
    LONG Banded;          // 0: the page is one surface; 1: the engine bands
    LONG SurfaceWhite;    // nonzero: erased at the end of a page, and nothing drawn since
    WORD Suppress;        // nonzero: the document produces no printer bytes
    WORD TrailingSignature;
};

// The device behind a DHPDEV, or nullptr when it is not one of ours (or no longer alive).
PDEV* CheckedPdev(DHPDEV dhpdev);
// The same for the device a surface belongs to.
PDEV* CheckedPdev(const SURFOBJ* pso);

// Stamps the signatures and size and points the settings at the embedded record.
void StampPdev(PDEV* pdev);
// Clears the signatures so that a stale handle fails the check once the memory is released.
void UnstampPdev(PDEV* pdev);

// The selected label: the first of the list whose Id is PaperId, else the first label.
const LABELINFO& SelectedLabel(const DRVDEVMODE* rec);

// The selected label's width and length in 0.1 mm, widened so that no user value overflows.
struct LabelExtent {
    long long Width;
    long long Length;
};
LabelExtent SelectedLabelExtent(const DRVDEVMODE* rec);
