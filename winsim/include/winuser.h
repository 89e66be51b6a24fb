/* The window manager as the configuration library's dialogs see it: messages, control styles and
   notifications, dialog templates and the calls a dialog procedure makes, under mingw-w64's names, values and
   layouts. winsim's windows are headless: they hold what each control shows and are driven by the host
   (winsim_host.h, winsim_ui_*). */
#ifndef _WINUSER_
#define _WINUSER_

#include <windef.h>
#include <winbase.h>

WINSIM_EXTERN_C_BEGIN

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEW
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))

#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_RCDATA MAKEINTRESOURCE(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)
#define RT_VERSION MAKEINTRESOURCE(16)
#define RT_MANIFEST MAKEINTRESOURCE(24)

#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_NOTIFY 0x004E
#define WM_DRAWITEM 0x002B
#define WM_CTLCOLORBTN 0x0135
#define WM_CTLCOLORSTATIC 0x0138
#define WM_CTLCOLORDLG 0x0136
#define WM_DEVMODECHANGE 0x001B
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORMSGBOX 0x0132
#define WM_CTLCOLORLISTBOX 0x0134
#define WM_CTLCOLORSCROLLBAR 0x0137
#define WM_COMPAREITEM 0x0039
#define WM_VKEYTOITEM 0x002E
#define WM_CHARTOITEM 0x002F
#define WM_QUERYDRAGICON 0x0037
#define EM_GETSEL 0x00B0
#define EM_REPLACESEL 0x00C2
#define BN_SETFOCUS 6
#define BN_KILLFOCUS 7
#define BS_NOTIFY 0x00004000
#define CBN_SETFOCUS 3
#define CB_SELECTSTRING 0x014D
#define CB_FINDSTRING 0x014C
#define SS_OWNERDRAW 0x0000000D
#define ODT_STATIC 5
#define WS_EX_NOPARENTNOTIFY 0x00000004
#define WS_EX_CONTROLPARENT 0x00010000
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_DESTROY 0x0002
#define WM_NCDESTROY 0x0082
#define WM_CLOSE 0x0010
#define WM_PAINT 0x000F
#define WM_SETFONT 0x0030
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETICON 0x0080
#define WM_ERASEBKGND 0x0014
#define WM_USER 0x0400
#define WM_HELP 0x0053
#define WM_CONTEXTMENU 0x007B
#define EM_LIMITTEXT 0x00C5
#define EM_GETLIMITTEXT 0x00D5
#define EM_SETSEL 0x00B1
#define EM_SETREADONLY 0x00CF
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EN_SETFOCUS 0x0100
#define EN_UPDATE 0x0400
#define BN_CLICKED 0
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_CLICK 0x00F5
#define BM_SETIMAGE 0x00F7
#define BM_GETIMAGE 0x00F6
#define BST_CHECKED 0x0001
#define BST_UNCHECKED 0x0000
#define BST_INDETERMINATE 0x0002
#define CB_ADDSTRING 0x0143
#define CB_INSERTSTRING 0x014A
#define CB_SETITEMDATA 0x0151
#define CB_GETITEMDATA 0x0150
#define CB_GETCURSEL 0x0147
#define CB_SETCURSEL 0x014E
#define CB_RESETCONTENT 0x014B
#define CB_GETCOUNT 0x0146
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_FINDSTRINGEXACT 0x0158
#define CB_DELETESTRING 0x0144
#define CB_ERR (-1)
#define CB_OKAY 0
#define CB_ERRSPACE (-2)
#define CB_LIMITTEXT 0x0141
#define CBN_SELCHANGE 1
#define CBN_KILLFOCUS 4
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define STM_SETICON 0x0170
#define STM_GETICON 0x0171
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x0000
#define LR_SHARED 0x8000
#define LR_LOADFROMFILE 0x0010
#define LR_DEFAULTSIZE 0x0040
#define LR_CREATEDIBSECTION 0x2000
#define LR_LOADTRANSPARENT 0x0020
#define ODT_BUTTON 4
#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODA_FOCUS 0x0004
#define ODS_SELECTED 0x0001
#define ODS_DISABLED 0x0004
#define ODS_FOCUS 0x0010
#define MB_OK 0x00000000
#define MB_OKCANCEL 0x00000001
#define MB_YESNO 0x00000004
#define MB_YESNOCANCEL 0x00000003
#define MB_RETRYCANCEL 0x00000005
#define MB_ICONHAND 0x00000010
#define MB_ICONQUESTION 0x00000020
#define MB_ICONEXCLAMATION 0x00000030
#define MB_ICONASTERISK 0x00000040
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONSTOP MB_ICONHAND
#define MB_DEFBUTTON1 0x00000000
#define MB_DEFBUTTON2 0x00000100
#define MB_APPLMODAL 0x00000000
#define MB_TASKMODAL 0x00002000
#define MB_SETFOREGROUND 0x00010000
#define MB_TOPMOST 0x00040000
#define MB_TYPEMASK 0x0000000F
#define MB_ICONMASK 0x000000F0
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDCLOSE 8
#define IDHELP 9
#define DWLP_MSGRESULT 0
#define GWLP_USERDATA (-21)
#define GWLP_ID (-12)
#define GWLP_HINSTANCE (-6)
#define GWLP_WNDPROC (-4)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define SMTO_NORMAL 0x0000
#define SMTO_BLOCK 0x0001
#define SMTO_ABORTIFHUNG 0x0002
#define SMTO_NOTIMEOUTIFNOTHUNG 0x0008
#define VK_LBUTTON 0x01
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5
#define WS_POPUP 0x80000000
#define WS_CHILD 0x40000000
#define WS_VISIBLE 0x10000000
#define WS_DISABLED 0x08000000
#define WS_CAPTION 0x00C00000
#define WS_BORDER 0x00800000
#define WS_VSCROLL 0x00200000
#define WS_HSCROLL 0x00100000
#define WS_SYSMENU 0x00080000
#define WS_THICKFRAME 0x00040000
#define WS_GROUP 0x00020000
#define WS_TABSTOP 0x00010000
#define WS_EX_CLIENTEDGE 0x00000200
#define DS_3DLOOK 0x0004
#define DS_FIXEDSYS 0x0008
#define DS_SETFONT 0x40
#define DS_MODALFRAME 0x80
#define DS_CONTROL 0x0400
#define DS_CENTER 0x0800
#define BS_PUSHBUTTON 0x00000000
#define BS_DEFPUSHBUTTON 0x00000001
#define BS_CHECKBOX 0x00000002
#define BS_AUTOCHECKBOX 0x00000003
#define BS_RADIOBUTTON 0x00000004
#define BS_3STATE 0x00000005
#define BS_AUTO3STATE 0x00000006
#define BS_GROUPBOX 0x00000007
#define BS_AUTORADIOBUTTON 0x00000009
#define BS_OWNERDRAW 0x0000000B
#define BS_TYPEMASK 0x0000000F
#define BS_ICON 0x00000040
#define BS_BITMAP 0x00000080
#define ES_LEFT 0x0000
#define ES_MULTILINE 0x0004
#define ES_UPPERCASE 0x0008
#define ES_PASSWORD 0x0020
#define ES_AUTOHSCROLL 0x0080
#define ES_READONLY 0x0800
#define ES_NUMBER 0x2000
#define SS_LEFT 0x00000000
#define SS_ICON 0x00000003
#define SS_BITMAP 0x0000000E
#define SS_TYPEMASK 0x0000001F
#define SS_CENTERIMAGE 0x00000200
#define SS_REALSIZEIMAGE 0x00000800
#define CBS_SIMPLE 0x0001
#define CBS_DROPDOWN 0x0002
#define CBS_DROPDOWNLIST 0x0003
#define CBS_AUTOHSCROLL 0x0040
#define CBS_SORT 0x0100
#define CBS_HASSTRINGS 0x0200
#define COLOR_WINDOW 5
#define COLOR_WINDOWTEXT 8
#define COLOR_BTNFACE 15
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define DWLP_DLGPROC (DWLP_MSGRESULT + sizeof(LRESULT))
#define DWLP_USER (DWLP_DLGPROC + sizeof(DLGPROC))
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define HWND_BROADCAST ((HWND)0xffff)

