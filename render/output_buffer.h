// The one road of printer bytes to the spooler. Bytes are gathered so that WritePrinter is called
// rarely and with large pieces; a failed write ends the document's output quietly, because the spooler
// already knows about it from WritePrinter itself.
#pragma once

#include <windows.h>

#include <cstddef>

inline constexpr DWORD kOutputBufferBytes = 64 * 1024;
inline constexpr DWORD kOutputHeadroom = 1024;
inline constexpr DWORD kOutputFillLimit = 0xF800; // 63,488

// Lives inside the physical device (zero-filled storage), so it is a plain record: no constructor, no
// destructor, and the memory it points to belongs to the device.
struct OutputBuffer {
    BYTE* Data;     // kOutputBufferBytes, or nullptr before the surface exists
    DWORD Limit;    // fill limit; always below kOutputBufferBytes
    DWORD Fill;     // bytes buffered
    HANDLE Printer; // where WritePrinter sends them
    DWORD* State;   // the device's output state word (data-written and write-failed bits)

    // TRUE when the bytes were taken: buffered, or written straight through for a piece of the limit
    // or more. After a write failure nothing more is taken and the answer is FALSE.
    BOOL Append(const void* bytes, size_t count);
    // Writes what is buffered. FALSE once a write of this document failed.
    BOOL Flush();
    bool Failed() const;

  private:
    void WriteAll(const BYTE* bytes, size_t count);
};
