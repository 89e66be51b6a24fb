/* OLE Automation services (oleaut32.dll): BSTR strings and VARIANT values. */
#ifndef _OLEAUTO_H_
#define _OLEAUTO_H_

#include <oaidl.h>

#define WINOLEAUTAPI WINSIM_EXPORT

#ifdef __cplusplus
extern "C" {
/* A BSTR holds its length, so it may hold NULs; SysAllocString copies up to the first. */
WINOLEAUTAPI BSTR WINAPI SysAllocString(const OLECHAR* psz);
WINOLEAUTAPI BSTR WINAPI SysAllocStringLen(const OLECHAR* strIn, UINT ui);
WINOLEAUTAPI void WINAPI SysFreeString(BSTR bstrString);
WINOLEAUTAPI UINT WINAPI SysStringLen(BSTR pbstr);
WINOLEAUTAPI UINT WINAPI SysStringByteLen(BSTR bstr);
WINOLEAUTAPI void WINAPI VariantInit(VARIANTARG* pvarg);
WINOLEAUTAPI HRESULT WINAPI VariantClear(VARIANTARG* pvarg);
}
#endif

#endif
