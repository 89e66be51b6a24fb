#include "decoder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <string_view>

#include "fields.h"
#include "rows.h"

namespace ktdecode {

namespace {

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kEtx = 0x03;
// The longest text command the driver writes has 20 characters of fields; anything this long without
// its 03 is a lost end byte, reported near where it went missing rather than at the end of the stream.
constexpr size_t kMaxTextBytes = 64;

struct CommandInfo {
    uint8_t letter;
    CommandKind kind;
    bool expansion;
    const char* name;
};

constexpr CommandInfo kCommands[] = {
    {0x18, CommandKind::Reset, false, "reset 18"},
    {'F', CommandKind::LabelFormat, false, "label format F"},
    {'f', CommandKind::LabelFormat, true, "label format f"},
    {'W', CommandKind::PositionCut, false, "position and cut W"},
    {'A', CommandKind::PrintSettings, false, "print settings A"},
    {'h', CommandKind::HeadSelect, false, "head select h"},
    {'M', CommandKind::BlockHeader, false, "block header M"},
    {'#', CommandKind::BlockHeader, true, "block header #"},
    {'I', CommandKind::RawRow, false, "raw row I"},
    {'$', CommandKind::RawRow, true, "raw row $"},
    {'i', CommandKind::CompressedRow, false, "compressed row i"},
    {'%', CommandKind::CompressedRow, true, "compressed row %"},
    {'S', CommandKind::PrintCount, false, "print count S"},
    {0x0D, CommandKind::PrintOne, false, "print one 0D"},
    {0x12, CommandKind::FinalCut, false, "final cut 12"},
};

const CommandInfo* FindCommand(uint8_t letter) {
    for (const CommandInfo& c : kCommands) {
        if (c.letter == letter) {
            return &c;
        }
    }
    return nullptr;
}

bool IsPrint(CommandKind kind) {
    return kind == CommandKind::PrintCount || kind == CommandKind::PrintOne;
}

bool IsRow(CommandKind kind) {
    return kind == CommandKind::RawRow || kind == CommandKind::CompressedRow;
}

std::string Hex2(int64_t v) {
    char s[24];
    std::snprintf(s, sizeof(s), "%02llX", static_cast<unsigned long long>(v));
    return s;
}

std::string ByteText(uint8_t b) {
    char s[16];
    if (b >= 0x20 && b < 0x7F) {
        std::snprintf(s, sizeof(s), "'%c' (0x%02X)", b, b);
    } else {
        std::snprintf(s, sizeof(s), "0x%02X", b);
    }
    return s;
}

// A length in 0.1 mm as millimetres with one decimal.
std::string Mm(int64_t tenths, bool sign = false) {
    char s[40];
    const int64_t a = tenths < 0 ? -tenths : tenths;
    std::snprintf(s, sizeof(s), "%s%lld.%lld mm", tenths < 0 ? "-" : (sign ? "+" : ""),
                  static_cast<long long>(a / 10), static_cast<long long>(a % 10));
    return s;
}

std::string Num(int64_t v) {
    return std::to_string(v);
}

std::string Plural(int64_t n, const char* one, const char* many) {
    return Num(n) + " " + (n == 1 ? one : many);
}

struct Block {
    int number = 0;
    bool expansion = false;
    size_t headerOffset = 0;
    int64_t x = 0; // head dots
    int64_t y = 0; // feed rows
    int64_t rows = 0;
    int64_t width = 0;
    size_t rowBytes = 0;
    int64_t rowsReceived = 0;
    std::vector<uint8_t> bits;
};

struct Head {
    std::map<int, Block> blocks;
    std::vector<int> sent; // since the last page
};

struct Label {
    bool sized = false;
    int64_t acrossMm = 0;
    int64_t alongMm = 0;
};

class Decoder {
  public:
    Decoder(std::span<const uint8_t> stream, const Options& options, const Variant& variant,
            Observer* observer, Result& result)
        : data_(stream), caps_(options.caps), variant_(variant), observer_(observer), result_(result),
          heads_(static_cast<size_t>(variant.headCount)) {}

