// The spooler contracts the driver relies on: size-probe-then-fill answers laid out inside the caller's
// buffer, printer-data errors, access rights, and what the host sees of the driver's changes.
#include "winsim_test.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr char kPrinter[] = "Label 1";
constexpr DWORD kDriverExtra = 40;

std::u16string printer_name() {
    return u"Label 1";
}

std::vector<BYTE> make_devmode(short copies) {
    std::vector<BYTE> bytes(sizeof(DEVMODEW) + kDriverExtra);
    DEVMODEW dm = {};
    std::memcpy(dm.dmDeviceName, u"Label 1", 16);
    dm.dmSpecVersion = DM_SPECVERSION;
    dm.dmSize = sizeof(DEVMODEW);
    dm.dmDriverExtra = kDriverExtra;
    dm.dmFields = DM_COPIES;
    dm.dmCopies = copies;
    std::memcpy(bytes.data(), &dm, sizeof dm);
    for (DWORD i = 0; i < kDriverExtra; ++i)
        bytes[sizeof(DEVMODEW) + i] = static_cast<BYTE>(0xA0 + i);
    return bytes;
}

std::u16string str(LPCWSTR text) {
    return text ? std::u16string(text) : std::u16string(u"(null)");
}

// Closes the printer handle at the end of a test.
struct Printer {
    explicit Printer(ACCESS_MASK access) {
        std::u16string name = printer_name();
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
        ok = OpenPrinterW(name.data(), &handle, &defaults) != FALSE;
    }
    ~Printer() {
        if (ok)
            ClosePrinter(handle);
    }
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    HANDLE handle = nullptr;
    bool ok = false;
};

class SpoolerTest : public WinsimTest {
  protected:
    void SetUp() override {
        WinsimTest::SetUp();
        ASSERT_EQ(winsim_add_printer(kPrinter, "KT Driver", "USB001", "winprint", PRINTER_ATTRIBUTE_LOCAL),
                  1);
        devmode_ = make_devmode(3);
        ASSERT_EQ(
            winsim_set_printer_devmode(kPrinter, devmode_.data(), static_cast<uint32_t>(devmode_.size())), 1);
        ASSERT_EQ(winsim_set_printer_driver(kPrinter, "ktrender.dll", "kt.dat", "ktcfg.dll",
                                            "D:\\Help\\LBLHELP.CHM"),
                  1);
    }

    // Asks for the size, checks that one byte less is refused and leaves the buffer as Windows leaves it
    // (alone, or cleared), then fills.
    enum class Refused { Untouched, Zeroed };
    std::vector<BYTE> probe_then_fill(const std::function<BOOL(LPBYTE, DWORD, LPDWORD)>& call,
                                      Refused refused = Refused::Untouched) {
        DWORD needed = 0xDEADBEEF;
        SetLastError(0);
        EXPECT_FALSE(call(nullptr, 0, &needed));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_NE(needed, 0xDEADBEEFu);
        if (needed == 0xDEADBEEFu || needed == 0)
            return {};

        std::vector<BYTE> short_buffer(needed - 1, 0xCD);
        DWORD again = 0;
        EXPECT_FALSE(call(short_buffer.data(), needed - 1, &again));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(again, needed);
        const BYTE left = refused == Refused::Zeroed ? 0x00 : 0xCD;
        EXPECT_EQ(std::count(short_buffer.begin(), short_buffer.end(), left), static_cast<long>(needed - 1))
            << "a refused call left the buffer otherwise than Windows does";

        std::vector<BYTE> buffer(needed, 0xCD);
        DWORD filled = 0;
        EXPECT_TRUE(call(buffer.data(), needed, &filled));
        EXPECT_EQ(filled, needed);
        return buffer;
    }

    static void expect_inside(const std::vector<BYTE>& buffer, const void* p, size_t bytes) {
        const auto* b = static_cast<const BYTE*>(p);
        EXPECT_TRUE(b >= buffer.data() && b + bytes <= buffer.data() + buffer.size())
            << "pointer outside the caller's buffer";
    }

    static void expect_string(const std::vector<BYTE>& buffer, LPCWSTR text, std::u16string_view expected) {
        ASSERT_NE(text, nullptr);
        expect_inside(buffer, text, (expected.size() + 1) * sizeof(WCHAR));
        EXPECT_EQ(std::u16string_view(text), expected);
    }

