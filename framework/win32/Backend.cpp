#include "framework/Backend.h"

namespace framework_backend {

int RunMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

} // namespace framework_backend
