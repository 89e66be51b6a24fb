// DrvDeviceCapabilities and DrvSplDeviceCaps against answers worked out from the model tables: every
// capability with and without an output buffer, lists written into buffers of exactly the size the count
// asks for, and the answers that follow the caller's record.
#include "config_fixture.h"

#include "label_file.h"
#include "label_store.h"
#include "wstr.h"

#include <winsim_host.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// The test printer is variant 0 of the profile: KT-508W (profile A), the 203 dpi placeholder slot (B).
struct Expected {
    DWORD Fields;
    DWORD Extra;
    LONG MaxWidth, MaxLength;
    LONG Dpi;
    DWORD Color;
    LONG PaperWidth, PaperLength; // the standard label, 0.1 mm
    const WCHAR* PaperName;
};
constexpr Expected kA = {0x02002F0F, 58168, 1600, 5000, 305, 1, 1600, 800, TEXT("標準ﾗﾍﾞﾙ(160x80)")};
constexpr Expected kB = {0x0200270F, 53152, 1040, 5000, 203, 0, 1000, 800, TEXT("標準ﾗﾍﾞﾙ(100x80)")};
constexpr const Expected& kExpect = kProfileA ? kA : kB;

constexpr DWORD kError = 0xFFFFFFFF;

class Capabilities : public ConfigTest {
  protected:
    DWORD Ask(WORD capability, void* output = nullptr, const DEVMODEW* input = nullptr) {
        return DrvDeviceCapabilities(printer_, const_cast<PWSTR>(kPrinterNameW), capability, output,
                                     const_cast<DEVMODEW*>(input));
    }
    // Asks for the count, then fills a heap buffer of exactly count * element bytes, so that a write past
    // it is an AddressSanitizer report.
    std::vector<BYTE> List(WORD capability, size_t element, const DEVMODEW* input = nullptr) {
        const DWORD count = Ask(capability, nullptr, input);
        EXPECT_NE(count, kError);
        auto buffer = std::make_unique<BYTE[]>(count * element);
        std::memset(buffer.get(), 0xEE, count * element);
        EXPECT_EQ(Ask(capability, buffer.get(), input), count) << "size asked for and size filled differ";
        return std::vector<BYTE>(buffer.get(), buffer.get() + count * element);
    }
    template <class T> static T At(const std::vector<BYTE>& b, size_t i) {
        T v;
        std::memcpy(&v, b.data() + i * sizeof(T), sizeof(T));
        return v;
    }
    static std::basic_string<WCHAR> Name(const std::vector<BYTE>& b, size_t i, size_t slot) {
        const WCHAR* s = reinterpret_cast<const WCHAR*>(b.data()) + i * slot;
        EXPECT_EQ(WStrLen(s, slot) < slot, true) << "unterminated name " << i;
        return s;
    }
    // Stores a label list of count entries as the printer's "Private Paper".
    void StoreLabels(int count) {
        DRVDEVMODE rec = Settled();
        for (int i = 2; i < count; ++i) {
            LABELINFO& l = rec.Private.Labels[i];
            l = rec.Private.Labels[0];
            char16_t name[16];
            for (int k = 0; k < 6; ++k) {
                name[k] = u"Label "[k];
            }
            name[6] = static_cast<char16_t>(u'A' + i);
            name[7] = 0;
            WStrCopy(l.Name, name);
            l.Id = 0;
            AssignLabelId(&rec, i);
        }
        ASSERT_TRUE(WriteStoredLabels(&rec, printer_));
    }
};

