// What dialogs do alike on both backends: the data exchange at initialisation, the two commands
// that end a dialog, the default handlers and the dialog's message box.
#include "framework/Dialog.h"

#include "framework/Messages.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    CDataExchange dx(this);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

HBRUSH CDialog::OnCtlColor(CDC*, CWnd*, UINT) {
    return nullptr;
}

void CDialog::OnDestroy() {}

int CDialog::MessageBox(const std::string& text, UINT type) {
    DiscardQueuedInput();
    return ShowMessageBox(this, text, type);
}
