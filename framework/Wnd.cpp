// What windows do alike on both backends.
#include "framework/Wnd.h"

std::string CWnd::GetDlgItemText(int nID) const {
    return GetDlgItem(nID).GetWindowText();
}
