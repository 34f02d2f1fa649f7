// Thin wrappers over a window handle. On Windows the handle is an HWND and every method is the one
// Win32 call it names; on POSIX it is a window of the framework's window model.
#pragma once

#include "framework/WinDefs.h"

#include <string>

class CFont;

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    void SetWindowText(const std::string& text);
    std::string GetWindowText() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void SetFocus();
    int GetDlgCtrlID() const;
    CWnd GetDlgItem(int nID) const;
    void SetDlgItemText(int nID, const std::string& text);
    std::string GetDlgItemText(int nID) const;
    void GetClientRect(RECT* rect) const;
    void GetWindowRect(RECT* rect) const;
    void ScreenToClient(RECT* rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void SetFont(CFont* font, BOOL redraw = TRUE);
    HFONT GetFont() const;
    HICON SetIcon(HICON icon, BOOL big);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Paints what is invalid at once, without waiting for the message loop.
    void UpdateWindow();

    HWND m_hWnd = nullptr;
};

class CStatic : public CWnd {};

class CButton : public CWnd {};

class CProgressCtrl : public CWnd {
public:
    // PBM_SETPOS; returns the previous position.
    int SetPos(int pos);
    // PBM_GETPOS.
    int GetPos() const;
    // PBM_SETPOS, and the new position painted at once: for a caller that blocks, with no message
    // loop running, until its work is done. The visual-styles bar would otherwise glide towards a
    // higher position over the next messages and show an old one meanwhile.
    void SetPosAtOnce(int pos);
};
