#include "output_buffer.h"

#include "pdev.h"

#include <winspool.h>

#include <cstring>

bool OutputBuffer::Failed() const {
    return !State || (*State & OUTSTATE_WRITE_FAILED) != 0;
}

BOOL OutputBuffer::Append(const void* bytes, size_t count) {
    if (count == 0) {
        return TRUE;
    }
    if (Failed() || !bytes) {
        return FALSE;
    }
    if (Data && count < Limit) {
        // At or above the limit the buffer is emptied first, so the buffer never holds the limit and
        // every write of buffered bytes stays below it.
        if (Fill + count >= Limit) {
            Flush();
            if (Failed()) {
                return FALSE;
            }
        }
        std::memcpy(Data + Fill, bytes, count);
        Fill += static_cast<DWORD>(count);
        return TRUE;
    }
    // A piece of the limit or more (or any piece before the buffer exists) goes straight to the spooler,
    // after what is already buffered.
    Flush();
    WriteAll(static_cast<const BYTE*>(bytes), count);
    return !Failed();
}

BOOL OutputBuffer::Flush() {
    if (Fill != 0) {
        DWORD buffered = Fill;
        Fill = 0;
        WriteAll(Data, buffered);
    }
    return !Failed();
}

void OutputBuffer::WriteAll(const BYTE* bytes, size_t count) {
    while (count > 0 && !Failed()) {
        DWORD piece = count > MAXDWORD ? MAXDWORD : static_cast<DWORD>(count);
        DWORD written = 0;
        // The spooler's count is checked, not trusted: a success that took nothing would repeat forever,
        // and a count above the request would run past the data. Both end the document's output like a
        // failed write.
        if (!WritePrinter(Printer, const_cast<BYTE*>(bytes), piece, &written) || written == 0 ||
            written > piece) {
            *State |= OUTSTATE_WRITE_FAILED;
            return;
        }
        *State |= OUTSTATE_DATA_WRITTEN;
        bytes += written;
        count -= written;
    }
}
