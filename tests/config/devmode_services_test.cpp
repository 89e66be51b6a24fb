// DrvConvertDevMode, the device-mode service of DrvDocumentPropertySheets without a sheet, and
// DrvDocumentProperties: sizes, errors, and what reaches the caller's buffers.
#include "config_fixture.h"

namespace {

constexpr LONG kSize = static_cast<LONG>(kExchangedSize);

class DevModeServices : public ConfigTest {
  protected:
    // An output buffer with a marker after the record, to catch a write past it.
    std::vector<BYTE> Output() { return std::vector<BYTE>(kExchangedSize + 16, 0xEE); }
    static bool TailUntouched(const std::vector<BYTE>& out) {
        for (size_t i = kExchangedSize; i < out.size(); ++i) {
            if (out[i] != 0xEE) {
                return false;
            }
        }
        return true;
    }
    BOOL Convert(DEVMODEW* in, void* out, LONG* size, DWORD mode) {
        return DrvConvertDevMode(const_cast<LPWSTR>(kPrinterNameW), in, static_cast<DEVMODEW*>(out), size,
                                 mode);
    }
};

TEST_F(DevModeServices, ConvertArgumentsAndSizes) {
    std::vector<BYTE> in = Exchanged();
    std::vector<BYTE> out = Output();
    const struct {
        const char* What;
        bool In, Out, Size;
        LONG Given;
        DWORD Mode;
        DWORD Error;
        LONG SizeAfter;
    } cases[] = {
        {"convert, no input", false, true, true, kSize, CDM_CONVERT, ERROR_INVALID_PARAMETER, kSize},
        {"convert, no output", true, false, true, kSize, CDM_CONVERT, ERROR_INVALID_PARAMETER, kSize},
        {"convert, no size", true, true, false, 0, CDM_CONVERT, ERROR_INVALID_PARAMETER, 0},
        {"convert, short", true, true, true, kProfileA ? 58000 : 53000, CDM_CONVERT,
         ERROR_INSUFFICIENT_BUFFER, kProfileA ? 58000 : 53000},
        {"convert, one byte short", true, true, true, kSize - 1, CDM_CONVERT, ERROR_INSUFFICIENT_BUFFER,
         kSize - 1},
        {"convert, negative", true, true, true, -1, CDM_CONVERT, ERROR_INSUFFICIENT_BUFFER, -1},
        {"default, short", false, true, true, kProfileA ? 58000 : 53000, CDM_DRIVER_DEFAULT,
         ERROR_INSUFFICIENT_BUFFER, kSize},
        {"default, no output", false, false, true, kSize, CDM_DRIVER_DEFAULT, ERROR_INSUFFICIENT_BUFFER,
         kSize},
        {"default, no size", false, true, false, 0, CDM_DRIVER_DEFAULT, ERROR_INVALID_PARAMETER, 0},
        {"convert351", true, true, true, kSize, CDM_CONVERT351, ERROR_INVALID_PARAMETER, kSize},
        {"mode 0", true, true, true, kSize, 0, ERROR_INVALID_PARAMETER, kSize},
        {"mode 8", true, true, true, kSize, 8, ERROR_INVALID_PARAMETER, kSize},
    };
    for (const auto& c : cases) {
        LONG size = c.Given;
        SetLastError(0xDEADBEEF);
        EXPECT_FALSE(Convert(c.In ? AsDevMode(in) : nullptr, c.Out ? out.data() : nullptr,
                             c.Size ? &size : nullptr, c.Mode))
            << c.What;
        EXPECT_EQ(GetLastError(), c.Error) << c.What;
        if (c.Size) {
            EXPECT_EQ(size, c.SizeAfter) << c.What;
        }
        EXPECT_EQ(out[0], 0xEE) << c.What << ": nothing written";
    }
}

TEST_F(DevModeServices, ConvertTakesTheInputDefaultTakesThePrinter) {
    // The printer's current settings carry another label as stored default.
    DRVDEVMODE stored = Settled();
    stored.Private.Copies = 7;
    SyncPublicDevMode(&stored);
    StoreDevMode(&stored, kExchangedSize);
    StoreExtension(stored.Extension);

    std::vector<BYTE> in = Exchanged();
    AsRecord(in)->Private.Copies = 3;
    AsRecord(in)->Public.dmCopies = 3;
    std::vector<BYTE> out = Output();
    LONG size = kSize;
    ASSERT_TRUE(Convert(AsDevMode(in), out.data(), &size, CDM_CONVERT));
    EXPECT_EQ(size, kSize);
    EXPECT_EQ(AsRecord(out)->Private.Copies, 3) << "the input's settings";
    EXPECT_EQ(AsRecord(out)->Private.Signature, kDevModeSignature);
    EXPECT_TRUE(TailUntouched(out));

    std::vector<BYTE> defaults = Output();
    size = kSize + 100;
    ASSERT_TRUE(Convert(nullptr, defaults.data(), &size, CDM_DRIVER_DEFAULT));
    EXPECT_EQ(size, kSize);
    EXPECT_EQ(AsRecord(defaults)->Private.Copies, 7) << "the printer's current settings, not bare defaults";
    EXPECT_EQ(AsRecord(defaults)->Public.dmSize, 220);
    EXPECT_EQ(AsRecord(defaults)->Public.dmDriverExtra, kPrivateBytes);
    EXPECT_TRUE(TailUntouched(defaults));
}

TEST_F(DevModeServices, ConvertFailuresAfterTheChecks) {
    std::vector<BYTE> in = Exchanged();
    std::vector<BYTE> out = Output();
    LONG size = kSize;
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(DrvConvertDevMode(const_cast<LPWSTR>(TEXT("No such printer")), AsDevMode(in), AsDevMode(out),
                                   &size, CDM_CONVERT));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(size, 0);

    // The working record cannot be had.
    size = kSize;
    winsim_fail_calls("GlobalAlloc", 0, 1);
    EXPECT_FALSE(Convert(AsDevMode(in), out.data(), &size, CDM_CONVERT));
    winsim_clear_faults();
    EXPECT_EQ(size, 0);
    EXPECT_EQ(out[0], 0xEE);
}

TEST_F(DevModeServices, ServiceWithoutASheet) {
    std::vector<BYTE> in = Exchanged();
    AsRecord(in)->Private.Copies = 4;
    AsRecord(in)->Public.dmCopies = 4;
    std::vector<BYTE> out = Output();
    DOCUMENTPROPERTYHEADER h = {};
    h.cbSize = sizeof(h);
    h.hPrinter = printer_;
    h.pszPrinterName = const_cast<LPWSTR>(kPrinterNameW);
    h.pdmIn = AsDevMode(in);
    const struct {
        DWORD Mode;
        bool Out;
        LONG Result;
        bool Written;
    } cases[] = {
        {0, true, kSize, false},
        {DM_COPY, false, kSize, false},
        {DM_MODIFY, true, 1, false},
        {DM_PROMPT, true, 1, false},
        {DM_COPY, true, 1, true},
        {DM_UPDATE, true, 1, true},
        {DM_COPY | DM_MODIFY | DM_UPDATE, true, 1, true},
    };
    for (const auto& c : cases) {
        std::fill(out.begin(), out.end(), 0xEE);
        h.fMode = c.Mode;
        h.pdmOut = c.Out ? AsDevMode(out) : nullptr;
        h.cbOut = 0;
        EXPECT_EQ(DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&h)), c.Result)
            << "mode " << c.Mode;
        EXPECT_EQ(h.cbOut, static_cast<DWORD>(kSize));
        EXPECT_EQ(out[0] != 0xEE || out[100] != 0xEE, c.Written) << "mode " << c.Mode;
        if (c.Written) {
            EXPECT_EQ(AsRecord(out)->Private.Copies, 4);
            EXPECT_TRUE(TailUntouched(out));
        }
    }
    EXPECT_EQ(winsim_get_printer_devmode(kPrinterName, nullptr, 0), -1)
        << "DM_UPDATE never writes the printer";

    EXPECT_EQ(DrvDocumentPropertySheets(nullptr, 0), -1);
    h.cbSize = sizeof(h) - 1;
    EXPECT_EQ(DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&h)), -1)
        << "a header of another size";
}

