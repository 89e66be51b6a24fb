// The road of printer bytes to WritePrinter: gathering, the limit, pieces too large to gather, and what
// a refusing spooler does to the rest of the document.
#include "render_fixture.h"

#include "output_buffer.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class OutputBufferTest : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        out_ = TestOutput();
        StartJob();
        winsim_log_clear();
    }
    // A piece of n bytes whose content shows where each byte went.
    static Bytes Piece(size_t n, uint8_t seed) {
        Bytes b(n);
        for (size_t i = 0; i < n; ++i) {
            b[i] = static_cast<uint8_t>(seed + i * 7);
        }
        return b;
    }
    // The byte counts handed to WritePrinter, in call order.
    static std::vector<size_t> WriteSizes() {
        std::vector<size_t> sizes;
        char line[512];
        for (size_t i = 0; i < winsim_log_size(); ++i) {
            winsim_log_line(i, line, sizeof(line));
            if (std::strncmp(line, "WritePrinter ", 13) == 0) {
                if (const char* size = std::strstr(line, " size=")) {
                    sizes.push_back(std::strtoul(size + 6, nullptr, 10));
                }
            }
        }
        return sizes;
    }
    Bytes Written() {
        EndJob();
        return JobBytes();
    }

    OutputBuffer out_;
};

using Sizes = std::vector<size_t>;

TEST_F(OutputBufferTest, ReachingTheLimitFlushesFirst) {
    const Bytes a = Piece(63000, 1);
    const Bytes b = Piece(487, 2);
    const Bytes c = Piece(1, 3);
    EXPECT_TRUE(out_.Append(a.data(), a.size()));
    EXPECT_TRUE(out_.Append(b.data(), b.size()));
    EXPECT_EQ(WriteSizes(), Sizes{}) << "63,487 bytes stay below the limit";
    EXPECT_TRUE(out_.Append(c.data(), c.size()));
    EXPECT_EQ(WriteSizes(), Sizes{63487}) << "the buffer never holds the limit's worth";
    EXPECT_EQ(out_.Fill, 1u);
    EXPECT_TRUE(out_.Flush());
    EXPECT_TRUE(out_.Flush()) << "an empty buffer writes nothing";
    EXPECT_EQ(WriteSizes(), (Sizes{63487, 1}));
    EXPECT_EQ(outputState_, static_cast<DWORD>(OUTSTATE_DATA_WRITTEN));
    Bytes all = a;
    all.insert(all.end(), b.begin(), b.end());
    all.insert(all.end(), c.begin(), c.end());
    Bytes actual = Written();
    EXPECT_TRUE(SameBytes(all, actual.data(), actual.size()));
}

// A single piece at the limit would fill the buffer to the limit; from the limit on it goes past the
// buffer, so that no write ever carries the limit's worth of buffered bytes.
TEST_F(OutputBufferTest, APieceOfTheLimitOrMoreGoesStraightThrough) {
    const struct {
        size_t Size;
        Sizes Writes; // after a 5-byte piece was buffered
        DWORD Fill;
    } rows[] = {
        {kOutputFillLimit - 1, {5}, kOutputFillLimit - 1},
        {kOutputFillLimit, {5, kOutputFillLimit}, 0},
        {kOutputFillLimit + 1, {5, kOutputFillLimit + 1}, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.Size);
        EndJob();
        StartJob();
        winsim_log_clear();
        out_.Fill = 0;
        const Bytes head = Piece(5, 12);
        const Bytes piece = Piece(r.Size, 13);
        EXPECT_TRUE(out_.Append(head.data(), head.size()));
        EXPECT_TRUE(out_.Append(piece.data(), piece.size()));
        EXPECT_EQ(WriteSizes(), r.Writes);
        EXPECT_EQ(out_.Fill, r.Fill);
        EXPECT_TRUE(out_.Flush());
        Bytes all = head;
        all.insert(all.end(), piece.begin(), piece.end());
        Bytes actual = Written();
        EXPECT_TRUE(SameBytes(all, actual.data(), actual.size()));
    }
}

TEST_F(OutputBufferTest, LargePieceBypassesTheBufferInShortWrites) {
    ASSERT_EQ(winsim_set_write_limit(kPrinterName, 30000, 0), 1);
    const Bytes small = Piece(10, 5);
    const Bytes large = Piece(70000, 6);
    EXPECT_TRUE(out_.Append(small.data(), small.size()));
    EXPECT_TRUE(out_.Append(large.data(), large.size()));
    // What was buffered goes first; then the spooler is asked for what remains until it took everything.
    EXPECT_EQ(WriteSizes(), (Sizes{10, 70000, 40000, 10000}));
    EXPECT_EQ(out_.Fill, 0u);
    Bytes all = small;
    all.insert(all.end(), large.begin(), large.end());
    Bytes actual = Written();
    EXPECT_TRUE(SameBytes(all, actual.data(), actual.size()));
}

TEST_F(OutputBufferTest, FailureEndsTheDocumentsOutput) {
    const Bytes first = Piece(100, 7);
    const Bytes later = Piece(200, 8);
    const Bytes large = Piece(70000, 9);
    EXPECT_TRUE(out_.Append(first.data(), first.size()));
    ASSERT_EQ(winsim_fail_next("WritePrinter", 1), 1);
    EXPECT_FALSE(out_.Flush());
    EXPECT_TRUE(outputState_ & OUTSTATE_WRITE_FAILED);
    winsim_clear_faults();
    // The spooler would take bytes again, but this document sends none.
    EXPECT_FALSE(out_.Append(later.data(), later.size()));
    EXPECT_FALSE(out_.Append(large.data(), large.size()));
    EXPECT_FALSE(out_.Flush());
    EXPECT_EQ(WriteSizes(), Sizes{100});
    EXPECT_EQ(Written().size(), 0u);
}

TEST_F(OutputBufferTest, ZeroByteSuccessEndsTheLoop) {
    ASSERT_EQ(winsim_set_write_limit(kPrinterName, 0, 1), 1);
    const Bytes piece = Piece(70000, 10);
    EXPECT_FALSE(out_.Append(piece.data(), piece.size()));
    EXPECT_TRUE(outputState_ & OUTSTATE_WRITE_FAILED);
    EXPECT_EQ(WriteSizes(), Sizes{70000}) << "one call, not an endless loop";
    EXPECT_FALSE(out_.Flush());
}

TEST_F(OutputBufferTest, NoBufferYetWritesStraightThrough) {
    out_.Data = nullptr;
    const Bytes piece = Piece(3, 11);
    EXPECT_TRUE(out_.Append(piece.data(), piece.size()));
    EXPECT_EQ(WriteSizes(), Sizes{3});
    Bytes actual = Written();
    EXPECT_TRUE(SameBytes(piece, actual.data(), actual.size()));
}

} // namespace
