#include "direct_commands.h"

#include "printer_handle.h"

#include <winspool.h>

BOOL SendDirectCommand(LPCWSTR printerName, LPCWSTR documentName, const BYTE (&bytes)[kDirectCommandBytes],
                       DWORD* written) {
    if (written) {
        *written = 0;
    }
    // No defaults: the job is the user's own, with the rights of an ordinary user.
    HANDLE h = nullptr;
    if (!printerName || !OpenPrinterW(const_cast<LPWSTR>(printerName), &h, nullptr)) {
        return FALSE;
    }
    OpenedPrinter printer;
    printer.Adopt(h);
    // The bytes are printer commands, never to be interpreted by a print processor, whatever data type the
    // printer would give the job.
    WCHAR noFile[] = TEXT("");
    WCHAR raw[] = TEXT("RAW");
    DOC_INFO_1W doc = {const_cast<LPWSTR>(documentName), noFile, raw};
    if (StartDocPrinterW(printer.get(), 1, reinterpret_cast<LPBYTE>(&doc)) == 0) {
        return FALSE;
    }
    DWORD taken = 0;
    const BOOL wrote = WritePrinter(printer.get(), const_cast<BYTE*>(bytes), kDirectCommandBytes, &taken);
    if (written) {
        *written = taken;
    }
    // A command cut short is not the command; the printer would wait for the rest.
    if (!wrote || taken != kDirectCommandBytes) {
        EndDocPrinter(printer.get());
        return FALSE;
    }
    if (!EndDocPrinter(printer.get())) {
        return FALSE;
    }
    return printer.Close() ? TRUE : FALSE;
}

BOOL SendDirectCommand(LPCWSTR printerName, DirectCommand command, DWORD* written) {
    if (command < 0 || command >= DIRECT_COMMAND_COUNT) {
        return FALSE;
    }
    const DIRECTCOMMAND& c = kDirectCommands[command];
    const BYTE bytes[kDirectCommandBytes] = {0x02, c.Command, 0x03}; // STX, command, ETX
    return SendDirectCommand(printerName, c.DocumentName, bytes, written);
}
