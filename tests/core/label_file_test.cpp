// The label file: exact bytes out, the reading rules in, and safety under any file and any number
// of processes.
#include "sim_printer.h"

#include "label_file.h"
#include "label_store.h"
#include "wstr.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Column positions (from 0) in the file, and the variant the tests run on.
#if defined(KT_PROFILE_A)
constexpr int kFields = 27;
constexpr int kIdColumn = 20;
constexpr int kExpandColumn = 24;
constexpr LONG kModel = 0;
constexpr char kGoldenFile[] = "label_export_a.csv";
#else
constexpr int kFields = 22;
constexpr int kIdColumn = 18;
constexpr int kExpandColumn = 20;
constexpr LONG kModel = 9; // KT-936U-24, the variant that lets the driver expand
constexpr LONG kModelWithoutExpand = 5;
constexpr char kGoldenFile[] = "label_export_b.csv";
#endif
constexpr int kWidthColumn = 1;
constexpr int kLengthColumn = 2;
constexpr int kGapColumn = 3;
constexpr int kCutCountColumn = 6;

constexpr WCHAR kPath[] = TEXT("C:\\labels\\list.csv");
constexpr WCHAR kMutexName[] = TEXT("PaperInfo");

std::string ReadHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteHostFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Golden() {
    return ReadHostFile(fs::path(KT_TEST_DATA_DIR) / kGoldenFile);
}

// The header line of the hand-written file, LF included.
std::string Header() {
    std::string golden = Golden();
    return golden.substr(0, golden.find('\n') + 1);
}

// One label line: every field "0" except the name and the fields given.
std::string Line(const std::string& name, std::initializer_list<std::pair<int, std::string>> fields = {},
                 int count = kFields) {
    std::vector<std::string> f(static_cast<size_t>(count), "0");
    f[0] = name;
    for (const auto& [column, text] : fields) {
        f.at(static_cast<size_t>(column)) = text;
    }
    std::string line;
    for (size_t i = 0; i < f.size(); ++i) {
        line += f[i] + (i + 1 == f.size() ? "\n" : ",");
    }
    return line;
}

std::string Narrow(const WCHAR* text) {
    std::string s;
    for (size_t i = 0; i < kLabelNameChars && text[i]; ++i) {
        s += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    }
    return s;
}

std::unique_ptr<DRVDEVMODE> NewRecord(LONG model = kModel) {
    auto rec = std::make_unique<DRVDEVMODE>();
    InitDevModeForModel(rec.get(), model);
    return rec;
}

// A record whose list and list fields hold leftovers, as an import must never keep.
std::unique_ptr<DRVDEVMODE> LitteredRecord(LONG model = kModel) {
    auto rec = NewRecord(model);
    PRIVDEVMODE& p = rec->Private;
    std::memset(p.Labels, 0x5A, sizeof(p.Labels));
    p.LabelCount = 200;
    p.CurrentLabel = 150;
    p.CustomWidth = p.CustomLength = 1;
    return rec;
}

::testing::AssertionResult SameLabels(const DRVDEVMODE* a, const DRVDEVMODE* b) {
    if (a->Private.LabelCount != b->Private.LabelCount) {
        return ::testing::AssertionFailure()
               << "LabelCount " << a->Private.LabelCount << ", expected " << b->Private.LabelCount;
    }
    const BYTE* x = reinterpret_cast<const BYTE*>(a->Private.Labels);
    const BYTE* y = reinterpret_cast<const BYTE*>(b->Private.Labels);
    for (size_t i = 0; i < sizeof(a->Private.Labels); ++i) {
        if (x[i] != y[i]) {
            return ::testing::AssertionFailure()
                   << "entry " << i / sizeof(LABELINFO) << " differs at byte " << i % sizeof(LABELINFO);
        }
    }
    return ::testing::AssertionSuccess();
}

