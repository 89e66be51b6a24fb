/* The graphics driver interface (DDI). */
#ifndef _WINDDI_
#define _WINDDI_

#include <windows.h>

typedef LONG LDECI4;

typedef struct _CIECHROMA {
    LDECI4 x;
    LDECI4 y;
    LDECI4 Y;
} CIECHROMA;

typedef struct _COLORINFO {
    CIECHROMA Red;
    CIECHROMA Green;
    CIECHROMA Blue;
    CIECHROMA Cyan;
    CIECHROMA Magenta;
    CIECHROMA Yellow;
    CIECHROMA AlignmentWhite;
    LDECI4 RedGamma;
    LDECI4 GreenGamma;
    LDECI4 BlueGamma;
    LDECI4 MagentaInCyanDye;
    LDECI4 YellowInCyanDye;
    LDECI4 CyanInMagentaDye;
    LDECI4 YellowInMagentaDye;
    LDECI4 CyanInYellowDye;
    LDECI4 MagentaInYellowDye;
} COLORINFO, *PCOLORINFO;

typedef struct _DEVHTINFO {
    DWORD HTFlags;
    DWORD HTPatternSize;
    DWORD DevPelsDPI;
    COLORINFO ColorInfo;
} DEVHTINFO, *PDEVHTINFO;

WINSIM_STATIC_ASSERT(sizeof(CIECHROMA) == 12, "CIECHROMA size");
WINSIM_STATIC_ASSERT(offsetof(COLORINFO, RedGamma) == 84, "COLORINFO layout");
WINSIM_STATIC_ASSERT(sizeof(COLORINFO) == 120, "COLORINFO size");
WINSIM_STATIC_ASSERT(offsetof(DEVHTINFO, ColorInfo) == 12, "DEVHTINFO layout");
WINSIM_STATIC_ASSERT(sizeof(DEVHTINFO) == 132, "DEVHTINFO size");

#define HT_FLAG_SQUARE_DEVICE_PEL 0x00000001
#define HT_FLAG_HAS_BLACK_DYE 0x00000002

/* Hatch brushes the engine asks a driver for in DrvEnablePDEV. */
#define HS_DDI_MAX 6
#define HT_FLAG_ADDITIVE_PRIMS 0x00000004
#define HT_FLAG_USE_8BPP_BITMASK 0x00000008
#define HT_FLAG_INK_HIGH_ABSORPTION 0x00000010
#define HT_FLAG_INK_ABSORPTION_INDICES 0x00000060
#define HT_FLAG_DO_DEVCLR_XFORM 0x00000080
#define HT_FLAG_OUTPUT_CMY 0x00000100
#define HT_FLAG_PRINT_DRAFT_MODE 0x00000200
#define HT_FLAG_INVERT_8BPP_BITMASK_IDX 0x00000400
#define HT_FLAG_8BPP_CMY332_MASK 0xFF000000
#define HT_FLAG_INK_ABSORPTION_IDX0 0x00000000
#define HT_FLAG_INK_ABSORPTION_IDX1 0x00000020
#define HT_FLAG_INK_ABSORPTION_IDX2 0x00000040
#define HT_FLAG_INK_ABSORPTION_IDX3 0x00000060
#define HT_FLAG_HIGHEST_INK_ABSORPTION (HT_FLAG_INK_HIGH_ABSORPTION | HT_FLAG_INK_ABSORPTION_IDX3)
#define HT_FLAG_HIGHER_INK_ABSORPTION (HT_FLAG_INK_HIGH_ABSORPTION | HT_FLAG_INK_ABSORPTION_IDX2)
#define HT_FLAG_HIGH_INK_ABSORPTION (HT_FLAG_INK_HIGH_ABSORPTION | HT_FLAG_INK_ABSORPTION_IDX1)
#define HT_FLAG_NORMAL_INK_ABSORPTION HT_FLAG_INK_ABSORPTION_IDX0
#define HT_FLAG_LOW_INK_ABSORPTION HT_FLAG_INK_ABSORPTION_IDX1
#define HT_FLAG_LOWER_INK_ABSORPTION HT_FLAG_INK_ABSORPTION_IDX2
#define HT_FLAG_LOWEST_INK_ABSORPTION HT_FLAG_INK_ABSORPTION_IDX3

/* Scalar and handle types of the driver interface (FLONG is in winnt.h, as in mingw-w64). */
typedef USHORT FSHORT;
typedef SHORT FWORD;
typedef FLOAT FLOATL; /* x86-64: the engine hands floating-point values as they are */
typedef LONG FIX;
typedef ULONG ROP4;
typedef ULONG MIX;
typedef ULONG HGLYPH;
typedef LONG PTRDIFF;

/* A driver function as the table holds it; the engine calls it with its own signature. */
typedef LONG_PTR(APIENTRY* PFN)();

DECLARE_HANDLE(HBM);
DECLARE_HANDLE(HDEV);
DECLARE_HANDLE(HSURF);
DECLARE_HANDLE(DHSURF);
DECLARE_HANDLE(DHPDEV);

