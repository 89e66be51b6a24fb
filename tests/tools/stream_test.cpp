// Whole streams, written by hand from the command format, decoded into the labels they print.
// KT-936U has 8 dots a millimetre and centres labels on 104.0 mm; KT-508W has 12 dots a millimetre,
// two heads and centres on 160.0 mm. So a 1 mm label on KT-936U starts at head position 51.5 mm
// (X 0515, dot 412), on KT-508W at 79.5 mm (X 0795, dot 954).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "streams.h"

namespace {

using namespace kt_decode_test;
using ktdecode::CommandKind;
using Lines = std::vector<std::string>;

// A blank label of `height` rows, `width` dots wide, with the given rows drawn.
Lines Blank(size_t width, size_t height, std::initializer_list<std::pair<size_t, const char*>> drawn = {}) {
    Lines rows(height, std::string(width, '.'));
    for (const auto& [y, row] : drawn) {
        rows.at(y) = row;
    }
    return rows;
}

TEST(Stream, EveryRowCodingLandsTheSameDots) {
    // A 2 x 1 mm label: its left edge is at (1040 - 20) / 2 = 51.0 mm.
    // clang-format off
    const Bytes stream = Stream("\x02" "F00" "002" "001" "030" "80" "\x03",
                                "\x02" "W" "-015" "+020" "00" "00" "\x03",
                                "\x02" "M" "01" "0510" "0000" "0004" "0016" "0" "\x03",
                                "\x02" "I" "01" "\x0F\xF0" "\x03",
                                "\x02" "i" "01" "2" "\x0B\x00" "\x67\x60" "\x03"sv,
                                "\x02" "i" "01" "3" "\x0B\x00" "\x67\x60" "\x03"sv,
                                "\x02" "i" "01" "1" "\x03\x00" "\x02\x0F\xF0" "\x03"sv,
                                "\x02" "S" "0001" "\x03");
    // clang-format on
    const ktdecode::Result r = DecodeAs("KT-936U", stream);
    ASSERT_TRUE(r.ok) << r.error.Message();
    EXPECT_EQ(Rows(r, 0), Blank(16, 8,
                                {{0, "....########...."},
                                 {1, "....########...."},
                                 {2, "####........####"},
                                 {3, "....########...."}}));

    const struct {
        size_t offset;
        CommandKind kind;
        const char* text;
    } listing[] = {
        {0, CommandKind::LabelFormat, "label format: 2 x 1 mm (across x along), gap 3.0 mm"},
        {16, CommandKind::PositionCut,
         "position and cut: position -1.5 mm, cut position +2.0 mm, cut count 0, cut adjust 0"},
        {31, CommandKind::BlockHeader, "block 01: X 51.0 mm, Y 0.0 mm, 4 rows of 16 dots (2 bytes a row)"},
        {53, CommandKind::RawRow, "row 1 of block 01: raw, 2 bytes"},
        {60, CommandKind::CompressedRow, "row 2 of block 01: mode 2, 11 bits -> 2 bytes"},
        {70, CommandKind::CompressedRow, "row 3 of block 01: mode 3, 11 bits -> 2 bytes"},
        {80, CommandKind::CompressedRow, "row 4 of block 01: mode 1, 3 item bytes"},
        {91, CommandKind::PrintCount, "print count: 1"},
    };
    ASSERT_EQ(r.commands.size(), std::size(listing));
    for (size_t i = 0; i < std::size(listing); ++i) {
        EXPECT_EQ(r.commands[i].offset, listing[i].offset) << i;
        EXPECT_EQ(r.commands[i].kind, listing[i].kind) << i;
        EXPECT_EQ(r.commands[i].text, listing[i].text) << i;
    }
    EXPECT_EQ(r.commands[1].fields, (std::vector<int64_t>{-15, 20, 0, 0}));
    EXPECT_EQ(r.commands[5].dataOffset, 77u);
    EXPECT_EQ(r.commands[5].dataSize, 2u);
    ASSERT_EQ(r.pages.size(), 1u);
    EXPECT_EQ(r.pages[0].bytes, stream.size());
    EXPECT_EQ(r.pages[0].copies, 1);
}

TEST(Stream, LongRunsUpToTheLongestCode) {
    // 160 mm fills KT-508W's 1920-dot head; 240 zero bytes are one white run of 1920 (21 code bits).
    // clang-format off
    const Bytes wide = Stream("\x02\x18\x03",
                              "\x02" "F00" "160" "001" "030" "80" "\x03",
                              "\x02" "h1" "\x03",
                              "\x02" "M" "01" "0000" "0000" "0002" "1920" "0" "\x03",
                              "\x02" "i" "01" "2" "\x15\x00" "\x00\x3B\xF8" "\x03"sv,
                              // 1000 black, 920 white: 9 zeros + 999, 9 zeros + 919.
                              "\x02" "i" "01" "3" "\x26\x00" "\x00\x7C\xE0\x0E\x5C" "\x03"sv,
                              "\x02" "S" "0001" "\x03");
    // clang-format on
    ktdecode::Result r = DecodeAs("KT-508W", wide);
    ASSERT_TRUE(r.ok) << r.error.Message();
    Lines rows = Rows(r, 0);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0], std::string(1920, '.'));
    EXPECT_EQ(rows[1], std::string(1000, '#') + std::string(920, '.'));
    EXPECT_EQ(r.pages[0].heads[0].droppedDots, 0);

    // A black run of 4096, the longest code, on KT-508X's 213 mm label (2556 dots from head dot 1):
    // the dots past the label's two edges are dropped and counted.
    // clang-format off
    const Bytes longest = Stream("\x02\x18\x03",
                                 "\x02" "F00" "213" "001" "030" "80" "\x03",
                                 "\x02" "h1" "\x03",
                                 "\x02" "M" "01" "0000" "0000" "0001" "4096" "0" "\x03",
                                 "\x02" "i" "01" "3" "\x17\x00" "\x00\x1F\xFE" "\x03"sv,
                                 "\x02" "S" "0001" "\x03");
    // clang-format on
    r = DecodeAs("KT-508X", longest);
    ASSERT_TRUE(r.ok) << r.error.Message();
    rows = Rows(r, 0);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0], std::string(2556, '#'));
    EXPECT_EQ(rows[1], std::string(2556, '.'));
    EXPECT_EQ(r.pages[0].heads[0].droppedDots, 4096 - 2556);
    EXPECT_EQ(r.pages[0].heads[0].blocksWithDrops, std::vector<int>{1});
}

