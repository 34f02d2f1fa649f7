// The copy pass: filter each entry, show it, copy it, advance the progress bar.
#include "framework/Messages.h"
#include "platform/Files.h"
#include "setup/app/SetupDlg.h"
#include "setup/engine/OsCode.h"
#include "setup/engine/ShortenPath.h"
#include "setup/res/resource.h"

BOOL CSetupDlg::CheckFileOptions(const std::string& options, const std::string& source,
                                 const std::string& target) {
    if (options.find("WIN") != std::string::npos) {
        const char* tag = OsTag(GetOsCode());
        if (tag && options.find(tag) == std::string::npos)
            return FALSE;
    }
    if (options.find("VERSION") != std::string::npos)
        return ConfirmReplace(source, target);
    return TRUE;
}

BOOL CSetupDlg::CopyFiles(CCopyList& list) {
    CWnd info = GetDlgItem(IDC_INFO_TEXT);
    const size_t count = list.size();
    for (size_t k = 0; k < count; ++k) {
        const CCopyEntry& entry = *list[k];
        if (!CheckFileOptions(entry.m_strOptions, entry.m_strSource, entry.m_strTarget))
            continue;

        std::string source;
        std::string target;
        ShortenPathToFit(&info, entry.m_strSource, source);
        ShortenPathToFit(&info, entry.m_strTarget, target);
        info.SetWindowText(FormatMessageText(IDS_COPYING, {source, target}));

        // The copy replaces the target in one step: a failed copy leaves the old file whole.
        if (!platform::CopyFileReplacing(entry.m_strSource, entry.m_strTarget)) {
            platform::FinishReplacingCopies();
            ShowSetupError(FormatMessageText(IDS_COPY_FAILED, {target}));
            return FALSE;
        }
        // The position counts the entry's place in the list, skipped entries included.
        m_ctlProgress.SetPos(static_cast<int>(static_cast<double>(k + 1) * 90.0 / count));
    }
    platform::FinishReplacingCopies();
    m_ctlProgress.SetPos(100);
    WriteUpdateInf();
    return TRUE;
}
