/* GUIDs: the identifiers of COM classes and interfaces. */
#ifndef GUID_DEFINED
#define GUID_DEFINED

#include <minwindef.h>
#include <string.h>

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID, *LPGUID;

typedef GUID IID, *LPIID;
typedef GUID CLSID, *LPCLSID;

#ifdef __cplusplus
#define REFGUID const GUID&
#define REFIID const IID&
#define REFCLSID const IID&
inline int IsEqualGUID(REFGUID a, REFGUID b) {
    return memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool operator==(REFGUID a, REFGUID b) {
    return IsEqualGUID(a, b) != 0;
}
inline bool operator!=(REFGUID a, REFGUID b) {
    return !(a == b);
}
#else
#define REFGUID const GUID*
#define REFIID const IID*
#define REFCLSID const IID*
#endif
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)

#endif