typedef struct tagNMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
} NMHDR, *LPNMHDR;

typedef struct tagDRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
} DRAWITEMSTRUCT, *PDRAWITEMSTRUCT, *LPDRAWITEMSTRUCT;

#pragma pack(push, 2)
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
} DLGTEMPLATE, *LPDLGTEMPLATEW;
typedef const DLGTEMPLATE* LPCDLGTEMPLATEW;

typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    short x;
    short y;
    short cx;
    short cy;
    WORD id;
} DLGITEMTEMPLATE, *PDLGITEMTEMPLATEW, *LPDLGITEMTEMPLATEW;
#pragma pack(pop)

#define LPCDLGTEMPLATE LPCDLGTEMPLATEW

WINSIM_STATIC_ASSERT(sizeof(DLGTEMPLATE) == 18 && sizeof(DLGITEMTEMPLATE) == 18, "dialog template headers");
WINSIM_STATIC_ASSERT(sizeof(NMHDR) == 24 && sizeof(DRAWITEMSTRUCT) == 64, "x64 layouts");

WINUSERAPI LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
WINUSERAPI LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam,
                                              LPARAM lParam);
WINUSERAPI LRESULT WINAPI SendMessageTimeoutW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT fuFlags,
                                              UINT uTimeout, PDWORD_PTR lpdwResult);
