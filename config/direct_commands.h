// The device options page's three buttons that act on the printer at once: each sends one three-byte
// printer command as a raw job of its own, bypassing the rendering library.
#pragma once

#include <windows.h>

enum DirectCommand : int {
    DIRECT_CUT = 0,
    DIRECT_FEED = 1,
    DIRECT_TEST_PRINT = 2,
    DIRECT_COMMAND_COUNT = 3,
};

struct DIRECTCOMMAND {
    WCHAR ButtonText[32];
    WCHAR DocumentName[16]; // the job's name in the printer's queue
    BYTE Command;           // sent framed as STX, Command, ETX
};

// Indexed by DirectCommand. The cut is the same command as the job's final cut.
inline constexpr DIRECTCOMMAND kDirectCommands[DIRECT_COMMAND_COUNT] = {
    {TEXT("最後をカット(&C)"), TEXT("最後のカット"), 0x12},
    {TEXT("一枚空送り(&F)"), TEXT("一枚空送り"), 0x0C},
    {TEXT("プリンタテスト印字(&T)"), TEXT("テスト印字"), 0x54},
};

inline constexpr DWORD kDirectCommandBytes = 3;

// Sends the three bytes as one RAW job named documentName; the count the spooler took goes to *written
// (when given). FALSE when any spooler call fails or the spooler took fewer bytes; whatever was opened is
// ended and closed again.
BOOL SendDirectCommand(LPCWSTR printerName, LPCWSTR documentName, const BYTE (&bytes)[kDirectCommandBytes],
                       DWORD* written);
BOOL SendDirectCommand(LPCWSTR printerName, DirectCommand command, DWORD* written);
