// Under Wine: prints the shared jobs through the real ktrender.dll of this build's profile and
// architecture, installed in Wine's spooler with its configuration library, and writes each job's
// printer stream as the spooler captured it, for comparison with the native build's.
//
//     kt_wine_render_<profile>.exe INF OUTDIR
#include "config_checks.h"
#include "host_engine.h"
#include "scenarios.h"
#include "wine_spooler.h"

#include <winspool.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

// The configuration library as an application reaches it: through Wine's own winspool.
class WineConfig : public configchecks::Api {
  public:
    explicit WineConfig(HMODULE module) : module_(module) {}
    LONG Properties(HANDLE printer, LPWSTR name, DEVMODEW* out, DEVMODEW* in, DWORD mode) override {
        return DocumentPropertiesW(nullptr, printer, name, out, in, mode);
    }
    DWORD CapabilitiesW(LPCWSTR name, WORD capability, LPWSTR output, const DEVMODEW* in) override {
        return ::DeviceCapabilitiesW(name, TEXT("FILE:"), capability, output, in);
    }
    DWORD CapabilitiesA(LPCWSTR name, WORD capability, LPSTR output) override {
        const std::string ansi = wine::Ansi(name);
        return ::DeviceCapabilitiesA(ansi.c_str(), "FILE:", capability, output, nullptr);
    }
    void* Export(const char* name) override { return reinterpret_cast<void*>(GetProcAddress(module_, name)); }

  private:
    HMODULE module_;
};

class WineEngine : public scenarios::Engine {
  public:
    WineEngine(host::Driver& driver, const std::wstring& printer, const std::wstring& output)
        : driver_(driver), printerName_(printer), output_(output) {}
    bool Open(const DRVDEVMODE* settings) override {
        if (!OpenPrinterW(&printerName_[0], &printer_, nullptr)) {
            return false;
        }
        open_ = driver_.Open(printer_, printerName_, &settings->Public);
        return open_;
    }
    bool StartDoc(const char* name) override {
        document_ = wine::Widen(name);
        DOC_INFO_1W doc = {&document_[0], &output_[0], const_cast<LPWSTR>(TEXT("RAW"))};
        job_ = StartDocPrinterW(printer_, 1, reinterpret_cast<LPBYTE>(&doc));
        return job_ && driver_.StartDoc(document_, job_);
    }
    bool StartPage(scenarios::PageBits* page) override {
        host::Page p = {};
        if (!driver_.StartPage(&p)) {
            return false;
        }
        *page = {p.Bits, p.Stride, p.Width, p.Height, p.BitsPerPixel};
        return true;
    }
    bool EndPage() override { return driver_.EndPage(); }
    bool EndDoc() override {
        const bool ended = driver_.EndDoc();
        if (job_) {
            EndDocPrinter(printer_);
            job_ = 0;
        }
        return ended;
    }
    void Close() override {
        if (open_) {
            driver_.Close();
            open_ = false;
        }
        if (printer_) {
            ClosePrinter(printer_);
            printer_ = nullptr;
        }
    }
    std::vector<uint8_t> Stream() override {
        std::ifstream in(wine::Narrow(output_).c_str(), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    host::Driver& driver_;
    std::wstring printerName_;
    std::wstring output_;
    std::wstring document_;
    HANDLE printer_ = nullptr;
    DWORD job_ = 0;
    bool open_ = false;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kt_wine_render INF OUTDIR\n");
        return 2;
    }
    const std::wstring out = argv[2];
    // The package as a user installs it: the INF's models, each a printer of its own on a file port.
    wine::Package package;
    std::string why;
    if (!wine::ReadPackage(argv[1], &package, &why) || !wine::InstallDriver(package, &why)) {
        std::fprintf(stderr, "cannot install the package: %s\n", why.c_str());
        return 1;
    }
    for (const std::wstring& model : package.Models) {
        if (!wine::InstallPrinter(model, model, TEXT("FILE:"), &why)) {
            std::fprintf(stderr, "cannot add the printer %s: %s\n", wine::Narrow(model).c_str(), why.c_str());
            return 1;
        }
        std::printf("printer %s: %s, %s\n", wine::Narrow(model).c_str(),
                    wine::Narrow(package.DriverFile).c_str(), wine::Narrow(package.ConfigFile).c_str());
    }
    const std::wstring printer = wine::Widen(scenarios::DriverName());
    host::Driver driver;
    if (!driver.Load(package.SourceFolder + TEXT("\\") + package.DriverFile, &why)) {
        std::fprintf(stderr, "cannot load ktrender.dll: %s\n", why.c_str());
        return 1;
    }
    int failed = 0;
    for (const scenarios::Scenario& s : scenarios::All()) {
        const std::wstring file = out + TEXT("\\") + wine::Widen(s.Name) + TEXT(".prn");
        DeleteFileW(file.c_str());
        WineEngine engine(driver, printer, file);
        std::vector<uint8_t> stream;
        if (!scenarios::Run(engine, s, &stream)) {
            std::fprintf(stderr, "%s: the job did not run (error %lu)\n", s.Name, GetLastError());
            ++failed;
            continue;
        }
        std::printf("%s: %u bytes\n", s.Name, static_cast<unsigned>(stream.size()));
    }
    // The configuration library, loaded from the driver folder as the spooler loads it.
    wchar_t folder[MAX_PATH];
    DWORD needed = 0;
    GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(folder), sizeof(folder),
                               &needed);
    HMODULE config = LoadLibraryW((std::wstring(folder) + TEXT("\\") + package.ConfigFile).c_str());
    if (!config) {
        std::fprintf(stderr, "cannot load %s\n", wine::Narrow(package.ConfigFile).c_str());
        return 1;
    }
    WineConfig api(config);
    std::ofstream answers(wine::Narrow(out + TEXT("\\config.txt")).c_str(), std::ios::binary);
    for (const std::string& line : configchecks::Run(api, printer.c_str())) {
        answers << line << "\n";
    }
    FreeLibrary(config);
    if (host::LiveObjects() != 0) {
        std::fprintf(stderr, "the driver left %u engine objects behind\n",
                     static_cast<unsigned>(host::LiveObjects()));
        ++failed;
    }
    return failed ? 1 : 0;
}
