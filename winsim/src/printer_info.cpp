// GetPrinterW, SetPrinterW, GetPrinterDriverW and GetPrinterDriverDirectoryW.
//
// The Get functions answer in the caller's buffer: a fixed record, followed by the data its pointers point
// to. A caller first asks with a small buffer, gets ERROR_INSUFFICIENT_BUFFER and the size it needs, then
// asks again with a buffer of that size and is told the same size again. The argument errors (NULL
// pcbNeeded: RPC_X_NULL_REF_POINTER; NULL buffer with a size: ERROR_INVALID_USER_BUFFER; unknown level:
// ERROR_INVALID_LEVEL) and the size contract are those Wine's winspool tests check on Windows NT.
#include "services.h"
#include "spooler.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

using namespace winsim;

constexpr char16_t kEnvironment[] = u"Windows x64";

// Lays out the variable part of an answer after the fixed record: the device record first, 8-byte aligned so
// that its DWORD fields are aligned, then the strings. The same fill code runs twice, once with no buffer to
// measure and once to write, so the size asked for is always the size filled.
class Packer {
  public:
    Packer(BYTE* base, size_t fixed) : base_(base), used_(fixed) {}

    LPWSTR string(std::u16string_view text) {
        const size_t offset = used_;
        used_ += (text.size() + 1) * sizeof(WCHAR);
        if (!base_)
            return nullptr;
        auto* out = reinterpret_cast<LPWSTR>(base_ + offset);
        std::copy(text.begin(), text.end(), out);
        out[text.size()] = u'\0';
        return out;
    }

    // An empty text is a field the answer leaves NULL.
    LPWSTR string_or_null(std::u16string_view text) { return text.empty() ? nullptr : string(text); }

    LPDEVMODEW devmode(const std::optional<std::vector<BYTE>>& record) {
        if (!record)
            return nullptr;
        used_ = align8(used_);
        const size_t offset = used_;
        used_ = align8(used_ + record->size());
        if (!base_)
            return nullptr;
        std::memcpy(base_ + offset, record->data(), record->size());
        return reinterpret_cast<LPDEVMODEW>(base_ + offset);
    }

    size_t size() const { return used_; }

  private:
    static size_t align8(size_t n) { return (n + 7) & ~size_t{7}; }

    BYTE* base_;
    size_t used_;
};

// What a refused answer leaves in a buffer too small for it.
enum class ShortBuffer {
    Untouched,
    // GetPrinterDriverW clears the caller's buffer even when it fails for want of room, as Wine's winspool
    // tests show on Windows.
    Zeroed,
};

