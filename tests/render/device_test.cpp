// The physical device as the engine sees it: the capability blocks for every variant, the palettes, the
// caller's buffers, the default fonts, and what a device handle that is not one does to the entry points.
#include "render_fixture.h"

#include "fonts.h"
#include "gdiinfo.h"
#include "os_version.h"
#include "wstr.h"

#include <climits>
#include <functional>
#include <string>
#include <cstring>
#include <vector>

namespace {

// Each variant's standard label in dots, from its size and the head's dots per 100 mm, worked out by hand.
struct VariantPage {
    int ModelIndex;
    LONG WidthMm, LengthMm;
    LONG WidthDots, LengthDots;
    ULONG Dpi, Diagonal;
};
#if defined(KT_PROFILE_A)
constexpr VariantPage kVariantPages[] = {
    {0, 160, 80, 1920, 960, 305, 431}, // 1200 dots per 100 mm
    {1, 210, 297, 2520, 3564, 305, 431},
};
#else
constexpr VariantPage kVariantPages[] = {
    {0, 100, 80, 800, 640, 203, 287},                                     // 800 dots per 100 mm
    {1, 160, 80, 1280, 640, 203, 287}, {2, 100, 80, 1180, 944, 300, 424}, // 1180
    {3, 160, 80, 1888, 944, 300, 424}, {4, 95, 80, 1496, 1260, 400, 565}, // 1575: 1496.25 truncated
    {5, 100, 80, 800, 640, 203, 287},  {6, 100, 80, 1180, 944, 300, 424},  {7, 160, 80, 1888, 944, 300, 424},
    {8, 95, 80, 1496, 1260, 400, 565}, {9, 100, 80, 2360, 1888, 600, 849}, // 2360
};
#endif

class Device : public RenderTest {};

TEST_F(Device, GdiInfoForEveryVariant) {
    for (const VariantPage& v : kVariantPages) {
        SCOPED_TRACE(testing::Message() << "variant " << v.ModelIndex);
        for (LONG orientation : {DMORIENT_PORTRAIT, DMORIENT_LANDSCAPE}) {
            SCOPED_TRACE(orientation == DMORIENT_PORTRAIT ? "portrait" : "landscape");
            auto rec = JobSettings(v.ModelIndex);
            rec->Private.Orientation = orientation;
            SyncPublicDevMode(rec.get());
            GDIINFO gi;
            ASSERT_NE(Enable(rec.get(), &gi), nullptr);
            const bool turned = orientation == DMORIENT_LANDSCAPE;
            EXPECT_EQ(gi.ulVersion, 0x400u);
            EXPECT_EQ(gi.ulTechnology, static_cast<ULONG>(DT_RASPRINTER));
            EXPECT_EQ(gi.ulHorzSize, static_cast<ULONG>(turned ? v.LengthMm : v.WidthMm));
            EXPECT_EQ(gi.ulVertSize, static_cast<ULONG>(turned ? v.WidthMm : v.LengthMm));
            EXPECT_EQ(gi.ulHorzRes, static_cast<ULONG>(turned ? v.LengthDots : v.WidthDots));
            EXPECT_EQ(gi.ulVertRes, static_cast<ULONG>(turned ? v.WidthDots : v.LengthDots));
            EXPECT_EQ(gi.szlPhysSize.cx, turned ? v.LengthDots : v.WidthDots);
            EXPECT_EQ(gi.szlPhysSize.cy, turned ? v.WidthDots : v.LengthDots);
            EXPECT_EQ(gi.ptlPhysOffset.x, 0);
            EXPECT_EQ(gi.ptlPhysOffset.y, 0);
            EXPECT_EQ(gi.ulLogPixelsX, v.Dpi);
            EXPECT_EQ(gi.ulLogPixelsY, v.Dpi);
            EXPECT_EQ(gi.ulAspectX, v.Dpi);
            EXPECT_EQ(gi.ulAspectY, v.Dpi);
            EXPECT_EQ(gi.ulAspectXY, v.Diagonal);
            EXPECT_EQ(gi.xStyleStep, 1);
            EXPECT_EQ(gi.yStyleStep, 1);
            EXPECT_EQ(gi.denStyleStep, static_cast<LONG>(v.Dpi / 50));
            EXPECT_EQ(gi.cPlanes, 1u);
            EXPECT_EQ(gi.flHTFlags, static_cast<ULONG>(HT_FLAG_HAS_BLACK_DYE));
            const DEVHTINFO& ht = rec->Extension.DeviceHalftone;
            EXPECT_EQ(gi.ulHTPatternSize, ht.HTPatternSize);
            EXPECT_EQ(gi.ulDevicePelsDPI, ht.DevPelsDPI);
            EXPECT_EQ(std::memcmp(&gi.ciDevice, &ht.ColorInfo, sizeof(COLORINFO)), 0);
            EXPECT_EQ(gi.ulPrimaryOrder, 0u);
            EXPECT_EQ(gi.flRaster, 0u);
#if defined(KT_PROFILE_A)
            EXPECT_EQ(gi.cBitsPixel, 24u);
            EXPECT_EQ(gi.ulNumColors, 0xFFFFFFu);
            EXPECT_EQ(gi.ulNumPalReg, 0u);
            EXPECT_EQ(gi.ulHTOutputFormat, static_cast<ULONG>(HT_FORMAT_24BPP));
#else
            EXPECT_EQ(gi.cBitsPixel, 1u);
            EXPECT_EQ(gi.ulNumColors, 2u);
            EXPECT_EQ(gi.ulNumPalReg, 2u);
            EXPECT_EQ(gi.ulHTOutputFormat, static_cast<ULONG>(HT_FORMAT_1BPP));
#endif
            Disable();
        }
    }
}

TEST_F(Device, LandscapeExchangesTheLogPixels) {
    // The printers of both families have square dots; a head that had not would be turned with the page.
    auto rec = JobSettings();
    rec->Private.Orientation = DMORIENT_LANDSCAPE;
    SyncPublicDevMode(rec.get());
    PDEV* pdev = Enable(rec.get());
    ASSERT_NE(pdev, nullptr);
    pdev->Options.DpiX = 300;
    pdev->Options.DpiY = 150;
    GDIINFO gi;
    FillGdiInfo(pdev, &gi);
    EXPECT_EQ(gi.ulLogPixelsX, 150u);
    EXPECT_EQ(gi.ulLogPixelsY, 300u);
    EXPECT_EQ(gi.ulAspectX, 150u);
    EXPECT_EQ(gi.ulAspectY, 300u);
    EXPECT_EQ(gi.denStyleStep, 3);
    pdev->Options.Orientation = DMORIENT_PORTRAIT;
    FillGdiInfo(pdev, &gi);
    EXPECT_EQ(gi.ulLogPixelsX, 300u);
    EXPECT_EQ(gi.ulLogPixelsY, 150u);
}

TEST_F(Device, CallerBuffersShortAndLong) {
    auto rec = JobSettings();
    GDIINFO fullGdi;
    DEVINFO fullDev;
    ASSERT_NE(Enable(rec.get(), &fullGdi, &fullDev), nullptr);
    Disable();
    for (size_t size : {size_t{0}, size_t{10}, sizeof(GDIINFO) - 1, sizeof(GDIINFO) + 40}) {
        SCOPED_TRACE(size);
        std::vector<BYTE> caps(sizeof(GDIINFO) + 64, 0xAA);
        std::vector<BYTE> dev(sizeof(DEVINFO) + 64, 0xAA);
        HSURF patterns[3] = {reinterpret_cast<HSURF>(1), reinterpret_cast<HSURF>(2),
                             reinterpret_cast<HSURF>(3)};
        const ULONG devSize = static_cast<ULONG>(size * sizeof(DEVINFO) / sizeof(GDIINFO));
        DHPDEV dhpdev =
            DrvEnablePDEV(&rec->Public, const_cast<LPWSTR>(TEXT("USB001")), 3, patterns,
                          static_cast<ULONG>(size), reinterpret_cast<ULONG*>(caps.data()), devSize,
                          reinterpret_cast<DEVINFO*>(dev.data()), nullptr, nullptr, printer_);
        ASSERT_NE(dhpdev, nullptr);
        pdev_ = reinterpret_cast<PDEV*>(dhpdev);
        const size_t gdiCopied = size < sizeof(GDIINFO) ? size : sizeof(GDIINFO);
        EXPECT_EQ(std::memcmp(caps.data(), &fullGdi, gdiCopied), 0);
        for (size_t i = gdiCopied; i < caps.size(); ++i) {
            ASSERT_EQ(caps[i], i < size ? 0x00 : 0xAA) << "GDIINFO byte " << i;
        }
        const size_t devCopied = devSize < sizeof(DEVINFO) ? devSize : sizeof(DEVINFO);
        EXPECT_EQ(std::memcmp(dev.data(), &fullDev,
                              offsetof(DEVINFO, hpalDefault) < devCopied ? offsetof(DEVINFO, hpalDefault)
                                                                         : devCopied),
                  0);
        for (size_t i = devCopied; i < dev.size(); ++i) {
            ASSERT_EQ(dev[i], i < devSize ? 0x00 : 0xAA) << "DEVINFO byte " << i;
        }
        for (HSURF p : patterns) {
            EXPECT_EQ(p, nullptr) << "no pattern surfaces";
        }
        Disable();
    }
}

TEST_F(Device, DevInfoAndPaletteByColourDepth) {
    const struct {
        LONG SurfaceToPrint, ColorOrder, ColorText, PatternMode;
        LONG OsVersionMajor, OsVersionMinor;
        FLONG Caps;
        ULONG DitherFormat;
        USHORT CellX, CellY;
        ULONG BitsPixel, PaletteCount;
    } rows[] = {
        {0, 0, 1, 1, 10, 0,
         GCAPS_BEZIERS | GCAPS_ALTERNATEFILL | GCAPS_WINDINGFILL | GCAPS_HALFTONE | GCAPS_COLOR_DITHER |
             GCAPS_OPAQUERECT | GCAPS_MONO_DITHER | GCAPS_DITHERONREALIZE | GCAPS_FORCEDITHER |
             GCAPS_ARBRUSHOPAQUE | GCAPS_ARBRUSHTEXT,
         BMF_1BPP, 32, 16, 1, 2},
        {0, 0, 0, 2, 10, 0,
         GCAPS_BEZIERS | GCAPS_ALTERNATEFILL | GCAPS_WINDINGFILL | GCAPS_HALFTONE | GCAPS_COLOR_DITHER |
             GCAPS_OPAQUERECT | GCAPS_MONO_DITHER | GCAPS_FORCEDITHER,
         BMF_1BPP, 32, 16, 1, 2},
        {1, 0, 1, 1, 10, 0,
         GCAPS_BEZIERS | GCAPS_ALTERNATEFILL | GCAPS_WINDINGFILL | GCAPS_HALFTONE | GCAPS_COLOR_DITHER |
             GCAPS_OPAQUERECT | GCAPS_MONO_DITHER | GCAPS_DITHERONREALIZE | GCAPS_FORCEDITHER |
             GCAPS_ARBRUSHOPAQUE | GCAPS_ARBRUSHTEXT,
         BMF_8BPP, 1, 1, 8, 256},
        {2, 0, 1, 1, 10, 0, GCAPS_HALFTONE | GCAPS_BEZIERS | GCAPS_ALTERNATEFILL | GCAPS_WINDINGFILL,
         BMF_24BPP, 0, 0, 24, 0},
        {3, 1, 1, 1, 10, 0, GCAPS_HALFTONE | GCAPS_BEZIERS | GCAPS_ALTERNATEFILL | GCAPS_WINDINGFILL,
         BMF_24BPP, 0, 0, 24, 0},
        {3, 0, 1, 1, 5, 1, GCAPS_HALFTONE, BMF_24BPP, 0, 0, 24, 0}, // Windows XP: no curves from the engine
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "SurfaceToPrint " << r.SurfaceToPrint << ", ColorText "
                                        << r.ColorText << ", PatternMode " << r.PatternMode << ", Windows "
                                        << r.OsVersionMajor << "." << r.OsVersionMinor);
        winsim_set_windows_version(r.OsVersionMajor, r.OsVersionMinor, 3, 2600, VER_NT_WORKSTATION,
                                   VER_PLATFORM_WIN32_NT);
        auto rec = JobSettings();
        rec->Private.SurfaceToPrint = r.SurfaceToPrint;
        rec->Private.ColorOrder = r.ColorOrder;
        rec->Private.ColorText = r.ColorText;
        rec->Private.PatternMode = r.PatternMode;
        GDIINFO gi;
        DEVINFO di;
        PDEV* pdev = Enable(rec.get(), &gi, &di);
        ASSERT_NE(pdev, nullptr);
        EXPECT_EQ(di.flGraphicsCaps, r.Caps);
        EXPECT_EQ(di.iDitherFormat, r.DitherFormat);
        EXPECT_EQ(di.cxDither, r.CellX);
        EXPECT_EQ(di.cyDither, r.CellY);
        EXPECT_EQ(di.flGraphicsCaps2, 0u);
        EXPECT_EQ(di.cFonts, 0u);
        EXPECT_EQ(di.hpalDefault, pdev->Palette);
        EXPECT_NE(di.hpalDefault, nullptr);
        EXPECT_EQ(gi.cBitsPixel, r.BitsPixel);
        ASSERT_EQ(pdev->PaletteCount, r.PaletteCount);
        if (r.PaletteCount == 2) {
            EXPECT_EQ(pdev->PaletteEntries[0], 0x000000u);
            EXPECT_EQ(pdev->PaletteEntries[1], 0xFFFFFFu);
        }
        for (ULONG i = 0; r.PaletteCount == 256 && i < 256; ++i) {
            ASSERT_EQ(pdev->PaletteEntries[i], i * 0x010101u) << i;
        }
        const ULONG mode = r.PaletteCount ? PAL_INDEXED : (r.ColorOrder ? PAL_BGR : PAL_RGB);
        EXPECT_EQ(LastLogLine("EngCreatePalette "),
                  "EngCreatePalette mode=" + Hex(mode) + " colors=" + std::to_string(r.PaletteCount));
        Disable();
    }
}

