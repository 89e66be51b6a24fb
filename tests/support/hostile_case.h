// Hostile stored state and inputs for the device-record service, built from a stream of bytes: the
// test suite feeds it random bytes, the fuzz target feeds it libFuzzer's. Every settled record must
// come out safe to index with, whatever went in.
#pragma once

#include <windows.h>
#include <winspool.h>
#include <winsim_host.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "devmode.h"
#include "os_version.h"
#include "printer_data.h"

namespace hostile {

class ByteSource {
  public:
    ByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint32_t U32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v |= static_cast<uint32_t>(Byte()) << (8 * i);
        }
        return v;
    }
    uint32_t Below(uint32_t bound) { return bound ? U32() % bound : 0; }
    void Fill(uint8_t* out, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            out[i] = Byte();
        }
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Offsets worth aiming at: every field that selects a table entry or bounds an array.
inline const size_t kAimedOffsets[] = {
    offsetof(DRVDEVMODE, Public.dmSize),
    offsetof(DRVDEVMODE, Public.dmDriverExtra),
    offsetof(DRVDEVMODE, Public.dmFields),
    offsetof(DRVDEVMODE, Public.dmPaperSize),
    offsetof(DRVDEVMODE, Public.dmPaperWidth),
    offsetof(DRVDEVMODE, Public.dmCopies),
    offsetof(DRVDEVMODE, Private.PaperId),
    offsetof(DRVDEVMODE, Private.CustomWidth),
    offsetof(DRVDEVMODE, Private.CurrentLabel),
    offsetof(DRVDEVMODE, Private.LabelCount),
    offsetof(DRVDEVMODE, Private.Labels[0].Name[62]),
    offsetof(DRVDEVMODE, Private.Labels[0].Width),
    offsetof(DRVDEVMODE, Private.Labels[1].Length),
    offsetof(DRVDEVMODE, Private.Labels[1].Id),
    offsetof(DRVDEVMODE, Private.Labels[249].Name[63]),
    offsetof(DRVDEVMODE, Private.Reserved),
    offsetof(DRVDEVMODE, Private.ModelIndex),
    offsetof(DRVDEVMODE, Private.SurfaceToPrint),
    offsetof(DRVDEVMODE, Private.ResolutionIndex),
    offsetof(DRVDEVMODE, Private.PatternIndex),
    offsetof(DRVDEVMODE, Private.PatternIndex2),
    offsetof(DRVDEVMODE, Private.ColorAdjust),
    offsetof(DRVDEVMODE, Private.RenderModeA),
    offsetof(DRVDEVMODE, Private.PatternMode),
    offsetof(DRVDEVMODE, Private.RenderLevel),
    offsetof(DRVDEVMODE, Private.RenderModeB),
    offsetof(DRVDEVMODE, Extension.NupHandling),
    offsetof(DRVDEVMODE, Extension.CollateHandling),
    offsetof(DRVDEVMODE, Extension.Tray1ModelIndex),
};

// A copy of good, with a few fields or bytes overwritten.
inline void Mutate(ByteSource& src, uint8_t* rec, size_t size) {
    const uint32_t edits = src.Below(10);
    for (uint32_t i = 0; i < edits; ++i) {
        size_t at = src.Byte() & 1 ? kAimedOffsets[src.Below(std::size(kAimedOffsets))] : src.Below(size);
        uint32_t value = src.Byte() & 1 ? src.U32() : src.Below(8) - 2; // random, or small and around zero
        for (size_t k = 0; k < 4 && at + k < size; ++k) {
            rec[at + k] = static_cast<uint8_t>(value >> (8 * k));
        }
    }
}

// Either nothing, a mutated copy of good, or bytes of any length.
inline std::vector<uint8_t> Blob(ByteSource& src, const void* good, size_t goodSize, size_t maxSize,
                                 bool* present) {
    std::vector<uint8_t> blob;
    switch (src.Below(3)) {
    case 0:
        *present = false;
        return blob;
    case 1:
        blob.assign(static_cast<const uint8_t*>(good), static_cast<const uint8_t*>(good) + goodSize);
        Mutate(src, blob.data(), blob.size());
        break;
    default:
        blob.resize(src.Below(static_cast<uint32_t>(maxSize)));
        src.Fill(blob.data(), blob.size() < 256 ? blob.size() : 256);
        break;
    }
    *present = true;
    return blob;
}

