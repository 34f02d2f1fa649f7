// The setup's one window: the modal dialog over template IDD_SETUP_DIALOG.
#pragma once

#include "framework/Dialog.h"
#include "setup/engine/SetupRun.h"
#include "setup/engine/SetupView.h"

#include <string>

// The dialog shows and asks; the run (setup/engine) carries out the setup in its order, with the
// dialog as its view.
class CSetupDlg : public CDialog, private SetupView {
public:
    explicit CSetupDlg(CWnd* pParent = nullptr);
    ~CSetupDlg() override;

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

    SetupRun m_run;
};