#define DDI_DRIVER_VERSION_NT4 0x00020000
#define DDI_DRIVER_VERSION_SP3 0x00020003
#define DDI_DRIVER_VERSION_NT5 0x00030000
#define DDI_DRIVER_VERSION_NT5_01 0x00030100
#define DDI_DRIVER_VERSION_NT5_01_SP1 0x00030101
#define GDI_DRIVER_VERSION 0x4000

#define FD_ERROR 0xFFFFFFFF

/* DrvDitherColor results. */
#define DCR_SOLID 0
#define DCR_DRIVER 1
#define DCR_HALFTONE 2

/* DrvRealizeBrush.iHatch: a dither colour rather than a hatch. */
#define RB_DITHERCOLOR 0x80000000

/* Fill modes of EngFillPath. */
#define FP_ALTERNATEMODE 1
#define FP_WINDINGMODE 2
#define DDI_ERROR 0xFFFFFFFF

typedef struct _POINTFIX {
    FIX x;
    FIX y;
} POINTFIX, *PPOINTFIX;

typedef union _FLOAT_LONG {
    FLOATL e;
    LONG l;
} FLOAT_LONG, *PFLOAT_LONG;

typedef struct _POINTQF {
    LARGE_INTEGER x;
    LARGE_INTEGER y;
} POINTQF, *PPOINTQF;

typedef struct _BLENDOBJ {
    BLENDFUNCTION BlendFunction;
} BLENDOBJ, *PBLENDOBJ;

/* BRUSHOBJ.flColorType */
#define BR_DEVICE_ICM 0x01
#define BR_HOST_ICM 0x02
#define BR_CMYKCOLOR 0x04
#define BR_ORIGCOLOR 0x08

typedef struct _BRUSHOBJ {
    ULONG iSolidColor;
    PVOID pvRbrush;
    FLONG flColorType;
} BRUSHOBJ;

/* CLIPOBJ.iDComplexity, iFComplexity, iMode, fjOptions */
#define DC_TRIVIAL 0
#define DC_RECT 1
#define DC_COMPLEX 3
#define FC_RECT 1
#define FC_RECT4 2
#define FC_COMPLEX 3
#define TC_RECTANGLES 0
#define TC_PATHOBJ 2
#define OC_BANK_CLIP 1

typedef struct _CLIPOBJ {
    ULONG iUniq;
    RECTL rclBounds;
    BYTE iDComplexity;
    BYTE iFComplexity;
    BYTE iMode;
    BYTE fjOptions;
} CLIPOBJ;

typedef struct _ENUMRECTS {
    ULONG c;
    RECTL arcl[1];
} ENUMRECTS;

/* CLIPOBJ_cEnumStart */
#define CT_RECTANGLES 0
#define CD_RIGHTDOWN 0x00000000
#define CD_LEFTDOWN 0x00000001
#define CD_RIGHTUP 0x00000002
#define CD_LEFTUP 0x00000003
#define CD_ANY 0x00000004

/* XLATEOBJ.flXlate, XLATEOBJ_cGetPalette */
#define XO_TRIVIAL 0x00000001
#define XO_TABLE 0x00000002
#define XO_TO_MONO 0x00000004
#define XO_FROM_CMYK 0x00000008
#define XO_DEVICE_ICM 0x00000010
#define XO_HOST_ICM 0x00000020
#define XO_SRCPALETTE 1
#define XO_DESTPALETTE 2
#define XO_DESTDCPALETTE 3
#define XO_SRCBITFIELDS 4
#define XO_DESTBITFIELDS 5

typedef struct _XLATEOBJ {
    ULONG iUniq;
    FLONG flXlate;
    USHORT iSrcType;
    USHORT iDstType;
    ULONG cEntries;
    ULONG* pulXlate;
} XLATEOBJ;

typedef struct _RECTFX {
    FIX xLeft;
    FIX yTop;
    FIX xRight;
    FIX yBottom;
} RECTFX, *PRECTFX;

/* PATHDATA.flags, PATHOBJ.fl */
#define PD_BEGINSUBPATH 0x00000001
#define PD_ENDSUBPATH 0x00000002
#define PD_RESETSTYLE 0x00000004
#define PD_CLOSEFIGURE 0x00000008
#define PD_BEZIERS 0x00000010
#define PO_BEZIERS 0x00000001
#define PO_ELLIPSE 0x00000002
#define PO_ALL_INTEGERS 0x00000004
#define PO_ENUM_AS_INTEGERS 0x00000008

typedef struct _PATHDATA {
    FLONG flags;
    ULONG count;
    POINTFIX* pptfx;
} PATHDATA, *PPATHDATA;

typedef struct _PATHOBJ {
    FLONG fl;
    ULONG cCurves;
} PATHOBJ;

typedef struct _XFORMOBJ {
    ULONG ulReserved;
} XFORMOBJ;

typedef struct _LINEATTRS {
    FLONG fl;
    ULONG iJoin;
    ULONG iEndCap;
    FLOAT_LONG elWidth;
    FLOATL eMiterLimit;
    ULONG cstyle;
    PFLOAT_LONG pstyle;
    FLOAT_LONG elStyleState;
} LINEATTRS, *PLINEATTRS;

typedef struct _GLYPHBITS {
    POINTL ptlOrigin;
    SIZEL sizlBitmap;
    BYTE aj[1];
} GLYPHBITS;

