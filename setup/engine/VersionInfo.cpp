#include "setup/engine/VersionInfo.h"

#include "platform/Files.h"

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

CFileVersionBlock::CFileVersionBlock(const std::string& path) {
    // A missing file is not handed to the system's version reader at all.
    m_bLoaded = platform::PathExists(path) && platform::LoadFileVersionInfo(path, m_data);
}

BOOL CFileVersionBlock::GetTranslation(WORD& language, WORD& codePage) const {
    uint16_t lang = 0;
    uint16_t cp = 0;
    if (!m_bLoaded || !platform::QueryTranslation(m_data, lang, cp))
        return FALSE;
    language = lang;
    codePage = cp;
    return TRUE;
}

BOOL CFileVersionBlock::GetString(const std::string& name, std::string& text) const {
    WORD language = 0;
    WORD codePage = 0;
    if (!GetTranslation(language, codePage))
        return FALSE;
    std::string block = "\\StringFileInfo\\" + Hex4(language) + Hex4(codePage) + "\\";
    std::string value;
    if (!platform::QueryStringValue(m_data, block + name, value) || value.empty())
        return FALSE;
    text = value;
    return TRUE;
}

BOOL GetFileTranslation(const std::string& path, WORD& language, WORD& codePage) {
    return CFileVersionBlock(path).GetTranslation(language, codePage);
}

BOOL GetFileVersionString(const std::string& path, std::string& text, const std::string& name) {
    return CFileVersionBlock(path).GetString(name, text);
}
