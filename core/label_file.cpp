#include "label_file.h"

#include "codepage.h"
#include "label_store.h"
#include "model_lookup.h"
#include "wstr.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// How a column is written and read.
enum class ColumnKind {
    Name,   // code page 932 text, at most 63 characters once read
    Whole,  // "%d", read like atoi
    Tenths, // 0.1 mm written as a decimal with one fraction digit
};

struct Column {
    size_t Offset; // into LABELINFO; every column but the name is a 32-bit field
    ColumnKind Kind;
};

#define KT_COLUMN(field, kind)                                                                               \
    { offsetof(LABELINFO, field), ColumnKind::kind }

// The columns in file order, and the header line that names them. The header is text the user
// sees when opening the file in a spreadsheet, so it stays in Japanese like the rest of the UI.
#if defined(KT_PROFILE_A)
constexpr Column kColumns[] = {
    KT_COLUMN(Name, Name),
    KT_COLUMN(Width, Whole),
    KT_COLUMN(Length, Whole),
    KT_COLUMN(Values.Gap, Tenths),
    KT_COLUMN(Values.PositionAdjust, Tenths),
    KT_COLUMN(Values.CutPosition, Tenths),
    KT_COLUMN(Values.CutCount, Whole),
    KT_COLUMN(Values.CutAdjust, Whole),
    KT_COLUMN(Values.Rotation, Whole),
    KT_COLUMN(Values.Copies, Whole),
    KT_COLUMN(Values.CutLast, Whole),
    KT_COLUMN(Values.Dithering, Whole),
    KT_COLUMN(Values.Compress, Whole),
    KT_COLUMN(Values.BandSplit, Whole),
    KT_COLUMN(Values.PrintSettingsEnabled, Whole),
    KT_COLUMN(Values.PrintSpeed, Whole),
    KT_COLUMN(Values.Density1, Whole),
    KT_COLUMN(Values.Density2, Whole),
    KT_COLUMN(Values.HeadVoltage1, Whole),
    KT_COLUMN(Values.HeadVoltage2, Whole),
    KT_COLUMN(Id, Whole),
    KT_COLUMN(Values.QuantityCommand, Whole),
    KT_COLUMN(Values.HeadColor1, Whole),
    KT_COLUMN(Values.HeadColor2, Whole),
    KT_COLUMN(Values.DriverExpand, Whole),
    KT_COLUMN(Values.XAdjust1, Tenths),
    KT_COLUMN(Values.XAdjust2, Tenths),
};
constexpr WCHAR kHeader[] = TEXT(
    "用紙名,用紙幅,用紙長,用紙間,位置補正,カット位置,カット枚数,カット補正,印刷の向き,部数,最後のカット,")
    TEXT("ディザリング,圧縮して送信,帯状にして送信,印刷の設定,印刷速度,印刷濃度１,印刷濃度２,ヘッド電圧１,")
        TEXT("ヘッド電圧２,リソースID,枚数コマンド,色１,色２,展開,X補正１,X補正２");
constexpr int kExpectedColumns = 27;
// Another application may have the exported file open while it is written.
constexpr DWORD kExportShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
#else
constexpr Column kColumns[] = {
    KT_COLUMN(Name, Name),
    KT_COLUMN(Width, Whole),
    KT_COLUMN(Length, Whole),
    KT_COLUMN(Values.Gap, Tenths),
    KT_COLUMN(Values.PositionAdjust, Tenths),
    KT_COLUMN(Values.CutPosition, Tenths),
    KT_COLUMN(Values.CutCount, Whole),
    KT_COLUMN(Values.CutAdjust, Whole),
    KT_COLUMN(Values.Rotation, Whole),
    KT_COLUMN(Values.Copies, Whole),
    KT_COLUMN(Values.CutLast, Whole),
    KT_COLUMN(Values.Dithering, Whole),
    KT_COLUMN(Values.Compress, Whole),
    KT_COLUMN(Values.BandSplit, Whole),
    KT_COLUMN(Values.PrintSettingsEnabled, Whole),
    KT_COLUMN(Values.PrintSpeed, Whole),
    KT_COLUMN(Values.Density1, Whole),
    KT_COLUMN(Values.HeadVoltage1, Whole),
    KT_COLUMN(Id, Whole),
    KT_COLUMN(Values.QuantityCommand, Whole),
    KT_COLUMN(Values.DriverExpand, Whole),
    KT_COLUMN(Values.XAdjust1, Tenths),
};
constexpr WCHAR kHeader[] = TEXT(
    "用紙名,用紙幅,用紙長,用紙間,位置補正,カット位置,カット枚数,カット補正,印刷の向き,部数,最後のカット,")
    TEXT("ディザリング,圧縮して送信,帯状にして送信,印刷の設定,印刷速度,印刷濃度,ヘッド電圧,リソースID,")
        TEXT("枚数コマンド,展開,X補正");
