// Modal dialogs built from the module's dialog templates.
#pragma once

#include "framework/Gdi.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

class CDataExchange {
public:
    explicit CDataExchange(CWnd* dlg) : m_pDlgWnd(dlg) {}
    CWnd* m_pDlgWnd;
};

// Attaches a control object to the dialog's control `nIDC`.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);

// Drops the keyboard and mouse input that queued up for this thread while it did not look at its
// messages (a click, Escape, Enter pressed while a long command ran), without dispatching it: such
// input was meant for a screen the person no longer sees.
void DiscardQueuedInput();

class CDialog : public CWnd {
public:
    CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Creates the dialog from its template and runs it until EndDialog; returns EndDialog's result
    // (-1 when the template cannot be loaded). The dialog is centred on the work area after
    // OnInitDialog unless its template asks for another position.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Handlers that the dialog procedure dispatches to.
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog(); // runs DoDataExchange once
    virtual void OnOK();         // WM_COMMAND IDOK: ends the dialog with IDOK
    virtual void OnCancel();     // WM_COMMAND IDCANCEL, Escape, the close box: ends with IDCANCEL
    virtual void OnPaint();      // default painting
    virtual HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor); // the default brush
    virtual void OnDestroy();

    // A message box owned by this dialog and captioned with the application title (string 57344);
    // see ShowMessageBox. Input that queued up before it was asked is discarded first, so that it
    // cannot answer the question.
    int MessageBox(const std::string& text, UINT type);

protected:
    // Paint messages left to the platform's default handling (used inside OnPaint).
    void DefaultPaint(CDC* pDC);

private:
    // The Win32 dialog procedure, which needs the template number to decide on centring.
    friend class CDialogProc;
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    // Set by the base class's OnPaint: the paint message then goes to the dialog manager.
    bool m_bPaintLeftToDefault = false;
};
