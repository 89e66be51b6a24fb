#include "config_checks.h"

#include "devmode.h"
#include "label_store.h"
#include "model_lookup.h"
#include "wstr.h"

#include <compstui.h>
#include <winddiui.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace configchecks {
namespace {

#if defined(KT_PROFILE_A)
constexpr LONG kModel = 0;
#else
constexpr LONG kModel = 5;
#endif

// A short digest of bytes, so that a line can stand for a whole record.
std::string Digest(const void* data, size_t size) {
    const BYTE* p = static_cast<const BYTE*>(data);
    uint64_t h = 1469598103934665603ULL;
    for (size_t i = 0; i < size; ++i) {
        h = (h ^ p[i]) * 1099511628211ULL;
    }
    char text[40];
    std::snprintf(text, sizeof(text), "%zu bytes, %016llx", size, static_cast<unsigned long long>(h));
    return text;
}

std::string Utf8(const WCHAR* text, size_t max) {
    const int len = static_cast<int>(WStrLen(text, max));
    if (len == 0) {
        return {};
    }
    char out[512];
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, len, out, sizeof(out), nullptr, nullptr);
    return std::string(out, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string Hex(const char* text) {
    std::string s;
    char b[4];
    for (; *text; ++text) {
        std::snprintf(b, sizeof(b), "%02X", static_cast<unsigned char>(*text));
        s += b;
    }
    return s;
}

class Lines {
  public:
    void Line(const std::string& what, const std::string& answer) { lines_.push_back(what + ": " + answer); }
    void Line(const std::string& what, long long answer) { Line(what, std::to_string(answer)); }
    std::vector<std::string> Take() { return std::move(lines_); }

  private:
    std::vector<std::string> lines_;
};

std::unique_ptr<DRVDEVMODE> Defaults() {
    auto rec = std::make_unique<DRVDEVMODE>();
    InitDevModeForModel(rec.get(), kModel);
    rec->Private.Signature = kDevModeSignature;
    return rec;
}

// The printer's stored state as the printer sheet would have written it: its default record, "Private
// DevMode" and a label list of five, two of them with Japanese names.
bool Reset(HANDLE printer) {
    auto rec = Defaults();
    PRINTER_INFO_2W* info = nullptr;
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (!GetPrinterW(printer, 2, buffer.data(), needed, &needed)) {
        return false;
    }
    info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
    info->pDevMode = &rec->Public;
    info->pSecurityDescriptor = nullptr;
    if (!SetPrinterW(printer, 2, buffer.data(), 0)) {
        return false;
    }
    LABELINFO* labels = rec->Private.Labels;
    const WCHAR* names[] = {TEXT("食品ラベル"), TEXT("Box 100x50"), TEXT("配送用ﾗﾍﾞﾙ")};
    for (int i = 0; i < 3; ++i) {
        labels[2 + i] = labels[0];
        WStrCopy(labels[2 + i].Name, names[i]);
        labels[2 + i].Id = 32767 - i;
        labels[2 + i].Width = 100 - 10 * i;
        labels[2 + i].Length = 50 + i;
    }
    return SetPrinterDataW(printer, const_cast<LPWSTR>(TEXT("Private DevMode")), REG_BINARY,
                           reinterpret_cast<LPBYTE>(&rec->Extension),
                           sizeof(rec->Extension)) == ERROR_SUCCESS &&
           SetPrinterDataW(printer, const_cast<LPWSTR>(TEXT("Private Paper")), REG_BINARY,
                           reinterpret_cast<LPBYTE>(labels),
                           static_cast<DWORD>(kLabelListBytes)) == ERROR_SUCCESS;
}

} // namespace

std::vector<std::string> Run(Api& api, LPCWSTR printerName) {
    Lines out;
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &all) || !Reset(printer)) {
        out.Line("stored state", "cannot be set");
        return out.Take();
    }
    LPWSTR name = const_cast<LPWSTR>(printerName);

    // Document properties: the size, the printer's settings, and an input merged in.
    const LONG size = api.Properties(printer, name, nullptr, nullptr, 0);
    out.Line("document properties size", size);
    std::vector<BYTE> settings(size > 0 ? static_cast<size_t>(size) : 0);
    DEVMODEW* dm = reinterpret_cast<DEVMODEW*>(settings.data());
    out.Line("document properties out", api.Properties(printer, name, dm, nullptr, DM_OUT_BUFFER));
    out.Line("settings", Digest(settings.data(), settings.size()));
    out.Line("form", Utf8(dm->dmFormName, CCHFORMNAME));
    std::vector<BYTE> merged(settings.size());
    dm->dmFields = DM_ORIENTATION | DM_COPIES | DM_PAPERSIZE;
    dm->dmOrientation = DMORIENT_LANDSCAPE;
    dm->dmCopies = 7;
    dm->dmPaperSize = 32766;
    out.Line("document properties merge",
             api.Properties(printer, name, reinterpret_cast<DEVMODEW*>(merged.data()), dm,
                            DM_IN_BUFFER | DM_OUT_BUFFER));
    out.Line("merged", Digest(merged.data(), merged.size()));
    const DEVMODEW* m = reinterpret_cast<const DEVMODEW*>(merged.data());
    out.Line("merged form", Utf8(m->dmFormName, CCHFORMNAME) + ", copies " + std::to_string(m->dmCopies) +
                                ", orientation " + std::to_string(m->dmOrientation));

    // Capabilities, counted and written, wide and ANSI.
    const struct {
        const char* Name;
        WORD Capability;
        size_t Bytes; // of each entry written
    } caps[] = {
        {"DC_FIELDS", DC_FIELDS, 0},
        {"DC_PAPERS", DC_PAPERS, 2},
        {"DC_PAPERSIZE", DC_PAPERSIZE, 8},
        {"DC_MINEXTENT", DC_MINEXTENT, 0},
        {"DC_MAXEXTENT", DC_MAXEXTENT, 0},
        {"DC_BINS", DC_BINS, 2},
        {"DC_BINNAMES", DC_BINNAMES, 48},
        {"DC_ENUMRESOLUTIONS", DC_ENUMRESOLUTIONS, 8},
        {"DC_PAPERNAMES", DC_PAPERNAMES, 128},
        {"DC_ORIENTATION", DC_ORIENTATION, 0},
        {"DC_COPIES", DC_COPIES, 0},
        {"DC_COLLATE", DC_COLLATE, 0},
        {"DC_COLORDEVICE", DC_COLORDEVICE, 0},
        {"DC_MEDIATYPENAMES", DC_MEDIATYPENAMES, 128},
        {"DC_MEDIATYPES", DC_MEDIATYPES, 4},
        {"DC_SIZE", DC_SIZE, 0},
        {"DC_EXTRA", DC_EXTRA, 0},
        {"DC_DRIVER", DC_DRIVER, 0},
    };
    for (const auto& c : caps) {
        const DWORD count = api.CapabilitiesW(printerName, c.Capability, nullptr, nullptr);
        std::string answer = std::to_string(static_cast<LONG>(count));
        if (c.Bytes && static_cast<LONG>(count) > 0) {
            std::vector<BYTE> list(c.Bytes * count + 16, 0xEE);
            const DWORD written =
                api.CapabilitiesW(printerName, c.Capability, reinterpret_cast<LPWSTR>(list.data()), nullptr);
            answer += ", written " + std::to_string(written) + ", " + Digest(list.data(), list.size());
        }
        out.Line(std::string("capability ") + c.Name, answer);
    }
    const DWORD papers = api.CapabilitiesW(printerName, DC_PAPERNAMES, nullptr, nullptr);
    std::vector<WCHAR> names(64 * (papers + 1), 0);
    api.CapabilitiesW(printerName, DC_PAPERNAMES, names.data(), nullptr);
    std::vector<char> ansi(64 * (papers + 1), 0);
    const DWORD ansiCount = api.CapabilitiesA(printerName, DC_PAPERNAMES, ansi.data());
    out.Line("paper names (ANSI)", ansiCount);
    for (DWORD i = 0; i < papers; ++i) {
        out.Line("paper name " + std::to_string(i), Utf8(&names[64 * i], 64) + " / " + Hex(&ansi[64 * i]));
    }

    // The stored label list reads back as written.
    std::vector<BYTE> paper(kLabelListBytes + 8);
    DWORD type = 0, got = 0;
    const DWORD read = GetPrinterDataW(printer, const_cast<LPWSTR>(TEXT("Private Paper")), &type,
                                       paper.data(), static_cast<DWORD>(paper.size()), &got);
    out.Line("Private Paper", std::to_string(read) + ", " + Digest(paper.data(), got));

    // The library called directly.
    using Convert = BOOL(APIENTRY*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
    if (auto convert = reinterpret_cast<Convert>(api.Export("DrvConvertDevMode"))) {
        LONG bytes = static_cast<LONG>(kExchangedSize);
        std::vector<BYTE> def(kExchangedSize);
        const BOOL ok =
            convert(name, nullptr, reinterpret_cast<PDEVMODEW>(def.data()), &bytes, CDM_DRIVER_DEFAULT);
        out.Line("DrvConvertDevMode default",
                 std::to_string(ok) + ", " + std::to_string(bytes) + ", " + Digest(def.data(), def.size()));
    }
    using Event = BOOL(APIENTRY*)(LPWSTR, INT, DWORD, LPARAM);
    if (auto event = reinterpret_cast<Event>(api.Export("DrvPrinterEvent"))) {
        SetPrinterDataW(printer, const_cast<LPWSTR>(TEXT("Private DevMode")), REG_BINARY, nullptr, 0);
        const BOOL ok = event(name, PRINTER_EVENT_INITIALIZE, 0, 0);
        std::vector<BYTE> ext(512);
        got = 0;
        GetPrinterDataW(printer, const_cast<LPWSTR>(TEXT("Private DevMode")), &type, ext.data(),
                        static_cast<DWORD>(ext.size()), &got);
        out.Line("DrvPrinterEvent initialise",
                 std::to_string(ok) + ", Private DevMode " + Digest(ext.data(), got));
        SetLastError(0);
        const BOOL unknown = event(name, 0, 0, 0);
        const DWORD error = GetLastError();
        out.Line("DrvPrinterEvent 0", std::to_string(unknown) + ", error " + std::to_string(error));
    }
    using Sheets = LONG(APIENTRY*)(PPROPSHEETUI_INFO, LPARAM);
    for (const char* sheet : {"DrvDocumentPropertySheets", "DrvDevicePropertySheets"}) {
        auto call = reinterpret_cast<Sheets>(api.Export(sheet));
        if (!call) {
            out.Line(sheet, "missing");
            continue;
        }
        PROPSHEETUI_INFO info = {};
        info.cbSize = sizeof(info);
        info.Version = PROPSHEETUI_INFO_VERSION;
        info.Reason = PROPSHEETUI_REASON_INIT;
        DEVICEPROPERTYHEADER device = {sizeof(device), 0, printer, name};
        DOCUMENTPROPERTYHEADER document = {sizeof(document), 0, printer, name, nullptr, nullptr, 0, 0};
        info.lParamInit = std::strcmp(sheet, "DrvDevicePropertySheets") == 0
                              ? reinterpret_cast<LPARAM>(&device)
                              : reinterpret_cast<LPARAM>(&document);
        SetLastError(0);
        const LONG result = call(&info, 0);
        out.Line(std::string(sheet) + " opening",
                 std::to_string(result) + ", error " + std::to_string(GetLastError()));
        if (result > 0) {
            info.Reason = PROPSHEETUI_REASON_DESTROY;
            call(&info, 0);
        }
    }
    ClosePrinter(printer);
    return out.Take();
}

} // namespace configchecks