typedef union _GLYPHDEF {
    GLYPHBITS* pgb;
    PATHOBJ* ppo;
} GLYPHDEF;

typedef struct _GLYPHPOS {
    HGLYPH hg;
    GLYPHDEF* pgdf;
    POINTL ptl;
} GLYPHPOS, *PGLYPHPOS;

typedef struct _GLYPHDATA {
    GLYPHDEF gdf;
    HGLYPH hg;
    FIX fxD;
    FIX fxA;
    FIX fxAB;
    FIX fxInkTop;
    FIX fxInkBottom;
    RECTL rclInk;
    POINTQF ptqD;
} GLYPHDATA;

/* LINEATTRS.fl */
#define LA_GEOMETRIC 0x00000001
#define LA_ALTERNATE 0x00000002
#define LA_STARTGAP 0x00000004
#define LA_STYLED 0x00000008

/* STROBJ.flAccel */
#define SO_FLAG_DEFAULT_PLACEMENT 0x00000001
#define SO_HORIZONTAL 0x00000002
#define SO_VERTICAL 0x00000004
#define SO_REVERSED 0x00000008
#define SO_ZERO_BEARINGS 0x00000010
#define SO_CHAR_INC_EQUAL_BM_BASE 0x00000020
#define SO_MAXEXT_EQUAL_BM_SIDE 0x00000040

typedef struct _STROBJ {
    ULONG cGlyphs;
    FLONG flAccel;
    ULONG ulCharInc;
    RECTL rclBkGround;
    GLYPHPOS* pgp;
    LPWSTR pwszOrg;
} STROBJ;

typedef struct _FONTOBJ {
    ULONG iUniq;
    ULONG iFace;
    ULONG cxMax;
    FLONG flFontType;
    ULONG_PTR iTTUniq;
    ULONG_PTR iFile;
    SIZE sizLogResPpi;
    ULONG ulStyleSize;
    PVOID pvConsumer;
    PVOID pvProducer;
} FONTOBJ;

/* Font metrics the engine asks a font driver for; this driver has no fonts and never fills one. */
typedef struct _IFIMETRICS IFIMETRICS, *PIFIMETRICS;

typedef struct _SURFOBJ {
    DHSURF dhsurf;
    HSURF hsurf;
    DHPDEV dhpdev;
    HDEV hdev;
    SIZEL sizlBitmap;
    ULONG cjBits;
    PVOID pvBits;
    PVOID pvScan0;
    LONG lDelta;
    ULONG iUniq;
    ULONG iBitmapFormat;
    USHORT iType;
    USHORT fjBitmap;
} SURFOBJ;

typedef struct _DEVINFO {
    FLONG flGraphicsCaps;
    LOGFONTW lfDefaultFont;
    LOGFONTW lfAnsiVarFont;
    LOGFONTW lfAnsiFixFont;
    ULONG cFonts;
    ULONG iDitherFormat;
    USHORT cxDither;
    USHORT cyDither;
    HPALETTE hpalDefault;
    FLONG flGraphicsCaps2;
} DEVINFO, *PDEVINFO;

typedef struct _GDIINFO {
    ULONG ulVersion;
    ULONG ulTechnology;
    ULONG ulHorzSize;
    ULONG ulVertSize;
    ULONG ulHorzRes;
    ULONG ulVertRes;
    ULONG cBitsPixel;
    ULONG cPlanes;
    ULONG ulNumColors;
    ULONG flRaster;
    ULONG ulLogPixelsX;
    ULONG ulLogPixelsY;
    ULONG flTextCaps;
    ULONG ulDACRed;
    ULONG ulDACGreen;
    ULONG ulDACBlue;
    ULONG ulAspectX;
    ULONG ulAspectY;
    ULONG ulAspectXY;
    LONG xStyleStep;
    LONG yStyleStep;
    LONG denStyleStep;
    POINTL ptlPhysOffset;
    SIZEL szlPhysSize;
    ULONG ulNumPalReg;
    COLORINFO ciDevice;
    ULONG ulDevicePelsDPI;
    ULONG ulPrimaryOrder;
    ULONG ulHTPatternSize;
    ULONG ulHTOutputFormat;
    ULONG flHTFlags;
    ULONG ulVRefresh;
    ULONG ulBltAlignment;
    ULONG ulPanningHorzRes;
    ULONG ulPanningVertRes;
    ULONG xPanningAlignment;
    ULONG yPanningAlignment;
    ULONG cxHTPat;
    ULONG cyHTPat;
    LPBYTE pHTPatA;
    LPBYTE pHTPatB;
    LPBYTE pHTPatC;
    ULONG flShadeBlend;
    ULONG ulPhysicalPixelCharacteristics;
    ULONG ulPhysicalPixelGamma;
} GDIINFO, *PGDIINFO;

typedef struct _DRVFN {
    ULONG iFunc;
    PFN pfn;
} DRVFN, *PDRVFN;

typedef struct _DRVENABLEDATA {
    ULONG iDriverVersion;
    ULONG c;
    DRVFN* pdrvfn;
} DRVENABLEDATA, *PDRVENABLEDATA;

/* The same sizes and offsets as mingw-w64's 64-bit records. */
WINSIM_STATIC_ASSERT(offsetof(GDIINFO, ciDevice) == 108 && offsetof(GDIINFO, ulDevicePelsDPI) == 228,
                     "GDIINFO");
