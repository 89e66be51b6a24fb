// libFuzzer target: the label page's field readers with any text. A read never looks past the text's
// end or its 520 characters, every value it gives shows and reads back as itself, and a page read from
// any texts leaves the current label within the page's ranges, so that showing it and reading it again
// changes nothing.
#include "label_edit.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

// The input as UTF-16 texts, split at each 0xFFFF code unit, each in a buffer of its own length plus the
// terminator, so that reading past it is caught.
std::vector<std::vector<WCHAR>> Texts(const uint8_t* data, size_t size) {
    std::vector<std::vector<WCHAR>> texts(1);
    for (size_t i = 0; i + 1 < size; i += 2) {
        const WCHAR c = static_cast<WCHAR>(data[i] | (data[i + 1] << 8));
        if (c == 0xFFFF) {
            texts.emplace_back();
        } else if (c != 0) {
            texts.back().push_back(c);
        }
    }
    for (auto& t : texts) {
        t.push_back(0);
    }
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto texts = Texts(data, size);
    for (const auto& t : texts) {
        const LONG tenths = ReadTenths(t.data());
        const LONG integer = ReadInteger(t.data());
        WCHAR shown[kFieldTextChars];
        FormatTenths(tenths, shown);
        Check(ReadTenths(shown) == tenths, "a tenths value does not read back as itself");
        FormatInteger(integer, shown);
        Check(ReadInteger(shown) == integer, "an integer does not read back as itself");
    }

    static const std::unique_ptr<DRVDEVMODE> initial = [] {
        auto rec = std::make_unique<DRVDEVMODE>();
        InitDevModeForModel(rec.get(), 0);
        CreateLabel(rec.get(), TEXT("fuzz"));
        return rec;
    }();
    auto rec = std::make_unique<DRVDEVMODE>(*initial);
    const int label = size > 0 ? data[0] % 3 : 0;
    SelectLabelIndex(rec.get(), label);
    const WCHAR* fields[kLabelFieldCount];
    for (int f = 0; f < kLabelFieldCount; ++f) {
        fields[f] = texts[static_cast<size_t>(f) % texts.size()].data();
    }
    ReadCurrentLabel(rec.get(), fields);
    const LABELINFO& read = rec->Private.Labels[label];
    Check(read.Values.Gap >= 0 && read.Values.Gap <= 999, "gap out of range");
    Check(read.Values.Copies >= 0 && read.Values.Copies <= 9999, "copies out of range");
    Check(read.Width >= 1 && read.Width <= 500 && read.Length >= 1 && read.Length <= 500,
          "size out of range");

    const LABELINFO before = read;
    LABELPAGEVIEW view = ViewCurrentLabel(rec.get(), false);
    for (int f = 0; f < kLabelFieldCount; ++f) {
        fields[f] = view.Text[f];
    }
    ReadCurrentLabel(rec.get(), fields);
    Check(std::memcmp(&before, &rec->Private.Labels[label], sizeof(LABELINFO)) == 0,
          "showing the label and reading it again changed it");
    return 0;
}
