// Fonts, brushes, icons and device contexts, as far as the setup's dialog paints and measures.
#pragma once

#include "framework/WinDefs.h"

#include <string>

class CWnd;

class CFont {
public:
    CFont() = default;
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // A font of `pointSize` tenths of a point for the screen: height -(dpiY * pointSize / 720);
    // every other attribute zero, character set DEFAULT_CHARSET.
    BOOL CreatePointFont(int pointSize, const std::string& faceName);
    BOOL DeleteObject();
    HFONT GetSafeHandle() const { return m_hObject; }

    HFONT m_hObject = nullptr;
};

class CBrush {
public:
    CBrush() = default;
    ~CBrush();
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;

    BOOL CreateSolidBrush(COLORREF color);
    HBRUSH GetSafeHandle() const { return m_hObject; }

    HBRUSH m_hObject = nullptr;
};

// A device context borrowed for painting or measuring.
class CDC {
public:
    HDC GetSafeHdc() const { return m_hDC; }

    COLORREF SetBkColor(COLORREF color);
    // Fills with a solid colour (SetBkColor plus an opaque ExtTextOut, as Windows programs do).
    void FillSolidRect(const RECT& rect, COLORREF color);
    BOOL DrawIcon(int x, int y, HICON icon);
    // Selects a font; returns the one selected before.
    HFONT SelectFont(HFONT font);
    // The text's extent in device units (POSIX: one unit per character cell).
    SIZE GetTextExtent(const std::string& text) const;

    HDC m_hDC = nullptr;
};

// BeginPaint/EndPaint around a paint handler.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

private:
    HWND m_hWnd;
    void* m_paint; // PAINTSTRUCT on Windows
};

// GetDC/ReleaseDC of a window's client area.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC();
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

private:
    HWND m_hWnd;
};

// LoadImage of an icon resource of the program's own module at a given size, default colours.
// nullptr when it cannot be loaded.
HICON LoadIconImage(UINT id, int size);

#ifndef _WIN32
// The system's metrics as the POSIX window model gives them (icon size 32).
int GetSystemMetrics(int index);
#endif
