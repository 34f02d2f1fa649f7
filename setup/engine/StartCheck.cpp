// The first step of every start: this setup must be the only one, and a run that was killed
// during its copy pass is put back before anything looks at the installation.
#include "setup/engine/StartCheck.h"

#include "setup/engine/SetupMessage.h"
#include "setup/res/resource.h"

bool PrepareStart(SetupView& view, InstallActions& actions) {
    switch (actions.PrepareStart()) {
    case StartCheck::Ready:
        return true;
    case StartCheck::OtherRunning:
        view.ShowSetupError(MakeMessage(IDS_SETUP_RUNNING));
        return false;
    case StartCheck::NoSafeRecord:
        break;
    }
    view.ShowSetupError(MakeMessage(IDS_NO_SAFE_RECORD));
    return false;
}