WINSIM_STATIC_ASSERT(offsetof(GDIINFO, pHTPatA) == 280 && offsetof(GDIINFO, flShadeBlend) == 304, "GDIINFO");
WINSIM_STATIC_ASSERT(sizeof(GDIINFO) == 320, "GDIINFO size");
WINSIM_STATIC_ASSERT(offsetof(DEVINFO, lfDefaultFont) == 4 && offsetof(DEVINFO, cFonts) == 280, "DEVINFO");
WINSIM_STATIC_ASSERT(offsetof(DEVINFO, cxDither) == 288 && offsetof(DEVINFO, hpalDefault) == 296, "DEVINFO");
WINSIM_STATIC_ASSERT(offsetof(DEVINFO, flGraphicsCaps2) == 304 && sizeof(DEVINFO) == 312, "DEVINFO size");
WINSIM_STATIC_ASSERT(offsetof(SURFOBJ, sizlBitmap) == 32 && offsetof(SURFOBJ, cjBits) == 40, "SURFOBJ");
WINSIM_STATIC_ASSERT(offsetof(SURFOBJ, pvBits) == 48 && offsetof(SURFOBJ, lDelta) == 64, "SURFOBJ");
WINSIM_STATIC_ASSERT(offsetof(SURFOBJ, iType) == 76 && sizeof(SURFOBJ) == 80, "SURFOBJ size");
WINSIM_STATIC_ASSERT(sizeof(DRVFN) == 16 && sizeof(DRVENABLEDATA) == 16, "DRVFN, DRVENABLEDATA");
WINSIM_STATIC_ASSERT(sizeof(BRUSHOBJ) == 24 && sizeof(CLIPOBJ) == 24 && sizeof(XLATEOBJ) == 24, "objects");
WINSIM_STATIC_ASSERT(sizeof(STROBJ) == 48 && sizeof(FONTOBJ) == 64 && sizeof(LINEATTRS) == 40, "objects");
WINSIM_STATIC_ASSERT(sizeof(ENUMRECTS) == 20 && sizeof(PATHDATA) == 16 && sizeof(RECTFX) == 16, "objects");
WINSIM_STATIC_ASSERT(sizeof(PATHOBJ) == 8 && sizeof(BLENDOBJ) == 4 && sizeof(GLYPHDATA) == 64, "objects");

/* Function indices of the driver function table. */
#define INDEX_DrvEnablePDEV 0
#define INDEX_DrvCompletePDEV 1
#define INDEX_DrvDisablePDEV 2
#define INDEX_DrvEnableSurface 3
#define INDEX_DrvDisableSurface 4
#define INDEX_DrvAssertMode 5
#define INDEX_DrvOffset 6
#define INDEX_DrvResetPDEV 7
#define INDEX_DrvDisableDriver 8
#define INDEX_DrvCreateDeviceBitmap 10
#define INDEX_DrvDeleteDeviceBitmap 11
#define INDEX_DrvRealizeBrush 12
#define INDEX_DrvDitherColor 13
#define INDEX_DrvStrokePath 14
#define INDEX_DrvFillPath 15
#define INDEX_DrvStrokeAndFillPath 16
#define INDEX_DrvPaint 17
#define INDEX_DrvBitBlt 18
#define INDEX_DrvCopyBits 19
#define INDEX_DrvStretchBlt 20
#define INDEX_DrvSetPalette 22
#define INDEX_DrvTextOut 23
#define INDEX_DrvEscape 24
#define INDEX_DrvDrawEscape 25
#define INDEX_DrvQueryFont 26
#define INDEX_DrvQueryFontTree 27
#define INDEX_DrvQueryFontData 28
#define INDEX_DrvSetPointerShape 29
#define INDEX_DrvMovePointer 30
#define INDEX_DrvLineTo 31
#define INDEX_DrvSendPage 32
#define INDEX_DrvStartPage 33
#define INDEX_DrvEndDoc 34
#define INDEX_DrvStartDoc 35
#define INDEX_DrvGetGlyphMode 37
#define INDEX_DrvSynchronize 38
#define INDEX_DrvSaveScreenBits 40
#define INDEX_DrvGetModes 41
#define INDEX_DrvFree 42
#define INDEX_DrvDestroyFont 43
#define INDEX_DrvQueryFontCaps 44
#define INDEX_DrvLoadFontFile 45
#define INDEX_DrvUnloadFontFile 46
#define INDEX_DrvFontManagement 47
#define INDEX_DrvQueryTrueTypeTable 48
#define INDEX_DrvQueryTrueTypeOutline 49
#define INDEX_DrvGetTrueTypeFile 50
#define INDEX_DrvQueryFontFile 51
#define INDEX_DrvMovePanning 52
#define INDEX_DrvQueryAdvanceWidths 53
#define INDEX_DrvSetPixelFormat 54
#define INDEX_DrvDescribePixelFormat 55
#define INDEX_DrvSwapBuffers 56
#define INDEX_DrvStartBanding 57
#define INDEX_DrvNextBand 58
#define INDEX_DrvGetDirectDrawInfo 59
#define INDEX_DrvEnableDirectDraw 60
#define INDEX_DrvDisableDirectDraw 61
#define INDEX_DrvQuerySpoolType 62
#define INDEX_DrvIcmCreateColorTransform 64
#define INDEX_DrvIcmDeleteColorTransform 65
#define INDEX_DrvIcmCheckBitmapBits 66
#define INDEX_DrvIcmSetDeviceGammaRamp 67
#define INDEX_DrvGradientFill 68
#define INDEX_DrvStretchBltROP 69
#define INDEX_DrvPlgBlt 70
#define INDEX_DrvAlphaBlend 71
#define INDEX_DrvSynthesizeFont 72
#define INDEX_DrvGetSynthesizedFontFiles 73
#define INDEX_DrvTransparentBlt 74
#define INDEX_DrvQueryPerBandInfo 75
#define INDEX_DrvQueryDeviceSupport 76
#define INDEX_DrvDeriveSurface 85
#define INDEX_DrvQueryGlyphAttrs 86
#define INDEX_DrvNotify 87
#define INDEX_DrvSynchronizeSurface 88
#define INDEX_DrvResetDevice 89
#define INDEX_LAST 93

