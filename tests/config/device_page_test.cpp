// The device options page driven as a user drives it: the lists read only when the page is left or
// applied, the defaults, the print settings switch, the label the page follows, and the command buttons.
#include "page_fixture.h"

#include "bytes.h"
#include "device_page.h"
#include "label_edit.h"
#include "label_store.h"

namespace {

// The print settings controls that "有効にする" switches.
constexpr int kPrintSettings[] = {
#if defined(KT_PROFILE_A)
    8011, 8013, 8014, 1097, 8017, 8021, 8018, 8022, 1098, 8019, 8023, 8020, 8024,
#else
    8012, 8014, 8015, 8020, 8018, 8021, 8019,
#endif
};

class DevicePage : public PageTest {
  protected:
    void OpenPage() { Open(IDD_DEVICE_PAGE, DeviceOptionsPageProc); }
};

TEST_F(DevicePage, AListChangeIsStoredAtApplyWithoutMarkingTheSheet) {
    OpenPage();
    EXPECT_EQ(Selection(IDC_SPEED), Current().Values.PrintSpeed);
    const int changes = changes_;
    SendMessageW(Item(IDC_SPEED), CB_SETCURSEL, 4, 0);
    Command(IDC_SPEED, CBN_SELCHANGE);
    EXPECT_NE(Current().Values.PrintSpeed, 4) << "a list is read when the page is left or applied";
    EXPECT_EQ(Notify(PSN_APPLY), PSNRET_NOERROR);
    EXPECT_EQ(Current().Values.PrintSpeed, 4);
    EXPECT_EQ(changes_, changes);
}

TEST_F(DevicePage, DefaultsSelectTheMiddleEntries) {
    MakeSheet();
    LABELVALUES& values = Current().Values;
    values.Compress = 0;
    values.BandSplit = 1;
    values.QuantityCommand = 1;
    values.PrintSettingsEnabled = 1;
    values.PrintSpeed = 0;
    values.Density1 = 0;
    values.HeadVoltage1 = 0;
#if defined(KT_PROFILE_A)
    values.Density2 = 0;
    values.HeadVoltage2 = 0;
    values.HeadColor1 = 0x00123456;
    values.HeadColor2 = 0x00654321;
#endif
    OpenPage();
    Command(IDC_DEVICE_DEFAULTS);
    EXPECT_EQ(SelectedText(IDC_SPEED), kProfileA ? u"100" : u"120");
#if defined(KT_PROFILE_A)
    EXPECT_EQ(SelectedText(IDC_DENSITY1), u"16");
    EXPECT_EQ(SelectedText(IDC_DENSITY2), u"16");
    EXPECT_EQ(SelectedText(IDC_VOLTAGE1), u"22.5");
    EXPECT_EQ(SelectedText(IDC_VOLTAGE2), u"22.5");
    EXPECT_EQ(values.HeadColor1, 0x00000000u);
    EXPECT_EQ(values.HeadColor2, 0x000000FFu);
#else
    EXPECT_EQ(SelectedText(IDC_DENSITY1), u"5");
    EXPECT_EQ(SelectedText(IDC_VOLTAGE1), u"5");
    EXPECT_TRUE(Checked(IDC_DITHER_3));
#endif
    EXPECT_TRUE(Checked(IDC_COMPRESS));
    EXPECT_FALSE(Checked(IDC_BAND_SPLIT));
    EXPECT_TRUE(Checked(IDC_QUANTITY_ONE));
    EXPECT_FALSE(Checked(IDC_QUANTITY_COUNT));
    EXPECT_FALSE(Checked(IDC_PRINT_SETTINGS_ENABLED));
}

TEST_F(DevicePage, PrintSettingsSwitchGreysItsControlsAndKeepsTheirValues) {
    MakeSheet();
    Current().Values.PrintSettingsEnabled = 1;
    Current().Values.PrintSpeed = 3;
    OpenPage();
    for (int id : kPrintSettings) {
        EXPECT_TRUE(Enabled(id)) << id;
    }
    Command(IDC_PRINT_SETTINGS_ENABLED);
    EXPECT_EQ(Current().Values.PrintSettingsEnabled, 0);
    EXPECT_EQ(changes_, 1);
    for (int id : kPrintSettings) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_EQ(Selection(IDC_SPEED), 3);
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(Current().Values.PrintSpeed, 3);
}

TEST_F(DevicePage, ShowsTheLabelChosenOnTheLabelPage) {
    MakeSheet();
    Rec().Private.Labels[1].Values.PrintSpeed = 1;
    Rec().Private.Labels[1].Values.Compress = 0;
    Rec().Private.Labels[0].Values.Compress = 1;
    OpenPage();
    EXPECT_TRUE(Checked(IDC_COMPRESS));
    Notify(PSN_KILLACTIVE);
    SelectLabelIndex(&Rec(), 1); // what the label page does when another label is chosen
    Notify(PSN_SETACTIVE);
    EXPECT_FALSE(Checked(IDC_COMPRESS));
    EXPECT_EQ(Selection(IDC_SPEED), 1);
}

TEST_F(DevicePage, EachCommandButtonSendsItsJobAndChangesNothing) {
    const struct {
        int Button;
        const char* Document;
        Bytes Data;
    } cases[] = {
        {IDC_COMMAND_CUT_LAST, "最後のカット", {0x02, 0x12, 0x03}},
        {IDC_COMMAND_FEED, "一枚空送り", {0x02, 0x0C, 0x03}},
        {IDC_COMMAND_TEST_PRINT, "テスト印字", {0x02, 0x54, 0x03}},
    };
    OpenPage();
    const LABELINFO before = Current();
    const int changes = changes_;
    uint32_t index = 0;
    for (const auto& c : cases) {
        Command(c.Button);
        char document[256] = {};
        char datatype[64] = {};
        int ended = 0;
        ASSERT_EQ(winsim_job_info(kPrinterName, index, document, sizeof(document), datatype, sizeof(datatype),
                                  &ended),
                  1)
            << c.Document;
        EXPECT_EQ(std::string(document), c.Document);
        EXPECT_EQ(std::string(datatype), "RAW");
        Bytes data(16);
        data.resize(static_cast<size_t>(winsim_job_bytes(kPrinterName, index, data.data(), 16)));
        EXPECT_TRUE(SameBytes(c.Data, data.data(), data.size())) << c.Document;
        ++index;
    }
    EXPECT_EQ(winsim_job_info(kPrinterName, index, nullptr, 0, nullptr, 0, nullptr), 0)
        << "one job per click";
    EXPECT_EQ(std::memcmp(&Current(), &before, sizeof(LABELINFO)), 0);
    EXPECT_EQ(changes_, changes);
}

#if defined(KT_PROFILE_A)
TEST_F(DevicePage, SwatchesPaintWithOneBrushPerHeadColour) {
    MakeSheet();
    Current().Values.HeadColor1 = 0x00112233;
    Current().Values.HeadColor2 = 0x00445566;
    OpenPage();
    HDC dc = GetDC(page_);
    auto brushOf = [&](int swatch) {
        return reinterpret_cast<HBRUSH>(SendMessageW(page_, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(Item(swatch))));
    };
    const HBRUSH head1 = brushOf(IDC_HEAD1_SWATCH);
    const HBRUSH head2 = brushOf(IDC_HEAD2_SWATCH);
    ASSERT_NE(head1, nullptr);
    ASSERT_NE(head2, nullptr);
    EXPECT_NE(head1, head2);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(brushOf(IDC_HEAD1_SWATCH), head1) << "a repaint makes no brush";
        EXPECT_EQ(brushOf(IDC_HEAD2_SWATCH), head2);
    }
    Command(IDC_DEVICE_DEFAULTS); // black and red
    EXPECT_EQ(Current().Values.HeadColor2, 0x000000FFu);
    EXPECT_NE(brushOf(IDC_HEAD2_SWATCH), nullptr);
    ReleaseDC(page_, dc);
}
#endif

