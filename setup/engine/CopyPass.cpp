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
    for (size_t k = 0; k < count; ++k) {
        const CCopyEntry& entry = *list[k];
        if (!CheckFileOptions(entry.m_strOptions, entry.m_strSource, entry.m_strTarget))
            continue;

        std::string source = m_view.FitPathToInfoText(entry.m_strSource);
        std::string target = m_view.FitPathToInfoText(entry.m_strTarget);
        m_view.SetInfoText(FormatMessageText(IDS_COPYING, {source, target}));

        // The copy replaces the target in one step: a failed copy leaves the old file whole.
        if (!m_actions.CopyFile(entry.m_strSource, entry.m_strTarget)) {
            m_actions.FinishCopies();
            m_view.ShowSetupError(FormatMessageText(IDS_COPY_FAILED, {target}));
            return FALSE;
        }
        // The position counts the entry's place in the list, skipped entries included.
        m_view.SetProgress(static_cast<int>(static_cast<double>(k + 1) * 90.0 / count));
    }
    m_actions.FinishCopies();
    m_view.SetProgress(100);
    WriteUpdateInf();
    return TRUE;
}
