// The two row codings, decoded alone: the run-length prefix code at both ends of every length class,
// byte-run items, and run codes that must cover the row exactly.
#include <gtest/gtest.h>

#include <string>

#include "rows.h"
#include "streams.h"

namespace {

using namespace kt_decode_test;

TEST(RowCoding, PrefixCodeOfEveryLengthClass) {
    const struct {
        const char* bits;
        int run;
    } cases[] = {
        {"10", 1},
        {"11", 2},
        {"0 10", 3},
        {"0 11", 4},
        {"00 100", 5},
        {"00 111", 8},
        {"000 1000", 9},
        {"000 1111", 16},
        {"0000 10000", 17},
        {"0000 11111", 32},
        {"00000 100000", 33},
        {"00000 111111", 64},
        {"000000 1000000", 65},
        {"000000 1111111", 128},
        {"0000000 10000000", 129},
        {"0000000 11111111", 256},
        {"00000000 100000000", 257},
        {"00000000 111111111", 512},
        {"000000000 1000000000", 513},
        {"000000000 1111111111", 1024},
        {"0000000000 10000000000", 1025},
        {"0000000000 11111111111", 2048},
        {"00000000000 100000000000", 2049},
        {"00000000000 111111111111", 4096},
    };
    for (const auto& c : cases) {
        const CodeBits code = Bits(c.bits);
        size_t bit = 0;
        EXPECT_EQ(ktdecode::ReadRunLength(code.bytes, code.count, bit), c.run) << c.bits;
        EXPECT_EQ(bit, code.count) << c.bits;
        // Every code cut short is incomplete, whatever bits would have followed.
        for (size_t cut = 0; cut < code.count; ++cut) {
            size_t at = 0;
            EXPECT_FALSE(ktdecode::ReadRunLength(code.bytes, cut, at))
                << c.bits << " cut to " << cut << " bits";
        }
    }
    const CodeBits tooLong = Bits("000000000000 1000000000000");
    size_t bit = 0;
    std::string why;
    EXPECT_FALSE(ktdecode::ReadRunLength(tooLong.bytes, tooLong.count, bit, &why));
    EXPECT_NE(why.find("more than 11 leading zeros"), std::string::npos) << why;
}

TEST(RowCoding, RunCodesAlternateFromTheModesColour) {
    const struct {
        const char* bits;
        bool startBlack;
        Bytes row;
    } cases[] = {
        // 4 white, 8 black, 4 white: the worked example, 11 bits sent as 67 60.
        {"011 00111 011", false, {0x0F, 0xF0}},
        {"011 00111 011", true, {0xF0, 0x0F}},
        // Padding bits belong to the last run: 3 black then 5 white fill one byte.
        {"010 00100", true, {0xE0}},
        {"000 1111", false, {0x00, 0x00}},
        {"10 10 10 10 10 10 10 10", true, {0xAA}},
    };
    for (const auto& c : cases) {
        const CodeBits code = Bits(c.bits);
        EXPECT_EQ(code.bytes.size(), (code.count + 7) / 8);
        Bytes row(c.row.size(), 0x5A);
        auto fault = ktdecode::DecodeRunCodes(code.bytes, code.count, c.startBlack, row);
        EXPECT_FALSE(fault) << c.bits << ": " << fault->what;
        EXPECT_EQ(row, c.row) << c.bits;
    }
    EXPECT_EQ(Bits("011 00111 011").bytes, (Bytes{0x67, 0x60}));
}

TEST(RowCoding, RunCodesMustCoverTheRowExactly) {
    const struct {
        const char* bits;
        size_t rowBytes;
        const char* fault;
    } cases[] = {
        {"011 00111", 2, "runs cover 12 of the row's 16 dots"},
        {"011 00111 011 10", 2, "runs overrun the row: a black run of 1 at dot 16"},
        {"000 1000", 1, "runs overrun the row: a white run of 9 at dot 0"},
        {"011 0011", 2, "the code bits end inside a run code"},
    };
    for (const auto& c : cases) {
        const CodeBits code = Bits(c.bits);
        Bytes row(c.rowBytes);
        auto fault = ktdecode::DecodeRunCodes(code.bytes, code.count, false, row);
        ASSERT_TRUE(fault) << c.bits;
        EXPECT_NE(fault->what.find(c.fault), std::string::npos) << fault->what;
    }
}

TEST(RowCoding, ByteRunsOfLiteralAndRepeatItems) {
    Bytes row(8);
    // Literal 81 42, four times FF, literal 00 18.
    const Bytes items = {0x02, 0x81, 0x42, 0x84, 0xFF, 0x02, 0x00, 0x18};
    ASSERT_FALSE(ktdecode::DecodeByteRuns(items, row));
    EXPECT_EQ(row, (Bytes{0x81, 0x42, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x18}));

    // The longest items: a literal of 127 and a repeat of 127.
    Bytes longItems = {0x7F};
    for (int i = 0; i < 127; ++i) {
        longItems.push_back(static_cast<uint8_t>(i));
    }
    longItems.insert(longItems.end(), {0xFF, 0x03});
    Bytes longRow(254);
    ASSERT_FALSE(ktdecode::DecodeByteRuns(longItems, longRow));
    EXPECT_EQ(longRow[126], 126);
    EXPECT_EQ(longRow[127], 0x03);
    EXPECT_EQ(longRow[253], 0x03);

    const struct {
        Bytes items;
        size_t rowBytes;
        size_t at;
        const char* fault;
    } bad[] = {
        {{0x03, 0xAA, 0xBB, 0xCC}, 2, 0, "items overrun the row: a literal of 3 bytes at row byte 0 of 2"},
        {{0x01, 0xAA, 0x83, 0x00}, 3, 2, "items overrun the row: a repeat of 3 bytes at row byte 1 of 3"},
        {{0x01, 0xAA}, 2, 2, "items make 1 of the row's 2 bytes"},
        {{0x82, 0xFF}, 2, 0, "repeat item of 2 bytes"},
        {{0x80, 0xFF}, 2, 0, "repeat item of 0 bytes"},
        {{0x00}, 2, 0, "literal item of 0 bytes"},
        {{0x01, 0xAA, 0x05, 0xBB}, 6, 2, "literal item of 5 bytes runs past the item bytes (1 left)"},
        {{0x01, 0xAA, 0x84}, 5, 2, "repeat item without its byte"},
    };
    for (const auto& c : bad) {
        Bytes out(c.rowBytes);
        auto fault = ktdecode::DecodeByteRuns(c.items, out);
        ASSERT_TRUE(fault) << c.fault;
        EXPECT_EQ(fault->at, c.at) << c.fault;
        EXPECT_NE(fault->what.find(c.fault), std::string::npos) << fault->what;
    }
}

} // namespace
