// Which module the framework loads its resources from, and its strings.
#include "framework/Backend.h"

#include "framework/posix/ModuleResources.h"
#include "resources/StringTable.h"

namespace framework_backend {

// A POSIX program has one module, the one whose resources were registered.
void SetModuleInstance(HINSTANCE) {}

std::string LoadModuleString(UINT id) {
    return resources::LoadStringCp1252(framework_posix::ModuleResources(), id).value_or("");
}

} // namespace framework_backend

HINSTANCE AfxGetInstanceHandle() {
    return nullptr;
}
