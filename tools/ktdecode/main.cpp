// ktdecode: reads a printer stream back into the labels the printer would print.
//
//   ktdecode [--model NAME] [--list [--rows]] [--pbm] [--head-colors C1,C2] [-o DIR] STREAM
//   ktdecode --models
//
// Exit status: 0 for a well-formed stream, 1 for a malformed one, 2 for a usage or file error.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "decoder.h"
#include "pbm_writer.h"
#include "png_writer.h"

namespace {

using namespace ktdecode;

constexpr char kUsage[] =
    "usage: ktdecode [--model NAME] [--list [--rows]] [--pbm] [--head-colors C1,C2] [-o DIR] STREAM\n"
    "       ktdecode --models\n"
    "Checks a printer stream (STREAM, or - for standard input) and reports each page: its copies, its\n"
    "bytes and the image blocks sent per head.\n"
    "  --model NAME        printer variant (default KT-508W; --models lists them)\n"
    "  --list              every command with its byte offset and fields, one a line\n"
    "  --rows              with --list: each image row's bytes in hex and its dots as text\n"
    "  -o DIR              write each page's label to DIR as label-0001.png, ... (one pixel a dot)\n"
    "  --pbm               write 1-bit PBM files per head instead of PNG\n"
    "  --head-colors C1,C2 head colours of the PNG files: names (black red green blue) or RRGGBB;\n"
    "                      default black,red\n";

struct Args {
    std::string model = kDefaultModel;
    bool list = false;
    bool rows = false;
    bool pbm = false;
    std::vector<Rgb> colours{std::begin(kDefaultHeadColours), std::end(kDefaultHeadColours)};
    std::string outDir;
    std::string stream;
};

bool ParseColour(const std::string& text, Rgb& out) {
    static const struct {
        const char* name;
        Rgb rgb;
    } kNames[] = {
        {"black", {0, 0, 0}}, {"red", {0xFF, 0, 0}}, {"green", {0, 0x80, 0}}, {"blue", {0, 0, 0xFF}}};
    for (const auto& n : kNames) {
        if (text == n.name) {
            out = n.rgb;
            return true;
        }
    }
    std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    const unsigned long v = std::stoul(hex, nullptr, 16);
    out = {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
    return true;
}

int Usage(const std::string& why) {
    std::fprintf(stderr, "ktdecode: %s\n%s", why.c_str(), kUsage);
    return 2;
}

std::string Hex2(int v) {
    char s[16];
    std::snprintf(s, sizeof(s), "%02X", v);
    return s;
}

std::string Letter(uint8_t letter) {
    return letter >= 0x20 && letter < 0x7F ? std::string(1, static_cast<char>(letter)) : Hex2(letter);
}

class Printer : public Observer {
  public:
    Printer(const Args& args, std::span<const uint8_t> stream) : args_(args), stream_(stream) {}

    void OnCommand(const Command& c, std::span<const uint8_t> rowDots) override {
        if (!args_.list) {
            return;
        }
        std::printf("%8zu  %-2s  %s\n", c.offset, Letter(c.letter).c_str(), c.text.c_str());
        if (args_.rows && (c.kind == CommandKind::RawRow || c.kind == CommandKind::CompressedRow)) {
            std::string hex;
            for (size_t i = 0; i < c.dataSize; ++i) {
                char b[4];
                std::snprintf(b, sizeof(b), "%s%02X", i ? " " : "", stream_[c.dataOffset + i]);
                hex += b;
            }
            std::printf("%14s%s\n", "data: ", hex.c_str());
            std::string dots;
            const size_t width = static_cast<size_t>(blockWidth_);
            for (size_t k = 0; k < width && k / 8 < rowDots.size(); ++k) {
                dots += (rowDots[k / 8] & (0x80 >> (k % 8))) ? '#' : '.';
            }
            std::printf("%14s%s\n", "dots: ", dots.c_str());
        }
        if (c.kind == CommandKind::BlockHeader) {
            blockWidth_ = c.fields[4];
        }
    }

    void OnPage(const Page& page) override {
        std::string line = "page " + std::to_string(page.number) + ": " + std::to_string(page.copies) +
                           (page.copies == 1 ? " copy" : " copies") + ", bytes " +
                           std::to_string(page.firstByte) + "-" +
                           std::to_string(page.firstByte + page.bytes) + " (" + std::to_string(page.bytes) +
                           " bytes), label " + std::to_string(page.heads[0].image.width) + " x " +
                           std::to_string(page.heads[0].image.height) + " dots" +
                           (page.sized ? "" : " (the blocks' extent)");
        for (size_t h = 0; h < page.heads.size(); ++h) {
            const HeadPage& hp = page.heads[h];
            line += page.heads.size() > 1 ? "; head " + std::to_string(h + 1) + " blocks" : "; blocks";
            for (int b : hp.blocksSent) {
                line += " " + Hex2(b);
            }
            if (hp.blocksSent.empty()) {
                line += " (none)";
            }
        }
        std::printf("%s\n", line.c_str());
        for (size_t h = 0; h < page.heads.size(); ++h) {
            const HeadPage& hp = page.heads[h];
            if (hp.droppedDots == 0) {
                continue;
            }
            std::string blocks;
            for (int b : hp.blocksWithDrops) {
                blocks += " " + Hex2(b);
            }
            std::printf("  warning: head %zu: %lld dots outside the label dropped (blocks%s)\n", h + 1,
                        static_cast<long long>(hp.droppedDots), blocks.c_str());
        }
        if (!args_.outDir.empty()) {
            WriteFiles(page);
        }
    }

    bool failed() const { return failed_; }

  private:
    void WriteFiles(const Page& page) {
        char base[32];
        std::snprintf(base, sizeof(base), "label-%04d", page.number);
        const Image& first = page.heads[0].image;
        if (args_.pbm && (first.width == 0 || first.height == 0)) {
            std::printf("  no image file: the label is %d x %d dots\n", first.width, first.height);
            return;
        }
        if (args_.pbm) {
            for (size_t h = 0; h < page.heads.size(); ++h) {
                std::string name =
                    base + (page.heads.size() > 1 ? "-head" + std::to_string(h + 1) : "") + ".pbm";
                Write(name, EncodePbm(page.heads[h].image));
            }
            return;
        }
        std::string why;
        std::vector<uint8_t> png = EncodePng(page, args_.colours, why);
        if (png.empty()) {
            std::printf("  no image file: %s\n", why.c_str());
            return;
        }
        Write(std::string(base) + ".png", png);
    }

    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::filesystem::path path = std::filesystem::path(args_.outDir) / name;
        std::ofstream f(path, std::ios::binary);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!f) {
            std::fprintf(stderr, "ktdecode: cannot write %s\n", path.c_str());
            failed_ = true;
            return;
        }
        std::printf("  wrote %s\n", path.c_str());
    }