    void Run() {
        bool ok = Commands();
        ClosePage();
        if (ok && open_) {
            const Block& b = OpenBlock();
            ok = Fail(data_.size(), "row " + Num(b.rowsReceived + 1) + " of " + Num(b.rows) + " of block " +
                                        Hex2(b.number) + "; the stream ends");
        }
        result_.ok = ok;
        for (size_t h = 0; h < heads_.size(); ++h) {
            if (heads_[h].sent.empty()) {
                continue;
            }
            std::string list;
            for (int b : heads_[h].sent) {
                list += " " + Hex2(b);
            }
            result_.warnings.push_back(
                {unprintedFrom_, "image data after the last print command was not printed: head " +
                                     Num(static_cast<int64_t>(h) + 1) + " blocks" + list});
        }
    }

  private:
    bool Commands() {
        size_t p = 0;
        while (p < data_.size()) {
            commandOffset_ = p;
            commandName_.clear();
            if (data_[p] != kStx) {
                return Fail(p, "02 starting a command, found " + ByteText(data_[p]));
            }
            if (p + 1 >= data_.size()) {
                return Fail(p + 1, "a command byte after 02; the stream ends");
            }
            const CommandInfo* info = FindCommand(data_[p + 1]);
            if (!info) {
                return Fail(p + 1, "a command byte (18 F f W A h M # I $ i % S 0D 12), found " +
                                       ByteText(data_[p + 1]));
            }
            commandName_ = info->name;
            if (!IsPrint(info->kind)) {
                ClosePage();
            }
            if (open_ && !IsRow(info->kind)) {
                const Block& b = OpenBlock();
                return Fail(p, "row " + Num(b.rowsReceived + 1) + " of " + Num(b.rows) + " of block " +
                                   Hex2(b.number) + ", found " + info->name);
            }
            Command c;
            c.offset = p;
            c.kind = info->kind;
            c.letter = info->letter;
            c.expansion = info->expansion;
            size_t end = 0;
            if (!One(*info, c, end)) {
                return false;
            }
            c.size = end - p;
            if (IsPrint(info->kind)) {
                lastPrintEnd_ = end;
            }
            Report(c);
            p = end;
        }
        return true;
    }

    bool One(const CommandInfo& info, Command& c, size_t& end) {
        switch (info.kind) {
        case CommandKind::Reset:
            if (!ControlEnd(end)) {
                return false;
            }
            ClearBlocks();
            c.text = "reset";
            return true;
        case CommandKind::LabelFormat:
            return LabelFormat(info, c, end);
        case CommandKind::PositionCut:
            return PositionCut(c, end);
        case CommandKind::PrintSettings:
            return PrintSettings(c, end);
        case CommandKind::HeadSelect:
            return HeadSelect(c, end);
        case CommandKind::BlockHeader:
            return BlockHeader(info, c, end);
        case CommandKind::RawRow:
        case CommandKind::CompressedRow:
            return Row(info, c, end);
        case CommandKind::PrintCount:
            return PrintCount(c, end);
        case CommandKind::PrintOne:
            if (!ControlEnd(end) || !Print(1)) {
                return false;
            }
            c.text = "print one";
            return true;
        case CommandKind::FinalCut:
            if (!ControlEnd(end)) {
                return false;
            }
            c.text = "final cut";
            return true;
        }
        return false;
    }

    // --- framing

    bool ControlEnd(size_t& end) {
        const size_t at = commandOffset_ + 2;
        if (at >= data_.size()) {
            return Fail(at, "03 after the command byte; the stream ends");
        }
        if (data_[at] != kEtx) {
            return Fail(at, "03 after the command byte, found " + ByteText(data_[at]));
        }
        end = at + 1;
        return true;
    }

    // The fields of a text command, up to its 03. Every byte must be one of `alphabet` (`what` names it).
    bool Text(std::string_view alphabet, const char* what, std::string_view& text, size_t& end) {
        const size_t start = commandOffset_ + 2;
        for (size_t i = start;; ++i) {
            if (i >= data_.size()) {
                return Fail(i, "03 ending the command; the stream ends");
            }
            const uint8_t b = data_[i];
            if (b == kEtx) {
                text = std::string_view(reinterpret_cast<const char*>(data_.data()) + start, i - start);
                end = i + 1;
                return true;
            }
            if (i - start >= kMaxTextBytes) {
                return Fail(i, "03 within " + Num(kMaxTextBytes) + " bytes of fields, found " + ByteText(b));
            }
            if (alphabet.find(static_cast<char>(b)) == std::string_view::npos) {
                return Fail(i, std::string(what) + " or the 03 ending the command, found " + ByteText(b));
            }
        }
    }