constexpr int kExpectedColumns = 22;
constexpr DWORD kExportShare = 0;
#endif
#undef KT_COLUMN

constexpr int kColumnCount = static_cast<int>(sizeof(kColumns) / sizeof(kColumns[0]));

constexpr int CountFields(const WCHAR* line) {
    int n = 1;
    for (; *line; ++line) {
        n += *line == TEXT(',') ? 1 : 0;
    }
    return n;
}
static_assert(kColumnCount == kExpectedColumns && CountFields(kHeader) == kColumnCount,
              "the header names every column once");

constexpr WCHAR kMutexName[] = TEXT("PaperInfo");
constexpr int kMaxFieldBytes = 1024; // a longer field ends the file

// Holds the "PaperInfo" mutex for the life of the object. A wait that ends because the previous
// owner died (WAIT_ABANDONED) still hands over ownership: a process that died while exporting can
// only have left a file cut short, and the unfinished last line of such a file is never read.
class PaperInfoLock {
  public:
    PaperInfoLock() {
        mutex_ = CreateMutexW(nullptr, FALSE, kMutexName);
        if (mutex_) {
            DWORD wait = WaitForSingleObject(mutex_, INFINITE);
            held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        }
    }
    ~PaperInfoLock() {
        DWORD error = GetLastError(); // the caller reports why its work failed, not the clean-up
        if (held_) {
            ReleaseMutex(mutex_);
        }
        if (mutex_) {
            CloseHandle(mutex_);
        }
        SetLastError(error);
    }
    PaperInfoLock(const PaperInfoLock&) = delete;
    PaperInfoLock& operator=(const PaperInfoLock&) = delete;
    bool Held() const { return held_; }

  private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

class FileHandle {
  public:
    explicit FileHandle(HANDLE file) : file_(file == INVALID_HANDLE_VALUE ? nullptr : file) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    explicit operator bool() const { return file_ != nullptr; }
    HANDLE get() const { return file_; }
    void Close() {
        if (file_) {
            CloseHandle(file_);
            file_ = nullptr;
        }
    }

  private:
    HANDLE file_;
};

LONG GetField(const LABELINFO& label, const Column& column) {
    int32_t value;
    std::memcpy(&value, reinterpret_cast<const BYTE*>(&label) + column.Offset, sizeof(value));
    return value;
}

void SetField(LABELINFO* label, const Column& column, LONG value) {
    int32_t v = static_cast<int32_t>(value);
    std::memcpy(reinterpret_cast<BYTE*>(label) + column.Offset, &v, sizeof(v));
}

// ---- Writing ----

class FileWriter {
  public:
    explicit FileWriter(HANDLE file) : file_(file) {}
    // Pieces are at most one converted name or header (under 1024 bytes), so one always fits.
    void Put(const char* bytes, int len) {
        if (len <= 0) {
            return;
        }
        if (len > static_cast<int>(sizeof(buffer_)) - used_) {
            Flush();
        }
        if (len > static_cast<int>(sizeof(buffer_))) {
            SetLastError(ERROR_INVALID_DATA);
            failed_ = true;
            return;
        }
        std::memcpy(buffer_ + used_, bytes, static_cast<size_t>(len));
        used_ += len;
    }
    // Writes out what is buffered; false once any write has failed or come up short.
    bool Flush() {
        if (used_ > 0 && !failed_) {
            DWORD written = 0;
            BOOL ok = WriteFile(file_, buffer_, static_cast<DWORD>(used_), &written, nullptr);
            if (!ok || written != static_cast<DWORD>(used_)) {
                if (ok) {
                    SetLastError(ERROR_HANDLE_DISK_FULL); // a short write: the medium is full
                }
                failed_ = true;
            }
        }
        used_ = 0;
        return !failed_;
    }

