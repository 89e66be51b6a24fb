/* The spooler's bidirectional communication objects (bidispl.dll): IBidiSpl talks to a printer, IBidiRequest
   carries one schema request and its results. Methods in Windows' order. Types, actions and access rights
   are in winspool.h, as on Windows. */
#ifndef __bidispl_h__
#define __bidispl_h__

#include <windows.h>
#include <ole2.h>

#ifdef __cplusplus
struct IBidiRequestContainer;

extern "C" WINSIM_EXPORT const IID IID_IBidiRequest;
extern "C" WINSIM_EXPORT const IID IID_IBidiSpl;
extern "C" WINSIM_EXPORT const CLSID CLSID_BidiRequest;
extern "C" WINSIM_EXPORT const CLSID CLSID_BidiSpl;

struct IBidiRequest : public IUnknown {
    virtual HRESULT WINAPI SetSchema(const LPCWSTR pszSchema) = 0;
    virtual HRESULT WINAPI SetInputData(const DWORD dwType, const BYTE* pData, const UINT uSize) = 0;
    virtual HRESULT WINAPI GetResult(HRESULT* phr) = 0;
    /* The schema and data come from CoTaskMemAlloc; the caller frees both with CoTaskMemFree. */
    virtual HRESULT WINAPI GetOutputData(const DWORD dwIndex, LPWSTR* ppszSchema, DWORD* pdwType,
                                         BYTE** ppData, ULONG* uSize) = 0;
    virtual HRESULT WINAPI GetEnumCount(DWORD* pdwTotal) = 0;
};

struct IBidiSpl : public IUnknown {
    virtual HRESULT WINAPI BindDevice(const LPCWSTR pszDeviceName, const DWORD dwAccess) = 0;
    virtual HRESULT WINAPI UnbindDevice(void) = 0;
    virtual HRESULT WINAPI SendRecv(const LPCWSTR pszAction, IBidiRequest* pRequest) = 0;
    virtual HRESULT WINAPI MultiSendRecv(const LPCWSTR pszAction,
                                         IBidiRequestContainer* pRequestContainer) = 0;
};
#endif

#endif
