// Under Wine: prints the shared jobs through the real ktrender.dll of this build's profile and
// architecture, installed in Wine's spooler with its configuration library, and writes each job's
// printer stream as the spooler captured it, for comparison with the native build's.
//
//     kt_wine_render_<profile>.exe INF OUTDIR
#include "host_engine.h"
#include "scenarios.h"
#include "wine_spooler.h"

#include <winspool.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

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
    if (host::LiveObjects() != 0) {
        std::fprintf(stderr, "the driver left %u engine objects behind\n",
                     static_cast<unsigned>(host::LiveObjects()));
        ++failed;
    }
    return failed ? 1 : 0;
}
