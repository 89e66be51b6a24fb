// GlobalAlloc and the Heap functions.
//
// Every block comes from the C allocator, so AddressSanitizer sees overruns and LeakSanitizer sees blocks the
// driver never frees. A side table records each block's owner (the global pool or a heap) so that a block
// freed through the wrong function, or twice, is refused the way Windows refuses an invalid handle, and so
// that destroying a heap frees what is left in it.
#include "services.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

// Blocks above this size fail as out of memory. Larger requests are driver bugs here, and the sanitizers
// abort on them instead of returning NULL.
constexpr SIZE_T kMaxBlock = SIZE_T{1} << 32;

// Heap handle values. They are not kernel handles, so they live apart from the handle table.
constexpr uintptr_t kGlobalPool = 0x5A000000;
constexpr uintptr_t kProcessHeap = 0x5A000010;

// The table keys are complemented pointers: LeakSanitizer treats any word that looks like a pointer to a
// block as a reference, and a table of plain pointers would hide every leak.
uintptr_t key(const void* p) {
    return ~reinterpret_cast<uintptr_t>(p);
}

struct Blocks {
    std::mutex mutex;
    std::unordered_map<uintptr_t, uintptr_t> blocks; // key(block) -> owner
    std::vector<uintptr_t> heaps{kProcessHeap};
    uintptr_t next_heap = kProcessHeap + 0x10;

    bool heap_exists(uintptr_t heap) const {
        return std::find(heaps.begin(), heaps.end(), heap) != heaps.end();
    }
};

Blocks& blocks() {
    static Blocks* b = new Blocks;
    return *b;
}

void* allocate(uintptr_t owner, SIZE_T size, bool zero) {
    if (size > kMaxBlock)
        return nullptr;
    void* p = zero ? std::calloc(size ? size : 1, 1) : std::malloc(size ? size : 1);
    if (!p)
        return nullptr;
    Blocks& b = blocks();
    std::lock_guard lock(b.mutex);
    b.blocks.emplace(key(p), owner);
    return p;
}

// Unregisters the block when `owner` owns it; returns false for anything else.
bool release(uintptr_t owner, void* p) {
    {
        Blocks& b = blocks();
        std::lock_guard lock(b.mutex);
        const auto it = b.blocks.find(key(p));
        if (it == b.blocks.end() || it->second != owner)
            return false;
        b.blocks.erase(it);
    }
    std::free(p);
    return true;
}

uintptr_t heap_of(HANDLE heap) {
    const uintptr_t id = reinterpret_cast<uintptr_t>(heap);
    Blocks& b = blocks();
    std::lock_guard lock(b.mutex);
    return b.heap_exists(id) ? id : 0;
}

} // namespace

using namespace winsim;

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
    if (const DWORD fault = enter(Service::GlobalAlloc)) {
        SetLastError(fault);
        return nullptr;
    }
    if (uFlags & ~static_cast<UINT>(GMEM_VALID_FLAGS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // GMEM_MOVEABLE memory is handed out fixed: the handle is the pointer, so GlobalLock would return it as
    // is.
    void* p = allocate(kGlobalPool, dwBytes, (uFlags & GMEM_ZEROINIT) != 0);
    if (!p)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return p;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
    const DWORD fault = enter(Service::GlobalFree);
    if (!hMem)
        return nullptr;
    if (!release(kGlobalPool, hMem)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return hMem;
    }
    // An injected failure still frees, so that a test of the failure path does not leak.
    if (fault) {
        SetLastError(fault);
        return hMem;
    }
    return nullptr;
}

HANDLE WINAPI GetProcessHeap(VOID) {
    return reinterpret_cast<HANDLE>(kProcessHeap);
}

HANDLE WINAPI HeapCreate(DWORD, SIZE_T dwInitialSize, SIZE_T dwMaximumSize) {
    if (const DWORD fault = enter(Service::HeapCreate)) {
        SetLastError(fault);
        return nullptr;
    }
    if (dwMaximumSize != 0 && dwInitialSize > dwMaximumSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Blocks& b = blocks();
    std::lock_guard lock(b.mutex);
    const uintptr_t id = b.next_heap;
    b.next_heap += 0x10;
    b.heaps.push_back(id);
    return reinterpret_cast<HANDLE>(id);
}

WINBOOL WINAPI HeapDestroy(HANDLE hHeap) {
    const DWORD fault = enter(Service::HeapDestroy);
    const uintptr_t id = reinterpret_cast<uintptr_t>(hHeap);
    std::vector<void*> freed;
    {
        Blocks& b = blocks();
        std::lock_guard lock(b.mutex);
        if (id == kProcessHeap || !b.heap_exists(id)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        // Destroying a heap frees what is left in it, as on Windows.
        for (auto it = b.blocks.begin(); it != b.blocks.end();) {
            if (it->second == id) {
                freed.push_back(reinterpret_cast<void*>(~it->first));
                it = b.blocks.erase(it);
            } else {
                ++it;
            }
        }
        b.heaps.erase(std::find(b.heaps.begin(), b.heaps.end(), id));
    }
    for (void* p : freed)
        std::free(p);
    if (fault) {
        SetLastError(fault);
        return FALSE;
    }
    return TRUE;
}

LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes) {
    // Windows documents that a failed HeapAlloc leaves the last error alone; winsim sets it anyway, as a
    // hint.
    if (const DWORD fault = enter(Service::HeapAlloc)) {
        SetLastError(fault);
        return nullptr;
    }
    const uintptr_t heap = heap_of(hHeap);
    if (!heap) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    void* p = allocate(heap, dwBytes, (dwFlags & HEAP_ZERO_MEMORY) != 0);
    if (!p)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return p;
}

WINBOOL WINAPI HeapFree(HANDLE hHeap, DWORD, LPVOID lpMem) {
    const DWORD fault = enter(Service::HeapFree);
    // Freeing NULL succeeds, whatever the heap, as Wine's kernel32 heap tests show on Windows.
    if (!lpMem)
        return TRUE;
    const uintptr_t heap = heap_of(hHeap);
    if (!heap || !release(heap, lpMem)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (fault) {
        SetLastError(fault);
        return FALSE;
    }
    return TRUE;
}

} // extern "C"
