// libFuzzer entry over the resource readers: one input is read as a PE image, as a 16-bit (NE)
// module, as a compiled .res file and as a version block (in whichever of the two layouts its
// first node shows), and every version block found is checked and queried the way the setup does.
#include "resources/NeImage.h"
#include "resources/PeImage.h"
#include "resources/ResourceSet.h"
#include "resources/VersionBlock.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

void QueryLikeTheSetup(const uint8_t* block, size_t size) {
    resources::IsWellFormedVersionBlock(block, size);
    resources::ReadFixedFileInfo(block, size);
    for (const resources::Translation& t : resources::ReadTranslations(block, size)) {
        char path[64];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\FileVersion", t.language,
                      t.codePage);
        resources::ReadVersionString(block, size, path);
    }
    resources::ReadVersionString(block, size, "\\StringFileInfo\\040704B0\\fileversion");
    resources::FindVersionValue(block, size, "\\\\VarFileInfo\\\\");
}

void QueryVersionResources(const resources::ResourceSet& set) {
    for (const resources::ResourceEntry* e : set.OfType(resources::kTypeVersion))
        QueryLikeTheSetup(e->data.data(), e->data.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (std::optional<resources::ResourceSet> set = resources::ReadPeResources(data, size))
        QueryVersionResources(*set);
    if (std::optional<std::vector<uint8_t>> block = resources::ReadNeVersionResource(data, size))
        QueryLikeTheSetup(block->data(), block->size());
    if (std::optional<resources::ResourceSet> set = resources::ReadResFile(data, size))
        QueryVersionResources(*set);
    QueryLikeTheSetup(data, size);
    return 0;
}