  private:
    HANDLE file_;
    char buffer_[4096];
    int used_ = 0;
    bool failed_ = false;
};

// One formatted field: "%d," for whole numbers; "%d." of |v| / 10 (after a "-" when negative) and
// "%d," of |v| mod 10 for tenths. The last field of a line ends in LF instead of ",".
int FormatNumber(char (&out)[32], ColumnKind kind, LONG value, char end) {
    if (kind == ColumnKind::Tenths) {
        // In 64 bits so that the magnitude of the most negative value does not overflow.
        int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
        return std::snprintf(out, sizeof(out), "%s%d.%d%c", value < 0 ? "-" : "",
                             static_cast<int>(magnitude / 10), static_cast<int>(magnitude % 10), end);
    }
    return std::snprintf(out, sizeof(out), "%d%c", static_cast<int>(value), end);
}

void WriteLabel(FileWriter& out, const LABELINFO& label) {
    for (int c = 0; c < kColumnCount; ++c) {
        const Column& column = kColumns[c];
        char end = c + 1 == kColumnCount ? '\n' : ',';
        if (column.Kind == ColumnKind::Name) {
            // A record from elsewhere may hold a name without its NUL: never read past the field.
            WCHAR name[kLabelNameChars];
            WStrCopy(name, label.Name, kLabelNameChars - 1);
            char bytes[kCp932BufferBytes];
            out.Put(bytes, ToCodePage932(name, bytes));
            out.Put(&end, 1);
        } else {
            char text[32];
            out.Put(text, FormatNumber(text, column.Kind, GetField(label, column), end));
        }
    }
}

bool WriteLabels(const DRVDEVMODE* rec, HANDLE file) {
    FileWriter out(file);
    char header[kCp932BufferBytes];
    out.Put(header, ToCodePage932(kHeader, header));
    out.Put("\n", 1);
    // The count comes with the record and may be anything: never write past the list.
    LONG count = rec->Private.LabelCount;
    count = count < 0 ? 0 : (count > kMaxLabels ? kMaxLabels : count);
    for (LONG i = 0; i < count; ++i) {
        WriteLabel(out, rec->Private.Labels[i]);
    }
    return out.Flush();
}

// ---- Reading ----

class FileReader {
  public:
    explicit FileReader(HANDLE file) : file_(file) {}
    // The next byte, or -1 at the end of the file or once a read has failed.
    int Next() {
        if (pos_ == end_) {
            DWORD got = 0;
            if (ended_) {
                return -1;
            }
            if (!ReadFile(file_, buffer_, sizeof(buffer_), &got, nullptr)) {
                failed_ = true;
                got = 0;
            }
            if (got == 0) {
                ended_ = true;
                return -1;
            }
            pos_ = 0;
            end_ = got > sizeof(buffer_) ? static_cast<DWORD>(sizeof(buffer_)) : got;
        }
        return static_cast<unsigned char>(buffer_[pos_++]);
    }
    bool Failed() const { return failed_; }