TEST_F(Capabilities, ScalarAnswersWithAndWithoutOutput) {
    const struct {
        WORD Capability;
        DWORD Answer;
    } cases[] = {
        {DC_FIELDS, kExpect.Fields},
        {DC_DUPLEX, 0},
        {DC_SIZE, 220},
        {DC_EXTRA, kExpect.Extra},
        {DC_VERSION, 0x0401},
        {DC_DRIVER, 0x0100},
        {DC_TRUETYPE, 1},
        {DC_ORIENTATION, 90},
        {DC_COPIES, 9999},
        {DC_EMF_COMPLIANT, 1},
        {DC_COLLATE, 0},
        {DC_STAPLE, 0},
        {DC_COLORDEVICE, kExpect.Color},
        {DC_MINEXTENT, 0x000A000A},
        {DC_MAXEXTENT, static_cast<DWORD>(kExpect.MaxLength) << 16 | static_cast<DWORD>(kExpect.MaxWidth)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ask(c.Capability), c.Answer) << "capability " << c.Capability;
        BYTE out[16];
        std::memset(out, 0xEE, sizeof(out));
        EXPECT_EQ(Ask(c.Capability, out), c.Answer) << "capability " << c.Capability << " with output";
        const bool writesPoint = c.Capability == DC_MINEXTENT || c.Capability == DC_MAXEXTENT;
        EXPECT_EQ(out[writesPoint ? 8 : 0], 0xEE) << "capability " << c.Capability << " wrote too much";
    }
    BYTE point[8];
    Ask(DC_MINEXTENT, point);
    EXPECT_EQ(At<LONG>({point, point + 8}, 0), 10);
    EXPECT_EQ(At<LONG>({point, point + 8}, 1), 10);
    Ask(DC_MAXEXTENT, point);
    EXPECT_EQ(At<LONG>({point, point + 8}, 0), kExpect.MaxWidth);
    EXPECT_EQ(At<LONG>({point, point + 8}, 1), kExpect.MaxLength);
}

TEST_F(Capabilities, ListsAsCountedAndFilled) {
    const std::vector<BYTE> papers = List(DC_PAPERS, sizeof(WORD));
    ASSERT_EQ(papers.size(), 2 * sizeof(WORD));
    EXPECT_EQ(At<WORD>(papers, 0), 257);
    EXPECT_EQ(At<WORD>(papers, 1), 256);

    const std::vector<BYTE> sizes = List(DC_PAPERSIZE, sizeof(POINT));
    ASSERT_EQ(sizes.size(), 2 * sizeof(POINT));
    EXPECT_EQ(At<LONG>(sizes, 0), kExpect.PaperWidth);
    EXPECT_EQ(At<LONG>(sizes, 1), kExpect.PaperLength);
    EXPECT_EQ(At<LONG>(sizes, 2), kExpect.PaperWidth) << "the user-defined size starts as the standard label";
    EXPECT_EQ(At<LONG>(sizes, 3), kExpect.PaperLength);

    const std::vector<BYTE> bins = List(DC_BINS, sizeof(WORD));
    ASSERT_EQ(bins.size(), 2 * sizeof(WORD));
    EXPECT_EQ(At<WORD>(bins, 0), 14);
    EXPECT_EQ(At<WORD>(bins, 1), 4);

    const std::vector<BYTE> binNames = List(DC_BINNAMES, 24 * sizeof(WCHAR));
    ASSERT_EQ(binNames.size(), 2 * 24 * sizeof(WCHAR));
    EXPECT_EQ(Name(binNames, 0, 24), W(u"Cassette"));
    EXPECT_EQ(Name(binNames, 1, 24), W(u"ManualFeed"));

    const std::vector<BYTE> resolutions = List(DC_ENUMRESOLUTIONS, 2 * sizeof(LONG));
    ASSERT_EQ(resolutions.size(), 2 * sizeof(LONG));
    EXPECT_EQ(At<LONG>(resolutions, 0), kExpect.Dpi);
    EXPECT_EQ(At<LONG>(resolutions, 1), kExpect.Dpi);

    for (WORD names : {DC_PAPERNAMES, DC_MEDIAREADY}) {
        const std::vector<BYTE> paperNames = List(names, 64 * sizeof(WCHAR));
        ASSERT_EQ(paperNames.size(), 2 * 64 * sizeof(WCHAR));
        EXPECT_EQ(Name(paperNames, 0, 64), W(kExpect.PaperName));
        EXPECT_EQ(Name(paperNames, 1, 64), W(u"ユーザー定義"));
    }

    const std::vector<BYTE> mediaNames = List(DC_MEDIATYPENAMES, 64 * sizeof(WCHAR));
    ASSERT_EQ(mediaNames.size(), 3 * 64 * sizeof(WCHAR));
    EXPECT_EQ(Name(mediaNames, 0, 64), W(u"Plain paper"));
    EXPECT_EQ(Name(mediaNames, 1, 64), W(u"Transparency"));
    EXPECT_EQ(Name(mediaNames, 2, 64), W(u"Glossy paper"));

    const std::vector<BYTE> media = List(DC_MEDIATYPES, sizeof(DWORD));
    ASSERT_EQ(media.size(), 3 * sizeof(DWORD));
    EXPECT_EQ(At<DWORD>(media, 0), 1u);
    EXPECT_EQ(At<DWORD>(media, 1), 2u);
    EXPECT_EQ(At<DWORD>(media, 2), 3u);
}

