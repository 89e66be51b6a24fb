// GlobalAlloc and the Heap functions: zeroing, frees that Windows refuses, and heaps that free their blocks
// when destroyed. LeakSanitizer checks that nothing here leaks.
#include "winsim_test.h"

#include <algorithm>

namespace {

using MemoryTest = WinsimTest;

TEST_F(MemoryTest, GlobalAllocZeroesAndFreesOnce) {
    auto* block = static_cast<BYTE*>(GlobalAlloc(GPTR, 100));
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(std::all_of(block, block + 100, [](BYTE b) { return b == 0; }));
    EXPECT_EQ(GlobalFree(block), nullptr) << "GlobalFree returns NULL on success";

    // A second free is refused, not passed on to the allocator.
    EXPECT_EQ(GlobalFree(block), block);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalFree(nullptr), nullptr);

    EXPECT_EQ(GlobalAlloc(0x8000, 16), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GlobalAlloc(GPTR, SIZE_T{1} << 40), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST_F(MemoryTest, BlocksGoBackOnlyWhereTheyCameFrom) {
    const HANDLE own = HeapCreate(0, 0, 0);
    ASSERT_NE(own, nullptr);
    void* global = GlobalAlloc(GMEM_FIXED, 8);
    auto* from_own = static_cast<BYTE*>(HeapAlloc(own, HEAP_ZERO_MEMORY, 64));
    ASSERT_NE(from_own, nullptr);
    EXPECT_TRUE(std::all_of(from_own, from_own + 64, [](BYTE b) { return b == 0; }));

    EXPECT_FALSE(HeapFree(GetProcessHeap(), 0, global));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(HeapFree(GetProcessHeap(), 0, from_own));
    EXPECT_EQ(GlobalFree(from_own), from_own);

    // Destroying a heap frees what is still in it.
    HeapAlloc(own, 0, 64);
    EXPECT_TRUE(HeapDestroy(own));
    EXPECT_EQ(HeapAlloc(own, 0, 8), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(HeapDestroy(GetProcessHeap()));
    EXPECT_EQ(GlobalFree(global), nullptr);
}

} // namespace
