// The dialog as the run's view: the states of the state table, the information line, the
// progress bar and the questions.
#include "framework/Messages.h"
#include "setup/app/SetupDlg.h"
#include "setup/app/ShortenPathToFit.h"
#include "setup/res/resource.h"

void CSetupDlg::ShowHeader(const std::string& header) {
    SetDlgItemText(IDC_HEADER_TEXT, header);
}

void CSetupDlg::ShowReady(const SetupMessage& message) {
    SetDlgItemText(IDC_INFO_TEXT, message.text);
}

void CSetupDlg::ShowSetupError(const SetupMessage& message) {
    SetDlgItemText(IDC_INFO_TEXT, message.text);
    SetDlgItemText(IDCANCEL, LoadMessage(IDS_EXIT_BUTTON));
    m_btnInstall.ShowWindow(SW_HIDE);
    m_ctlProgress.ShowWindow(SW_HIDE);
    GetDlgItem(IDC_WARNING_ICON).ShowWindow(SW_SHOW);
}

void CSetupDlg::BeginInstall() {
    GetDlgItem(IDCANCEL).SetFocus();
    SetDlgItemText(IDC_INFO_TEXT, "");
    m_btnInstall.ShowWindow(SW_HIDE);
    // No message loop runs until the installation has ended: what changed is painted now.
    GetDlgItem(IDC_INFO_TEXT).UpdateWindow();
    UpdateWindow();
}

void CSetupDlg::ShowProgress(int position) {
    m_ctlProgress.ShowWindow(SW_SHOW);
    m_ctlProgress.SetPosAtOnce(position);
}

// No message loop runs while the engine works: each new text and position is painted at once.
void CSetupDlg::SetInfoText(const SetupMessage& message) {
    CWnd info = GetDlgItem(IDC_INFO_TEXT);
    info.SetWindowText(message.text);
    info.UpdateWindow();
}

void CSetupDlg::SetProgress(int position) {
    m_ctlProgress.SetPosAtOnce(position);
}

bool CSetupDlg::AskReplace(const ReplaceQuestion& question) {
    return MessageBox(question.text, MB_YESNO) == IDYES;
}

std::string CSetupDlg::FitPathToInfoText(const std::string& path) {
    CWnd info = GetDlgItem(IDC_INFO_TEXT);
    std::string shown;
    ShortenPathToFit(&info, path, shown);
    return shown;
}

void CSetupDlg::ShowSuccess(const SetupMessage& message) {
    SetDlgItemText(IDCANCEL, LoadMessage(IDS_EXIT_BUTTON));
    SetDlgItemText(IDC_INFO_TEXT, message.text);
}
