// What the settings core asks of the spooler: printer and driver facts, printer-data values, and
// the printer handle rule.
#pragma once

#include <windows.h>
#include <winspool.h>

#include "global_buffer.h"

struct DRVDEVMODE;

// QueryPrinterInfo kinds, as callers number them. Some queries answer to more than one number (see
// kKindAliases); these are the numbers the driver itself uses.
enum : int {
    PI_DRIVER_NAME = 0,
    PI_DRIVER_DIR_VERSION3 = 1, // the driver directory with "\3", where installed driver files live
    PI_DRIVER_DIR = 2,
    PI_PRINT_PROCESSOR = 4,
    PI_DEVMODE = 10,
    PI_PORT_NAME = 12,
    PI_ATTRIBUTES = 13,
    PI_PRINTER_NAME = 14,
    PI_ATTRIBUTES_4 = 20,
    PI_ATTRIBUTES_5 = 30,
    PI_HELP_FILE = 110,
    PI_DATA_FILE = 111,
};

// Further numbers callers use for the same queries.
struct KINDALIAS {
    int Kind;
    int SameAs;
};
inline constexpr KINDALIAS kKindAliases[] = {
    {3, PI_DRIVER_DIR_VERSION3},
    {11, PI_DRIVER_NAME},
    {100, PI_DRIVER_DIR_VERSION3},
};

inline constexpr WCHAR kValuePrivateDevMode[] = TEXT("Private DevMode");
inline constexpr WCHAR kValuePrivatePaper[] = TEXT("Private Paper");
inline constexpr WCHAR kValueKitIdentifier[] = TEXT("SPLUserModePrinterDriver");
inline constexpr WCHAR kValuePrintProcCaps[] = TEXT("PrintProcCaps_NT EMF 1.006");
inline constexpr WCHAR kValuePermission[] = TEXT("Permission");

struct KITINFO {
    WCHAR DriverName[32];
    WCHAR Identifier[8];
};
inline constexpr KITINFO kKits[] = {
    {TEXT("HX-ZEB Driver CM with UserMode"), TEXT("HXZEBUM")},
    {TEXT(""), TEXT("")},
};

// What the print processor offers, from "PrintProcCaps_NT EMF 1.006".
struct PRINTPROCCAPS {
    DWORD NupValues[32]; // pages per sheet offered, ascending
    DWORD NupCount;
    DWORD PageOrderFlags;
    BOOL Booklet;
    DWORD MaxCopies;
};

// A printer's level-2 record in storage of its own; both QueryPrinterInfo and the device-record
// loader use it, so the record is fetched once per load.
struct PrinterInfo2 {
    GlobalBuffer buffer;
    const PRINTER_INFO_2W* info = nullptr;
    // The stored default record and how many of its bytes really lie in the buffer.
    const DEVMODEW* DevMode() const { return info ? info->pDevMode : nullptr; }
    size_t DevModeBytesAvailable() const;
};
BOOL FetchPrinterInfo2(HANDLE printer, PrinterInfo2* out);

BOOL OpenDriverPrinter(LPCWSTR printerName, int mode, HANDLE* out);
BOOL QueryPrinterInfo(HANDLE printer, int kind, void* buffer, DWORD size);
BOOL IsRawOnlyPrinter(HANDLE printer);
BOOL ReadPrintProcCaps(HANDLE printer, PRINTPROCCAPS* out);
BOOL GetPrinterDataValue(HANDLE printer, LPCWSTR name, void* buffer, DWORD size, DWORD* outSize);
BOOL SetPrinterDataValue(HANDLE printer, LPCWSTR name, DWORD type, const void* data, DWORD size);
BOOL WriteKitIdentifier(HANDLE printer, LPCWSTR identifier);
LPCWSTR GetCoreVersionString();

// Copies "Private Paper" over the record's label list as it is stored; the settle that calls it repairs
// what a damaged copy brings (a count outside 2..250, unterminated names).
BOOL ReadStoredLabels(DRVDEVMODE* rec, HANDLE printer);
BOOL WriteStoredLabels(const DRVDEVMODE* rec, HANDLE printer);
