#include "framework/Backend.h"

#include "framework/posix/FrontEnd.h"
#include "framework/posix/ModuleResources.h"
#include "resources/StringTable.h"

namespace framework_backend {

// A POSIX program has one module, the one whose resources were registered.
void SetModuleInstance(HINSTANCE) {}

std::string LoadModuleString(UINT id) {
    return resources::LoadStringCp1252(framework_posix::ModuleResources(), id).value_or("");
}

int RunMessageBox(HWND, const std::string& text, const std::string& caption, UINT type) {
    return framework_posix::CurrentFrontEnd().AskMessageBox(text, caption, type);
}

} // namespace framework_backend

HINSTANCE AfxGetInstanceHandle() {
    return nullptr;
}