// The list of the hand-written files: the two default entries, a Japanese name with negative tenths,
// and the extremes of the 32-bit fields.
void SetKnownList(DRVDEVMODE* rec) {
    InitDevModeForModel(rec, kModel);
    PRIVDEVMODE& p = rec->Private;
    LABELINFO& food = p.Labels[2];
    WStrCopy(food.Name, TEXT("食品ﾗﾍﾞﾙ 50x30"));
    food.Width = 50;
    food.Length = 30;
    food.Values.Gap = 25;
    food.Values.PositionAdjust = -5;
    food.Values.CutPosition = -123;
    food.Values.CutCount = 10;
    food.Values.CutAdjust = -2;
    food.Values.Rotation = 3;
    food.Values.Copies = 2;
    food.Values.CutLast = 1;
    food.Values.BandSplit = 1;
    food.Values.PrintSettingsEnabled = 1;
    food.Values.PrintSpeed = 4;
    food.Values.Density1 = 20;
    food.Values.HeadVoltage1 = 7;
    food.Id = 32767;
    food.Values.QuantityCommand = 1;
    food.Values.DriverExpand = 1;
    food.Values.XAdjust1 = 7;
#if defined(KT_PROFILE_A)
    food.Values.Density2 = -3;
    food.Values.HeadVoltage2 = 8;
    food.Values.HeadColor1 = 0x00FF0000;
    food.Values.HeadColor2 = 0x0000FF00;
    food.Values.XAdjust2 = -10;
#endif
    LABELINFO& box = p.Labels[3];
    box = p.Labels[0];
    std::fill(std::begin(box.Name), std::end(box.Name), static_cast<WCHAR>(0));
    WStrCopy(box.Name, TEXT("Box-100"));
    box.Width = 100;
    box.Length = 2000;
    box.Values.Gap = INT_MAX;
    box.Values.CutPosition = 50;
    box.Values.Rotation = 1;
    box.Id = 32766;
    box.Values.XAdjust1 = INT_MIN;
#if defined(KT_PROFILE_A)
    box.Values.HeadColor1 = 0xFFFFFFFF;
#endif
    p.LabelCount = 4;
}