TEST(Stream, BlocksAreKeptAcrossPages) {
    // A 1 x 11 mm label, 8 x 88 dots; blocks start 40 rows apart.
    // clang-format off
    const Bytes stream = Stream("\x02" "F00" "001" "011" "030" "80" "\x03",
                                "\x02" "M" "01" "0515" "0000" "0001" "0008" "0" "\x03",
                                "\x02" "I" "01" "\x80" "\x03",
                                "\x02" "M" "02" "0515" "0050" "0001" "0008" "0" "\x03",
                                "\x02" "I" "02" "\x18" "\x03",
                                "\x02" "M" "03" "0515" "0100" "0001" "0008" "0" "\x03",
                                "\x02" "I" "03" "\x01" "\x03",
                                "\x02" "S" "0001" "\x03",
                                // Page 2 changes block 3 only.
                                "\x02" "M" "03" "0515" "0100" "0001" "0008" "0" "\x03",
                                "\x02" "I" "03" "\xF0" "\x03",
                                "\x02" "S" "0002" "\x03",
                                "\x02" "\x0D" "\x03",
                                // A new job (driver expansion: no reset) starts with no blocks kept.
                                "\x02" "f00" "001" "011" "030" "80" "\x03",
                                "\x02" "#" "02" "0412" "0040" "0001" "0008" "0" "\x03",
                                "\x02" "$" "02" "\x18" "\x03",
                                "\x02" "S" "0001" "\x03");
    // clang-format on
    const ktdecode::Result r = DecodeAs("KT-936U", stream);
    ASSERT_TRUE(r.ok) << r.error.Message();
    ASSERT_EQ(r.pages.size(), 3u);
    EXPECT_EQ(Rows(r, 2), Blank(8, 88, {{40, "...##..."}}));
    EXPECT_EQ(Rows(r, 0), Blank(8, 88, {{0, "#......."}, {40, "...##..."}, {80, ".......#"}}));
    EXPECT_EQ(Rows(r, 1), Blank(8, 88, {{0, "#......."}, {40, "...##..."}, {80, "####...."}}));
    EXPECT_EQ(r.pages[0].heads[0].blocksSent, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(r.pages[1].heads[0].blocksSent, std::vector<int>{3});
    EXPECT_EQ(r.pages[0].copies, 1);
    EXPECT_EQ(r.pages[1].copies, 3);
    EXPECT_EQ(r.pages[0].firstByte, 0u);
    EXPECT_EQ(r.pages[0].bytes, 107u);
    EXPECT_EQ(r.pages[1].firstByte, 107u);
    EXPECT_EQ(r.pages[1].bytes, 38u);
    EXPECT_TRUE(r.warnings.empty());
}

TEST(Stream, PagesEndWithTheirPrintCommands) {
    // clang-format off
    const Bytes stream = Stream("\x02" "F00" "001" "001" "030" "80" "\x03",
                                "\x02" "h1" "\x03",
                                "\x02" "M" "01" "0795" "0000" "0001" "0012" "0" "\x03",
                                "\x02" "I" "01" "\x80\x00" "\x03"sv,
                                "\x02" "h2" "\x03",
                                "\x02" "S" "0001" "\x03",
                                // An unchanged page: only the head selects, then three print-one commands
                                // and a print count of 0, all one page.
                                "\x02" "h1" "\x03",
                                "\x02" "h2" "\x03",
                                "\x02\x0D\x03", "\x02\x0D\x03", "\x02\x0D\x03",
                                "\x02" "S" "0000" "\x03",
                                // Sent but never printed.
                                "\x02" "h1" "\x03",
                                "\x02" "M" "02" "0795" "0050" "0001" "0012" "0" "\x03",
                                "\x02" "I" "02" "\x80\x00" "\x03"sv,
                                "\x02\x12\x03");
    // clang-format on
    const ktdecode::Result r = DecodeAs("KT-508W", stream);
    ASSERT_TRUE(r.ok) << r.error.Message();
    ASSERT_EQ(r.pages.size(), 2u);
    EXPECT_EQ(r.pages[0].copies, 1);
    EXPECT_EQ(r.pages[1].copies, 3);
    EXPECT_TRUE(r.pages[1].heads[0].blocksSent.empty());
    EXPECT_EQ(Rows(r, 1), Rows(r, 0));
    EXPECT_EQ(Rows(r, 1)[0], "#...........");
    EXPECT_EQ(r.pages[1].firstByte, r.pages[0].firstByte + r.pages[0].bytes);
    EXPECT_EQ(r.pages[1].bytes, 4u + 4u + 3u * 3u + 7u);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].offset, 88u);
    EXPECT_EQ(r.warnings[0].text,
              "image data after the last print command was not printed: head 1 blocks 02");
}

