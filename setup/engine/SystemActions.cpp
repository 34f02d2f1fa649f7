#include "platform/FileContent.h"
#include "platform/Files.h"
#include "setup/engine/FollowUp.h"
#include "setup/engine/InstallActions.h"

namespace {

class SystemInstallActions final : public InstallActions {
public:
    bool CreateFolder(const std::string& path) override { return platform::CreateFolder(path); }
    bool CopyFile(const std::string& source, const std::string& target) override {
        return platform::CopyFileReplacing(source, target);
    }
    void FinishCopies() override { platform::FinishReplacingCopies(); }
    void RewriteRunRecord(const std::string& path, const std::string& text) override {
        platform::OverwriteExistingFile(path, text);
    }
    bool RunProgram(const std::string& commandLine) override {
        return StartProgram(commandLine, 1) != 0;
    }
};

} // namespace

InstallActions& SystemActions() {
    static SystemInstallActions actions;
    return actions;
}
