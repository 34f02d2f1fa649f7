#include "platform/VersionInfo.h"

#include "platform/posix/Paths.h"
#include "resources/PeImage.h"
#include "resources/VersionBlock.h"

#include <optional>

namespace platform {

// Only the headers and the resource section of the file are read (never the whole file), and the
// version resource is picked among its languages as the loader would.
bool LoadFileVersionInfo(const std::string& path, VersionData& data) {
    std::optional<resources::ResourceSet> set = resources::ReadPeResources(ToPosixPath(path));
    if (!set)
        return false;
    const resources::ResourceEntry* entry = resources::FindVersionResource(*set);
    if (!entry || entry->data.empty())
        return false;
    data.block = entry->data;
    return true;
}

bool QueryTranslation(const VersionData& data, uint16_t& language, uint16_t& codePage) {
    std::vector<resources::Translation> pairs =
        resources::ReadTranslations(data.block.data(), data.block.size());
    if (pairs.empty())
        return false;
    language = pairs.front().language;
    codePage = pairs.front().codePage;
    return true;
}

bool QueryStringValue(const VersionData& data, const std::string& subBlock, std::string& text) {
    std::optional<std::string> value =
        resources::ReadVersionString(data.block.data(), data.block.size(), subBlock);
    if (!value)
        return false;
    text = *value;
    return true;
}

} // namespace platform
