// Printer streams read back by the virtual printer, for the variant a test prints on.
#pragma once

#include "bytes.h"

#include "decoder.h"
#include "variant_rows.h"
#include "model_lookup.h"

// The decoder's description of the variant at a model index of this build, placeholder slots included.
inline ktdecode::Variant DecoderVariant(LONG model) {
    return ktdecode::detail::RowVariant(GetVariant(model), kHeadCount == 2 ? 'A' : 'B', kHeadCount);
}

// Decodes a stream printed on the variant at `model`.
inline ktdecode::Result DecodeFor(LONG model, const Bytes& stream) {
    static ktdecode::Variant variants[kVariantCount];
    variants[model] = DecoderVariant(model);
    ktdecode::Options options;
    options.variant = &variants[model];
    return ktdecode::Decode(stream, options);
}

// The kinds of the commands of a decoded stream, in order, as one letter each: R reset, F label format,
// W position and cut, A print settings, h head select, M block header, r row, S print count, 1 print one,
// X final cut. Consecutive rows collapse into one r.
inline std::string CommandLetters(const ktdecode::Result& result) {
    std::string s;
    for (const ktdecode::Command& c : result.commands) {
        char letter = '?';
        switch (c.kind) {
        case ktdecode::CommandKind::Reset:
            letter = 'R';
            break;
        case ktdecode::CommandKind::LabelFormat:
            letter = 'F';
            break;
        case ktdecode::CommandKind::PositionCut:
            letter = 'W';
            break;
        case ktdecode::CommandKind::PrintSettings:
            letter = 'A';
            break;
        case ktdecode::CommandKind::HeadSelect:
            letter = 'h';
            break;
        case ktdecode::CommandKind::BlockHeader:
            letter = 'M';
            break;
        case ktdecode::CommandKind::RawRow:
        case ktdecode::CommandKind::CompressedRow:
            letter = 'r';
            break;
        case ktdecode::CommandKind::PrintCount:
            letter = 'S';
            break;
        case ktdecode::CommandKind::PrintOne:
            letter = '1';
            break;
        case ktdecode::CommandKind::FinalCut:
            letter = 'X';
            break;
        }
        if (letter == 'r' && !s.empty() && s.back() == 'r') {
            continue;
        }
        s += letter;
    }
    return s;
}
