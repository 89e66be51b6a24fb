/* OLE Automation records and IDispatch: VARIANT, the value that dispatch interfaces pass around. */
#ifndef __oaidl_h__
#define __oaidl_h__

#include <unknwn.h>

#ifdef __cplusplus
struct IDispatch;
struct ITypeInfo;
struct IRecordInfo;
struct tagDISPPARAMS;
struct tagEXCEPINFO;
typedef struct tagDISPPARAMS DISPPARAMS;
typedef struct tagEXCEPINFO EXCEPINFO;
typedef LONG DISPID;

/* The members the simulated objects and their callers use; the union is as large as Windows' (two
   pointers), so the record has Windows' size. */
typedef struct tagVARIANT {
    __extension__ union {
        __extension__ struct {
            VARTYPE vt;
            WORD wReserved1;
            WORD wReserved2;
            WORD wReserved3;
            __extension__ union {
                LONGLONG llVal;
                LONG lVal;
                BYTE bVal;
                SHORT iVal;
                FLOAT fltVal;
                DOUBLE dblVal;
                VARIANT_BOOL boolVal;
                SCODE scode;
                DATE date;
                BSTR bstrVal;
                IUnknown* punkVal;
                IDispatch* pdispVal;
                PVOID byref;
                CHAR cVal;
                USHORT uiVal;
                ULONG ulVal;
                ULONGLONG ullVal;
                INT intVal;
                UINT uintVal;
                __extension__ struct {
                    PVOID pvRecord;
                    IRecordInfo* pRecInfo;
                };
            };
        };
        DECIMAL decVal;
    };
} VARIANT, *LPVARIANT, VARIANTARG, *LPVARIANTARG;

extern "C" WINSIM_EXPORT const IID IID_IDispatch;

struct IDispatch : public IUnknown {
    virtual HRESULT WINAPI GetTypeInfoCount(UINT* pctinfo) = 0;
    virtual HRESULT WINAPI GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
    virtual HRESULT WINAPI GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                         DISPID* rgDispId) = 0;
    virtual HRESULT WINAPI Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                  DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                  UINT* puArgErr) = 0;
};
#endif

#endif