TEST_F(Capabilities, WhatTheDriverDoesNotAnswer) {
    for (WORD capability : {0, 14, 19, 21, 23, 24, 25, 26, 27, 28, 31, 33, 36, 100, 0xFFFF}) {
        BYTE out[64];
        std::memset(out, 0xEE, sizeof(out));
        EXPECT_EQ(Ask(capability, out), kError) << "capability " << capability;
        EXPECT_EQ(out[0], 0xEE);
    }
}

TEST_F(Capabilities, PapersAfterImportingTenLabels) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("ktcfg_import_" + std::to_string(getpid()));
    std::filesystem::create_directories(root / "c");
    winsim_set_file_root(root.c_str());
    // A label file as the label page writes it: the two built-in entries, then ten labels whose id column
    // is 0 so that the import gives them ids.
    DRVDEVMODE rec = Settled();
    ASSERT_TRUE(ExportLabelFile(&rec, TEXT("C:\\labels.csv")));
    std::ifstream in(root / "c" / "labels.csv", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t secondLine = text.find('\n') + 1;
    std::string entry = text.substr(text.find('\n', secondLine) + 1); // the user-defined entry
    entry = entry.substr(0, entry.find('\n'));
    const size_t idColumn = kProfileA ? 20 : 18;
    std::vector<std::string> fields;
    for (size_t at = 0, comma; at != std::string::npos; at = comma == std::string::npos ? comma : comma + 1) {
        comma = entry.find(',', at);
        fields.push_back(entry.substr(at, comma == std::string::npos ? comma : comma - at));
    }
    for (int i = 1; i <= 10; ++i) {
        fields[0] = "Label " + std::to_string(i);
        fields[idColumn] = "0";
        std::string line;
        for (size_t f = 0; f < fields.size(); ++f) {
            line += (f ? "," : "") + fields[f];
        }
        text += line + "\n";
    }
    std::ofstream(root / "c" / "labels.csv", std::ios::binary | std::ios::trunc) << text;
    ASSERT_TRUE(ImportLabelFile(&rec, TEXT("C:\\labels.csv")));
    ASSERT_TRUE(WriteStoredLabels(&rec, printer_));
    winsim_set_file_root(nullptr);
    std::filesystem::remove_all(root);

    EXPECT_EQ(Ask(DC_PAPERS), 12u);
    const std::vector<BYTE> ids = List(DC_PAPERS, sizeof(WORD));
    ASSERT_EQ(ids.size(), 12 * sizeof(WORD));
    EXPECT_EQ(At<WORD>(ids, 0), 257);
    EXPECT_EQ(At<WORD>(ids, 1), 256);
    for (int i = 2; i < 12; ++i) {
        EXPECT_EQ(At<WORD>(ids, static_cast<size_t>(i)), 32767 - (i - 2)) << "entry " << i;
    }
    const std::vector<BYTE> names = List(DC_PAPERNAMES, 64 * sizeof(WCHAR));
    EXPECT_EQ(Name(names, 11, 64), W(u"Label 10"));
}

