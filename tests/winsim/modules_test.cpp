// Modules: the stand-in common property sheet library is found by name, counted while loaded, can be made
// absent, and the process image has a path.
#include "winsim_test.h"

#include <compstui.h>

#include <string>

namespace {

using ModulesTest = WinsimTest;

TEST_F(ModulesTest, CompstuiLoadsByItsNamesAndExportsTheSheetEntryPoint) {
    for (LPCWSTR name : {TEXT("compstui.dll"), TEXT("COMPSTUI.DLL"), TEXT("compstui"),
                         TEXT("C:\\Windows\\System32\\compstui.dll")}) {
        HMODULE module = LoadLibraryW(name);
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(module, "CommonPropertySheetUIW")),
                  reinterpret_cast<void*>(&CommonPropertySheetUIW));
        EXPECT_EQ(GetProcAddress(module, "CommonPropertySheetUIA"), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
        EXPECT_EQ(GetProcAddress(module, reinterpret_cast<LPCSTR>(1)), nullptr);
        EXPECT_TRUE(FreeLibrary(module));
    }
    EXPECT_EQ(winsim_ui_compstui_loads(), 0);
    EXPECT_EQ(LoadLibraryW(TEXT("other.dll")), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
}

TEST_F(ModulesTest, LoadsAreCountedAndFreedOnce) {
    HMODULE first = LoadLibraryW(TEXT("compstui.dll"));
    HMODULE second = LoadLibraryW(TEXT("compstui.dll"));
    EXPECT_EQ(first, second);
    EXPECT_EQ(winsim_ui_compstui_loads(), 2);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetProcAddress(first, "CommonPropertySheetUIW"), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST_F(ModulesTest, AbsentCompstuiFailsAsOnAMachineWithoutIt) {
    winsim_ui_set_compstui_absent(1);
    EXPECT_EQ(LoadLibraryW(TEXT("compstui.dll")), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    winsim_reset();
    HMODULE module = LoadLibraryW(TEXT("compstui.dll"));
    EXPECT_NE(module, nullptr);
    FreeLibrary(module);
}

TEST_F(ModulesTest, ProcessImagePathIsTerminatedAndTruncatedAsOnWindows) {
    WCHAR path[MAX_PATH * 4] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    ASSERT_GT(length, 0u);
    std::u16string full(path, length);
    EXPECT_NE(full.find(u"winsim_tests"), std::u16string::npos);

    WCHAR shortBuffer[4] = {1, 1, 1, 1};
    EXPECT_EQ(GetModuleFileNameW(nullptr, shortBuffer, 4), 4u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::u16string(shortBuffer, 3), full.substr(0, 3));
    EXPECT_EQ(shortBuffer[3], 0);
}

} // namespace
