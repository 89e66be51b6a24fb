// ktsample_a / ktsample_b: the sample job. Acting as the application, it prints a job of several labels
// through this profile's rendering library, loaded by path and driven by the stand-in graphics engine,
// keeps the printer stream, reads it back with the virtual printer and writes a PNG preview per label.
//
//     ktsample_<a|b> [--model INDEX] [--labels N] [--module PATH] [--font PATH] [-o DIR]
//     ktsample_<a|b> --settings      (the default settings record of every variant)
#include <windows.h>
#include <winspool.h>
#include <winsim_host.h>

#include "decoder.h"
#include "devmode.h"
#include "label_store.h"
#include "model_lookup.h"
#include "png_writer.h"
#include "sample.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

#if defined(KT_PROFILE_A)
constexpr int kDefaultModelIndex = 0; // KT-508W
#else
constexpr int kDefaultModelIndex = 5; // KT-936U, 203 dpi
#endif
constexpr char kPrinter[] = "Sample Label Printer";
constexpr LONG kLabelWidth = 600; // 0.1 mm
constexpr LONG kLabelLength = 400;

struct Options {
    int Model = kDefaultModelIndex;
    int Labels = 4;
    std::string Module = KT_SAMPLE_MODULE;
    std::string Font = KT_SAMPLE_FONT;
    std::string Out = "sample";
    bool Settings = false;
};

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--settings") {
            o.Settings = true;
        } else if (a == "--model" && hasValue) {
            o.Model = std::atoi(argv[++i]);
        } else if (a == "--labels" && hasValue) {
            o.Labels = std::atoi(argv[++i]);
        } else if (a == "--module" && hasValue) {
            o.Module = argv[++i];
        } else if (a == "--font" && hasValue) {
            o.Font = argv[++i];
        } else if (a == "-o" && hasValue) {
            o.Out = argv[++i];
        } else {
            return false;
        }
    }
    return o.Model >= 0 && o.Model < kVariantCount && !IsPlaceholderVariant(o.Model) && o.Labels >= 1 &&
           o.Labels <= 1000;
}

std::string Ascii(const WCHAR* text) {
    std::string s;
    for (; *text; ++text) {
        s.push_back(static_cast<char>(*text));
    }
    return s;
}

int Fail(const std::string& what) {
    std::fprintf(stderr, "ktsample: %s (error %u)\n", what.c_str(), static_cast<unsigned>(GetLastError()));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseArgs(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: %s [--model INDEX] [--labels N] [--module PATH] [--font PATH] [-o DIR]\n"
                     "       %s --settings\n",
                     argv[0], argv[0]);
        return 2;
    }
    if (o.Settings) {
        return PrintDefaultSettings();
    }
    const VARIANTINFO& variant = GetVariant(o.Model);
    const std::string name = Ascii(variant.VariantName);
    winsim_reset();
    if (!winsim_add_printer(kPrinter, (name + " Label Driver").c_str(), "USB001", "winprint",
                            PRINTER_ATTRIBUTE_LOCAL)) {
        return Fail("cannot add the printer");
    }
    // The job's settings: the variant's defaults on a 60 x 40 mm label of the user-defined size.
    auto rec = std::make_unique<DRVDEVMODE>();
    InitDevModeForModel(rec.get(), o.Model);
    rec->Private.Signature = kDevModeSignature;
    rec->Private.PaperId = kUserDefinedLabelId;
    rec->Private.CustomWidth = kLabelWidth;
    rec->Private.CustomLength = kLabelLength;
    SyncPublicDevMode(rec.get());

    void* driver = winsim_engine_load(o.Module.c_str());
    if (!driver) {
        return Fail("cannot load " + o.Module);
    }
    void* device = winsim_engine_open(driver, kPrinter, &rec->Public);
    if (!device) {
        winsim_engine_unload(driver);
        return Fail("the driver refused the device");
    }
    bool ok = winsim_engine_start_doc(device, "Sample labels") == 1;
    std::string why;
    for (int i = 1; ok && i <= o.Labels; ++i) {
        char serial[32];
        std::snprintf(serial, sizeof(serial), "KT-%06d", 240000 + i);
        ok = winsim_engine_start_page(device, nullptr) == 1 &&
             DrawLabel(device, static_cast<int>(variant.Resolution.DpiX), kHeadCount == 2, o.Font,
                       {serial, i, o.Labels}, why) &&
             winsim_engine_end_page(device) == 1;
    }
    ok = winsim_engine_end_doc(device, 0) == 1 && ok;
    winsim_engine_close(device);
    winsim_engine_unload(driver);
    if (!ok) {
        return Fail("the job failed" + (why.empty() ? std::string() : " drawing a " + why));
    }

    const int32_t size = winsim_job_bytes(kPrinter, 0, nullptr, 0);
    std::vector<uint8_t> stream(size > 0 ? static_cast<size_t>(size) : 0);
    winsim_job_bytes(kPrinter, 0, stream.data(), static_cast<uint32_t>(stream.size()));
    std::error_code error;
    std::filesystem::create_directories(o.Out, error);
    const std::filesystem::path dir = o.Out;
    const std::filesystem::path streamFile = dir / "job.prn";
    std::ofstream(streamFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(stream.data()), static_cast<std::streamsize>(stream.size()));

    ktdecode::Options decodeOptions;
    decodeOptions.model = name;
    const ktdecode::Result result = ktdecode::Decode(stream, decodeOptions);
    if (!result.ok) {
        return Fail("the printer stream does not decode: " + result.error.Message());
    }
    std::printf("profile %s, %s: %d labels, %zu bytes of printer stream in %s\n", KT_PROFILE_NAME,
                name.c_str(), o.Labels, stream.size(), streamFile.c_str());
    for (const ktdecode::Page& page : result.pages) {
        char file[32];
        std::snprintf(file, sizeof(file), "label-%04d.png", page.number);
        std::string pngWhy;
        const std::vector<uint8_t> png = ktdecode::EncodePng(page, ktdecode::kDefaultHeadColours, pngWhy);
        if (png.empty()) {
            return Fail("no preview of label " + std::to_string(page.number) + ": " + pngWhy);
        }
        const std::filesystem::path path = dir / file;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        std::printf("  label %d: %zu bytes, %lld copies, %d x %d dots, preview %s\n", page.number, page.bytes,
                    static_cast<long long>(page.copies), page.heads[0].image.width,
                    page.heads[0].image.height, path.c_str());
    }
    return 0;
}
