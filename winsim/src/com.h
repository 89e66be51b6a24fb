// What the simulated COM objects share: reference counting, the live-object count the host reads, and the
// classes CoCreateInstance can make.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <initializer_list>

namespace winsim {

void count_com_object(int delta);

// The base of every simulated COM object: one interface chain (single inheritance, so every interface of the
// chain is the same pointer), a reference count starting at 1 for the creator, and the IIDs it answers to.
template <class Interface> class ComObject : public Interface {
  public:
    ComObject() { count_com_object(1); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    virtual ~ComObject() { count_com_object(-1); }

    HRESULT WINAPI QueryInterface(REFIID riid, void** ppvObject) override {
        if (!ppvObject)
            return E_POINTER;
        *ppvObject = nullptr;
        if (riid == IID_IUnknown || Answers(riid)) {
            *ppvObject = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG WINAPI AddRef(void) override { return ++refs_; }
    ULONG WINAPI Release(void) override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

  protected:
    virtual bool Answers(REFIID riid) const = 0;
    static bool AnyOf(REFIID riid, std::initializer_list<const IID*> ids) {
        for (const IID* id : ids) {
            if (riid == *id)
                return true;
        }
        return false;
    }

  private:
    std::atomic<ULONG> refs_{1};
};

// The classes CoCreateInstance makes, each returning a new object holding one reference.
IUnknown* create_bidi_spl();
IUnknown* create_bidi_request();
IUnknown* create_dom_document();

// Task memory and strings for the objects' answers; counted like the caller's own allocations.
BSTR alloc_bstr(std::u16string_view text);
LPWSTR alloc_task_string(std::u16string_view text);

// Whether the calling thread has COM initialised.
bool com_initialized();

} // namespace winsim
