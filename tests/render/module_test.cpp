// The library as the engine meets it: loaded by path, found by export name, enabled through
// DrvEnableDriver, and driven through the function table it hands back.
#include "render_fixture.h"

#include <dlfcn.h>

#include <cstring>

namespace {

// The driver function table, slot by slot: the engine's function index and the exported name.
const struct {
    ULONG Index;
    const char* Name;
} kSlots[] = {
    {8, "DrvDisableDriver"},
    {0, "DrvEnablePDEV"},
    {7, "DrvResetPDEV"},
    {1, "DrvCompletePDEV"},
    {2, "DrvDisablePDEV"},
    {3, "DrvEnableSurface"},
    {4, "DrvDisableSurface"},
    {18, "DrvBitBlt"},
    {20, "DrvStretchBlt"},
    {19, "DrvCopyBits"},
    {71, "DrvAlphaBlend"},
    {68, "DrvGradientFill"},
    {70, "DrvPlgBlt"},
    {69, "DrvStretchBltROP"},
    {74, "DrvTransparentBlt"},
    {38, "DrvSynchronize"},
    {88, "DrvSynchronizeSurface"},
    {23, "DrvTextOut"},
    {37, "DrvGetGlyphMode"},
    {17, "DrvPaint"},
    {15, "DrvFillPath"},
    {16, "DrvStrokeAndFillPath"},
    {31, "DrvLineTo"},
    {14, "DrvStrokePath"},
    {35, "DrvStartDoc"},
    {33, "DrvStartPage"},
    {32, "DrvSendPage"},
    {34, "DrvEndDoc"},
    {57, "DrvStartBanding"},
    {58, "DrvNextBand"},
    {26, "DrvQueryFont"},
    {27, "DrvQueryFontTree"},
    {28, "DrvQueryFontData"},
    {24, "DrvEscape"},
};

class Module : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        module_ = dlopen(KT_RENDER_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module_, nullptr) << dlerror();
    }
    void TearDown() override {
        if (module_) {
            dlclose(module_);
        }
        RenderTest::TearDown();
    }
    template <class F> F* Export(const char* name) { return reinterpret_cast<F*>(dlsym(module_, name)); }

    void* module_ = nullptr;
};

TEST_F(Module, EnableDriverAndItsTable) {
    auto enable = Export<decltype(DrvEnableDriver)>("DrvEnableDriver");
    ASSERT_NE(enable, nullptr);
    DRVENABLEDATA ded = {};
    SetLastError(0);
    EXPECT_FALSE(enable(0x30100, sizeof(ded), &ded)) << "an engine older than the driver";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_DRIVER_LEVEL));
    SetLastError(0);
    EXPECT_FALSE(enable(0x30101, sizeof(ded) - 1, &ded)) << "a record too small for the answer";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_DRIVER_LEVEL));
    EXPECT_EQ(ded.pdrvfn, nullptr);

    ASSERT_TRUE(enable(0x30101, sizeof(ded), &ded));
    EXPECT_EQ(ded.iDriverVersion, 0x30101u);
    ASSERT_EQ(ded.c, std::size(kSlots));
    for (size_t i = 0; i < std::size(kSlots); ++i) {
        EXPECT_EQ(ded.pdrvfn[i].iFunc, kSlots[i].Index) << "slot " << i + 1;
        void* exported = dlsym(module_, kSlots[i].Name);
        EXPECT_NE(exported, nullptr) << kSlots[i].Name;
        EXPECT_EQ(reinterpret_cast<void*>(ded.pdrvfn[i].pfn), exported) << kSlots[i].Name;
    }
    EXPECT_TRUE(enable(0x40000, sizeof(ded) + 8, &ded)) << "a newer engine with a larger record";
}

TEST_F(Module, ExportsNothingElse) {
    for (const char* name : {"DllMain", "DrvEnableDriver", "DrvQueryDriverInfo", "DrvDisableDriver"}) {
        EXPECT_NE(dlsym(module_, name), nullptr) << name;
    }
    // The library's own functions and the settings core stay inside.
    for (const char* name :
         {"_Z14WriteJobHeaderP4PDEV", "_Z11CheckedPdevP8DHPDEV__", "_Z16GetOsVersionCodev"}) {
        EXPECT_EQ(dlsym(module_, name), nullptr) << name;
    }
}

