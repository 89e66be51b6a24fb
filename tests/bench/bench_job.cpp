// A long label job through the loaded module, driven by the stand-in graphics engine: 1,000 labels of the
// largest label both profiles share, each differing from the one before only in its serial number. Time
// per label against one memcpy of the label's surface measured in the same run, bytes on the wire per
// label, and the job's peak memory.
#include <benchmark/benchmark.h>

#include <windows.h>
#include <winspool.h>
#include <winsim_host.h>

#include <sys/resource.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "devmode.h"
#include "model_lookup.h"
#include "printer_data.h"
#include "seven_segment.h"

namespace {

constexpr int kLabels = 1000;
#if defined(KT_PROFILE_A)
constexpr LONG kWidthMm = 160; // the largest label both variants of the profile print
constexpr LONG kLengthMm = 80;
#else
constexpr LONG kWidthMm = 100;
constexpr LONG kLengthMm = 80;
#endif

long PeakKib() {
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The label's fixed content (a frame, lines of text-like strokes, a barcode) as a template of the page,
// and the serial number drawn into a box of it, digit by digit.
struct Label {
    LONG Width, Rows;
    int Bpp;
    size_t Stride;
    std::vector<BYTE> Template;

    Label(LONG width, LONG rows, int bpp, size_t stride)
        : Width(width), Rows(rows), Bpp(bpp), Stride(stride) {
        Template.assign(stride * rows, 0xFF);
        std::mt19937 random(3);
        const LONG border = 4;
        Box(Template.data(), 0, 0, width, border);
        Box(Template.data(), 0, rows - border, width, rows);
        Box(Template.data(), 0, 0, border, rows);
        Box(Template.data(), width - border, 0, width, rows);
        const LONG line = rows / 12;
        for (LONG top = 3 * border; top + line < rows / 2; top += line + line / 2) {
            for (LONG x = 3 * border; x + line < width * 2 / 3;) {
                const LONG word = static_cast<LONG>(random() % 5 + 2) * line / 2;
                for (LONG c = x; c + line / 2 < x + word; c += line / 2) {
                    Box(Template.data(), c, top, c + line / 8 + 1, top + line);
                    Box(Template.data(), c, top + line / 2, c + line / 3, top + line / 2 + line / 8 + 1);
                }
                x += word + line / 2;
            }
        }
        for (LONG x = width / 8; x < width * 7 / 8;) {
            const LONG bar = static_cast<LONG>(random() % 4 + 1) * 3;
            Box(Template.data(), x, rows * 5 / 8, x + bar, rows * 7 / 8);
            x += bar + static_cast<LONG>(random() % 4 + 1) * 3;
        }
    }
    void Box(BYTE* bits, LONG left, LONG top, LONG right, LONG bottom) const {
        for (LONG y = top; y < bottom && y < Rows; ++y) {
            BYTE* row = bits + static_cast<size_t>(y) * Stride;
            for (LONG x = left; x < right && x < Width; ++x) {
                if (Bpp == 24) {
                    row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = 0; // black: the first head's colour
                } else {
                    row[x / 8] &= static_cast<BYTE>(~(0x80 >> (x % 8)));
                }
            }
        }
    }
    // The serial number, 5 mm tall, in the right quarter of the upper half.
    void Serial(BYTE* bits, int number) const {
        SevenSegmentNumber(number, Width * 3 / 4, Rows / 6, Rows / 16,
                           [&](long l, long t, long r, long b) { Box(bits, l, t, r, b); });
    }
};

void LabelJob(benchmark::State& state) {
    winsim_reset();
    const LONG model = 0;
    winsim_add_printer("Bench", kHeadCount == 2 ? "KT-508W Bench" : "KT-936U Bench", "USB001", "winprint",
                       PRINTER_ATTRIBUTE_LOCAL);
    HANDLE printer = nullptr;
    OpenDriverPrinter(TEXT("Bench"), 1, &printer);
    auto rec = std::make_unique<DRVDEVMODE>();
    GetDriverDevMode(rec.get(), nullptr, printer, TEXT("Bench"), GDM_COPY_WORKING, CALLER_CONFIG);
    ClosePrinter(printer);
    rec->Private.ModelIndex = model;
    rec->Private.PaperId = kUserDefinedLabelId;
    rec->Private.CustomWidth = kWidthMm * 10;
    rec->Private.CustomLength = kLengthMm * 10;
    rec->Private.Labels[1].Values.BandSplit = 1; // send in bands: a change re-sends only its bands
    SyncPublicDevMode(rec.get());

    void* driver = winsim_engine_load(KT_RENDER_MODULE);
    const long before = PeakKib();
    size_t bytes = 0;
    double surfaceBytes = 0;
    long peak = 0;
    for (auto _ : state) {
        void* device = winsim_engine_open(driver, "Bench", &rec->Public);
        winsim_engine_start_doc(device, "serials");
        std::unique_ptr<Label> label;
        for (int i = 0; i < kLabels; ++i) {
            winsim_engine_page page = {};
            winsim_engine_start_page(device, &page);
            // The application's drawing: the engine's work, not the driver's.
            state.PauseTiming();
            if (!label) {
                label =
                    std::make_unique<Label>(page.width, page.height, static_cast<int>(page.bits_per_pixel),
                                            static_cast<size_t>(page.stride));
                surfaceBytes = static_cast<double>(label->Template.size());
            }
            std::memcpy(page.bits, label->Template.data(), label->Template.size());
            label->Serial(static_cast<BYTE*>(page.bits), i);
            state.ResumeTiming();
            winsim_engine_end_page(device);
        }
        winsim_engine_end_doc(device, 0);
        winsim_engine_close(device);
        state.PauseTiming();
        peak = PeakKib() - before;
        bytes = static_cast<size_t>(winsim_job_bytes("Bench", winsim_job_count("Bench") - 1, nullptr, 0));
        winsim_remove_printer("Bench"); // the spooled jobs go with it
        winsim_add_printer("Bench", kHeadCount == 2 ? "KT-508W Bench" : "KT-936U Bench", "USB001", "winprint",
                           PRINTER_ATTRIBUTE_LOCAL);
        state.ResumeTiming();
    }
    winsim_engine_unload(driver);
    state.counters["per_label_us"] =
        benchmark::Counter(static_cast<double>(kLabels),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["bytes_per_label"] = static_cast<double>(bytes) / kLabels;
    state.counters["surface_MB"] = surfaceBytes / 1e6;
    state.counters["peak_growth_MB"] = static_cast<double>(peak) / 1024.0;
    winsim_reset();
}

void CopyLabelSurface(benchmark::State& state) {
    const LONG d = GetVariant(LONG{0}).Head.DotsPer100mm;
    const size_t width = static_cast<size_t>(kWidthMm * 10 * d / 1000);
    const size_t rows = static_cast<size_t>(kLengthMm * 10 * d / 1000);
    const size_t stride = kHeadCount == 2 ? (width * 3 + 3) / 4 * 4 : (width + 31) / 32 * 4;
    std::vector<BYTE> from(stride * rows, 0xFF), to(stride * rows);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
    state.counters["surface_MB"] = static_cast<double>(from.size()) / 1e6;
}

BENCHMARK(CopyLabelSurface)->Unit(benchmark::kMicrosecond);
BENCHMARK(LabelJob)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
