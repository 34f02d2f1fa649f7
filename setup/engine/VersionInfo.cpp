#include "setup/engine/VersionInfo.h"

#include "platform/Files.h"
#include "platform/VersionInfo.h"

namespace {

// Four lowercase hexadecimal digits, as "%04x" gives them.
std::string Hex4(unsigned value) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4)
        text[i] = kDigits[value & 0xF];
    return text;
}

} // namespace

BOOL GetFileTranslation(const std::string& path, WORD& language, WORD& codePage) {
    if (!platform::PathExists(path))
        return FALSE;
    platform::VersionData data;
    if (!platform::LoadFileVersionInfo(path, data))
        return FALSE;
    uint16_t lang = 0;
    uint16_t cp = 0;
    if (!platform::QueryTranslation(data, lang, cp))
        return FALSE;
    language = lang;
    codePage = cp;
    return TRUE;
}

BOOL GetFileVersionString(const std::string& path, std::string& text, const std::string& name) {
    WORD language = 0;
    WORD codePage = 0;
    if (!GetFileTranslation(path, language, codePage))
        return FALSE;

    std::string block = "\\StringFileInfo\\" + Hex4(language) + Hex4(codePage) + "\\";

    // The resource is read anew: nothing is kept between calls.
    platform::VersionData data;
    if (!platform::LoadFileVersionInfo(path, data))
        return FALSE;
    std::string value;
    if (!platform::QueryStringValue(data, block + name, value) || value.empty())
        return FALSE;
    text = value;
    return TRUE;
}