TEST_F(Module, QueryDriverInfo) {
    auto query = Export<decltype(DrvQueryDriverInfo)>("DrvQueryDriverInfo");
    ASSERT_NE(query, nullptr);
    BYTE buffer[8];
    std::memset(buffer, 0xEE, sizeof(buffer));
    DWORD needed = 0;
    SetLastError(0);
    EXPECT_FALSE(query(DRVQUERY_USERMODE, buffer, 3, &needed));
    EXPECT_EQ(needed, 4u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(buffer[0], 0xEE);
    SetLastError(0);
    EXPECT_FALSE(query(DRVQUERY_USERMODE, nullptr, 4, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    needed = 0;
    EXPECT_TRUE(query(DRVQUERY_USERMODE, buffer, 4, &needed));
    EXPECT_EQ(needed, 4u);
    DWORD answer;
    std::memcpy(&answer, buffer, sizeof(answer));
    EXPECT_EQ(answer, 1u) << "a user-mode driver";
    EXPECT_EQ(buffer[4], 0xEE);

    SetLastError(0);
    EXPECT_FALSE(query(2, buffer, sizeof(buffer), &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// The engine's whole first meeting with a device, through the loaded module: the module and this test
// share one stand-in Windows, so the module finds the test's printer.
TEST_F(Module, DeviceThroughTheTable) {
    auto enable = Export<decltype(DrvEnableDriver)>("DrvEnableDriver");
    ASSERT_NE(enable, nullptr);
    DRVENABLEDATA ded = {};
    ASSERT_TRUE(enable(0x30101, sizeof(ded), &ded));
    auto slot = [&](ULONG index) {
        for (ULONG i = 0; i < ded.c; ++i) {
            if (ded.pdrvfn[i].iFunc == index) {
                return reinterpret_cast<void*>(ded.pdrvfn[i].pfn);
            }
        }
        return static_cast<void*>(nullptr);
    };
    auto enablePdev = reinterpret_cast<decltype(&DrvEnablePDEV)>(slot(INDEX_DrvEnablePDEV));
    auto completePdev = reinterpret_cast<decltype(&DrvCompletePDEV)>(slot(INDEX_DrvCompletePDEV));
    auto enableSurface = reinterpret_cast<decltype(&DrvEnableSurface)>(slot(INDEX_DrvEnableSurface));
    auto disableSurface = reinterpret_cast<decltype(&DrvDisableSurface)>(slot(INDEX_DrvDisableSurface));
    auto disablePdev = reinterpret_cast<decltype(&DrvDisablePDEV)>(slot(INDEX_DrvDisablePDEV));
    ASSERT_TRUE(enablePdev && completePdev && enableSurface && disableSurface && disablePdev);

    auto rec = JobSettings();
    GDIINFO gi = {};
    DEVINFO di = {};
    DHPDEV dhpdev = enablePdev(&rec->Public, const_cast<LPWSTR>(TEXT("USB001")), 0, nullptr, sizeof(gi),
                               reinterpret_cast<ULONG*>(&gi), sizeof(di), &di, nullptr, nullptr, printer_);
    ASSERT_NE(dhpdev, nullptr);
    EXPECT_EQ(gi.ulTechnology, static_cast<ULONG>(DT_RASPRINTER));
    EXPECT_NE(gi.ulHorzRes, 0u);
    void* hdev = winsim_engine_add_device(dhpdev, di.hpalDefault);
    ASSERT_NE(hdev, nullptr);
    completePdev(dhpdev, static_cast<HDEV>(hdev));
    HSURF surface = enableSurface(dhpdev);
    EXPECT_NE(surface, nullptr);
    EXPECT_GT(winsim_engine_objects(), engineObjects_);
    disableSurface(dhpdev);
    disablePdev(dhpdev);
    EXPECT_EQ(winsim_engine_remove_device(hdev), 1);
    EXPECT_EQ(winsim_engine_objects(), engineObjects_);
}

} // namespace
