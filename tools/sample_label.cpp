// One sample label as an application draws it: a frame, a title, Japanese and Latin text, a Code 128
// barcode and a QR code of the serial number (zint), and on the two-head printers areas in the second
// head's colour.
#include "sample.h"

#include <winsim_host.h>
#include <zint.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0x0000FF; // the standard label's second head colour (red in the low byte)
constexpr uint32_t kWhite = 0xFFFFFF;

struct Page {
    void* Device;
    int Dpi;
    std::string* Why;

    int Px(double mm) const { return static_cast<int>(mm * Dpi / 25.4 + 0.5); }
    bool Check(int ok, const char* what) const {
        if (!ok) {
            *Why = what;
        }
        return ok != 0;
    }
};

struct SymbolDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

// A zint symbol as a 1-bit bitmap of one pixel a module, dark modules 0, and its size.
struct ModuleBitmap {
    std::vector<uint8_t> Bits;
    int Stride = 0;
    int Width = 0;
    int Height = 0;
};

bool EncodeSymbol(int symbology, const std::string& data, ModuleBitmap& out) {
    std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        return false;
    }
    symbol->symbology = symbology;
    symbol->show_hrt = 0;
    symbol->scale = 0.5f; // one pixel a module
    symbol->height = 1;
    if (ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.data()),
                        static_cast<int>(data.size())) >= ZINT_ERROR ||
        ZBarcode_Buffer(symbol.get(), 0) >= ZINT_ERROR) {
        return false;
    }
    out.Width = symbol->bitmap_width;
    out.Height = symbol->bitmap_height;
    out.Stride = (out.Width + 31) / 32 * 4;
    out.Bits.assign(static_cast<size_t>(out.Stride) * out.Height, 0xFF);
    for (int y = 0; y < out.Height; ++y) {
        for (int x = 0; x < out.Width; ++x) {
            if (symbol->bitmap[3 * (static_cast<size_t>(y) * out.Width + x)] < 128) {
                out.Bits[static_cast<size_t>(y) * out.Stride + x / 8] &=
                    static_cast<uint8_t>(~(0x80 >> (x % 8)));
            }
        }
    }
    return true;
}

// The symbol stretched onto the page: `module` pixels a module across, `height` pixels tall (0: square
// modules).
bool DrawSymbol(const Page& page, const ModuleBitmap& symbol, int left, int top, int module, int height) {
    winsim_bitmap bitmap = {symbol.Bits.data(), symbol.Stride, symbol.Width, symbol.Height, 1,
                            {kBlack, kWhite}};
    const int bottom = top + (height ? height : symbol.Height * module);
    return page.Check(winsim_engine_draw_bitmap(page.Device, &bitmap, left, top, left + symbol.Width * module,
                                                bottom, 3 /* COLORONCOLOR */),
                      "symbol");
}

bool Text(const Page& page, const std::string& font, double sizeMm, double xMm, double baselineMm,
          const std::string& text, uint32_t color) {
    return page.Check(winsim_engine_draw_text(page.Device, font.c_str(), page.Px(sizeMm), page.Px(xMm),
                                              page.Px(baselineMm), text.c_str(), color),
                      "text");
}

bool Box(const Page& page, double l, double t, double r, double b, uint32_t color) {
    return page.Check(
        winsim_engine_fill_rect(page.Device, page.Px(l), page.Px(t), page.Px(r), page.Px(b), color),
        "rectangle");
}

} // namespace

bool DrawLabel(void* device, int dpi, bool twoHeads, const std::string& fontFile, const LabelContent& label,
               std::string& why) {
    const Page page = {device, dpi, &why};
    const uint32_t accent = twoHeads ? kRed : kBlack;
    // The frame, 0.5 mm wide, 1 mm in from the 60 x 40 mm label's edges, and a rule under the title.
    bool ok = Box(page, 1, 1, 59, 1.5, kBlack) && Box(page, 1, 38.5, 59, 39, kBlack) &&
              Box(page, 1, 1, 1.5, 39, kBlack) && Box(page, 58.5, 1, 59, 39, kBlack);
    for (int i = 0; ok && i < 2; ++i) {
        ok = page.Check(winsim_engine_draw_line(device, page.Px(1.5), page.Px(10) + i, page.Px(58.5),
                                                page.Px(10) + i, kBlack),
                        "line");
    }
    // The title in the second head's colour, and a box of it with the text left white.
    ok = ok && Text(page, fontFile, 5, 3, 7.5, "出荷ラベル", accent) && Box(page, 44, 2.5, 57, 8.5, accent) &&
         Text(page, fontFile, 4, 45.5, 7, "重要", kWhite);
    // A mark: a filled triangle.
    const int triangle[] = {page.Px(36), page.Px(8.5), page.Px(39), page.Px(2.5), page.Px(42), page.Px(8.5)};
    ok = ok && page.Check(winsim_engine_fill_polygon(device, triangle, 3, accent), "polygon");
    char count[64];
    std::snprintf(count, sizeof(count), "%d / %d", label.Number, label.Count);
    ok = ok && Text(page, fontFile, 3, 3, 14, "品名：電子部品 KT-A100", kBlack) &&
         Text(page, fontFile, 3, 3, 18.5, "Serial " + label.Serial, kBlack) &&
         Text(page, fontFile, 2.5, 3, 36.5, std::string("Label ") + count, kBlack);
    ModuleBitmap code128;
    ModuleBitmap qr;
    if (ok && (!EncodeSymbol(BARCODE_CODE128, label.Serial, code128) ||
               !EncodeSymbol(BARCODE_QRCODE, label.Serial, qr))) {
        why = "zint";
        return false;
    }
    // Modules of about 0.25 mm for the barcode and 0.4 mm for the QR code, in whole dots.
    const int barModule = page.Px(0.25) > 1 ? page.Px(0.25) : 2;
    const int qrModule = page.Px(0.4) > 2 ? page.Px(0.4) : 3;
    ok = ok && DrawSymbol(page, code128, page.Px(4), page.Px(21), barModule, page.Px(11));
    ok = ok && DrawSymbol(page, qr, page.Px(56.5) - qr.Width * qrModule, page.Px(12.5), qrModule, 0);
    return ok;
}
