#include "resources/IconGroup.h"

#include "resources/ByteReader.h"

namespace resources {

namespace {

// The directory header's resource type: which kind of images the entries describe.
constexpr uint16_t kDirectoryIcon = 1;
constexpr uint16_t kDirectoryCursor = 2;

GroupImage ReadIconEntry(ByteReader& r) {
    GroupImage image;
    uint8_t width = r.u8();
    uint8_t height = r.u8();
    image.width = width ? width : 256;
    image.height = height ? height : 256;
    image.colourCount = r.u8();
    r.skip(1); // reserved
    image.planes = r.u16();
    image.bitCount = r.u16();
    image.bytes = r.u32();
    image.imageId = r.u16();
    return image;
}

GroupImage ReadCursorEntry(ByteReader& r) {
    GroupImage image;
    image.width = r.u16();
    image.height = static_cast<uint16_t>(r.u16() / 2);
    image.planes = r.u16();
    image.bitCount = r.u16();
    image.bytes = r.u32();
    image.imageId = r.u16();
    return image;
}

} // namespace

std::optional<ImageGroup> ReadImageGroup(const uint8_t* data, size_t size) {
    ByteReader r(data, size);
    uint16_t reserved = r.u16();
    uint16_t type = r.u16();
    uint16_t count = r.u16();
    if (!r.ok() || reserved != 0 || (type != kDirectoryIcon && type != kDirectoryCursor))
        return std::nullopt;
    ImageGroup group;
    group.kind = type == kDirectoryIcon ? GroupKind::Icon : GroupKind::Cursor;
    for (uint16_t i = 0; i < count && r.ok(); ++i)
        group.images.push_back(group.kind == GroupKind::Icon ? ReadIconEntry(r)
                                                             : ReadCursorEntry(r));
    if (!r.ok())
        return std::nullopt;
    return group;
}

std::optional<std::vector<GroupMember>> ResolveImageGroup(const ResourceSet& set, GroupKind kind,
                                                          uint16_t name) {
    bool icon = kind == GroupKind::Icon;
    const ResourceEntry* groupEntry = set.Find(icon ? kTypeGroupIcon : kTypeGroupCursor, name);
    if (!groupEntry)
        return std::nullopt;
    auto group = ReadImageGroup(groupEntry->data.data(), groupEntry->data.size());
    if (!group || group->kind != kind)
        return std::nullopt;
    std::vector<GroupMember> members;
    for (const GroupImage& image : group->images) {
        GroupMember member;
        member.entry = image;
        member.resource =
            set.Find(icon ? kTypeIcon : kTypeCursor, image.imageId, groupEntry->language);
        if (member.resource) {
            ByteReader r(member.resource->data.data(), member.resource->data.size());
            if (!icon) {
                member.hotspotX = r.u16();
                member.hotspotY = r.u16();
            }
            if (r.ok())
                member.info = ReadIconImageInfo(r.current(), r.remaining());
        }
        members.push_back(std::move(member));
    }
    return members;
}

} // namespace resources
