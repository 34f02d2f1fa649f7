#include "framework/Wnd.h"

#include "framework/Gdi.h"

#include <vector>

void CWnd::SetWindowText(const std::string& text) {
    ::SetWindowTextA(m_hWnd, text.c_str());
}

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0)
        return {};
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int copied = ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

void CWnd::SetFocus() {
    ::SetFocus(m_hWnd);
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd CWnd::GetDlgItem(int nID) const {
    return CWnd(::GetDlgItem(m_hWnd, nID));
}

void CWnd::SetDlgItemText(int nID, const std::string& text) {
    ::SetDlgItemTextA(m_hWnd, nID, text.c_str());
}

void CWnd::GetClientRect(RECT* rect) const {
    ::GetClientRect(m_hWnd, rect);
}

void CWnd::GetWindowRect(RECT* rect) const {
    ::GetWindowRect(m_hWnd, rect);
}

void CWnd::ScreenToClient(RECT* rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    HFONT handle = font != nullptr ? font->GetSafeHandle() : nullptr;
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(handle), redraw);
}

HFONT CWnd::GetFont() const {
    return reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                  reinterpret_cast<LPARAM>(icon)));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

int CProgressCtrl::SetPos(int pos) {
    return static_cast<int>(::SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(pos), 0));
}

int CProgressCtrl::GetPos() const {
    return static_cast<int>(::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0));
}

void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}

// The bar of the visual styles (common controls 6) moves towards a higher position in an animation
// driven by its own timer, so a program that blocks right after PBM_SETPOS shows the old position
// until the animation is given time. A lower position is drawn at once: setting one step beyond
// the new position and then the position itself leaves nothing to animate. At the top of the
// range there is no step beyond, so the range is widened by one for that moment.
void CProgressCtrl::SetPosAtOnce(int pos) {
    PBRANGE range = {};
    ::SendMessageA(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const bool atTop = pos >= range.iHigh;
    if (atTop)
        ::SendMessageA(m_hWnd, PBM_SETRANGE32, static_cast<WPARAM>(range.iLow),
                       static_cast<LPARAM>(range.iHigh + 1));
    ::SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(pos + 1), 0);
    ::SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
    if (atTop)
        ::SendMessageA(m_hWnd, PBM_SETRANGE32, static_cast<WPARAM>(range.iLow),
                       static_cast<LPARAM>(range.iHigh));
    ::UpdateWindow(m_hWnd);
}
