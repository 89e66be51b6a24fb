// libFuzzer target: a whole print job through the loaded rendering module, the way the graphics engine
// drives it, on a printer with hostile stored settings, with a hostile job record, hostile copy counts,
// a device reset in the middle and pages of arbitrary pixels. Whatever goes in, the module neither crashes
// nor leaks, and the virtual printer reads every stream it writes.
#include "hostile_case.h"

#include "decoder.h"
#include "model_lookup.h"
#include "pdev.h"
#include "variant_rows.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Pages above this many pixels are printed once, not several times, so that a run stays short; their
// size alone is what is worth trying.
constexpr uint64_t kLargePagePixels = 4u << 20;

void Die(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "%s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
    std::abort();
}

void* Module() {
    static void* driver = winsim_engine_load(KT_RENDER_MODULE);
    if (!driver) {
        Die("the rendering module does not load");
    }
    return driver;
}

// Paints the page: a few rectangles of one colour each, then a run of raw bytes at a chosen row.
void Paint(hostile::ByteSource& src, const winsim_engine_page& page) {
    if (!page.bits || page.width <= 0 || page.height <= 0) {
        return;
    }
    const uint32_t bpp = page.bits_per_pixel;
    const size_t rowBytes = (static_cast<size_t>(page.width) * bpp + 7) / 8;
    BYTE* first = static_cast<BYTE*>(page.bits);
    auto row = [&](uint32_t y) { return first + static_cast<ptrdiff_t>(y) * page.stride; };
    const uint32_t rectangles = src.Below(4);
    for (uint32_t i = 0; i < rectangles; ++i) {
        const uint32_t x0 = src.Below(static_cast<uint32_t>(page.width));
        const uint32_t y0 = src.Below(static_cast<uint32_t>(page.height));
        const uint32_t x1 = x0 + 1 + src.Below(static_cast<uint32_t>(page.width) - x0);
        const uint32_t y1 = y0 + 1 + src.Below(static_cast<uint32_t>(page.height) - y0);
        const uint32_t colour = src.U32();
        for (uint32_t y = y0; y < y1; ++y) {
            BYTE* r = row(y);
            for (uint32_t x = x0; x < x1; ++x) {
                if (bpp == 24) {
                    r[3 * x] = static_cast<BYTE>(colour);
                    r[3 * x + 1] = static_cast<BYTE>(colour >> 8);
                    r[3 * x + 2] = static_cast<BYTE>(colour >> 16);
                } else if (bpp == 1) {
                    const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
                    r[x / 8] = colour & 1 ? r[x / 8] | bit : r[x / 8] & ~bit;
                } else if (bpp == 8) {
                    r[x] = static_cast<BYTE>(colour);
                }
            }
        }
    }
    const uint32_t raw = src.Below(512);
    BYTE* r = row(src.Below(static_cast<uint32_t>(page.height)));
    for (uint32_t i = 0; i < raw && i < rowBytes; ++i) {
        r[i] = src.Byte();
    }
}

// A job record the application might hand in: none, the printer's own, or a hostile one.
std::vector<uint8_t> JobRecord(hostile::ByteSource& src, const DRVDEVMODE& good, bool* present) {
    switch (src.Below(4)) {
    case 0:
        *present = true;
        return {reinterpret_cast<const uint8_t*>(&good),
                reinterpret_cast<const uint8_t*>(&good) + kExchangedSize};
    case 3:
        *present = false;
        return {};
    default:
        *present = true;
        return hostile::InputRecord(src, good);
    }
}

