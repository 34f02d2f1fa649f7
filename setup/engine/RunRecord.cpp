// The run record: Update.inf in the host program folder receives the package title.
#include "platform/Files.h"
#include "setup/config/SetupFiles.h"
#include "setup/engine/SetupEngine.h"

void SetupEngine::WriteUpdateInf() const {
    // The header text exactly as shown, two leading blanks included, no line end.
    RunRecordRecord record;
    record.text = m_context.header;
    if (!m_context.programDirFound) {
        record.outcome = RunRecordOutcome::NoProgramFolder;
        m_view.OnRunRecord(record);
        return;
    }
    // The file is only ever rewritten, never created; when it cannot be written nothing is
    // reported to the person installing.
    record.path = m_context.programDir + kRunRecordName;
    if (m_actions.RewriteRunRecord(record.path, record.text))
        record.outcome = RunRecordOutcome::Rewritten;
    else
        record.outcome = platform::PathExists(record.path) ? RunRecordOutcome::NotWritten
                                                           : RunRecordOutcome::Absent;
    m_view.OnRunRecord(record);
}