    // The reading of `text` as `layouts`; no reading at all is a fault naming `format`. The driver writes
    // a value wider than its field in full, so a command's digits may split more than one way: the printer
    // cannot tell which was meant and takes the command without its values, `values` is left empty and
    // the stream carries on, with a warning.
    bool Fields(std::string_view text, std::span<const FieldLayout> layouts, const char* format,
                std::vector<int64_t>& values) {
        auto found = SplitsWhere(text, layouts, [](std::span<const int64_t>) { return true; });
        if (found.size() == 1) {
            values = found[0];
            return true;
        }
        if (found.empty()) {
            return Fail(commandOffset_ + 2,
                        std::string("fields ") + format + ", found '" + std::string(text) + "'");
        }
        auto reading = [](std::span<const int64_t> fields) {
            std::string s;
            for (int64_t v : fields) {
                s += (s.empty() ? "" : " ") + Num(v);
            }
            return s;
        };
        result_.warnings.push_back(
            {commandOffset_ + 2, "fields " + std::string(format) + " '" + std::string(text) + "' read as " +
                                     reading(found[0]) + " and as " + reading(found[1]) +
                                     "; taken without their values"});
        values.clear();
        return true;
    }

    // --- job commands

    bool LabelFormat(const CommandInfo& info, Command& c, size_t& end) {
        std::string_view text;
        if (!Text("0123456789-", "a digit", text, end)) {
            return false;
        }
        const size_t start = commandOffset_ + 2;
        if (text.size() < 2 || text.substr(0, 2) != "00") {
            return Fail(start,
                        "\"00\" after the command letter, found '" + std::string(text.substr(0, 2)) + "'");
        }
        if (text.size() < 7 || text.substr(text.size() - 2) != "80") {
            return Fail(end - 1,
                        "fields and the constant \"80\" before 03, found '" + std::string(text) + "'");
        }
        const std::string_view middle = text.substr(2, text.size() - 4);
        static constexpr FieldLayout kSized[] = {{"width", FieldFormat::Decimal, 3},
                                                 {"length", FieldFormat::Decimal, 3},
                                                 {"gap", FieldFormat::Decimal, 3}};
        static constexpr FieldLayout kGap[] = {{"gap", FieldFormat::Decimal, 3}};
        auto sized = SplitsWhere(middle, kSized, [](std::span<const int64_t>) { return true; });
        // The driver writes each size with "%03d", so a size of 1000 mm or more takes four digits and the
        // fields may split more than one way. The printer cannot tell which was meant; the label is then
        // read as one without a size, the extent of its blocks, and the stream carries on.
        bool ambiguous = false;
        if (sized.size() > 1) {
            ambiguous = true;
            result_.warnings.push_back({start + 2, "label format '" + std::string(middle) + "' reads as " +
                                                       Num(sized[0][0]) + " " + Num(sized[0][1]) + " " +
                                                       Num(sized[0][2]) + " and as " + Num(sized[1][0]) +
                                                       " " + Num(sized[1][1]) + " " + Num(sized[1][2]) +
                                                       " (W L G); the label is taken without a size"});
        }
        Label label;
        int64_t gap = 0;
        if (ambiguous) {
            c.fields.clear();
        } else if (sized.size() == 1) {
            label.sized = true;
            label.acrossMm = sized[0][0];
            label.alongMm = sized[0][1];
            gap = sized[0][2];
            c.fields = sized[0];
        } else if (ReadField(middle, kGap[0], gap)) {
            c.fields = {gap};
        } else {
            return Fail(start + 2, "width, length and gap (\"%03d\" each), or the gap alone, found '" +
                                       std::string(middle) + "'");
        }
        if (label.acrossMm < 0 || label.alongMm < 0) {
            return Fail(start + 2, "a label size of 0 mm or more, found " + Num(label.acrossMm) + " x " +
                                       Num(label.alongMm) + " mm");
        }
        if (label.sized) {
            const int64_t across = MmToDots(label.acrossMm);
            const int64_t along = MmToDots(label.alongMm);
            if (!WithinLabelCap(across, along)) {
                return Fail(start + 2, "a label of at most " + Num(caps_.maxLabelDots) + " dots, found " +
                                           Num(label.acrossMm) + " x " + Num(label.alongMm) + " mm (" +
                                           Num(across) + " x " + Num(along) + " dots)");
            }
        }
        ClearBlocks();
        label_ = label;
        expansion_ = info.expansion;
        c.sized = label.sized;
        c.text = std::string("label format") + (info.expansion ? ", driver expansion" : "") + ": ";
        if (label.sized) {
            c.text +=
                Num(label.acrossMm) + " x " + Num(label.alongMm) + " mm (across x along), gap " + Mm(gap);
        } else if (ambiguous) {
            c.text += "size and gap read more than one way, no size (the label is the blocks' extent)";
        } else {
            c.text += "gap " + Mm(gap) + ", no size (the label is the blocks' extent)";
        }
        return true;
    }

