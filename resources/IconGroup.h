// Icon and cursor groups: the directory resources (RT_GROUP_ICON, RT_GROUP_CURSOR) that list the
// images of one icon or cursor in its sizes and colour depths, each image a resource of its own
// (RT_ICON, RT_CURSOR) named by the number the directory gives.
#pragma once

#include "resources/BitmapInfo.h"
#include "resources/ResourceSet.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace resources {

enum class GroupKind { Icon, Cursor };

// One directory entry, as stored except for the sizes: an icon entry's 0 means 256, and a cursor
// entry's height (stored for colour bits and mask together) is halved to the picture's.
struct GroupImage {
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t colourCount = 0; // icons only: as stored, 0 for 256 colours and more
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t bytes = 0;   // size of the image resource
    uint16_t imageId = 0; // name of the RT_ICON / RT_CURSOR resource
};

struct ImageGroup {
    GroupKind kind = GroupKind::Icon;
    std::vector<GroupImage> images; // in directory order
};

// Parses a group directory; nothing when the header is not an icon or cursor directory or the
// entries run past the data.
std::optional<ImageGroup> ReadImageGroup(const uint8_t* data, size_t size);

// One member of a group with the image it names.
struct GroupMember {
    GroupImage entry;
    const ResourceEntry* resource = nullptr; // nullptr when the set lacks the image
    std::optional<BitmapInfo> info;          // the image's header, when it reads
    uint16_t hotspotX = 0;                   // cursors only
    uint16_t hotspotY = 0;
};

// The members of group `name` (type RT_GROUP_ICON or RT_GROUP_CURSOR after `kind`), each looked up
// in the same language as the group. Nothing when the group is missing or malformed.
std::optional<std::vector<GroupMember>> ResolveImageGroup(const ResourceSet& set, GroupKind kind,
                                                          uint16_t name);

} // namespace resources