  private:
    HANDLE file_;
    char buffer_[4096];
    DWORD pos_ = 0;
    DWORD end_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

enum class FieldEnd { Comma, LineFeed, EndOfFile, TooLong };

struct Field {
    char Bytes[kMaxFieldBytes];
    int Length;
};

FieldEnd ReadField(FileReader& in, Field* field) {
    field->Length = 0;
    for (;;) {
        int c = in.Next();
        if (c < 0) {
            return FieldEnd::EndOfFile;
        }
        if (c == ',') {
            return FieldEnd::Comma;
        }
        if (c == '\n') {
            return FieldEnd::LineFeed;
        }
        if (c == '\r') {
            continue;
        }
        if (field->Length == kMaxFieldBytes) {
            return FieldEnd::TooLong;
        }
        field->Bytes[field->Length++] = static_cast<char>(c);
    }
}

// Numbers in the file may have any number of digits. They are gathered in 64 bits with the
// magnitude capped just past the 32-bit range and then clamped, as atoi does on Windows: a
// run of digits can never overflow, and the most negative value still reads back exactly.
constexpr int64_t kMagnitudeCap = static_cast<int64_t>(INT32_MAX) + 1;

int64_t AppendDigit(int64_t magnitude, char digit) {
    int64_t next = magnitude * 10 + (digit - '0');
    return next > kMagnitudeCap ? kMagnitudeCap : next;
}

LONG Clamp32(int64_t value) {
    return static_cast<LONG>(value < INT32_MIN ? INT32_MIN : (value > INT32_MAX ? INT32_MAX : value));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Leading white space, an optional sign, then digits up to the first other character.
LONG ReadWhole(const Field& field) {
    int i = 0;
    while (i < field.Length &&
           (field.Bytes[i] == ' ' || (field.Bytes[i] >= '\t' && field.Bytes[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < field.Length && (field.Bytes[i] == '-' || field.Bytes[i] == '+')) {
        negative = field.Bytes[i] == '-';
        ++i;
    }
    int64_t magnitude = 0;
    for (; i < field.Length && IsDigit(field.Bytes[i]); ++i) {
        magnitude = AppendDigit(magnitude, field.Bytes[i]);
    }
    return Clamp32(negative ? -magnitude : magnitude);
}

// Every digit is appended, a "." anywhere marks one fraction digit, a "-" anywhere makes the value
// negative, anything else is ignored; without a "." the text is whole millimetres.
LONG ReadTenths(const Field& field) {
    int64_t magnitude = 0;
    bool fraction = false;
    bool negative = false;
    for (int i = 0; i < field.Length; ++i) {
        char c = field.Bytes[i];
        if (IsDigit(c)) {
            magnitude = AppendDigit(magnitude, c);
        } else if (c == '.') {
            fraction = true;
        } else if (c == '-') {
            negative = true;
        }
    }
    if (!fraction) {
        magnitude = magnitude * 10 > kMagnitudeCap ? kMagnitudeCap : magnitude * 10;
    }
    return Clamp32(negative ? -magnitude : magnitude);
}

// Names convert as Windows converts them: a byte that is not code page 932 becomes the default
// character, so a line is never lost over one odd byte. Only a name that comes out empty is unusable:
// it would end the list when the printer's stored copy is read back (that copy is counted up to the
// first nameless entry).
bool ReadName(const Field& field, WCHAR (&name)[kLabelNameChars]) {
    return FromCodePage932(field.Bytes, field.Length, name) > 0;
}

// One line's fields in label form, and how many fields the line had.
struct ParsedLine {
    LABELINFO Label;
    bool NameUsable;
    int Fields; // counts on no further than one past the column count: enough to reject the line
};

// Reads one whole line; false when the file ends first (a last line without LF is not read) or
// a field is too long, which ends the file too.
bool ReadLine(FileReader& in, Field* field, ParsedLine* line) {
    std::memset(line, 0, sizeof(*line));
    FieldEnd end;
    do {
        end = ReadField(in, field);
        if (end == FieldEnd::EndOfFile || end == FieldEnd::TooLong) {
            return false;
        }
        if (line->Fields < kColumnCount) {
            const Column& column = kColumns[line->Fields];
            switch (column.Kind) {
            case ColumnKind::Name:
                line->NameUsable = ReadName(*field, line->Label.Name);
                break;
            case ColumnKind::Whole:
                SetField(&line->Label, column, ReadWhole(*field));
                break;
            case ColumnKind::Tenths:
                SetField(&line->Label, column, ReadTenths(*field));
                break;
            }
        }
        if (line->Fields <= kColumnCount) {
            ++line->Fields;
        }
    } while (end == FieldEnd::Comma);
    return true;
}

bool SkipHeader(FileReader& in, Field* field) {
    for (;;) {
        switch (ReadField(in, field)) {
        case FieldEnd::LineFeed:
            return true;
        case FieldEnd::Comma:
            break;
        default:
            return false;
        }
    }
}

// Copies the fields from Id to the end: the standard and user-defined entries keep their names.
void CopyFromId(LABELINFO* to, const LABELINFO& from) {
    constexpr size_t start = offsetof(LABELINFO, Id);
    std::memcpy(reinterpret_cast<BYTE*>(to) + start, reinterpret_cast<const BYTE*>(&from) + start,
                sizeof(LABELINFO) - start);
}

void StoreLine(DRVDEVMODE* rec, ParsedLine& line) {
    PRIVDEVMODE& p = rec->Private;
    LABELINFO& label = line.Label;
#if defined(KT_PROFILE_B)
    // Variants that cannot expand in the driver never take the setting from a file.
    if (GetModelInfo(rec).ExpandAllowed == 0) {
        label.Values.DriverExpand = 0;
    }
#endif
    if (label.Id == kUserDefinedLabelId) {
        CopyFromId(&p.Labels[1], label);
        p.CustomWidth = MmToTenths(label.Width);
        p.CustomLength = MmToTenths(label.Length);
    } else if (label.Id == kStandardLabelId) {
        CopyFromId(&p.Labels[0], label);
    } else if (line.NameUsable) {
        p.Labels[p.LabelCount++] = label;
    }
}

void ResetLabels(DRVDEVMODE* rec) {
    PRIVDEVMODE& p = rec->Private;
    std::memset(p.Labels, 0, sizeof(p.Labels));
    BuildDefaultLabels(rec);
    p.CustomWidth = MmToTenths(p.Labels[1].Width);
    p.CustomLength = MmToTenths(p.Labels[1].Length);
}

// Returns false when a read failed: what was read up to then may be any part of the file.
bool ReadLabels(DRVDEVMODE* rec, HANDLE file) {
    FileReader in(file);
    Field field;
    if (SkipHeader(in, &field)) {
        ParsedLine line;
        while (rec->Private.LabelCount < kMaxLabels && ReadLine(in, &field, &line)) {
            if (line.Fields == kColumnCount) {
                StoreLine(rec, line);
            }
        }
    }
    return !in.Failed();
}

} // namespace

BOOL ExportLabelFile(const DRVDEVMODE* rec, LPCWSTR path) {
    if (!rec || !path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    PaperInfoLock lock;
    if (!lock.Held()) {
        return FALSE;
    }
    DeleteFileW(path);
    FileHandle file(CreateFileW(path, GENERIC_READ | GENERIC_WRITE, kExportShare, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return FALSE;
    }
    if (!WriteLabels(rec, file.get())) {
        // A half-written file would import as a shorter list without a word; better none at all.
        DWORD error = GetLastError();
        file.Close();
        DeleteFileW(path);
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

BOOL ImportLabelFile(DRVDEVMODE* rec, LPCWSTR path) {
    if (!rec || !path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    PaperInfoLock lock;
    if (!lock.Held()) {
        return FALSE;
    }
    ResetLabels(rec);
    FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BOOL read = FALSE;
    if (file) {
        read = ReadLabels(rec, file.get()) ? TRUE : FALSE;
        if (read) {
            for (int i = 2; i < rec->Private.LabelCount; ++i) {
                AssignLabelId(rec, i);
            }
        } else {
            // A file that could not be read to its end gives no labels rather than an arbitrary part of them.
            DWORD error = GetLastError();
            ResetLabels(rec);
            SetLastError(error);
        }
    }
    // The label shown in the label page must still be in the (possibly shorter) list.
    if (rec->Private.CurrentLabel < 0 || rec->Private.CurrentLabel >= rec->Private.LabelCount) {
        rec->Private.CurrentLabel = 0;
    }
    return read;
}
