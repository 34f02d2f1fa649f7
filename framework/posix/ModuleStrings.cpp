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

std::string LoadModuleResource(UINT type, UINT id) {
    if (type > 0xFFFF || id > 0xFFFF)
        return {};
    const resources::ResourceEntry* entry = framework_posix::ModuleResources().Find(
        static_cast<uint16_t>(type), static_cast<uint16_t>(id));
    return entry != nullptr ? std::string(entry->data.begin(), entry->data.end()) : std::string();
}

} // namespace framework_backend

HINSTANCE AfxGetInstanceHandle() {
    return nullptr;
}