    bool PositionCut(Command& c, size_t& end) {
        std::string_view text;
        if (!Text("0123456789+-", "a digit or sign", text, end)) {
            return false;
        }
        static constexpr FieldLayout kLayout[] = {{"position", FieldFormat::Signed, 4},
                                                  {"cut position", FieldFormat::Signed, 4},
                                                  {"cut count", FieldFormat::Decimal, 2},
                                                  {"cut adjust", FieldFormat::Decimal, 2}};
        if (!Fields(text, kLayout, "P C N K (\"%+04d%+04d%02d%02d\")", c.fields)) {
            return false;
        }
        if (c.fields.empty()) {
            c.text = "position and cut: read more than one way, no values";
            return true;
        }
        c.text = "position and cut: position " + Mm(c.fields[0], true) + ", cut position " +
                 Mm(c.fields[1], true) + ", cut count " + Num(c.fields[2]) + ", cut adjust " +
                 Num(c.fields[3]);
        return true;
    }

    bool PrintSettings(Command& c, size_t& end) {
        std::string_view text;
        if (!Text("0123456789-", "a digit", text, end)) {
            return false;
        }
        static constexpr FieldLayout kTwoHeads[] = {{"speed", FieldFormat::Decimal, 2},
                                                    {"density 1", FieldFormat::Decimal, 2},
                                                    {"voltage 1", FieldFormat::Decimal, 2},
                                                    {"density 2", FieldFormat::Decimal, 2},
                                                    {"voltage 2", FieldFormat::Decimal, 2}};
        const bool two = variant_.headCount == 2;
        std::span<const FieldLayout> layouts(kTwoHeads, two ? 5 : 3);
        if (!Fields(text, layouts, two ? "S D1 V1 D2 V2 (\"%02d\" each)" : "S D V (\"%02d\" each)",
                    c.fields)) {
            return false;
        }
        if (c.fields.empty()) {
            c.text = "print settings: read more than one way, no values";
            return true;
        }
        c.text = "print settings: speed " + Num(c.fields[0]);
        if (two) {
            c.text += ", head 1 density " + Num(c.fields[1]) + " voltage " + Num(c.fields[2]) +
                      ", head 2 density " + Num(c.fields[3]) + " voltage " + Num(c.fields[4]);
        } else {
            c.text += ", density " + Num(c.fields[1]) + ", voltage " + Num(c.fields[2]);
        }
        return true;
    }

    bool HeadSelect(Command& c, size_t& end) {
        if (variant_.headCount < 2) {
            return Fail(commandOffset_ + 1, std::string("a command of a one-head printer (") + variant_.name +
                                                " takes no head select)");
        }
        std::string_view text;
        if (!Text("0123456789", "a digit", text, end)) {
            return false;
        }
        if (text != "1" && text != "2") {
            return Fail(commandOffset_ + 2, "head 1 or 2, found '" + std::string(text) + "'");
        }
        head_ = text[0] - '0';
        c.fields = {head_};
        c.text = "head select: head " + Num(head_);
        return true;
    }

    // --- image blocks

    int64_t MmToDots(int64_t mm) const { return TenthsToDots(mm * 10, variant_); }

    // Each side and the area within the cap (and within an int, as images hold their sides).
    bool WithinLabelCap(int64_t width, int64_t height) const {
        const int64_t cap = std::min<int64_t>(caps_.maxLabelDots, INT32_MAX);
        return width >= 0 && height >= 0 && width <= cap && height <= cap &&
               (width == 0 || height <= cap / width);
    }

    size_t HeadIndex() const { return variant_.headCount == 1 ? 0 : static_cast<size_t>(head_ - 1); }