/* DEVINFO.flGraphicsCaps */
#define GCAPS_BEZIERS 0x00000001
#define GCAPS_GEOMETRICWIDE 0x00000002
#define GCAPS_ALTERNATEFILL 0x00000004
#define GCAPS_WINDINGFILL 0x00000008
#define GCAPS_HALFTONE 0x00000010
#define GCAPS_COLOR_DITHER 0x00000020
#define GCAPS_HORIZSTRIKE 0x00000040
#define GCAPS_VERTSTRIKE 0x00000080
#define GCAPS_OPAQUERECT 0x00000100
#define GCAPS_VECTORFONT 0x00000200
#define GCAPS_MONO_DITHER 0x00000400
#define GCAPS_ASYNCCHANGE 0x00000800
#define GCAPS_ASYNCMOVE 0x00001000
#define GCAPS_DONTJOURNAL 0x00002000
#define GCAPS_DIRECTDRAW 0x00004000
#define GCAPS_ARBRUSHOPAQUE 0x00008000
#define GCAPS_PANNING 0x00010000
#define GCAPS_HIGHRESTEXT 0x00040000
#define GCAPS_PALMANAGED 0x00080000
#define GCAPS_DITHERONREALIZE 0x00200000
#define GCAPS_NO64BITMEMACCESS 0x00400000
#define GCAPS_FORCEDITHER 0x00800000
#define GCAPS_GRAY16 0x01000000
#define GCAPS_ICM 0x02000000
#define GCAPS_CMYKCOLOR 0x04000000
#define GCAPS_LAYERED 0x08000000
#define GCAPS_ARBRUSHTEXT 0x10000000
#define GCAPS_SCREENPRECISION 0x20000000
#define GCAPS_FONT_RASTERIZER 0x40000000
#define GCAPS_NUP 0x80000000

/* Bitmap formats: DEVINFO.iDitherFormat, SURFOBJ.iBitmapFormat, EngCreateBitmap. */
#define BMF_1BPP 1
#define BMF_4BPP 2
#define BMF_8BPP 3
#define BMF_16BPP 4
#define BMF_24BPP 5
#define BMF_32BPP 6
#define BMF_4RLE 7
#define BMF_8RLE 8
#define BMF_JPEG 9
#define BMF_PNG 10

/* SURFOBJ.fjBitmap and EngCreateBitmap flags. */
#define BMF_TOPDOWN 0x0001
#define BMF_NOZEROINIT 0x0002
#define BMF_DONTCACHE 0x0004
#define BMF_USERMEM 0x0008
#define BMF_KMSECTION 0x0010
#define BMF_NOTSYSMEM 0x0020
#define BMF_WINDOW_BLT 0x0040
#define BMF_UMPDMEM 0x0080
#define BMF_RESERVED 0xFF00

/* SURFOBJ.iType */
#define STYPE_BITMAP 0
#define STYPE_DEVICE 1
#define STYPE_DEVBITMAP 3

/* GDIINFO.ulHTOutputFormat */
#define HT_FORMAT_1BPP 0
#define HT_FORMAT_4BPP 2
#define HT_FORMAT_4BPP_IRGB 3
#define HT_FORMAT_8BPP 4
#define HT_FORMAT_16BPP 5
#define HT_FORMAT_24BPP 6
#define HT_FORMAT_32BPP 7

/* GDIINFO.ulHTPatternSize */
#define HT_PATSIZE_2x2 0
#define HT_PATSIZE_2x2_M 1
#define HT_PATSIZE_4x4 2
#define HT_PATSIZE_4x4_M 3
#define HT_PATSIZE_6x6 4
#define HT_PATSIZE_6x6_M 5
#define HT_PATSIZE_8x8 6
#define HT_PATSIZE_8x8_M 7
#define HT_PATSIZE_10x10 8
#define HT_PATSIZE_10x10_M 9
#define HT_PATSIZE_12x12 10
#define HT_PATSIZE_12x12_M 11
#define HT_PATSIZE_14x14 12
#define HT_PATSIZE_14x14_M 13
#define HT_PATSIZE_16x16 14
#define HT_PATSIZE_16x16_M 15
#define HT_PATSIZE_SUPERCELL 16
#define HT_PATSIZE_SUPERCELL_M 17
#define HT_PATSIZE_USER 18
#define HT_PATSIZE_DEFAULT HT_PATSIZE_SUPERCELL_M

