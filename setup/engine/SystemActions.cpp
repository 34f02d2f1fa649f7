#include "platform/FileContent.h"
#include "platform/Files.h"
#include "setup/engine/FollowUp.h"
#include "setup/engine/InstallActions.h"

namespace {

class SystemInstallActions final : public InstallActions {
public:
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
