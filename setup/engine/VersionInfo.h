// Reading a file's Windows version resource: its first translation and one string value.
#pragma once

#include "framework/WinDefs.h"

#include <string>

// The first language and code page of the file's translation list. FALSE (outs untouched) when
// the file does not exist, has no version resource or no translation list.
BOOL GetFileTranslation(const std::string& path, WORD& language, WORD& codePage);

// The value `name` (the setup asks only for "FileVersion") of the string block of the file's
// first translation. FALSE (text untouched) when it is absent or empty.
BOOL GetFileVersionString(const std::string& path, std::string& text, const std::string& name);