TEST(Stream, EachHeadKeepsItsOwnBlocks) {
    // Block 01 of head 1 and block 01 of head 2 are different blocks. Bits past a block's 12 dots are
    // padding: they neither print nor count as dropped.
    // clang-format off
    const Bytes stream = Stream("\x02\x18\x03",
                                "\x02" "F00" "001" "001" "030" "80" "\x03",
                                "\x02" "h1" "\x03",
                                "\x02" "M" "01" "0795" "0000" "0001" "0012" "0" "\x03",
                                "\x02" "I" "01" "\xFF\xFF" "\x03",
                                "\x02" "h2" "\x03",
                                "\x02" "M" "01" "0795" "0000" "0002" "0012" "0" "\x03",
                                "\x02" "I" "01" "\x0F\x00" "\x03"sv,
                                "\x02" "I" "01" "\x80\x00" "\x03"sv,
                                "\x02" "S" "0001" "\x03");
    // clang-format on
    const ktdecode::Result r = ktdecode::Decode(stream); // KT-508W when no model is named
    ASSERT_TRUE(r.ok) << r.error.Message();
    EXPECT_STREQ(r.variant->name, "KT-508W");
    ASSERT_EQ(r.pages.size(), 1u);
    ASSERT_EQ(r.pages[0].heads.size(), 2u);
    EXPECT_EQ(Rows(r, 0, 0), Blank(12, 12, {{0, "############"}}));
    EXPECT_EQ(Rows(r, 0, 1), Blank(12, 12, {{0, "....####...."}, {1, "#..........."}}));
    EXPECT_EQ(r.pages[0].heads[0].droppedDots, 0);
    EXPECT_EQ(r.commands[6].text,
              "block 01 of head 2: X 79.5 mm, Y 0.0 mm, 2 rows of 12 dots (2 bytes a row)");
}

