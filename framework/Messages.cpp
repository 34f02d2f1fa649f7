#include "framework/Messages.h"

#include "framework/Backend.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

constexpr UINT kAppTitleString = 57344;

// Formatting works on a fixed buffer of this many characters, so longer templates are cut.
constexpr size_t kMaxTemplateLength = 255;

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

std::string LoadMessage(UINT id) {
    return framework_backend::LoadModuleString(id);
}

std::string FormatPlaceholders(const std::string& tmpl, std::initializer_list<std::string> args) {
    const std::string source = tmpl.substr(0, kMaxTemplateLength);
    std::string out;
    for (size_t i = 0; i < source.size(); ++i) {
        char c = source[i];
        char next = i + 1 < source.size() ? source[i + 1] : '\0';
        if (c != '%' || next < '1' || next > '9') {
            out.push_back(c);
            continue;
        }
        size_t number = static_cast<size_t>(next - '1');
        out += number < args.size() ? *(args.begin() + number) : std::string("?");
        ++i;
    }
    return out;
}

std::string FormatMessageText(UINT id, std::initializer_list<std::string> args) {
    return FormatPlaceholders(LoadMessage(id), args);
}

int ShowMessageBox(CWnd* owner, const std::string& text, UINT type) {
    if (WantsDefaultIcon(type))
        type |= MB_ICONEXCLAMATION;
    HWND hOwner = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
    return framework_backend::RunMessageBox(hOwner, text, ApplicationTitle(), type);
}
