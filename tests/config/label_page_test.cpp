// The label page driven as a user drives it: what a field shows after the focus leaves it, switching,
// creating and deleting labels, the defaults button, and what the page may do outside Explorer.
#include "page_fixture.h"

#include "label_page.h"
#include "label_store.h"

namespace {

class LabelPageDialog : public PageTest {
  protected:
    void OpenPage() { Open(IDD_LABEL_PAGE, LabelPageProc); }

    // A list of count labels, the ones after the two fixed ones named "L2", "L3", ...
    void MakeLabels(int count) {
        MakeSheet();
        for (int i = GetLabelCount(&Rec()); i < count; ++i) {
            LABELINFO& label = Rec().Private.Labels[i];
            label = Rec().Private.Labels[0];
            label.Id = 0; // a label of its own, not a second standard label
            label.Name[0] = u'L';
            label.Name[1] = static_cast<WCHAR>(u'0' + i % 10);
            label.Name[2] = 0;
            AssignLabelId(&Rec(), i);
            Rec().Private.LabelCount = i + 1;
        }
    }
};

TEST_F(LabelPageDialog, FieldsShowWhatTheirReadingKeeps) {
    const struct {
        int Field;
        const char16_t* Typed;
        const char16_t* Shown;
    } cases[] = {
        {IDC_GAP, u"3", u"3.0"},
        {IDC_GAP, u"-4", u"0.0"},
        {IDC_POSITION_ADJUST, u"-0.5", u"-0.5"},
        {IDC_CUT_POSITION, u"1000", u"99.9"},
        {IDC_CUT_COUNT, u"123", u"99"},
        {IDC_CUT_ADJUST, u"-1", u"0"},
        {IDC_COPIES, u"0", u"0"},
        {IDC_XADJUST1, u"31", kProfileA ? u"30.0" : u"2.5"},
        {IDC_XADJUST1, u"-31", kProfileA ? u"-30.0" : u"-2.5"},
#if defined(KT_PROFILE_A)
        {IDC_XADJUST2, u"-99", u"-30.0"},
#endif
    };
    OpenPage();
    for (const auto& c : cases) {
        Type(c.Field, c.Typed);
        EXPECT_EQ(Text(c.Field), c.Shown) << c.Field;
    }
    // The X corrections are held to their range also while expansion is off and they are disabled.
    EXPECT_FALSE(Enabled(IDC_XADJUST1));
    EXPECT_EQ(Current().Values.Copies, 0);
    EXPECT_EQ(Rec().Private.Copies, 0);
    EXPECT_EQ(changes_, static_cast<int>(std::size(cases))) << "every field left marks the sheet changed";
}

TEST_F(LabelPageDialog, UserDefinedSizeIsHeldAndCarriedIntoTheRecord) {
    OpenPage();
    SelectEntry(IDC_LABEL_LIST, 1);
    ASSERT_EQ(Current().Id, 256u);
    Type(IDC_WIDTH, u"999");
    Type(IDC_LENGTH, u"0");
    EXPECT_EQ(Text(IDC_WIDTH), u"500");
    EXPECT_EQ(Text(IDC_LENGTH), u"1");
    EXPECT_EQ(Rec().Private.CustomWidth, 5000);
    EXPECT_EQ(Rec().Private.CustomLength, 10);
}

TEST_F(LabelPageDialog, SelectingAnotherLabelKeepsTheEditsOfTheCurrentOne) {
    MakeLabels(4);
    OpenPage();
    SelectEntry(IDC_LABEL_LIST, 2);
    SetDlgItemTextW(page_, IDC_GAP, u"7.5"); // still in the field when the list changes
    Command(IDC_ROTATION_270);
    SelectEntry(IDC_LABEL_LIST, 3);
    EXPECT_EQ(Rec().Private.Labels[2].Values.Gap, 75);
    EXPECT_EQ(Rec().Private.Labels[2].Values.Rotation, 3);
    EXPECT_EQ(Rec().Private.CurrentLabel, 3);
    EXPECT_EQ(Rec().Private.PaperId, Rec().Private.Labels[3].Id);
    SelectEntry(IDC_LABEL_LIST, 2);
    EXPECT_EQ(Text(IDC_GAP), u"7.5");
    EXPECT_TRUE(Checked(IDC_ROTATION_270));
    EXPECT_FALSE(Checked(IDC_ROTATION_0));
}

TEST_F(LabelPageDialog, DefaultsTouchOnlyCopiesRotationAndLastCut) {
    MakeLabels(3);
    OpenPage();
    SelectEntry(IDC_LABEL_LIST, 2);
    const struct {
        int Field;
        const char16_t* Typed;
    } typed[] = {{IDC_WIDTH, u"40"},          {IDC_LENGTH, u"30"},
                 {IDC_GAP, u"2.5"},           {IDC_POSITION_ADJUST, u"1.5"},
                 {IDC_CUT_POSITION, u"-3.0"}, {IDC_CUT_COUNT, u"4"},
                 {IDC_CUT_ADJUST, u"2"},      {IDC_XADJUST1, u"1.0"},
                 {IDC_COPIES, u"12"}};
    for (const auto& t : typed) {
        Type(t.Field, t.Typed);
    }
    Command(IDC_ROTATION_90);
    Command(IDC_CUT_LAST);
    const LABELINFO before = Current();
    ASSERT_EQ(before.Values.CutLast, 1);
    Command(IDC_LABEL_DEFAULTS);
    LABELINFO expected = before;
    expected.Values.Copies = 1;
    expected.Values.Rotation = 0;
    expected.Values.CutLast = 0;
    EXPECT_EQ(std::memcmp(&Current(), &expected, sizeof(LABELINFO)), 0);
    EXPECT_EQ(Text(IDC_COPIES), u"1");
    EXPECT_EQ(Text(IDC_GAP), u"2.5");
    EXPECT_TRUE(Checked(IDC_ROTATION_0));
    EXPECT_FALSE(Checked(IDC_CUT_LAST));
}

TEST_F(LabelPageDialog, OutsideExplorerTheListAndSizesAreFixedAndNotStored) {
    MakeLabels(3);
    OpenPage();
    for (int id :
         {IDC_LABEL_NEW, IDC_LABEL_DELETE, IDC_LABEL_IMPORT, IDC_LABEL_EXPORT, IDC_WIDTH, IDC_LENGTH}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    SelectEntry(IDC_LABEL_LIST, 2);
    EXPECT_FALSE(Enabled(IDC_WIDTH));
    EXPECT_TRUE(Enabled(IDC_GAP));
    Type(IDC_GAP, u"9");
    EXPECT_EQ(Notify(PSN_APPLY), PSNRET_NOERROR);
    EXPECT_EQ(winsim_get_printer_data(kPrinterName, "Private Paper", nullptr, nullptr, 0), -1);
    EXPECT_EQ(winsim_call_count("SetPrinterW"), 0u);
}

TEST_F(LabelPageDialog, LeavingThePageKeepsTheFieldsAndTheListShowsTheLabels) {
    MakeLabels(5);
    Rec().Private.PaperId = Rec().Private.Labels[4].Id;
    OpenPage();
    ASSERT_EQ(ListCount(IDC_LABEL_LIST), 5);
    EXPECT_EQ(Selection(IDC_LABEL_LIST), 4);
    EXPECT_EQ(SelectedText(IDC_LABEL_LIST), u"L4");
    EXPECT_EQ(Rec().Private.CurrentLabel, 4);
    SetDlgItemTextW(page_, IDC_CUT_COUNT, u"5");
    EXPECT_EQ(Notify(PSN_KILLACTIVE), FALSE);
    EXPECT_EQ(Rec().Private.Labels[4].Values.CutCount, 5);
}

// ---- The list's commands, answered as a user answers the dialogs they open ----

class LabelList : public LabelPageDialog {
  protected:
    void SetUp() override {
        LabelPageDialog::SetUp();
        // The list belongs to the printer only inside Explorer.
        winsim_ui_set_process_image("C:\\Windows\\Explorer.exe");
    }
    static std::string Message(uint32_t index, std::string* caption = nullptr) {
        char text[256] = {};
        char title[64] = {};
        winsim_ui_message(index, text, sizeof(text), title, sizeof(title), nullptr);
        if (caption) {
            *caption = title;
        }
        return text;
    }
    bool Click(int id) { return winsim_ui_click(page_, id) != 0; }
};

void NameTheLabel(void* dialog, void* name) {
    winsim_ui_type(dialog, IDC_NEW_NAME, static_cast<const char*>(name));
    winsim_ui_click(dialog, IDC_NEW_OK);
}

TEST_F(LabelList, NewLabelThroughItsDialogUntilTheListIsFull) {
    MakeLabels(3);
    OpenPage();
    for (int id : {IDC_LABEL_NEW, IDC_LABEL_DELETE, IDC_LABEL_IMPORT, IDC_LABEL_EXPORT}) {
        EXPECT_TRUE(Enabled(id)) << id;
    }
    char name[] = "Mine";
    winsim_ui_on_modal(NameTheLabel, name);
    ASSERT_TRUE(Click(IDC_LABEL_NEW));
    ASSERT_EQ(ListCount(IDC_LABEL_LIST), 4);
    EXPECT_EQ(Selection(IDC_LABEL_LIST), 3);
    EXPECT_EQ(SelectedText(IDC_LABEL_LIST), u"Mine");
    EXPECT_EQ(Rec().Private.CurrentLabel, 3);
    // Esc on the dialog: nothing is made.
    ASSERT_TRUE(Click(IDC_LABEL_NEW));
    EXPECT_EQ(ListCount(IDC_LABEL_LIST), 4);
    EXPECT_EQ(winsim_ui_message_count(), 0u);
    CloseFrame();

    sheet_.reset();
    MakeLabels(kMaxLabels);
    OpenPage();
    winsim_ui_on_modal(NameTheLabel, name); // must stay unused
    ASSERT_TRUE(Click(IDC_LABEL_NEW));
    ASSERT_EQ(winsim_ui_message_count(), 1u);
    std::string caption;
    EXPECT_EQ(Message(0, &caption), "これ以上、用紙情報は作成できません !!");
    EXPECT_EQ(caption, "用紙情報新規");
    EXPECT_EQ(ListCount(IDC_LABEL_LIST), kMaxLabels);
}

TEST_F(LabelList, DeletingAsksAndSelectsTheEntryThatTakesThePlace) {
    const struct {
        int Selected;
        int Answer;
        int Count;
        int Selection;
        const char16_t* Shown;
    } cases[] = {
        {4, IDYES, 4, 3, u"L3"}, // the last entry: the new last one
        {2, IDYES, 4, 2, u"L3"}, // entry 3 of 5: the one that moved into its place
        {2, IDNO, 5, 2, u"L2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Selected);
        CloseFrame();
        sheet_.reset();
        MakeLabels(5);
        OpenPage();
        ASSERT_TRUE(winsim_ui_choose(page_, IDC_LABEL_LIST, c.Selected));
        const uint32_t messages = winsim_ui_message_count();
        winsim_ui_queue_answer(c.Answer);
        ASSERT_TRUE(Click(IDC_LABEL_DELETE));
        ASSERT_EQ(winsim_ui_message_count(), messages + 1);
        const std::string named = c.Selected == 4 ? "[ L4 ]" : "[ L2 ]";
        EXPECT_EQ(Message(messages), named + "の用紙情報を削除しますか？");
        EXPECT_EQ(ListCount(IDC_LABEL_LIST), c.Count);
        EXPECT_EQ(Rec().Private.LabelCount, c.Count);
        EXPECT_EQ(Selection(IDC_LABEL_LIST), c.Selection);
        EXPECT_EQ(SelectedText(IDC_LABEL_LIST), c.Shown);
        EXPECT_EQ(Rec().Private.CurrentLabel, c.Selection);
    }
}

TEST_F(LabelList, FixedLabelsAreNotDeleted) {
    MakeLabels(3);
    OpenPage();
    const struct {
        int Index;
        const char* Message;
    } cases[] = {
        {0, "標準用紙情報は削除できません !!"},
#if defined(KT_PROFILE_B)
        {1, "ユーザー定義用紙情報は削除できません !!"},
#endif
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(winsim_ui_choose(page_, IDC_LABEL_LIST, c.Index));
        const uint32_t messages = winsim_ui_message_count();
        ASSERT_TRUE(Click(IDC_LABEL_DELETE));
        ASSERT_EQ(winsim_ui_message_count(), messages + 1);
        std::string caption;
        EXPECT_EQ(Message(messages, &caption), c.Message);
        EXPECT_EQ(caption, "用紙情報削除");
        EXPECT_EQ(ListCount(IDC_LABEL_LIST), 3);
    }
}

TEST_F(LabelList, InsideExplorerApplyStoresTheListAndRepublishesThePrinter) {
    MakeLabels(3);
    OpenPage();
    Type(IDC_GAP, u"6");
    EXPECT_EQ(Notify(PSN_APPLY), PSNRET_NOERROR);
    EXPECT_GT(winsim_get_printer_data(kPrinterName, "Private Paper", nullptr, nullptr, 0), 0);
    EXPECT_EQ(winsim_call_count("SetPrinterW"), 1u);
}

TEST_F(LabelList, ExportedLabelsImportIntoAnotherSheet) {
    MakeLabels(4);
    Rec().Private.Labels[3].Values.Gap = 42;
    OpenPage();
    winsim_ui_queue_file("C:\\mine.csv");
    ASSERT_TRUE(Click(IDC_LABEL_EXPORT));
    int save = 0;
    uint32_t flags = 0;
    char filter[64] = {};
    ASSERT_EQ(winsim_ui_file_request(0, &save, &flags, filter, sizeof(filter)), 1);
    EXPECT_EQ(save, 1);
    EXPECT_TRUE(flags & OFN_OVERWRITEPROMPT);
    EXPECT_STREQ(filter, "Csv Files (*.csv)|*.csv");
    CloseFrame();

    sheet_.reset();
    MakeSheet();
    OpenPage();
    ASSERT_EQ(ListCount(IDC_LABEL_LIST), 2);
    ASSERT_TRUE(Click(IDC_LABEL_IMPORT)); // cancelled: nothing changes
    EXPECT_EQ(ListCount(IDC_LABEL_LIST), 2);
    winsim_ui_queue_file("C:\\mine.csv");
    ASSERT_TRUE(Click(IDC_LABEL_IMPORT));
    ASSERT_EQ(ListCount(IDC_LABEL_LIST), 4);
    EXPECT_EQ(ListText(IDC_LABEL_LIST, 3), u"L3");
    EXPECT_EQ(Rec().Private.Labels[3].Values.Gap, 42);
}

TEST_F(LabelList, MalformedFileLeavesThePageShowingTheWorkingSettings) {
    MakeLabels(3);
    OpenPage();
    HANDLE file = CreateFileW(TEXT("C:\\bad.csv"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const char garbage[] = "\xff\xfe not a label file\r\n1,2\r\n";
    DWORD written = 0;
    WriteFile(file, garbage, sizeof(garbage) - 1, &written, nullptr);
    CloseHandle(file);
    Type(IDC_GAP, u"7");
    winsim_ui_queue_file("C:\\bad.csv");
    ASSERT_TRUE(Click(IDC_LABEL_IMPORT));
    // Whatever the import left in the working settings is what the page shows.
    EXPECT_EQ(ListCount(IDC_LABEL_LIST), Rec().Private.LabelCount);
    EXPECT_EQ(Selection(IDC_LABEL_LIST), Rec().Private.CurrentLabel);
    const LONG gap = Current().Values.Gap;
    EXPECT_EQ(Text(IDC_GAP), std::u16string(1, static_cast<char16_t>(u'0' + gap / 10)) + u"." +
                                 std::u16string(1, static_cast<char16_t>(u'0' + gap % 10)));
}

} // namespace
