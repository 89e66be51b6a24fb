// The library as the spooler meets it: loaded by path, its entry points found by name, nothing else
// exported.
#include "config_fixture.h"

#include <dlfcn.h>

namespace {

const char* const kExports[] = {
    "DrvDocumentPropertySheets",
    "DrvDevicePropertySheets",
    "PrinterProperties",
    "DrvDocumentProperties",
    "DrvAdvancedDocumentProperties",
    "DrvConvertDevMode",
    "DrvDeviceCapabilities",
    "DrvSplDeviceCaps",
    "DevQueryPrint",
    "DevQueryPrintEx",
    "DrvQueryJobAttributes",
    "DrvQueryColorProfile",
    "DrvPrinterEvent",
    "DrvDocumentEvent",
    "DrvUpgradePrinter",
    "DllMain",
};

class Module : public ConfigTest {
  protected:
    void SetUp() override {
        ConfigTest::SetUp();
        module_ = dlopen(KT_CONFIG_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module_, nullptr) << dlerror();
    }
    void TearDown() override {
        if (module_) {
            dlclose(module_);
        }
        ConfigTest::TearDown();
    }
    template <class F> F* Export(const char* name) { return reinterpret_cast<F*>(dlsym(module_, name)); }

    void* module_ = nullptr;
};

TEST_F(Module, ExportsTheEntryPointsAndNothingElse) {
    for (const char* name : kExports) {
        EXPECT_NE(dlsym(module_, name), nullptr) << name;
    }
    for (const char* name : {"_Z16DeviceCapabilityPK10DRVDEVMODEtPv", "_Z16GetOsVersionCodev",
                             "_Z20ReadBidiNotificationPKDsjP12GlobalBuffer"}) {
        EXPECT_EQ(dlsym(module_, name), nullptr) << name;
    }
}

// The module and this test share one stand-in Windows, so the module finds the test's printer.
TEST_F(Module, EntryPointsThroughTheModule) {
    auto caps = Export<decltype(DrvDeviceCapabilities)>("DrvDeviceCapabilities");
    auto convert = Export<decltype(DrvConvertDevMode)>("DrvConvertDevMode");
    auto event = Export<decltype(DrvPrinterEvent)>("DrvPrinterEvent");
    ASSERT_TRUE(caps && convert && event);
    EXPECT_EQ(caps(printer_, const_cast<PWSTR>(kPrinterNameW), DC_PAPERS, nullptr, nullptr), 2u);
    EXPECT_EQ(caps(nullptr, const_cast<PWSTR>(kPrinterNameW), DC_EXTRA, nullptr, nullptr), kPrivateBytes);
    std::vector<BYTE> out(kExchangedSize);
    LONG size = static_cast<LONG>(out.size());
    EXPECT_TRUE(convert(const_cast<LPWSTR>(kPrinterNameW), nullptr, reinterpret_cast<DEVMODEW*>(out.data()),
                        &size, CDM_DRIVER_DEFAULT));
    EXPECT_EQ(size, static_cast<LONG>(kExchangedSize));
    EXPECT_TRUE(event(const_cast<LPWSTR>(kPrinterNameW), PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_EQ(winsim_get_printer_data(kPrinterName, "Private DevMode", nullptr, nullptr, 0),
              static_cast<int32_t>(sizeof(DEVICEEXT)));
}

} // namespace
