// Printer handles a call opens for itself, closed on every path.
#pragma once

#include <windows.h>
#include <winspool.h>

#include "printer_data.h"

class OpenedPrinter {
  public:
    OpenedPrinter() = default;
    ~OpenedPrinter() { Close(); }
    OpenedPrinter(const OpenedPrinter&) = delete;
    OpenedPrinter& operator=(const OpenedPrinter&) = delete;

    // OpenDriverPrinter's modes: 1 full access, 2 the caller's default access.
    bool Open(LPCWSTR printerName, int mode) {
        Close();
        HANDLE h = nullptr;
        if (!OpenDriverPrinter(printerName, mode, &h)) {
            return false;
        }
        handle_ = h;
        return true;
    }
    // Takes a handle opened elsewhere (OpenPrinterW with the caller's own defaults).
    void Adopt(HANDLE h) {
        Close();
        handle_ = h;
    }
    // Closes now and reports whether the spooler accepted it.
    bool Close() {
        if (!handle_) {
            return true;
        }
        HANDLE h = handle_;
        handle_ = nullptr;
        return ClosePrinter(h) != FALSE;
    }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_ = nullptr;
};

// The printer a query answers for: the caller's handle, or, when a spooler passes only the device name,
// the printer opened by that name for this call.
class CallPrinter {
  public:
    CallPrinter(HANDLE given, LPCWSTR name) : handle_(given) {
        if (!handle_ && name && opened_.Open(name, 2)) {
            handle_ = opened_.get();
        }
    }
    HANDLE get() const { return handle_; }

  private:
    OpenedPrinter opened_;
    HANDLE handle_;
};
