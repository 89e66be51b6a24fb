// What the Wine suite compares the Windows builds with: the printer stream of every shared job as the
// native build prints it (through winsim's engine front), one file per job, and the configuration
// library's answers to the shared checks (config.txt).
//
//     kt_native_expected_<profile> RENDER_MODULE CONFIG_MODULE DIR
#include "config_checks.h"
#include "scenarios.h"

#include <compstui.h>
#include <winddiui.h>
#include <winsim_host.h>

#include <dlfcn.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// The printer has the name Wine's gets: the variant's model name, which is also its driver's name.
const char* const kPrinter = scenarios::DriverName();

// The configuration library reached the way Windows' winspool reaches it for an application.
class NativeConfig : public configchecks::Api {
  public:
    explicit NativeConfig(void* module) : module_(module) {}
    LONG Properties(HANDLE printer, LPWSTR name, DEVMODEW* out, DEVMODEW* in, DWORD mode) override {
        // DocumentPropertiesW hands the driver a header and no sheet.
        DOCUMENTPROPERTYHEADER header = {sizeof(header), 0, printer, name, in, out, 0, mode};
        using Sheets = LONG (*)(PPROPSHEETUI_INFO, LPARAM);
        auto call = reinterpret_cast<Sheets>(Export("DrvDocumentPropertySheets"));
        return call ? call(nullptr, reinterpret_cast<LPARAM>(&header)) : -1;
    }
    DWORD CapabilitiesW(LPCWSTR name, WORD capability, LPWSTR output, const DEVMODEW* in) override {
        // As Windows' winspool (and Wine's) calls it: no printer handle, only the device name.
        using Caps = DWORD (*)(HANDLE, PWSTR, WORD, PVOID, PDEVMODEW);
        auto call = reinterpret_cast<Caps>(Export("DrvDeviceCapabilities"));
        return call ? call(nullptr, const_cast<PWSTR>(name), capability, output, const_cast<PDEVMODEW>(in))
                    : -1;
    }
    DWORD CapabilitiesA(LPCWSTR name, WORD capability, LPSTR output) override {
        // The ANSI form converts each 64-character name into the ANSI code page.
        const DWORD count = CapabilitiesW(name, capability, nullptr, nullptr);
        if (!output || static_cast<LONG>(count) <= 0) {
            return count;
        }
        std::vector<WCHAR> wide(64 * count, 0);
        CapabilitiesW(name, capability, wide.data(), nullptr);
        for (DWORD i = 0; i < count; ++i) {
            WideCharToMultiByte(CP_ACP, 0, &wide[64 * i], -1, output + 64 * i, 64, nullptr, nullptr);
        }
        return count;
    }
    void* Export(const char* name) override { return dlsym(module_, name); }

  private:
    void* module_;
};

class NativeEngine : public scenarios::Engine {
  public:
    explicit NativeEngine(void* driver) : driver_(driver) {}
    bool Open(const DRVDEVMODE* settings) override {
        device_ = winsim_engine_open(driver_, kPrinter, &settings->Public);
        return device_ != nullptr;
    }
    bool StartDoc(const char* name) override { return winsim_engine_start_doc(device_, name) == 1; }
    bool StartPage(scenarios::PageBits* page) override {
        winsim_engine_page p = {};
        if (winsim_engine_start_page(device_, &p) != 1) {
            return false;
        }
        *page = {p.bits, p.stride, p.width, p.height, p.bits_per_pixel};
        return true;
    }
    bool EndPage() override { return winsim_engine_end_page(device_) == 1; }
    bool EndDoc() override { return winsim_engine_end_doc(device_, 0) == 1; }
    void Close() override {
        if (device_) {
            winsim_engine_close(device_);
            device_ = nullptr;
        }
    }
    std::vector<uint8_t> Stream() override {
        const uint32_t jobs = winsim_job_count(kPrinter);
        const int32_t size = jobs ? winsim_job_bytes(kPrinter, jobs - 1, nullptr, 0) : 0;
        std::vector<uint8_t> bytes(size > 0 ? static_cast<size_t>(size) : 0);
        if (!bytes.empty()) {
            winsim_job_bytes(kPrinter, jobs - 1, bytes.data(), static_cast<uint32_t>(bytes.size()));
        }
        return bytes;
    }

  private:
    void* driver_;
    void* device_ = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RENDER_MODULE CONFIG_MODULE DIR\n", argv[0]);
        return 2;
    }
    winsim_reset();
    winsim_add_printer(kPrinter, scenarios::DriverName(), "FILE:", "winprint", 0x40);
    void* driver = winsim_engine_load(argv[1]);
    if (!driver) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    int failed = 0;
    for (const scenarios::Scenario& s : scenarios::All()) {
        NativeEngine engine(driver);
        std::vector<uint8_t> stream;
        if (!scenarios::Run(engine, s, &stream)) {
            std::fprintf(stderr, "%s: the job did not run\n", s.Name);
            ++failed;
            continue;
        }
        std::ofstream out(std::string(argv[3]) + "/" + s.Name + ".prn", std::ios::binary);
        out.write(reinterpret_cast<const char*>(stream.data()), static_cast<std::streamsize>(stream.size()));
    }
    winsim_engine_unload(driver);

    void* config = dlopen(argv[2], RTLD_NOW | RTLD_LOCAL);
    if (!config) {
        std::fprintf(stderr, "cannot load %s\n", argv[2]);
        return 1;
    }
    NativeConfig api(config);
    const std::string name = kPrinter;
    const std::basic_string<WCHAR> wide(name.begin(), name.end());
    std::ofstream answers(std::string(argv[3]) + "/config.txt");
    for (const std::string& line : configchecks::Run(api, wide.c_str())) {
        answers << line << "\n";
    }
    dlclose(config);
    winsim_reset();
    return failed ? 1 : 0;
}
