// The document and printer sheets opened through their entry points and the stand-in common property sheet
// library, and used as a user uses them: pages looked at, fields typed into, OK or Cancel pressed.
#include "config_fixture.h"

#include <compstui.h>
#include <prsht.h>

#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"
#include "sheets.h"

namespace {

// The user's part, as a closure over the test's state.
template <typename F> void OnSheet(F& script) {
    winsim_ui_on_sheet(
        [](void* frame, void* context) { (*static_cast<F*>(context))(static_cast<HWND>(frame)); }, &script);
}
template <typename F> void OnModal(F& script) {
    winsim_ui_on_modal(
        [](void* dialog, void* context) { (*static_cast<F*>(context))(static_cast<HWND>(dialog)); }, &script);
}

std::string UiText(HWND dialog, int id) {
    char text[512] = {};
    winsim_ui_text(dialog, id, text, sizeof(text));
    return text;
}

std::vector<std::string> SheetLog() {
    std::vector<std::string> lines;
    char line[256];
    for (size_t i = 0; i < winsim_ui_sheet_log_size(); ++i) {
        winsim_ui_sheet_log_line(i, line, sizeof(line));
        lines.emplace_back(line);
    }
    return lines;
}

size_t LogIndex(const std::vector<std::string>& log, const std::string& prefix) {
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].rfind(prefix, 0) == 0) {
            return i;
        }
    }
    return log.size();
}

constexpr BYTE kUntouched = 0xAB;
constexpr const char* kVersionLine =
    kProfileA ? "Version  1.02 (116009.02) <KT-508> <64bit>" : "Version  1.02 (116012.02) <KT-936> <64bit>";

class SheetUi : public ConfigTest {
  protected:
    // The caller's output record, and behind it what must never be written.
    std::vector<BYTE> out_ = std::vector<BYTE>(kExchangedSize + 64, kUntouched);
    DRVDEVMODE* Out() { return reinterpret_cast<DRVDEVMODE*>(out_.data()); }
    bool OutUntouched(size_t from = 0) const {
        for (size_t i = from; i < out_.size(); ++i) {
            if (out_[i] != kUntouched) {
                return false;
            }
        }
        return true;
    }
    LONG Document(DWORD mode) {
        return DocumentPropertiesSheet(nullptr, printer_, const_cast<LPWSTR>(kPrinterNameW),
                                       reinterpret_cast<DEVMODEW*>(out_.data()), nullptr, mode);
    }
};

TEST_F(SheetUi, DocumentSheetHasTheLabelThenTheDeviceOptionsPageAndOkHandsBackTheChange) {
    auto user = [](HWND sheet) {
        ASSERT_EQ(winsim_ui_sheet_page_count(sheet), 2);
        HWND label = static_cast<HWND>(winsim_ui_sheet_page(sheet, 0));
        ASSERT_NE(label, nullptr);
        EXPECT_NE(GetDlgItem(label, IDC_LABEL_LIST), nullptr);
        EXPECT_EQ(winsim_ui_sheet_page(sheet, 1), nullptr) << "a page is made when it is first shown";
        uint32_t flags = 0;
        winsim_ui_sheet_header(sheet, &flags, nullptr, 0);
        EXPECT_EQ(flags, static_cast<uint32_t>(PSUIHDRF_NOAPPLYNOW | PSUIHDRF_PROPTITLE));
        ASSERT_TRUE(winsim_ui_enter(label, IDC_GAP, "3"));
        EXPECT_EQ(UiText(label, IDC_GAP), "3.0");
        ASSERT_TRUE(winsim_ui_sheet_select(sheet, 1));
        HWND device = static_cast<HWND>(winsim_ui_sheet_page(sheet, 1));
        ASSERT_NE(device, nullptr);
        EXPECT_NE(GetDlgItem(device, IDC_DEVICE_DEFAULTS), nullptr);
        EXPECT_TRUE(winsim_ui_sheet_press(sheet, IDOK));
    };
    OnSheet(user);
    EXPECT_EQ(Document(DM_PROMPT | DM_COPY), CPSUI_OK);
    EXPECT_EQ(Out()->Private.Labels[Out()->Private.CurrentLabel].Values.Gap, 30);
    EXPECT_EQ(Out()->Public.dmSize, sizeof(DEVMODEW));
    EXPECT_TRUE(OutUntouched(kExchangedSize)) << "the device extension stays with the sheet";
    const std::vector<std::string> log = SheetLog();
    EXPECT_LT(LogIndex(log, "page 0 APPLY"), LogIndex(log, "reason SET_RESULT"));
    EXPECT_LT(LogIndex(log, "reason SET_RESULT"), LogIndex(log, "reason DESTROY"));
    EXPECT_NE(winsim_ui_compstui_context(), nullptr) << "the library is loaded inside our activation context";
    EXPECT_EQ(winsim_ui_compstui_loads(), 0);
}