    bool BlockHeader(const CommandInfo& info, Command& c, size_t& end) {
        if (variant_.headCount == 2 && head_ == 0) {
            return Fail(commandOffset_, "a head select (h1 or h2) before the first image block");
        }
        if (expansion_ && *expansion_ != info.expansion) {
            return Fail(commandOffset_ + 1, std::string("a block header '") + (*expansion_ ? "#" : "M") +
                                                "', as the label format '" + (*expansion_ ? "f" : "F") +
                                                "' asks, found " + ByteText(info.letter));
        }
        std::string_view text;
        if (!Text("0123456789ABCDEF-", "a hex digit or minus sign", text, end)) {
            return false;
        }
        const size_t start = commandOffset_ + 2;
        if (text.empty() || text.back() != '0') {
            return Fail(end - 1, "the constant \"0\" before 03, found '" + std::string(text) + "'");
        }
        const std::string_view body = text.substr(0, text.size() - 1);
        static constexpr FieldLayout kLayout[] = {{"B", FieldFormat::Hex, 2},
                                                  {"X", FieldFormat::Decimal, 4},
                                                  {"Y", FieldFormat::Decimal, 4},
                                                  {"R", FieldFormat::Decimal, 4},
                                                  {"D", FieldFormat::Decimal, 4}};
        const int64_t step = info.expansion ? variant_.blockRows : variant_.blockStep;
        auto found = SplitsWhere(body, kLayout, [step](std::span<const int64_t> v) {
            return v[0] >= 1 && v[2] == (v[0] - 1) * step && v[3] >= 1 && v[4] >= 1;
        });
        const std::string rule = "B X Y R D (\"%02X%04d%04d%04d%04d\") with Y = (B - 1) x " + Num(step) +
                                 " and B, R, D at least 1";
        if (found.empty()) {
            return Fail(start, rule + ", found '" + std::string(body) + "'");
        }
        if (found.size() > 1) {
            auto reading = [](const std::vector<int64_t>& v) {
                return "B " + Hex2(v[0]) + " X " + Num(v[1]) + " Y " + Num(v[2]) + " R " + Num(v[3]) + " D " +
                       Num(v[4]);
            };
            return Fail(start, "one reading of " + rule + ", found '" + std::string(body) +
                                   "', which reads as " + reading(found[0]) + " and as " + reading(found[1]));
        }
        const std::vector<int64_t>& v = found[0];
        if (v[0] > caps_.maxBlockNumber) {
            return Fail(start,
                        "a block number up to " + Hex2(caps_.maxBlockNumber) + ", found " + Hex2(v[0]));
        }
        const size_t rowBytes = static_cast<size_t>((v[4] + 7) / 8);
        const int64_t bytes = v[3] * static_cast<int64_t>(rowBytes);
        if (bytes > caps_.maxBlockBytes) {
            return Fail(start, "a block of at most " + Num(caps_.maxBlockBytes) + " bytes, found " +
                                   Num(v[3]) + " rows of " + Num(static_cast<int64_t>(rowBytes)) + " bytes");
        }
        Head& head = heads_[HeadIndex()];
        const int number = static_cast<int>(v[0]);
        auto old = head.blocks.find(number);
        const int64_t kept =
            keptBytes_ - (old == head.blocks.end() ? 0 : static_cast<int64_t>(old->second.bits.size()));
        if (kept + bytes > caps_.maxKeptBytes) {
            return Fail(start, "image blocks of at most " + Num(caps_.maxKeptBytes) + " bytes kept, found " +
                                   Num(kept + bytes));
        }
        Block b;
        b.number = number;
        b.expansion = info.expansion;
        b.headerOffset = commandOffset_;
        b.x = info.expansion ? v[1] : TenthsToDots(v[1], variant_);
        b.y = info.expansion ? v[2] : TenthsToDots(v[2], variant_);
        b.rows = v[3];
        b.width = v[4];
        b.rowBytes = rowBytes;
        b.bits.assign(static_cast<size_t>(bytes), 0);
        keptBytes_ = kept + bytes;
        head.blocks[number] = std::move(b);
        if (NothingUnprinted()) {
            unprintedFrom_ = commandOffset_;
        }
        head.sent.push_back(number);
        open_ = true;
        openNumber_ = number;

        c.fields = v;
        c.head = head_ == 0 ? 1 : head_;
        c.block = number;
        const char* unit = info.expansion ? " dots" : "";
        c.text = "block " + Hex2(number) + (variant_.headCount == 2 ? " of head " + Num(head_) : "") +
                 ": X " + (info.expansion ? Num(v[1]) + unit : Mm(v[1])) + ", Y " +
                 (info.expansion ? Num(v[2]) + unit : Mm(v[2])) + ", " + Plural(v[3], "row", "rows") +
                 " of " + Plural(v[4], "dot", "dots") + " (" +
                 Plural(static_cast<int64_t>(rowBytes), "byte", "bytes") + " a row)";
        return true;
    }

