// The run record: Update.inf in the host program folder receives the package title.
#include "platform/Files.h"
#include "setup/app/SetupDlg.h"
#include "setup/config/SetupFiles.h"
#include "setup/res/resource.h"

void CSetupDlg::WriteUpdateInf() {
    if (!m_bProgramDirFound)
        return;
    // The header text exactly as shown, two leading blanks included, no line end. The file is
    // only ever rewritten, never created; when it cannot be opened nothing is reported.
    platform::OverwriteExistingFile(m_strProgramDir + kRunRecordName,
                                    GetDlgItemText(IDC_HEADER_TEXT));
}
