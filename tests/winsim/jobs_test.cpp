// Print jobs: what a job receives, the order of the job calls the spooler insists on, and the short, empty
// and failed writes a driver has to cope with.
#include "winsim_test.h"

#include <string>
#include <vector>

namespace {

constexpr char kPrinter[] = "Label 1";

class JobsTest : public WinsimTest {
  protected:
    void SetUp() override {
        WinsimTest::SetUp();
        ASSERT_EQ(winsim_add_printer(kPrinter, "KT Driver", "USB001", "winprint", PRINTER_ATTRIBUTE_LOCAL),
                  1);
        std::u16string name = u"Label 1";
        ASSERT_TRUE(OpenPrinterW(name.data(), &printer_, nullptr));
    }
    void TearDown() override {
        ClosePrinter(printer_);
        WinsimTest::TearDown();
    }
    DWORD Start(const char16_t* datatype = u"RAW") {
        DOC_INFO_1W doc = {document_.data(), nullptr, const_cast<LPWSTR>(datatype)};
        return StartDocPrinterW(printer_, 1, reinterpret_cast<LPBYTE>(&doc));
    }
    BOOL Write(const std::string& text, DWORD* written) {
        return WritePrinter(printer_, const_cast<char*>(text.data()), static_cast<DWORD>(text.size()),
                            written);
    }
    std::string Job(uint32_t index) {
        const int32_t size = winsim_job_bytes(kPrinter, index, nullptr, 0);
        if (size < 0)
            return "(none)";
        std::string bytes(static_cast<size_t>(size), '\0');
        winsim_job_bytes(kPrinter, index, bytes.data(), static_cast<uint32_t>(bytes.size()));
        return bytes;
    }

    HANDLE printer_ = nullptr;
    std::u16string document_ = u"Label job";
};

TEST_F(JobsTest, JobsKeepWhatWasWrittenInOrder) {
    winsim_log_clear();
    EXPECT_EQ(Start(), 1u);
    DWORD written = 0;
    EXPECT_TRUE(Write("\x02"
                      "F00",
                      &written));
    EXPECT_EQ(written, 4u);
    EXPECT_TRUE(Write(std::string("\x03\x00", 2), &written));
    EXPECT_TRUE(EndDocPrinter(printer_));
    EXPECT_EQ(Start(nullptr), 2u) << "the handle's data type when the document names none";
    EXPECT_TRUE(Write("S", &written));
    EXPECT_TRUE(EndDocPrinter(printer_));

    EXPECT_EQ(winsim_job_count(kPrinter), 2u);
    EXPECT_EQ(Job(0), std::string("\x02"
                                  "F00\x03\x00",
                                  6));
    EXPECT_EQ(Job(1), "S");
    EXPECT_EQ(Job(2), "(none)");
    EXPECT_EQ(winsim_job_count("Nobody"), 0u);
    EXPECT_EQ(winsim_job_bytes("Nobody", 0, nullptr, 0), -1);

    char line[256];
    ASSERT_GE(winsim_log_line(0, line, sizeof line), 0);
    EXPECT_STREQ(line, "StartDocPrinterW printer=Label 1 level=1 document=Label job datatype=RAW");
    ASSERT_GE(winsim_log_line(1, line, sizeof line), 0);
    EXPECT_STREQ(line, "WritePrinter printer=Label 1 size=4");
    ASSERT_GE(winsim_log_line(3, line, sizeof line), 0);
    EXPECT_STREQ(line, "EndDocPrinter printer=Label 1");

    winsim_reset();
    EXPECT_EQ(winsim_job_count(kPrinter), 0u) << "jobs go with the printer";
}

TEST_F(JobsTest, CallsOutOfOrderAreRefused) {
    DWORD written = 7;
    SetLastError(0);
    EXPECT_FALSE(Write("x", &written));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));
    EXPECT_EQ(written, 0u);
    EXPECT_FALSE(EndDocPrinter(printer_));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));

    DOC_INFO_1W doc = {document_.data(), nullptr, nullptr};
    EXPECT_EQ(StartDocPrinterW(printer_, 2, reinterpret_cast<LPBYTE>(&doc)), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    EXPECT_EQ(Start(u"PCL"), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATATYPE));
    EXPECT_EQ(StartDocPrinterW(reinterpret_cast<HANDLE>(0x7777), 1, reinterpret_cast<LPBYTE>(&doc)), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    ASSERT_NE(Start(), 0u);
    EXPECT_EQ(Start(), 0u) << "one job at a time per handle";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_STATE));
    EXPECT_FALSE(WritePrinter(printer_, const_cast<char*>("x"), 1, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(RPC_X_NULL_REF_POINTER));
    EXPECT_FALSE(WritePrinter(printer_, nullptr, 1, &written));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
    EXPECT_TRUE(EndDocPrinter(printer_));
    EXPECT_EQ(winsim_job_count(kPrinter), 1u);
}

TEST_F(JobsTest, ShortAndEmptyWrites) {
    ASSERT_NE(Start(), 0u);
    ASSERT_EQ(winsim_set_write_limit(kPrinter, 5, 0), 1);
    DWORD written = 0;
    EXPECT_TRUE(Write("0123456789AB", &written));
    EXPECT_EQ(written, 5u);
    EXPECT_TRUE(Write("xyz", &written));
    EXPECT_EQ(written, 3u);
    ASSERT_EQ(winsim_set_write_limit(kPrinter, 0, 1), 1);
    EXPECT_TRUE(Write("lost", &written)) << "success, having taken nothing";
    EXPECT_EQ(written, 0u);
    ASSERT_EQ(winsim_set_write_limit(kPrinter, 0, 0), 1);
    EXPECT_TRUE(Write("!", &written));
    EXPECT_EQ(written, 1u);
    EXPECT_TRUE(EndDocPrinter(printer_));
    EXPECT_EQ(Job(0), "01234xyz!");
    EXPECT_EQ(winsim_set_write_limit("Nobody", 5, 0), 0);
}

TEST_F(JobsTest, PlannedFailures) {
    ASSERT_EQ(winsim_fail_next("StartDocPrinterW", 1), 1);
    EXPECT_EQ(Start(), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(RPC_S_SERVER_UNAVAILABLE));
    EXPECT_EQ(winsim_job_count(kPrinter), 0u);

    ASSERT_NE(Start(), 0u);
    ASSERT_EQ(winsim_fail_next("WritePrinter", 1), 1);
    DWORD written = 9;
    EXPECT_FALSE(Write("abc", &written));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRINT_CANCELLED));
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(Write("d", &written));

    ASSERT_EQ(winsim_fail_next("EndDocPrinter", 1), 1);
    EXPECT_FALSE(EndDocPrinter(printer_));
    EXPECT_NE(Start(), 0u) << "the failed end still ended the job";
    EXPECT_TRUE(EndDocPrinter(printer_));
    EXPECT_EQ(Job(0), "d");
}

} // namespace
