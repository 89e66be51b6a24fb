#include "wine_spooler.h"

#include <setupapi.h>
#include <winspool.h>

#include <string>

namespace wine {

std::wstring Widen(const std::string& text) {
    std::wstring out(text.size() + 1, TEXT('\0'));
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &out[0], static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return out;
}

std::string Narrow(const std::wstring& text) {
    std::string out(text.size() * 3 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], static_cast<int>(out.size()),
                                      nullptr, nullptr);
    out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return out;
}

namespace {

#if defined(_WIN64)
const wchar_t kDecoration[] = TEXT("NTamd64");
const wchar_t kSourceDisks[] = TEXT("SourceDisksNames.amd64");
#else
const wchar_t kDecoration[] = TEXT("NTx86");
const wchar_t kSourceDisks[] = TEXT("SourceDisksNames.x86");
#endif

std::wstring Field(INFCONTEXT* line, DWORD index) {
    wchar_t text[MAX_PATH] = {};
    DWORD needed = 0;
    return SetupGetStringFieldW(line, index, text, MAX_PATH, &needed) ? std::wstring(text) : std::wstring();
}

std::wstring Entry(HINF inf, const std::wstring& section, const wchar_t* key) {
    INFCONTEXT line;
    return SetupFindFirstLineW(inf, section.c_str(), key, &line) ? Field(&line, 1) : std::wstring();
}

} // namespace

bool ReadPackage(const std::wstring& path, Package* out, std::string* why) {
    UINT errorLine = 0;
    HINF inf = SetupOpenInfFileW(path.c_str(), nullptr, INF_STYLE_WIN4, &errorLine);
    if (inf == INVALID_HANDLE_VALUE) {
        *why = "setupapi cannot read the INF (line " + std::to_string(errorLine) + ")";
        return false;
    }
    // "%Manufacturer%=Models,NTamd64,NTx86": the models section for this architecture is Models.<decoration>.
    INFCONTEXT line;
    std::wstring models;
    if (SetupFindFirstLineW(inf, TEXT("Manufacturer"), nullptr, &line)) {
        const std::wstring base = Field(&line, 1);
        for (DWORD i = 2; i <= SetupGetFieldCount(&line); ++i) {
            if (lstrcmpiW(Field(&line, i).c_str(), kDecoration) == 0) {
                models = base + TEXT(".") + kDecoration;
            }
        }
    }
    std::wstring install;
    if (!models.empty() && SetupFindFirstLineW(inf, models.c_str(), nullptr, &line)) {
        do {
            wchar_t model[MAX_PATH] = {};
            DWORD needed = 0;
            SetupGetStringFieldW(&line, 0, model, MAX_PATH, &needed);
            out->Models.push_back(model);
            install = Field(&line, 1);
        } while (SetupFindNextLine(&line, &line));
    }
    if (out->Models.empty() || install.empty()) {
        SetupCloseInfFile(inf);
        *why = "the INF names no models for this architecture";
        return false;
    }
    out->DriverFile = Entry(inf, install, TEXT("DriverFile"));
    out->ConfigFile = Entry(inf, install, TEXT("ConfigFile"));
    out->DataFile = Entry(inf, install, TEXT("DataFile"));
    const std::wstring copy = Entry(inf, install, TEXT("CopyFiles"));
    if (SetupFindFirstLineW(inf, copy.c_str(), nullptr, &line)) {
        do {
            out->Files.push_back(Field(&line, 1));
        } while (SetupFindNextLine(&line, &line));
    }
    std::wstring folder = path.substr(0, path.find_last_of(TEXT("\\")));
    if (SetupFindFirstLineW(inf, kSourceDisks, nullptr, &line)) {
        folder += TEXT("\\") + Field(&line, 4);
    }
    out->SourceFolder = folder;
    SetupCloseInfFile(inf);
    return true;
}

std::string Ansi(const std::wstring& text) {
    std::string out(text.size() * 2 + 1, '\0');
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], static_cast<int>(out.size()),
                                      nullptr, nullptr);
    out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return out;
}

bool InstallDriver(const Package& package, std::string* why) {
    wchar_t folder[MAX_PATH];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(folder), sizeof(folder),
                                    &needed)) {
        *why = "no driver folder";
        return false;
    }
    for (const std::wstring& file : package.Files) {
        if (!CopyFileW((package.SourceFolder + TEXT("\\") + file).c_str(),
                       (std::wstring(folder) + TEXT("\\") + file).c_str(), FALSE)) {
            *why = "cannot copy " + Narrow(package.SourceFolder + TEXT("\\") + file);
            return false;
        }
    }
    for (const std::wstring& model : package.Models) {
        DRIVER_INFO_3W info = {};
        info.cVersion = 3;
        std::wstring name = model, path = package.DriverFile, config = package.ConfigFile,
                     data = package.DataFile;
        info.pName = &name[0];
        info.pDriverPath = &path[0];
        info.pDataFile = &data[0];
        info.pConfigFile = &config[0];
        if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&info))) {
            *why =
                "AddPrinterDriverW failed for " + Narrow(model) + ", error " + std::to_string(GetLastError());
            return false;
        }
    }
    return true;
}

bool InstallPrinter(const std::wstring& printerName, const std::wstring& driverName, const std::wstring& port,
                    std::string* why) {
    std::wstring name = printerName, driver = driverName, portName = port, processor = TEXT("WinPrint"),
                 datatype = TEXT("RAW");
    PRINTER_INFO_2W info = {};
    info.pPrinterName = &name[0];
    info.pPortName = &portName[0];
    info.pDriverName = &driver[0];
    info.pPrintProcessor = &processor[0];
    info.pDatatype = &datatype[0];
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    if (!printer) {
        *why = "AddPrinterW failed, error " + std::to_string(GetLastError());
        return false;
    }
    ClosePrinter(printer);
    return true;
}

} // namespace wine
