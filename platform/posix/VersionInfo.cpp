#include "platform/VersionInfo.h"

#include "platform/posix/Paths.h"
#include "resources/NeImage.h"
#include "resources/PeImage.h"
#include "resources/VersionBlock.h"

#include <optional>
#include <utility>
#include <vector>

namespace platform {

// Only the headers and the resource section of the file are read (never the whole file), and the
// version resource is picked among its languages as the loader would. A 16-bit module has no
// languages and a resource table of its own; its block is kept in its own layout, which the
// queries tell from the block itself, as VerQueryValueA does. The file is opened once for both.
bool LoadFileVersionInfo(const std::string& path, VersionData& data) {
    resources::FileSource file(ToPosixPath(path));
    if (!file.isOpen())
        return false;
    std::vector<uint8_t> block;
    if (std::optional<resources::ResourceSet> set = resources::ReadPeResources(file)) {
        if (const resources::ResourceEntry* entry = resources::FindVersionResource(*set))
            block = entry->data;
    } else if (std::optional<std::vector<uint8_t>> ne = resources::ReadNeVersionResource(file)) {
        block = std::move(*ne);
    }
    if (block.empty())
        return false;
    data.block = std::move(block);
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