TEST(Stream, DriverExpansionPositionsAreDots) {
    // The driver shifts each row right by 954 mod 8 = 2 bits and sends X 952; block 2 starts at row 60.
    // clang-format off
    const Bytes stream = Stream("\x02" "f00" "001" "006" "030" "80" "\x03",
                                "\x02" "W" "+000" "+000" "00" "00" "\x03",
                                "\x02" "h1" "\x03",
                                "\x02" "#" "01" "0952" "0000" "0001" "0014" "0" "\x03",
                                "\x02" "$" "01" "\x3F\xFC" "\x03",
                                "\x02" "#" "02" "0952" "0060" "0001" "0014" "0" "\x03",
                                // White 2, black 1, white 10, black 1, white 2.
                                "\x02" "%" "02" "2" "\x0F\x00" "\xE1\x36" "\x03"sv,
                                "\x02" "h2" "\x03",
                                "\x02" "S" "0001" "\x03");
    // clang-format on
    const ktdecode::Result r = DecodeAs("KT-508W", stream);
    ASSERT_TRUE(r.ok) << r.error.Message();
    EXPECT_EQ(Rows(r, 0), Blank(12, 72, {{0, "############"}, {60, "#..........#"}}));
    EXPECT_EQ(r.pages[0].heads[0].droppedDots, 0);
    EXPECT_TRUE(r.commands[0].expansion);
    EXPECT_EQ(r.commands[0].text, "label format, driver expansion: 1 x 6 mm (across x along), gap 3.0 mm");
    EXPECT_EQ(r.commands[5].text,
              "block 02 of head 1: X 952 dots, Y 60 dots, 1 row of 14 dots (2 bytes a row)");
    EXPECT_EQ(r.commands[6].kind, CommandKind::CompressedRow);
    EXPECT_TRUE(r.commands[6].expansion);
}

