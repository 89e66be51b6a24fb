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

} // namespace