TEST_F(DevModeServices, DocumentPropertiesWithoutPrompt) {
    std::vector<BYTE> in = Exchanged();
    std::vector<BYTE> out = Output();
    auto call = [&](DEVMODEW* o, DEVMODEW* i, DWORD mode) {
        return DrvDocumentProperties(nullptr, printer_, const_cast<LPWSTR>(kPrinterNameW), o, i, mode);
    };
    EXPECT_EQ(call(nullptr, nullptr, 0), kSize);
    SetLastError(0);
    EXPECT_EQ(call(nullptr, AsDevMode(in), DM_COPY), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(call(AsDevMode(out), nullptr, DM_COPY | DM_MODIFY), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(call(AsDevMode(out), AsDevMode(in), DM_COPY | DM_MODIFY), 1);
    EXPECT_EQ(AsRecord(out)->Private.Signature, kDevModeSignature);
    EXPECT_TRUE(TailUntouched(out));

    // A sheet step with the other sheet's header, or with no service function to hand pages to, fails
    // plainly and keeps nothing.
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof(info);
    DEVICEPROPERTYHEADER device = {sizeof(device), 0, printer_, const_cast<LPWSTR>(kPrinterNameW)};
    info.lParamInit = reinterpret_cast<LPARAM>(&device);
    SetLastError(0);
    EXPECT_EQ(DrvDocumentPropertySheets(&info, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(DrvDevicePropertySheets(&info, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(info.UserData, 0u);
    EXPECT_EQ(DrvDevicePropertySheets(nullptr, 0), -1);
}

} // namespace
