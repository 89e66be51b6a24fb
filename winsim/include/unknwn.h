/* IUnknown, the interface every COM object has. Only the C++ form exists. */
#ifndef __unknwn_h__
#define __unknwn_h__

#include <windef.h>
#include <guiddef.h>
#include <wtypes.h>

#ifdef __cplusplus
extern "C" WINSIM_EXPORT const IID IID_IUnknown;

struct IUnknown {
    virtual HRESULT WINAPI QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG WINAPI AddRef(void) = 0;
    virtual ULONG WINAPI Release(void) = 0;
};
typedef IUnknown* LPUNKNOWN;
#endif

#endif
