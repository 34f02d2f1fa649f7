// The setup's one window: the modal dialog over template IDD_SETUP_DIALOG.
#pragma once

#include "framework/Dialog.h"
#include "setup/app/LoggedView.h"
#include "setup/engine/SetupRun.h"
#include "setup/engine/SetupView.h"

#include <string>

// The dialog shows and asks; the run (setup/engine) carries out the setup in its order, with the
// dialog as its view.
class CSetupDlg : public CDialog, private SetupView {
public:
    // With a log, the run is also written there. An unattended dialog (a passive run) starts
    // installing at once, answers the questions itself and closes when the run has ended.
    explicit CSetupDlg(CWnd* pParent = nullptr, RunLog* log = nullptr, Answering answering = {});
    ~CSetupDlg() override;

    // How the run ended; cancelled while it has not.
    const RunResult& Result() const { return m_logged.Result(); }

    CStatic m_ctlTopLine;
    CStatic m_ctlBottomLine;
    CProgressCtrl m_ctlProgress;
    CButton m_btnInstall;
    HICON m_hIconSmall = nullptr;
    HICON m_hIconBig = nullptr;
    CFont m_fontTitle;
    std::string m_strSetupInf;
    CBrush* m_pWhiteBrush = nullptr;
    // What the start-up found, as the run holds it.
    bool m_bProgramDirFound = false;
    std::string m_strProgramDir;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override; // the install command
    void OnPaint() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnDestroy() override;

private:
    // The dialog's face to the run.
    void ShowHeader(const std::string& header) override;
    void ShowReady(const SetupMessage& message) override;
    void ShowSetupError(const SetupMessage& message) override;
    void BeginInstall() override;
    void ShowProgress(int position) override;
    void SetProgress(int position) override;
    void SetInfoText(const SetupMessage& message) override;
    std::string FitPathToInfoText(const std::string& path) override;
    bool AskReplace(const ReplaceQuestion& question) override;
    void ShowSuccess(const SetupMessage& message) override;

    void StretchSeparator(CStatic& line);

    bool m_bUnattended;
    LoggedView m_logged; // the dialog itself, as the run and the log see it
    SetupRun m_run;
};
