// The copy pass: filter each entry, show it, copy it, advance the progress bar.
#include "framework/Messages.h"
#include "setup/config/SetupRules.h"
#include "setup/engine/OsCode.h"
#include "setup/engine/SetupEngine.h"
#include "setup/res/resource.h"

BOOL SetupEngine::CheckFileOptions(const std::string& options, const std::string& source,
                                   const std::string& target) const {
    if (HasSystemFilter(options)) {
        const char* tag = OsTag(m_context.osCode);
        if (tag && options.find(tag) == std::string::npos)
            return FALSE;
    }
    if (AsksBeforeReplacing(options))
        return ConfirmReplace(source, target);
    return TRUE;
}

BOOL SetupEngine::CopyFiles(const CCopyList& list) const {
    const size_t count = list.size();
    std::vector<std::string> targets;
    for (const CCopyEntry* entry : list)
        targets.push_back(entry->m_strTarget);
    if (!m_actions.BeginCopyPass(targets)) {
        m_actions.RollBackInstall();
        m_view.ShowSetupError(LoadMessage(IDS_NO_SAFE_RECORD));
        return FALSE;
    }
    for (size_t k = 0; k < count; ++k) {
        const CCopyEntry& entry = *list[k];
        if (!CheckFileOptions(entry.m_strOptions, entry.m_strSource, entry.m_strTarget))
            continue;

        std::string source = m_view.FitPathToInfoText(entry.m_strSource);
        std::string target = m_view.FitPathToInfoText(entry.m_strTarget);
        m_view.SetInfoText(FormatMessageText(IDS_COPYING, {source, target}));

        // The copy replaces the target in one step: a failed copy leaves the old file whole, and
        // the files copied before it are put back, so the installation is the old one again.
        if (!m_actions.CopyFile(entry.m_strSource, entry.m_strTarget)) {
            m_actions.FinishCopies();
            m_actions.RollBackInstall();
            m_view.ShowSetupError(FormatMessageText(IDS_COPY_FAILED, {target}));
            return FALSE;
        }
        // The position counts the entry's place in the list, skipped entries included.
        m_view.SetProgress(static_cast<int>(static_cast<double>(k + 1) * 90.0 / count));
    }
    m_actions.FinishCopies();
    m_view.SetProgress(100);
    WriteUpdateInf();
    // From here the new installation stands: the follow-up programs run on it.
    m_actions.CommitInstall();
    return TRUE;
}
