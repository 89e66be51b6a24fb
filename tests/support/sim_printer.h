// A printer in the Windows stand-in for a test to drive the settings core with.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>
#include <winsim_host.h>

#include <memory>
#include <string>

#include "devmode.h"
#include "printer_data.h"
#include "wstr.h"

// Driver names under which each variant of this build is installed, indexed by ModelIndex. Only
// the variant name inside them matters to the driver.
inline std::string DriverNameFor(int modelIndex) {
#if defined(KT_PROFILE_A)
    const char* names[] = {"KT-508W Label Driver", "KT-508X Label Driver"};
#else
    const char* names[] = {"Label Driver",
                           "Label Driver",
                           "Label Driver",
                           "Label Driver",
                           "Label Driver",
                           "KT-936U Label Driver",
                           "KT-936U-12 Label Driver",
                           "Label Driver",
                           "KT-936U-16 Label Driver",
                           "KT-936U-24 Label Driver"};
#endif
    return names[modelIndex];
}

inline std::basic_string<WCHAR> ToWide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

inline constexpr char kPrinterName[] = "Label Printer";
inline constexpr WCHAR kPrinterNameW[] = TEXT("Label Printer");

// Fresh spooler with one printer of the given variant, opened with full access.
class SimPrinterTest : public ::testing::Test {
  protected:
    void SetUp() override { Install(0); }
    void TearDown() override {
        Close();
        EXPECT_EQ(winsim_open_handles(), 0u) << "a printer, file or mutex handle was left open";
        winsim_reset();
    }
    void Install(int modelIndex, const std::string& driver = "") {
        Close();
        winsim_reset();
        ASSERT_EQ(winsim_add_printer(kPrinterName,
                                     (driver.empty() ? DriverNameFor(modelIndex) : driver).c_str(), "USB001",
                                     "winprint", PRINTER_ATTRIBUTE_LOCAL),
                  1);
        ASSERT_TRUE(OpenDriverPrinter(kPrinterNameW, 1, &printer_));
    }
    void Close() {
        if (printer_) {
            ClosePrinter(printer_);
            printer_ = nullptr;
        }
    }
    void StoreDevMode(const void* record, size_t size) {
        ASSERT_EQ(winsim_set_printer_devmode(kPrinterName, record, static_cast<uint32_t>(size)), 1);
    }
    void StoreValue(const char* name, const void* data, size_t size, uint32_t type = REG_BINARY) {
        ASSERT_EQ(winsim_set_printer_data(kPrinterName, name, type, data, static_cast<uint32_t>(size)), 1);
    }
    // The printer's settings as the configuration library would hand them out (working record).
    DRVDEVMODE Settled(const DEVMODEW* input = nullptr, DWORD mode = GDM_COPY_WORKING | GDM_TAKE_INPUT) {
        auto out = std::make_unique<DRVDEVMODE>();
        EXPECT_EQ(GetDriverDevMode(out.get(), input, printer_, kPrinterNameW, mode, CALLER_CONFIG), 1u);
        return *out;
    }

    HANDLE printer_ = nullptr;
};
