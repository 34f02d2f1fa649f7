#include "platform/VersionInfo.h"

#include "platform/win32/VersionDll.h"
#include "resources/VersionBlock.h"

#include <cstring>

namespace platform {

namespace {

// VerQueryValueA converts Unicode values to ANSI inside the block it is given, so it works on a
// scratch copy and the caller's data stays as read.
bool QueryValue(const VersionData& data, const std::string& subBlock, std::vector<uint8_t>& scratch,
                const void*& value, UINT& length) {
    const VersionDll* dll = GetVersionDll();
    if (!dll || data.block.empty())
        return false;
    scratch = data.block;
    LPVOID found = nullptr;
    length = 0;
    if (!dll->VerQueryValueA(scratch.data(), subBlock.c_str(), &found, &length) || !found)
        return false;
    value = found;
    return true;
}

// VerQueryValueA trusts every length in the block and writes its ANSI texts into the space after
// the block, which GetFileVersionInfoSizeA sized at twice the resource and four bytes more. A
// block is handed to it only when it keeps to its lengths within the first half of that space;
// otherwise the file reads as one without a version resource. The block of a 16-bit module holds
// 8-bit texts already, which VerQueryValueA answers in place: it has to keep to the buffer.
bool IsSafeForVerQueryValue(const uint8_t* block, DWORD size) {
    if (resources::IsSixteenBitVersionBlock(block, size))
        return resources::IsWellFormedVersionBlock(block, size);
    return size > 4 && resources::IsWellFormedVersionBlock(block, (size - 4) / 2);
}

} // namespace

bool LoadFileVersionInfo(const std::string& path, VersionData& data) {
    const VersionDll* dll = GetVersionDll();
    if (!dll)
        return false;
    DWORD handle = 0;
    DWORD size = dll->GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return false;
    // Movable global memory, as version.dll's callers have always handed it over.
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return false;
    bool ok = false;
    if (void* block = GlobalLock(memory)) {
        ok = dll->GetFileVersionInfoA(path.c_str(), 0, size, block) != FALSE &&
             IsSafeForVerQueryValue(static_cast<const uint8_t*>(block), size);
        if (ok)
            data.block.assign(static_cast<uint8_t*>(block), static_cast<uint8_t*>(block) + size);
        GlobalUnlock(memory);
    }
    GlobalFree(memory);
    return ok;
}

bool QueryTranslation(const VersionData& data, uint16_t& language, uint16_t& codePage) {
    std::vector<uint8_t> scratch;
    const void* value = nullptr;
    UINT length = 0;
    if (!QueryValue(data, "\\VarFileInfo\\Translation", scratch, value, length) || length < 4)
        return false;
    const uint8_t* pair = static_cast<const uint8_t*>(value);
    language = static_cast<uint16_t>(pair[0] | (pair[1] << 8));
    codePage = static_cast<uint16_t>(pair[2] | (pair[3] << 8));
    return true;
}

bool QueryStringValue(const VersionData& data, const std::string& subBlock, std::string& text) {
    std::vector<uint8_t> scratch;
    const void* value = nullptr;
    UINT length = 0;
    if (!QueryValue(data, subBlock, scratch, value, length) || length == 0)
        return false;
    const char* chars = static_cast<const char*>(value);
    text.assign(chars, strnlen(chars, length));
    return true;
}

std::string LanguageName(uint16_t language) {
    const VersionDll* dll = GetVersionDll();
    char name[100] = "";
    if (dll)
        dll->VerLanguageNameA(language, name, sizeof name);
    return name;
}

} // namespace platform
