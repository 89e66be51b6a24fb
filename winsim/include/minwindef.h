/* The scalar types of the Windows API at their Windows sizes, and the calling-convention and linkage macros.
   Linux is LP64, so the types Windows builds from a 32-bit `long` (LONG, ULONG, DWORD) are built here from
   32-bit integers instead; code that assumes `sizeof(long) == 4` must use these names. */
#ifndef _MINWINDEF_
#define _MINWINDEF_

#include <stddef.h>
#include <stdint.h>
#include <basetsd.h>

#ifndef __cplusplus
#include <uchar.h>
#endif

/* Lets the rare piece of driver code that has to tell the simulation apart find out. */
#define WINSIM 1

/* x86-64 Linux has one calling convention, so the Windows ones expand to nothing. */
#define WINAPI
#define WINAPIV
#define APIENTRY
#define CALLBACK
#define PASCAL
#define NTAPI
#ifndef __stdcall
#define __stdcall
#endif
#ifndef __cdecl
#define __cdecl
#endif
#define FAR
#define NEAR
#define CONST const
#define VOID void
#define IN
#define OUT
#define OPTIONAL

/* The services are exported from libwinsim.so, which hides everything else. */
#define WINSIM_EXPORT __attribute__((visibility("default")))
#define WINBASEAPI WINSIM_EXPORT
#define WINGDIAPI WINSIM_EXPORT
#define WINUSERAPI WINSIM_EXPORT
#define WINSPOOLAPI WINSIM_EXPORT
#define NTSYSAPI WINSIM_EXPORT

#ifdef __cplusplus
#define WINSIM_EXTERN_C_BEGIN extern "C" {
#define WINSIM_EXTERN_C_END }
#define WINSIM_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define WINSIM_EXTERN_C_BEGIN
#define WINSIM_EXTERN_C_END
#define WINSIM_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

#ifndef NULL
#define NULL 0
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif

#define MAX_PATH 260

typedef char CHAR;
typedef signed char SCHAR;
typedef unsigned char UCHAR, *PUCHAR;
typedef unsigned char BYTE, *PBYTE, *LPBYTE;
typedef BYTE BOOLEAN, *PBOOLEAN;
typedef short SHORT, *PSHORT;
typedef unsigned short USHORT, *PUSHORT;
typedef unsigned short WORD, *PWORD, *LPWORD;
typedef int INT, *PINT, *LPINT;
typedef unsigned int UINT, *PUINT;
typedef int32_t LONG, *PLONG, *LPLONG;
typedef uint32_t ULONG, *PULONG;
typedef uint32_t DWORD, *PDWORD, *LPDWORD;
typedef long long LONGLONG, *PLONGLONG;
typedef unsigned long long ULONGLONG, *PULONGLONG;
typedef ULONGLONG DWORDLONG, *PDWORDLONG;
typedef float FLOAT, *PFLOAT;
typedef int WINBOOL, *PWINBOOL, *LPWINBOOL;
typedef WINBOOL BOOL, *PBOOL, *LPBOOL;

/* WCHAR is UTF-16 as on Windows; wchar_t is 32-bit on Linux, so char16_t stands in for it. */
typedef char16_t WCHAR, *PWCHAR, *LPWCH, *PWCH;
typedef const WCHAR *LPCWCH, *PCWCH;
typedef WCHAR *LPWSTR, *PWSTR, *NWPSTR;
typedef const WCHAR *LPCWSTR, *PCWSTR;
typedef CHAR *PCHAR, *LPCH, *PCH;
typedef const CHAR *LPCCH, *PCCH;
typedef CHAR *LPSTR, *PSTR, *NPSTR;
typedef const CHAR *LPCSTR, *PCSTR;

typedef void *PVOID, *LPVOID;
typedef const void *PCVOID, *LPCVOID;
typedef void *HANDLE, **PHANDLE, **LPHANDLE;
typedef HANDLE HGLOBAL, HLOCAL;
typedef LONG HRESULT;
typedef DWORD ACCESS_MASK, *PACCESS_MASK;
typedef WORD ATOM;
typedef DWORD COLORREF, *LPCOLORREF;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;

/* Opaque handle types are distinct pointer types, as with STRICT on Windows. */
#define DECLARE_HANDLE(name)                                                                                 \
    struct name##__ {                                                                                        \
        int unused;                                                                                          \
    };                                                                                                       \
    typedef struct name##__* name

DECLARE_HANDLE(HINSTANCE);
typedef HINSTANCE HMODULE;
DECLARE_HANDLE(HKEY);
typedef HKEY* PHKEY;

#define MAKEWORD(a, b)                                                                                       \
    ((WORD)(((BYTE)(((DWORD_PTR)(a)) & 0xff)) | ((WORD)((BYTE)(((DWORD_PTR)(b)) & 0xff))) << 8))
#define MAKELONG(a, b)                                                                                       \
    ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD_PTR)(w)) >> 8) & 0xff))

WINSIM_STATIC_ASSERT(sizeof(BYTE) == 1 && sizeof(WORD) == 2 && sizeof(DWORD) == 4, "Windows integer widths");
WINSIM_STATIC_ASSERT(sizeof(LONG) == 4 && sizeof(ULONG) == 4 && sizeof(BOOL) == 4,
                     "LONG is 32-bit on Windows");
WINSIM_STATIC_ASSERT(sizeof(WCHAR) == 2, "WCHAR is a UTF-16 code unit");
WINSIM_STATIC_ASSERT(sizeof(LONGLONG) == 8 && sizeof(DWORDLONG) == 8, "64-bit integers");
WINSIM_STATIC_ASSERT(sizeof(ULONG_PTR) == sizeof(void*) && sizeof(SIZE_T) == sizeof(void*), "pointer-sized");

#endif
