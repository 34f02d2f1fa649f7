// The copy pass: filter each entry, show it, copy it, advance the progress bar.
#include "platform/Files.h"
#include "setup/config/SetupRules.h"
#include "setup/engine/OsCode.h"
#include "setup/engine/SetupEngine.h"
#include "setup/engine/SetupMessage.h"
#include "setup/res/resource.h"

CopyOutcome SetupEngine::CheckFileOptions(const CCopyEntry& entry) const {
    if (!PassesSystemFilter(entry.m_strOptions, m_context.osCode))
        return CopyOutcome::SkippedByFilter;
    if (AsksBeforeReplacing(entry.m_strOptions) &&
        !ConfirmReplace(entry.m_strSource, entry.m_strTarget))
        return CopyOutcome::KeptAnsweredNo;
    return CopyOutcome::Copied;
}

BOOL SetupEngine::CopyFiles(const CCopyList& list) const {
    m_actions.BeginCopyPass(list);
    const size_t count = list.size();
    for (size_t k = 0; k < count; ++k) {
        const CCopyEntry& entry = list[k];
        CopyRecord record{entry.m_strSource, entry.m_strTarget, entry.m_strOptions,
                          CheckFileOptions(entry)};
        if (record.outcome != CopyOutcome::Copied) {
            m_view.OnCopyEntry(record);
            continue;
        }

        std::string source = m_view.FitPathToInfoText(entry.m_strSource);
        std::string target = m_view.FitPathToInfoText(entry.m_strTarget);
        m_view.SetInfoText(MakeMessage(IDS_COPYING, {source, target}));

        // The copy replaces the target in one step: a failed copy leaves the old file whole.
        const bool existed = platform::PathExists(entry.m_strTarget);
        if (!m_actions.CopyPayloadFile(entry.m_strSource, entry.m_strTarget)) {
            record.outcome = CopyOutcome::Failed;
            m_view.OnCopyEntry(record);
            m_actions.EndCopyPass(false);
            m_view.ShowSetupError(MakeMessage(IDS_COPY_FAILED, {target}));
            return FALSE;
        }
        record.outcome = existed ? CopyOutcome::Replaced : CopyOutcome::Copied;
        m_view.OnCopyEntry(record);
        // The position counts the entry's place in the list, skipped entries included.
        m_view.SetProgress(static_cast<int>(static_cast<double>(k + 1) * 90.0 / count));
    }
    m_actions.EndCopyPass(true);
    m_view.SetProgress(100);
    WriteUpdateInf();
    return TRUE;
}
