// Malformed streams: each fault is reported at the byte where it shows, inside the command it is in,
// with what the printer expected; the commands before it are kept.
#include <gtest/gtest.h>

#include <string>

#include "streams.h"

namespace {

using namespace kt_decode_test;

// A 1 x 1 mm label (16 bytes, 0..15), then one block of one row of 8 or 16 dots (22 bytes, 16..37):
// a row command starts at byte 38.
// clang-format off
constexpr std::string_view kJob = "\x02" "F00" "001" "001" "030" "80" "\x03";
constexpr std::string_view kBlock8 = "\x02" "M" "01" "0515" "0000" "0001" "0008" "0" "\x03";
constexpr std::string_view kBlock16 = "\x02" "M" "01" "0515" "0000" "0001" "0016" "0" "\x03";
// clang-format on

struct Case {
    const char* name;
    const char* model;
    Bytes stream;
    size_t offset;
    size_t commandsBefore;
    const char* expected; // a piece of what the error says was expected
};

void Check(const Case& c, const ktdecode::Result& r) {
    ASSERT_FALSE(r.ok) << c.name;
    EXPECT_EQ(r.error.offset, c.offset) << c.name << ": " << r.error.Message();
    EXPECT_NE(r.error.expected.find(c.expected), std::string::npos) << c.name << ": " << r.error.Message();
    EXPECT_EQ(r.commands.size(), c.commandsBefore) << c.name;
    const std::string message = r.error.Message();
    const std::string lead = "byte " + std::to_string(c.offset);
    EXPECT_TRUE(message.rfind(lead, 0) == 0 && (message[lead.size()] == ',' || message[lead.size()] == ':'))
        << message;
}

TEST(StreamErrors, FramingAndTextCommands) {
    const std::string lost = std::string(1, '\x02') + 'A' + std::string(70, '1');
    // clang-format off
    const Case cases[] = {
        {"stray byte", "KT-936U", Stream("\x41"), 0, 0, "02 starting a command, found 'A' (0x41)"},
        {"02 at the end", "KT-936U", Stream(kJob, "\x02"), 17, 1, "a command byte after 02; the stream ends"},
        {"unknown command", "KT-936U",
         Stream(kJob, "\x02" "Z" "\x03"),
         17, 1, "a command byte (18 F f W A h"},
        {"control without 03", "KT-936U", Stream("\x02\x18\x04"), 2, 0,
         "03 after the command byte, found 0x04"},
        {"letter in a number", "KT-936U",
         Stream("\x02" "F00" "0O1" "001" "030" "80" "\x03"),
         5, 0, "a digit or the 03 ending the command, found 'O'"},
        {"gap with a leading zero too many", "KT-936U",
         Stream("\x02" "F00" "0001" "80" "\x03"),
         4, 0, "width, length and gap (\"%03d\" each), or the gap alone, found '0001'"},
        {"label format without 00", "KT-936U",
         Stream("\x02" "F01" "001001030" "80" "\x03"),
         2, 0, "\"00\""},
        {"label format without 80", "KT-936U",
         Stream("\x02" "F00" "001001030" "81" "\x03"),
         15, 0, "\"80\""},
        {"negative label size", "KT-936U",
         Stream("\x02" "F00" "-10" "001" "030" "80" "\x03"),
         4, 0, "a label size of 0 mm or more"},
        {"label above the cap", "KT-936U-24",
         Stream("\x02" "F00" "999" "999" "030" "80" "\x03"),
         4, 0, "a label of at most 67108864 dots, found 999 x 999 mm (23576 x 23576 dots)"},
        {"stream ends in a text command", "KT-936U",
         Stream("\x02" "W" "+000"),
         6, 0, "03 ending the command; the stream ends"},
        {"position without its sign", "KT-936U",
         Stream(kJob, "\x02" "W" "0000" "+000" "00" "00" "\x03"),
         18, 1, "fields P C N K"},
        {"03 lost", "KT-936U", Stream(lost), 66, 0, "03 within 64 bytes of fields"},
        {"profile B's print settings on profile A", "KT-508W",
         Stream(kJob, "\x02" "A" "02" "05" "05" "\x03"),
         18, 1, "fields S D1 V1 D2 V2"},
        {"head select on one head", "KT-936U",
         Stream(kJob, "\x02" "h1" "\x03"),
         17, 1, "KT-936U takes no head select"},
        {"head 3", "KT-508W",
         Stream("\x02" "h3" "\x03"),
         2, 0, "head 1 or 2, found '3'"},
        {"negative print count", "KT-936U",
         Stream(kJob, "\x02" "S" "-001" "\x03"),
         18, 1, "a print count of 0"},
        {"print count of three digits", "KT-936U",
         Stream(kJob, "\x02" "S" "001" "\x03"),
         18, 1, "Q (\"%04d\")"},
    };
    // clang-format on
    for (const Case& c : cases) {
        Check(c, DecodeAs(c.model, c.stream));
    }
}

TEST(StreamErrors, BlockHeaders) {
    // clang-format off
    const Case cases[] = {
        {"block before any head select", "KT-508W", Stream(kJob, kBlock8), 16, 1, "a head select (h1 or h2)"},
        {"Y against the block number", "KT-936U",
         Stream(kJob, "\x02" "M" "02" "0515" "0000" "0001" "0008" "0" "\x03"),
         18, 1, "with Y = (B - 1) x 50 and B, R, D at least 1, found '0205150000000"},
        {"block 0", "KT-936U",
         Stream(kJob, "\x02" "M" "00" "0515" "0000" "0001" "0008" "0" "\x03"),
         18, 1, "B, R, D at least 1"},
        {"ambiguous rows and width", "KT-936U",
         Stream(kJob, "\x02" "M" "01" "0515" "0000" "11111" "11111" "0" "\x03"),
         18, 1, "which reads as B 01 X 515 Y 0 R 1111 D 111111 and as B 01 X 515 Y 0 R 11111 D 11111"},
        {"no constant 0", "KT-936U",
         Stream(kJob, "\x02" "M" "01" "0515" "0000" "0001" "0008" "\x03"),
         36, 1, "the constant \"0\" before 03"},
        {"block number above the cap", "KT-936U",
         Stream(kJob, "\x02" "M" "1000" "0515" "204750" "0001" "0008" "0" "\x03"),
         18, 1, "a block number up to FFF, found 1000"},
        {"block above the cap", "KT-936U",
         Stream(kJob, "\x02" "M" "01" "0515" "0000" "9999" "9999" "0" "\x03"),
         18, 1, "a block of at most 4000000 bytes, found 9999 rows of 1250 bytes"},
        {"driver-expansion block after F", "KT-936U",
         Stream(kJob, "\x02" "#" "01" "0408" "0000" "0001" "0008" "0" "\x03"),
         17, 1, "a block header 'M', as the label format 'F' asks, found '#'"},
        {"lower-case hex", "KT-936U",
         Stream(kJob, "\x02" "M" "0a" "0515" "0000" "0001" "0008" "0" "\x03"),
         19, 1, "a hex digit or minus sign or the 03 ending the command, found 'a'"},
    };
    // clang-format on
    for (const Case& c : cases) {
        Check(c, DecodeAs(c.model, c.stream));
    }
}

TEST(StreamErrors, ImageRows) {
    // clang-format off
    const Case cases[] = {
        {"row without a block", "KT-936U",
         Stream(kJob, "\x02" "I" "01" "\x80" "\x03"),
         16, 1, "no block is open"},
        {"stream ends inside a row", "KT-936U",
         Stream(kJob, kBlock16,
                "\x02" "I" "01" "\xAA"),
         43, 2, "2 row bytes of block 01 (16 dots) and 03; the stream ends after 1 of them"},
        {"row longer than its block", "KT-936U",
         Stream(kJob, kBlock8,
                "\x02" "I" "01" "\xAA\xBB" "\x03"),
         43, 2, "03 after the 1 row byte of block 01 (8 dots), found 0xBB"},
        {"row shorter than its block", "KT-936U",
         Stream(kJob, kBlock16,
                "\x02" "I" "01" "\xAA" "\x03",
                "\x02" "S" "0001" "\x03"),
         44, 2, "found 0x02 (a 03 then 02 at byte 43: the row may be 1 byte short)"},
        {"row naming another block", "KT-936U",
         Stream(kJob, kBlock8,
                "\x02" "I" "02" "\x80" "\x03"),
         40, 2, "block number 01 (row 1 of 1 of block 01), found '2' (0x32) at its character 2"},
        {"row letter of the other kind", "KT-936U",
         Stream(kJob, kBlock8,
                "\x02" "$" "01" "\x80" "\x03"),
         39, 2, "'I' or 'i' for row 1 of 1 of block 01"},
        {"another command inside a block", "KT-936U",
         Stream(kJob,
                "\x02" "M" "01" "0515" "0000" "0002" "0008" "0" "\x03",
                "\x02" "I" "01" "\x80" "\x03",
                "\x02" "S" "0001" "\x03"),
         44, 3, "row 2 of 2 of block 01, found print count S"},
        {"stream ends inside a block", "KT-936U",
         Stream(kJob,
                "\x02" "M" "01" "0515" "0000" "0002" "0008" "0" "\x03",
                "\x02" "I" "01" "\x80" "\x03"),
         44, 3, "row 2 of 2 of block 01; the stream ends"},
        {"mode 4", "KT-936U",
         Stream(kJob, kBlock16,
                "\x02" "i" "01" "4" "\x02\x00" "\x0F\xF0" "\x03"sv),
         42, 2, "the mode digit 1, 2 or 3, found '4'"},
        {"count past the stream", "KT-936U",
         Stream(kJob, kBlock16,
                "\x02" "i" "01" "2" "\x20\x00" "\x00"sv),
         46, 2, "4 coded bytes (mode 2, count 32) and 03; the stream ends after 1 of them"},
        {"run codes short of the row", "KT-936U",
         Stream(kJob, kBlock16,
                "\x02" "i" "01" "2" "\x08\x00" "\x67" "\x03"sv),
         46, 2, "runs cover 12 of the row's 16 dots"},
        {"run codes past the row", "KT-936U",
         Stream(kJob, kBlock8,
                "\x02" "i" "01" "2" "\x07\x00" "\x10" "\x03"sv),
         45, 2, "runs overrun the row: a white run of 9 at dot 0 of 8"},
        {"run code of twelve zeros", "KT-936U",
         Stream(kJob, kBlock8,
                "\x02" "i" "01" "2" "\x0D\x00" "\x00\x00" "\x03"sv),
         45, 2, "more than 11 leading zeros"},
        // The literal item holds a 03: rows are framed by their count, not by the byte value.
        {"items past the row", "KT-936U",
         Stream(kJob, kBlock16,
                "\x02" "i" "01" "1" "\x04\x00" "\x03\xAA\xBB\xCC" "\x03"sv),
         45, 2, "items overrun the row: a literal of 3 bytes at row byte 0 of 2"},
        {"items short of the row", "KT-936U",
         Stream(kJob, kBlock16,
                "\x02" "i" "01" "1" "\x02\x00" "\x01\xAA" "\x03"sv),
         47, 2, "items make 1 of the row's 2 bytes"},
    };
    // clang-format on
    for (const Case& c : cases) {
        Check(c, DecodeAs(c.model, c.stream));
    }
}

TEST(StreamErrors, CapsBoundWhatAStreamCanMake) {
    const Bytes twoPages = Stream(kJob, kBlock8,
                                  "\x02"
                                  "I"
                                  "01"
                                  "\x80"
                                  "\x03",
                                  "\x02"
                                  "S"
                                  "0001"
                                  "\x03",
                                  "\x02"
                                  "M"
                                  "01"
                                  "0515"
                                  "0000"
                                  "0001"
                                  "0008"
                                  "0"
                                  "\x03",
                                  "\x02"
                                  "I"
                                  "01"
                                  "\x40"
                                  "\x03",
                                  "\x02"
                                  "S"
                                  "0001"
                                  "\x03");
    ktdecode::Options options;
    options.model = "KT-936U";
    ASSERT_TRUE(ktdecode::Decode(twoPages, options).ok);

    struct {
        const char* name;
        void (*set)(ktdecode::Caps&);
        size_t offset;
        const char* expected;
    } cases[] = {
        {"label images kept", [](ktdecode::Caps& c) { c.maxResultDots = 64 + 63; }, 79,
         "label images of at most 127 dots kept in all, found 128 by page 2"},
        {"bytes of the blocks kept", [](ktdecode::Caps& c) { c.maxKeptBytes = 0; }, 18,
         "image blocks of at most 0 bytes kept, found 1"},
        {"blocks kept", [](ktdecode::Caps& c) { c.maxBlockNumber = 0; }, 18,
         "a block number up to 00, found 01"},
        {"label dots", [](ktdecode::Caps& c) { c.maxLabelDots = 63; }, 4, "a label of at most 63 dots"},
        {"stream bytes", [](ktdecode::Caps& c) { c.maxStreamBytes = 50; }, 50,
         "a stream of at most 50 bytes"},
    };
    for (const auto& c : cases) {
        ktdecode::Options capped = options;
        c.set(capped.caps);
        const ktdecode::Result r = ktdecode::Decode(twoPages, capped);
        ASSERT_FALSE(r.ok) << c.name;
        EXPECT_EQ(r.error.offset, c.offset) << c.name << ": " << r.error.Message();
        EXPECT_NE(r.error.expected.find(c.expected), std::string::npos)
            << c.name << ": " << r.error.Message();
    }

    options.model = "KT-999";
    const ktdecode::Result r = ktdecode::Decode(twoPages, options);
    ASSERT_FALSE(r.ok);
    EXPECT_EQ(
        r.error.expected.find("a model name (KT-508W, KT-508X, KT-936U, KT-936U-12, KT-936U-16, KT-936U-24)"),
        0u)
        << r.error.expected;
}

} // namespace
