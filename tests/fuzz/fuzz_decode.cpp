// libFuzzer target: any bytes through the virtual printer. The first byte picks the variant, so both
// profiles are reached; the rest is the stream. Every input ends in a result or an error located inside
// the stream, the images are as large as they say, and the collecting and the observing decodes agree.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "decoder.h"
#include "png_writer.h"

namespace {

void Fail(const char* why) {
    std::fprintf(stderr, "decoder broke a promise: %s\n", why);
    std::abort();
}

class Counter : public ktdecode::Observer {
  public:
    void OnCommand(const ktdecode::Command& c, std::span<const uint8_t> rowDots) override {
        ++commands;
        const bool row =
            c.kind == ktdecode::CommandKind::RawRow || c.kind == ktdecode::CommandKind::CompressedRow;
        if (row != !rowDots.empty()) {
            Fail("row dots handed for a command that is not a row, or missing for a row");
        }
    }
    void OnPage(const ktdecode::Page& page) override {
        ++pages;
        if (!page.heads.empty() &&
            page.heads[0].image.dots.size() !=
                static_cast<size_t>(page.heads[0].image.width) * page.heads[0].image.height) {
            Fail("the observer got a page without its image");
        }
    }
    size_t commands = 0;
    size_t pages = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto variants = ktdecode::Variants();
    ktdecode::Options options;
    options.model = variants[data[0] % variants.size()].name;
    // Small caps keep each input fast; the paths that check them are the same at any size.
    options.caps.maxLabelDots = 1 << 18;
    options.caps.maxBlockBytes = 1 << 16;
    options.caps.maxKeptBytes = 1 << 18;
    options.caps.maxResultDots = 1 << 20;
    const std::span<const uint8_t> stream(data + 1, size - 1);

    const ktdecode::Result r = ktdecode::Decode(stream, options);
    if (!r.ok && (r.error.offset > stream.size() || r.error.commandOffset > r.error.offset)) {
        Fail("error offset outside the stream");
    }
    if (!r.ok && r.error.Message().empty()) {
        Fail("error without a message");
    }
    size_t next = 0;
    for (const ktdecode::Command& c : r.commands) {
        if (c.offset != next || c.size < 3 || c.offset + c.size > stream.size() ||
            c.dataOffset + c.dataSize > stream.size()) {
            Fail("commands do not tile the stream");
        }
        next = c.offset + c.size;
    }
    const size_t heads = static_cast<size_t>(r.variant->headCount);
    for (const ktdecode::Page& p : r.pages) {
        if (p.heads.size() != heads || p.copies < 0 || p.firstByte + p.bytes > stream.size()) {
            Fail("page summary out of range");
        }
        for (const ktdecode::HeadPage& h : p.heads) {
            if (h.image.width < 0 || h.image.height < 0 ||
                h.image.dots.size() !=
                    static_cast<size_t>(h.image.width) * static_cast<size_t>(h.image.height) ||
                static_cast<int64_t>(h.image.dots.size()) > options.caps.maxLabelDots) {
                Fail("image size differs from its sides or passes the cap");
            }
        }
    }
    if (!r.pages.empty()) {
        std::string why;
        const bool empty = r.pages[0].heads[0].image.dots.empty();
        if (ktdecode::EncodePng(r.pages[0], ktdecode::kDefaultHeadColours, why).empty() != empty) {
            Fail(("PNG of the first page: " + why).c_str());
        }
    }

    Counter counter;
    const ktdecode::Result observed = ktdecode::Decode(stream, options, counter);
    const bool keptTooMuch =
        !r.ok && std::string_view(r.error.expected).starts_with("label images of at most");
    if (!keptTooMuch && (observed.ok != r.ok || observed.error.offset != r.error.offset ||
                         counter.commands != r.commands.size() || counter.pages != r.pages.size() ||
                         observed.pages.size() != r.pages.size())) {
        Fail("observing and collecting decodes differ");
    }
    return 0;
}
