// A printer in the stand-in spooler for the configuration library's tests, with what every test must leave
// behind checked at its end: no printer, file or mutex handle, no COM object or COM allocation, COM
// uninitialised on the thread.
#pragma once

#include "sim_printer.h"

#include <objbase.h>
#include <winddiui.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "devmode.h"

// Whether the record of this build's profile is profile A's.
inline constexpr bool kProfileA = sizeof(LABELINFO) == 232;

class ConfigTest : public SimPrinterTest {
  protected:
    void SetUp() override {
        SimPrinterTest::SetUp();
        // The library's dialogs, bitmaps, icons and manifest are this build's compiled resource script; the
        // tests link the library's code into the program, so the program's image is the library's module.
        static const bool resources = winsim_ui_set_resources(nullptr, KT_CONFIG_RESOURCES) != 0;
        ASSERT_TRUE(resources) << KT_CONFIG_RESOURCES;
        comObjects_ = winsim_com_objects();
        comAllocations_ = winsim_com_allocations();
    }
    void TearDown() override {
        EXPECT_EQ(winsim_com_objects(), comObjects_) << "a COM object was not released";
        EXPECT_EQ(winsim_com_allocations(), comAllocations_) << "a BSTR or task-memory block was not freed";
        EXPECT_EQ(winsim_com_initialized(), 0u) << "COM was left initialised on the thread";
        EXPECT_EQ(winsim_ui_windows(), 0u) << "a window was left open";
        EXPECT_EQ(winsim_ui_gdi_objects(), 0u) << "a brush, bitmap or device context was not freed";
        EXPECT_EQ(winsim_ui_sheet_page_objects(), 0u) << "a property sheet page was not destroyed";
        SimPrinterTest::TearDown();
    }

    // The printer's settings in the exchanged form, as an application holds them.
    std::vector<BYTE> Exchanged(const DEVMODEW* input = nullptr) {
        std::vector<BYTE> out(kExchangedSize);
        EXPECT_EQ(GetDriverDevMode(out.data(), input, printer_, kPrinterNameW,
                                   GDM_COPY_EXCHANGED | GDM_TAKE_INPUT, CALLER_CONFIG),
                  1u);
        return out;
    }
    DEVMODEW* AsDevMode(std::vector<BYTE>& bytes) { return reinterpret_cast<DEVMODEW*>(bytes.data()); }
    DRVDEVMODE* AsRecord(std::vector<BYTE>& bytes) { return reinterpret_cast<DRVDEVMODE*>(bytes.data()); }

    // Stores a device extension as "Private DevMode", as the printer sheet does.
    void StoreExtension(const DEVICEEXT& ext) { StoreValue("Private DevMode", &ext, sizeof(ext)); }
    DEVICEEXT StoredExtension() {
        DEVICEEXT ext = {};
        EXPECT_EQ(winsim_get_printer_data(kPrinterName, "Private DevMode", nullptr, &ext, sizeof(ext)),
                  static_cast<int32_t>(sizeof(ext)));
        return ext;
    }

    // A log line that starts with prefix, or empty.
    static std::string LogLineStarting(const std::string& prefix, size_t from = 0) {
        char line[1024];
        for (size_t i = from; i < winsim_log_size(); ++i) {
            winsim_log_line(i, line, sizeof(line));
            if (std::string(line).rfind(prefix, 0) == 0) {
                return line;
            }
        }
        return {};
    }
    static size_t LogCount(const std::string& prefix) {
        size_t n = 0;
        char line[1024];
        for (size_t i = 0; i < winsim_log_size(); ++i) {
            winsim_log_line(i, line, sizeof(line));
            n += std::string(line).rfind(prefix, 0) == 0;
        }
        return n;
    }

    uint32_t comObjects_ = 0;
    uint32_t comAllocations_ = 0;
};

// The UTF-16 text of an ASCII or UTF-8 literal.
inline std::basic_string<WCHAR> W(const char16_t* text) {
    return std::basic_string<WCHAR>(text);
}