// Runs `fill(packer, record)` to measure, then (when the buffer is large enough) to write; `record` is null
// while measuring.
template <class Record, class Fill>
BOOL answer(LPBYTE buffer, DWORD size, LPDWORD needed, Fill fill,
            ShortBuffer on_short = ShortBuffer::Untouched) {
    Packer measure(nullptr, sizeof(Record));
    fill(measure, static_cast<Record*>(nullptr));
    if (measure.size() > MAXDWORD) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    *needed = static_cast<DWORD>(measure.size());
    if (size < measure.size()) {
        if (buffer && on_short == ShortBuffer::Zeroed)
            std::memset(buffer, 0, size);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memset(buffer, 0, measure.size());
    Packer write(buffer, sizeof(Record));
    fill(write, reinterpret_cast<Record*>(buffer));
    return TRUE;
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// NULL or empty is the machine's own environment, as Wine's winspool tests show on Windows.
bool is_our_environment(LPCWSTR environment) {
    return !environment || !*environment || equal_ignoring_case(view(environment), kEnvironment);
}

// The environments a Windows x64 spooler keeps driver folders for, each in a folder of its own next to the
// x64 one; names compare ignoring case ("windowS 4.0" in Wine's winspool tests, run on Windows).
struct EnvironmentFolder {
    const char16_t* environment;
    const char16_t* folder;
};
constexpr EnvironmentFolder kEnvironmentFolders[] = {
    {u"Windows x64", u"x64"},   {u"Windows NT x86", u"W32X86"}, {u"Windows 4.0", u"WIN40"},
    {u"Windows IA64", u"IA64"}, {u"Windows ARM64", u"ARM64"},
};

// The driver directory of an environment, or nothing for an environment Windows does not know: the host's
// directory for the machine's own, else its sibling folder of that environment.
std::optional<std::u16string> driver_directory_for(LPCWSTR environment, const std::u16string& own) {
    if (is_our_environment(environment))
        return own;
    for (const EnvironmentFolder& e : kEnvironmentFolders) {
        if (equal_ignoring_case(view(environment), e.environment)) {
            const size_t slash = own.rfind(u'\\');
            return (slash == std::u16string::npos ? std::u16string() : own.substr(0, slash + 1)) + e.folder;
        }
    }
    return std::nullopt;
}

BOOL get_printer(const Printer& p, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    switch (level) {
    case 1:
        return answer<PRINTER_INFO_1W>(buffer, size, needed, [&](Packer& out, PRINTER_INFO_1W* r) {
            const LPWSTR description = out.string(p.name + u"," + p.driver_name + u"," + p.location);
            const LPWSTR name = out.string(p.name);
            const LPWSTR comment = out.string(p.comment);
            if (r)
                *r = {PRINTER_ENUM_ICON8, description, name, comment};
        });
    case 2:
        return answer<PRINTER_INFO_2W>(buffer, size, needed, [&](Packer& out, PRINTER_INFO_2W* r) {
            const LPDEVMODEW devmode = out.devmode(p.devmode);
            const LPWSTR name = out.string(p.name);
            const LPWSTR share = out.string(p.share_name);
            const LPWSTR port = out.string(p.port);
            const LPWSTR driver = out.string(p.driver_name);
            const LPWSTR comment = out.string(p.comment);
            const LPWSTR location = out.string(p.location);
            const LPWSTR sep_file = out.string(p.sep_file);
            const LPWSTR processor = out.string(p.print_processor);
            const LPWSTR datatype = out.string(p.datatype);
            const LPWSTR parameters = out.string(p.parameters);
            if (r)
                *r = {.pServerName = nullptr,
                      .pPrinterName = name,
                      .pShareName = share,
                      .pPortName = port,
                      .pDriverName = driver,
                      .pComment = comment,
                      .pLocation = location,
                      .pDevMode = devmode,
                      .pSepFile = sep_file,
                      .pPrintProcessor = processor,
                      .pDatatype = datatype,
                      .pParameters = parameters,
                      .pSecurityDescriptor = nullptr,
                      .Attributes = p.attributes,
                      .Priority = p.priority,
                      .DefaultPriority = p.default_priority,
                      .StartTime = p.start_time,
                      .UntilTime = p.until_time,
                      .Status = p.status,
                      .cJobs = 0,
                      .AveragePPM = 0};
        });
    case 4:
        return answer<PRINTER_INFO_4W>(buffer, size, needed, [&](Packer& out, PRINTER_INFO_4W* r) {
            const LPWSTR name = out.string(p.name);
            if (r)
                *r = {name, nullptr, p.attributes};
        });
    case 5:
        return answer<PRINTER_INFO_5W>(buffer, size, needed, [&](Packer& out, PRINTER_INFO_5W* r) {
            const LPWSTR name = out.string(p.name);
            const LPWSTR port = out.string(p.port);
            // The timeouts are the values Windows gives a new local printer.
            if (r)
                *r = {name, port, p.attributes, 15000, 45000};
        });
    default:
        return fail(ERROR_INVALID_LEVEL);
    }
}

// Stores a caller's device record, already checked with devmode_size, as the printer's default.
void store_devmode(Printer& p, const DEVMODEW* devmode) {
    const auto* bytes = reinterpret_cast<const BYTE*>(devmode);
    p.devmode.emplace(bytes, bytes + *devmode_size(devmode));
}

void assign(std::u16string& field, LPCWSTR value) {
    if (value)
        field = value;
}

BOOL set_printer(Printer& p, DWORD level, LPBYTE info, DWORD) {
    if (!info)
        return fail(ERROR_INVALID_PARAMETER);
    switch (level) {
    case 2: {
        // Every field is taken except the name (printers are not renamed here); NULL strings keep their
        // value, a NULL device record keeps the stored one.
        const auto& in = *reinterpret_cast<const PRINTER_INFO_2W*>(info);
        if (in.pDevMode && !devmode_size(in.pDevMode))
            return fail(ERROR_INVALID_PARAMETER);
        if (in.pDatatype && !*in.pDatatype)
            return fail(ERROR_INVALID_DATATYPE);
        assign(p.share_name, in.pShareName);
        assign(p.port, in.pPortName);
        assign(p.driver_name, in.pDriverName);
        assign(p.comment, in.pComment);
        assign(p.location, in.pLocation);
        assign(p.sep_file, in.pSepFile);
        assign(p.print_processor, in.pPrintProcessor);
        assign(p.datatype, in.pDatatype);
        assign(p.parameters, in.pParameters);
        if (in.pDevMode)
            store_devmode(p, in.pDevMode);
        p.attributes = in.Attributes;
        p.priority = in.Priority;
        p.default_priority = in.DefaultPriority;
        p.start_time = in.StartTime;
        p.until_time = in.UntilTime;
        return TRUE;
    }
    case 7:
        return TRUE;
    default:
        return fail(ERROR_INVALID_LEVEL);
    }
}

// A driver file as the spooler reports it: a bare file name lives in the version-3 folder of the driver
// directory.
std::u16string installed(const std::u16string& file, const std::u16string& directory) {
    if (file.empty() || file.find(u'\\') != std::u16string::npos)
        return file;
    return directory + u"\\3\\" + file;
}

BOOL get_driver(const Printer& p, const std::u16string& directory, DWORD level, LPBYTE buffer, DWORD size,
                LPDWORD needed) {
    const DriverFiles& files = *p.driver;
    const std::u16string driver_path = installed(files.driver_path, directory);
    const std::u16string data_file = installed(files.data_file, directory);
    const std::u16string config_file = installed(files.config_file, directory);
    const std::u16string help_file = installed(files.help_file, directory);
    switch (level) {
    case 3:
        // A driver of the user-mode kind (version 3) without dependent files, monitor or default data type.
        return answer<DRIVER_INFO_3W>(
            buffer, size, needed,
            [&](Packer& out, DRIVER_INFO_3W* r) {
                const LPWSTR name = out.string(p.driver_name);
                const LPWSTR environment = out.string(kEnvironment);
                const LPWSTR driver = out.string_or_null(driver_path);
                const LPWSTR data = out.string_or_null(data_file);
                const LPWSTR config = out.string_or_null(config_file);
                const LPWSTR help = out.string_or_null(help_file);
                if (r)
                    *r = {.cVersion = 3,
                          .pName = name,
                          .pEnvironment = environment,
                          .pDriverPath = driver,
                          .pDataFile = data,
                          .pConfigFile = config,
                          .pHelpFile = help,
                          .pDependentFiles = nullptr,
                          .pMonitorName = nullptr,
                          .pDefaultDataType = nullptr};
            },
            ShortBuffer::Zeroed);
    default:
        return fail(ERROR_INVALID_LEVEL);
    }
}

} // namespace

extern "C" {

WINBOOL WINAPI GetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded) {
    const auto handle = find<PrinterHandle>(hPrinter);
    if (const DWORD fault = enter(Service::GetPrinterW,
                                  "GetPrinterW " + describe_handle(hPrinter, HandleKind::Printer) +
                                      " level=" + std::to_string(Level) + " size=" + std::to_string(cbBuf)))
        return fail(fault);
    if (!handle)
        return fail(ERROR_INVALID_HANDLE);
    if (!pcbNeeded)
        return fail(RPC_X_NULL_REF_POINTER);
    if (!pPrinter && cbBuf)
        return fail(ERROR_INVALID_USER_BUFFER);
    SpoolerLock s;
    if (const DWORD error = check(handle.get(), 0))
        return fail(error);
    return get_printer(*handle->printer, Level, pPrinter, cbBuf, pcbNeeded);
}

// A job by its id, started on any handle of the printer: level 1 only, which is what a driver asks for.
// An id the printer does not have fails with ERROR_INVALID_PARAMETER, as Wine's local spooler answers.
WINBOOL WINAPI GetJobW(HANDLE hPrinter, DWORD JobId, DWORD Level, LPBYTE pJob, DWORD cbBuf,
                       LPDWORD pcbNeeded) {
    const auto handle = find<PrinterHandle>(hPrinter);
    if (const DWORD fault =
            enter(Service::GetJobW, "GetJobW " + describe_handle(hPrinter, HandleKind::Printer) +
                                        " job=" + std::to_string(JobId) + " level=" + std::to_string(Level) +
                                        " size=" + std::to_string(cbBuf)))
        return fail(fault);
    if (!handle)
        return fail(ERROR_INVALID_HANDLE);
    if (!pcbNeeded)
        return fail(RPC_X_NULL_REF_POINTER);
    if (!pJob && cbBuf)
        return fail(ERROR_INVALID_USER_BUFFER);
    if (Level != 1)
        return fail(ERROR_INVALID_LEVEL);
    SpoolerLock s;
    if (const DWORD error = check(handle.get(), 0))
        return fail(error);
    const Printer& p = *handle->printer;
    for (size_t i = 0; i < p.jobs.size(); ++i) {
        const Job& job = p.jobs[i];
        if (job.id != JobId || job.ended)
            continue;
        const DWORD position = static_cast<DWORD>(i + 1);
        return answer<JOB_INFO_1W>(pJob, cbBuf, pcbNeeded, [&](Packer& out, JOB_INFO_1W* r) {
            const LPWSTR printer = out.string(p.name);
            const LPWSTR machine = out.string(u"\\\\WINSIM");
            const LPWSTR user = out.string(u"winsim");
            const LPWSTR document = out.string(job.document);
            const LPWSTR datatype = out.string(job.datatype);
            if (r)
                *r = {job.id, printer, machine, user, document, datatype, nullptr, 0, 1, position, 0, 0, {}};
        });
    }
    return fail(ERROR_INVALID_PARAMETER);
}

WINBOOL WINAPI SetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD Command) {
    const auto handle = find<PrinterHandle>(hPrinter);
    std::string line = "SetPrinterW " + describe_handle(hPrinter, HandleKind::Printer) +
                       " level=" + std::to_string(Level) + " command=" + std::to_string(Command);
    // Level 7 says what to do in the record itself: the directory object and the publishing action.
    if (Level == 7 && pPrinter) {
        const auto& info = *reinterpret_cast<const PRINTER_INFO_7W*>(pPrinter);
        line += " guid=" + utf8(info.pszObjectGUID) + " action=" + hex(info.dwAction);
    }
    if (const DWORD fault = enter(Service::SetPrinterW, std::move(line)))
        return fail(fault);
    if (!handle)
        return fail(ERROR_INVALID_HANDLE);
    SpoolerLock s;
    if (const DWORD error = check(handle.get(), PRINTER_ACCESS_ADMINISTER))
        return fail(error);
    return set_printer(*handle->printer, Level, pPrinter, Command);
}

