#include "framework/Dialog.h"

#include "framework/Messages.h"
#include "resources/DialogTemplate.h"

namespace {

// The template's own wish for a position: a centring style, absolute alignment or a position
// other than the top left corner. Without one the dialog is centred on its monitor's work area.
bool TemplatePlacesDialog(UINT nIDTemplate) {
    HINSTANCE hInstance = AfxGetInstanceHandle();
    HRSRC found = FindResourceA(hInstance, MAKEINTRESOURCEA(nIDTemplate), MAKEINTRESOURCEA(5));
    HGLOBAL loaded = found != nullptr ? LoadResource(hInstance, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return true;
    std::optional<resources::DialogTemplate> parsed = resources::ParseDialogTemplate(
        static_cast<const uint8_t*>(data), SizeofResource(hInstance, found));
    if (!parsed)
        return true;
    const uint32_t positioning =
        resources::kDsCenter | resources::kDsCenterMouse | resources::kDsAbsAlign;
    return (parsed->style & positioning) != 0 || parsed->x != 0 || parsed->y != 0;
}

void CentreOnWorkArea(HWND hWnd) {
    MONITORINFO monitor;
    monitor.cbSize = sizeof monitor;
    RECT window;
    if (!GetMonitorInfoA(MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &monitor) ||
        !GetWindowRect(hWnd, &window))
        return;
    const RECT& work = monitor.rcWork;
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int x = work.left + (work.right - work.left - width) / 2;
    int y = work.top + (work.bottom - work.top - height) / 2;
    SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CDialog* DialogOf(HWND hWnd) {
    return reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
}

} // namespace

class CDialogProc {
public:
    static INT_PTR CALLBACK Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

INT_PTR CALLBACK CDialogProc::Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        dialog->m_hWnd = hWnd;
        BOOL result = dialog->OnInitDialog();
        if (!TemplatePlacesDialog(dialog->m_nIDTemplate))
            CentreOnWorkArea(hWnd);
        return result;
    }
    CDialog* dialog = DialogOf(hWnd);
    if (dialog == nullptr)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            dialog->OnOK();
            return TRUE;
        case IDCANCEL:
            dialog->OnCancel();
            return TRUE;
        default:
            return FALSE;
        }
    case WM_PAINT:
        dialog->m_bPaintLeftToDefault = false;
        dialog->OnPaint();
        return dialog->m_bPaintLeftToDefault ? FALSE : TRUE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        CDC dc;
        dc.m_hDC = reinterpret_cast<HDC>(wParam);
        CWnd control(reinterpret_cast<HWND>(lParam));
        HBRUSH brush = dialog->OnCtlColor(&dc, &control, message - WM_CTLCOLORMSGBOX);
        // A brush is the message's result itself; none leaves the colours to the dialog manager.
        return reinterpret_cast<INT_PTR>(brush);
    }
    case WM_DESTROY:
        dialog->OnDestroy();
        return FALSE;
    case WM_NCDESTROY:
        SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
    control.m_hWnd = ::GetDlgItem(pDX->m_pDlgWnd->GetSafeHwnd(), nIDC);
}

INT_PTR CDialog::DoModal() {
    HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
    return ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), parent,
                             &CDialogProc::Procedure, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(int nResult) {
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnPaint() {
    m_bPaintLeftToDefault = true;
}

// Keys, client-area and non-client mouse messages (a click on the close box is input as well);
// PeekMessage only removes them, DispatchMessage is never called.
void DiscardQueuedInput() {
    static const UINT kInputRanges[][2] = {
        {WM_KEYFIRST, WM_KEYLAST},
        {WM_MOUSEFIRST, WM_MOUSELAST},
        {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
    };
    MSG message;
    for (const auto& range : kInputRanges)
        while (::PeekMessageA(&message, nullptr, range[0], range[1], PM_REMOVE)) {
        }
}

// The update region is already validated by the caller's BeginPaint, so the default handling only
// completes the paint cycle; it must not go through DefDlgProc, which would call us again.
void CDialog::DefaultPaint(CDC*) {
    ::DefWindowProcA(m_hWnd, WM_PAINT, 0, 0);
}
