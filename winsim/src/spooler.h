// The simulated print spooler: its printers and the handles opened on them.
//
// All state lives in one process-wide Spooler behind one mutex. Printer handles hold their printer, so that a
// printer removed by the host leaves its handles valid but failing with ERROR_PRINTER_DELETED.
#pragma once

#include "handles.h"
#include "text.h"

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace winsim {

struct PrinterValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// The driver files as installed; empty strings are files the driver does not have.
struct DriverFiles {
    std::u16string driver_path;
    std::u16string data_file;
    std::u16string config_file;
    std::u16string help_file;
};

// One print job: opened by StartDocPrinterW, filled by WritePrinter, closed by EndDocPrinter.
struct Job {
    DWORD id = 0;
    std::u16string document;
    std::u16string datatype;
    std::vector<BYTE> bytes;
    bool ended = false;
};

// One value of a printer's bidirectional channel, as IBidiRequest::GetOutputData hands it out.
struct BidiValue {
    std::u16string schema;
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct Printer {
    explicit Printer(std::u16string name) : name(std::move(name)) {}

    const std::u16string name;
    std::u16string driver_name;
    std::u16string port;
    std::u16string print_processor;
    std::u16string datatype = u"RAW";
    std::u16string share_name;
    std::u16string comment;
    std::u16string location;
    std::u16string sep_file;
    std::u16string parameters;
    DWORD attributes = 0;
    DWORD priority = 1;
    DWORD default_priority = 0;
    DWORD start_time = 0;
    DWORD until_time = 0;
    DWORD status = 0;
    std::optional<std::vector<BYTE>> devmode; // the default device record, as stored
    std::map<std::u16string, PrinterValue, LessIgnoringCase> values;
    std::optional<DriverFiles> driver;
    bool deleted = false;
    std::vector<Job> jobs; // every job started on the printer, in order
    // How much one WritePrinter call takes (0: everything), and whether it reports success taking nothing.
    DWORD write_limit = 0;
    bool zero_byte_success = false;
    std::vector<BidiValue> bidi; // in the order the host first set them
};

struct Spooler {
    std::mutex mutex;
    std::vector<std::shared_ptr<Printer>> printers;
    std::u16string driver_directory;
    DWORD next_job_id = 1;

    std::shared_ptr<Printer> find(std::u16string_view name) const;
};

// Locks the spooler for the caller's scope.
class SpoolerLock {
  public:
    SpoolerLock();
    Spooler& operator*() const { return spooler_; }
    Spooler* operator->() const { return &spooler_; }

  private:
    Spooler& spooler_;
    std::lock_guard<std::mutex> lock_;
};

class PrinterHandle final : public Object {
  public:
    static constexpr HandleKind kKind = HandleKind::Printer;

    PrinterHandle(std::shared_ptr<Printer> printer, ACCESS_MASK access)
        : printer(std::move(printer)), access(access) {}
    HandleKind kind() const override { return kKind; }
    std::string describe() const override { return "printer=" + to_utf8(printer->name); }

    const std::shared_ptr<Printer> printer;
    const ACCESS_MASK access; // granted rights, generic rights already mapped
    // The job defaults given to OpenPrinterW, for the job functions.
    std::optional<std::vector<BYTE>> devmode;
    std::u16string datatype;
    // The job this handle has started and not yet ended: an index into printer->jobs. Guarded by the spooler
    // lock.
    std::optional<size_t> job;
};

// The size of a caller's device record (dmSize + dmDriverExtra), or nothing when it is too short to be one.
std::optional<size_t> devmode_size(const DEVMODEW* devmode);

// Whether the spooler knows a data type: "RAW", "TEXT" or "NT EMF 1.00x", compared ignoring case.
bool known_datatype(std::u16string_view type);

// Copies the first min(size, bytes.size()) bytes into a host's buffer; nothing when buf is NULL. An empty
// vector may have no storage at all, so nothing is handed to memcpy then.
void copy_out(const std::vector<BYTE>& bytes, void* buf, uint32_t size);

// Checks a printer handle for a call under the spooler lock: the printer is there and the handle has the
// `needed` rights (0: any). Returns 0 or the error to fail with.
DWORD check(const PrinterHandle* handle, ACCESS_MASK needed);

} // namespace winsim