WINBOOL WINAPI GetPrinterDriverW(HANDLE hPrinter, LPWSTR pEnvironment, DWORD Level, LPBYTE pDriverInfo,
                                 DWORD cbBuf, LPDWORD pcbNeeded) {
    const auto handle = find<PrinterHandle>(hPrinter);
    if (const DWORD fault = enter(Service::GetPrinterDriverW,
                                  "GetPrinterDriverW " + describe_handle(hPrinter, HandleKind::Printer) +
                                      " environment=" + utf8(pEnvironment) +
                                      " level=" + std::to_string(Level) + " size=" + std::to_string(cbBuf)))
        return fail(fault);
    if (!handle)
        return fail(ERROR_INVALID_HANDLE);
    if (!pcbNeeded)
        return fail(RPC_X_NULL_REF_POINTER);
    if (!pDriverInfo && cbBuf)
        return fail(ERROR_INVALID_USER_BUFFER);
    // Only the x64 driver is installed.
    if (!is_our_environment(pEnvironment))
        return fail(ERROR_UNKNOWN_PRINTER_DRIVER);
    SpoolerLock s;
    if (const DWORD error = check(handle.get(), 0))
        return fail(error);
    if (!handle->printer->driver)
        return fail(ERROR_UNKNOWN_PRINTER_DRIVER);
    return get_driver(*handle->printer, s->driver_directory, Level, pDriverInfo, cbBuf, pcbNeeded);
}

