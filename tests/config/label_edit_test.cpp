// The label page's rules without its dialog: how its fields show and read numbers, what reading the page
// does to the current label, and the label list's create, select and delete. The page's dialog procedure
// only moves these texts to and from its controls.
#include <gtest/gtest.h>

#include <limits>
#include <cstring>
#include <memory>
#include <string>

#include "device_options.h"
#include "label_edit.h"
#include "label_store.h"
#include "model_lookup.h"

namespace {

inline constexpr bool kProfileA = kHeadCount == 2;
constexpr LONG kLongMax = std::numeric_limits<LONG>::max();
constexpr LONG kLongMin = std::numeric_limits<LONG>::min();

std::u16string Wide(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}
std::string Narrow(const WCHAR* text) {
    std::string s;
    for (; *text; ++text) {
        s += static_cast<char>(*text);
    }
    return s;
}

TEST(LabelFields, ReadAndShow) {
    struct Case {
        const char* text;
        LONG tenths;
        LONG integer;
    };
    const std::string manyDigits(600, '9');
    // clang-format off
    const Case cases[] = {
        {"12.5", 125, 12}, {"12", 120, 12}, {"-0.5", -5, 0}, {"3", 30, 3}, {"", 0, 0}, {"mm", 0, 0},
        {" 1 2 ", 120, 1}, {"1-2", -120, 1}, {"1.2.3", 123, 1}, {"+7", 70, 7}, {"  -42x", -420, -42},
        {"\t\n 9", 90, 9}, {"x1", 10, 0}, {"2147483647", kLongMax, kLongMax}, {"99999999999", kLongMax, kLongMax},
        {"-99999999999", kLongMin, kLongMin}, {"21474836.4", 214748364, 21474836},
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::u16string text = Wide(c.text);
        EXPECT_EQ(ReadTenths(text.c_str()), c.tenths) << '"' << c.text << '"';
        EXPECT_EQ(ReadInteger(text.c_str()), c.integer) << '"' << c.text << '"';
    }
    const std::u16string huge = Wide(manyDigits);
    EXPECT_EQ(ReadTenths(huge.c_str()), kLongMax);
    EXPECT_EQ(ReadInteger(huge.c_str()), kLongMax);
    // Only the first 520 characters count: a digit after them is not read.
    std::u16string late = std::u16string(520, u' ') + u"5";
    EXPECT_EQ(ReadTenths(late.c_str()), 0);
    EXPECT_EQ(ReadInteger(late.c_str()), 0);
    EXPECT_EQ(ReadTenths(nullptr), 0);
    EXPECT_EQ(ReadInteger(nullptr), 0);

    const struct {
        LONG value;
        const char* tenths;
        const char* integer;
    } shown[] = {{30, "3.0", "30"},
                 {-5, "-0.5", "-5"},
                 {-15, "-1.5", "-15"},
                 {999, "99.9", "999"},
                 {0, "0.0", "0"},
                 {7, "0.7", "7"},
                 {kLongMax, "214748364.7", "2147483647"},
                 {kLongMin, "-214748364.8", "-2147483648"}};
    for (const auto& s : shown) {
        WCHAR text[kFieldTextChars];
        FormatTenths(s.value, text);
        EXPECT_EQ(Narrow(text), s.tenths);
        FormatInteger(s.value, text);
        EXPECT_EQ(Narrow(text), s.integer);
    }
}

class LabelPage : public ::testing::Test {
  protected:
    void SetUp() override { Use(kProfileA ? 0 : 5); }
    void Use(LONG model) {
        InitDevModeForModel(rec_.get(), model);
        for (int i = 0; i < 3; ++i) {
            ASSERT_GE(CreateLabel(rec_.get(), TEXT("extra")), 0);
        }
    }
    // The page filled from the current label, one field retyped, the page read, then filled again: what
    // the field shows after the user leaves it.
    std::string Retype(LabelField field, const char* typed) {
        LABELPAGEVIEW view = ViewCurrentLabel(rec_.get(), false);
        std::u16string text = Wide(typed);
        const WCHAR* texts[kLabelFieldCount];
        for (int f = 0; f < kLabelFieldCount; ++f) {
            texts[f] = view.Text[f];
        }
        texts[field] = text.c_str();
        ReadCurrentLabel(rec_.get(), texts);
        return Narrow(ViewCurrentLabel(rec_.get(), false).Text[field]);
    }
    LABELINFO& Current() { return rec_->Private.Labels[rec_->Private.CurrentLabel]; }

