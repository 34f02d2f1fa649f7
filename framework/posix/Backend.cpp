#include "framework/Backend.h"

#include "framework/posix/FrontEnd.h"

namespace framework_backend {

int RunMessageBox(HWND, const std::string& text, const std::string& caption, UINT type) {
    return framework_posix::CurrentFrontEnd().AskMessageBox(text, caption, type);
}

} // namespace framework_backend