    Block& OpenBlock() { return heads_[HeadIndex()].blocks.at(openNumber_); }

    bool NothingUnprinted() const {
        return std::all_of(heads_.begin(), heads_.end(), [](const Head& h) { return h.sent.empty(); });
    }

    bool Row(const CommandInfo& info, Command& c, size_t& end) {
        if (!open_) {
            return Fail(commandOffset_, "a block header before image rows; no block is open");
        }
        Block& b = OpenBlock();
        const std::string where =
            "row " + Num(b.rowsReceived + 1) + " of " + Num(b.rows) + " of block " + Hex2(b.number);
        if (b.expansion != info.expansion) {
            return Fail(commandOffset_ + 1, std::string("a row letter of the block's kind (") +
                                                (b.expansion ? "'$' or '%'" : "'I' or 'i'") + " for " +
                                                where + "), found " + ByteText(info.letter));
        }
        const std::string number = Hex2(b.number);
        size_t q = commandOffset_ + 2;
        for (size_t i = 0; i < number.size(); ++i, ++q) {
            if (q >= data_.size()) {
                return Fail(q, "block number " + number + " (" + where + "); the stream ends");
            }
            if (data_[q] != static_cast<uint8_t>(number[i])) {
                return Fail(commandOffset_ + 2, "block number " + number + " (" + where + "), found " +
                                                    ByteText(data_[commandOffset_ + 2 + i]) +
                                                    " at its character " + Num(static_cast<int64_t>(i) + 1));
            }
        }
        int mode = 0;
        size_t count = 0;
        size_t size = b.rowBytes;
        if (info.kind == CommandKind::CompressedRow) {
            if (q >= data_.size()) {
                return Fail(q, "the mode digit 1, 2 or 3; the stream ends");
            }
            if (data_[q] < '1' || data_[q] > '3') {
                return Fail(q, "the mode digit 1, 2 or 3, found " + ByteText(data_[q]));
            }
            mode = data_[q] - '0';
            if (q + 2 >= data_.size()) {
                return Fail(data_.size(), "the 2-byte count after the mode digit; the stream ends");
            }
            count = data_[q + 1] | (static_cast<size_t>(data_[q + 2]) << 8);
            size = mode == 1 ? count : (count + 7) / 8;
            q += 3;
        }
        const std::string what =
            mode == 0 ? Plural(static_cast<int64_t>(size), "row byte", "row bytes") + " of block " + number +
                            " (" + Plural(b.width, "dot", "dots") + ")"
                      : Plural(static_cast<int64_t>(size), "coded byte", "coded bytes") + " (mode " +
                            Num(mode) + ", count " + Num(static_cast<int64_t>(count)) + ")";
        if (q + size >= data_.size()) {
            return Fail(data_.size(), what + " and 03; the stream ends after " +
                                          Num(static_cast<int64_t>(data_.size() - q)) + " of them");
        }
        if (data_[q + size] != kEtx) {
            return Fail(q + size,
                        "03 after the " + what + ", found " + ByteText(data_[q + size]) + ShortHint(q, size));
        }
        end = q + size + 1;
        const std::span<const uint8_t> coded = data_.subspan(q, size);
        std::span<uint8_t> row(b.bits.data() + static_cast<size_t>(b.rowsReceived) * b.rowBytes, b.rowBytes);
        std::optional<RowFault> fault;
        if (mode == 0) {
            std::copy(coded.begin(), coded.end(), row.begin());
        } else if (mode == 1) {
            fault = DecodeByteRuns(coded, row);
        } else {
            fault = DecodeRunCodes(coded, count, mode == 3, row);
        }
        if (fault) {
            std::fill(row.begin(), row.end(), uint8_t{0});
            return Fail(q + std::min(fault->at, size),
                        "a row that fills block " + number + "'s " +
                            Plural(static_cast<int64_t>(b.rowBytes), "byte", "bytes") + " exactly (" + where +
                            "): " + fault->what);
        }
        c.head = head_ == 0 ? 1 : head_;
        c.block = b.number;
        c.row = static_cast<int>(b.rowsReceived);
        c.mode = mode;
        c.count = count;
        c.dataOffset = q;
        c.dataSize = size;
        c.fields = {b.number};
        c.text = "row " + Num(b.rowsReceived + 1) + " of block " + number + ": ";
        if (mode == 0) {
            c.text += "raw, " + Plural(static_cast<int64_t>(size), "byte", "bytes");
        } else if (mode == 1) {
            c.text += "mode 1, " + Plural(static_cast<int64_t>(count), "item byte", "item bytes");
        } else {
            c.text += "mode " + Num(mode) + ", " + Plural(static_cast<int64_t>(count), "bit", "bits") +
                      " -> " + Plural(static_cast<int64_t>(size), "byte", "bytes");
        }
        rowDots_ = row;
        if (++b.rowsReceived == b.rows) {
            open_ = false;
        }
        return true;
    }

