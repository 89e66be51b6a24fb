// The host API's reads: every "copy what is stored into the caller's buffer" function answers the stored
// size with or without a buffer, copies no more than it is given room for, and copes with things that hold
// nothing (a job that received no bytes, a printer-data value of size 0).
#include "winsim_test.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr char kPrinter[] = "Label 1";

class HostTest : public WinsimTest {
  protected:
    void SetUp() override {
        WinsimTest::SetUp();
        ASSERT_EQ(winsim_add_printer(kPrinter, "KT Driver", "USB001", "winprint", PRINTER_ATTRIBUTE_LOCAL),
                  1);
    }

    // Runs one job on the printer that receives `bytes`.
    void RunJob(const std::string& bytes) {
        std::u16string name = u"Label 1";
        HANDLE printer = nullptr;
        ASSERT_TRUE(OpenPrinterW(name.data(), &printer, nullptr));
        DOC_INFO_1W doc = {const_cast<LPWSTR>(u"job"), nullptr, const_cast<LPWSTR>(u"RAW")};
        ASSERT_NE(StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&doc)), 0u);
        if (!bytes.empty()) {
            DWORD written = 0;
            ASSERT_TRUE(WritePrinter(printer, const_cast<char*>(bytes.data()),
                                     static_cast<DWORD>(bytes.size()), &written));
        }
        ASSERT_TRUE(EndDocPrinter(printer));
        ASSERT_TRUE(ClosePrinter(printer));
    }
};

TEST_F(HostTest, ReadsAnswerTheStoredSizeAndCopyAtMostTheRoomGiven) {
    const std::string devmode(sizeof(DEVMODEW), '\x11');
    ASSERT_EQ(winsim_set_printer_devmode(kPrinter, devmode.data(), static_cast<uint32_t>(devmode.size())), 1);
    ASSERT_EQ(winsim_set_printer_data(kPrinter, "Empty", REG_BINARY, nullptr, 0), 1);
    ASSERT_EQ(winsim_set_printer_data(kPrinter, "Name", REG_SZ, u"KT", 6), 1);
    RunJob("");
    RunJob("\x02"
           "F00\x03");

    struct Case {
        const char* what;
        std::function<int32_t(void*, uint32_t)> read;
        std::string stored;
    };
    const Case cases[] = {
        {"empty job", [](void* b, uint32_t n) { return winsim_job_bytes(kPrinter, 0, b, n); }, ""},
        {"job", [](void* b, uint32_t n) { return winsim_job_bytes(kPrinter, 1, b, n); },
         "\x02"
         "F00\x03"},
        {"empty value",
         [](void* b, uint32_t n) { return winsim_get_printer_data(kPrinter, "Empty", nullptr, b, n); }, ""},
        {"value",
         [](void* b, uint32_t n) { return winsim_get_printer_data(kPrinter, "name", nullptr, b, n); },
         std::string("K\0T\0\0\0", 6)},
        {"device record", [](void* b, uint32_t n) { return winsim_get_printer_devmode(kPrinter, b, n); },
         devmode},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto size = static_cast<int32_t>(c.stored.size());
        EXPECT_EQ(c.read(nullptr, 0), size);
        for (const uint32_t room : {0u, 1u, static_cast<uint32_t>(c.stored.size()) + 4}) {
            SCOPED_TRACE("room " + std::to_string(room));
            std::string buffer(c.stored.size() + 4, '\xCD');
            EXPECT_EQ(c.read(buffer.data(), room), size);
            const size_t copied = std::min<size_t>(room, c.stored.size());
            EXPECT_EQ(buffer.substr(0, copied), c.stored.substr(0, copied));
            EXPECT_EQ(buffer.substr(copied), std::string(buffer.size() - copied, '\xCD'))
                << "written past what was stored or past the room given";
        }
    }
}

TEST_F(HostTest, ReadsOfWhatIsNotThereFail) {
    uint32_t type = 0xDEADBEEF;
    BYTE buffer[4] = {0xCD, 0xCD, 0xCD, 0xCD};
    EXPECT_EQ(winsim_job_bytes(kPrinter, 0, buffer, 4), -1) << "no job yet";
    EXPECT_EQ(winsim_job_bytes("Nobody", 0, buffer, 4), -1);
    EXPECT_EQ(winsim_get_printer_devmode(kPrinter, buffer, 4), -1) << "no device record stored";
    EXPECT_EQ(winsim_get_printer_devmode("Nobody", buffer, 4), -1);
    EXPECT_EQ(winsim_get_printer_data(kPrinter, "Missing", &type, buffer, 4), -1);
    EXPECT_EQ(winsim_get_printer_data("Nobody", "Missing", &type, buffer, 4), -1);
    EXPECT_EQ(type, 0xDEADBEEFu);
    EXPECT_EQ(buffer[0], 0xCD);

    ASSERT_EQ(winsim_set_printer_data(kPrinter, "Empty", REG_DWORD, nullptr, 0), 1);
    EXPECT_EQ(winsim_get_printer_data(kPrinter, "Empty", &type, nullptr, 0), 0);
    EXPECT_EQ(type, static_cast<uint32_t>(REG_DWORD)) << "the type of an empty value is reported too";
}

TEST_F(HostTest, LogLinesAreCutToTheRoomAndAlwaysTerminated) {
    winsim_log_clear();
    std::u16string name = u"Label 1";
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(name.data(), &printer, nullptr));
    ASSERT_TRUE(ClosePrinter(printer));
    const std::string first = "OpenPrinterW name=Label 1 access=0x00000008";
    ASSERT_EQ(winsim_log_size(), 2u);

    struct Case {
        size_t room;
        std::string expected;
    };
    const Case cases[] = {
        {0, ""},
        {1, ""},
        {8, first.substr(0, 7)},
        {first.size(), first.substr(0, first.size() - 1)},
        {first.size() + 1, first},
        {first.size() + 8, first},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("room " + std::to_string(c.room));
        std::string buffer(first.size() + 8, '\xCD');
        EXPECT_EQ(winsim_log_line(0, buffer.data(), c.room), static_cast<int>(first.size()));
        if (c.room == 0) {
            EXPECT_EQ(buffer[0], '\xCD') << "no room, nothing written";
            continue;
        }
        EXPECT_EQ(std::string(buffer.c_str()), c.expected);
        EXPECT_EQ(buffer[c.expected.size() + 1], '\xCD') << "written past the terminating NUL";
    }
    EXPECT_EQ(winsim_log_line(0, nullptr, 0), static_cast<int>(first.size()));
    EXPECT_EQ(winsim_log_line(2, nullptr, 0), -1);
}

} // namespace
