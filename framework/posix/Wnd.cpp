#include "framework/Wnd.h"

#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/posix/WindowModel.h"

using framework_posix::DialogChange;
using framework_posix::NotifyChanged;

// Every method tolerates a null handle (a control the template does not have), as the Win32
// calls do by failing quietly.

void CWnd::SetWindowText(const std::string& text) {
    if (m_hWnd == nullptr || m_hWnd->text == text)
        return;
    m_hWnd->text = text;
    NotifyChanged(m_hWnd, DialogChange::Text);
}

std::string CWnd::GetWindowText() const {
    return m_hWnd != nullptr ? m_hWnd->text : std::string();
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    if (m_hWnd == nullptr)
        return FALSE;
    BOOL wasVisible = m_hWnd->IsVisible() ? TRUE : FALSE;
    bool show = nCmdShow != SW_HIDE;
    if (show != (wasVisible == TRUE)) {
        if (show)
            m_hWnd->style |= WS_VISIBLE;
        else
            m_hWnd->style &= ~static_cast<DWORD>(WS_VISIBLE);
        NotifyChanged(m_hWnd, DialogChange::Visibility);
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    if (m_hWnd == nullptr || !m_hWnd->IsVisible())
        return FALSE;
    return m_hWnd->parent == nullptr || m_hWnd->parent->IsVisible() ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const {
    return FALSE;
}

void CWnd::SetFocus() {
    if (m_hWnd == nullptr)
        return;
    PosixWindow* dialog = m_hWnd->Dialog();
    dialog->focus = m_hWnd == dialog ? nullptr : m_hWnd;
    NotifyChanged(m_hWnd, DialogChange::Focus);
}

int CWnd::GetDlgCtrlID() const {
    return m_hWnd != nullptr && m_hWnd->parent != nullptr ? m_hWnd->id : 0;
}

CWnd CWnd::GetDlgItem(int nID) const {
    return CWnd(m_hWnd != nullptr ? m_hWnd->Child(nID) : nullptr);
}

void CWnd::SetDlgItemText(int nID, const std::string& text) {
    GetDlgItem(nID).SetWindowText(text);
}

void CWnd::GetClientRect(RECT* rect) const {
    if (m_hWnd == nullptr) {
        *rect = RECT{0, 0, 0, 0};
        return;
    }
    const RECT& r = m_hWnd->rect;
    *rect = RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

void CWnd::GetWindowRect(RECT* rect) const {
    if (m_hWnd == nullptr) {
        *rect = RECT{0, 0, 0, 0};
        return;
    }
    *rect = m_hWnd->rect;
    if (m_hWnd->parent != nullptr) {
        const RECT& origin = m_hWnd->parent->rect;
        rect->left += origin.left;
        rect->right += origin.left;
        rect->top += origin.top;
        rect->bottom += origin.top;
    }
}

void CWnd::ScreenToClient(RECT* rect) const {
    if (m_hWnd == nullptr)
        return;
    RECT self;
    GetWindowRect(&self);
    rect->left -= self.left;
    rect->right -= self.left;
    rect->top -= self.top;
    rect->bottom -= self.top;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL) {
    if (m_hWnd != nullptr)
        m_hWnd->rect = RECT{x, y, x + width, y + height};
}

void CWnd::SetFont(CFont* font, BOOL) {
    if (m_hWnd != nullptr)
        m_hWnd->font = font != nullptr ? font->GetSafeHandle() : nullptr;
}

HFONT CWnd::GetFont() const {
    return m_hWnd != nullptr ? m_hWnd->font : nullptr;
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    if (m_hWnd == nullptr)
        return nullptr;
    HICON& slot = big ? m_hWnd->iconBig : m_hWnd->iconSmall;
    HICON previous = slot;
    slot = icon;
    return previous;
}

namespace {

bool IsPushButton(const PosixWindow& window) {
    DWORD type = window.style & BS_TYPEMASK;
    return window.IsButton() && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

void MakeDefaultButton(PosixWindow& dialog, PosixWindow& button) {
    for (const std::unique_ptr<PosixWindow>& child : dialog.children)
        if (IsPushButton(*child))
            child->style = (child->style & ~static_cast<DWORD>(BS_TYPEMASK)) |
                           (child.get() == &button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

LRESULT Dispatch(PosixWindow* window, UINT message, WPARAM wParam, LPARAM lParam) {
    PosixWindow* dialog = window->Dialog();
    switch (message) {
    case WM_SETICON:
        return reinterpret_cast<LRESULT>(
            CWnd(window).SetIcon(reinterpret_cast<HICON>(lParam), wParam == ICON_BIG));
    case WM_SETFONT:
        window->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_KEYDOWN:
        // Tab moves the focus on to the next tab stop, as the dialog manager does; a push button
        // that receives it becomes the default button, which Enter presses.
        if (wParam == VK_TAB && window == dialog) {
            if (PosixWindow* next = framework_posix::NextTabStop(*dialog)) {
                CWnd(next).SetFocus();
                if (IsPushButton(*next))
                    MakeDefaultButton(*dialog, *next);
            }
        }
        return 0;
    case WM_COMMAND:
        if (window == dialog && dialog->owner != nullptr) {
            int id = static_cast<int>(wParam & 0xFFFF);
            if (id == IDOK)
                dialog->owner->OnOK();
            else if (id == IDCANCEL)
                dialog->owner->OnCancel();
        }
        return 0;
    default:
        // Painting and erasing have nothing to draw on here.
        return 0;
    }
}

} // namespace

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_hWnd == nullptr)
        return 0;
    return Dispatch(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_hWnd == nullptr)
        return FALSE;
    // Posted messages wait in the dialog's queue until it next waits for input.
    m_hWnd->Dialog()->posted.push_back(PosixMessage{m_hWnd, message, wParam, lParam});
    return TRUE;
}

int CProgressCtrl::SetPos(int pos) {
    if (m_hWnd == nullptr)
        return 0;
    int previous = m_hWnd->progressPos;
    // The bar's range is never set, so it stays at the default 0..100.
    m_hWnd->progressPos = pos < 0 ? 0 : pos > 100 ? 100 : pos;
    NotifyChanged(m_hWnd, framework_posix::DialogChange::Progress);
    return previous;
}

int CProgressCtrl::GetPos() const {
    return m_hWnd != nullptr ? m_hWnd->progressPos : 0;
}

// The front-end sees every change as it is made: nothing waits to be painted.
void CWnd::UpdateWindow() {}

void CProgressCtrl::SetPosAtOnce(int pos) {
    SetPos(pos);
}
