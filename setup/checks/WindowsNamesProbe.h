// A front and install actions whose bodies are compiled without <windows.h>
// (WindowsNamesProbe.cpp), called from a file that includes it first (WindowsNamesCheck.cpp): a
// member that its A/W macros renamed would be called there by another name than it was defined
// by, and the check would not link.
#pragma once

#include "setup/engine/InstallActions.h"
#include "setup/engine/SetupView.h"

class CProbeActions final : public InstallActions {
public:
    bool CreateFolder(const std::string& path) override;
    void BeginCopyPass(const CCopyList& list) override;
    bool CopyPayloadFile(const std::string& source, const std::string& target) override;
    void EndCopyPass(bool succeeded) override;
    bool RewriteRunRecord(const std::string& path, const std::string& text) override;
    ProgramResult RunProgram(const std::string& commandLine) override;
};

class CProbeView final : public SetupView {
public:
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
    void OnHostFound(const HostRecord& host) override;
    void OnVersionChecked(const VersionCheckRecord& check) override;
    void OnFolderCreated(const FolderRecord& folder) override;
    void OnCopyEntry(const CopyRecord& entry) override;
    void OnRunRecord(const RunRecordRecord& record) override;
    void OnProgram(const ProgramRecord& program) override;
};