// Whether a process other than this one could take the mutex now. Mutexes belong to threads, so
// asking from this process would not show a lock it forgot to release.
bool MutexFreeForAnotherProcess() {
    pid_t pid = fork();
    if (pid == 0) {
        HANDLE m = CreateMutexW(nullptr, FALSE, kMutexName);
        DWORD wait = m ? WaitForSingleObject(m, 0) : WAIT_FAILED;
        _exit(wait == WAIT_OBJECT_0 ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class LabelFile : public SimPrinterTest {
  protected:
    void SetUp() override {
        SimPrinterTest::SetUp();
        std::string pattern = (fs::temp_directory_path() / "kt_label_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        winsim_set_file_root(root_.c_str());
        fs::create_directories(root_ / "c" / "labels");
        rec_ = NewRecord();
    }
    void TearDown() override {
        SimPrinterTest::TearDown();
        winsim_set_file_root(nullptr);
        fs::remove_all(root_);
    }
    // Where kPath lies on the host.
    fs::path HostPath() const { return root_ / "c" / "labels" / "list.csv"; }
    BOOL ImportBytes(const std::string& bytes, DRVDEVMODE* rec = nullptr) {
        WriteHostFile(HostPath(), bytes);
        return ImportLabelFile(rec ? rec : rec_.get(), kPath);
    }
    BOOL ImportLines(const std::string& lines, DRVDEVMODE* rec = nullptr) {
        return ImportBytes(Header() + lines, rec);
    }
    const LABELINFO& Label(int index) const { return rec_->Private.Labels[index]; }
    std::string Name(int index) const { return Narrow(Label(index).Name); }

    fs::path root_;
    std::unique_ptr<DRVDEVMODE> rec_;
};

TEST_F(LabelFile, ExportWritesExactlyTheHandWrittenFile) {
    WriteHostFile(HostPath(), std::string(5000, 'x')); // an older, longer file is replaced, not overwritten
    SetKnownList(rec_.get());
    ASSERT_TRUE(ExportLabelFile(rec_.get(), kPath));
    std::string golden = Golden();
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(ReadHostFile(HostPath()), golden);
}

TEST_F(LabelFile, ImportReadsTheHandWrittenFile) {
    auto expected = NewRecord();
    SetKnownList(expected.get());
    auto rec = LitteredRecord();
    ASSERT_TRUE(ImportBytes(Golden(), rec.get()));
    EXPECT_TRUE(SameLabels(rec.get(), expected.get()));
    EXPECT_EQ(rec->Private.CustomWidth, expected->Private.Labels[1].Width * 10);
    EXPECT_EQ(rec->Private.CustomLength, expected->Private.Labels[1].Length * 10);
    EXPECT_EQ(rec->Private.CurrentLabel, 0) << "the label shown must lie inside the new list";
}

TEST_F(LabelFile, ExportThenImportKeepsAFullList) {
    // Names of 1 to 63 characters, Japanese among them, and every 32-bit value a field may hold.
    const WCHAR alphabet[] = TEXT("ラベル食品箱配送用ｱｲｳﾗﾍﾞﾙ ABCxyz0123456789()-_.");
    const size_t alphabetLen = WStrLen(alphabet);
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) | (seed << 16);
    };
    PRIVDEVMODE& p = rec_->Private;
    for (int i = 0; i < kMaxLabels; ++i) {
        LABELINFO& label = p.Labels[i];
        for (size_t at = offsetof(LABELINFO, Id); at < sizeof(LABELINFO); at += 4) {
            uint32_t v = next();
            std::memcpy(reinterpret_cast<BYTE*>(&label) + at, &v, 4);
        }
        label.Id = i == 0 ? kStandardLabelId : (i == 1 ? kUserDefinedLabelId : 32767 - i);
        if (i >= 2) {
            size_t len = 1 + (static_cast<size_t>(i) * 7) % (kLabelNameChars - 1);
            for (size_t k = 0; k < len; ++k) {
                label.Name[k] = alphabet[next() % alphabetLen];
            }
            label.Name[len] = 0;
        }
    }
    p.Labels[1].Width = 123;
    p.Labels[1].Length = 45;
    p.LabelCount = kMaxLabels;
    ASSERT_TRUE(ExportLabelFile(rec_.get(), kPath));

    auto back = LitteredRecord();
    ASSERT_TRUE(ImportLabelFile(back.get(), kPath));
    EXPECT_TRUE(SameLabels(back.get(), rec_.get()));
    EXPECT_EQ(back->Private.CustomWidth, 1230);
    EXPECT_EQ(back->Private.CustomLength, 450);
}

TEST_F(LabelFile, TenthsColumnsFollowTheDecimalRule) {
    const struct {
        const char* Text;
        LONG Value;
    } rows[] = {
        {"3", 30},
        {"3.0", 30},
        {"2.5", 25},
        {"2.55", 255},
        {"-0.5", -5},
        {"-3", -30},
        {"0.0", 0},
        {"", 0},
        {" 1.5 mm", 15},
        {"1-2", -120},
        {"1.2.3", 123},
        {"--4", -40},
        {"214748364.7", INT_MAX},
        {"-214748364.8", INT_MIN},
        {"99999999999", INT_MAX},
        {"-99999999999.9", INT_MIN},
    };
    std::string lines;
    for (const auto& r : rows) {
        lines += Line("T", {{kGapColumn, r.Text}});
    }
    ASSERT_TRUE(ImportLines(lines));
    ASSERT_EQ(rec_->Private.LabelCount, 2 + static_cast<LONG>(std::size(rows)));
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(Label(2 + static_cast<int>(i)).Values.Gap, rows[i].Value) << "\"" << rows[i].Text << "\"";
    }
}

TEST_F(LabelFile, WholeNumberColumnsReadLikeAtoi) {
    const struct {
        const char* Text;
        LONG Value;
    } rows[] = {
        {"42", 42},
        {" \t42", 42},
        {"-7x", -7},
        {"+8", 8},
        {"1.9", 1},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},
        {"0x1F", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999", INT_MIN},
    };
    std::string lines;
    for (const auto& r : rows) {
        lines += Line("W", {{kCutCountColumn, r.Text}});
    }
    ASSERT_TRUE(ImportLines(lines));
    ASSERT_EQ(rec_->Private.LabelCount, 2 + static_cast<LONG>(std::size(rows)));
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(Label(2 + static_cast<int>(i)).Values.CutCount, rows[i].Value)
            << "\"" << rows[i].Text << "\"";
    }
}

