// The spooler's printers, printer handles and printer data, with the host functions that set them up.
#include "spooler.h"

#include "reset.h"
#include "services.h"

#include <winsim_host.h>

#include <algorithm>
#include <cstring>

namespace winsim {
namespace {

constexpr char16_t kDefaultDriverDirectory[] = u"C:\\Windows\\System32\\spool\\drivers\\x64";

Spooler& spooler() {
    static Spooler* s = [] {
        auto* created = new Spooler;
        created->driver_directory = kDefaultDriverDirectory;
        return created;
    }();
    return *s;
}

// Generic rights stand for the printer rights Windows maps them to.
ACCESS_MASK map_generic(ACCESS_MASK access) {
    if (access & (GENERIC_ALL | MAXIMUM_ALLOWED))
        access |= PRINTER_ALL_ACCESS;
    if (access & GENERIC_READ)
        access |= PRINTER_READ;
    if (access & GENERIC_WRITE)
        access |= PRINTER_WRITE;
    if (access & GENERIC_EXECUTE)
        access |= PRINTER_EXECUTE;
    return access & ~static_cast<ACCESS_MASK>(GENERIC_ALL | GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE |
                                              MAXIMUM_ALLOWED);
}

std::u16string name_from(const char* utf8_text) {
    return utf8_text ? from_utf8(utf8_text) : std::u16string();
}

} // namespace

bool known_datatype(std::u16string_view type) {
    return equal_ignoring_case(type, u"RAW") || equal_ignoring_case(type, u"TEXT") ||
           equal_ignoring_case(type.substr(0, 7), u"NT EMF ");
}

std::shared_ptr<Printer> Spooler::find(std::u16string_view name) const {
    const auto it = std::find_if(printers.begin(), printers.end(),
                                 [name](const auto& p) { return equal_ignoring_case(p->name, name); });
    return it == printers.end() ? nullptr : *it;
}

SpoolerLock::SpoolerLock() : spooler_(spooler()), lock_(spooler_.mutex) {}

std::optional<size_t> devmode_size(const DEVMODEW* devmode) {
    if (!devmode || devmode->dmSize < offsetof(DEVMODEW, dmFields) + sizeof(DWORD))
        return std::nullopt;
    return static_cast<size_t>(devmode->dmSize) + devmode->dmDriverExtra;
}

void copy_out(const std::vector<BYTE>& bytes, void* buf, uint32_t size) {
    const size_t n = std::min<size_t>(size, bytes.size());
    if (buf && n > 0)
        std::memcpy(buf, bytes.data(), n);
}

DWORD check(const PrinterHandle* handle, ACCESS_MASK needed) {
    if (handle->printer->deleted)
        return ERROR_PRINTER_DELETED;
    if ((handle->access & needed) != needed)
        return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

void reset_spooler() {
    {
        SpoolerLock s;
        for (const auto& printer : s->printers)
            printer->deleted = true;
        s->printers.clear();
        s->driver_directory = kDefaultDriverDirectory;
        s->next_job_id = 1;
    }
    drop_handles(HandleKind::Printer);
}

} // namespace winsim

using namespace winsim;

extern "C" {

WINBOOL WINAPI OpenPrinterW(LPWSTR pPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSW pDefault) {
    // Without defaults, or with no rights asked for, a handle gets the rights of an ordinary user.
    const ACCESS_MASK requested =
        pDefault && pDefault->DesiredAccess ? pDefault->DesiredAccess : PRINTER_ACCESS_USE;
    if (const DWORD fault = enter(Service::OpenPrinterW,
                                  "OpenPrinterW name=" + utf8(pPrinterName) + " access=" + hex(requested))) {
        SetLastError(fault);
        return FALSE;
    }
    // A NULL name asks for the print server itself, which winsim does not simulate; it refuses it as
    // Windows 9x did (Wine's winspool tests accept either). An empty name is no printer's, as those tests
    // show on Windows NT.
    if (!phPrinter || !pPrinterName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!*pPrinterName) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return FALSE;
    }
    auto handle = std::shared_ptr<PrinterHandle>();
    {
        SpoolerLock s;
        auto printer = s->find(view(pPrinterName));
        if (!printer) {
            SetLastError(ERROR_INVALID_PRINTER_NAME);
            return FALSE;
        }
        handle = std::make_shared<PrinterHandle>(std::move(printer), map_generic(requested));
    }
    if (pDefault && pDefault->pDatatype) {
        if (!known_datatype(view(pDefault->pDatatype))) {
            SetLastError(ERROR_INVALID_DATATYPE);
            return FALSE;
        }
        handle->datatype = view(pDefault->pDatatype);
    }
    if (pDefault && pDefault->pDevMode) {
        const std::optional<size_t> size = devmode_size(pDefault->pDevMode);
        if (!size) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        const auto* bytes = reinterpret_cast<const BYTE*>(pDefault->pDevMode);
        handle->devmode.emplace(bytes, bytes + *size);
    }
    *phPrinter = add_handle(std::move(handle));
    return TRUE;
}

WINBOOL WINAPI ClosePrinter(HANDLE hPrinter) {
    std::shared_ptr<Object> handle = take_handle(hPrinter, HandleKind::Printer);
    const DWORD fault = enter(Service::ClosePrinter,
                              "ClosePrinter " + (handle ? handle->describe() : describe_invalid(hPrinter)));
    if (!handle) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // An injected failure still closes the handle, so that a test of that path does not leak it.
    handle.reset();
    if (fault) {
        SetLastError(fault);
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI GetPrinterDataW(HANDLE hPrinter, LPWSTR pValueName, LPDWORD pType, LPBYTE pData, DWORD nSize,
                             LPDWORD pcbNeeded) {
    const auto handle = find<PrinterHandle>(hPrinter);
    if (const DWORD fault = enter(Service::GetPrinterDataW,
                                  "GetPrinterDataW " + describe_handle(hPrinter, HandleKind::Printer) +
                                      " value=" + utf8(pValueName) + " size=" + std::to_string(nSize)))
        return fault;
    if (!handle)
        return ERROR_INVALID_HANDLE;
    if (!pcbNeeded)
        return RPC_X_NULL_REF_POINTER;
    if (!pData && nSize)
        return ERROR_INVALID_USER_BUFFER;
    SpoolerLock s;
    if (const DWORD error = check(handle.get(), 0))
        return error;
    const auto& values = handle->printer->values;
    const auto it = values.find(std::u16string(view(pValueName)));
    if (it == values.end())
        return ERROR_FILE_NOT_FOUND;
    const PrinterValue& value = it->second;
    *pcbNeeded = static_cast<DWORD>(value.data.size());
    if (pType)
        *pType = value.type;
    // ERROR_MORE_DATA with *pcbNeeded set and nothing copied, as Wine's winspool tests check on Windows.
    if (nSize < value.data.size())
        return ERROR_MORE_DATA;
    std::copy(value.data.begin(), value.data.end(), pData);
    return ERROR_SUCCESS;
}

DWORD WINAPI SetPrinterDataW(HANDLE hPrinter, LPWSTR pValueName, DWORD Type, LPBYTE pData, DWORD cbData) {
    const auto handle = find<PrinterHandle>(hPrinter);
    if (const DWORD fault = enter(Service::SetPrinterDataW,
                                  "SetPrinterDataW " + describe_handle(hPrinter, HandleKind::Printer) +
                                      " value=" + utf8(pValueName) + " type=" + std::to_string(Type) +
                                      " size=" + std::to_string(cbData)))
        return fault;
    if (!handle)
        return ERROR_INVALID_HANDLE;
    if (!pData && cbData)
        return ERROR_INVALID_PARAMETER;
    SpoolerLock s;
    // Printer data belongs to the printer's configuration: changing it takes administrator rights on the
    // handle.
    if (const DWORD error = check(handle.get(), PRINTER_ACCESS_ADMINISTER))
        return error;
    handle->printer->values[std::u16string(view(pValueName))] = PrinterValue{Type, {pData, pData + cbData}};
    return ERROR_SUCCESS;
}

// Host functions.

int winsim_add_printer(const char* name, const char* driver_name, const char* port,
                       const char* print_processor, uint32_t attributes) {
    if (!name || !*name)
        return 0;
    const std::u16string wide_name = from_utf8(name);
    SpoolerLock s;
    if (s->find(wide_name))
        return 0;
    auto printer = std::make_shared<Printer>(wide_name);
    printer->driver_name = name_from(driver_name);
    printer->port = name_from(port);
    printer->print_processor = name_from(print_processor);
    printer->attributes = attributes;
    s->printers.push_back(std::move(printer));
    return 1;
}

int winsim_remove_printer(const char* name) {
    if (!name)
        return 0;
    SpoolerLock s;
    const auto printer = s->find(from_utf8(name));
    if (!printer)
        return 0;
    printer->deleted = true;
    std::erase(s->printers, printer);
    return 1;
}

int winsim_set_printer_devmode(const char* printer, const void* devmode, uint32_t size) {
    if (!printer)
        return 0;
    SpoolerLock s;
    const auto p = s->find(from_utf8(printer));
    if (!p)
        return 0;
    if (!devmode || size == 0) {
        p->devmode.reset();
    } else {
        const auto* bytes = static_cast<const BYTE*>(devmode);
        p->devmode.emplace(bytes, bytes + size);
    }
    return 1;
}

int32_t winsim_get_printer_devmode(const char* printer, void* buf, uint32_t size) {
    if (!printer)
        return -1;
    SpoolerLock s;
    const auto p = s->find(from_utf8(printer));
    if (!p || !p->devmode)
        return -1;
    copy_out(*p->devmode, buf, size);
    return static_cast<int32_t>(p->devmode->size());
}

int winsim_set_printer_data(const char* printer, const char* value, uint32_t type, const void* data,
                            uint32_t size) {
    if (!printer || !value || (!data && size))
        return 0;
    SpoolerLock s;
    const auto p = s->find(from_utf8(printer));
    if (!p)
        return 0;
    const auto* bytes = static_cast<const BYTE*>(data);
    p->values[from_utf8(value)] = PrinterValue{type, std::vector<BYTE>(bytes, bytes + size)};
    return 1;
}

int32_t winsim_get_printer_data(const char* printer, const char* value, uint32_t* type, void* buf,
                                uint32_t size) {
    if (!printer || !value)
        return -1;
    SpoolerLock s;
    const auto p = s->find(from_utf8(printer));
    if (!p)
        return -1;
    const auto it = p->values.find(from_utf8(value));
    if (it == p->values.end())
        return -1;
    if (type)
        *type = it->second.type;
    copy_out(it->second.data, buf, size);
    return static_cast<int32_t>(it->second.data.size());
}

int winsim_delete_printer_data(const char* printer, const char* value) {
    if (!printer || !value)
        return 0;
    SpoolerLock s;
    const auto p = s->find(from_utf8(printer));
    return p && p->values.erase(from_utf8(value)) ? 1 : 0;
}

int winsim_set_printer_driver(const char* printer, const char* driver_path, const char* data_file,
                              const char* config_file, const char* help_file) {
    if (!printer)
        return 0;
    SpoolerLock s;
    const auto p = s->find(from_utf8(printer));
    if (!p)
        return 0;
    p->driver = DriverFiles{name_from(driver_path), name_from(data_file), name_from(config_file),
                            name_from(help_file)};
    return 1;
}

void winsim_set_driver_directory(const char* dir) {
    SpoolerLock s;
    s->driver_directory = dir ? from_utf8(dir) : std::u16string(kDefaultDriverDirectory);
}

} // extern "C"
