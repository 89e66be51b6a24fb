// What a page's image costs: separating the head planes from the surface, turning and placing them,
// comparing and coding the blocks, against one plain memcpy of the same surface measured in the same
// run; and what erasing the surface for the next page costs.
#include <benchmark/benchmark.h>

#include <windows.h>
#include <winspool.h>
#include <winsim_host.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "image_sender.h"
#include "model_lookup.h"
#include "row_coder.h"
#include "surface.h"

namespace {

#if defined(KT_PROFILE_A)
constexpr int kBitsPerPixel = 24;
#else
constexpr int kBitsPerPixel = 1;
#endif

enum Content { Typical, Noise };

// A page surface of the size of a label, drawn the way a label usually looks: a frame, lines of
// text-like strokes, a barcode; or random noise in the head colours.
struct Page {
    LONG Width, Rows;
    size_t Stride;
    std::vector<BYTE> Bits;

    Page(LONG width, LONG rows, Content content) : Width(width), Rows(rows) {
        Stride = (static_cast<size_t>(width) * kBitsPerPixel + 31) / 32 * 4;
        Bits.assign(Stride * rows, 0xFF);
        std::mt19937 random(7);
        if (content == Noise) {
            for (LONG y = 0; y < rows; ++y) {
                for (LONG x = 0; x < width; ++x) {
                    Dot(x, y, random() % 3);
                }
            }
            return;
        }
        // A frame; lines of text over the upper two thirds, strokes a few dots wide in words, one line
        // in the second head's colour; a barcode a third of the width across and a sixth of the length
        // along in the lower third.
        const LONG border = width / 200 + 2;
        Box(0, 0, width, border, 1);
        Box(0, rows - border, width, rows, 1);
        Box(0, 0, border, rows, 1);
        Box(width - border, 0, width, rows, 1);
        const LONG line = width / 60 + 8; // the height of a line of text
        const LONG stroke = line / 10 + 1;
        for (LONG top = 4 * border; top + line < rows * 2 / 3; top += 2 * line) {
            for (LONG x = 4 * border; x + line < width - 4 * border;) {
                const LONG word = static_cast<LONG>(random() % 6 + 2) * line / 2;
                for (LONG c = x; c + line / 2 < x + word && c + line / 2 < width - 4 * border;
                     c += line / 2) {
                    const int head = top == 4 * border ? 2 : 1;
                    Box(c, top, c + stroke, top + line, head);                           // a stem
                    Box(c, top + line / 2, c + line / 3, top + line / 2 + stroke, head); // a bar
                }
                x += word + line / 2;
            }
        }
        const LONG module = width / 600 + 1;
        for (LONG x = width / 3; x < width * 2 / 3;) {
            const LONG bar = static_cast<LONG>(random() % 4 + 1) * module;
            Box(x, rows * 3 / 4, x + bar, rows * 11 / 12, 1);
            x += bar + static_cast<LONG>(random() % 4 + 1) * module;
        }
    }
    void Box(LONG left, LONG top, LONG right, LONG bottom, int head) {
        for (LONG y = top; y < bottom && y < Rows; ++y) {
            for (LONG x = left; x < right && x < Width; ++x) {
                Dot(x, y, head);
            }
        }
    }
    // head 0 white, 1 the first head's colour (black), 2 the second's (red).
    void Dot(LONG x, LONG y, int head) {
        BYTE* row = Bits.data() + static_cast<size_t>(y) * Stride;
#if defined(KT_PROFILE_A)
        const DWORD colors[3] = {0xFFFFFF, 0x000000, 0x0000FF};
        row[3 * x] = static_cast<BYTE>(colors[head]);
        row[3 * x + 1] = static_cast<BYTE>(colors[head] >> 8);
        row[3 * x + 2] = static_cast<BYTE>(colors[head] >> 16);
#else
        const BYTE mask = static_cast<BYTE>(0x80 >> (x % 8));
        row[x / 8] = head ? (row[x / 8] & ~mask) : (row[x / 8] | mask);
#endif
    }
};

// A printer job to send into, started afresh while the clock is stopped so that a run of many pages
// does not pile up spooled bytes.
struct Sink {
    HANDLE Printer = nullptr;
    std::vector<BYTE> Storage = std::vector<BYTE>(kOutputBufferBytes);
    DWORD State = 0;
    OutputBuffer Out{};
    size_t Sent = 0;

