#include "platform/FileContent.h"
#include "platform/Files.h"
#include "platform/InstallJournal.h"
#include "setup/engine/FollowUp.h"
#include "setup/engine/InstallActions.h"

namespace {

class SystemInstallActions final : public InstallActions {
public:
    StartCheck PrepareStart() override {
        switch (platform::PrepareInstall()) {
        case platform::InstallStart::Ready:
            return StartCheck::Ready;
        case platform::InstallStart::Busy:
            return StartCheck::OtherRunning;
        case platform::InstallStart::Unsafe:
            break;
        }
        return StartCheck::NoSafeRecord;
    }
    bool BeginInstall() override { return platform::BeginPass(); }
    bool BeginCopyPass(const CCopyList& list) override {
        std::vector<std::string> targets;
        for (const CCopyEntry& entry : list)
            targets.push_back(entry.m_strTarget);
        return platform::PlanReplacements(targets);
    }
    void CommitInstall() override { platform::CommitPass(); }
    // What cannot be put back now stays recorded, and the next start tries again.
    void RollBackInstall() override { platform::RollBackPass(); }
    bool CreateFolder(const std::string& path) override { return platform::CreateFolder(path); }
    bool CopyPayloadFile(const std::string& source, const std::string& target) override {
        return platform::CopyFileReplacing(source, target);
    }
    void EndCopyPass(bool) override { platform::FinishReplacingCopies(); }
    bool RewriteRunRecord(const std::string& path, const std::string& text) override {
        return platform::OverwriteExistingFile(path, text);
    }
    ProgramResult RunProgram(const std::string& commandLine) override {
        return StartProgram(commandLine, 1);
    }
};

} // namespace

InstallActions& SystemActions() {
    static SystemInstallActions actions;
    return actions;
}
