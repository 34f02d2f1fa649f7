// The message box of the framework's windows, captioned with the application's title.
#include "framework/Backend.h"
#include "framework/Messages.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

constexpr UINT kAppTitleString = 57344;

std::string ApplicationTitle() {
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && !pApp->AppName().empty())
        return pApp->AppName();
    return LoadMessage(kAppTitleString);
}

bool WantsDefaultIcon(UINT type) {
    if ((type & MB_ICONMASK) != 0)
        return false;
    switch (type & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return true;
    default:
        return false;
    }
}

} // namespace

int ShowMessageBox(CWnd* owner, const std::string& text, UINT type) {
    if (WantsDefaultIcon(type))
        type |= MB_ICONEXCLAMATION;
    HWND hOwner = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
    return framework_backend::RunMessageBox(hOwner, text, ApplicationTitle(), type);
}
