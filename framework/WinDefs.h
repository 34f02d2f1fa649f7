// The Windows types, constants and handles that the programs use. On Windows they are the real
// ones; on POSIX this header stands in for <windows.h> with the same names and values, and the
// handle types point into the framework's window model.
#pragma once

#ifdef _WIN32

#include "platform/WindowsHeaders.h"

#include <commctrl.h>

#else

#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef DWORD COLORREF;
typedef WORD LANGID;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Handles of the POSIX backend: opaque pointers into its window model and GDI stand-ins.
struct PosixWindow;
struct PosixIcon;
struct PosixFont;
struct PosixBrush;
struct PosixDC;
typedef PosixWindow* HWND;
typedef PosixIcon* HICON;
typedef PosixFont* HFONT;
typedef PosixBrush* HBRUSH;
typedef PosixDC* HDC;
typedef void* HINSTANCE;

struct RECT {
    LONG left, top, right, bottom;
};
struct POINT {
    LONG x, y;
};
struct SIZE {
    LONG cx, cy;
};

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

enum : UINT {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_TYPEMASK = 0xF,
    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONMASK = 0xF0,
    MB_DEFBUTTON1 = 0x0,
    MB_DEFBUTTON2 = 0x100,
};

enum : int { SW_HIDE = 0, SW_SHOW = 5 };
enum : UINT { CTLCOLOR_BTN = 3, CTLCOLOR_DLG = 4, CTLCOLOR_STATIC = 6 };
enum : int { ICON_SMALL = 0, ICON_BIG = 1 };
enum : int { SM_CXICON = 11, SM_CYICON = 12 };
enum : int { LOGPIXELSY = 90 };
enum : int { DEFAULT_CHARSET = 1 };
enum : UINT { VK_TAB = 0x09 };

enum : UINT {
    WM_DESTROY = 0x0002,
    WM_PAINT = 0x000F,
    WM_ICONERASEBKGND = 0x0027,
    WM_SETFONT = 0x0030,
    WM_SETICON = 0x0080,
    WM_NCMOUSEMOVE = 0x00A0,
    WM_NCXBUTTONDBLCLK = 0x00AD,
    WM_KEYFIRST = 0x0100,
    WM_KEYDOWN = 0x0100,
    WM_KEYLAST = 0x0109,
    WM_INITDIALOG = 0x0110,
    WM_COMMAND = 0x0111,
    WM_CTLCOLORSTATIC = 0x0138,
    WM_MOUSEFIRST = 0x0200,
    WM_MOUSELAST = 0x020E,
};

enum : DWORD {
    WS_POPUP = 0x80000000,
    WS_CHILD = 0x40000000,
    WS_VISIBLE = 0x10000000,
    WS_DISABLED = 0x08000000,
    WS_CAPTION = 0x00C00000,
    WS_SYSMENU = 0x00080000,
    WS_GROUP = 0x00020000,
    WS_TABSTOP = 0x00010000,
    BS_PUSHBUTTON = 0x00000000,
    BS_DEFPUSHBUTTON = 0x00000001,
    BS_TYPEMASK = 0x0000000F,
};

#endif