TEST_F(LabelFile, LinesOfTheWrongShapeAreSkippedOneByOne) {
    std::string crlf = Line("C");
    crlf.insert(crlf.size() - 1, "\r");
    std::string unterminated = Line("D");
    unterminated.pop_back();
    std::string lines = Line("short", {}, kFields - 1) + Line("A") + Line("long", {}, kFields + 1) + "\n" +
                        Line("B", {{kWidthColumn, "1\r5"}}) + // CR is dropped wherever it stands
                        crlf + std::string(3 * kFields, ',') + "\n" + unterminated;
    ASSERT_TRUE(ImportLines(lines));
    ASSERT_EQ(rec_->Private.LabelCount, 5) << "a last line without LF is not read";
    EXPECT_EQ(Name(2), "A");
    EXPECT_EQ(Name(3), "B");
    EXPECT_EQ(Label(3).Width, 15);
    EXPECT_EQ(Name(4), "C");
}

TEST_F(LabelFile, AFieldOver1024BytesEndsTheFile) {
    std::string exactly1024(1024, 'n');
    std::string lines =
        Line("A") + Line(exactly1024) + Line("B", {{kGapColumn, "1" + std::string(1024, '0')}}) + Line("C");
    ASSERT_TRUE(ImportLines(lines));
    ASSERT_EQ(rec_->Private.LabelCount, 4) << "lines after the over-long field are not read";
    EXPECT_EQ(Name(2), "A");
    EXPECT_EQ(Name(3), std::string(kLabelNameChars - 1, 'n')) << "a long name keeps its first 63 characters";
    EXPECT_EQ(Label(3).Name[kLabelNameChars - 1], 0);
}

TEST_F(LabelFile, FilesWithoutLabelsLeaveTheDefaultList) {
    const auto defaults = NewRecord();
    const std::string header = Header();
    const struct {
        const char* What;
        std::string Bytes;
    } files[] = {
        {"empty", ""},
        {"part of the header", header.substr(0, 20)},
        {"header without LF", header.substr(0, header.size() - 1)},
        {"header only", header},
        {"over-long header field", std::string(1025, 'h') + "\n" + Line("A")},
        {"one line without LF", header + Line("A").substr(0, Line("A").size() - 1)},
    };
    for (const auto& f : files) {
        auto rec = LitteredRecord();
        EXPECT_TRUE(ImportBytes(f.Bytes, rec.get())) << f.What;
        EXPECT_TRUE(SameLabels(rec.get(), defaults.get())) << f.What;
        EXPECT_EQ(rec->Private.CurrentLabel, 0) << f.What;
        EXPECT_EQ(rec->Private.CustomWidth, defaults->Private.CustomWidth) << f.What;
    }
}

TEST_F(LabelFile, FilesThatCannotBeReadLeaveTheDefaultList) {
    const auto defaults = NewRecord();
    auto rec = LitteredRecord();
    SetLastError(0);
    EXPECT_FALSE(ImportLabelFile(rec.get(), kPath)) << "missing file";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(SameLabels(rec.get(), defaults.get())) << "missing file";

    // The first read succeeds and delivers complete lines, the next one fails.
    std::string lines;
    for (int i = 0; i < 200; ++i) {
        lines += Line("Label" + std::to_string(i));
    }
    rec = LitteredRecord();
    ASSERT_EQ(winsim_fail_calls("ReadFile", 1, 1), 1);
    SetLastError(0);
    EXPECT_FALSE(ImportLines(lines, rec.get())) << "read failure";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_READ_FAULT));
    EXPECT_TRUE(SameLabels(rec.get(), defaults.get())) << "read failure";
}

