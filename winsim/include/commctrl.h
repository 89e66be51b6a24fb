/* The common controls library: the property sheet pages of prsht.h and the initialisation call; the
   controls a configuration library uses are the window manager's own (winuser.h). */
#ifndef _INC_COMMCTRL
#define _INC_COMMCTRL

#include <prsht.h>

WINSIM_EXTERN_C_BEGIN

typedef struct tagINITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;

#define ICC_LISTVIEW_CLASSES 0x1
#define ICC_TREEVIEW_CLASSES 0x2
#define ICC_BAR_CLASSES 0x4
#define ICC_TAB_CLASSES 0x8
#define ICC_UPDOWN_CLASS 0x10
#define ICC_PROGRESS_CLASS 0x20
#define ICC_WIN95_CLASSES 0xff
#define ICC_STANDARD_CLASSES 0x4000

WINSIM_EXPORT WINBOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce);

WINSIM_EXTERN_C_END

#endif
