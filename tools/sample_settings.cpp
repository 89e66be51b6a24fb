// The sample's --settings mode: for every variant of this build's model profile, the default device
// settings record the driver hands out for a newly installed printer, as a readable summary.
#include <windows.h>
#include <winspool.h>
#include <winsim_host.h>

#include <cstdio>
#include <memory>
#include <string>

#include "devmode.h"
#include "label_store.h"
#include "model_lookup.h"
#include "printer_data.h"
#include "sample.h"
#include "wstr.h"

namespace {

std::string Utf8(const WCHAR* text, size_t max) {
    int len = static_cast<int>(WStrLen(text, max));
    if (len == 0) {
        return {};
    }
    char buffer[512];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, len, buffer, sizeof(buffer), nullptr, nullptr);
    return std::string(buffer, n > 0 ? n : 0);
}

std::string Utf8(const WCHAR* text) {
    return Utf8(text, static_cast<size_t>(-1));
}

void PrintLabel(int index, const LABELINFO& l) {
    std::printf(
        "    label %d: \"%s\" id %u, %d x %d mm, gap %d, copies %d, rotation %d, dithering %d, compress %d,"
        " speed %d, density %d",
        index, Utf8(l.Name, kLabelNameChars).c_str(), static_cast<unsigned>(l.Id), static_cast<int>(l.Width),
        static_cast<int>(l.Length), static_cast<int>(l.Values.Gap), static_cast<int>(l.Values.Copies),
        static_cast<int>(l.Values.Rotation), static_cast<int>(l.Values.Dithering),
        static_cast<int>(l.Values.Compress), static_cast<int>(l.Values.PrintSpeed),
        static_cast<int>(l.Values.Density1));
#if defined(KT_PROFILE_A)
    std::printf("/%d, voltage %d/%d, head colours 0x%06X/0x%06X", static_cast<int>(l.Values.Density2),
                static_cast<int>(l.Values.HeadVoltage1), static_cast<int>(l.Values.HeadVoltage2),
                static_cast<unsigned>(l.Values.HeadColor1), static_cast<unsigned>(l.Values.HeadColor2));
#else
    std::printf(", voltage %d", static_cast<int>(l.Values.HeadVoltage1));
#endif
    std::printf("\n");
}

bool PrintVariant(int modelIndex) {
    const VARIANTINFO& v = GetVariant(modelIndex);
    std::string printer = "Sample " + std::to_string(modelIndex);
    std::string driver = Utf8(v.VariantName) + " Label Printer";
    std::basic_string<WCHAR> printerW(printer.begin(), printer.end());
    HANDLE h = nullptr;
    if (!winsim_add_printer(printer.c_str(), driver.c_str(), "USB001", "winprint", PRINTER_ATTRIBUTE_LOCAL) ||
        !OpenDriverPrinter(printerW.c_str(), 1, &h)) {
        std::fprintf(stderr, "cannot set up printer %s\n", printer.c_str());
        return false;
    }
    auto rec = std::make_unique<DRVDEVMODE>();
    DWORD ok = GetDriverDevMode(rec.get(), nullptr, h, printerW.c_str(), GDM_COPY_WORKING, CALLER_CONFIG);
    ClosePrinter(h);
    if (!ok) {
        std::fprintf(stderr, "no settings record for %s\n", printer.c_str());
        return false;
    }
    const DEVMODEW& d = rec->Public;
    const PRIVDEVMODE& p = rec->Private;
    std::printf("profile %s, variant %d \"%s\" (driver \"%s\")\n", KT_PROFILE_NAME, modelIndex,
                Utf8(v.VariantName).c_str(), driver.c_str());
    std::printf("  record: %zu bytes exchanged (public %u + private %u), %zu working, signature 0x%08X\n",
                kExchangedSize, d.dmSize, d.dmDriverExtra, kWorkingSize, static_cast<unsigned>(p.Signature));
    std::printf(
        "  public: version 0x%04X, driver 0x%04X, fields 0x%08X, orientation %d, paper %d (%d x %d, 0.1 mm)"
        " \"%s\", copies %d, source %d, %d x %d dpi, colour %d, media %u, nup %u\n",
        d.dmSpecVersion, d.dmDriverVersion, static_cast<unsigned>(d.dmFields), d.dmOrientation, d.dmPaperSize,
        d.dmPaperWidth, d.dmPaperLength, Utf8(d.dmFormName, CCHFORMNAME).c_str(), d.dmCopies,
        d.dmDefaultSource, d.dmPrintQuality, d.dmYResolution, d.dmColor, static_cast<unsigned>(d.dmMediaType),
        static_cast<unsigned>(d.dmNup));
    std::printf("  private: paper id %u, media %u, slot %u, custom %d x %d (0.1 mm), model %d, surface %d,"
                " resolution %d, patterns %d/%d, render %d/%d/%d, %d labels\n",
                static_cast<unsigned>(p.PaperId), static_cast<unsigned>(p.MediaType),
                static_cast<unsigned>(p.InputSlot), static_cast<int>(p.CustomWidth),
                static_cast<int>(p.CustomLength), static_cast<int>(p.ModelIndex),
                static_cast<int>(p.SurfaceToPrint), static_cast<int>(p.ResolutionIndex),
                static_cast<int>(p.PatternIndex), static_cast<int>(p.PatternIndex2),
                static_cast<int>(p.RenderModeA), static_cast<int>(p.RenderLevel),
                static_cast<int>(p.RenderModeB), static_cast<int>(p.LabelCount));
    for (int i = 0; i < p.LabelCount; ++i) {
        PrintLabel(i, p.Labels[i]);
    }
    const DEVICEEXT& e = rec->Extension;
    std::printf("  extension: halftone flags %u, pattern size %u, handling %d/%d/%d/%d, trays %d/%d\n",
                static_cast<unsigned>(e.DeviceHalftone.HTFlags),
                static_cast<unsigned>(e.DeviceHalftone.HTPatternSize), static_cast<int>(e.NupHandling),
                static_cast<int>(e.PageOrderHandling), static_cast<int>(e.CollateHandling),
                static_cast<int>(e.CopyHandling), static_cast<int>(e.Tray1ModelIndex),
                static_cast<int>(e.Tray2ModelIndex));
    return true;
}

} // namespace

int PrintDefaultSettings() {
    winsim_reset();
    bool ok = true;
    for (int i = 0; i < kVariantCount; ++i) {
        if (!IsPlaceholderVariant(i)) {
            ok = PrintVariant(i) && ok;
        }
    }
    return ok ? 0 : 1;
}
