// The first step of every start: this setup must be the only one, and a run that was killed
// during its copy pass is put back before anything looks at the installation.
#include "framework/Messages.h"
#include "setup/engine/SetupEngine.h"
#include "setup/res/resource.h"

BOOL SetupEngine::PrepareStart() const {
    switch (m_actions.PrepareStart()) {
    case StartCheck::Ready:
        return TRUE;
    case StartCheck::OtherRunning:
        m_view.ShowSetupError(LoadMessage(IDS_SETUP_RUNNING));
        return FALSE;
    case StartCheck::NoSafeRecord:
        break;
    }
    m_view.ShowSetupError(LoadMessage(IDS_NO_SAFE_RECORD));
    return FALSE;
}
