// Zero-filled driver storage from GlobalAlloc, freed when the owner goes out of scope. Driver
// storage comes from GlobalAlloc so that every allocation of either library goes one way.
#pragma once

#include <windows.h>

#include <cstddef>

class GlobalBuffer {
  public:
    GlobalBuffer() = default;
    explicit GlobalBuffer(size_t bytes) { Allocate(bytes); }
    ~GlobalBuffer() { Free(); }
    GlobalBuffer(const GlobalBuffer&) = delete;
    GlobalBuffer& operator=(const GlobalBuffer&) = delete;

    bool Allocate(size_t bytes) {
        Free();
        data_ = static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes ? bytes : 1));
        size_ = data_ ? bytes : 0;
        return data_ != nullptr;
    }
    void Free() {
        if (data_) {
            GlobalFree(data_);
        }
        data_ = nullptr;
        size_ = 0;
    }
    BYTE* get() const { return data_; }
    size_t size() const { return size_; }
    explicit operator bool() const { return data_ != nullptr; }
    template <class T> T* as() const { return reinterpret_cast<T*>(data_); }

  private:
    BYTE* data_ = nullptr;
    size_t size_ = 0;
};
