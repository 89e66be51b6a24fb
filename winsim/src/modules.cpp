// Modules: the process image and "compstui.dll", winsim's stand-in common property sheet library, which a
// printer interface loads by name and whose CommonPropertySheetUIW it finds with GetProcAddress.
#include "activation.h"
#include "reset.h"
#include "resources.h"
#include "text.h"

#include <compstui.h>
#include <windows.h>
#include <winsim_host.h>

#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>

namespace {

// A module handle no real address can have, so that a caller cannot mistake it for another module's.
HMODULE const kCompstui = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x7c500000));

std::atomic<bool> compstui_absent{false};
std::atomic<int> compstui_loads{0};
std::atomic<HANDLE> compstui_context{nullptr};
// What GetModuleFileNameW(NULL) answers instead of the program's own path, when the host set it.
std::u16string process_image_path;

bool is_compstui(LPCWSTR name) {
    std::u16string_view n = winsim::view(name);
    // A path may come before the file name, as with any LoadLibraryW.
    size_t slash = n.find_last_of(u"\\/");
    if (slash != std::u16string_view::npos)
        n = n.substr(slash + 1);
    return winsim::equal_ignoring_case(n, u"compstui.dll") || winsim::equal_ignoring_case(n, u"compstui");
}

// Exports are handed out as FARPROC, as GetProcAddress does; the caller casts back to the real type.
template <typename F> FARPROC export_of(F* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

} // namespace

namespace winsim {

void reset_modules() {
    compstui_absent = false;
    compstui_loads = 0;
    compstui_context = nullptr;
    process_image_path.clear();
}

} // namespace winsim

extern "C" {

void winsim_ui_set_compstui_absent(int absent) {
    compstui_absent = absent != 0;
}

int winsim_ui_compstui_loads(void) {
    return compstui_loads;
}

void* winsim_ui_compstui_context(void) {
    return compstui_context.load();
}

void winsim_ui_set_process_image(const char* windows_path) {
    process_image_path = windows_path ? winsim::from_utf8(windows_path) : std::u16string();
}

HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
    if (!lpLibFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!is_compstui(lpLibFileName) || compstui_absent) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++compstui_loads;
    compstui_context = winsim::active_context();
    return kCompstui;
}

WINBOOL WINAPI FreeLibrary(HMODULE hLibModule) {
    if (hLibModule != kCompstui) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    int loads = compstui_loads.load();
    while (loads > 0 && !compstui_loads.compare_exchange_weak(loads, loads - 1)) {
    }
    if (loads <= 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
    if (hModule != kCompstui || compstui_loads <= 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // An ordinal (a name below 64K) names nothing the stand-in exports by number.
    if (!lpProcName || reinterpret_cast<ULONG_PTR>(lpProcName) >> 16 == 0) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    if (std::strcmp(lpProcName, "CommonPropertySheetUIW") == 0)
        return export_of(&CommonPropertySheetUIW);
    if (std::strcmp(lpProcName, "GetCPSUIUserData") == 0)
        return export_of(&GetCPSUIUserData);
    if (std::strcmp(lpProcName, "SetCPSUIUserData") == 0)
        return export_of(&SetCPSUIUserData);
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
    if (!lpModuleName)
        return winsim::process_image();
    if (lpModuleName && is_compstui(lpModuleName) && compstui_loads > 0)
        return kCompstui;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

// The process image's path (NULL module), as its Linux path; other modules are unknown here.
DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    if (hModule && hModule != winsim::process_image()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    std::u16string wide = process_image_path;
    if (wide.empty()) {
        char path[4096];
        ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
        if (length <= 0) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
        wide = winsim::from_utf8(std::string_view(path, static_cast<size_t>(length)));
    }
    if (!lpFilename || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    // Windows truncates to nSize - 1 characters, terminates, and says so with ERROR_INSUFFICIENT_BUFFER.
    if (wide.size() >= nSize) {
        std::memcpy(lpFilename, wide.data(), (nSize - 1) * sizeof(WCHAR));
        lpFilename[nSize - 1] = 0;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    std::memcpy(lpFilename, wide.data(), wide.size() * sizeof(WCHAR));
    lpFilename[wide.size()] = 0;
    return static_cast<DWORD>(wide.size());
}

} // extern "C"