    // Where the row's bytes hold a 03 followed by a 02, the row was probably sent that much short.
    std::string ShortHint(size_t start, size_t size) const {
        for (size_t i = start + size; i-- > start;) {
            if (data_[i] == kEtx && (i + 1 == data_.size() || data_[i + 1] == kStx)) {
                return " (a 03 then 02 at byte " + Num(static_cast<int64_t>(i)) + ": the row may be " +
                       Plural(static_cast<int64_t>(start + size - i), "byte", "bytes") + " short)";
            }
        }
        return "";
    }

    // --- pages

    bool PrintCount(Command& c, size_t& end) {
        std::string_view text;
        if (!Text("0123456789-", "a digit", text, end)) {
            return false;
        }
        static constexpr FieldLayout kLayout[] = {{"Q", FieldFormat::Decimal, 4}};
        if (!Fields(text, kLayout, "Q (\"%04d\")", c.fields)) { // one field reads one way only
            return false;
        }
        if (c.fields[0] < 0) {
            return Fail(commandOffset_ + 2, "a print count of 0 or more, found " + Num(c.fields[0]));
        }
        if (!Print(c.fields[0])) {
            return false;
        }
        c.text = "print count: " + Num(c.fields[0]);
        return true;
    }

    bool Print(int64_t copies) {
        if (!pageOpen_) {
            if (!OpenPage()) {
                return false;
            }
        }
        page_.copies += copies;
        return true;
    }

    bool OpenPage() {
        Page page;
        page.number = static_cast<int>(result_.pages.size()) + 1;
        page.firstByte = pageStart_;
        page.sized = label_.sized;
        int64_t width = 0;
        int64_t height = 0;
        if (label_.sized) {
            width = MmToDots(label_.acrossMm);
            height = MmToDots(label_.alongMm);
            page.originX = TenthsToDots((variant_.maxWidth - label_.acrossMm * 10) / 2, variant_);
        } else {
            bool any = false;
            int64_t left = 0, right = 0, bottom = 0;
            for (const Head& h : heads_) {
                for (const auto& [n, b] : h.blocks) {
                    left = any ? std::min(left, b.x) : b.x;
                    right = any ? std::max(right, b.x + b.width) : b.x + b.width;
                    bottom = any ? std::max(bottom, b.y + b.rows) : b.y + b.rows;
                    any = true;
                }
            }
            page.originX = left;
            width = right - left;
            height = bottom;
        }
        if (!WithinLabelCap(width, height)) {
            return Fail(commandOffset_, "a label of at most " + Num(caps_.maxLabelDots) +
                                            " dots, found the blocks' extent of " + Num(width) + " x " +
                                            Num(height) + " dots");
        }
        const int64_t dots = width * height;
        if (!observer_) {
            resultDots_ += dots * static_cast<int64_t>(heads_.size());
            if (resultDots_ > caps_.maxResultDots) {
                return Fail(commandOffset_, "label images of at most " + Num(caps_.maxResultDots) +
                                                " dots kept in all, found " + Num(resultDots_) + " by page " +
                                                Num(page.number));
            }
        }
        for (Head& h : heads_) {
            HeadPage hp;
            hp.blocksSent = std::move(h.sent);
            h.sent.clear();
            hp.image.width = static_cast<int>(width);
            hp.image.height = static_cast<int>(height);
            hp.image.dots.assign(static_cast<size_t>(dots), 0);
            for (const auto& [n, b] : h.blocks) {
                Draw(b, page, hp);
            }
            page.heads.push_back(std::move(hp));
        }
        page_ = std::move(page);
        pageOpen_ = true;
        return true;
    }

