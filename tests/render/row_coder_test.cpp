// The row codings as the printer reads them: worked examples written out by hand from the format.
#include "bytes.h"

#include "row_coder.h"

#include <string>
#include <vector>

namespace {

// "0101 1" style bit strings, spaces ignored.
std::string Bits(RUNCODE code) {
    std::string s;
    for (UINT i = code.Bits; i-- > 0;) {
        s += ((code.Code >> i) & 1) ? '1' : '0';
    }
    return s;
}

std::string Strip(const char* text) {
    std::string s;
    for (; *text; ++text) {
        if (*text != ' ') {
            s += *text;
        }
    }
    return s;
}

TEST(PrefixCode, EveryLengthClassAtBothEnds) {
    const struct {
        UINT Run;
        const char* Code;
    } rows[] = {
        {1, "10"},
        {2, "11"},
        {3, "0 10"},
        {4, "0 11"},
        {5, "00 100"},
        {8, "00 111"},
        {9, "000 1000"},
        {16, "000 1111"},
        {17, "0000 10000"},
        {32, "0000 11111"},
        {33, "00000 100000"},
        {64, "00000 111111"},
        {65, "000000 1000000"},
        {128, "000000 1111111"},
        {129, "0000000 10000000"},
        {256, "0000000 11111111"},
        {257, "00000000 100000000"},
        {512, "00000000 111111111"},
        {513, "000000000 1000000000"},
        {1024, "000000000 1111111111"},
        {1025, "0000000000 10000000000"},
        {2048, "0000000000 11111111111"},
        {2049, "00000000000 100000000000"},
        {4096, "00000000000 111111111111"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(Bits(PrefixCode(r.Run)), Strip(r.Code)) << "run " << r.Run;
    }
}

struct CodedCase {
    const char* Name;
    Bytes Row;
    char Coding; // 0: raw
    Bytes Coded; // count and bytes, as the compressed row command carries them
};

Bytes Repeat(size_t n, uint8_t value) {
    return Bytes(n, value);
}

TEST(RowCoder, WorkedExamples) {
    const CodedCase cases[] = {
        // Runs 4, 8, 4 code as 011 00111 011 (2 bytes), the literal takes 3: neither saves its framing.
        {"the two-byte row 0F F0 goes raw", {0x0F, 0xF0}, 0, {}},
        // One white run of 1,920: ten zeros, then 1,919 in eleven bits; the byte runs would need 4 bytes.
        {"240 zero bytes", Repeat(240, 0), '2', {0x15, 0x00, 0x00, 0x3B, 0xF8}},
        // 6 zero bytes: a repeat item (86 00) and one run of 48 (00000 101111) take two bytes each.
        {"a tie goes to the run codes", Repeat(6, 0), '2', {0x0B, 0x00, 0x05, 0xE0}},
        // Black 16 (000 1111), white 40 (00000 100111): 18 bits, where the items take 5 bytes.
        {"a row that starts black", {0xFF, 0xFF, 0, 0, 0, 0, 0}, '3', {0x12, 0x00, 0x1E, 0x09, 0xC0}},
        // Alternating dots make runs of one; 300 equal bytes are three repeat items, 127 at most each.
        {"byte runs split at 127", Repeat(300, 0x55), '1', {0x06, 0x00, 0xFF, 0x55, 0xFF, 0x55, 0xAE, 0x55}},
        // A pair stays in the literal that holds the byte after it.
        {"pairs stay literal",
         {0x12, 0x12, 0x34, 0x56, 0x56, 0x56, 0x56, 0x56, 0x56, 0x56},
         '1',
         {0x06, 0x00, 0x03, 0x12, 0x12, 0x34, 0x87, 0x56}},
        // 128 equal bytes: a full repeat item and a literal of one.
        {"a run of 128", Repeat(128, 0x55), '1', {0x04, 0x00, 0xFF, 0x55, 0x01, 0x55}},
    };
    BYTE byteRuns[kRowCodeBytes];
    BYTE runCodes[kRowCodeBytes];
    for (const CodedCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const CODEDROW coded = CodeRow(c.Row.data(), c.Row.size(), byteRuns, runCodes);
        EXPECT_EQ(coded.Coding, c.Coding);
        if (c.Coding) {
            EXPECT_TRUE(SameBytes(c.Coded, coded.Bytes, coded.Size));
        } else {
            EXPECT_EQ(coded.Bytes, c.Row.data());
            EXPECT_EQ(coded.Size, c.Row.size());
        }
    }
}

TEST(RowCoder, LiteralItemsCloseAt127Bytes) {
    // 130 bytes with no three equal in a row, in a row whose run codes are long (0x5A has runs of 1 and 2).
    Bytes row(130);
    for (size_t i = 0; i < row.size(); ++i) {
        row[i] = static_cast<uint8_t>(i % 2 ? 0x5A : 0xA5);
    }
    std::fill(row.begin() + 100, row.end(), 0x00); // 30 zero bytes: one repeat item
    BYTE byteRuns[kRowCodeBytes];
    BYTE runCodes[kRowCodeBytes];
    const CODEDROW coded = CodeRow(row.data(), row.size(), byteRuns, runCodes);
    ASSERT_EQ(coded.Coding, '1');
    Bytes expected = {0x67, 0x00, 100};
    expected.insert(expected.end(), row.begin(), row.begin() + 100);
    expected.insert(expected.end(), {0x80 + 30, 0x00});
    EXPECT_TRUE(SameBytes(expected, coded.Bytes, coded.Size));

    Bytes longer(200);
    for (size_t i = 0; i < longer.size(); ++i) {
        longer[i] = static_cast<uint8_t>(i % 2 ? 0x5A : 0xA5);
    }
    std::fill(longer.begin() + 130, longer.end(), 0x00);
    const CODEDROW split = CodeRow(longer.data(), longer.size(), byteRuns, runCodes);
    ASSERT_EQ(split.Coding, '1');
    ASSERT_GE(split.Size, 2u + 1 + 127 + 1 + 3);
    EXPECT_EQ(split.Bytes[2], 127) << "the first literal closes at 127 bytes";
    EXPECT_EQ(split.Bytes[2 + 1 + 127], 3) << "and the next holds the rest";
}

TEST(RowCoder, RowsWiderThan4096DotsGoRaw) {
    BYTE byteRuns[kRowCodeBytes];
    BYTE runCodes[kRowCodeBytes];
    const Bytes widest(kMaxCodedRowBytes, 0);
    EXPECT_EQ(CodeRow(widest.data(), widest.size(), byteRuns, runCodes).Coding, '2');
    const Bytes wider(kMaxCodedRowBytes + 1, 0);
    EXPECT_EQ(CodeRow(wider.data(), wider.size(), byteRuns, runCodes).Coding, 0);
}

// The worst rows for each coding still fit the coder's areas: every dot its own run, and no two equal
// bytes in a row.
TEST(RowCoder, WorstRowsStayInsideTheirAreas) {
    std::vector<BYTE> byteRuns(kRowCodeBytes + 16, 0xEE);
    std::vector<BYTE> runCodes(kRowCodeBytes + 16, 0xEE);
    Bytes alternating(kMaxCodedRowBytes, 0x55);
    Bytes distinct(kMaxCodedRowBytes);
    for (size_t i = 0; i < distinct.size(); ++i) {
        distinct[i] = static_cast<uint8_t>(i * 37);
    }
    for (const Bytes* row : {&alternating, &distinct}) {
        CodeRow(row->data(), row->size(), byteRuns.data(), runCodes.data());
        bool black = false;
        CodeRuns(row->data(), row->size(), runCodes.data(), SIZE_MAX, &black);
        CodeByteRuns(row->data(), row->size(), byteRuns.data(), SIZE_MAX);
        EXPECT_EQ(byteRuns[kRowCodeBytes], 0xEE);
        EXPECT_EQ(runCodes[kRowCodeBytes], 0xEE);
    }
}

} // namespace
