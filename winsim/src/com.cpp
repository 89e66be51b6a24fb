// COM as the driver uses it (ole32.dll and oleaut32.dll): per-thread initialisation, CoCreateInstance for the
// bidi and XML classes, task memory, BSTRs and VARIANTs. The live objects and allocations are counted so
// that a test sees a leaked interface or string; the memory comes from malloc, so the sanitizers see misuse.
#include "com.h"

#include "services.h"
#include "text.h"

#include <oleauto.h>
#include <bidispl.h>
#include <msxml2.h>
#include <winsim_host.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_set>

extern "C" {
const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
}

namespace winsim {
namespace {

std::atomic<int> live_objects{0};

// Per thread, as on Windows: how many successful CoInitializeEx calls are not yet matched, and the apartment
// model the first one chose.
struct Apartment {
    unsigned count = 0;
    bool single_threaded = false;
};
thread_local Apartment apartment;

// Blocks handed out by CoTaskMemAlloc and SysAllocString*, so that freeing counts them and a foreign pointer
// is refused instead of corrupting the heap.
struct Allocations {
    std::mutex mutex;
    std::unordered_set<void*> task_blocks;
    std::unordered_set<void*> strings; // the start of each BSTR's block (its length prefix)
};
Allocations& allocations() {
    static Allocations* a = new Allocations;
    return *a;
}

struct ClassInfo {
    const CLSID* clsid;
    const char* name;
    IUnknown* (*create)();
};
const ClassInfo kClasses[] = {
    {&CLSID_BidiSpl, "BidiSpl", create_bidi_spl},
    {&CLSID_BidiRequest, "BidiRequest", create_bidi_request},
    {&CLSID_DOMDocument30, "DOMDocument30", create_dom_document},
};

std::string guid_text(REFGUID g) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2,
                  g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                  g.Data4[7]);
    return text;
}

BSTR make_bstr(const OLECHAR* text, UINT length) {
    // Length prefix (bytes, without the NUL), the characters, a NUL.
    const size_t bytes = sizeof(DWORD) + (static_cast<size_t>(length) + 1) * sizeof(OLECHAR);
    auto* block = static_cast<BYTE*>(std::calloc(1, bytes));
    if (!block)
        return nullptr;
    const DWORD byte_length = length * sizeof(OLECHAR);
    std::memcpy(block, &byte_length, sizeof byte_length);
    BSTR s = reinterpret_cast<BSTR>(block + sizeof(DWORD));
    if (text)
        std::memcpy(s, text, length * sizeof(OLECHAR));
    Allocations& a = allocations();
    std::lock_guard lock(a.mutex);
    a.strings.insert(block);
    return s;
}

} // namespace

void count_com_object(int delta) {
    live_objects += delta;
}

bool com_initialized() {
    return apartment.count > 0;
}

BSTR alloc_bstr(std::u16string_view text) {
    return make_bstr(text.data(), static_cast<UINT>(text.size()));
}

LPWSTR alloc_task_string(std::u16string_view text) {
    auto* out = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
    if (out) {
        std::memcpy(out, text.data(), text.size() * sizeof(WCHAR));
        out[text.size()] = 0;
    }
    return out;
}

} // namespace winsim

using namespace winsim;

extern "C" {

HRESULT WINAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
    if (const DWORD fault = enter(Service::CoInitializeEx))
        return static_cast<HRESULT>(fault);
    if (pvReserved)
        return E_INVALIDARG;
    const bool single = (dwCoInit & COINIT_APARTMENTTHREADED) != 0;
    if (apartment.count > 0) {
        if (apartment.single_threaded != single)
            return RPC_E_CHANGED_MODE;
        ++apartment.count;
        return S_FALSE;
    }
    apartment.count = 1;
    apartment.single_threaded = single;
    return S_OK;
}

void WINAPI CoUninitialize(void) {
    // An unmatched call does nothing, as on Windows.
    if (apartment.count > 0)
        --apartment.count;
}

HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                                LPVOID* ppv) {
    const ClassInfo* found = nullptr;
    for (const ClassInfo& c : kClasses) {
        if (*c.clsid == rclsid)
            found = &c;
    }
    if (const DWORD fault =
            enter(Service::CoCreateInstance, std::string("CoCreateInstance class=") +
                                                 (found ? found->name : guid_text(rclsid).c_str()) +
                                                 " context=" + hex(dwClsContext, 1)))
        return static_cast<HRESULT>(fault);
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!com_initialized())
        return CO_E_NOTINITIALIZED;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    // Every class here is an in-process server.
    if (!found || !(dwClsContext & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    IUnknown* object = found->create();
    if (!object)
        return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

LPVOID WINAPI CoTaskMemAlloc(SIZE_T cb) {
    if (enter(Service::CoTaskMemAlloc))
        return nullptr;
    void* block = std::malloc(cb ? cb : 1);
    if (!block)
        return nullptr;
    Allocations& a = allocations();
    std::lock_guard lock(a.mutex);
    a.task_blocks.insert(block);
    return block;
}

void WINAPI CoTaskMemFree(LPVOID pv) {
    if (!pv)
        return;
    Allocations& a = allocations();
    {
        std::lock_guard lock(a.mutex);
        if (a.task_blocks.erase(pv) == 0)
            return; // not a task-memory block: left alone
    }
    std::free(pv);
}

BSTR WINAPI SysAllocString(const OLECHAR* psz) {
    if (enter(Service::SysAllocString) || !psz)
        return nullptr;
    return make_bstr(psz, static_cast<UINT>(view(psz).size()));
}

BSTR WINAPI SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
    if (enter(Service::SysAllocStringLen))
        return nullptr;
    return make_bstr(strIn, ui);
}

void WINAPI SysFreeString(BSTR bstrString) {
    if (!bstrString)
        return;
    void* block = reinterpret_cast<BYTE*>(bstrString) - sizeof(DWORD);
    Allocations& a = allocations();
    {
        std::lock_guard lock(a.mutex);
        if (a.strings.erase(block) == 0)
            return;
    }
    std::free(block);
}

UINT WINAPI SysStringByteLen(BSTR bstr) {
    if (!bstr)
        return 0;
    DWORD bytes;
    std::memcpy(&bytes, reinterpret_cast<BYTE*>(bstr) - sizeof(DWORD), sizeof bytes);
    return bytes;
}

UINT WINAPI SysStringLen(BSTR pbstr) {
    return SysStringByteLen(pbstr) / sizeof(OLECHAR);
}

void WINAPI VariantInit(VARIANTARG* pvarg) {
    if (pvarg) {
        std::memset(pvarg, 0, sizeof(*pvarg));
        pvarg->vt = VT_EMPTY;
    }
}

HRESULT WINAPI VariantClear(VARIANTARG* pvarg) {
    if (!pvarg)
        return E_INVALIDARG;
    switch (pvarg->vt) {
    case VT_BSTR:
        SysFreeString(pvarg->bstrVal);
        break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        if (pvarg->punkVal)
            pvarg->punkVal->Release();
        break;
    default:
        break;
    }
    std::memset(pvarg, 0, sizeof(*pvarg));
    pvarg->vt = VT_EMPTY;
    return S_OK;
}

// Host functions.

uint32_t winsim_com_objects(void) {
    return static_cast<uint32_t>(live_objects.load());
}

uint32_t winsim_com_allocations(void) {
    Allocations& a = allocations();
    std::lock_guard lock(a.mutex);
    return static_cast<uint32_t>(a.task_blocks.size() + a.strings.size());
}

uint32_t winsim_com_initialized(void) {
    return apartment.count;
}

} // extern "C"
