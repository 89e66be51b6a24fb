// Installing the driver into Wine's own spooler, as the Add Printer wizard does: the driver files copied
// into the spooler's driver folder (Wine copies nothing itself and still reports success), the driver
// added at level 3, then a printer of it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wine {

// What a printer INF installs for this process's architecture: its models (the driver names) and files.
struct Package {
    std::vector<std::wstring> Models;
    std::wstring DriverFile, ConfigFile, DataFile;
    std::vector<std::wstring> Files; // copied into the driver folder
    std::wstring SourceFolder;       // where they are: the INF's folder and the architecture's subfolder
};

// Reads the package's INF with setupapi, as the printer class installer does: the [Manufacturer] models
// section decorated for this architecture, each model's install section and its files.
bool ReadPackage(const std::wstring& inf, Package* out, std::string* why);

// Copies the package's files into the driver folder and adds a driver for every model; false with the
// reason in `why`.
bool InstallDriver(const Package& package, std::string* why);
// Adds a printer of the driver on a port ("FILE:" captures jobs into the file a job names).
bool InstallPrinter(const std::wstring& printerName, const std::wstring& driverName, const std::wstring& port,
                    std::string* why);

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
// Text in the ANSI code page, as an application of the ANSI forms passes it.
std::string Ansi(const std::wstring& text);

} // namespace wine
