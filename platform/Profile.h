// Reading Windows profile (INI) files, GetPrivateProfileStringA's way.
#pragma once

#include <string>

namespace platform {

// The value of `key` in `section` of `file`, read with the empty default into a 1024-byte buffer:
// at most 1023 characters; "" for an absent file, section or key and for an empty value. Section
// and key names match without regard to case; blanks around the value are removed. A file given
// without a folder is looked for in the Windows directory. A file that starts with a UTF-16 or
// UTF-8 byte-order mark is read in that encoding, its values converted to code page 1252. A file
// above kProfileFileLimit (ProfileText.h) reads as absent; on POSIX so does anything but a regular
// file, refused without waiting on it.
std::string ReadProfileValue(const std::string& section, const std::string& key,
                             const std::string& file);

} // namespace platform