#if defined(KT_PROFILE_A)
TEST_F(DevicePage, HeadColoursComeFromTheColourChooserWithAListOfCustomColoursPerHead) {
    MakeSheet();
    Current().Values.HeadColor1 = 0x00000000;
    Current().Values.HeadColor2 = 0x000000FF;
    OpenPage();
    winsim_ui_queue_color(1, 0x00FF0000);
    ASSERT_TRUE(winsim_ui_click(page_, IDC_HEAD1_COLOR));
    winsim_ui_queue_color(0, 0x0000FF00); // cancelled
    ASSERT_TRUE(winsim_ui_click(page_, IDC_HEAD2_COLOR));
    ASSERT_TRUE(winsim_ui_click(page_, IDC_HEAD1_COLOR)); // cancelled, nothing queued
    EXPECT_EQ(Current().Values.HeadColor1, 0x00FF0000u);
    EXPECT_EQ(Current().Values.HeadColor2, 0x000000FFu);
    ASSERT_EQ(winsim_ui_color_requests(), 3u);
    uint32_t initial[3] = {};
    uint32_t flags = 0;
    const void* custom[3] = {};
    for (uint32_t i = 0; i < 3; ++i) {
        winsim_ui_color_request(i, &initial[i], &flags, &custom[i]);
        EXPECT_TRUE(flags & CC_RGBINIT);
    }
    EXPECT_EQ(initial[0], 0x00000000u);
    EXPECT_EQ(initial[1], 0x000000FFu);
    EXPECT_EQ(initial[2], 0x00FF0000u) << "the chooser opens on the head's colour";
    EXPECT_NE(custom[0], custom[1]) << "each head keeps its own custom colours";
    EXPECT_EQ(custom[0], custom[2]) << "and keeps them from one opening to the next";

    // The swatch paints in the head's colour; repainting it makes no new brush.
    winsim_ui_paint(page_);
    uint32_t colour = 0;
    ASSERT_TRUE(winsim_ui_brush_color(winsim_ui_paint_brush(page_, IDC_HEAD1_SWATCH), &colour));
    EXPECT_EQ(colour, 0x00FF0000u);
    const uint32_t objects = winsim_ui_gdi_objects();
    for (int i = 0; i < 50; ++i) {
        winsim_ui_paint(page_);
    }
    EXPECT_EQ(winsim_ui_gdi_objects(), objects);
}
#endif

TEST_F(DevicePage, AFailingCommandJobShowsNothing) {
    OpenPage();
    winsim_fail_next("StartDocPrinterW", 1);
    ASSERT_TRUE(winsim_ui_click(page_, IDC_COMMAND_FEED));
    EXPECT_EQ(winsim_ui_message_count(), 0u);
    EXPECT_EQ(winsim_job_count(kPrinterName), 0u);
}

} // namespace
