#include "platform/Profile.h"

#include "platform/WindowsHeaders.h"

namespace platform {

std::string ReadProfileValue(const std::string& section, const std::string& key,
                             const std::string& file) {
    char buffer[1024];
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer,
                                            file.c_str());
    return std::string(buffer, length);
}

} // namespace platform
