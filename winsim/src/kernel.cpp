// Last error, time, process and thread ids, and CloseHandle for the kernel objects (files and mutexes).
#include "handles.h"
#include "services.h"

#include <windows.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

// Windows keeps the last error per thread; so does this.
thread_local DWORD last_error = ERROR_SUCCESS;

} // namespace

using namespace winsim;

extern "C" {

DWORD WINAPI GetLastError(VOID) {
    return last_error;
}

VOID WINAPI SetLastError(DWORD dwErrCode) {
    last_error = dwErrCode;
}

VOID WINAPI Sleep(DWORD dwMilliseconds) {
    if (dwMilliseconds == INFINITE) {
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(24));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

ULONGLONG WINAPI GetTickCount64(VOID) {
    const auto since_boot = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<ULONGLONG>(std::chrono::duration_cast<std::chrono::milliseconds>(since_boot).count());
}

DWORD WINAPI GetTickCount(VOID) {
    // Wraps after 49.7 days, as on Windows.
    return static_cast<DWORD>(GetTickCount64());
}

DWORD WINAPI GetCurrentProcessId(VOID) {
    return static_cast<DWORD>(getpid());
}

DWORD WINAPI GetCurrentThreadId(VOID) {
    return static_cast<DWORD>(syscall(SYS_gettid));
}

WINBOOL WINAPI CloseHandle(HANDLE hObject) {
    std::shared_ptr<Object> object = take_handle(hObject, HandleKind::File);
    if (!object)
        object = take_handle(hObject, HandleKind::Mutex);
    const DWORD fault = enter(Service::CloseHandle,
                              "CloseHandle " + (object ? object->describe() : describe_invalid(hObject)));
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // An injected failure still closes: the caller cannot do anything about it, and a test of that path
    // should not leak the host resources behind the handle.
    object.reset();
    if (fault) {
        SetLastError(fault);
        return FALSE;
    }
    return TRUE;
}

} // extern "C"