TEST_F(SheetUi, OutputRecordOnlyForAConfirmedCopyOrUpdate) {
    const struct {
        DWORD mode;
        int button;
        LONG answer;
        bool written;
    } cases[] = {
        {DM_PROMPT | DM_COPY, IDCANCEL, CPSUI_CANCEL, false},
        {DM_PROMPT, IDOK, CPSUI_OK, false},
        {DM_PROMPT | DM_UPDATE, IDOK, CPSUI_OK, true},
        {DM_PROMPT | DM_COPY, IDOK, CPSUI_OK, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + (c.button == IDOK ? " OK" : " Cancel"));
        std::fill(out_.begin(), out_.end(), kUntouched);
        const int button = c.button;
        auto user = [button](HWND sheet) {
            HWND label = static_cast<HWND>(winsim_ui_sheet_page(sheet, 0));
            winsim_ui_enter(label, IDC_GAP, "4");
            EXPECT_TRUE(winsim_ui_sheet_press(sheet, button));
        };
        OnSheet(user);
        const size_t before = winsim_ui_sheet_log_size();
        EXPECT_EQ(Document(c.mode), c.answer);
        EXPECT_EQ(OutUntouched(), !c.written);
        EXPECT_TRUE(OutUntouched(kExchangedSize));
        std::vector<std::string> log = SheetLog();
        log.erase(log.begin(), log.begin() + static_cast<ptrdiff_t>(before));
        EXPECT_EQ(LogIndex(log, "page 0 RESET") < log.size(), c.button == IDCANCEL);
        EXPECT_EQ(LogIndex(log, "reason SET_RESULT") < log.size(), c.button == IDOK);
    }
}

class PrinterSheetUi : public SheetUi {
  protected:
    void SetUp() override {
        SheetUi::SetUp();
        winsim_delete_printer_data(kPrinterName, "Private DevMode");
    }
    bool DevModeStored() {
        return winsim_get_printer_data(kPrinterName, "Private DevMode", nullptr, nullptr, 0) > 0;
    }
};

TEST_F(PrinterSheetUi, AboutPageShowsTheVersionAndOkStoresAndTellsEveryone) {
    auto user = [](HWND sheet) {
        ASSERT_EQ(winsim_ui_sheet_page_count(sheet), 1);
        HWND about = static_cast<HWND>(winsim_ui_sheet_page(sheet, 0));
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(UiText(about, IDC_ABOUT_VERSION), kVersionLine);
        EXPECT_EQ(UiText(about, IDC_ABOUT_TITLE), "KT Label Printer Driver");
        // The product bitmap is drawn at its own size, centred on its button.
        const uint32_t blits = winsim_ui_blit_count();
        winsim_ui_paint(about);
        ASSERT_EQ(winsim_ui_blit_count(), blits + 1);
        winsim_ui_blit_record blit = {};
        winsim_ui_blit(blits, &blit);
        RECT button = {};
        GetClientRect(GetDlgItem(about, IDC_ABOUT_BITMAP), &button);
        EXPECT_EQ(blit.width, blit.source_width);
        EXPECT_EQ(blit.height, blit.source_height);
        EXPECT_EQ(blit.x, (button.right - blit.width) / 2);
        EXPECT_EQ(blit.y, (button.bottom - blit.height) / 2);
        EXPECT_TRUE(winsim_ui_sheet_press(sheet, IDOK));
    };
    OnSheet(user);
    EXPECT_TRUE(OpenPrinterSheet(nullptr, printer_));
    EXPECT_TRUE(DevModeStored());
    ASSERT_EQ(winsim_ui_broadcast_count(), 1u);
    uint32_t message = 0;
    char text[64] = {};
    winsim_ui_broadcast(0, &message, text, sizeof(text));
    EXPECT_EQ(message, static_cast<uint32_t>(WM_DEVMODECHANGE));
    EXPECT_STREQ(text, kPrinterName);
}

TEST_F(PrinterSheetUi, CancelStoresNothingAndTellsNobody) {
    auto user = [](HWND sheet) { EXPECT_TRUE(winsim_ui_sheet_press(sheet, IDCANCEL)); };
    OnSheet(user);
    EXPECT_FALSE(OpenPrinterSheet(nullptr, printer_));
    EXPECT_FALSE(DevModeStored());
    EXPECT_EQ(winsim_ui_broadcast_count(), 0u);
}

TEST_F(SheetUi, AboutBoxFromTheLabelPageShowsTheSettingsVersionOnlyWithShiftAndControl) {
    for (bool keys : {false, true}) {
        SCOPED_TRACE(keys ? "Shift+Ctrl" : "no keys");
        winsim_ui_set_key(VK_SHIFT, keys);
        winsim_ui_set_key(VK_CONTROL, keys);
        std::string version, settings, title;
        auto box = [&](HWND dialog) {
            version = UiText(dialog, IDC_BOX_VERSION);
            settings = UiText(dialog, IDC_SETTINGS_VERSION);
            title = UiText(dialog, IDC_BOX_TITLE);
            EXPECT_TRUE(winsim_ui_click(dialog, IDC_BOX_OK));
        };
        auto user = [&](HWND sheet) {
            OnModal(box);
            HWND label = static_cast<HWND>(winsim_ui_sheet_page(sheet, 0));
            EXPECT_TRUE(winsim_ui_click(label, IDC_ABOUT));
            EXPECT_TRUE(IsWindowEnabled(label)) << "the page takes input again once the box is closed";
            winsim_ui_sheet_press(sheet, IDCANCEL);
        };
        OnSheet(user);
        Document(DM_PROMPT | DM_COPY);
        EXPECT_EQ(version, kVersionLine);
        EXPECT_EQ(title, "KT Label Printer Driver");
        EXPECT_EQ(settings == "Ver9.00.00", keys);
    }
}

} // namespace
