/* Pointer-sized integer types. They follow the pointer width of the build, as on Windows, and SIZE_T is the
   host's size_t so that sizes from the C++ library and from the Windows API mix without casts. */
#ifndef _BASETSD_H_
#define _BASETSD_H_

#include <stddef.h>
#include <stdint.h>

typedef intptr_t INT_PTR, *PINT_PTR;
typedef uintptr_t UINT_PTR, *PUINT_PTR;
typedef intptr_t LONG_PTR, *PLONG_PTR;
typedef uintptr_t ULONG_PTR, *PULONG_PTR;
typedef ULONG_PTR DWORD_PTR, *PDWORD_PTR;
typedef size_t SIZE_T, *PSIZE_T;
typedef LONG_PTR SSIZE_T, *PSSIZE_T;
typedef ULONG_PTR HANDLE_PTR;

typedef int32_t INT32, *PINT32;
typedef uint32_t UINT32, *PUINT32;
typedef int32_t LONG32, *PLONG32;
typedef uint32_t ULONG32, *PULONG32;
typedef uint32_t DWORD32, *PDWORD32;
typedef int64_t INT64, *PINT64;
typedef uint64_t UINT64, *PUINT64;
typedef int64_t LONG64, *PLONG64;
typedef uint64_t ULONG64, *PULONG64;
typedef uint64_t DWORD64, *PDWORD64;

#endif
