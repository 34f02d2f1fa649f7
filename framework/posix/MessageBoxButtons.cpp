#include "framework/posix/MessageBoxButtons.h"

namespace framework_posix {

// Labels of the German system, which draws these buttons itself; they are not the program's texts.
std::vector<MessageBoxButton> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, "&OK"}, {IDCANCEL, "&Abbrechen"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, "&Abbrechen"}, {IDRETRY, "&Wiederholen"}, {IDIGNORE, "&Ignorieren"}};
    case MB_YESNOCANCEL:
        return {{IDYES, "&Ja"}, {IDNO, "&Nein"}, {IDCANCEL, "A&bbrechen"}};
    case MB_YESNO:
        return {{IDYES, "&Ja"}, {IDNO, "&Nein"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, "&Wiederholen"}, {IDCANCEL, "&Abbrechen"}};
    default:
        return {{IDOK, "&OK"}};
    }
}

int UnansweredMessageBoxResult(UINT type) {
    std::vector<MessageBoxButton> buttons = MessageBoxButtons(type);
    for (int wanted : {IDNO, IDCANCEL, IDABORT}) {
        for (const MessageBoxButton& button : buttons)
            if (button.result == wanted)
                return wanted;
    }
    return buttons.front().result;
}

} // namespace framework_posix