    Sink() { Restart(); }
    ~Sink() {
        if (Printer) {
            EndDocPrinter(Printer);
            ClosePrinter(Printer);
        }
        winsim_reset();
    }
    void Restart() {
        if (Printer) {
            EndDocPrinter(Printer);
            ClosePrinter(Printer);
        }
        winsim_reset();
        winsim_add_printer("Bench", "KT Bench", "USB001", "winprint", PRINTER_ATTRIBUTE_LOCAL);
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        OpenPrinterW(const_cast<LPWSTR>(TEXT("Bench")), &Printer, &defaults);
        DOC_INFO_1W doc = {const_cast<LPWSTR>(TEXT("bench")), nullptr, const_cast<LPWSTR>(TEXT("RAW"))};
        StartDocPrinterW(Printer, 1, reinterpret_cast<LPBYTE>(&doc));
        Out = {Storage.data(), kOutputFillLimit, 0, Printer, &State};
    }
    size_t Bytes() { return static_cast<size_t>(winsim_job_bytes("Bench", 0, nullptr, 0)); }
};

struct Job {
    LONG Model;
    long long Width, Length; // 0.1 mm
};

void SendPages(benchmark::State& state, Job job, Content content) {
    const VARIANTINFO& v = GetVariant(job.Model);
    const LONG d100 = v.Head.DotsPer100mm;
    Page page(static_cast<LONG>(job.Width * d100 / 1000), static_cast<LONG>(job.Length * d100 / 1000),
              content);
    LABELVALUES label = v.Model.Values;
    label.Compress = 1;
    const IMAGESETTINGS settings = {&label, job.Width, job.Length, DMORIENT_PORTRAIT, 0, v.Head, v.MaxWidth};
    std::vector<BYTE> kept[kHeadCount];
    COMPARESTATE compare = {};
    compare.Bytes = kMaxPlaneBytes;
    for (int h = 0; h < kHeadCount; ++h) {
        kept[h].assign(kMaxPlaneBytes, 0);
        compare.Buffers[h] = kept[h].data();
    }
    std::vector<BYTE> byteRuns(kRowCodeBytes), runCodes(kRowCodeBytes);
    IMAGEWORK work = {};
    work.ByteRuns = byteRuns.data();
    work.RunCodes = runCodes.data();
    Sink sink;
    const BANDBITS band = {page.Bits.data(), static_cast<LONG>(page.Stride), page.Width, page.Rows};
    size_t bytes = 0;
    for (auto _ : state) {
        // Every page is a document's first: the whole image goes.
        state.PauseTiming();
        compare.FirstPage = true;
        for (auto& k : kept) {
            std::memset(k.data(), 0, k.size());
        }
        sink.Restart();
        state.ResumeTiming();
        SendImage(band, settings, compare, work, sink.Out);
        sink.Out.Flush();
        state.PauseTiming();
        bytes = sink.Bytes();
        state.ResumeTiming();
    }
    ReleaseImageWork(&work);
    state.counters["surface_MB"] = static_cast<double>(page.Bits.size()) / 1e6;
    size_t white = 0;
    for (BYTE b : page.Bits) {
        white += b == 0xFF;
    }
    state.counters["white_share"] = static_cast<double>(white) / static_cast<double>(page.Bits.size());
    state.counters["bytes_sent"] = static_cast<double>(bytes);
}

void CopySurface(benchmark::State& state, Job job) {
    const LONG d100 = GetVariant(job.Model).Head.DotsPer100mm;
    Page page(static_cast<LONG>(job.Width * d100 / 1000), static_cast<LONG>(job.Length * d100 / 1000),
              Typical);
    std::vector<BYTE> copy(page.Bits.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), page.Bits.data(), page.Bits.size());
        benchmark::ClobberMemory();
    }
}

void ErasePage(benchmark::State& state, Job job) {
    const LONG d100 = GetVariant(job.Model).Head.DotsPer100mm;
    Page page(static_cast<LONG>(job.Width * d100 / 1000), static_cast<LONG>(job.Length * d100 / 1000),
              Typical);
    for (auto _ : state) {
        EraseRows(page.Bits.data(), static_cast<LONG>(page.Stride), page.Rows);
        benchmark::ClobberMemory();
    }
}

// Each variant at its largest label, and the A4 label of profile A's wide variant.
std::vector<std::pair<std::string, Job>> Jobs() {
    std::vector<std::pair<std::string, Job>> jobs;
    for (LONG m = 0; m < kVariantCount; ++m) {
        if (!IsPlaceholderVariant(m)) {
            const VARIANTINFO& v = GetVariant(m);
            std::string name(v.VariantName, v.VariantName + 16);
            name = name.substr(0, name.find(char(0)));
            jobs.push_back({name + "/largest", {m, v.MaxWidth, v.MaxLength}});
        }
    }
#if defined(KT_PROFILE_A)
    jobs.push_back({"KT-508X/210x297", {1, 2100, 2970}});
#endif
    return jobs;
}

const bool kRegistered = [] {
    for (const auto& [name, job] : Jobs()) {
        benchmark::RegisterBenchmark(("Image/" + name + "/memcpy").c_str(), CopySurface, job)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Image/" + name + "/send_typical").c_str(), SendPages, job, Typical)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Image/" + name + "/send_noise").c_str(), SendPages, job, Noise)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Image/" + name + "/erase").c_str(), ErasePage, job)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
