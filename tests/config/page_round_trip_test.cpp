// A whole round: the document sheet opened by DrvDocumentProperties with a prompt, a label changed on its
// pages, OK, and a job printed with the record it hands back through the loaded rendering module; the
// virtual printer then reads the changes back from the stream.
#include "config_fixture.h"

#include "res/resource.h"

#include "decoder.h"
#include "model_lookup.h"
#include "variant_rows.h"

#include <vector>

namespace {

class PageRoundTrip : public ConfigTest {};

ktdecode::Result PrintOnePage(const std::vector<BYTE>& record, COLORREF colour) {
    ktdecode::Result result;
    void* driver = winsim_engine_load(KT_RENDER_MODULE);
    EXPECT_NE(driver, nullptr);
    if (!driver) {
        return result;
    }
    void* device = winsim_engine_open(driver, kPrinterName, record.data());
    EXPECT_NE(device, nullptr);
    if (!device) {
        return result;
    }
    EXPECT_TRUE(winsim_engine_start_doc(device, "round"));
    winsim_engine_page page = {};
    EXPECT_TRUE(winsim_engine_start_page(device, &page));
    // A small square of the colour, drawn as an application draws it.
    EXPECT_TRUE(winsim_engine_fill_rect(device, 0, 0, 40, 40, colour));
    EXPECT_TRUE(winsim_engine_end_page(device));
    EXPECT_TRUE(winsim_engine_end_doc(device, 0));
    winsim_engine_close(device);
    const int32_t bytes = winsim_job_bytes(kPrinterName, 0, nullptr, 0);
    std::vector<uint8_t> stream(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    winsim_job_bytes(kPrinterName, 0, stream.data(), static_cast<uint32_t>(stream.size()));
    const DRVDEVMODE* rec = reinterpret_cast<const DRVDEVMODE*>(record.data());
    static ktdecode::Variant variant;
    variant =
        ktdecode::detail::RowVariant(GetVariant(rec->Private.ModelIndex), kProfileA ? 'A' : 'B', kHeadCount);
    ktdecode::Options options;
    options.variant = &variant;
    return ktdecode::Decode(stream, options);
}

const ktdecode::Command* FirstOf(const ktdecode::Result& result, ktdecode::CommandKind kind) {
    for (const ktdecode::Command& command : result.commands) {
        if (command.kind == kind) {
            return &command;
        }
    }
    return nullptr;
}

#if defined(KT_PROFILE_A)
bool HeadPrints(const ktdecode::Result& result, int head) {
    if (result.pages.empty() || result.pages[0].heads.size() <= static_cast<size_t>(head)) {
        return false;
    }
    for (uint8_t dot : result.pages[0].heads[head].image.dots) {
        if (dot) {
            return true;
        }
    }
    return false;
}
#endif

// The user's part: a gap and a quarter turn on the label page, head 1 black and head 2 red (profile A) from
// the colour chooser on the device options page, then OK.
void ChangeTheLabel(void* sheet, void*) {
    void* label = winsim_ui_sheet_page(sheet, 0);
    EXPECT_TRUE(winsim_ui_enter(label, IDC_GAP, "4.5"));
    EXPECT_TRUE(winsim_ui_click(label, IDC_ROTATION_90));
    ASSERT_TRUE(winsim_ui_sheet_select(sheet, 1));
#if defined(KT_PROFILE_A)
    void* device = winsim_ui_sheet_page(sheet, 1);
    winsim_ui_queue_color(1, 0x00000000);
    EXPECT_TRUE(winsim_ui_click(device, IDC_HEAD1_COLOR));
    winsim_ui_queue_color(1, 0x000000FF);
    EXPECT_TRUE(winsim_ui_click(device, IDC_HEAD2_COLOR));
#endif
    EXPECT_TRUE(winsim_ui_sheet_press(sheet, IDOK));
}

TEST_F(PageRoundTrip, GapRotationAndHeadColourReachThePrinter) {
    std::vector<BYTE> in = Exchanged();
#if defined(KT_PROFILE_A)
    // Red starts on head 1, so that red on head 2 is a change.
    AsRecord(in)->Private.Labels[0].Values.HeadColor1 = 0x000000FF;
    AsRecord(in)->Private.Labels[0].Values.HeadColor2 = 0x00FF0000;
#endif
    std::vector<BYTE> record(kExchangedSize);
    winsim_ui_on_sheet(ChangeTheLabel, nullptr);
    ASSERT_EQ(DrvDocumentProperties(nullptr, printer_, const_cast<LPWSTR>(kPrinterNameW), AsDevMode(record),
                                    AsDevMode(in), DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER),
              CPSUI_OK);

    const DRVDEVMODE* rec = AsRecord(record);
    const LABELINFO& label = rec->Private.Labels[rec->Private.CurrentLabel];
    ASSERT_NE(label.Width, label.Length) << "a square label shows no turn";
    const ktdecode::Result result = PrintOnePage(record, 0x000000FF);
    ASSERT_TRUE(result.ok) << result.error.Message();
    const ktdecode::Command* format = FirstOf(result, ktdecode::CommandKind::LabelFormat);
    ASSERT_NE(format, nullptr);
    ASSERT_EQ(format->fields.size(), 3u);
    EXPECT_EQ(format->fields[0], label.Length) << "turned by a quarter, the label is measured the other way";
    EXPECT_EQ(format->fields[1], label.Width);
    EXPECT_EQ(format->fields[2], 45);
#if defined(KT_PROFILE_A)
    EXPECT_FALSE(HeadPrints(result, 0)) << "red is head 2's colour now";
    EXPECT_TRUE(HeadPrints(result, 1));
#endif
}

} // namespace
