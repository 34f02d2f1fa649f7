// The run record: Update.inf in the host program folder receives the package title.
#include "setup/config/SetupFiles.h"
#include "setup/engine/SetupEngine.h"

void SetupEngine::WriteUpdateInf() const {
    if (!m_context.programDirFound)
        return;
    // The header text exactly as shown, two leading blanks included, no line end. The file is
    // only ever rewritten, never created; when it cannot be opened nothing is reported.
    m_actions.RewriteRunRecord(m_context.programDir + kRunRecordName, m_context.header);
}
