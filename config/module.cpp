// The library's module handle and activation context. The context comes from the manifest resource 2 (the
// one Windows uses for a DLL's own dependencies) and is made once per process; a process that cannot make it
// still gets working dialogs, only in the classic look.
#include "module.h"

namespace {

constexpr ULONG_PTR kManifestResource = 2;

HANDLE LibraryContext() {
    static const HANDLE context = [] {
        ACTCTXW request = {};
        request.cbSize = sizeof(request);
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = ThisModule();
        request.lpResourceName = MAKEINTRESOURCEW(kManifestResource);
        const DWORD error = GetLastError();
        HANDLE made = CreateActCtxW(&request);
        SetLastError(error);
        return made;
    }();
    return context;
}

} // namespace

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&LibraryContext), &module);
    return module;
}

LibraryActivation::LibraryActivation() {
    HANDLE context = LibraryContext();
    if (context && context != INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        active_ = ActivateActCtx(context, &cookie_) != FALSE;
        SetLastError(error);
    }
}

LibraryActivation::~LibraryActivation() {
    if (active_) {
        const DWORD error = GetLastError();
        DeactivateActCtx(0, cookie_);
        SetLastError(error);
    }
}
