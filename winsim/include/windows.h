/* The Windows API as the driver sees it on Linux: the subset that winsim provides, under the names,
   signatures, constants and record layouts of the mingw-w64 headers. Only the wide-character (W) forms exist;
   with UNICODE defined the neutral names map to them. */
#ifndef _WINDOWS_
#define _WINDOWS_

#include <windef.h>
#include <winbase.h>
#include <wingdi.h>
#include <winnls.h>
#include <winerror.h>
#include <winspool.h>
#include <winuser.h>
#include <commdlg.h>

#endif
