// What the spooler's most frequent questions cost: a print dialog asks for the label names and ids many
// times while it opens, and converts records on every job. The floor is one copy of the working record.
// Goal: at most 50 microseconds per call.
#include <benchmark/benchmark.h>

#include <windows.h>
#include <winddiui.h>
#include <winspool.h>
#include <winsim_host.h>

#include <cstring>
#include <memory>
#include <vector>

#include "devmode.h"
#include "label_store.h"
#include "printer_data.h"
#include "wstr.h"

namespace {

constexpr WCHAR kName[] = TEXT("Bench");

// A printer with all three stores filled and a full list of 250 labels.
struct Printer {
    HANDLE Handle = nullptr;
    std::unique_ptr<DRVDEVMODE> Stored = std::make_unique<DRVDEVMODE>();

    Printer() {
        winsim_reset();
        winsim_add_printer("Bench", "KT-508W KT-936U Driver", "USB001", "winprint", PRINTER_ATTRIBUTE_LOCAL);
        OpenDriverPrinter(kName, 1, &Handle);
        GetDriverDevMode(Stored.get(), nullptr, Handle, kName, GDM_COPY_WORKING, CALLER_CONFIG);
        PRIVDEVMODE& p = Stored->Private;
        for (int i = 2; i < kMaxLabels; ++i) {
            p.Labels[i] = p.Labels[0];
            WStrCopy(p.Labels[i].Name, TEXT("Stored label with a name of some length"));
            p.Labels[i].Id = 0;
            AssignLabelId(Stored.get(), i);
        }
        p.LabelCount = kMaxLabels;
        SyncPublicDevMode(Stored.get());
        winsim_set_printer_devmode("Bench", Stored.get(), static_cast<uint32_t>(kExchangedSize));
        winsim_set_printer_data("Bench", "Private DevMode", REG_BINARY, &Stored->Extension,
                                sizeof(DEVICEEXT));
        winsim_set_printer_data("Bench", "Private Paper", REG_BINARY, p.Labels,
                                static_cast<uint32_t>(kLabelListBytes));
    }
    ~Printer() { ClosePrinter(Handle); }
};

void BM_PaperNames250(benchmark::State& state) {
    Printer p;
    std::vector<WCHAR> names(kMaxLabels * 64);
    for (auto _ : state) {
        const DWORD n =
            DrvDeviceCapabilities(p.Handle, const_cast<PWSTR>(kName), DC_PAPERNAMES, names.data(), nullptr);
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_PaperNames250)->Unit(benchmark::kMicrosecond);

void BM_Papers250(benchmark::State& state) {
    Printer p;
    std::vector<WORD> ids(kMaxLabels);
    for (auto _ : state) {
        const DWORD n =
            DrvDeviceCapabilities(p.Handle, const_cast<PWSTR>(kName), DC_PAPERS, ids.data(), nullptr);
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_Papers250)->Unit(benchmark::kMicrosecond);

void BM_ConvertDevMode(benchmark::State& state) {
    Printer p;
    std::vector<BYTE> out(kExchangedSize);
    for (auto _ : state) {
        LONG size = static_cast<LONG>(out.size());
        const BOOL ok = DrvConvertDevMode(const_cast<LPWSTR>(kName), &p.Stored->Public,
                                          reinterpret_cast<DEVMODEW*>(out.data()), &size, CDM_CONVERT);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_ConvertDevMode)->Unit(benchmark::kMicrosecond);

void BM_OneWorkingRecordCopy(benchmark::State& state) {
    auto a = std::make_unique<DRVDEVMODE>();
    auto b = std::make_unique<DRVDEVMODE>();
    for (auto _ : state) {
        std::memcpy(b.get(), a.get(), sizeof(DRVDEVMODE));
        benchmark::DoNotOptimize(b->Private.Signature);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OneWorkingRecordCopy)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