/* EngAssociateSurface hooks. */
#define HOOK_BITBLT 0x00000001
#define HOOK_STRETCHBLT 0x00000002
#define HOOK_PLGBLT 0x00000004
#define HOOK_TEXTOUT 0x00000008
#define HOOK_PAINT 0x00000010
#define HOOK_STROKEPATH 0x00000020
#define HOOK_FILLPATH 0x00000040
#define HOOK_STROKEANDFILLPATH 0x00000080
#define HOOK_LINETO 0x00000100
#define HOOK_COPYBITS 0x00000400
#define HOOK_MOVEPANNING 0x00000800
#define HOOK_SYNCHRONIZE 0x00001000
#define HOOK_STRETCHBLTROP 0x00002000
#define HOOK_SYNCHRONIZEACCESS 0x00004000
#define HOOK_TRANSPARENTBLT 0x00008000
#define HOOK_ALPHABLEND 0x00010000
#define HOOK_GRADIENTFILL 0x00020000
#define HOOK_FLAGS 0x0003b5ff

/* EngCreatePalette modes. */
#define PAL_INDEXED 0x00000001
#define PAL_BITFIELDS 0x00000002
#define PAL_RGB 0x00000004
#define PAL_BGR 0x00000008
#define PAL_CMYK 0x00000010

/* DrvQueryDriverInfo */
#define DRVQUERY_USERMODE 0x00000001

/* DrvGetGlyphMode */
#define FO_HGLYPHS 0
#define FO_GLYPHBITS 1
#define FO_PATHOBJ 2

/* DrvQueryFontTree modes. */
#define QFT_UNICODE 0
#define QFT_LIGATURES 1
#define QFT_KERNPAIRS 2
#define QFT_GLYPHSET 3

/* DrvQueryFontData modes. */
#define QFD_GLYPHANDBITMAP 1
#define QFD_GLYPHANDOUTLINE 2
#define QFD_MAXEXTENTS 3

/* DrvEndDoc */
#define ED_ABORTDOC 0x00000001

WINSIM_EXTERN_C_BEGIN

/* The graphics engine's services that a user-mode printer driver calls (gdi32.dll on Windows). */
WINGDIAPI HBITMAP APIENTRY EngCreateBitmap(SIZEL sizl, LONG lWidth, ULONG iFormat, FLONG fl, PVOID pvBits);
WINGDIAPI HSURF APIENTRY EngCreateDeviceSurface(DHSURF dhsurf, SIZEL sizl, ULONG iFormatCompat);
WINGDIAPI WINBOOL APIENTRY EngAssociateSurface(HSURF hsurf, HDEV hdev, FLONG flHooks);
WINGDIAPI SURFOBJ* APIENTRY EngLockSurface(HSURF hsurf);
WINGDIAPI VOID APIENTRY EngUnlockSurface(SURFOBJ* pso);
WINGDIAPI WINBOOL APIENTRY EngDeleteSurface(HSURF hsurf);
WINGDIAPI WINBOOL APIENTRY EngMarkBandingSurface(HSURF hsurf);
WINGDIAPI WINBOOL APIENTRY EngEraseSurface(SURFOBJ* pso, RECTL* prcl, ULONG iColor);
WINGDIAPI HPALETTE APIENTRY EngCreatePalette(ULONG iMode, ULONG cColors, ULONG* pulColors, FLONG flRed,
                                             FLONG flGreen, FLONG flBlue);
WINGDIAPI WINBOOL APIENTRY EngDeletePalette(HPALETTE hpal);

/* Services on the objects the engine hands a driver. */
WINGDIAPI PVOID APIENTRY BRUSHOBJ_pvAllocRbrush(BRUSHOBJ* pbo, ULONG cj);
WINGDIAPI PVOID APIENTRY BRUSHOBJ_pvGetRbrush(BRUSHOBJ* pbo);
WINGDIAPI ULONG APIENTRY CLIPOBJ_cEnumStart(CLIPOBJ* pco, WINBOOL bAll, ULONG iType, ULONG iDirection,
                                            ULONG cLimit);
WINGDIAPI WINBOOL APIENTRY CLIPOBJ_bEnum(CLIPOBJ* pco, ULONG cj, ULONG* pv);
WINGDIAPI VOID APIENTRY STROBJ_vEnumStart(STROBJ* pstro);
WINGDIAPI WINBOOL APIENTRY STROBJ_bEnum(STROBJ* pstro, ULONG* pc, PGLYPHPOS* ppgpos);
WINGDIAPI ULONG APIENTRY XLATEOBJ_cGetPalette(XLATEOBJ* pxlo, ULONG iPal, ULONG cPal, ULONG* pPal);

WINGDIAPI WINBOOL APIENTRY EngBitBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco,
                                     XLATEOBJ* pxlo, RECTL* prclTrg, POINTL* pptlSrc, POINTL* pptlMask,
                                     BRUSHOBJ* pbo, POINTL* pptlBrush, ROP4 rop4);