    std::unique_ptr<DRVDEVMODE> rec_ = std::make_unique<DRVDEVMODE>();
};

TEST_F(LabelPage, ReadingHoldsEveryFieldToItsRange) {
    const LONG maxX = kProfileA ? 300 : 25;
    const std::string maxXText = kProfileA ? "30.0" : "2.5";
    struct Case {
        int label; // list entry made current
        LabelField field;
        const char* typed;
        std::string shown;
    };
    const Case cases[] = {
        {2, kFieldGap, "3", "3.0"},
        {2, kFieldGap, "-3", "0.0"},
        {2, kFieldGap, "100", "99.9"},
        {2, kFieldPositionAdjust, "-0.5", "-0.5"},
        {2, kFieldPositionAdjust, "-250", "-99.9"},
        {2, kFieldCutPosition, "1000", "99.9"},
        {2, kFieldCutCount, "100", "99"},
        {2, kFieldCutAdjust, "-1", "0"},
        {2, kFieldCopies, "0", "0"},
        {2, kFieldCopies, "12345", "9999"},
        {1, kFieldWidth, "999", "500"},
        {1, kFieldLength, "0", "1"},
        {2, kFieldWidth, "-4", "1"},
        {0, kFieldXAdjust1, "-99", "-" + maxXText}, // the fields are disabled while DriverExpand is 0
        {0, kFieldXAdjust1, "99", maxXText},
#if defined(KT_PROFILE_A)
        {0, kFieldXAdjust2, "31", maxXText},
#endif
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SelectLabelIndex(rec_.get(), c.label));
        EXPECT_EQ(Retype(c.field, c.typed), c.shown)
            << "label " << c.label << ", field " << c.field << ": " << c.typed;
    }
    EXPECT_EQ(Current().Values.XAdjust1, maxX);

    // The user-defined label keeps its size in the record, in 0.1 mm: 999 mm is held to 500 mm.
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), 1));
    Retype(kFieldWidth, "999");
    EXPECT_EQ(rec_->Private.CustomWidth, 5000);
    EXPECT_EQ(rec_->Private.PaperId, kUserDefinedLabelId);
    // Copies 0 reaches the record's copies too.
    Retype(kFieldCopies, "0");
    EXPECT_EQ(rec_->Private.Copies, 0);
    // A rotation the page does not know leaves the sizes unclamped, as the label held them.
    Current().Values.Rotation = 7;
    Retype(kFieldLength, "1234");
    EXPECT_EQ(Current().Length, 1234);
    EXPECT_EQ(ViewCurrentLabel(rec_.get(), false).Rotation, -1);
}

TEST_F(LabelPage, SizesAreEditableOnlyForOwnLabelsInsideExplorer) {
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), 0));
    EXPECT_FALSE(ViewCurrentLabel(rec_.get(), false).SizeEnabled) << "the standard label";
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), 2));
    EXPECT_TRUE(ViewCurrentLabel(rec_.get(), false).SizeEnabled);
    EXPECT_FALSE(ViewCurrentLabel(rec_.get(), true).SizeEnabled) << "outside Explorer";
    Current().Values.DriverExpand = 1;
    const LABELPAGEVIEW view = ViewCurrentLabel(rec_.get(), false);
    EXPECT_EQ(view.DriverExpand, view.DriverExpandEnabled);
    EXPECT_EQ(view.XAdjustEnabled, view.DriverExpandEnabled);
    EXPECT_EQ(view.DriverExpandEnabled, kProfileA) << "of profile B only variant 9 expands";
#if defined(KT_PROFILE_B)
    Use(9);
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), 2));
    Current().Values.DriverExpand = 1;
    EXPECT_TRUE(ViewCurrentLabel(rec_.get(), false).XAdjustEnabled);
    // Variant 9's labels are at most 250 mm long, in both directions.
    EXPECT_EQ(Retype(kFieldWidth, "300"), "250");
#endif
}

TEST_F(LabelPage, DefaultsTouchOnlyCopiesRotationAndLastCut) {
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), 2));
    LABELINFO& label = Current();
    label.Width = 77;
    label.Values = {};
    label.Values.Gap = 44;
    label.Values.XAdjust1 = -12;
    label.Values.Copies = 5;
    label.Values.Rotation = 3;
    label.Values.CutLast = 1;
    LABELINFO expected = label;
    expected.Values.Copies = 1;
    expected.Values.Rotation = 0;
    expected.Values.CutLast = 0;
    RestoreLabelDefaults(rec_.get());
    EXPECT_EQ(std::memcmp(&label, &expected, sizeof(LABELINFO)), 0);
}

