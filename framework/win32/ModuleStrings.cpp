// Which module the framework loads its resources from, and its strings.
#include "framework/Backend.h"

#include "resources/StringTable.h"

#include <vector>

namespace {

HINSTANCE g_hInstance = nullptr;

} // namespace

HINSTANCE AfxGetInstanceHandle() {
    return g_hInstance != nullptr ? g_hInstance : GetModuleHandleA(nullptr);
}

namespace framework_backend {

void SetModuleInstance(HINSTANCE hInstance) {
    g_hInstance = hInstance;
}

// Read from the string block itself rather than through LoadStringA, whose caller has to guess a
// buffer size: a message is loaded whole, however long it is.
std::string LoadModuleString(UINT id) {
    if (id > 0xFFFF)
        return {};
    HINSTANCE hInstance = AfxGetInstanceHandle();
    HRSRC found = FindResourceA(hInstance, MAKEINTRESOURCEA(id / 16 + 1), MAKEINTRESOURCEA(6));
    HGLOBAL loaded = found != nullptr ? LoadResource(hInstance, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return {};
    std::optional<std::u16string> text = resources::StringFromBlock(
        static_cast<const uint8_t*>(data), SizeofResource(hInstance, found), id % 16);
    if (!text || text->empty())
        return {};
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text->data());
    int length = static_cast<int>(text->size());
    int size = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, wide, length, &narrow[0], size, nullptr, nullptr);
    return narrow;
}

std::string LoadModuleResource(UINT type, UINT id) {
    if (type > 0xFFFF || id > 0xFFFF)
        return {};
    HINSTANCE hInstance = AfxGetInstanceHandle();
    HRSRC found = FindResourceA(hInstance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    HGLOBAL loaded = found != nullptr ? LoadResource(hInstance, found) : nullptr;
    const char* data = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return data != nullptr ? std::string(data, SizeofResource(hInstance, found)) : std::string();
}

} // namespace framework_backend