    std::vector<BYTE> devmode_;
};

TEST_F(SpoolerTest, PrinterLevel2IsLaidOutInsideTheCallersBuffer) {
    Printer printer(PRINTER_ACCESS_USE);
    ASSERT_TRUE(printer.ok);
    const std::vector<BYTE> buffer = probe_then_fill(
        [&](LPBYTE b, DWORD n, LPDWORD needed) { return GetPrinterW(printer.handle, 2, b, n, needed); });
    ASSERT_FALSE(buffer.empty());
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());

    expect_string(buffer, info->pPrinterName, u"Label 1");
    expect_string(buffer, info->pDriverName, u"KT Driver");
    expect_string(buffer, info->pPortName, u"USB001");
    expect_string(buffer, info->pPrintProcessor, u"winprint");
    expect_string(buffer, info->pDatatype, u"RAW");
    EXPECT_EQ(info->pServerName, nullptr);
    EXPECT_EQ(info->Attributes, static_cast<DWORD>(PRINTER_ATTRIBUTE_LOCAL));

    ASSERT_NE(info->pDevMode, nullptr);
    expect_inside(buffer, info->pDevMode, devmode_.size());
    EXPECT_EQ(reinterpret_cast<uintptr_t>(info->pDevMode) % alignof(DWORD), 0u);
    EXPECT_EQ(std::memcmp(info->pDevMode, devmode_.data(), devmode_.size()), 0);
    EXPECT_EQ(info->pDevMode->dmCopies, 3);
}

TEST_F(SpoolerTest, EveryLevelFillsTheSizeItAskedFor) {
    struct Case {
        DWORD level;
        std::function<void(const std::vector<BYTE>&)> check;
    };
    const Case cases[] = {
        {1,
         [](const auto& b) {
             expect_string(b, reinterpret_cast<const PRINTER_INFO_1W*>(b.data())->pName, u"Label 1");
         }},
        {2,
         [](const auto& b) {
             EXPECT_NE(reinterpret_cast<const PRINTER_INFO_2W*>(b.data())->pDevMode, nullptr);
         }},
        {4,
         [](const auto& b) {
             EXPECT_EQ(reinterpret_cast<const PRINTER_INFO_4W*>(b.data())->Attributes,
                       static_cast<DWORD>(PRINTER_ATTRIBUTE_LOCAL));
         }},
        {5,
         [](const auto& b) {
             expect_string(b, reinterpret_cast<const PRINTER_INFO_5W*>(b.data())->pPortName, u"USB001");
         }},
    };
    Printer printer(PRINTER_ACCESS_USE);
    ASSERT_TRUE(printer.ok);
    for (const Case& c : cases) {
        SCOPED_TRACE("level " + std::to_string(c.level));
        const std::vector<BYTE> buffer = probe_then_fill([&](LPBYTE b, DWORD n, LPDWORD needed) {
            return GetPrinterW(printer.handle, c.level, b, n, needed);
        });
        if (!buffer.empty())
            c.check(buffer);
    }
    for (const DWORD level : {0u, 3u, 6u, 7u, 8u, 9u}) {
        DWORD needed = 0;
        EXPECT_FALSE(GetPrinterW(printer.handle, level, nullptr, 0, &needed));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL)) << "level " << level;
    }
}

TEST_F(SpoolerTest, PrinterWithoutDefaultDevmodeReportsNull) {
    ASSERT_EQ(winsim_set_printer_devmode(kPrinter, nullptr, 0), 1);
    EXPECT_EQ(winsim_get_printer_devmode(kPrinter, nullptr, 0), -1);
    Printer printer(PRINTER_ACCESS_USE);
    std::vector<BYTE> buffer(512);
    DWORD needed = 0;
    ASSERT_TRUE(GetPrinterW(printer.handle, 2, buffer.data(), 512, &needed));
    EXPECT_EQ(reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data())->pDevMode, nullptr);
}