TEST_F(Capabilities, AnswersFollowTheCallersRecord) {
    std::vector<BYTE> input = Exchanged();
    AsRecord(input)->Private.LandscapeRotation = 1;
    EXPECT_EQ(Ask(DC_ORIENTATION, nullptr, AsDevMode(input)), 270u);
    EXPECT_EQ(Ask(DC_ORIENTATION), 90u) << "the printer's own settings are unchanged";

    // The user-defined size chosen in the public part shows as the size of entry 1.
    std::vector<BYTE> custom = Exchanged();
    DEVMODEW* dm = AsDevMode(custom);
    dm->dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
    dm->dmPaperSize = 256;
    dm->dmPaperWidth = 500;
    dm->dmPaperLength = 700;
    const std::vector<BYTE> sizes = List(DC_PAPERSIZE, sizeof(POINT), dm);
    ASSERT_EQ(sizes.size(), 2 * sizeof(POINT));
    EXPECT_EQ(At<LONG>(sizes, 2), 500);
    EXPECT_EQ(At<LONG>(sizes, 3), 700);

    // A record carrying a label list of its own answers from that list.
    std::vector<BYTE> own = Exchanged();
    DRVDEVMODE* rec = AsRecord(own);
    rec->Private.Labels[2] = rec->Private.Labels[0];
    rec->Private.Labels[2].Id = 32767;
    rec->Private.LabelCount = 3;
    EXPECT_EQ(Ask(DC_PAPERS, nullptr, AsDevMode(own)), 3u);
    EXPECT_EQ(Ask(DC_PAPERS), 2u);
}

TEST_F(Capabilities, WithoutAPrinterHandleTheDeviceNameIsOpened) {
    const uint32_t handles = winsim_open_handles();
    winsim_log_clear();
    EXPECT_EQ(DrvDeviceCapabilities(nullptr, const_cast<PWSTR>(kPrinterNameW), DC_PAPERS, nullptr, nullptr),
              2u);
    EXPECT_EQ(LogLineStarting("OpenPrinterW name=Label Printer"),
              "OpenPrinterW name=Label Printer access=0x00000008");
    EXPECT_EQ(winsim_open_handles(), handles) << "the call closes what it opened";
    EXPECT_EQ(DrvSplDeviceCaps(nullptr, const_cast<PWSTR>(kPrinterNameW), DC_PAPERNAMES, nullptr, 0, nullptr),
              2u);
    EXPECT_EQ(winsim_open_handles(), handles);

    EXPECT_EQ(DrvDeviceCapabilities(nullptr, const_cast<PWSTR>(TEXT("No such printer")), DC_PAPERS, nullptr,
                                    nullptr),
              kError);
    EXPECT_EQ(DrvDeviceCapabilities(nullptr, nullptr, DC_PAPERS, nullptr, nullptr), kError);
}

TEST_F(Capabilities, SpoolerFormFitsWholeNames) {
    StoreLabels(5);
    auto ask = [&](WORD capability, void* out, DWORD capacity) {
        return DrvSplDeviceCaps(printer_, const_cast<PWSTR>(kPrinterNameW), capability, out, capacity,
                                nullptr);
    };
    EXPECT_EQ(ask(DC_PAPERNAMES, nullptr, 0), 5u);
    const struct {
        DWORD Capacity;
        DWORD Answer;
    } cases[] = {{200, 3}, {63, kError}, {64, 1}, {319, 4}, {320, 5}, {1000, 5}};
    for (const auto& c : cases) {
        for (WORD capability : {DC_PAPERNAMES, DC_MEDIAREADY}) {
            // Exactly the capacity the caller claims, so that a name past it is caught.
            auto out = std::make_unique<WCHAR[]>(c.Capacity ? c.Capacity : 1);
            EXPECT_EQ(ask(capability, out.get(), c.Capacity), c.Answer) << "capacity " << c.Capacity;
        }
    }
    WCHAR names[3 * 64];
    ASSERT_EQ(ask(DC_PAPERNAMES, names, 200), 3u);
    EXPECT_EQ(W(names), W(kExpect.PaperName));
    EXPECT_EQ(W(names + 64), W(u"ユーザー定義"));
    EXPECT_EQ(W(names + 128), W(u"Label C"));
    EXPECT_EQ(ask(DC_PAPERS, names, 200), kError);
    EXPECT_EQ(ask(DC_BINNAMES, nullptr, 0), kError);
}

} // namespace