WINGDIAPI WINBOOL APIENTRY EngStretchBlt(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco,
                                         XLATEOBJ* pxlo, COLORADJUSTMENT* pca, POINTL* pptlHTOrg,
                                         RECTL* prclDest, RECTL* prclSrc, POINTL* pptlMask, ULONG iMode);
WINGDIAPI WINBOOL APIENTRY EngStretchBltROP(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco,
                                            XLATEOBJ* pxlo, COLORADJUSTMENT* pca, POINTL* pptlHTOrg,
                                            RECTL* prclDest, RECTL* prclSrc, POINTL* pptlMask, ULONG iMode,
                                            BRUSHOBJ* pbo, DWORD rop4);
WINGDIAPI WINBOOL APIENTRY EngCopyBits(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo,
                                       RECTL* prclDest, POINTL* pptlSrc);
WINGDIAPI WINBOOL APIENTRY EngPlgBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMsk, CLIPOBJ* pco,
                                     XLATEOBJ* pxlo, COLORADJUSTMENT* pca, POINTL* pptlBrushOrg,
                                     POINTFIX* pptfx, RECTL* prcl, POINTL* pptl, ULONG iMode);
WINGDIAPI WINBOOL APIENTRY EngAlphaBlend(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo,
                                         RECTL* prclDest, RECTL* prclSrc, BLENDOBJ* pBlendObj);
WINGDIAPI WINBOOL APIENTRY EngTransparentBlt(SURFOBJ* psoDst, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo,
                                             RECTL* prclDst, RECTL* prclSrc, ULONG iTransColor,
                                             ULONG ulReserved);
WINGDIAPI WINBOOL APIENTRY EngGradientFill(SURFOBJ* psoDest, CLIPOBJ* pco, XLATEOBJ* pxlo, TRIVERTEX* pVertex,
                                           ULONG nVertex, PVOID pMesh, ULONG nMesh, RECTL* prclExtents,
                                           POINTL* pptlDitherOrg, ULONG ulMode);
WINGDIAPI WINBOOL APIENTRY EngLineTo(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, LONG x1, LONG y1, LONG x2,
                                     LONG y2, RECTL* prclBounds, MIX mix);
WINGDIAPI WINBOOL APIENTRY EngStrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo,
                                         BRUSHOBJ* pbo, POINTL* pptlBrushOrg, LINEATTRS* plineattrs, MIX mix);
WINGDIAPI WINBOOL APIENTRY EngFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, BRUSHOBJ* pbo,
                                       POINTL* pptlBrushOrg, MIX mix, FLONG flOptions);
WINGDIAPI WINBOOL APIENTRY EngStrokeAndFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo,
                                                BRUSHOBJ* pboStroke, LINEATTRS* plineattrs, BRUSHOBJ* pboFill,
                                                POINTL* pptlBrushOrg, MIX mixFill, FLONG flOptions);
WINGDIAPI WINBOOL APIENTRY EngPaint(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* pptlBrushOrg, MIX mix);
WINGDIAPI WINBOOL APIENTRY EngTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco,
                                      RECTL* prclExtra, RECTL* prclOpaque, BRUSHOBJ* pboFore,
                                      BRUSHOBJ* pboOpaque, POINTL* pptlOrg, MIX mix);

/* The driver's side: the functions a printer graphics driver defines and exports. */
WINBOOL APIENTRY DrvEnableDriver(ULONG iEngineVersion, ULONG cj, DRVENABLEDATA* pded);
WINBOOL APIENTRY DrvQueryDriverInfo(DWORD dwMode, PVOID pBuffer, DWORD cbBuf, PDWORD pcbNeeded);
VOID APIENTRY DrvDisableDriver(VOID);
DHPDEV APIENTRY DrvEnablePDEV(DEVMODEW* pdm, LPWSTR pwszLogAddress, ULONG cPat, HSURF* phsurfPatterns,
                              ULONG cjCaps, ULONG* pdevcaps, ULONG cjDevInfo, DEVINFO* pdi, HDEV hdev,
                              LPWSTR pwszDeviceName, HANDLE hDriver);
VOID APIENTRY DrvCompletePDEV(DHPDEV dhpdev, HDEV hdev);
WINBOOL APIENTRY DrvResetPDEV(DHPDEV dhpdevOld, DHPDEV dhpdevNew);
VOID APIENTRY DrvDisablePDEV(DHPDEV dhpdev);
HSURF APIENTRY DrvEnableSurface(DHPDEV dhpdev);
VOID APIENTRY DrvDisableSurface(DHPDEV dhpdev);
WINBOOL APIENTRY DrvBitBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco, XLATEOBJ* pxlo,
                           RECTL* prclTrg, POINTL* pptlSrc, POINTL* pptlMask, BRUSHOBJ* pbo,
                           POINTL* pptlBrush, ROP4 rop4);
WINBOOL APIENTRY DrvStretchBlt(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco,
                               XLATEOBJ* pxlo, COLORADJUSTMENT* pca, POINTL* pptlHTOrg, RECTL* prclDest,
                               RECTL* prclSrc, POINTL* pptlMask, ULONG iMode);
