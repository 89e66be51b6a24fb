// GlobalAlloc and the Heap functions: zeroing, exact sizes, frees that Windows refuses, and heaps that free
// their blocks when destroyed. LeakSanitizer checks that nothing here leaks.
#include "winsim_test.h"

#include <algorithm>
#include <cstring>

namespace {

using MemoryTest = WinsimTest;

TEST_F(MemoryTest, GlobalAllocZeroesAndKnowsItsSize) {
    auto* block = static_cast<BYTE*>(GlobalAlloc(GPTR, 100));
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(std::all_of(block, block + 100, [](BYTE b) { return b == 0; }));
    EXPECT_EQ(GlobalSize(block), 100u);
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

TEST_F(MemoryTest, HeapReAllocKeepsContentAndZeroesGrowth) {
    const HANDLE heap = GetProcessHeap();
    auto* block = static_cast<char*>(HeapAlloc(heap, 0, 4));
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "abcd", 4);

    auto* grown = static_cast<char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 8));
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(std::memcmp(grown, "abcd\0\0\0\0", 8), 0);
    EXPECT_EQ(HeapSize(heap, 0, grown), 8u);

    EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, grown, 16), nullptr);
    EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, grown, 2), grown);
    EXPECT_EQ(HeapSize(heap, 0, grown), 2u);
    EXPECT_TRUE(HeapFree(heap, 0, grown));
}

TEST_F(MemoryTest, BlocksGoBackOnlyWhereTheyCameFrom) {
    const HANDLE own = HeapCreate(0, 0, 0);
    ASSERT_NE(own, nullptr);
    void* global = GlobalAlloc(GMEM_FIXED, 8);
    void* from_own = HeapAlloc(own, 0, 8);
    ASSERT_NE(from_own, nullptr);

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
