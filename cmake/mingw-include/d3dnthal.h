// See ddrawint.h beside this file: winddi.h includes this Direct3D driver header, which Debian's
// mingw-w64 lacks and a printer driver does not use.
#pragma once