    void Draw(const Block& b, const Page& page, HeadPage& hp) {
        Image& img = hp.image;
        int64_t dropped = 0;
        for (int64_t r = 0; r < b.rows; ++r) {
            const uint8_t* row = b.bits.data() + static_cast<size_t>(r) * b.rowBytes;
            const int64_t y = b.y + r - page.originY;
            for (size_t j = 0; j < b.rowBytes; ++j) {
                if (row[j] == 0) {
                    continue;
                }
                for (int bit = 0; bit < 8; ++bit) {
                    const int64_t k = static_cast<int64_t>(j) * 8 + bit;
                    if (k >= b.width || !(row[j] & (0x80 >> bit))) {
                        continue;
                    }
                    const int64_t x = b.x + k - page.originX;
                    if (x < 0 || y < 0 || x >= img.width || y >= img.height) {
                        ++dropped;
                    } else {
                        img.dots[static_cast<size_t>(y) * img.width + static_cast<size_t>(x)] = 1;
                    }
                }
            }
        }
        if (dropped) {
            hp.droppedDots += dropped;
            hp.blocksWithDrops.push_back(b.number);
        }
    }

    void ClosePage() {
        if (!pageOpen_) {
            return;
        }
        pageOpen_ = false;
        page_.bytes = lastPrintEnd_ - page_.firstByte;
        pageStart_ = lastPrintEnd_;
        if (observer_) {
            observer_->OnPage(page_);
            for (HeadPage& hp : page_.heads) {
                hp.image.dots = {};
            }
        }
        result_.pages.push_back(std::move(page_));
        page_ = Page{};
    }

    // --- state

    void ClearBlocks() {
        for (Head& h : heads_) {
            h.blocks.clear();
            h.sent.clear();
        }
        keptBytes_ = 0;
        head_ = 0;
        open_ = false;
    }

    void Report(Command& c) {
        if (observer_) {
            observer_->OnCommand(c, IsRow(c.kind) ? std::span<const uint8_t>(rowDots_)
                                                  : std::span<const uint8_t>());
        } else {
            result_.commands.push_back(std::move(c));
        }
    }

    bool Fail(size_t at, std::string expected) {
        result_.error.offset = at;
        result_.error.commandOffset = commandOffset_;
        result_.error.command = commandName_;
        result_.error.expected = std::move(expected);
        return false;
    }

    std::span<const uint8_t> data_;
    const Caps caps_;
    const Variant& variant_;
    Observer* observer_;
    Result& result_;

    std::vector<Head> heads_;
    int head_ = 0; // selected head, 0 before the first head select
    Label label_;
    std::optional<bool> expansion_; // the label format's letter
    int64_t keptBytes_ = 0;
    bool open_ = false; // a block header came whose rows have not all arrived
    int openNumber_ = 0;
    std::span<const uint8_t> rowDots_;

    bool pageOpen_ = false;
    Page page_;
    size_t pageStart_ = 0;
    size_t lastPrintEnd_ = 0;
    size_t unprintedFrom_ = 0;
    int64_t resultDots_ = 0;

    size_t commandOffset_ = 0;
    std::string commandName_;
};

Result Run(std::span<const uint8_t> stream, const Options& options, Observer* observer) {
    Result result;
    result.variant = options.variant ? options.variant : FindVariant(options.model);
    if (!result.variant) {
        std::string names;
        for (const Variant& v : Variants()) {
            names += (names.empty() ? "" : ", ") + std::string(v.name);
        }
        result.error.expected = "a model name (" + names + "), found '" + options.model + "'";
        return result;
    }
    if (stream.size() > options.caps.maxStreamBytes) {
        result.error.offset = options.caps.maxStreamBytes;
        result.error.expected =
            "a stream of at most " + Num(static_cast<int64_t>(options.caps.maxStreamBytes)) + " bytes";
        return result;
    }
    Decoder(stream, options, *result.variant, observer, result).Run();
    return result;
}

} // namespace

std::string Error::Message() const {
    std::string s = "byte " + Num(static_cast<int64_t>(offset));
    if (!command.empty()) {
        s += ", in " + command + " at byte " + Num(static_cast<int64_t>(commandOffset));
    }
    return s + ": expected " + expected;
}

std::vector<std::string> ImageRows(const Image& image, char dot, char blank) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height; ++y) {
        std::string row(static_cast<size_t>(image.width), blank);
        for (int x = 0; x < image.width; ++x) {
            if (image.At(x, y)) {
                row[static_cast<size_t>(x)] = dot;
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

Result Decode(std::span<const uint8_t> stream, const Options& options) {
    return Run(stream, options, nullptr);
}

Result Decode(std::span<const uint8_t> stream, const Options& options, Observer& observer) {
    return Run(stream, options, &observer);
}

} // namespace ktdecode