WINUSERAPI WINBOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
WINUSERAPI HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
WINUSERAPI int WINAPI GetDlgCtrlID(HWND hWnd);
WINUSERAPI WINBOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString);
WINUSERAPI UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax);
WINUSERAPI WINBOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, WINBOOL bSigned);
WINUSERAPI UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, WINBOOL* lpTranslated, WINBOOL bSigned);
WINUSERAPI WINBOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
WINUSERAPI UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton);
WINUSERAPI WINBOOL WINAPI CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton,
                                           int nIDCheckButton);
WINUSERAPI WINBOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString);
WINUSERAPI int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
WINUSERAPI int WINAPI GetWindowTextLengthW(HWND hWnd);
WINUSERAPI WINBOOL WINAPI EnableWindow(HWND hWnd, WINBOOL bEnable);
WINUSERAPI WINBOOL WINAPI IsWindowEnabled(HWND hWnd);
WINUSERAPI WINBOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
WINUSERAPI WINBOOL WINAPI IsWindowVisible(HWND hWnd);
WINUSERAPI WINBOOL WINAPI IsWindow(HWND hWnd);
WINUSERAPI WINBOOL WINAPI DestroyWindow(HWND hWnd);
WINUSERAPI HWND WINAPI GetParent(HWND hWnd);
WINUSERAPI HWND WINAPI SetFocus(HWND hWnd);
WINUSERAPI HWND WINAPI GetFocus(VOID);
WINUSERAPI LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
WINUSERAPI LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex);
WINUSERAPI WINBOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, WINBOOL bErase);
WINUSERAPI WINBOOL WINAPI UpdateWindow(HWND hWnd);
WINUSERAPI WINBOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect);
WINUSERAPI int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
WINUSERAPI HDC WINAPI GetDC(HWND hWnd);
WINUSERAPI int WINAPI ReleaseDC(HWND hWnd, HDC hDC);
WINUSERAPI DWORD WINAPI GetSysColor(int nIndex);
WINUSERAPI HBRUSH WINAPI GetSysColorBrush(int nIndex);
WINUSERAPI SHORT WINAPI GetKeyState(int nVirtKey);
WINUSERAPI int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);
WINUSERAPI INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                                          DLGPROC lpDialogFunc, LPARAM dwInitParam);
WINUSERAPI HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                                          DLGPROC lpDialogFunc, LPARAM dwInitParam);
WINUSERAPI WINBOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult);
WINUSERAPI HBITMAP WINAPI LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName);
WINUSERAPI HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);
WINUSERAPI HANDLE WINAPI LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad);
WINUSERAPI WINBOOL WINAPI DestroyIcon(HICON hIcon);
WINUSERAPI int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);

#ifdef UNICODE
#define SendMessage SendMessageW
#define SendDlgItemMessage SendDlgItemMessageW
#define SendMessageTimeout SendMessageTimeoutW
#define PostMessage PostMessageW
#define SetDlgItemText SetDlgItemTextW
#define GetDlgItemText GetDlgItemTextW
#define SetWindowText SetWindowTextW
#define GetWindowText GetWindowTextW
#define GetWindowTextLength GetWindowTextLengthW
#define SetWindowLongPtr SetWindowLongPtrW
#define GetWindowLongPtr GetWindowLongPtrW
#define MessageBox MessageBoxW
#define DialogBoxParam DialogBoxParamW
#define CreateDialogParam CreateDialogParamW
#define LoadBitmap LoadBitmapW
#define LoadIcon LoadIconW
#define LoadImage LoadImageW
#define LoadString LoadStringW
#endif

WINSIM_EXTERN_C_END

#endif