// An input record as an application might pass it: its buffer is exactly as long as its header
// says (but never shorter than the header itself), so reading past it is caught.
inline std::vector<uint8_t> InputRecord(ByteSource& src, const DRVDEVMODE& good) {
    std::vector<uint8_t> in;
    if (src.Below(4) != 0) {
        in.assign(reinterpret_cast<const uint8_t*>(&good),
                  reinterpret_cast<const uint8_t*>(&good) + kExchangedSize);
        Mutate(src, in.data(), in.size());
    } else {
        in.resize(offsetof(DEVMODEW, dmFields));
        src.Fill(in.data(), in.size());
    }
    DEVMODEW head;
    std::memcpy(&head, in.data(), offsetof(DEVMODEW, dmFields));
    size_t claimed = static_cast<size_t>(head.dmSize) + head.dmDriverExtra;
    size_t length = claimed > offsetof(DEVMODEW, dmFields) ? claimed : offsetof(DEVMODEW, dmFields);
    size_t keep = in.size();
    in.resize(length);
    if (length > keep) {
        src.Fill(in.data() + keep, length - keep < 64 ? length - keep : 64);
    }
    return in;
}

// Empty when the settled record is safe to use; otherwise what is wrong with it.
inline std::string CheckSettled(const DRVDEVMODE& r, bool withExtension) {
    const PRIVDEVMODE& p = r.Private;
    if (r.Public.dmSize != kPublicSize || r.Public.dmDriverExtra != kPrivateBytes) {
        return "public header";
    }
    if (p.Signature != kDevModeSignature) {
        return "signature";
    }
    if (p.ModelIndex < 0 || p.ModelIndex >= kVariantCount) {
        return "ModelIndex " + std::to_string(p.ModelIndex);
    }
    if (p.LabelCount < 2 || p.LabelCount > kMaxLabels) {
        return "LabelCount " + std::to_string(p.LabelCount);
    }
    if (p.CurrentLabel < 0 || p.CurrentLabel >= p.LabelCount) {
        return "CurrentLabel " + std::to_string(p.CurrentLabel);
    }
    for (const LABELINFO& l : p.Labels) {
        if (l.Name[kLabelNameChars - 1] != 0) {
            return "unterminated label name";
        }
    }
    if (r.Public.dmFormName[CCHFORMNAME - 1] != 0) {
        return "unterminated form name";
    }
    if (p.ResolutionIndex != 0 || p.PatternIndex < 0 || p.PatternIndex > 3 || p.PatternIndex2 < 0 ||
        p.PatternIndex2 > 3) {
        return "resolution or pattern index";
    }
    if (p.SurfaceToPrint < 0 || p.SurfaceToPrint > 3 || p.RenderModeA < 0 || p.RenderModeA > 2 ||
        p.PatternMode < 1 || p.PatternMode > 2 || p.RenderLevel < 0 || p.RenderLevel > 5 ||
        p.RenderModeB < 0 || p.RenderModeB > 3 || p.ColorOrder < 0 || p.ColorOrder > 1) {
        return "rendering choice";
    }
    if (p.Orientation < 1 || p.Orientation > 2 || p.Copies < 1 || p.Copies > kMaxCopies) {
        return "orientation or copies";
    }
    for (BYTE b : p.Reserved) {
        if (b != 0) {
            return "reserved bytes";
        }
    }
    if (withExtension) {
        const DEVICEEXT& e = r.Extension;
        for (LONG h : {e.NupHandling, e.PageOrderHandling, e.CollateHandling, e.CopyHandling}) {
            if (h < 0 || h > 1) {
                return "handling index";
            }
        }
        for (LONG t : {e.Tray1ModelIndex, e.Tray2ModelIndex}) {
            if (t < -1 || t >= kMaxLabels) {
                return "tray index";
            }
        }
    }
    return {};
}

// The settled record built the long way, one documented step after the other: the whole stored record
// loaded, then the input merged. The service skips work that the merge would undo; this must not change
// its result.
inline std::unique_ptr<DRVDEVMODE> Reference(HANDLE printer, const DEVMODEW* in) {
    auto ref = std::make_unique<DRVDEVMODE>();
    SettleDevMode(ref.get(), in, printer, TEXT("P"), CALLER_CONFIG, StoredLoad::Everything);
    return ref;
}

