// libFuzzer entry over the icon- and cursor-group readers: a group directory on its own, and every
// group of a compiled .res file resolved to its images and their bitmap headers.
#include "tests/fuzz/EachResource.h"

#include "resources/IconGroup.h"

namespace {

void ResolveGroups(const resources::ResourceSet& set, uint16_t type, resources::GroupKind kind) {
    for (const resources::ResourceEntry* e : set.OfType(type))
        if (e->name.isNumber)
            resources::ResolveImageGroup(set, kind, e->name.number);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    resources::ReadImageGroup(data, size);
    if (std::optional<resources::ResourceSet> set = resources::ReadResFile(data, size)) {
        for (uint16_t type : {resources::kTypeGroupIcon, resources::kTypeGroupCursor})
            for (const resources::ResourceEntry* e : set->OfType(type))
                resources::ReadImageGroup(e->data.data(), e->data.size());
        ResolveGroups(*set, resources::kTypeGroupIcon, resources::GroupKind::Icon);
        ResolveGroups(*set, resources::kTypeGroupCursor, resources::GroupKind::Cursor);
    }
    return 0;
}