    const Args& args_;
    std::span<const uint8_t> stream_;
    int64_t blockWidth_ = 0;
    bool failed_ = false;
};

bool ReadStream(const std::string& name, size_t cap, std::vector<uint8_t>& out) {
    std::ifstream file;
    std::istream* in = &std::cin;
    if (name != "-") {
        file.open(name, std::ios::binary);
        if (!file) {
            return false;
        }
        in = &file;
    }
    char chunk[65536];
    while (*in && out.size() <= cap) {
        in->read(chunk, sizeof(chunk));
        out.insert(out.end(), chunk, chunk + in->gcount());
    }
    return !in->bad();
}

} // namespace

int main(int argc, char** argv) {
    Args args;
    bool sawStream = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (a == "--model") {
            if (!value(args.model)) {
                return Usage("--model needs a name");
            }
        } else if (a == "--models") {
            for (const Variant& v : Variants()) {
                std::printf("%-12s profile %c, %d dpi, %d dots across the head, labels up to %d.%d mm wide\n",
                            v.name, v.profile, v.dpi, v.headWidthDots, v.maxWidth / 10, v.maxWidth % 10);
            }
            return 0;
        } else if (a == "--list") {
            args.list = true;
        } else if (a == "--rows") {
            args.rows = true;
        } else if (a == "--pbm") {
            args.pbm = true;
        } else if (a == "--head-colors") {
            std::string list;
            if (!value(list)) {
                return Usage("--head-colors needs two colours");
            }
            const size_t comma = list.find(',');
            if (comma == std::string::npos || !ParseColour(list.substr(0, comma), args.colours[0]) ||
                !ParseColour(list.substr(comma + 1), args.colours[1])) {
                return Usage("--head-colors takes C1,C2, each a name or RRGGBB: " + list);
            }
        } else if (a == "-o") {
            if (!value(args.outDir)) {
                return Usage("-o needs a directory");
            }
        } else if (a == "-h" || a == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage("unknown option " + a);
        } else if (sawStream) {
            return Usage("one stream at a time");
        } else {
            args.stream = a;
            sawStream = true;
        }
    }
    if (!sawStream) {
        return Usage("no stream named");
    }
    if (args.rows && !args.list) {
        return Usage("--rows goes with --list");
    }
    Options options;
    options.model = args.model;
    if (!FindVariant(args.model)) {
        return Usage("no model " + args.model + " (--models lists them)");
    }
    std::vector<uint8_t> stream;
    if (!ReadStream(args.stream, options.caps.maxStreamBytes, stream)) {
        std::fprintf(stderr, "ktdecode: cannot read %s\n", args.stream.c_str());
        return 2;
    }
    if (!args.outDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(args.outDir, ec);
        if (ec) {
            std::fprintf(stderr, "ktdecode: cannot make %s: %s\n", args.outDir.c_str(), ec.message().c_str());
            return 2;
        }
    }

    Printer printer(args, stream);
    const Result result = Decode(stream, options, printer);
    for (const Warning& w : result.warnings) {
        std::printf("warning: byte %zu: %s\n", w.offset, w.text.c_str());
    }
    if (!result.ok) {
        std::fprintf(stderr, "ktdecode: %s: %s\n", args.stream.c_str(), result.error.Message().c_str());
        return 1;
    }
    int64_t labels = 0;
    for (const Page& p : result.pages) {
        labels += p.copies;
    }
    std::printf("%s: %zu bytes, %zu %s, %lld %s printed (%s)\n", args.stream.c_str(), stream.size(),
                result.pages.size(), result.pages.size() == 1 ? "page" : "pages",
                static_cast<long long>(labels), labels == 1 ? "label" : "labels", result.variant->name);
    return printer.failed() ? 2 : 0;
}
