// The label list inside a device record: lookups that every other part uses, and id assignment.
#include "sim_printer.h"

#include "label_store.h"
#include "model_lookup.h"
#include "wstr.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

namespace {

std::unique_ptr<DRVDEVMODE> NewRecord(LONG model = 0) {
    auto rec = std::make_unique<DRVDEVMODE>();
    InitDevModeForModel(rec.get(), model);
    return rec;
}

TEST(LabelStore, DefaultListComesFromTheModel) {
    for (LONG model = 0; model < kVariantCount; ++model) {
        auto rec = NewRecord(model);
        const MODELINFO& info = kVariants[model].Model;
        std::memset(rec->Private.Labels, 0x77, sizeof(rec->Private.Labels[0]) * 2);
        BuildDefaultLabels(rec.get());
        const LABELINFO* l = rec->Private.Labels;
        EXPECT_EQ(GetLabelCount(rec.get()), 2);
        EXPECT_TRUE(WStrEqual(l[0].Name, info.Name)) << model;
        EXPECT_TRUE(WStrEqual(l[1].Name, kUserDefinedLabelName)) << model;
        EXPECT_EQ(l[0].Id, kStandardLabelId);
        EXPECT_EQ(l[1].Id, kUserDefinedLabelId);
        for (const LABELINFO& label : {l[0], l[1]}) {
            EXPECT_EQ(label.Width, info.Width / 10) << model;
            EXPECT_EQ(label.Length, info.Length / 10) << model;
            EXPECT_EQ(label.Values.Gap, info.Values.Gap);
            EXPECT_EQ(label.Values.PrintSpeed, info.Values.PrintSpeed);
            EXPECT_EQ(label.Values.XAdjust1, info.Values.XAdjust1);
        }
    }
}

TEST(LabelStore, LookupsStayInsideTheList) {
    auto rec = NewRecord();
    PRIVDEVMODE& p = rec->Private;
    p.Labels[2] = p.Labels[0];
    std::fill(std::begin(p.Labels[2].Name), std::end(p.Labels[2].Name), static_cast<WCHAR>('N')); // no NUL
    p.Labels[2].Id = 40;
    p.Labels[2].Width = 50;
    p.Labels[2].Length = 30;
    p.Labels[3] = p.Labels[2];
    p.Labels[3].Width = 99;
    p.Labels[5].Id = 41; // beyond LabelCount
    p.LabelCount = 4;
    p.CustomWidth = 777;
    p.CustomLength = 888;

    WCHAR name[100];
    std::fill(std::begin(name), std::end(name), static_cast<WCHAR>('x'));
    GetLabelName(rec.get(), 2, name, std::size(name));
    EXPECT_EQ(WStrLen(name), static_cast<size_t>(kLabelNameChars - 1));
    EXPECT_EQ(name[std::size(name) - 1], 0);
    WCHAR small[5];
    GetLabelName(rec.get(), 1, small, std::size(small));
    EXPECT_TRUE(WStrEqual(small, TEXT("ユーザー")));
    GetLabelName(rec.get(), kMaxLabels, name, std::size(name));
    EXPECT_TRUE(WStrEqual(name, GetModelInfo(rec.get()).Name));

    EXPECT_EQ(GetLabelSize(rec.get(), 2).Width, 500);
    EXPECT_EQ(GetLabelSize(rec.get(), 2).Length, 300);
    for (int index : {1, kMaxLabels, -1}) {
        EXPECT_EQ(GetLabelSize(rec.get(), index).Width, 777) << index;
        EXPECT_EQ(GetLabelSize(rec.get(), index).Length, 888) << index;
    }
    EXPECT_EQ(GetLabelId(rec.get(), 2), 40u);
    EXPECT_EQ(GetLabelId(rec.get(), kMaxLabels), kUserDefinedLabelId);
    EXPECT_EQ(GetLabelId(rec.get(), -1), kUserDefinedLabelId);

    EXPECT_EQ(FindLabel(rec.get(), 40), 2) << "the first of two equal ids";
    EXPECT_EQ(FindLabel(rec.get(), 41), -1) << "entries past LabelCount are not in the list";
    p.LabelCount = 100000;
    EXPECT_EQ(FindLabel(rec.get(), 12345), -1);
    p.LabelCount = 4;

    p.PaperId = kStandardLabelId;
    EXPECT_EQ(SelectLabel(rec.get(), 41), -1);
    EXPECT_EQ(p.PaperId, kStandardLabelId);
    EXPECT_EQ(SelectLabel(rec.get(), 40), 2);
    EXPECT_EQ(p.PaperId, 40u);
}

TEST(LabelStore, AssignLabelIdTakesTheLargestFreeValue) {
    auto rec = NewRecord();
    LABELINFO* l = rec->Private.Labels;
    l[0].Id = 0;
    l[1].Id = 0;
    AssignLabelId(rec.get(), 0);
    AssignLabelId(rec.get(), 1);
    EXPECT_EQ(l[0].Id, kStandardLabelId);
    EXPECT_EQ(l[1].Id, kUserDefinedLabelId);

    l[5].Id = 32767;
    l[kMaxLabels - 1].Id = 32765; // counted even beyond LabelCount
    AssignLabelId(rec.get(), 3);
    EXPECT_EQ(l[3].Id, 32766u);
    AssignLabelId(rec.get(), 4);
    EXPECT_EQ(l[4].Id, 32764u);
    AssignLabelId(rec.get(), 4);
    EXPECT_EQ(l[4].Id, 32764u) << "an entry that has an id keeps it";

    l[2].Id = 0;
    l[0].Id = 32763; // entry 0 does not count
    AssignLabelId(rec.get(), 2);
    EXPECT_EQ(l[2].Id, 32763u);
    AssignLabelId(rec.get(), kMaxLabels); // outside the list: nothing happens
    AssignLabelId(rec.get(), -1);
}

} // namespace