TEST_F(Device, DefaultFontsForEveryResolution) {
    const struct {
        ULONG Dpi;
        LONG Height;
    } rows[] = {{305, -43}, {203, -29}, {300, -42}, {400, -56}, {600, -84}};
    for (const auto& r : rows) {
        LOGFONTW fonts[kDefaultFontCount];
        BuildDefaultFonts(r.Dpi, fonts);
        for (const LOGFONTW& f : fonts) {
            EXPECT_EQ(f.lfHeight, r.Height) << r.Dpi;
        }
    }
    // Through the device of each variant.
    for (const VariantPage& v : kVariantPages) {
        auto rec = JobSettings(v.ModelIndex);
        DEVINFO di;
        ASSERT_NE(Enable(rec.get(), nullptr, &di), nullptr);
        EXPECT_EQ(di.lfDefaultFont.lfHeight, -static_cast<LONG>((v.Dpi * 10 + 71) / 72)) << v.ModelIndex;
        const struct {
            const LOGFONTW& Font;
            BYTE CharSet, PitchAndFamily;
            const WCHAR* Face;
        } expected[] = {
            {di.lfDefaultFont, 128, 0x11, TEXT("ＭＳ 明朝")},
            {di.lfAnsiVarFont, 0, 0x22, TEXT("Helvetica")},
            {di.lfAnsiFixFont, 0, 0x31, TEXT("Courier")},
        };
        for (const auto& e : expected) {
            EXPECT_EQ(e.Font.lfHeight, di.lfDefaultFont.lfHeight);
            EXPECT_EQ(e.Font.lfWidth | e.Font.lfEscapement | e.Font.lfOrientation, 0);
            EXPECT_EQ(e.Font.lfWeight, 400);
            EXPECT_EQ(e.Font.lfItalic | e.Font.lfUnderline | e.Font.lfStrikeOut | e.Font.lfQuality, 0);
            EXPECT_EQ(e.Font.lfOutPrecision, 2);
            EXPECT_EQ(e.Font.lfClipPrecision, 1);
            EXPECT_EQ(e.Font.lfCharSet, e.CharSet);
            EXPECT_EQ(e.Font.lfPitchAndFamily, e.PitchAndFamily);
            EXPECT_TRUE(WStrEqual(e.Font.lfFaceName, e.Face));
        }
        Disable();
    }
}

