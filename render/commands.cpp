#include "commands.h"

namespace {

constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;

// One command being put together. Numeric fields follow the C formatting conventions the printer was
// built around (a value wider than its field is written in full, never clipped), through a 32-byte
// scratch text as any 32-bit value fits in it.
class Command {
  public:
    explicit Command(char code) {
        Byte(kStx);
        Byte(code);
    }
    Command& Byte(char c) {
        if (size_ < sizeof(text_)) {
            text_[size_++] = c;
        }
        return *this;
    }
    Command& Text(const char* literal) {
        while (*literal) {
            Byte(*literal++);
        }
        return *this;
    }
    Command& Dec1(LONG v) { return Field(v, 1, false, 10); }
    Command& Dec2(LONG v) { return Field(v, 2, false, 10); }
    Command& Dec3(LONG v) { return Field(v, 3, false, 10); }
    Command& Dec4(LONG v) { return Field(v, 4, false, 10); }
    Command& Signed4(LONG v) { return Field(v, 4, true, 10); }
    Command& Hex2(int v) { return Field(static_cast<unsigned>(v), 2, false, 16); }

    // Appends what has been put together so far.
    void Emit(OutputBuffer& out) {
        out.Append(text_, size_);
        size_ = 0;
    }
    void End(OutputBuffer& out) {
        Byte(kEtx);
        Emit(out);
    }

  private:
    // As printf's "%0Nd", "%+0Nd" and "%0NX": at least `width` characters, the sign counted, zero-padded;
    // a value that needs more is written in full. Hexadecimal is taken unsigned, as printf takes it.
    Command& Field(long long v, int width, bool sign, unsigned base) {
        char scratch[32];
        int n = 0;
        unsigned long long magnitude = base == 16 ? static_cast<unsigned long long>(static_cast<unsigned>(v))
                                       : v < 0    ? 0ULL - static_cast<unsigned long long>(v)
                                                  : static_cast<unsigned long long>(v);
        do {
            scratch[n++] = "0123456789ABCDEF"[magnitude % base];
            magnitude /= base;
        } while (magnitude);
        const bool negative = base == 10 && v < 0;
        const int signs = negative || sign ? 1 : 0;
        if (negative) {
            Byte('-');
        } else if (sign) {
            Byte('+');
        }
        for (int pad = n + signs; pad < width; ++pad) {
            Byte('0');
        }
        while (n > 0) {
            Byte(scratch[--n]);
        }
        return *this;
    }

    char text_[96];
    size_t size_ = 0;
};

void WriteEtx(OutputBuffer& out) {
    const char etx = kEtx;
    out.Append(&etx, 1);
}

} // namespace

void WriteReset(OutputBuffer& out) {
    Command(0x18).End(out);
}

void WriteLabelFormat(OutputBuffer& out, const LABELFORMAT& format) {
    Command c(format.DriverExpand ? 'f' : 'F');
    c.Text("00");
    switch (format.Rotation) {
    case 0:
    case 2:
        c.Dec3(format.WidthMm).Dec3(format.LengthMm);
        break;
    case 1:
    case 3:
        // Turned by a quarter, the printer measures the label the other way round.
        c.Dec3(format.LengthMm).Dec3(format.WidthMm);
        break;
    default:
        break;
    }
    c.Dec3(format.Gap).Text("80").End(out);
}

void WritePositionAndCut(OutputBuffer& out, const POSITIONCUT& values) {
    Command('W')
        .Signed4(values.PositionAdjust)
        .Signed4(values.CutPosition)
        .Dec2(values.CutCount)
        .Dec2(values.CutAdjust)
        .End(out);
}

void WritePrintSettings(OutputBuffer& out, const PRINTSETTINGS& settings) {
    Command c('A');
    c.Dec2(settings.Speed);
    for (int head = 0; head < kHeadCount; ++head) {
        c.Dec2(settings.Density[head]).Dec2(settings.Voltage[head]);
    }
    c.End(out);
}

void WriteHeadSelect(OutputBuffer& out, int head) {
    Command('h').Dec1(head).End(out);
}

void WriteBlockHeader(OutputBuffer& out, bool driverExpand, int block, LONG x, LONG y, LONG rows,
                      LONG width) {
    Command(driverExpand ? '#' : 'M').Hex2(block).Dec4(x).Dec4(y).Dec4(rows).Dec4(width).Text("0").End(out);
}

void WriteRawRow(OutputBuffer& out, bool driverExpand, int block, const BYTE* row, size_t bytes) {
    Command(driverExpand ? '$' : 'I').Hex2(block).Emit(out);
    out.Append(row, bytes);
    WriteEtx(out);
}

void WriteCompressedRow(OutputBuffer& out, bool driverExpand, int block, char coding, const BYTE* coded,
                        size_t bytes) {
    Command(driverExpand ? '%' : 'i').Hex2(block).Byte(coding).Emit(out);
    out.Append(coded, bytes);
    WriteEtx(out);
}

void WritePrintCount(OutputBuffer& out, LONG copies) {
    Command('S').Dec4(copies).End(out);
}

void WritePrintOne(OutputBuffer& out) {
    Command(0x0D).End(out);
}

void WriteFinalCut(OutputBuffer& out) {
    Command(0x12).End(out);
}
