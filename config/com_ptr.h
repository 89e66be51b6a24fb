// Owners for what COM hands out: interface pointers (Release), BSTRs (SysFreeString), task memory
// (CoTaskMemFree), and the calling thread's COM initialisation (CoUninitialize). Every path out of a query
// gives back what it was given.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <utility>

template <class T> class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For an out parameter: what was held is released first.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Reset() {
        if (p_) {
            p_->Release();
            p_ = nullptr;
        }
    }

  private:
    T* p_ = nullptr;
};

class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(BSTR s) : s_(s) {}
    ~Bstr() { SysFreeString(s_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const { return s_; }
    BSTR* Put() {
        SysFreeString(s_);
        s_ = nullptr;
        return &s_;
    }
    // A BSTR carries its length; NULL is the empty string.
    size_t Length() const { return s_ ? SysStringLen(s_) : 0; }

  private:
    BSTR s_ = nullptr;
};

template <class T> class TaskMem {
  public:
    TaskMem() = default;
    ~TaskMem() { CoTaskMemFree(p_); }
    TaskMem(const TaskMem&) = delete;
    TaskMem& operator=(const TaskMem&) = delete;

    T* get() const { return p_; }
    T** Put() {
        CoTaskMemFree(p_);
        p_ = nullptr;
        return &p_;
    }

  private:
    T* p_ = nullptr;
};

// COM for the caller's scope. Every successful CoInitializeEx (S_OK, or S_FALSE when the thread already had
// this model) is matched by CoUninitialize. A thread that already runs in the other model
// (RPC_E_CHANGED_MODE) can use COM all the same, and must not be uninitialised for it.
class ComScope {
  public:
    explicit ComScope(DWORD model) : hr_(CoInitializeEx(nullptr, model)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

  private:
    HRESULT hr_;
};
