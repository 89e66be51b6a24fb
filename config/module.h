// The configuration library's own module and its activation context. The dialogs are built for common
// controls 6, which the library's manifest asks for; a host process may not have asked for it, so every
// dialog and property sheet the library creates is created inside the library's own context.
#pragma once

#include <windows.h>

// The configuration library's own module handle.
HMODULE ThisModule();

// Activates the library's activation context for the lifetime of the object. The context is created once per
// process from the manifest resource; when it cannot be created the object does nothing.
class LibraryActivation {
  public:
    LibraryActivation();
    ~LibraryActivation();
    LibraryActivation(const LibraryActivation&) = delete;
    LibraryActivation& operator=(const LibraryActivation&) = delete;

  private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};
