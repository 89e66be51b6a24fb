// The spooler's bidirectional channel (bidispl.dll): IBidiSpl bound to a printer answers IBidiRequest
// requests from the values the host gave the printer (winsim_set_bidi_value). "EnumSchema" lists the paths
// under the request's schema, each result a BIDI_STRING holding one path; "Get" and "GetAll" answer the value
// at the path, or every value under it. A request the printer cannot answer is not a failed call: SendRecv
// succeeds and the request's own result (GetResult) holds the error, with no output data, as the Windows
// documentation of IBidiRequest::GetResult describes.
#include "com.h"

#include "services.h"
#include "spooler.h"

#include <bidispl.h>
#include <winsim_host.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

extern "C" {
const IID IID_IBidiRequest = {0x8F348BD7, 0x4B47, 0x4755, {0x8A, 0x9D, 0x0F, 0x42, 0x2D, 0xF3, 0xDC, 0x89}};
const IID IID_IBidiSpl = {0xD580DC0E, 0xDE39, 0x4649, {0xBA, 0xA8, 0xBF, 0x0B, 0x85, 0xA0, 0x3A, 0x97}};
const CLSID CLSID_BidiRequest = {
    0xB9162A23, 0x45F9, 0x47CC, {0x80, 0xF5, 0xFE, 0x0F, 0xE9, 0xB9, 0xE1, 0xA2}};
const CLSID CLSID_BidiSpl = {0x2A614240, 0xA4C5, 0x4C33, {0xBD, 0x87, 0x1B, 0xC7, 0x09, 0x33, 0x16, 0x39}};
}

namespace winsim {
namespace {

struct Result {
    std::u16string schema;
    DWORD type = BIDI_NULL;
    std::vector<BYTE> data;
};

class BidiRequest final : public ComObject<IBidiRequest> {
  public:
    HRESULT WINAPI SetSchema(const LPCWSTR pszSchema) override {
        if (const DWORD fault =
                enter(Service::IBidiRequest_SetSchema, "IBidiRequest_SetSchema schema=" + utf8(pszSchema)))
            return static_cast<HRESULT>(fault);
        if (!pszSchema)
            return E_POINTER;
        schema_ = view(pszSchema);
        Answer(E_FAIL, {});
        return S_OK;
    }
    HRESULT WINAPI SetInputData(const DWORD dwType, const BYTE* pData, const UINT uSize) override {
        if (!pData && uSize)
            return E_POINTER;
        input_type_ = dwType;
        input_.assign(pData, pData + uSize);
        return S_OK;
    }
    HRESULT WINAPI GetResult(HRESULT* phr) override {
        if (const DWORD fault = enter(Service::IBidiRequest_GetResult))
            return static_cast<HRESULT>(fault);
        if (!phr)
            return E_POINTER;
        *phr = result_;
        return S_OK;
    }
    HRESULT WINAPI GetOutputData(const DWORD dwIndex, LPWSTR* ppszSchema, DWORD* pdwType, BYTE** ppData,
                                 ULONG* uSize) override {
        if (const DWORD fault = enter(Service::IBidiRequest_GetOutputData))
            return static_cast<HRESULT>(fault);
        if (!ppszSchema || !pdwType || !ppData || !uSize)
            return E_POINTER;
        *ppszSchema = nullptr;
        *ppData = nullptr;
        *uSize = 0;
        if (dwIndex >= outputs_.size())
            return E_INVALIDARG;
        const Result& r = outputs_[dwIndex];
        LPWSTR schema = alloc_task_string(r.schema);
        BYTE* data = nullptr;
        if (schema && !r.data.empty()) {
            data = static_cast<BYTE*>(CoTaskMemAlloc(r.data.size()));
            if (data)
                std::memcpy(data, r.data.data(), r.data.size());
        }
        if (!schema || (!r.data.empty() && !data)) {
            CoTaskMemFree(schema);
            return E_OUTOFMEMORY;
        }
        *ppszSchema = schema;
        *pdwType = r.type;
        *ppData = data;
        *uSize = static_cast<ULONG>(r.data.size());
        return S_OK;
    }
    HRESULT WINAPI GetEnumCount(DWORD* pdwTotal) override {
        if (const DWORD fault = enter(Service::IBidiRequest_GetEnumCount))
            return static_cast<HRESULT>(fault);
        if (!pdwTotal)
            return E_POINTER;
        *pdwTotal = static_cast<DWORD>(outputs_.size());
        return S_OK;
    }

    const std::u16string& schema() const { return schema_; }
    void Answer(HRESULT result, std::vector<Result> outputs) {
        result_ = result;
        outputs_ = std::move(outputs);
    }

  protected:
    bool Answers(REFIID riid) const override { return riid == IID_IBidiRequest; }