TEST_F(LabelFile, ThreeHundredLinesKeepTheFirst248) {
    std::string lines;
    for (int i = 0; i < 300; ++i) {
        lines += Line("Label" + std::to_string(i));
    }
    lines += Line("late standard", {{kIdColumn, "257"}, {kGapColumn, "7.7"}});
    ASSERT_TRUE(ImportLines(lines));
    ASSERT_EQ(rec_->Private.LabelCount, kMaxLabels);
    EXPECT_EQ(Name(2), "Label0");
    EXPECT_EQ(Name(kMaxLabels - 1), "Label247");
    EXPECT_EQ(Label(0).Values.Gap, NewRecord()->Private.Labels[0].Values.Gap)
        << "reading stops once the list is full";
    EXPECT_EQ(Label(kMaxLabels - 1).Id, static_cast<DWORD>(32767 - 247));
}

TEST_F(LabelFile, StandardAndUserDefinedLinesChangeValuesButNeverNames) {
    const auto defaults = NewRecord();
    std::string lines = Line("first") +
                        Line("Other name", {{kIdColumn, "257"}, {kWidthColumn, "70"}, {kGapColumn, "1.5"}}) +
                        Line("X", {{kIdColumn, "256"}, {kWidthColumn, "33"}, {kLengthColumn, "44"}}) +
                        Line("dup1", {{kIdColumn, "500"}}) + Line("dup2", {{kIdColumn, "500"}}) +
                        Line("carries 32767", {{kIdColumn, "32767"}}) + Line("second");
    ASSERT_TRUE(ImportLines(lines));
    ASSERT_EQ(rec_->Private.LabelCount, 7) << "the 256 and 257 lines take no place in the list";
    EXPECT_TRUE(WStrEqual(Label(0).Name, defaults->Private.Labels[0].Name));
    EXPECT_EQ(Label(0).Id, kStandardLabelId);
    EXPECT_EQ(Label(0).Width, 70);
    EXPECT_EQ(Label(0).Values.Gap, 15);
    EXPECT_EQ(Label(0).Values.Copies, 0) << "every field from the id on comes from the line";
    EXPECT_TRUE(WStrEqual(Label(1).Name, kUserDefinedLabelName));
    EXPECT_EQ(Label(1).Id, kUserDefinedLabelId);
    EXPECT_EQ(Label(1).Width, 33);
    EXPECT_EQ(Label(1).Length, 44);
    EXPECT_EQ(rec_->Private.CustomWidth, 330);
    EXPECT_EQ(rec_->Private.CustomLength, 440);

    const char* names[] = {"first", "dup1", "dup2", "carries 32767", "second"};
    const DWORD ids[] = {32766, 500, 500, 32767, 32765}; // new ids avoid those carried by any line
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Name(2 + i), names[i]);
        EXPECT_EQ(Label(2 + i).Id, ids[i]) << names[i];
    }
}

TEST_F(LabelFile, DriverExpansionComesFromTheFileOnlyWhereTheVariantAllowsIt) {
    std::string lines =
        Line("E", {{kExpandColumn, "1"}}) + Line("S", {{kIdColumn, "257"}, {kExpandColumn, "1"}});
    ASSERT_TRUE(ImportLines(lines));
    EXPECT_EQ(Label(2).Values.DriverExpand, 1);
    EXPECT_EQ(Label(0).Values.DriverExpand, 1);
#if defined(KT_PROFILE_B)
    auto rec = NewRecord(kModelWithoutExpand);
    ASSERT_TRUE(ImportLines(lines, rec.get()));
    EXPECT_EQ(rec->Private.Labels[2].Values.DriverExpand, 0);
    EXPECT_EQ(rec->Private.Labels[0].Values.DriverExpand, 0);
#endif
}

