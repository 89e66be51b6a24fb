// The engine's surface and palette services: bitmaps with real memory laid out as the engine lays them out,
// erasing, the life of surfaces and palettes, and the drawing services' one check.
#include "winsim_test.h"

#include <winddi.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

class EngineTest : public WinsimTest {
  protected:
    void TearDown() override {
        EXPECT_EQ(winsim_engine_objects(), 0u) << "the test left surfaces or palettes behind";
        WinsimTest::TearDown();
    }
    static HSURF Surf(HBITMAP bitmap) { return reinterpret_cast<HSURF>(bitmap); }
};

// A handle as the call log writes it.
std::string Hex(const void* handle) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%08llX",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
    return text;
}

TEST_F(EngineTest, BitmapsHaveRealMemory) {
    // 5 pixels of 24 bits: 15 bytes, padded to 16 per row.
    HBITMAP topDown = EngCreateBitmap({5, 3}, 0, BMF_24BPP, BMF_TOPDOWN, nullptr);
    ASSERT_NE(topDown, nullptr);
    SURFOBJ* so = EngLockSurface(Surf(topDown));
    ASSERT_NE(so, nullptr);
    EXPECT_EQ(so->hsurf, Surf(topDown));
    EXPECT_EQ(so->iType, STYPE_BITMAP);
    EXPECT_EQ(so->iBitmapFormat, static_cast<ULONG>(BMF_24BPP));
    EXPECT_EQ(so->sizlBitmap.cx, 5);
    EXPECT_EQ(so->sizlBitmap.cy, 3);
    EXPECT_EQ(so->lDelta, 16);
    EXPECT_EQ(so->cjBits, 48u);
    EXPECT_EQ(so->pvScan0, so->pvBits);
    EXPECT_EQ(so->fjBitmap & BMF_TOPDOWN, BMF_TOPDOWN);
    const BYTE* bits = static_cast<const BYTE*>(so->pvBits);
    for (ULONG i = 0; i < so->cjBits; ++i)
        ASSERT_EQ(bits[i], 0) << "zero-filled";

    RECTL rect = {1, 1, 3, 9}; // clipped to the bitmap
    EXPECT_TRUE(EngEraseSurface(so, &rect, 0x00ABCDEF));
    EXPECT_EQ(bits[16 + 3], 0xEF);
    EXPECT_EQ(bits[16 + 4], 0xCD);
    EXPECT_EQ(bits[16 + 5], 0xAB);
    EXPECT_EQ(bits[2 * 16 + 8], 0xAB);
    EXPECT_EQ(bits[2 * 16 + 9], 0x00) << "pixel 3 is outside";
    EXPECT_EQ(bits[2], 0x00) << "row 0 is outside";
    EXPECT_FALSE(EngDeleteSurface(Surf(topDown))) << "still locked";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUSY));
    EngUnlockSurface(so);
    EXPECT_TRUE(EngDeleteSurface(Surf(topDown)));

    // Bottom-up, 1 bit per pixel: rows of 4 bytes, the first scan line last in memory, bits MSB first.
    HBITMAP bottomUp = EngCreateBitmap({10, 2}, 0, BMF_1BPP, 0, nullptr);
    ASSERT_NE(bottomUp, nullptr);
    so = EngLockSurface(Surf(bottomUp));
    ASSERT_NE(so, nullptr);
    EXPECT_EQ(so->lDelta, -4);
    EXPECT_EQ(so->pvScan0, static_cast<BYTE*>(so->pvBits) + 4);
    rect = {0, 0, 9, 1};
    EXPECT_TRUE(EngEraseSurface(so, &rect, 1));
    bits = static_cast<const BYTE*>(so->pvBits);
    EXPECT_EQ(bits[4], 0xFF);
    EXPECT_EQ(bits[5], 0x80);
    EXPECT_EQ(bits[0], 0x00);
    EngUnlockSurface(so);
    EXPECT_TRUE(EngDeleteSurface(Surf(bottomUp)));
    EXPECT_FALSE(EngDeleteSurface(Surf(bottomUp)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(EngineTest, BitmapsTheEngineRefuses) {
    const struct {
        SIZEL size;
        LONG width;
        ULONG format;
        DWORD error;
    } rows[] = {
        {{0, 10}, 0, BMF_8BPP, ERROR_INVALID_PARAMETER},
        {{10, -1}, 0, BMF_8BPP, ERROR_INVALID_PARAMETER},
        {{10, 10}, 0, 99, ERROR_INVALID_PARAMETER},
        {{10, 10}, 8, BMF_8BPP, ERROR_INVALID_PARAMETER}, // rows narrower than the pixels
        {{65536, 8192}, 0, BMF_24BPP, ERROR_NOT_ENOUGH_MEMORY},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.size.cx << " x " << r.size.cy << " format " << r.format);
        SetLastError(0);
        EXPECT_EQ(EngCreateBitmap(r.size, r.width, r.format, BMF_TOPDOWN, nullptr), nullptr);
        EXPECT_EQ(GetLastError(), r.error);
    }
}

TEST_F(EngineTest, AssociatedSurfacesLearnTheirDevice) {
    int driver_device = 0; // what DrvEnablePDEV would have returned
    const auto dhpdev = reinterpret_cast<DHPDEV>(&driver_device);
    HPALETTE palette = EngCreatePalette(PAL_RGB, 0, nullptr, 0, 0, 0);
    ASSERT_NE(palette, nullptr);
    const auto hdev = static_cast<HDEV>(winsim_engine_add_device(dhpdev, palette));
    ASSERT_NE(hdev, nullptr);
    DHSURF mine = reinterpret_cast<DHSURF>(static_cast<uintptr_t>(0x1234));
    HSURF device = EngCreateDeviceSurface(mine, {100, 50}, BMF_24BPP);
    HBITMAP bitmap = EngCreateBitmap({8, 8}, 0, BMF_24BPP, BMF_TOPDOWN, nullptr);
    ASSERT_TRUE(device && bitmap);

    winsim_log_clear();
    EXPECT_TRUE(EngAssociateSurface(device, hdev, HOOK_BITBLT | HOOK_TEXTOUT));
    EXPECT_TRUE(EngAssociateSurface(Surf(bitmap), hdev, 0));
    EXPECT_TRUE(EngMarkBandingSurface(device));
    char line[256];
    ASSERT_GE(winsim_log_line(0, line, sizeof line), 0);
    EXPECT_EQ(std::string(line),
              "EngAssociateSurface surface=" + Hex(device) + " hdev=" + Hex(hdev) + " hooks=0x00000009");
    for (HSURF surface : {device, Surf(bitmap)}) {
        SCOPED_TRACE(Hex(surface));
        SURFOBJ* so = EngLockSurface(surface);
        ASSERT_NE(so, nullptr);
        EXPECT_EQ(so->hdev, hdev);
        EXPECT_EQ(so->dhpdev, dhpdev) << "the driver tells its own surfaces by their DHPDEV";
        EXPECT_EQ(winsim_engine_surface_palette(surface), palette);
        EngUnlockSurface(so);
    }

    SURFOBJ* so = EngLockSurface(device);
    ASSERT_NE(so, nullptr);
    EXPECT_EQ(so->iType, STYPE_DEVICE);
    EXPECT_EQ(so->dhsurf, mine);
    EXPECT_EQ(so->pvBits, nullptr);
    RECTL rect = {0, 0, 1, 1};
    EXPECT_FALSE(EngEraseSurface(so, &rect, 0)) << "a device surface's pixels are the driver's";
    EngUnlockSurface(so);

    EXPECT_EQ(winsim_engine_remove_device(hdev), 1);
    EXPECT_EQ(winsim_engine_remove_device(hdev), 0);
    EXPECT_TRUE(EngDeleteSurface(device));
    EXPECT_TRUE(EngDeleteSurface(Surf(bitmap)));
    EXPECT_TRUE(EngDeletePalette(palette));
}

TEST_F(EngineTest, AssociationNeedsADeviceTheEngineKnows) {
    int driver_device = 0;
    const auto dhpdev = reinterpret_cast<DHPDEV>(&driver_device);
    HSURF device = EngCreateDeviceSurface(nullptr, {100, 50}, BMF_24BPP);
    ASSERT_NE(device, nullptr);
    const auto registered = static_cast<HDEV>(winsim_engine_add_device(dhpdev, nullptr));
    ASSERT_NE(registered, nullptr);
    const auto removed = static_cast<HDEV>(winsim_engine_add_device(dhpdev, nullptr));
    ASSERT_EQ(winsim_engine_remove_device(removed), 1);

    const struct {
        const char* what;
        HSURF surface;
        HDEV hdev;
        FLONG hooks;
        DWORD error;
    } rows[] = {
        {"no device", device, nullptr, HOOK_BITBLT, ERROR_INVALID_PARAMETER},
        {"a device the engine never made", device, reinterpret_cast<HDEV>(static_cast<uintptr_t>(0x4D00)),
         HOOK_BITBLT, ERROR_INVALID_PARAMETER},
        {"a removed device", device, removed, HOOK_BITBLT, ERROR_INVALID_PARAMETER},
        {"hooks the engine does not have", device, registered, 0x80000000, ERROR_INVALID_PARAMETER},
        {"not a surface", reinterpret_cast<HSURF>(0x99), registered, 0, ERROR_INVALID_HANDLE},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        SetLastError(0);
        EXPECT_FALSE(EngAssociateSurface(r.surface, r.hdev, r.hooks));
        EXPECT_EQ(GetLastError(), r.error);
    }
    SURFOBJ* so = EngLockSurface(device);
    ASSERT_NE(so, nullptr);
    EXPECT_EQ(so->hdev, nullptr) << "a refused association leaves the surface alone";
    EXPECT_EQ(so->dhpdev, nullptr);
    EngUnlockSurface(so);
    EXPECT_TRUE(EngAssociateSurface(device, registered, 0));
    EXPECT_EQ(winsim_engine_surface_palette(device), nullptr) << "the device has no palette";

    // A device needs the driver's physical device and, when it names one, a palette of the engine.
    EXPECT_EQ(winsim_engine_add_device(nullptr, nullptr), nullptr);
    EXPECT_EQ(winsim_engine_add_device(dhpdev, reinterpret_cast<void*>(0x5678)), nullptr);
    winsim_reset();
    HSURF again = EngCreateDeviceSurface(nullptr, {100, 50}, BMF_24BPP);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(EngAssociateSurface(again, registered, 0)) << "a fresh machine has no devices";
    EXPECT_TRUE(EngDeleteSurface(again));
}

TEST_F(EngineTest, Palettes) {
    ULONG colors[2] = {0x000000, 0xFFFFFF};
    HPALETTE indexed = EngCreatePalette(PAL_INDEXED, 2, colors, 0, 0, 0);
    HPALETTE rgb = EngCreatePalette(PAL_RGB, 0, nullptr, 0, 0, 0);
    HPALETTE fields = EngCreatePalette(PAL_BITFIELDS, 0, nullptr, 0xFF0000, 0x00FF00, 0x0000FF);
    ASSERT_TRUE(indexed && rgb && fields);
    EXPECT_EQ(winsim_engine_objects(), 3u);
    EXPECT_EQ(EngCreatePalette(PAL_INDEXED, 0, colors, 0, 0, 0), nullptr);
    EXPECT_EQ(EngCreatePalette(PAL_BITFIELDS, 0, nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(EngCreatePalette(0x40, 0, nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    for (HPALETTE p : {indexed, rgb, fields})
        EXPECT_TRUE(EngDeletePalette(p));
    EXPECT_FALSE(EngDeletePalette(rgb));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(EngineTest, DrawingNeedsABitmapOfTheEngine) {
    HBITMAP bitmap = EngCreateBitmap({8, 8}, 0, BMF_8BPP, BMF_TOPDOWN, nullptr);
    HSURF device = EngCreateDeviceSurface(nullptr, {8, 8}, BMF_8BPP);
    ASSERT_TRUE(bitmap && device);
    SURFOBJ* target = EngLockSurface(Surf(bitmap));
    SURFOBJ* opaque = EngLockSurface(device);
    ASSERT_TRUE(target && opaque);
    SURFOBJ stranger = *target; // a copy is not the engine's object
    RECTL rect = {0, 0, 4, 4};
    winsim_log_clear();
    EXPECT_TRUE(EngBitBlt(target, nullptr, nullptr, nullptr, nullptr, &rect, nullptr, nullptr, nullptr,
                          nullptr, 0xF0F0));
    EXPECT_TRUE(EngCopyBits(target, target, nullptr, nullptr, &rect, nullptr));
    EXPECT_TRUE(EngPaint(target, nullptr, nullptr, nullptr, 0x0D0D));
    EXPECT_FALSE(EngBitBlt(opaque, nullptr, nullptr, nullptr, nullptr, &rect, nullptr, nullptr, nullptr,
                           nullptr, 0xF0F0));
    EXPECT_FALSE(
        EngTextOut(&stranger, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0));
    char line[256];
    ASSERT_GE(winsim_log_line(1, line, sizeof line), 0);
    EXPECT_EQ(std::string(line), "EngCopyBits target=" + Hex(bitmap) + " source=" + Hex(bitmap));
    EngUnlockSurface(target);
    EngUnlockSurface(opaque);
    EXPECT_TRUE(EngDeleteSurface(Surf(bitmap)));
    EXPECT_TRUE(EngDeleteSurface(device));
}

TEST_F(EngineTest, PlannedFailuresAndResets) {
    ASSERT_EQ(winsim_fail_next("EngCreateBitmap", 1), 1);
    EXPECT_EQ(EngCreateBitmap({8, 8}, 0, BMF_8BPP, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    ASSERT_EQ(winsim_fail_next("EngCreatePalette", 1), 1);
    EXPECT_EQ(EngCreatePalette(PAL_RGB, 0, nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));

    HBITMAP bitmap = EngCreateBitmap({8, 8}, 0, BMF_8BPP, 0, nullptr);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_EQ(winsim_fail_next("EngLockSurface", 1), 1);
    EXPECT_EQ(EngLockSurface(Surf(bitmap)), nullptr);
    ASSERT_EQ(winsim_fail_next("EngDeleteSurface", 1), 1);
    EXPECT_FALSE(EngDeleteSurface(Surf(bitmap)));
    EXPECT_EQ(winsim_engine_objects(), 0u) << "a failed delete still deletes";

    EXPECT_NE(EngCreatePalette(PAL_RGB, 0, nullptr, 0, 0, 0), nullptr);
    EXPECT_NE(EngCreateBitmap({8, 8}, 0, BMF_8BPP, 0, nullptr), nullptr);
    winsim_reset();
    EXPECT_EQ(winsim_engine_objects(), 0u) << "a fresh machine has no engine objects";
}

} // namespace
