#include "scenarios.h"

#include "label_store.h"
#include "model_lookup.h"
#include "seven_segment.h"

#include <cstring>

namespace scenarios {
namespace {

#if defined(KT_PROFILE_A)
constexpr LONG kModel = 0; // KT-508W
#else
constexpr LONG kModel = 5; // KT-936U
#endif

// A dot of head 1 (black) or head 2 (red, profile A only).
void Dot(const PageBits& page, LONG x, LONG y, int head = 1) {
    if (x < 0 || y < 0 || x >= page.Width || y >= page.Height) {
        return;
    }
    BYTE* row = static_cast<BYTE*>(page.Bits) + static_cast<ptrdiff_t>(y) * page.Stride;
    if (page.BitsPerPixel == 24) {
        const DWORD color = head == 1 ? 0x000000 : 0x0000FF;
        row[3 * x] = static_cast<BYTE>(color);
        row[3 * x + 1] = static_cast<BYTE>(color >> 8);
        row[3 * x + 2] = static_cast<BYTE>(color >> 16);
    } else if (page.BitsPerPixel == 1 && head == 1) {
        row[x / 8] &= static_cast<BYTE>(~(0x80 >> (x % 8)));
    }
}

void Box(const PageBits& page, LONG left, LONG top, LONG right, LONG bottom, int head = 1) {
    for (LONG y = top; y < bottom; ++y) {
        for (LONG x = left; x < right; ++x) {
            Dot(page, x, y, head);
        }
    }
}

// A small label of the user-defined size, so that jobs stay quick under Wine.
void SmallLabel(DRVDEVMODE* rec, LONG widthMm, LONG lengthMm) {
    rec->Private.PaperId = kUserDefinedLabelId;
    rec->Private.CustomWidth = widthMm * 10;
    rec->Private.CustomLength = lengthMm * 10;
}

LABELVALUES& Custom(DRVDEVMODE* rec) {
    return rec->Private.Labels[1].Values;
}

// Lines of text-like strokes and a frame: content whose rows code in every way.
void Content(const PageBits& page, int seed) {
    Box(page, 0, 0, page.Width, 3);
    Box(page, 0, page.Height - 3, page.Width, page.Height);
    Box(page, 0, 0, 3, page.Height);
    Box(page, page.Width - 3, 0, page.Width, page.Height);
    for (LONG y = 10; y + 12 < page.Height / 2; y += 18) {
        for (LONG x = 8; x + 8 < page.Width; x += 7 + (x * 7 + y + seed) % 9) {
            Box(page, x, y, x + 2, y + 12);
            Box(page, x, y + 5, x + 5, y + 7, (x + y) % 3 == 0 ? 2 : 1);
        }
    }
    for (LONG x = page.Width / 6; x < page.Width * 5 / 6; x += 3 + (x % 5)) {
        Box(page, x, page.Height * 2 / 3, x + 1 + (x % 3), page.Height - 8);
    }
}

void Serial(const PageBits& page, int number, LONG left, LONG top, LONG height) {
    SevenSegmentNumber(number, left, top, height,
                       [&](long l, long t, long r, long b) { Box(page, l, t, r, b); });
}

const std::vector<Scenario> kScenarios = {
    // The command table's example: two pages, three copies by print count, print settings, final cut.
    {"two-pages", 2,
     [](DRVDEVMODE* rec) {
         SmallLabel(rec, 40, 30);
         rec->Private.Copies = 3;
         Custom(rec).PrintSettingsEnabled = 1;
         Custom(rec).QuantityCommand = 1;
         Custom(rec).CutLast = 1;
         Custom(rec).BandSplit = 1;
     },
     [](int page, const PageBits& bits) {
         Content(bits, 1);
         if (page == 1) {
             Box(bits, 20, bits.Height - 40, 60, bits.Height - 30);
         }
     }},
    // Turned a quarter, in landscape, raw rows.
    {"rotated", 1,
     [](DRVDEVMODE* rec) {
         SmallLabel(rec, 30, 45);
         rec->Private.Orientation = DMORIENT_LANDSCAPE;
         Custom(rec).Rotation = 1;
         Custom(rec).Compress = 0;
     },
     [](int, const PageBits& bits) { Content(bits, 2); }},
    // Placed on the head by the driver, with X corrections.
    {"driver-expansion", 2,
     [](DRVDEVMODE* rec) {
         SmallLabel(rec, 35, 25);
         Custom(rec).DriverExpand = 1;
         Custom(rec).XAdjust1 = 13;
#if defined(KT_PROFILE_A)
         Custom(rec).XAdjust2 = -7;
#endif
     },
     [](int page, const PageBits& bits) {
         Content(bits, 3);
         Serial(bits, page, bits.Width / 2, bits.Height / 2 + 2, 20);
     }},
    // Labels that differ only in their serial numbers.
    {"serial-numbers", 12,
     [](DRVDEVMODE* rec) {
         SmallLabel(rec, 50, 30);
         Custom(rec).BandSplit = 1;
     },
     [](int page, const PageBits& bits) {
         Content(bits, 4);
         Serial(bits, 1000 + page, bits.Width / 2, bits.Height / 2 - 30, 24);
     }},
};

} // namespace

const std::vector<Scenario>& All() {
    return kScenarios;
}

const char* DriverName() {
#if defined(KT_PROFILE_A)
    return "KT-508W Label Printer";
#else
    return "KT-936U Label Printer";
#endif
}

std::unique_ptr<DRVDEVMODE> SettingsOf(const Scenario& s) {
    auto rec = std::make_unique<DRVDEVMODE>();
    InitDevModeForModel(rec.get(), kModel);
    rec->Private.Signature = kDevModeSignature;
    s.Settings(rec.get());
    SyncPublicDevMode(rec.get());
    return rec;
}

bool Run(Engine& engine, const Scenario& s, std::vector<uint8_t>* stream) {
    auto rec = SettingsOf(s);
    if (!engine.Open(rec.get()) || !engine.StartDoc(s.Name)) {
        engine.Close();
        return false;
    }
    bool ok = true;
    for (int page = 0; page < s.Pages && ok; ++page) {
        PageBits bits = {};
        ok = engine.StartPage(&bits) && bits.Bits;
        if (ok) {
            s.Paint(page, bits);
            ok = engine.EndPage();
        }
    }
    ok = engine.EndDoc() && ok;
    engine.Close();
    *stream = engine.Stream();
    return ok;
}

} // namespace scenarios
