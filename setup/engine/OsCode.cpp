#include "setup/engine/OsCode.h"

#include "setup/config/SetupRules.h"

namespace {

constexpr uint32_t kPlatformWindows9x = 1;
constexpr uint32_t kPlatformWindowsNt = 2;
constexpr uint32_t kMillenniumBuild = 0x045A; // upper 16 bits of the build number of 4.90

const char* const kOsTags[] = {nullptr, "WINNT", "WIN95", "WIN98", "WINME", "WIN2K"};

} // namespace

int ClassifyOs(const platform::OsVersion& version) {
    if (!version.ok)
        return 0;
    if (version.platformId == kPlatformWindowsNt)
        return version.major < 5 ? 1 : 5;
    if (version.platformId == kPlatformWindows9x) {
        if (version.minor == 0)
            return 2;
        return (version.build >> 16) == kMillenniumBuild ? 4 : 3;
    }
    return 0;
}

int GetOsCode() {
    return ClassifyOs(platform::GetOsVersion());
}

const char* OsTag(int code) {
    return code >= 1 && code <= 5 ? kOsTags[code] : nullptr;
}

bool PassesSystemFilter(const std::string& options, int osCode) {
    if (!HasSystemFilter(options))
        return true;
    const char* tag = OsTag(osCode);
    return !tag || options.find(tag) != std::string::npos;
}
