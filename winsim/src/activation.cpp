// Activation contexts, the Windows folder and the common controls' start-up. A context is made from a
// module's manifest resource (RT_MANIFEST) and activated on a per-thread stack; a call that matters to which
// context is active (loading "compstui.dll", making a property sheet page) asks winsim::active_context().
#include "activation.h"

#include "resources.h"

#include <commctrl.h>
#include <windows.h>

#include <set>
#include <vector>

namespace {

std::set<HANDLE> contexts;
ULONG_PTR nextContext = 0x5AC70000;
thread_local std::vector<std::pair<HANDLE, ULONG_PTR>> activeStack;
ULONG_PTR nextCookie = 0x100;

} // namespace

namespace winsim {

HANDLE active_context() {
    return activeStack.empty() ? nullptr : activeStack.back().first;
}

// Contexts made stay: a module makes its context once per process and keeps it, across machine resets too.
void reset_activation() {
    activeStack.clear();
}

} // namespace winsim

extern "C" {

UINT WINAPI GetWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize) {
    static const WCHAR windows[] = TEXT("C:\\Windows");
    const UINT length = sizeof(windows) / sizeof(windows[0]) - 1;
    if (!lpBuffer || uSize <= length)
        return length + 1;
    for (UINT i = 0; i <= length; ++i)
        lpBuffer[i] = windows[i];
    return length;
}

WINBOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
    return picce && picce->dwSize == sizeof(INITCOMMONCONTROLSEX);
}

// Only contexts from a module's manifest resource can be made: there are no manifest files here.
HANDLE WINAPI CreateActCtxW(PCACTCTXW pActCtx) {
    if (!pActCtx || pActCtx->cbSize < sizeof(ACTCTXW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const bool fromModule = (pActCtx->dwFlags & ACTCTX_FLAG_HMODULE_VALID) &&
                            (pActCtx->dwFlags & ACTCTX_FLAG_RESOURCE_NAME_VALID);
    winsim::ResourceData manifest;
    if (!fromModule ||
        !winsim::find_resource(pActCtx->hModule, RT_MANIFEST, pActCtx->lpResourceName, manifest)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE context = reinterpret_cast<HANDLE>(nextContext += 4);
    contexts.insert(context);
    return context;
}

WINBOOL WINAPI ActivateActCtx(HANDLE hActCtx, ULONG_PTR* lpCookie) {
    if (!lpCookie) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpCookie = 0;
    if (!contexts.count(hActCtx)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *lpCookie = nextCookie++;
    activeStack.emplace_back(hActCtx, *lpCookie);
    return TRUE;
}

// Contexts are deactivated in the reverse order of activation; another cookie is refused.
WINBOOL WINAPI DeactivateActCtx(DWORD, ULONG_PTR ulCookie) {
    if (activeStack.empty() || activeStack.back().second != ulCookie) {
        SetLastError(ERROR_SXS_INVALID_DEACTIVATION);
        return FALSE;
    }
    activeStack.pop_back();
    return TRUE;
}

VOID WINAPI ReleaseActCtx(HANDLE hActCtx) {
    contexts.erase(hActCtx);
}

} // extern "C"
