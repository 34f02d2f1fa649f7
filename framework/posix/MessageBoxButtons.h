// The buttons of each message-box type, as the front-ends offer them.
#pragma once

#include "framework/WinDefs.h"

#include <vector>

namespace framework_posix {

struct MessageBoxButton {
    int result;        // IDOK, IDYES, ...
    const char* label; // the system's own button label, "&" before the mnemonic
};

// The buttons of a box of `type` (MB_OK, MB_YESNO, ...), left to right.
std::vector<MessageBoxButton> MessageBoxButtons(UINT type);

// What a box of `type` answers when nobody is left to answer it: No, else Cancel, else OK (the
// button that changes least).
int UnansweredMessageBoxResult(UINT type);

} // namespace framework_posix