TEST(Stream, LabelsAreCentredOnTheMaximumPrintWidth) {
    // clang-format off
    const struct {
        const char* model;
        const char* format; // label format fields
        const char* block;  // block header fields of one row of 8 dots, the first one set
        int width;          // of the label, dots
        int x;              // where the dot lands
    } cases[] = {
        // 100 mm at M 160.0 mm: the edge is at 30.0 mm, dot 360.
        {"KT-508W",
         "F00" "100" "001" "030" "80",
         "M" "01" "0300" "0000" "0001" "0008" "0",
         1200, 0},
        {"KT-508W",
         "f00" "100" "001" "030" "80",
         "#" "01" "0360" "0000" "0001" "0008" "0",
         1200, 0},
        {"KT-508W",
         "F00" "100" "001" "030" "80",
         "M" "01" "0301" "0000" "0001" "0008" "0",
         1200, 1},
        // M 213.3 mm: the edge of a 213 mm label is at 0.1 mm, dot 1.
        {"KT-508X",
         "F00" "213" "001" "030" "80",
         "M" "01" "0001" "0000" "0001" "0008" "0",
         2556, 0},
        // 2360 dots per 100 mm: the edge at 2.8 mm is dot 66 (66.08 truncated).
        {"KT-936U-24",
         "F00" "100" "001" "030" "80",
         "M" "01" "0028" "0000" "0001" "0008" "0",
         2360, 0},
        // A label wider than M starts left of the head: 120 mm at M 104.0 mm has its edge at -8.0 mm.
        {"KT-936U",
         "F00" "120" "001" "030" "80",
         "M" "01" "0000" "0000" "0001" "0008" "0",
         960, 64},
    };
    // clang-format on
    for (const auto& c : cases) {
        const bool twoHeads = c.model[3] == '5';
        const char* row = c.block[0] == '#' ? "$01\x80" : "I01\x80";
        const Bytes stream = Stream("\x02", c.format, "\x03", twoHeads ? "\x02h1\x03" : "", "\x02", c.block,
                                    "\x03", "\x02", row, "\x03", "\x02S0001\x03");
        const ktdecode::Result r = DecodeAs(c.model, stream);
        ASSERT_TRUE(r.ok) << c.model << " " << c.block << ": " << r.error.Message();
        const Lines rows = Rows(r, 0);
        ASSERT_FALSE(rows.empty());
        std::string expected(static_cast<size_t>(c.width), '.');
        expected[static_cast<size_t>(c.x)] = '#';
        EXPECT_EQ(rows[0], expected) << c.model << " " << c.block;
        EXPECT_EQ(r.pages[0].heads[0].droppedDots, 0) << c.model << " " << c.block;
    }
}