WINBOOL WINAPI GetPrinterDriverDirectoryW(LPWSTR pName, LPWSTR pEnvironment, DWORD Level,
                                          LPBYTE pDriverDirectory, DWORD cbBuf, LPDWORD pcbNeeded) {
    if (const DWORD fault =
            enter(Service::GetPrinterDriverDirectoryW,
                  "GetPrinterDriverDirectoryW server=" + utf8(pName) + " environment=" + utf8(pEnvironment) +
                      " level=" + std::to_string(Level) + " size=" + std::to_string(cbBuf)))
        return fail(fault);
    if (!pcbNeeded)
        return fail(RPC_X_NULL_REF_POINTER);
    // Only the local machine exists; a "\\server" name is a machine that cannot be reached.
    if (pName && *pName)
        return fail(view(pName).starts_with(u"\\\\") ? RPC_S_SERVER_UNAVAILABLE : ERROR_INVALID_NAME);
    if (Level != 1)
        return fail(ERROR_INVALID_LEVEL);
    SpoolerLock s;
    const std::optional<std::u16string> found = driver_directory_for(pEnvironment, s->driver_directory);
    if (!found)
        return fail(ERROR_INVALID_ENVIRONMENT);
    const std::u16string& directory = *found;
    // The size is in bytes and counts the terminating NUL.
    const DWORD bytes = static_cast<DWORD>((directory.size() + 1) * sizeof(WCHAR));
    *pcbNeeded = bytes;
    if (cbBuf < bytes)
        return fail(ERROR_INSUFFICIENT_BUFFER);
    if (!pDriverDirectory)
        return fail(ERROR_INVALID_USER_BUFFER);
    auto* out = reinterpret_cast<LPWSTR>(pDriverDirectory);
    std::copy(directory.begin(), directory.end(), out);
    out[directory.size()] = u'\0';
    return TRUE;
}

} // extern "C"
