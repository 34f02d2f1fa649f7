// Reading a file's Windows version resource: its first translation and one string value.
#pragma once

#include "framework/WinDefs.h"
#include "platform/VersionInfo.h"

#include <string>

// A file's version resource, read once when made; every answer below comes from that one read.
class CFileVersionBlock {
public:
    explicit CFileVersionBlock(const std::string& path);

    // The first language and code page of the translation list. FALSE (outs untouched) when the
    // file does not exist, has no version resource or no translation list.
    BOOL GetTranslation(WORD& language, WORD& codePage) const;

    // The value `name` of the string block of the first translation. FALSE (text untouched)
    // when it is absent or empty.
    BOOL GetString(const std::string& name, std::string& text) const;

private:
    bool m_bLoaded = false;
    platform::VersionData m_data;
};

// The same for a single question: each reads the file's resource once.
BOOL GetFileTranslation(const std::string& path, WORD& language, WORD& codePage);

// The setup asks only for "FileVersion".
BOOL GetFileVersionString(const std::string& path, std::string& text, const std::string& name);