TEST(Stream, FieldsWiderThanTheirFormatAreReadInFull) {
    // Block 256 (three hex digits) starts at Y 12750 (five digits) on a 1280 mm label (four digits).
    // clang-format off
    Bytes stream = Stream("\x02" "F00" "001" "1280" "030" "80" "\x03",
                          "\x02" "M" "100" "0515" "12750" "0001" "0008" "0" "\x03",
                          "\x02" "I" "100" "\x81" "\x03",
                          "\x02" "S" "0001" "\x03");
    // clang-format on
    ktdecode::Result r = DecodeAs("KT-936U", stream);
    ASSERT_TRUE(r.ok) << r.error.Message();
    EXPECT_EQ(r.commands[1].fields, (std::vector<int64_t>{256, 515, 12750, 1, 8}));
    EXPECT_EQ(r.commands[2].text, "row 1 of block 100: raw, 1 byte");
    Lines rows = Rows(r, 0);
    EXPECT_EQ(rows.size(), 10240u);
    EXPECT_EQ(rows, Blank(8, 10240, {{10200, "#......#"}}));
    EXPECT_EQ(r.pages[0].heads[0].blocksSent, std::vector<int>{256});

    // A label format without a size (rotation outside 0..3) and an X of -170.0 mm: the label is the
    // blocks' extent, from head dot -2040 to the end of block 2 at dot 128, row 61.
    // clang-format off
    stream = Stream("\x02" "F00" "030" "80" "\x03",
                    "\x02" "h1" "\x03",
                    "\x02" "M" "01" "-1700" "0000" "0001" "0008" "0" "\x03",
                    "\x02" "I" "01" "\x80" "\x03",
                    "\x02" "M" "02" "0100" "0050" "0001" "0008" "0" "\x03",
                    "\x02" "I" "02" "\x01" "\x03",
                    "\x02" "S" "0001" "\x03");
    // clang-format on
    r = DecodeAs("KT-508W", stream);
    ASSERT_TRUE(r.ok) << r.error.Message();
    EXPECT_FALSE(r.commands[0].sized);
    EXPECT_EQ(r.commands[0].fields, std::vector<int64_t>{30});
    const ktdecode::Page& page = r.pages[0];
    EXPECT_FALSE(page.sized);
    EXPECT_EQ(page.originX, -2040);
    const ktdecode::Image& image = page.heads[0].image;
    ASSERT_EQ(image.width, 2168);
    ASSERT_EQ(image.height, 61);
    EXPECT_TRUE(image.At(0, 0));
    EXPECT_TRUE(image.At(2167, 60));
    EXPECT_EQ(std::count(image.dots.begin(), image.dots.end(), 1), 2);
    EXPECT_EQ(Rows(r, 0, 1), Lines(61, std::string(2168, '.')));

    // One block of 10,000 rows (R five digits) for a 1250 mm label.
    // clang-format off
    stream = Stream("\x02" "F00" "001" "1250" "030" "80" "\x03",
                    "\x02" "M" "01" "0515" "0000" "10000" "0008" "0" "\x03");
    // clang-format on
    for (int i = 0; i < 10000; ++i) {
        const Bytes row = Stream("\x02I01\x80\x03");
        stream.insert(stream.end(), row.begin(), row.end());
    }
    const Bytes print = Stream("\x02S0001\x03");
    stream.insert(stream.end(), print.begin(), print.end());
    r = DecodeAs("KT-936U", stream);
    ASSERT_TRUE(r.ok) << r.error.Message();
    EXPECT_EQ(Rows(r, 0), Lines(10000, "#......."));

    // A 1276 mm label with a 3.0 mm gap also reads as 127 mm with a gap of 603.0 mm: the printer cannot
    // tell, so the label is the blocks' extent and the stream still prints.
    // clang-format off
    stream = Stream("\x02" "F00" "001" "1276" "030" "80" "\x03",
                    "\x02" "M" "01" "0515" "0000" "0001" "0008" "0" "\x03",
                    "\x02" "I" "01" "\x81" "\x03",
                    "\x02" "S" "0001" "\x03");
    // clang-format on
    r = DecodeAs("KT-936U", stream);
    ASSERT_TRUE(r.ok) << r.error.Message();
    EXPECT_FALSE(r.commands[0].sized);
    EXPECT_TRUE(r.commands[0].fields.empty());
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].offset, 4u);
    EXPECT_NE(r.warnings[0].text.find("reads as 1 127 6030 and as 1 1276 30"), std::string::npos);
    EXPECT_FALSE(r.pages[0].sized);
    EXPECT_EQ(Rows(r, 0), Lines(1, "#......#"));

    // A cut count of 123 and a speed index of 105 are written in full: "12345" also reads as 12 and 345,
    // "1050505" as 10 50 505. The printer takes those commands without their values and prints; profile
    // A's five print settings on profile B read many ways too.
    // clang-format off
    stream = Stream("\x02" "F00" "001" "001" "030" "80" "\x03",
                    "\x02" "W" "+000" "+000" "123" "45" "\x03",
                    "\x02" "A" "105" "05" "05" "\x03",
                    "\x02" "A" "02" "15" "05" "15" "05" "\x03",
                    "\x02" "M" "01" "0515" "0000" "0001" "0008" "0" "\x03",
                    "\x02" "I" "01" "\x81" "\x03",
                    "\x02" "S" "0001" "\x03");
    // clang-format on
    r = DecodeAs("KT-936U", stream);
    ASSERT_TRUE(r.ok) << r.error.Message();
    EXPECT_TRUE(r.commands[1].fields.empty());
    EXPECT_TRUE(r.commands[2].fields.empty());
    EXPECT_TRUE(r.commands[3].fields.empty());
    ASSERT_EQ(r.warnings.size(), 3u);
    EXPECT_EQ(r.warnings[0].offset, 18u);
    EXPECT_NE(r.warnings[0].text.find("'+000+00012345' read as 0 0 12 345 and as 0 0 123 45"),
              std::string::npos)
        << r.warnings[0].text;
    EXPECT_EQ(r.warnings[1].offset, 34u);
    ASSERT_EQ(r.pages.size(), 1u);
    EXPECT_EQ(Rows(r, 0)[0], "#......#");
}

} // namespace
