#include "setup/app/QuietRun.h"

#include "setup/app/LoggedView.h"
#include "setup/engine/SetupRun.h"

namespace {

// A front that shows nothing. Paths stay whole: they only reach the log.
class NoWindow : public SetupView {
public:
    void ShowHeader(const std::string&) override {}
    void ShowReady(const SetupMessage&) override {}
    void ShowSetupError(const SetupMessage&) override {}
    void BeginInstall() override {}
    void ShowProgress(int) override {}
    void SetProgress(int) override {}
    void SetInfoText(const SetupMessage&) override {}
    std::string FitPathToInfoText(const std::string& path) override { return path; }
    // Never asked: the logged view answers every question of an unattended run.
    bool AskReplace(const ReplaceQuestion&) override { return false; }
    void ShowSuccess(const SetupMessage&) override {}
};

} // namespace

RunResult RunQuietly(RunLog& log, bool answerYes) {
    NoWindow front;
    LoggedView view(front, &log, Answering{true, answerYes});
    SetupRun run(view, SystemActions(), SystemPlace());
    if (run.Start())
        run.Install();
    return view.Result();
}
