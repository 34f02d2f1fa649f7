// The setup's one window: the modal dialog over template IDD_SETUP_DIALOG.
#pragma once

#include "framework/Dialog.h"
#include "setup/engine/CopyEntry.h"
#include "setup/engine/SetupEngine.h"
#include "setup/engine/SetupView.h"

#include <string>

// The operations below are thin: the engine (setup/config, setup/engine) carries them out with
// the dialog as its view.
class CSetupDlg : public CDialog, private SetupView {
public:
    explicit CSetupDlg(CWnd* pParent = nullptr);
    ~CSetupDlg() override;

    // Enters the terminal error state with a complete message text.
    void ShowSetupError(const std::string& text) override;

    // Finds the host program folder and checks every required version.
    BOOL CheckInstallation();

    // The copy list and the copy pass.
    BOOL CollectFiles(CCopyList& list);
    BOOL CopyFiles(CCopyList& list);
    BOOL CheckFileOptions(const std::string& options, const std::string& source,
                          const std::string& target);
    void CreateFolderPath(const std::string& path);
    BOOL ConfirmReplace(const std::string& source, const std::string& target);

    // The run record and the follow-up programs.
    void WriteUpdateInf();
    BOOL RunPrograms();

    CStatic m_ctlTopLine;
    CStatic m_ctlBottomLine;
    CProgressCtrl m_ctlProgress;
    CButton m_btnInstall;
    HICON m_hIconSmall = nullptr;
    HICON m_hIconBig = nullptr;
    CFont m_fontTitle;
    std::string m_strSetupInf;
    CBrush* m_pWhiteBrush = nullptr;
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
    // The rest of the dialog's face to the engine.
    void SetInfoText(const std::string& text) override;
    void SetProgress(int position) override;
    bool AskYesNo(const std::string& question) override;
    std::string FitPathToInfoText(const std::string& path) override;

    // The engine over this dialog, for what the start-up has found so far.
    SetupEngine Engine();

    // Only the ready state takes the install command: in the error and success states the
    // hidden install button may still be the default button, or a command may have been posted.
    enum class Stage { Starting, Ready, Installing, Succeeded, Failed };

    void StretchSeparator(CStatic& line);
    Stage m_stage = Stage::Starting;
};
