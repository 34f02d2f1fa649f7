// The text of a profile file in the encodings the Windows profile reader recognises.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The file's text as UTF-16, as the Windows reader sees it: after a UTF-16 byte-order mark (either
// byte order) the rest is UTF-16, after a UTF-8 one UTF-8, and without a mark the text is in code
// page 1252. UTF-8 that is not well formed gives one U+FFFD per broken sequence, as
// MultiByteToWideChar does; an odd last byte of UTF-16 text is one broken character too.
std::u16string DecodeProfileText(const char* text, size_t size);

} // namespace platform
