// Writes the printer stream of every shared job as the native build prints it (through winsim's engine
// front), one file per job, for the Wine suite to compare with what the Windows builds print under Wine.
#include "scenarios.h"

#include <winsim_host.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr char kPrinter[] = "KT Wine Suite";

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
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MODULE DIR\n", argv[0]);
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
        std::ofstream out(std::string(argv[2]) + "/" + s.Name + ".prn", std::ios::binary);
        out.write(reinterpret_cast<const char*>(stream.data()), static_cast<std::streamsize>(stream.size()));
    }
    winsim_engine_unload(driver);
    winsim_reset();
    return failed ? 1 : 0;
}