// Windows turns a byte that is not code page 932 into the default character (U+30FB) and maps
// 0x80, 0xA0 and 0xFD..0xFF to characters of their own, so such a line still brings its label; only a
// name that comes out empty is skipped.
TEST_F(LabelFile, NamesConvertAsWindowsDoesAndOnlyEmptyOnesAreSkipped) {
    // 80 two-byte characters: more than a label name holds.
    std::string longName;
    for (int i = 0; i < 80; ++i) {
        longName += "\x83\x89"; // ラ
    }
    std::string lines = Line("ok1") + Line(std::string("lead\x82")) + Line("bad\x81\x20trail") + Line("") +
                        Line(std::string("\0hidden", 7)) +
                        Line(std::string("\x82", 1), {{kIdColumn, "257"}, {kWidthColumn, "61"}}) +
                        Line(longName) + Line("\x80\xA0\xFD\xFE\xFF") + Line("ok2");
    ASSERT_TRUE(ImportLines(lines));
    ASSERT_EQ(rec_->Private.LabelCount, 8);
    const std::basic_string<WCHAR> expected[] = {
        TEXT("ok1"), TEXT("lead\u30FB"), TEXT("bad\u30FB trail"), {}, TEXT("\u0080\uF8F0\uF8F1\uF8F2\uF8F3"),
        TEXT("ok2"),
    };
    for (int i = 0; i < 6; ++i) {
        if (i == 3) {
            continue; // the long name, below
        }
        EXPECT_TRUE(WStrEqual(Label(2 + i).Name, expected[i].c_str())) << "label " << 2 + i;
    }
    EXPECT_EQ(Label(0).Width, 61) << "the standard label's line does not use its name";
    EXPECT_EQ(WStrLen(Label(5).Name, kLabelNameChars), static_cast<size_t>(kLabelNameChars - 1));
    EXPECT_EQ(Label(5).Name[0], static_cast<WCHAR>(0x30E9));
    EXPECT_EQ(Label(5).Name[kLabelNameChars - 2], static_cast<WCHAR>(0x30E9));
}

TEST_F(LabelFile, ExportNeverReadsPastTheList) {
    PRIVDEVMODE& p = rec_->Private;
    for (LABELINFO& label : p.Labels) {
        std::fill(std::begin(label.Name), std::end(label.Name), static_cast<WCHAR>('W')); // no NUL
        label.Id = 1000;
    }
    p.LabelCount = 1000;
    ASSERT_TRUE(ExportLabelFile(rec_.get(), kPath));
    std::string text = ReadHostFile(HostPath());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + kMaxLabels);
    EXPECT_EQ(text.substr(Header().size(), kLabelNameChars), std::string(kLabelNameChars - 1, 'W') + ",");

    p.LabelCount = -3;
    ASSERT_TRUE(ExportLabelFile(rec_.get(), kPath));
    EXPECT_EQ(ReadHostFile(HostPath()), Header());
}

TEST_F(LabelFile, FailedExportLeavesNoFile) {
    EXPECT_FALSE(ExportLabelFile(rec_.get(), TEXT("C:\\no such folder\\list.csv")));

    WriteHostFile(HostPath(), "old");
    ASSERT_EQ(winsim_fail_next("WriteFile", 1), 1);
    SetLastError(0);
    EXPECT_FALSE(ExportLabelFile(rec_.get(), kPath));
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(fs::exists(HostPath())) << "a half-written file would import as a shorter list";
}