  private:
    std::u16string schema_;
    DWORD input_type_ = BIDI_NULL;
    std::vector<BYTE> input_;
    HRESULT result_ = E_FAIL; // nothing sent yet
    std::vector<Result> outputs_;
};

std::vector<BYTE> path_bytes(const std::u16string& path) {
    std::vector<BYTE> bytes((path.size() + 1) * sizeof(char16_t), 0);
    std::memcpy(bytes.data(), path.data(), path.size() * sizeof(char16_t));
    return bytes;
}

class BidiSpl final : public ComObject<IBidiSpl> {
  public:
    HRESULT WINAPI BindDevice(const LPCWSTR pszDeviceName, const DWORD dwAccess) override {
        if (const DWORD fault =
                enter(Service::IBidiSpl_BindDevice, "IBidiSpl_BindDevice device=" + utf8(pszDeviceName) +
                                                        " access=" + std::to_string(dwAccess)))
            return static_cast<HRESULT>(fault);
        if (!pszDeviceName)
            return E_POINTER;
        if (dwAccess != BIDI_ACCESS_ADMINISTRATOR && dwAccess != BIDI_ACCESS_USER)
            return E_INVALIDARG;
        // A bound object keeps its printer until UnbindDevice (winsim's choice; Windows documents no answer).
        if (printer_)
            return E_HANDLE;
        SpoolerLock s;
        printer_ = s->find(view(pszDeviceName));
        return printer_ ? S_OK : HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME);
    }
    HRESULT WINAPI UnbindDevice(void) override {
        if (const DWORD fault = enter(Service::IBidiSpl_UnbindDevice, "IBidiSpl_UnbindDevice"))
            return static_cast<HRESULT>(fault);
        if (!printer_)
            return E_HANDLE;
        printer_.reset();
        return S_OK;
    }
    HRESULT WINAPI SendRecv(const LPCWSTR pszAction, IBidiRequest* pRequest) override {
        auto* request = dynamic_cast<BidiRequest*>(pRequest);
        if (const DWORD fault = enter(Service::IBidiSpl_SendRecv,
                                      "IBidiSpl_SendRecv action=" + utf8(pszAction) + " schema=" +
                                          (request ? to_utf8(request->schema()) : std::string("(none)"))))
            return static_cast<HRESULT>(fault);
        if (!printer_)
            return E_HANDLE;
        if (!pszAction || !pRequest)
            return E_POINTER;
        if (!request)
            return E_INVALIDARG;
        const std::u16string_view action = view(pszAction);
        const std::u16string& schema = request->schema();
        SpoolerLock s;
        if (printer_->deleted)
            return HRESULT_FROM_WIN32(ERROR_PRINTER_DELETED);
        std::vector<Result> outputs;
        if (action == BIDI_ACTION_ENUM_SCHEMA) {
            for (const BidiValue& v : printer_->bidi) {
                if (v.schema.starts_with(schema))
                    outputs.push_back({schema, BIDI_STRING, path_bytes(v.schema)});
            }
            request->Answer(S_OK, std::move(outputs));
        } else if (action == BIDI_ACTION_GET || action == BIDI_ACTION_GET_ALL) {
            const bool all = action == BIDI_ACTION_GET_ALL;
            for (const BidiValue& v : printer_->bidi) {
                if (all ? v.schema.starts_with(schema) : v.schema == schema)
                    outputs.push_back({v.schema, v.type, v.data});
            }
            const HRESULT result =
                outputs.empty() ? HRESULT_FROM_WIN32(ERROR_BIDI_SCHEMA_NOT_SUPPORTED) : S_OK;
            request->Answer(result, std::move(outputs));
        } else if (action == BIDI_ACTION_SET) {
            request->Answer(HRESULT_FROM_WIN32(ERROR_BIDI_SCHEMA_READ_ONLY), {});
        } else {
            return E_INVALIDARG;
        }
        return S_OK;
    }
    HRESULT WINAPI MultiSendRecv(const LPCWSTR, IBidiRequestContainer*) override { return E_NOTIMPL; }

  protected:
    bool Answers(REFIID riid) const override { return riid == IID_IBidiSpl; }

  private:
    std::shared_ptr<Printer> printer_;
};

} // namespace

IUnknown* create_bidi_spl() {
    return new BidiSpl;
}

IUnknown* create_bidi_request() {
    return new BidiRequest;
}

} // namespace winsim

using namespace winsim;

extern "C" {

int winsim_set_bidi_value(const char* printer, const char* schema, uint32_t type, const void* data,
                          uint32_t size) {
    if (!printer || !schema || (!data && size))
        return 0;
    SpoolerLock s;
    const auto p = s->find(from_utf8(printer));
    if (!p)
        return 0;
    const auto* bytes = static_cast<const BYTE*>(data);
    BidiValue value{from_utf8(schema), type, std::vector<BYTE>(bytes, bytes + size)};
    for (BidiValue& v : p->bidi) {
        if (v.schema == value.schema) {
            v = std::move(value);
            return 1;
        }
    }
    p->bidi.push_back(std::move(value));
    return 1;
}

int winsim_clear_bidi_values(const char* printer) {
    if (!printer)
        return 0;
    SpoolerLock s;
    const auto p = s->find(from_utf8(printer));
    if (!p)
        return 0;
    p->bidi.clear();
    return 1;
}

} // extern "C"