TEST_F(SpoolerTest, OpeningAndClosingFollowWindows) {
    struct Case {
        const char* what;
        std::u16string name;
        DWORD error;
    };
    const Case refused[] = {
        {"unknown", u"No Such Printer", ERROR_INVALID_PRINTER_NAME},
        {"empty", u"", ERROR_INVALID_PRINTER_NAME},
    };
    HANDLE handle = reinterpret_cast<HANDLE>(0x1234);
    for (Case c : refused) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(OpenPrinterW(c.name.data(), &handle, nullptr));
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_FALSE(OpenPrinterW(nullptr, &handle, nullptr)) << "the print server is not there";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    std::u16string other_case = u"LABEL 1";
    ASSERT_TRUE(OpenPrinterW(other_case.data(), &handle, nullptr)) << "printer names ignore case";
    EXPECT_EQ(winsim_open_handles(), handles_before_ + 1);
    EXPECT_TRUE(ClosePrinter(handle));
    EXPECT_FALSE(ClosePrinter(handle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(SpoolerTest, PrinterDataReadFollowsTheRegistryContract) {
    const DWORD permission = 1;
    ASSERT_EQ(winsim_set_printer_data(kPrinter, "Permission", REG_DWORD, &permission, 4), 1);
    Printer printer(PRINTER_ACCESS_USE);
    std::u16string name = u"permission"; // value names ignore case
    std::u16string missing = u"Private Paper";

    DWORD type = 0xDEADBEEF, needed = 0xDEADBEEF;
    BYTE data[8];
    std::memset(data, 0xCD, sizeof data);
    EXPECT_EQ(GetPrinterDataW(printer.handle, missing.data(), &type, data, sizeof data, &needed),
              static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    EXPECT_EQ(GetPrinterDataW(printer.handle, name.data(), &type, data, 3, &needed),
              static_cast<DWORD>(ERROR_MORE_DATA));
    EXPECT_EQ(needed, 4u);
    EXPECT_EQ(data[0], 0xCD) << "ERROR_MORE_DATA copies nothing";

    EXPECT_EQ(GetPrinterDataW(printer.handle, name.data(), &type, data, sizeof data, &needed),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(needed, 4u);
    DWORD value = 0;
    std::memcpy(&value, data, 4);
    EXPECT_EQ(value, 1u);

    EXPECT_EQ(
        GetPrinterDataW(reinterpret_cast<HANDLE>(0x4321), name.data(), &type, data, sizeof data, &needed),
        static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(SpoolerTest, ChangingPrinterSettingsNeedsAdministerRights) {
    struct Case {
        const char* what;
        bool defaults;
        ACCESS_MASK access;
        DWORD expected;
    };
    const Case cases[] = {
        {"no defaults", false, 0, ERROR_ACCESS_DENIED},
        {"use", true, PRINTER_ACCESS_USE, ERROR_ACCESS_DENIED},
        {"generic read", true, GENERIC_READ, ERROR_ACCESS_DENIED},
        {"administer", true, PRINTER_ACCESS_ADMINISTER, ERROR_SUCCESS},
        {"all access", true, PRINTER_ALL_ACCESS, ERROR_SUCCESS},
        {"generic all", true, GENERIC_ALL, ERROR_SUCCESS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        winsim_delete_printer_data(kPrinter, "Permission");
        std::u16string name = printer_name();
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, c.access};
        HANDLE handle = nullptr;
        ASSERT_TRUE(OpenPrinterW(name.data(), &handle, c.defaults ? &defaults : nullptr));

        std::u16string value = u"Permission";
        DWORD one = 1;
        EXPECT_EQ(SetPrinterDataW(handle, value.data(), REG_DWORD, reinterpret_cast<LPBYTE>(&one), 4),
                  c.expected);
        EXPECT_EQ(winsim_get_printer_data(kPrinter, "Permission", nullptr, nullptr, 0),
                  c.expected == ERROR_SUCCESS ? 4 : -1);

        PRINTER_INFO_7W info7 = {nullptr, DSPRINT_UPDATE};
        SetLastError(0);
        EXPECT_EQ(SetPrinterW(handle, 7, reinterpret_cast<LPBYTE>(&info7), 0) != FALSE,
                  c.expected == ERROR_SUCCESS);
        if (c.expected != ERROR_SUCCESS) {
            EXPECT_EQ(GetLastError(), c.expected);
        }

        // Reading needs no more than the right to use the printer.
        DWORD needed = 0;
        EXPECT_EQ(GetPrinterDataW(handle, value.data(), nullptr, nullptr, 0, &needed),
                  static_cast<DWORD>(c.expected == ERROR_SUCCESS ? ERROR_MORE_DATA : ERROR_FILE_NOT_FOUND));
        EXPECT_TRUE(ClosePrinter(handle));
    }
}

TEST_F(SpoolerTest, SetPrinterStoresWhatTheHostThenSees) {
    Printer printer(PRINTER_ALL_ACCESS);
    std::vector<BYTE> buffer(4096);
    DWORD needed = 0;
    ASSERT_TRUE(GetPrinterW(printer.handle, 2, buffer.data(), 4096, &needed));
    auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
    info->pDevMode->dmCopies = 7;
    info->Attributes |= PRINTER_ATTRIBUTE_RAW_ONLY;
    ASSERT_TRUE(SetPrinterW(printer.handle, 2, buffer.data(), 0));

    std::vector<BYTE> stored(devmode_.size() + 16);
    ASSERT_EQ(winsim_get_printer_devmode(kPrinter, stored.data(), static_cast<uint32_t>(stored.size())),
              static_cast<int32_t>(devmode_.size()));
    EXPECT_EQ(reinterpret_cast<const DEVMODEW*>(stored.data())->dmCopies, 7);
    EXPECT_EQ(stored[sizeof(DEVMODEW) + kDriverExtra - 1], 0xA0 + kDriverExtra - 1) << "driver extra kept";

    PRINTER_INFO_4W info4 = {};
    ASSERT_TRUE(GetPrinterW(printer.handle, 4, buffer.data(), 4096, &needed));
    std::memcpy(&info4, buffer.data(), sizeof info4);
    EXPECT_EQ(info4.Attributes, static_cast<DWORD>(PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_RAW_ONLY));

    // The driver's printer data reaches the host, the host's reaches the driver.
    std::u16string value = u"Private DevMode";
    BYTE extension[160] = {0x5A};
    ASSERT_EQ(SetPrinterDataW(printer.handle, value.data(), REG_BINARY, extension, sizeof extension),
              static_cast<DWORD>(ERROR_SUCCESS));
    uint32_t type = 0;
    BYTE first = 0;
    EXPECT_EQ(winsim_get_printer_data(kPrinter, "Private DevMode", &type, &first, 1), 160);
    EXPECT_EQ(type, static_cast<uint32_t>(REG_BINARY));
    EXPECT_EQ(first, 0x5A);
}

TEST_F(SpoolerTest, DriverQueriesReportInstalledFiles) {
    Printer printer(PRINTER_ACCESS_USE);
    const std::vector<BYTE> buffer = probe_then_fill(
        [&](LPBYTE b, DWORD n, LPDWORD needed) {
            return GetPrinterDriverW(printer.handle, nullptr, 3, b, n, needed);
        },
        Refused::Zeroed);
    ASSERT_FALSE(buffer.empty());
    const auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    EXPECT_EQ(info->cVersion, 3u);
    expect_string(buffer, info->pName, u"KT Driver");
    expect_string(buffer, info->pEnvironment, u"Windows x64");
    expect_string(buffer, info->pDriverPath, u"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\ktrender.dll");
    expect_string(buffer, info->pConfigFile, u"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\ktcfg.dll");
    expect_string(buffer, info->pHelpFile, u"D:\\Help\\LBLHELP.CHM");
    EXPECT_EQ(info->pDependentFiles, nullptr);

    std::u16string x86 = u"Windows NT x86";
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterDriverW(printer.handle, x86.data(), 3, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PRINTER_DRIVER)) << "only the x64 driver";
    for (const DWORD level : {1u, 2u, 4u}) {
        EXPECT_FALSE(GetPrinterDriverW(printer.handle, nullptr, level, nullptr, 0, &needed));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL)) << "level " << level;
    }

    ASSERT_EQ(winsim_add_printer("Bare", "KT Driver", "USB002", "winprint", 0), 1);
    std::u16string bare = u"Bare";
    HANDLE handle = nullptr;
    ASSERT_TRUE(OpenPrinterW(bare.data(), &handle, nullptr));
    EXPECT_FALSE(GetPrinterDriverW(handle, nullptr, 3, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_UNKNOWN_PRINTER_DRIVER)) << "no driver installed";
    ClosePrinter(handle);
}

TEST_F(SpoolerTest, DriverDirectorySizeIsInBytesWithTheNul) {
    winsim_set_driver_directory("C:\\Drivers\\x64");
    const std::u16string expected = u"C:\\Drivers\\x64";
    const std::vector<BYTE> buffer = probe_then_fill([](LPBYTE b, DWORD n, LPDWORD needed) {
        return GetPrinterDriverDirectoryW(nullptr, nullptr, 1, b, n, needed);
    });
    ASSERT_EQ(buffer.size(), (expected.size() + 1) * sizeof(WCHAR));
    EXPECT_EQ(std::u16string_view(reinterpret_cast<LPCWSTR>(buffer.data())), expected);
}

TEST_F(SpoolerTest, DriverDirectoryOfEachEnvironment) {
    // Each environment's drivers have a folder of their own beside the machine's; names ignore case.
    struct Case {
        const char16_t* server;
        const char16_t* environment;
        DWORD error;
        const char16_t* directory;
    };
    const Case cases[] = {
        {nullptr, nullptr, ERROR_SUCCESS, u"C:\\Windows\\System32\\spool\\drivers\\x64"},
        {u"", u"", ERROR_SUCCESS, u"C:\\Windows\\System32\\spool\\drivers\\x64"},
        {nullptr, u"windows X64", ERROR_SUCCESS, u"C:\\Windows\\System32\\spool\\drivers\\x64"},
        {nullptr, u"Windows NT x86", ERROR_SUCCESS, u"C:\\Windows\\System32\\spool\\drivers\\W32X86"},
        {nullptr, u"windowS 4.0", ERROR_SUCCESS, u"C:\\Windows\\System32\\spool\\drivers\\WIN40"},
        {nullptr, u"invalid_env", ERROR_INVALID_ENVIRONMENT, nullptr},
        {u"\\\\does_not_exist", nullptr, RPC_S_SERVER_UNAVAILABLE, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        std::u16string server = c.server ? c.server : u"", environment = c.environment ? c.environment : u"";
        WCHAR directory[MAX_PATH];
        DWORD needed = 0;
        SetLastError(0);
        const BOOL ok = GetPrinterDriverDirectoryW(
            c.server ? server.data() : nullptr, c.environment ? environment.data() : nullptr, 1,
            reinterpret_cast<LPBYTE>(directory), sizeof directory, &needed);
        EXPECT_EQ(ok != FALSE, c.error == ERROR_SUCCESS);
        if (ok) {
            EXPECT_EQ(str(directory), c.directory);
        } else {
            EXPECT_EQ(GetLastError(), c.error);
        }
    }
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterDriverDirectoryW(nullptr, nullptr, 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
}

TEST_F(SpoolerTest, HandlesOutliveTheirPrinterButFail) {
    Printer printer(PRINTER_ACCESS_USE);
    ASSERT_EQ(winsim_remove_printer(kPrinter), 1);
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterW(printer.handle, 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRINTER_DELETED));
}

TEST_F(SpoolerTest, ResetClosesPrinterHandles) {
    std::u16string name = printer_name();
    HANDLE handle = nullptr;
    ASSERT_TRUE(OpenPrinterW(name.data(), &handle, nullptr));
    winsim_reset();
    EXPECT_EQ(winsim_open_handles(), handles_before_);
    EXPECT_FALSE(ClosePrinter(handle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(SpoolerTest, CallLogNamesEachCallWithItsArguments) {
    winsim_log_clear();
    {
        Printer printer(PRINTER_ALL_ACCESS);
        std::u16string value = u"Permission";
        DWORD needed = 0;
        BYTE data[4];
        GetPrinterDataW(printer.handle, value.data(), nullptr, data, 4, &needed);
    }
    const char* expected[] = {
        "OpenPrinterW name=Label 1 access=0x000F000C",
        "GetPrinterDataW printer=Label 1 value=Permission size=4",
        "ClosePrinter printer=Label 1",
    };
    ASSERT_EQ(winsim_log_size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        char line[128];
        EXPECT_EQ(winsim_log_line(i, line, sizeof line), static_cast<int>(std::strlen(expected[i])));
        EXPECT_STREQ(line, expected[i]);
    }
    char small[8];
    EXPECT_EQ(winsim_log_line(0, small, sizeof small), static_cast<int>(std::strlen(expected[0])));
    EXPECT_STREQ(small, "OpenPri");
    EXPECT_EQ(winsim_log_line(3, small, sizeof small), -1);
}

} // namespace
