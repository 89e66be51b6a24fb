// Print jobs: StartDocPrinterW, WritePrinter and EndDocPrinter on a printer handle, and the host functions
// that read what a job received and make WritePrinter take less than it is given.
#include "spooler.h"

#include "services.h"

#include <winsim_host.h>

#include <algorithm>
#include <cstring>

namespace winsim {
namespace {

// The job a handle has open, under the spooler lock; null when it has none.
Job* open_job(const PrinterHandle& handle) {
    if (!handle.job || *handle.job >= handle.printer->jobs.size())
        return nullptr;
    return &handle.printer->jobs[*handle.job];
}

std::shared_ptr<Printer> find_printer(Spooler& s, const char* name) {
    return name ? s.find(from_utf8(name)) : nullptr;
}

} // namespace
} // namespace winsim

using namespace winsim;

extern "C" {

DWORD WINAPI StartDocPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pDocInfo) {
    const auto handle = find<PrinterHandle>(hPrinter);
    const auto* doc = Level == 1 ? reinterpret_cast<const DOC_INFO_1W*>(pDocInfo) : nullptr;
    if (const DWORD fault =
            enter(Service::StartDocPrinterW,
                  "StartDocPrinterW " + describe_handle(hPrinter, HandleKind::Printer) +
                      " level=" + std::to_string(Level) + " document=" + utf8(doc ? doc->pDocName : nullptr) +
                      " datatype=" + utf8(doc ? doc->pDatatype : nullptr))) {
        SetLastError(fault);
        return 0;
    }
    if (!handle) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (Level != 1) {
        SetLastError(ERROR_INVALID_LEVEL);
        return 0;
    }
    if (!doc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    SpoolerLock s;
    if (const DWORD error = check(handle.get(), PRINTER_ACCESS_USE)) {
        SetLastError(error);
        return 0;
    }
    if (open_job(*handle)) {
        SetLastError(ERROR_INVALID_PRINTER_STATE);
        return 0;
    }
    // The document's data type, else the one the handle was opened with, else the printer's.
    std::u16string datatype = doc->pDatatype              ? std::u16string(view(doc->pDatatype))
                              : !handle->datatype.empty() ? handle->datatype
                                                          : handle->printer->datatype;
    if (!known_datatype(datatype)) {
        SetLastError(ERROR_INVALID_DATATYPE);
        return 0;
    }
    Job job;
    job.id = s->next_job_id++;
    job.document = doc->pDocName ? std::u16string(view(doc->pDocName)) : std::u16string();
    job.datatype = std::move(datatype);
    handle->printer->jobs.push_back(std::move(job));
    handle->job = handle->printer->jobs.size() - 1;
    return handle->printer->jobs.back().id;
}

WINBOOL WINAPI WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten) {
    const auto handle = find<PrinterHandle>(hPrinter);
    if (const DWORD fault =
            enter(Service::WritePrinter, "WritePrinter " + describe_handle(hPrinter, HandleKind::Printer) +
                                             " size=" + std::to_string(cbBuf))) {
        if (pcWritten)
            *pcWritten = 0;
        SetLastError(fault);
        return FALSE;
    }
    if (!handle) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!pcWritten) {
        SetLastError(RPC_X_NULL_REF_POINTER);
        return FALSE;
    }
    *pcWritten = 0;
    if (!pBuf && cbBuf) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    SpoolerLock s;
    if (const DWORD error = check(handle.get(), 0)) {
        SetLastError(error);
        return FALSE;
    }
    Job* job = open_job(*handle);
    if (!job) {
        SetLastError(ERROR_SPL_NO_STARTDOC);
        return FALSE;
    }
    const Printer& printer = *handle->printer;
    DWORD taken = cbBuf;
    if (printer.zero_byte_success)
        taken = 0;
    else if (printer.write_limit && taken > printer.write_limit)
        taken = printer.write_limit;
    const auto* bytes = static_cast<const BYTE*>(pBuf);
    job->bytes.insert(job->bytes.end(), bytes, bytes + taken);
    *pcWritten = taken;
    return TRUE;
}

WINBOOL WINAPI EndDocPrinter(HANDLE hPrinter) {
    const auto handle = find<PrinterHandle>(hPrinter);
    const DWORD fault =
        enter(Service::EndDocPrinter, "EndDocPrinter " + describe_handle(hPrinter, HandleKind::Printer));
    if (!handle) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    SpoolerLock s;
    if (const DWORD error = check(handle.get(), 0)) {
        SetLastError(error);
        return FALSE;
    }
    Job* job = open_job(*handle);
    if (!job) {
        SetLastError(ERROR_SPL_NO_STARTDOC);
        return FALSE;
    }
    // An injected failure still ends the job, so that the handle can start the next one.
    job->ended = true;
    handle->job.reset();
    if (fault) {
        SetLastError(fault);
        return FALSE;
    }
    return TRUE;
}

// Host functions.

uint32_t winsim_job_count(const char* printer) {
    SpoolerLock s;
    const auto p = find_printer(*s, printer);
    return p ? static_cast<uint32_t>(p->jobs.size()) : 0;
}

int32_t winsim_job_bytes(const char* printer, uint32_t index, void* buf, uint32_t size) {
    SpoolerLock s;
    const auto p = find_printer(*s, printer);
    if (!p || index >= p->jobs.size())
        return -1;
    copy_out(p->jobs[index].bytes, buf, size);
    return static_cast<int32_t>(p->jobs[index].bytes.size());
}

int winsim_job_info(const char* printer, uint32_t index, char* document, size_t document_size, char* datatype,
                    size_t datatype_size, int* ended) {
    SpoolerLock s;
    const auto p = find_printer(*s, printer);
    if (!p || index >= p->jobs.size())
        return 0;
    const Job& job = p->jobs[index];
    const auto copy = [](const std::u16string& text, char* buf, size_t size) {
        if (!buf || size == 0)
            return;
        const std::string utf8_text = to_utf8(text);
        const size_t n = std::min(utf8_text.size(), size - 1);
        std::memcpy(buf, utf8_text.data(), n);
        buf[n] = '\0';
    };
    copy(job.document, document, document_size);
    copy(job.datatype, datatype, datatype_size);
    if (ended)
        *ended = job.ended ? 1 : 0;
    return 1;
}

int winsim_set_write_limit(const char* printer, uint32_t max_bytes_per_call, int zero_byte_success) {
    SpoolerLock s;
    const auto p = find_printer(*s, printer);
    if (!p)
        return 0;
    p->write_limit = max_bytes_per_call;
    p->zero_byte_success = zero_byte_success != 0;
    return 1;
}

} // extern "C"
