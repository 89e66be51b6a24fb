// Call counting, fault injection and the call log, shared by every simulated Windows function.
#pragma once

#include <windows.h>

#include <string>

namespace winsim {

// Every function that can fail on Windows is a service, with the error its injected failures report unless
// the host asks for another. Adding a service means adding one row here. For COM functions and methods the
// error is the HRESULT the call returns (a BSTR or task-memory allocation returns NULL instead); methods
// are named as mingw-w64's C macros name them, Interface_Method.
#define WINSIM_SERVICES(X)                                                                                   \
    X(GlobalAlloc, ERROR_NOT_ENOUGH_MEMORY)                                                                  \
    X(GlobalFree, ERROR_INVALID_HANDLE)                                                                      \
    X(HeapCreate, ERROR_NOT_ENOUGH_MEMORY)                                                                   \
    X(HeapDestroy, ERROR_INVALID_HANDLE)                                                                     \
    X(HeapAlloc, ERROR_NOT_ENOUGH_MEMORY)                                                                    \
    X(HeapFree, ERROR_INVALID_PARAMETER)                                                                     \
    X(GetVersionExW, ERROR_INVALID_PARAMETER)                                                                \
    X(VerifyVersionInfoW, ERROR_OLD_WIN_VERSION)                                                             \
    X(MultiByteToWideChar, ERROR_NO_UNICODE_TRANSLATION)                                                     \
    X(WideCharToMultiByte, ERROR_NO_UNICODE_TRANSLATION)                                                     \
    X(CreateFileW, ERROR_ACCESS_DENIED)                                                                      \
    X(ReadFile, ERROR_READ_FAULT)                                                                            \
    X(WriteFile, ERROR_WRITE_FAULT)                                                                          \
    X(DeleteFileW, ERROR_ACCESS_DENIED)                                                                      \
    X(CloseHandle, ERROR_INVALID_HANDLE)                                                                     \
    X(CreateMutexW, ERROR_ACCESS_DENIED)                                                                     \
    X(WaitForSingleObject, ERROR_INVALID_HANDLE)                                                             \
    X(ReleaseMutex, ERROR_NOT_OWNER)                                                                         \
    X(OpenPrinterW, RPC_S_SERVER_UNAVAILABLE)                                                                \
    X(ClosePrinter, RPC_S_SERVER_UNAVAILABLE)                                                                \
    X(GetPrinterW, RPC_S_SERVER_UNAVAILABLE)                                                                 \
    X(SetPrinterW, RPC_S_SERVER_UNAVAILABLE)                                                                 \
    X(GetPrinterDriverW, RPC_S_SERVER_UNAVAILABLE)                                                           \
    X(GetPrinterDriverDirectoryW, RPC_S_SERVER_UNAVAILABLE)                                                  \
    X(GetPrinterDataW, RPC_S_SERVER_UNAVAILABLE)                                                             \
    X(SetPrinterDataW, RPC_S_SERVER_UNAVAILABLE)                                                             \
    X(GetJobW, RPC_S_SERVER_UNAVAILABLE)                                                                     \
    X(StartDocPrinterW, RPC_S_SERVER_UNAVAILABLE)                                                            \
    X(WritePrinter, ERROR_PRINT_CANCELLED)                                                                   \
    X(EndDocPrinter, RPC_S_SERVER_UNAVAILABLE)                                                               \
    X(EngCreateBitmap, ERROR_NOT_ENOUGH_MEMORY)                                                              \
    X(EngCreateDeviceSurface, ERROR_NOT_ENOUGH_MEMORY)                                                       \
    X(EngAssociateSurface, ERROR_INVALID_PARAMETER)                                                          \
    X(EngLockSurface, ERROR_NOT_ENOUGH_MEMORY)                                                               \
    X(EngUnlockSurface, ERROR_INVALID_PARAMETER)                                                             \
    X(EngDeleteSurface, ERROR_INVALID_HANDLE)                                                                \
    X(EngMarkBandingSurface, ERROR_INVALID_PARAMETER)                                                        \
    X(EngEraseSurface, ERROR_INVALID_PARAMETER)                                                              \
    X(EngCreatePalette, ERROR_NOT_ENOUGH_MEMORY)                                                             \
    X(EngDeletePalette, ERROR_INVALID_HANDLE)                                                                \
    X(EngBitBlt, ERROR_INVALID_PARAMETER)                                                                    \
    X(EngStretchBlt, ERROR_INVALID_PARAMETER)                                                                \
    X(EngStretchBltROP, ERROR_INVALID_PARAMETER)                                                             \
    X(EngCopyBits, ERROR_INVALID_PARAMETER)                                                                  \
    X(EngPlgBlt, ERROR_INVALID_PARAMETER)                                                                    \
    X(EngAlphaBlend, ERROR_INVALID_PARAMETER)                                                                \
    X(EngTransparentBlt, ERROR_INVALID_PARAMETER)                                                            \
    X(EngGradientFill, ERROR_INVALID_PARAMETER)                                                              \
    X(EngLineTo, ERROR_INVALID_PARAMETER)                                                                    \
    X(EngStrokePath, ERROR_INVALID_PARAMETER)                                                                \
    X(EngFillPath, ERROR_INVALID_PARAMETER)                                                                  \
    X(EngStrokeAndFillPath, ERROR_INVALID_PARAMETER)                                                         \
    X(EngPaint, ERROR_INVALID_PARAMETER)                                                                     \
    X(EngTextOut, ERROR_INVALID_PARAMETER)                                                                   \
    X(CoInitializeEx, E_OUTOFMEMORY)                                                                         \
    X(CoCreateInstance, E_OUTOFMEMORY)                                                                       \
    X(CoTaskMemAlloc, E_OUTOFMEMORY)                                                                         \
    X(SysAllocString, E_OUTOFMEMORY)                                                                         \
    X(SysAllocStringLen, E_OUTOFMEMORY)                                                                      \
    X(IBidiSpl_BindDevice, E_FAIL)                                                                           \
    X(IBidiSpl_UnbindDevice, E_FAIL)                                                                         \
    X(IBidiSpl_SendRecv, E_FAIL)                                                                             \
    X(IBidiRequest_SetSchema, E_FAIL)                                                                        \
    X(IBidiRequest_GetResult, E_FAIL)                                                                        \
    X(IBidiRequest_GetEnumCount, E_FAIL)                                                                     \
    X(IBidiRequest_GetOutputData, E_FAIL)                                                                    \
    X(IXMLDOMDocument_loadXML, E_FAIL)                                                                       \
    X(IXMLDOMDocument_get_documentElement, E_FAIL)                                                           \
    X(IXMLDOMNode_get_nodeName, E_FAIL)                                                                      \
    X(IXMLDOMNode_get_nodeType, E_FAIL)                                                                      \
    X(IXMLDOMNode_get_childNodes, E_FAIL)                                                                    \
    X(IXMLDOMNode_get_firstChild, E_FAIL)                                                                    \
    X(IXMLDOMNode_get_attributes, E_FAIL)                                                                    \
    X(IXMLDOMNode_get_text, E_FAIL)                                                                          \
    X(IXMLDOMNodeList_get_item, E_FAIL)                                                                      \
    X(IXMLDOMNodeList_get_length, E_FAIL)                                                                    \
    X(IXMLDOMNamedNodeMap_get_item, E_FAIL)                                                                  \
    X(IXMLDOMNamedNodeMap_get_length, E_FAIL)                                                                \
    X(BRUSHOBJ_pvAllocRbrush, ERROR_NOT_ENOUGH_MEMORY)                                                       \
    X(BRUSHOBJ_pvGetRbrush, ERROR_NOT_ENOUGH_MEMORY)                                                         \
    X(XLATEOBJ_cGetPalette, ERROR_INVALID_PARAMETER)

enum class Service : unsigned {
#define WINSIM_SERVICE_ENUM(name, error) name,
    WINSIM_SERVICES(WINSIM_SERVICE_ENUM)
#undef WINSIM_SERVICE_ENUM
        Count
};

// Counts a call of `service` and reports whether an injected fault is due: 0 lets the call go on, anything
// else is the Win32 error (for COM, the HRESULT) the call must fail with.
DWORD enter(Service service);

// The same for a logged service: `line` is the call with its arguments, as it appears in the call log.
DWORD enter(Service service, std::string line);

// Text helpers for log lines.
std::string hex(uint64_t value, int digits = 8);
std::string utf8(LPCWSTR text); // "(null)" for NULL

} // namespace winsim