TEST_F(Device, FontQueriesReportNoDeviceFonts) {
    auto rec = JobSettings();
    PDEV* pdev = Enable(rec.get());
    ASSERT_NE(pdev, nullptr);
    DHPDEV dhpdev = reinterpret_cast<DHPDEV>(pdev);
    ULONG_PTR id = 0;
    SetLastError(0);
    EXPECT_EQ(DrvQueryFont(dhpdev, 0, 1, &id), nullptr);
    EXPECT_EQ(DrvQueryFontTree(dhpdev, 0, 1, QFT_GLYPHSET, &id), nullptr);
    EXPECT_EQ(
        static_cast<ULONG>(DrvQueryFontData(dhpdev, nullptr, QFD_GLYPHANDBITMAP, 0, nullptr, nullptr, 0)),
        FD_ERROR);
    EXPECT_EQ(GetLastError(), 0u) << "nothing is wrong with the device";
    EXPECT_EQ(DrvGetGlyphMode(dhpdev, nullptr), static_cast<ULONG>(FO_GLYPHBITS));
}

// A nonsense label size cannot make a page: the device is refused, nothing is left behind.
TEST_F(Device, NonsenseLabelSizesAreRefused) {
    const struct {
        LONG Width, Length; // whole mm, or 0.1 mm for the user-defined size
        bool UserDefined;
    } rows[] = {
        {0, 80, false},        {160, 0, false},      {-5, 80, false},
        {160, INT_MIN, false}, {INT_MAX, 80, false}, {160, INT_MAX, false},
        {-1009, 500, true},    {1009, 0, true},      {INT_MAX, INT_MAX, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message()
                     << r.Width << " x " << r.Length << (r.UserDefined ? " (user-defined)" : ""));
        auto rec = JobSettings();
        if (r.UserDefined) {
            rec->Private.PaperId = kUserDefinedLabelId;
            rec->Private.CustomWidth = r.Width;
            rec->Private.CustomLength = r.Length;
        } else {
            Label(rec.get()).Width = r.Width;
            Label(rec.get()).Length = r.Length;
        }
        SyncPublicDevMode(rec.get());
        SetLastError(0);
        EXPECT_EQ(Enable(rec.get()), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
}

TEST_F(Device, PageTooLargeForOneBitmapFailsCleanly) {
    auto rec = JobSettings();
    Label(rec.get()).Length = 10000000; // 10 km: addressable, but no engine gives a bitmap that size
    PDEV* pdev = Enable(rec.get());
    ASSERT_NE(pdev, nullptr);
    const uint32_t bitmaps = winsim_call_count("EngCreateBitmap");
    SetLastError(0);
    EXPECT_EQ(DrvEnableSurface(reinterpret_cast<DHPDEV>(pdev)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(winsim_call_count("EngCreateBitmap"), bitmaps) << "refused before asking the engine";
}

TEST_F(Device, SurfaceAndBandTable) {
    auto rec = JobSettings();
    PDEV* pdev = Enable(rec.get());
    ASSERT_NE(pdev, nullptr);
    HSURF surface = DrvEnableSurface(reinterpret_cast<DHPDEV>(pdev));
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(DrvEnableSurface(reinterpret_cast<DHPDEV>(pdev)), surface) << "one surface per device";
    const PAGEGEOMETRY& g = pdev->Geometry;
    ASSERT_NE(pdev->BandSurface, nullptr);
    EXPECT_EQ(pdev->BandSurface->sizlBitmap.cx, g.PageWidthDots);
    EXPECT_EQ(pdev->BandSurface->sizlBitmap.cy, g.PageHeightDots);
    EXPECT_EQ(pdev->Banded, 0) << "the profiles print from one surface per page";
    ASSERT_EQ(pdev->BandCount, 1);
    const BANDRECORD& band = pdev->Bands[0];
    const LONG stride = (g.PageWidthDots * (kHasColor ? 24 : 1) + 31) / 32 * 4;
    EXPECT_EQ(band.OriginX, 0);
    EXPECT_EQ(band.OriginY, 0);
    EXPECT_EQ(band.Width, g.PageWidthDots);
    EXPECT_EQ(band.Height, g.PageHeightDots);
    EXPECT_EQ(band.PageWidth, g.PageWidthDots);
    EXPECT_EQ(band.Rows, g.PageHeightDots);
    EXPECT_EQ(band.Stride, stride);
    EXPECT_EQ(band.Flags, static_cast<DWORD>(BAND_IN_USE));
    EXPECT_EQ(pdev->BandSurface->lDelta, stride) << "top-down";
    EXPECT_NE(pdev->Out.Data, nullptr);
    EXPECT_EQ(pdev->Out.Limit, 63488u);
    const FLONG hooks = HOOK_BITBLT | HOOK_STRETCHBLT | HOOK_PLGBLT | HOOK_TEXTOUT | HOOK_PAINT |
                        HOOK_STROKEPATH | HOOK_FILLPATH | HOOK_STROKEANDFILLPATH | HOOK_LINETO |
                        HOOK_COPYBITS | HOOK_STRETCHBLTROP | HOOK_TRANSPARENTBLT | HOOK_ALPHABLEND |
                        HOOK_GRADIENTFILL;
    EXPECT_EQ(LastLogLine("EngAssociateSurface "),
              "EngAssociateSurface surface=" + Hex(reinterpret_cast<uintptr_t>(surface)) +
                  " hdev=" + Hex(reinterpret_cast<uintptr_t>(pdev->EngineDevice)) + " hooks=" + Hex(hooks));
    EXPECT_EQ(LastLogLine("EngMarkBandingSurface "), "");
    DrvDisableSurface(reinterpret_cast<DHPDEV>(pdev));
    EXPECT_EQ(pdev->DeviceSurface, nullptr);
    EXPECT_EQ(pdev->Out.Data, nullptr);
}

// The engine gives every surface associated with the device the device's DHPDEV and default palette, so
// the driver's device check knows the band bitmap as well as the device surface as its own.
TEST_F(Device, BothSurfacesBelongToTheDevice) {
    auto rec = JobSettings();
    PDEV* pdev = EnableWithSurface(rec.get());
    ASSERT_NE(pdev, nullptr);
    ASSERT_NE(pdev->BandSurface, nullptr);
    SURFOBJ* device = EngLockSurface(pdev->DeviceSurface);
    ASSERT_NE(device, nullptr);
    for (const SURFOBJ* so :
         {static_cast<const SURFOBJ*>(pdev->BandSurface), static_cast<const SURFOBJ*>(device)}) {
        SCOPED_TRACE(so == device ? "device surface" : "band bitmap");
        EXPECT_EQ(so->dhpdev, reinterpret_cast<DHPDEV>(pdev));
        EXPECT_EQ(so->hdev, pdev->EngineDevice);
        EXPECT_EQ(CheckedPdev(so), pdev);
        EXPECT_EQ(winsim_engine_surface_palette(so->hsurf), pdev->Palette);
    }
    EngUnlockSurface(device);
}

TEST_F(Device, GreyPagesBandWhenTheEngineCannotGiveTheWholePage) {
    auto rec = JobSettings();
    rec->Private.SurfaceToPrint = 1;
    PDEV* pdev = Enable(rec.get());
    ASSERT_NE(pdev, nullptr);
    const LONG height = pdev->Geometry.PageHeightDots;
    ASSERT_EQ(pdev->Banding.MinBands, 1);
    ASSERT_EQ(pdev->Banding.MaxBands, 128);
    ASSERT_EQ(winsim_fail_next("EngCreateBitmap", 1), 1);
    ASSERT_NE(DrvEnableSurface(reinterpret_cast<DHPDEV>(pdev)), nullptr);
    EXPECT_EQ(pdev->Banded, 1);
    EXPECT_EQ(LastLogLine("EngMarkBandingSurface "),
              "EngMarkBandingSurface surface=" + Hex(reinterpret_cast<uintptr_t>(pdev->DeviceSurface)));
    ASSERT_EQ(pdev->BandCount, 2);
    const LONG half = (height + 1) / 2;
    EXPECT_EQ(pdev->Bands[0].Rows, half);
    EXPECT_EQ(pdev->Bands[1].OriginY, half);
    EXPECT_EQ(pdev->Bands[1].Rows, height - half);
    EXPECT_EQ(pdev->BandSurface->sizlBitmap.cy, half);
}

// The engine draws; the hooks only point it at the locked bitmap behind the device surface it knows.
TEST_F(Device, DrawingHooksHandTheBitmapToTheEngine) {
    auto rec = JobSettings();
    PDEV* pdev = EnableWithSurface(rec.get());
    ASSERT_NE(pdev, nullptr);
    SURFOBJ device = {};
    device.dhpdev = reinterpret_cast<DHPDEV>(pdev);
    device.hsurf = pdev->DeviceSurface;
    device.iType = STYPE_DEVICE;
    SURFOBJ* so = &device;
    RECTL rect = {0, 0, 8, 8};
    POINTL point = {0, 0};
    const std::string bitmap = Hex(reinterpret_cast<uintptr_t>(pdev->Bitmap));
    const struct {
        const char* Service;
        std::function<BOOL()> Call;
        bool WithSource;
    } hooks[] = {
        {"EngBitBlt",
         [&] {
             return DrvBitBlt(so, so, nullptr, nullptr, nullptr, &rect, &point, nullptr, nullptr, nullptr,
                              0xCCCC);
         },
         true},
        {"EngStretchBlt",
         [&] {
             return DrvStretchBlt(so, so, nullptr, nullptr, nullptr, nullptr, nullptr, &rect, &rect, nullptr,
                                  3);
         },
         true},
        {"EngStretchBltROP",
         [&] {
             return DrvStretchBltROP(so, so, nullptr, nullptr, nullptr, nullptr, nullptr, &rect, &rect,
                                     nullptr, 3, nullptr, 0xCCCC);
         },
         true},
        // On the 1-bit surface a copy of a source without black-and-white colours is halftoned.
        {pdev->Options.DepthClass == DEPTH_1BPP ? "EngStretchBlt" : "EngCopyBits",
         [&] { return DrvCopyBits(so, so, nullptr, nullptr, &rect, &point); }, true},
        {"EngPlgBlt",
         [&] {
             return DrvPlgBlt(so, so, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &rect, nullptr,
                              3);
         },
         true},
        {"EngAlphaBlend", [&] { return DrvAlphaBlend(so, so, nullptr, nullptr, &rect, &rect, nullptr); },
         true},
        {"EngTransparentBlt", [&] { return DrvTransparentBlt(so, so, nullptr, nullptr, &rect, &rect, 0, 0); },
         true},
        {"EngGradientFill",
         [&] { return DrvGradientFill(so, nullptr, nullptr, nullptr, 0, nullptr, 0, &rect, &point, 0); },
         false},
        {"EngLineTo", [&] { return DrvLineTo(so, nullptr, nullptr, 0, 0, 5, 5, &rect, 0x0D0D); }, false},
        {"EngStrokePath",
         [&] { return DrvStrokePath(so, nullptr, nullptr, nullptr, nullptr, &point, nullptr, 0x0D0D); },
         false},
        {"EngFillPath", [&] { return DrvFillPath(so, nullptr, nullptr, nullptr, &point, 0x0D0D, 0); }, false},
        {"EngStrokeAndFillPath",
         [&] {
             return DrvStrokeAndFillPath(so, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &point,
                                         0x0D0D, 0);
         },
         false},
        {"EngPaint", [&] { return DrvPaint(so, nullptr, nullptr, &point, 0x0D0D); }, false},
        {"EngTextOut",
         [&] {
             return DrvTextOut(so, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &point,
                               0x0D0D);
         },
         false},
    };
    for (const auto& hook : hooks) {
        SCOPED_TRACE(hook.Service);
        device.dhpdev = reinterpret_cast<DHPDEV>(pdev);
        EXPECT_TRUE(hook.Call());
        EXPECT_EQ(LastLogLine((std::string(hook.Service) + " ").c_str()),
                  std::string(hook.Service) + " target=" + bitmap +
                      (hook.WithSource ? " source=" + bitmap : ""));
        // A surface that is not this driver's goes to the engine as it came; the engine cannot draw on an
        // opaque device surface and says so.
        device.dhpdev = nullptr;
        EXPECT_FALSE(hook.Call());
    }
}

// Every device, document, page, band, escape and font entry point refuses a handle that is not a device
// of this library.
TEST_F(Device, ForeignDeviceIsRefused) {
    auto rec = JobSettings();
    PDEV* real = EnableWithSurface(rec.get());
    ASSERT_NE(real, nullptr);
    std::vector<BYTE> storage(sizeof(PDEV));
    std::memcpy(storage.data(), real, sizeof(PDEV));
    PDEV* copy = reinterpret_cast<PDEV*>(storage.data()); // right signatures, but not the device itself
    std::vector<BYTE> zeros(sizeof(PDEV));
    std::vector<BYTE> wrongSignature(sizeof(PDEV));
    std::memcpy(wrongSignature.data(), real, sizeof(PDEV));
    reinterpret_cast<PDEV*>(wrongSignature.data())->Signature = 0x8941;
    reinterpret_cast<PDEV*>(wrongSignature.data())->Self = reinterpret_cast<PDEV*>(wrongSignature.data());
    std::vector<BYTE> wrongTrailer(sizeof(PDEV));
    std::memcpy(wrongTrailer.data(), real, sizeof(PDEV));
    reinterpret_cast<PDEV*>(wrongTrailer.data())->TrailingSignature = 0;
    reinterpret_cast<PDEV*>(wrongTrailer.data())->Self = reinterpret_cast<PDEV*>(wrongTrailer.data());

    for (void* foreign :
         {static_cast<void*>(nullptr), static_cast<void*>(zeros.data()), static_cast<void*>(copy),
          static_cast<void*>(wrongSignature.data()), static_cast<void*>(wrongTrailer.data())}) {
        DHPDEV dhpdev = reinterpret_cast<DHPDEV>(foreign);
        SURFOBJ so = {};
        so.dhpdev = dhpdev;
        POINTL origin = {7, 7};
        ULONG_PTR id = 0;
        auto refused = [](const char* call) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << call;
            SetLastError(0);
        };
        SetLastError(0);
        DrvCompletePDEV(dhpdev, real->EngineDevice);
        refused("DrvCompletePDEV");
        EXPECT_EQ(DrvEnableSurface(dhpdev), nullptr);
        refused("DrvEnableSurface");
        DrvDisableSurface(dhpdev);
        refused("DrvDisableSurface");
        EXPECT_FALSE(DrvResetPDEV(dhpdev, reinterpret_cast<DHPDEV>(real)));
        refused("DrvResetPDEV");
        EXPECT_FALSE(DrvResetPDEV(reinterpret_cast<DHPDEV>(real), dhpdev));
        refused("DrvResetPDEV (new)");
        EXPECT_FALSE(DrvStartDoc(&so, const_cast<LPWSTR>(TEXT("doc")), 1));
        refused("DrvStartDoc");
        EXPECT_FALSE(DrvStartPage(&so));
        refused("DrvStartPage");
        EXPECT_FALSE(DrvSendPage(&so));
        refused("DrvSendPage");
        EXPECT_FALSE(DrvEndDoc(&so, 0));
        refused("DrvEndDoc");
        EXPECT_FALSE(DrvStartBanding(&so, &origin));
        refused("DrvStartBanding");
        EXPECT_FALSE(DrvNextBand(&so, &origin));
        refused("DrvNextBand");
        EXPECT_EQ(DrvEscape(&so, QUERYESCSUPPORT, 0, nullptr, 0, nullptr), static_cast<ULONG>(DDI_ERROR));
        refused("DrvEscape");
        EXPECT_EQ(DrvQueryFont(dhpdev, 0, 1, &id), nullptr);
        refused("DrvQueryFont");
        EXPECT_EQ(DrvQueryFontTree(dhpdev, 0, 1, QFT_GLYPHSET, &id), nullptr);
        refused("DrvQueryFontTree");
        EXPECT_EQ(
            static_cast<ULONG>(DrvQueryFontData(dhpdev, nullptr, QFD_GLYPHANDBITMAP, 0, nullptr, nullptr, 0)),
            FD_ERROR);
        refused("DrvQueryFontData");
        DrvDisablePDEV(dhpdev);
        refused("DrvDisablePDEV");
        EXPECT_EQ(origin.x, 7) << "nothing written through a refused call";
    }
    // The copy's surface handles are the real device's: nothing above may have released them.
    EXPECT_NE(real->DeviceSurface, nullptr);
    EXPECT_NE(real->Work, nullptr);
}

TEST_F(Device, PageAndBandCallsLeaveTheEngineAWayOn) {
    auto rec = JobSettings();
    PDEV* pdev = EnableWithSurface(rec.get());
    ASSERT_NE(pdev, nullptr);
    // The surface object the engine passes with these calls.
    SURFOBJ device = {};
    device.dhpdev = reinterpret_cast<DHPDEV>(pdev);
    device.hsurf = pdev->DeviceSurface;
    SURFOBJ* so = &device;
    EXPECT_TRUE(DrvStartDoc(so, const_cast<LPWSTR>(TEXT("doc")), 1));
    EXPECT_TRUE(DrvStartPage(so));
    POINTL origin = {5, 5};
    EXPECT_TRUE(DrvStartBanding(so, &origin));
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    EXPECT_TRUE(DrvNextBand(so, &origin));
    EXPECT_EQ(origin.x, -1) << "the page ends";
    EXPECT_EQ(origin.y, -1);
    EXPECT_TRUE(DrvSendPage(so));
    EXPECT_TRUE(DrvEndDoc(so, ED_ABORTDOC));
    EXPECT_EQ(DrvEscape(so, QUERYESCSUPPORT, 0, nullptr, 0, nullptr), 0u);
}

} // namespace
