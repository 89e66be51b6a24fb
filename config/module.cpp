// The library's module handle and activation context. The context comes from the manifest resource 2 (the
// one Windows uses for a DLL's own dependencies) and is made once per process; a process that cannot make it
// still gets working dialogs, only in the classic look.
#include "module.h"

namespace {

constexpr ULONG_PTR kManifestResource = 2;

HMODULE g_module = nullptr;

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

void KeepThisModule(HMODULE module) {
    g_module = module;
}

HMODULE ThisModule() {
    // Without a DllMain call the code runs inside the process image itself.
    return g_module ? g_module : GetModuleHandleW(nullptr);
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