TEST_F(LabelPage, CreateAndDelete) {
    // Five labels: the standard label, the user-defined one and three more with ids of their own.
    ASSERT_EQ(rec_->Private.LabelCount, 5);
    EXPECT_NE(rec_->Private.Labels[2].Id, rec_->Private.Labels[3].Id);
    EXPECT_EQ(rec_->Private.Labels[4].Values.Gap, GetModelInfo(rec_.get()).Values.Gap);
    const int named = CreateLabel(rec_.get(), TEXT("123456789012345678901234567890XYZ"));
    EXPECT_EQ(Narrow(rec_->Private.Labels[named].Name), "123456789012345678901234567890");
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), named));
    ASSERT_EQ(DeleteCurrentLabel(rec_.get()), 4) << "the last entry: the new last one";

    // Entry 3 of 5: the entry that moves into its place becomes current.
    const DWORD fourth = rec_->Private.Labels[3].Id;
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), 2));
    EXPECT_EQ(DeleteCurrentLabel(rec_.get()), 2);
    EXPECT_EQ(rec_->Private.LabelCount, 4);
    EXPECT_EQ(rec_->Private.PaperId, fourth);
    const LABELINFO zero = {};
    EXPECT_EQ(std::memcmp(&rec_->Private.Labels[4], &zero, sizeof(LABELINFO)), 0) << "the freed entry";

    // The standard label is never deleted; profile B keeps the user-defined one too, by id.
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), 0));
    EXPECT_EQ(CheckDeleteCurrent(rec_.get()), DeleteRefusal::StandardLabel);
    EXPECT_EQ(DeleteCurrentLabel(rec_.get()), -1);
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), 1));
    EXPECT_EQ(CheckDeleteCurrent(rec_.get()),
              kProfileA ? DeleteRefusal::None : DeleteRefusal::UserDefinedLabel);
#if defined(KT_PROFILE_B)
    std::swap(rec_->Private.Labels[0], rec_->Private.Labels[3]);
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), 3));
    EXPECT_EQ(CheckDeleteCurrent(rec_.get()), DeleteRefusal::StandardLabel) << "wherever it is";
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), 0));
    EXPECT_EQ(DeleteCurrentLabel(rec_.get()), 0);
#endif

    // A full list takes no more.
    while (rec_->Private.LabelCount < kMaxLabels) {
        ASSERT_GE(CreateLabel(rec_.get(), TEXT("n")), 0);
    }
    EXPECT_EQ(CreateLabel(rec_.get(), TEXT("n")), -1);
    EXPECT_EQ(rec_->Private.LabelCount, kMaxLabels);
    // Down to one entry, that entry is current.
    rec_->Private.LabelCount = 2;
    ASSERT_TRUE(SelectLabelIndex(rec_.get(), 1));
    if (kProfileA) {
        EXPECT_EQ(DeleteCurrentLabel(rec_.get()), 0);
        EXPECT_EQ(rec_->Private.LabelCount, 1);
    }
    EXPECT_FALSE(SelectLabelIndex(rec_.get(), 5));
}

TEST(DeviceOptions, DefaultsAndListsOfEveryVariant) {
    auto rec = std::make_unique<DRVDEVMODE>();
    for (LONG model = 0; model < kVariantCount; ++model) {
        InitDevModeForModel(rec.get(), model);
        const OPTIONLISTS& lists = GetOptionLists(rec.get());
        LABELVALUES v = {};
        RestoreDeviceDefaults(v);
        // Every default, and the standard label's own choice, is an entry of the variant's lists.
        for (const LABELVALUES& values : {v, GetModelInfo(rec.get()).Values}) {
            EXPECT_LT(values.PrintSpeed, OptionCount(lists.Speeds)) << "variant " << model;
            EXPECT_LT(values.Density1, OptionCount(lists.Densities)) << "variant " << model;
            EXPECT_LT(values.HeadVoltage1, OptionCount(lists.Voltages)) << "variant " << model;
        }
#if defined(KT_PROFILE_A)
        EXPECT_EQ(Narrow(lists.Speeds[v.PrintSpeed]), "100");
        EXPECT_EQ(Narrow(lists.Densities[v.Density1]), "16");
        EXPECT_EQ(Narrow(lists.Densities[v.Density2]), "16");
        EXPECT_EQ(Narrow(lists.Voltages[v.HeadVoltage1]), "22.5");
        EXPECT_EQ(Narrow(lists.Voltages[v.HeadVoltage2]), "22.5");
        EXPECT_EQ(v.HeadColor1, 0x000000u);
        EXPECT_EQ(v.HeadColor2, 0x0000FFu);
        EXPECT_EQ(OptionCount(lists.Densities), 30);
        EXPECT_EQ(Narrow(lists.Densities[0]), " 1");
#else
        EXPECT_EQ(v.Density1, 5);
        EXPECT_EQ(OptionCount(lists.Densities), 10);
        EXPECT_EQ(OptionCount(lists.Voltages), 10);
#endif
    }
#if defined(KT_PROFILE_B)
    InitDevModeForModel(rec.get(), 7);
    EXPECT_EQ(OptionCount(GetOptionLists(rec.get()).Speeds), 9);
    EXPECT_EQ(Narrow(GetOptionLists(rec.get()).Speeds[8]), "220");
    InitDevModeForModel(rec.get(), 9);
    EXPECT_EQ(OptionCount(GetOptionLists(rec.get()).Speeds), 7);
#endif
    rec->Private.ModelIndex = 99;
    EXPECT_EQ(&GetOptionLists(rec.get()), &kOptionLists[0]);
}

} // namespace
