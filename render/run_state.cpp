#include "run_state.h"

#include <cstdint>
#include <cstring>

namespace {

// Profile A keeps two reserved words in front of the flag; profile B has room for the flag and one
// address only.
constexpr size_t kFirstPageFlagAt = kHeadCount == 2 ? 8 : 0;
constexpr size_t kCompareBufferAt = kFirstPageFlagAt + sizeof(DWORD);
static_assert(kCompareBufferAt + 2 * sizeof(DWORD) * kHeadCount == kReservedAfterLabels,
              "the run-time values fill the reserved bytes exactly");

DWORD ReadWord(const DRVDEVMODE* rec, size_t at) {
    DWORD v;
    std::memcpy(&v, rec->Private.Reserved + at, sizeof(v));
    return v;
}

void WriteWord(DRVDEVMODE* rec, size_t at, DWORD v) {
    std::memcpy(rec->Private.Reserved + at, &v, sizeof(v));
}

bool ValidHead(int head) {
    return head >= 0 && head < kHeadCount;
}

} // namespace

DWORD GetFirstPageFlag(const DRVDEVMODE* rec) {
    return ReadWord(rec, kFirstPageFlagAt);
}

void SetFirstPageFlag(DRVDEVMODE* rec, DWORD value) {
    WriteWord(rec, kFirstPageFlagAt, value);
}

BYTE* GetCompareBuffer(const DRVDEVMODE* rec, int head) {
    if (!ValidHead(head)) {
        return nullptr;
    }
    const size_t at = kCompareBufferAt + 2 * sizeof(DWORD) * static_cast<size_t>(head);
    const uint64_t address = ReadWord(rec, at) | (static_cast<uint64_t>(ReadWord(rec, at + 4)) << 32);
    return reinterpret_cast<BYTE*>(static_cast<uintptr_t>(address));
}

void SetCompareBuffer(DRVDEVMODE* rec, int head, BYTE* buffer) {
    if (!ValidHead(head)) {
        return;
    }
    const size_t at = kCompareBufferAt + 2 * sizeof(DWORD) * static_cast<size_t>(head);
    const uint64_t address = reinterpret_cast<uintptr_t>(buffer);
    WriteWord(rec, at, static_cast<DWORD>(address));
    WriteWord(rec, at + 4, static_cast<DWORD>(address >> 32));
}

void AllocateCompareBuffers(DRVDEVMODE* rec) {
    ReleaseCompareBuffers(rec);
    for (int head = 0; head < kHeadCount; ++head) {
        BYTE* buffer = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kCompareBufferBytes));
        if (!buffer) {
            ReleaseCompareBuffers(rec);
            return;
        }
        SetCompareBuffer(rec, head, buffer);
    }
}

void ReleaseCompareBuffers(DRVDEVMODE* rec) {
    for (int head = 0; head < kHeadCount; ++head) {
        if (BYTE* buffer = GetCompareBuffer(rec, head)) {
            GlobalFree(buffer);
            SetCompareBuffer(rec, head, nullptr);
        }
    }
}
