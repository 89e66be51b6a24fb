// What one settled record costs: the service runs on every entry-point call of both libraries, and a
// print dialog asks for capabilities many times while it opens.
#include <benchmark/benchmark.h>

#include <windows.h>
#include <winspool.h>
#include <winsim_host.h>

#include <cstring>
#include <memory>

#include "devmode.h"
#include "printer_data.h"

namespace {

struct Printer {
    HANDLE Handle = nullptr;
    std::unique_ptr<DRVDEVMODE> Stored = std::make_unique<DRVDEVMODE>();

    // A printer with all three stores filled, as after the first visit of its property pages.
    Printer() {
        winsim_reset();
        winsim_add_printer("Bench", "KT-508W KT-936U Driver", "USB001", "winprint", PRINTER_ATTRIBUTE_LOCAL);
        OpenDriverPrinter(TEXT("Bench"), 1, &Handle);
        GetDriverDevMode(Stored.get(), nullptr, Handle, TEXT("Bench"), GDM_COPY_WORKING, CALLER_CONFIG);
        winsim_set_printer_devmode("Bench", Stored.get(), static_cast<uint32_t>(kExchangedSize));
        winsim_set_printer_data("Bench", "Private DevMode", REG_BINARY, &Stored->Extension,
                                sizeof(DEVICEEXT));
        winsim_set_printer_data("Bench", "Private Paper", REG_BINARY, Stored->Private.Labels,
                                static_cast<uint32_t>(kLabelListBytes));
    }
    ~Printer() { ClosePrinter(Handle); }
};

void BM_ConfigFormWithInput(benchmark::State& state) {
    Printer p;
    auto out = std::make_unique<DRVDEVMODE>();
    for (auto _ : state) {
        GetDriverDevMode(out.get(), &p.Stored->Public, p.Handle, TEXT("Bench"),
                         GDM_COPY_EXCHANGED | GDM_TAKE_INPUT, CALLER_CONFIG);
        benchmark::DoNotOptimize(out->Private.Signature);
    }
}
BENCHMARK(BM_ConfigFormWithInput);

void BM_ConfigFormStoredOnly(benchmark::State& state) {
    Printer p;
    auto out = std::make_unique<DRVDEVMODE>();
    for (auto _ : state) {
        GetDriverDevMode(out.get(), nullptr, p.Handle, TEXT("Bench"), GDM_COPY_WORKING, CALLER_CONFIG);
        benchmark::DoNotOptimize(out->Private.Signature);
    }
}
BENCHMARK(BM_ConfigFormStoredOnly);

void BM_RenderForm(benchmark::State& state) {
    Printer p;
    auto out = std::make_unique<DRVDEVMODE>();
    for (auto _ : state) {
        GetDriverDevMode(out.get(), &p.Stored->Public, p.Handle, TEXT("Bench"));
        benchmark::DoNotOptimize(out->Private.Signature);
    }
}
BENCHMARK(BM_RenderForm);

// The floor: one plain copy of the working record.
void BM_OneRecordCopy(benchmark::State& state) {
    auto a = std::make_unique<DRVDEVMODE>();
    auto b = std::make_unique<DRVDEVMODE>();
    for (auto _ : state) {
        std::memcpy(b.get(), a.get(), sizeof(DRVDEVMODE));
        benchmark::DoNotOptimize(b->Private.Signature);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OneRecordCopy);

} // namespace

BENCHMARK_MAIN();