WINBOOL APIENTRY DrvStretchBltROP(SURFOBJ* psoDest, SURFOBJ* psoSrc, SURFOBJ* psoMask, CLIPOBJ* pco,
                                  XLATEOBJ* pxlo, COLORADJUSTMENT* pca, POINTL* pptlHTOrg, RECTL* prclDest,
                                  RECTL* prclSrc, POINTL* pptlMask, ULONG iMode, BRUSHOBJ* pbo, DWORD rop4);
WINBOOL APIENTRY DrvCopyBits(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo, RECTL* prclDest,
                             POINTL* pptlSrc);
WINBOOL APIENTRY DrvPlgBlt(SURFOBJ* psoTrg, SURFOBJ* psoSrc, SURFOBJ* psoMsk, CLIPOBJ* pco, XLATEOBJ* pxlo,
                           COLORADJUSTMENT* pca, POINTL* pptlBrushOrg, POINTFIX* pptfx, RECTL* prcl,
                           POINTL* pptl, ULONG iMode);
WINBOOL APIENTRY DrvAlphaBlend(SURFOBJ* psoDest, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo,
                               RECTL* prclDest, RECTL* prclSrc, BLENDOBJ* pBlendObj);
WINBOOL APIENTRY DrvTransparentBlt(SURFOBJ* psoDst, SURFOBJ* psoSrc, CLIPOBJ* pco, XLATEOBJ* pxlo,
                                   RECTL* prclDst, RECTL* prclSrc, ULONG iTransColor, ULONG ulReserved);
WINBOOL APIENTRY DrvGradientFill(SURFOBJ* psoDest, CLIPOBJ* pco, XLATEOBJ* pxlo, TRIVERTEX* pVertex,
                                 ULONG nVertex, PVOID pMesh, ULONG nMesh, RECTL* prclExtents,
                                 POINTL* pptlDitherOrg, ULONG ulMode);
WINBOOL APIENTRY DrvLineTo(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, LONG x1, LONG y1, LONG x2, LONG y2,
                           RECTL* prclBounds, MIX mix);
WINBOOL APIENTRY DrvStrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo, BRUSHOBJ* pbo,
                               POINTL* pptlBrushOrg, LINEATTRS* plineattrs, MIX mix);
WINBOOL APIENTRY DrvFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* pptlBrushOrg,
                             MIX mix, FLONG flOptions);
WINBOOL APIENTRY DrvStrokeAndFillPath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo,
                                      BRUSHOBJ* pboStroke, LINEATTRS* plineattrs, BRUSHOBJ* pboFill,
                                      POINTL* pptlBrushOrg, MIX mixFill, FLONG flOptions);
WINBOOL APIENTRY DrvPaint(SURFOBJ* pso, CLIPOBJ* pco, BRUSHOBJ* pbo, POINTL* pptlBrushOrg, MIX mix);
WINBOOL APIENTRY DrvTextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco, RECTL* prclExtra,
                            RECTL* prclOpaque, BRUSHOBJ* pboFore, BRUSHOBJ* pboOpaque, POINTL* pptlOrg,
                            MIX mix);
VOID APIENTRY DrvSynchronize(DHPDEV dhpdev, RECTL* prcl);
VOID APIENTRY DrvSynchronizeSurface(SURFOBJ* pso, RECTL* prcl, FLONG fl);
ULONG APIENTRY DrvGetGlyphMode(DHPDEV dhpdev, FONTOBJ* pfo);
WINBOOL APIENTRY DrvStartDoc(SURFOBJ* pso, LPWSTR pwszDocName, DWORD dwJobId);
WINBOOL APIENTRY DrvStartPage(SURFOBJ* pso);
WINBOOL APIENTRY DrvSendPage(SURFOBJ* pso);
WINBOOL APIENTRY DrvEndDoc(SURFOBJ* pso, FLONG fl);
WINBOOL APIENTRY DrvStartBanding(SURFOBJ* pso, POINTL* pptl);
WINBOOL APIENTRY DrvNextBand(SURFOBJ* pso, POINTL* pptl);
PIFIMETRICS APIENTRY DrvQueryFont(DHPDEV dhpdev, ULONG_PTR iFile, ULONG iFace, ULONG_PTR* pid);
PVOID APIENTRY DrvQueryFontTree(DHPDEV dhpdev, ULONG_PTR iFile, ULONG iFace, ULONG iMode, ULONG_PTR* pid);
LONG APIENTRY DrvQueryFontData(DHPDEV dhpdev, FONTOBJ* pfo, ULONG iMode, HGLYPH hg, GLYPHDATA* pgd, PVOID pv,
                               ULONG cjSize);
ULONG APIENTRY DrvDitherColor(DHPDEV dhpdev, ULONG iMode, ULONG rgb, ULONG* pul);
WINBOOL APIENTRY DrvRealizeBrush(BRUSHOBJ* pbo, SURFOBJ* psoTarget, SURFOBJ* psoPattern, SURFOBJ* psoMask,
                                 XLATEOBJ* pxlo, ULONG iHatch);
ULONG APIENTRY DrvEscape(SURFOBJ* pso, ULONG iEsc, ULONG cjIn, PVOID pvIn, ULONG cjOut, PVOID pvOut);

WINSIM_EXTERN_C_END

#endif