// One case: a printer with hostile stored state, then both forms of the service with a hostile
// input. Returns what was wrong, or an empty string.
inline std::string Run(const uint8_t* data, size_t size) {
    ByteSource src(data, size);
    winsim_reset();
    static const char* const kDrivers[] = {"KT-508W",    "KT-508X", "KT-936U", "KT-936U-12", "KT-936U-16",
                                           "KT-936U-24", "DISABLE", "",        "Generic"};
    if (!winsim_add_printer("P", kDrivers[src.Below(std::size(kDrivers))], "USB001", "winprint", 0x40)) {
        return "cannot add printer";
    }
    if (src.Byte() & 1) {
        winsim_set_windows_version(5, 1, 3, 2600, VER_NT_WORKSTATION, VER_PLATFORM_WIN32_NT);
    }
    HANDLE printer = nullptr;
    if (!OpenDriverPrinter(TEXT("P"), 1, &printer)) {
        return "cannot open printer";
    }
    auto good = std::make_unique<DRVDEVMODE>();
    GetDriverDevMode(good.get(), nullptr, printer, TEXT("P"), GDM_COPY_WORKING, CALLER_CONFIG);
    bool present = false;
    std::vector<uint8_t> stored = Blob(src, good.get(), kExchangedSize, 70000, &present);
    if (present) {
        winsim_set_printer_devmode("P", stored.data(), static_cast<uint32_t>(stored.size()));
    }
    std::vector<uint8_t> ext = Blob(src, &good->Extension, sizeof(DEVICEEXT), 400, &present);
    if (present) {
        winsim_set_printer_data("P", "Private DevMode", REG_BINARY, ext.data(),
                                static_cast<uint32_t>(ext.size()));
    }
    std::vector<uint8_t> paper = Blob(src, good->Private.Labels, kLabelListBytes, 70000, &present);
    if (present) {
        winsim_set_printer_data("P", "Private Paper", REG_BINARY, paper.data(),
                                static_cast<uint32_t>(paper.size()));
    }
    std::vector<uint8_t> input = InputRecord(src, *good);
    const DEVMODEW* in = src.Below(8) ? reinterpret_cast<const DEVMODEW*>(input.data()) : nullptr;
    const DWORD modes[] = {GDM_COPY_WORKING | GDM_TAKE_INPUT, GDM_COPY_WORKING | GDM_TAKE_INPUT_ALT,
                           GDM_COPY_EXCHANGED | GDM_TAKE_INPUT, GDM_COPY_WORKING};
    const DWORD mode = modes[src.Below(std::size(modes))];

    std::string why;
    std::vector<uint8_t> out(kWorkingSize + 64, 0xCD);
    if (GetDriverDevMode(out.data(), in, printer, TEXT("P"), mode, CALLER_CONFIG) != 1) {
        why = "configuration form failed";
    } else if (out[kWorkingSize] != 0xCD) {
        why = "wrote past the working record";
    } else {
        const bool passedThrough = (mode & GDM_COPY_EXCHANGED) && in && in->dmSize >= kMinInputPublicSize &&
                                   in->dmSize < kPublicSize;
        auto settled = std::make_unique<DRVDEVMODE>();
        std::memcpy(settled.get(), out.data(), kWorkingSize);
        if (!passedThrough) {
            why = CheckSettled(*settled, (mode & GDM_COPY_WORKING) != 0);
        }
        if (why.empty() && (mode & GDM_COPY_WORKING) && (mode & (GDM_TAKE_INPUT | GDM_TAKE_INPUT_ALT)) &&
            in && in->dmSize >= kMinInputPublicSize &&
            std::memcmp(settled.get(), Reference(printer, in).get(), kWorkingSize) != 0) {
            why = "differs from loading the whole stored record and merging step by step";
        }
    }
    if (why.empty()) {
        auto rendered = std::make_unique<DRVDEVMODE>();
        GetDriverDevMode(rendered.get(), in, printer, TEXT("P"));
        why = CheckSettled(*rendered, true);
        if (!why.empty()) {
            why = "rendering form: " + why;
        }
    }
    ClosePrinter(printer);
    return why;
}

} // namespace hostile
