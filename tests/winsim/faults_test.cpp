// Fault injection and call counting: a planned failure hits exactly the planned calls, each service fails the
// way Windows reports that service's failure, and releasing calls still release.
#include "winsim_test.h"

#include <functional>
#include <string>

namespace {

class FaultsTest : public WinsimTest {
  protected:
    void SetUp() override {
        WinsimTest::SetUp();
        ASSERT_EQ(winsim_add_printer("P1", "KT Driver", "USB001", "winprint", PRINTER_ATTRIBUTE_LOCAL), 1);
        std::u16string name = u"P1";
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        ASSERT_TRUE(OpenPrinterW(name.data(), &printer_, &defaults));
    }

    void TearDown() override {
        ClosePrinter(printer_);
        WinsimTest::TearDown();
    }

    DWORD read_value() {
        std::u16string value = u"Permission";
        DWORD needed = 0;
        BYTE data[4];
        return GetPrinterDataW(printer_, value.data(), nullptr, data, sizeof data, &needed);
    }

    HANDLE printer_ = nullptr;
};

TEST_F(FaultsTest, PlanFailsTheCallsAfterTheSkippedOnes) {
    const DWORD one = 1;
    ASSERT_EQ(winsim_set_printer_data("P1", "Permission", REG_DWORD, &one, 4), 1);
    winsim_log_clear();
    ASSERT_EQ(winsim_fail_calls("GetPrinterDataW", 2, 2), 1);
    const uint32_t before = winsim_call_count("GetPrinterDataW");

    std::vector<DWORD> results;
    for (int i = 0; i < 5; ++i)
        results.push_back(read_value());
    const DWORD ok = ERROR_SUCCESS, down = RPC_S_SERVER_UNAVAILABLE;
    EXPECT_EQ(results, (std::vector<DWORD>{ok, ok, down, down, ok}));
    EXPECT_EQ(winsim_call_count("GetPrinterDataW") - before, 5u) << "failed calls count too";

    char line[128];
    ASSERT_EQ(winsim_log_size(), 5u);
    winsim_log_line(2, line, sizeof line);
    EXPECT_STREQ(line, "GetPrinterDataW printer=P1 value=Permission size=4 [injected failure]");
    winsim_log_line(4, line, sizeof line);
    EXPECT_STREQ(line, "GetPrinterDataW printer=P1 value=Permission size=4");
}

TEST_F(FaultsTest, EachServiceFailsTheWayWindowsReportsIt) {
    struct Outcome {
        bool failed;
        DWORD error;
    };
    std::u16string printer_name = u"P1";
    std::u16string value = u"Permission";
    std::u16string file_name = u"C:\\fault.bin";
    std::u16string mutex_name = u"FaultMutex";
    const auto last_error = [](bool failed) { return Outcome{failed, failed ? GetLastError() : 0}; };

    struct Case {
        const char* service;
        DWORD windows_error;
        std::function<Outcome()> call;
    };
    const Case cases[] = {
        {"GlobalAlloc", ERROR_NOT_ENOUGH_MEMORY,
         [&] {
             HGLOBAL p = GlobalAlloc(GPTR, 16);
             GlobalFree(p);
             return last_error(p == nullptr);
         }},
        {"HeapAlloc", ERROR_NOT_ENOUGH_MEMORY,
         [&] {
             void* p = HeapAlloc(GetProcessHeap(), 0, 16);
             HeapFree(GetProcessHeap(), 0, p);
             return last_error(p == nullptr);
         }},
        {"OpenPrinterW", RPC_S_SERVER_UNAVAILABLE,
         [&] {
             HANDLE h = nullptr;
             const bool ok = OpenPrinterW(printer_name.data(), &h, nullptr);
             const Outcome outcome = last_error(!ok);
             if (ok)
                 ClosePrinter(h);
             return outcome;
         }},
        {"GetPrinterW", RPC_S_SERVER_UNAVAILABLE,
         [&] {
             BYTE buffer[1024];
             DWORD needed = 0;
             return last_error(!GetPrinterW(printer_, 2, buffer, sizeof buffer, &needed));
         }},
        {"SetPrinterDataW", RPC_S_SERVER_UNAVAILABLE,
         [&] {
             DWORD one = 1;
             const DWORD rc =
                 SetPrinterDataW(printer_, value.data(), REG_DWORD, reinterpret_cast<LPBYTE>(&one), 4);
             return Outcome{rc != ERROR_SUCCESS, rc};
         }},
        {"CreateFileW", ERROR_ACCESS_DENIED,
         [&] {
             HANDLE h = CreateFileW(file_name.data(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
             const Outcome outcome = last_error(h == INVALID_HANDLE_VALUE);
             if (h != INVALID_HANDLE_VALUE)
                 CloseHandle(h);
             return outcome;
         }},
        {"WriteFile", ERROR_WRITE_FAULT,
         [&] {
             HANDLE h = CreateFileW(file_name.data(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
             DWORD written = 0;
             const Outcome outcome = last_error(!WriteFile(h, "abc", 3, &written, nullptr));
             CloseHandle(h);
             return outcome;
         }},
        {"CreateMutexW", ERROR_ACCESS_DENIED,
         [&] {
             HANDLE h = CreateMutexW(nullptr, FALSE, mutex_name.c_str());
             const Outcome outcome = last_error(h == nullptr);
             if (h)
                 CloseHandle(h);
             return outcome;
         }},
        {"WaitForSingleObject", ERROR_INVALID_HANDLE,
         [&] {
             HANDLE h = CreateMutexW(nullptr, FALSE, nullptr);
             const DWORD rc = WaitForSingleObject(h, 0);
             const Outcome outcome = last_error(rc == WAIT_FAILED);
             if (rc == WAIT_OBJECT_0)
                 ReleaseMutex(h);
             CloseHandle(h);
             return outcome;
         }},
        {"MultiByteToWideChar", ERROR_NO_UNICODE_TRANSLATION,
         [&] {
             WCHAR out[4];
             return last_error(MultiByteToWideChar(932, 0, "abc", 3, out, 4) == 0);
         }},
        {"VerifyVersionInfoW", ERROR_OLD_WIN_VERSION,
         [&] {
             OSVERSIONINFOEXW info = {};
             info.dwOSVersionInfoSize = sizeof info;
             info.dwMajorVersion = 5;
             const DWORDLONG mask = VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL);
             return last_error(!VerifyVersionInfoW(&info, VER_MAJORVERSION, mask));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.service);
        ASSERT_EQ(winsim_fail_next(c.service, 1), 1);
        const Outcome failed = c.call();
        EXPECT_TRUE(failed.failed);
        EXPECT_EQ(failed.error, c.windows_error);
        EXPECT_FALSE(c.call().failed) << "the fault was for one call only";
    }
}

TEST_F(FaultsTest, HostChosenErrorReplacesTheDefault) {
    // A user without administrator rights, as the driver meets one.
    ASSERT_EQ(winsim_fail_calls_with("SetPrinterDataW", 0, 1, ERROR_ACCESS_DENIED), 1);
    std::u16string value = u"Permission";
    DWORD one = 1;
    EXPECT_EQ(SetPrinterDataW(printer_, value.data(), REG_DWORD, reinterpret_cast<LPBYTE>(&one), 4),
              static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(winsim_get_printer_data("P1", "Permission", nullptr, nullptr, 0), -1);
}

TEST_F(FaultsTest, FailedReleasesStillRelease) {
    std::u16string name = u"P1";
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(name.data(), &printer, nullptr));
    HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
    HGLOBAL block = GlobalAlloc(GPTR, 32);
    ASSERT_NE(mutex, nullptr);
    ASSERT_NE(block, nullptr);

    winsim_fail_next("ClosePrinter", 1);
    winsim_fail_next("CloseHandle", 1);
    winsim_fail_next("GlobalFree", 1);
    EXPECT_FALSE(ClosePrinter(printer));
    EXPECT_FALSE(CloseHandle(mutex));
    EXPECT_EQ(GlobalFree(block), block);
    // The handles are gone (checked by the fixture) and the block is freed (checked by LeakSanitizer), so
    // a second free is refused.
    EXPECT_EQ(GlobalFree(block), block);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(FaultsTest, ResetAndClearForgetPlans) {
    EXPECT_EQ(winsim_fail_next("GetPrinterDataW", 10), 1);
    winsim_clear_faults();
    EXPECT_EQ(read_value(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    EXPECT_EQ(winsim_fail_next("GlobalAlloc", 10), 1);
    winsim_reset();
    EXPECT_EQ(winsim_call_count("GlobalAlloc"), 0u);
    HGLOBAL p = GlobalAlloc(GPTR, 8);
    EXPECT_NE(p, nullptr);
    GlobalFree(p);
    EXPECT_EQ(winsim_call_count("GlobalAlloc"), 1u);
}

TEST_F(FaultsTest, UnknownServiceNamesAreRefused) {
    EXPECT_EQ(winsim_fail_next("GlobalAloc", 1), 0);
    EXPECT_EQ(winsim_fail_calls("OpenPrinter", 0, 1), 0) << "only the W function is a service";
    EXPECT_EQ(winsim_call_count("NoSuchFunction"), 0u);
}

} // namespace