ktdecode::Result Decode(LONG model, const std::vector<uint8_t>& stream) {
    const ktdecode::Variant variant =
        ktdecode::detail::RowVariant(GetVariant(model), kHeadCount == 2 ? 'A' : 'B', kHeadCount);
    ktdecode::Options options;
    options.variant = &variant;
    return ktdecode::Decode(stream, options);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    void* driver = Module();
    hostile::ByteSource src(data, size);
    winsim_reset();
#if defined(KT_PROFILE_A)
    static const char* const kDrivers[] = {"KT-508W", "KT-508X", "Generic"};
#else
    static const char* const kDrivers[] = {"KT-936U", "KT-936U-12", "KT-936U-16", "KT-936U-24", "Generic"};
#endif
    if (!winsim_add_printer("P", kDrivers[src.Below(std::size(kDrivers))], "USB001", "winprint", 0x40)) {
        Die("cannot add the printer");
    }
    HANDLE printer = nullptr;
    if (!OpenDriverPrinter(TEXT("P"), 1, &printer)) {
        Die("cannot open the printer");
    }
    auto good = std::make_unique<DRVDEVMODE>();
    GetDriverDevMode(good.get(), nullptr, printer, TEXT("P"), GDM_COPY_WORKING, CALLER_CONFIG);
    ClosePrinter(printer);
    if (src.Below(8) != 7) {
        // Mostly a small label of the user-defined size, so that a run takes milliseconds; the standard
        // labels and the largest sizes still come up.
        good->Private.PaperId = kUserDefinedLabelId;
        good->Private.CustomWidth = 10 * static_cast<LONG>(5 + src.Below(60));
        good->Private.CustomLength = 10 * static_cast<LONG>(5 + src.Below(60));
        SyncPublicDevMode(good.get());
    }
    // The printer's own settings are those, unless the stored state below replaces them.
    winsim_set_printer_devmode("P", good.get(), kExchangedSize);
    winsim_set_printer_data("P", "Private DevMode", REG_BINARY, &good->Extension, sizeof(DEVICEEXT));
    bool present = false;
    std::vector<uint8_t> stored = hostile::Blob(src, good.get(), kExchangedSize, 70000, &present);
    if (present) {
        winsim_set_printer_devmode("P", stored.data(), static_cast<uint32_t>(stored.size()));
    }
    std::vector<uint8_t> ext = hostile::Blob(src, &good->Extension, sizeof(DEVICEEXT), 400, &present);
    if (present) {
        winsim_set_printer_data("P", "Private DevMode", REG_BINARY, ext.data(),
                                static_cast<uint32_t>(ext.size()));
    }
    std::vector<uint8_t> paper = hostile::Blob(src, good->Private.Labels, kLabelListBytes, 70000, &present);
    if (present) {
        winsim_set_printer_data("P", "Private Paper", REG_BINARY, paper.data(),
                                static_cast<uint32_t>(paper.size()));
    }
    // A spooler that takes only a few bytes per write, or one that reports success taking nothing; and a
    // service of the platform that fails for a while. Either may cut the stream, which is then not read.
    bool whole = true;
    if (src.Below(4) == 3) {
        const bool takesNothing = src.Below(4) == 3;
        winsim_set_write_limit("P", 1 + src.Below(4096), takesNothing);
        whole = !takesNothing;
    }
    if (src.Below(3) == 2) {
        static const char* const kServices[] = {"WritePrinter",
                                                "GetPrinterDataW",
                                                "GlobalAlloc",
                                                "HeapAlloc",
                                                "EngCreateBitmap",
                                                "EngCreatePalette",
                                                "EngCreateDeviceSurface",
                                                "EngLockSurface",
                                                "EngAssociateSurface",
                                                "EngMarkBandingSurface",
                                                "EngEraseSurface",
                                                "GetJobW",
                                                "StartDocPrinterW",
                                                "EndDocPrinter",
                                                "OpenPrinterW",
                                                "GetPrinterW",
                                                "GetPrinterDriverW",
                                                "CreateMutexW",
                                                "WaitForSingleObject"};
        winsim_fail_calls(kServices[src.Below(std::size(kServices))], src.Below(64), 1 + src.Below(4));
        whole = false;
    }

    std::vector<uint8_t> record = JobRecord(src, *good, &present);
    const uint32_t objects = winsim_engine_objects();
    void* device = winsim_engine_open(driver, "P", present ? record.data() : nullptr);
    if (!device) {
        if (winsim_engine_objects() != objects || winsim_open_handles() != 0) {
            Die("a refused device left something behind");
        }
        return 0; // a refusal is an answer
    }
    bool written = false;
    LONG model = -1;
    if (winsim_engine_start_doc(device, "fuzz")) {
        const uint32_t pages = 1 + src.Below(3);
        bool ok = true;
        for (uint32_t i = 0; i < pages && ok; ++i) {
            const uint32_t copies = src.Below(4) == 3 ? src.U32() : src.Below(3);
            if (copies) {
                winsim_engine_escape(device, SETCOPYCOUNT, &copies, sizeof(copies), nullptr, 0);
            }
            if (i > 0 && src.Below(6) == 5) {
                std::vector<uint8_t> next = JobRecord(src, *good, &present);
                winsim_engine_reset(device, present ? next.data() : nullptr);
            }
            winsim_engine_page page = {};
            ok = winsim_engine_start_page(device, &page) != 0;
            if (ok) {
                Paint(src, page);
                ok = winsim_engine_end_page(device) != 0;
                if (static_cast<uint64_t>(page.width) * static_cast<uint64_t>(page.height) >
                    kLargePagePixels) {
                    break;
                }
            }
        }
        const PDEV* pdev = static_cast<const PDEV*>(winsim_engine_device(device));
        model = pdev && pdev->Settings ? pdev->Settings->Private.ModelIndex : -1;
        written = winsim_engine_end_doc(device, src.Below(5) == 4 ? ED_ABORTDOC : 0) != 0;
    }
    winsim_engine_close(device);
    if (winsim_engine_objects() != objects) {
        Die("a surface or palette was left behind");
    }
    if (winsim_open_handles() != 0) {
        Die("a printer handle was left open");
    }
    if (!written || !whole || winsim_job_count("P") == 0 || model < 0) {
        return 0;
    }
    if (model >= kVariantCount) {
        Die("the job's settings name no variant", std::to_string(model));
    }
    const int32_t bytes = winsim_job_bytes("P", 0, nullptr, 0);
    std::vector<uint8_t> stream(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    winsim_job_bytes("P", 0, stream.data(), static_cast<uint32_t>(stream.size()));
    const ktdecode::Result result = Decode(model, stream);
    if (!result.ok) {
        Die("the virtual printer cannot read the stream", result.error.Message());
    }
    return 0;
}
