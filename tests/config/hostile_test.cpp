// Every entry point against what a careless or hostile caller hands it: null pointers, short buffers,
// records of any size and content, unknown capabilities, levels and modes. The answers follow the Windows
// conventions and nothing is written past a buffer sized by the count the entry point gave.
#include "config_fixture.h"

#include "hostile_case.h"
#include "job_attributes.h"

#include <random>

namespace {

class Hostile : public ConfigTest {};

TEST_F(Hostile, NullPointersEverywhere) {
    LONG size = 0;
    EXPECT_FALSE(DrvConvertDevMode(nullptr, nullptr, nullptr, nullptr, CDM_CONVERT));
    EXPECT_FALSE(DrvConvertDevMode(nullptr, nullptr, nullptr, &size, CDM_DRIVER_DEFAULT));
    EXPECT_EQ(size, static_cast<LONG>(kExchangedSize));
    std::vector<BYTE> out(kExchangedSize);
    size = static_cast<LONG>(out.size());
    EXPECT_FALSE(DrvConvertDevMode(nullptr, nullptr, reinterpret_cast<DEVMODEW*>(out.data()), &size,
                                   CDM_DRIVER_DEFAULT))
        << "no printer name";
    for (WORD capability = 0; capability <= 40; ++capability) {
        DrvDeviceCapabilities(nullptr, nullptr, capability, nullptr, nullptr);
        DrvSplDeviceCaps(nullptr, nullptr, capability, nullptr, 0, nullptr);
    }
    EXPECT_FALSE(DrvQueryJobAttributes(nullptr, nullptr, 1, nullptr));
    BYTE info[64] = {};
    EXPECT_FALSE(DrvQueryJobAttributes(nullptr, nullptr, 4, info)) << "no printer to ask";
    EXPECT_TRUE(DrvPrinterEvent(nullptr, PRINTER_EVENT_CONFIGURATION_UPDATE, 0, 0));
    EXPECT_EQ(DrvDocumentProperties(nullptr, nullptr, nullptr, nullptr, nullptr, DM_COPY), -1);
    DOCUMENTPROPERTYHEADER h = {};
    h.cbSize = sizeof(h);
    h.fMode = DM_COPY;
    h.pdmOut = reinterpret_cast<DEVMODEW*>(out.data());
    EXPECT_EQ(DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&h)), 0) << "no printer at all";
}

// Random input records (some well formed and mutated, some any bytes at any claimed size) through every
// entry point that reads one; each output buffer is exactly as large as the entry point said.
TEST_F(Hostile, RecordsOfAnySizeAndContent) {
    DRVDEVMODE good = Settled();
    std::mt19937 random(20240601);
    for (int round = 0; round < 150; ++round) {
        std::vector<uint8_t> seed(512);
        for (uint8_t& b : seed) {
            b = static_cast<uint8_t>(random());
        }
        hostile::ByteSource src(seed.data(), seed.size());
        std::vector<uint8_t> bytes = hostile::InputRecord(src, good);
        DEVMODEW* in = reinterpret_cast<DEVMODEW*>(bytes.data());
        for (WORD capability = 1; capability <= 35; ++capability) {
            const DWORD count =
                DrvDeviceCapabilities(printer_, const_cast<PWSTR>(kPrinterNameW), capability, nullptr, in);
            if (count == 0xFFFFFFFF || count == 0 || count > 10000 || capability == DC_FIELDS ||
                capability == DC_SIZE || capability == DC_EXTRA || capability == DC_VERSION ||
                capability == DC_DRIVER || capability == DC_ORIENTATION || capability == DC_COPIES ||
                capability == DC_MINEXTENT || capability == DC_MAXEXTENT) {
                continue;
            }
            // The largest element of any list: a 64-character name.
            auto buffer = std::make_unique<BYTE[]>(count * 128);
            EXPECT_LE(DrvDeviceCapabilities(printer_, const_cast<PWSTR>(kPrinterNameW), capability,
                                            buffer.get(), in),
                      count)
                << "capability " << capability;
        }
        std::vector<BYTE> out(kExchangedSize);
        LONG size = static_cast<LONG>(out.size());
        DrvConvertDevMode(const_cast<LPWSTR>(kPrinterNameW), in, reinterpret_cast<DEVMODEW*>(out.data()),
                          &size, CDM_CONVERT);
        for (DWORD level = 0; level <= 5; ++level) {
            const size_t infoSize = AttributeInfoSize(level);
            auto info = std::make_unique<BYTE[]>(infoSize ? infoSize : 1);
            DrvQueryJobAttributes(printer_, in, level, info.get());
        }
        DOCUMENTPROPERTYHEADER h = {};
        h.cbSize = sizeof(h);
        h.hPrinter = printer_;
        h.pdmIn = in;
        h.pdmOut = reinterpret_cast<DEVMODEW*>(out.data());
        h.fMode = DM_COPY | DM_MODIFY;
        EXPECT_EQ(DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&h)), 1);
    }
}

// Printer state of any content behind the entry points: the stored record, extension and labels.
TEST_F(Hostile, StoredStateOfAnyContent) {
    std::mt19937 random(77);
    for (int round = 0; round < 60; ++round) {
        std::vector<uint8_t> seed(256);
        for (uint8_t& b : seed) {
            b = static_cast<uint8_t>(random());
        }
        hostile::ByteSource src(seed.data(), seed.size());
        DRVDEVMODE good = Settled();
        bool present = false;
        std::vector<uint8_t> stored = hostile::Blob(src, &good, kExchangedSize, 70000, &present);
        winsim_set_printer_devmode(kPrinterName, present ? stored.data() : nullptr,
                                   static_cast<uint32_t>(present ? stored.size() : 0));
        std::vector<uint8_t> ext = hostile::Blob(src, &good.Extension, sizeof(DEVICEEXT), 400, &present);
        if (present) {
            StoreValue("Private DevMode", ext.data(), ext.size());
        }
        std::vector<uint8_t> paper =
            hostile::Blob(src, good.Private.Labels, kLabelListBytes, 70000, &present);
        if (present) {
            StoreValue("Private Paper", paper.data(), paper.size());
        }
        const DWORD names = DrvDeviceCapabilities(printer_, nullptr, DC_PAPERNAMES, nullptr, nullptr);
        ASSERT_GE(names, 2u);
        ASSERT_LE(names, 250u);
        auto buffer = std::make_unique<WCHAR[]>(names * 64);
        EXPECT_EQ(DrvDeviceCapabilities(printer_, nullptr, DC_PAPERNAMES, buffer.get(), nullptr), names);
        for (DWORD i = 0; i < names; ++i) {
            EXPECT_LT(WStrLen(buffer.get() + i * 64, 64), 64u) << "name " << i << " unterminated";
        }
        const DWORD sizes = DrvDeviceCapabilities(printer_, nullptr, DC_PAPERSIZE, nullptr, nullptr);
        auto points = std::make_unique<POINT[]>(sizes);
        EXPECT_EQ(DrvDeviceCapabilities(printer_, nullptr, DC_PAPERSIZE, points.get(), nullptr), sizes);
        auto info = std::make_unique<ATTRIBUTE_INFO_4>();
        DrvQueryJobAttributes(printer_, nullptr, 4, reinterpret_cast<BYTE*>(info.get()));
        winsim_set_bidi_value(kPrinterName, "\\Printer.Configuration.Paper:Tray1", src.Byte() & 7,
                              seed.data(), src.Byte());
        EXPECT_TRUE(DrvPrinterEvent(const_cast<LPWSTR>(kPrinterNameW), PRINTER_EVENT_INITIALIZE, 0, 0));
    }
}

} // namespace
