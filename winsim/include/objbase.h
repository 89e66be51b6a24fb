/* COM services (ole32.dll): apartments, object creation and task memory. */
#ifndef _OBJBASE_H_
#define _OBJBASE_H_

#include <windows.h>
#include <unknwn.h>
#include <wtypes.h>

typedef enum tagCOINIT {
    COINIT_APARTMENTTHREADED = 0x2,
    COINIT_MULTITHREADED = 0x0,
    COINIT_DISABLE_OLE1DDE = 0x4,
    COINIT_SPEED_OVER_MEMORY = 0x8,
} COINIT;

typedef enum tagCLSCTX {
    CLSCTX_INPROC_SERVER = 0x1,
    CLSCTX_INPROC_HANDLER = 0x2,
    CLSCTX_LOCAL_SERVER = 0x4,
    CLSCTX_REMOTE_SERVER = 0x10,
} CLSCTX;

#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

#define WINOLEAPI WINSIM_EXPORT

#ifdef __cplusplus
extern "C" {
/* COM is initialised per thread and counted: every successful call (S_OK the first time, S_FALSE after) needs
   its CoUninitialize. A thread in one apartment model asking for the other gets RPC_E_CHANGED_MODE. */
WINOLEAPI HRESULT WINAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
WINOLEAPI void WINAPI CoUninitialize(void);
WINOLEAPI HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext,
                                          REFIID riid, LPVOID* ppv);
WINOLEAPI LPVOID WINAPI CoTaskMemAlloc(SIZE_T cb);
WINOLEAPI void WINAPI CoTaskMemFree(LPVOID pv);
}
#endif

#endif