TEST_F(LabelFile, ImportReadsAFileThatAnotherProgramHasOpen) {
    SetKnownList(rec_.get());
    ASSERT_TRUE(ExportLabelFile(rec_.get(), kPath));
    HANDLE other = CreateFileW(kPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    auto back = LitteredRecord();
    EXPECT_TRUE(ImportLabelFile(back.get(), kPath));
    EXPECT_TRUE(SameLabels(back.get(), rec_.get()));
    CloseHandle(other);
}

TEST_F(LabelFile, MutexIsFreeAfterEveryPath) {
    const uint32_t handles = winsim_open_handles(); // the fixture's printer
    HANDLE held = CreateMutexW(nullptr, TRUE, kMutexName);
    ASSERT_NE(held, nullptr);
    ASSERT_FALSE(MutexFreeForAnotherProcess()) << "the check must see a held mutex";
    ReleaseMutex(held);
    CloseHandle(held);

    const std::string header = Header();
    const struct {
        const char* What;
        std::function<void()> Run;
    } paths[] = {
        {"import of a missing file", [&] { ImportLabelFile(rec_.get(), TEXT("C:\\labels\\none.csv")); }},
        {"import of a file ending in the header", [&] { ImportBytes(header.substr(0, 10)); }},
        {"import of a file with an over-long field", [&] { ImportBytes(header + std::string(2000, 'x')); }},
        {"import of labels", [&] { ImportLines(Line("A")); }},
        {"export that cannot create", [&] { ExportLabelFile(rec_.get(), TEXT("C:\\missing\\list.csv")); }},
        {"export that cannot write",
         [&] {
             winsim_fail_next("WriteFile", 1);
             ExportLabelFile(rec_.get(), kPath);
         }},
        {"export", [&] { ExportLabelFile(rec_.get(), kPath); }},
    };
    for (const auto& path : paths) {
        path.Run();
        EXPECT_TRUE(MutexFreeForAnotherProcess()) << path.What;
        EXPECT_EQ(winsim_open_handles(), handles) << path.What;
    }
}

TEST_F(LabelFile, AMutexLeftByADeadProcessDoesNotBlockTheFile) {
    SetKnownList(rec_.get());
    ASSERT_TRUE(ExportLabelFile(rec_.get(), kPath));
    pid_t pid = fork();
    if (pid == 0) {
        CreateMutexW(nullptr, TRUE, kMutexName); // an application that dies in the middle of an export
        _exit(0);
    }
    ASSERT_GT(pid, 0);
    waitpid(pid, nullptr, 0);
    auto back = LitteredRecord();
    EXPECT_TRUE(ImportLabelFile(back.get(), kPath));
    EXPECT_TRUE(SameLabels(back.get(), rec_.get()));
    EXPECT_TRUE(MutexFreeForAnotherProcess());
}

// Two processes, each exporting its own list and importing whatever the file holds, over and over:
// every import must give one of the two lists whole.
TEST_F(LabelFile, TwoProcessesNeverReadATornFile) {
    auto mine = NewRecord();
    auto theirs = NewRecord();
    for (DRVDEVMODE* rec : {mine.get(), theirs.get()}) {
        bool big = rec == theirs.get();
        LONG count = big ? kMaxLabels : 3;
        for (LONG i = 2; i < count; ++i) {
            LABELINFO& label = rec->Private.Labels[i];
            label = rec->Private.Labels[0];
            std::fill(std::begin(label.Name), std::end(label.Name), static_cast<WCHAR>(0));
            std::string name = (big ? "theirs " : "mine ") + std::to_string(i);
            for (size_t k = 0; k < name.size(); ++k) {
                label.Name[k] = static_cast<WCHAR>(name[k]);
            }
            label.Id = 30000 - i;
            label.Values.Gap = big ? -i : i;
        }
        rec->Private.LabelCount = count;
    }
    ASSERT_TRUE(ExportLabelFile(mine.get(), kPath));

    // Returns the number of imports that gave neither list.
    constexpr int kRounds = 40;
    auto run = [&](const DRVDEVMODE* own) {
        auto got = std::make_unique<DRVDEVMODE>();
        int torn = 0;
        for (int round = 0; round < kRounds; ++round) {
            ExportLabelFile(own, kPath);
            *got = *own;
            if (!ImportLabelFile(got.get(), kPath) ||
                !(SameLabels(got.get(), mine.get()) || SameLabels(got.get(), theirs.get()))) {
                ++torn;
            }
        }
        return torn;
    };
    pid_t pid = fork();
    if (pid == 0) {
        _exit(run(theirs.get()) == 0 ? 0 : 1);
    }
    ASSERT_GT(pid, 0);
    int torn = run(mine.get());
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(torn, 0) << "of " << kRounds << " imports";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process read a torn file";
}

} // namespace
