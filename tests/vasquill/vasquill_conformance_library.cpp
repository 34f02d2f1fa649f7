#include "tests/vasquill/vasquill_conformance_library.h"

#include "resources/ByteReader.h"
#include "resources/Codepage.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace vasquill_test {

using resources::ByteReader;

namespace {

struct Section {
    uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

struct PeLayout {
    std::vector<Section> sections;
    uint32_t exportRva = 0, exportSize = 0;
    uint32_t resourceRva = 0, resourceSize = 0;
};

std::optional<PeLayout> ReadPeLayout(const std::vector<uint8_t>& file) {
    ByteReader in(file.data(), file.size());
    if (in.u16() != 0x5A4D || !in.seek(0x3C) || !in.seek(in.u32()) || in.u32() != 0x00004550)
        return std::nullopt;
    in.skip(2);
    uint16_t sectionCount = in.u16();
    in.skip(12);
    uint16_t optionalSize = in.u16();
    in.skip(2);
    size_t optionalStart = in.offset();
    uint16_t magic = in.u16();
    if (!in.ok() || (magic != 0x10B && magic != 0x20B))
        return std::nullopt;
    PeLayout layout;
    size_t directories = optionalStart + (magic == 0x20B ? 112 : 96);
    in.seek(directories - 4);
    uint32_t directoryCount = in.u32();
    if (directoryCount > 0) {
        layout.exportRva = in.u32();
        layout.exportSize = in.u32();
    }
    if (directoryCount > 2) {
        in.skip(8);
        layout.resourceRva = in.u32();
        layout.resourceSize = in.u32();
    }
    in.seek(optionalStart + optionalSize);
    for (uint16_t i = 0; i < sectionCount; ++i) {
        in.skip(8);
        Section s;
        s.virtualSize = in.u32();
        s.virtualAddress = in.u32();
        s.rawSize = in.u32();
        s.rawOffset = in.u32();
        in.skip(16);
        layout.sections.push_back(s);
    }
    if (!in.ok())
        return std::nullopt;
    return layout;
}

std::optional<size_t> RvaToOffset(const PeLayout& layout, uint32_t rva) {
    for (const Section& s : layout.sections)
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize)
            return s.rawOffset + (rva - s.virtualAddress);
    return std::nullopt;
}

std::optional<resources::ResId> ReadDirectoryName(ByteReader root, uint32_t name) {
    if (!(name & 0x80000000u))
        return resources::ResId::Number(static_cast<uint16_t>(name));
    if (!root.seek(name & 0x7FFFFFFFu))
        return std::nullopt;
    uint16_t length = root.u16();
    std::u16string text;
    for (uint16_t i = 0; i < length; ++i)
        text.push_back(root.u16());
    if (!root.ok())
        return std::nullopt;
    return resources::ResId::Name(text);
}

// The entries of one directory level: (name, offset of the child, child is a directory).
struct DirectoryEntry {
    resources::ResId name;
    uint32_t offset;
    bool isDirectory;
};

std::optional<std::vector<DirectoryEntry>> ReadDirectory(ByteReader root, uint32_t offset) {
    ByteReader in = root;
    if (!in.seek(offset) || !in.skip(12))
        return std::nullopt;
    uint32_t count = uint32_t(in.u16()) + in.u16();
    std::vector<DirectoryEntry> entries;
    for (uint32_t i = 0; i < count && in.ok(); ++i) {
        uint32_t name = in.u32();
        uint32_t child = in.u32();
        auto id = ReadDirectoryName(root, name);
        if (!id)
            return std::nullopt;
        entries.push_back({*id, child & 0x7FFFFFFFu, (child & 0x80000000u) != 0});
    }
    if (!in.ok())
        return std::nullopt;
    return entries;
}

std::optional<resources::ResourceSet> ReadPeResources(const std::vector<uint8_t>& file,
                                                      const PeLayout& layout) {
    auto start = RvaToOffset(layout, layout.resourceRva);
    if (!start)
        return std::nullopt;
    ByteReader image(file.data(), file.size());
    ByteReader root = image.sub(*start, file.size() - *start);
    resources::ResourceSet set;
    auto types = ReadDirectory(root, 0);
    if (!types)
        return std::nullopt;
    for (const DirectoryEntry& type : *types) {
        auto names = type.isDirectory ? ReadDirectory(root, type.offset) : std::nullopt;
        if (!names)
            return std::nullopt;
        for (const DirectoryEntry& name : *names) {
            auto languages = name.isDirectory ? ReadDirectory(root, name.offset) : std::nullopt;
            if (!languages)
                return std::nullopt;
            for (const DirectoryEntry& language : *languages) {
                ByteReader leaf = root;
                if (language.isDirectory || !leaf.seek(language.offset))
                    return std::nullopt;
                uint32_t rva = leaf.u32();
                uint32_t size = leaf.u32();
                auto offset = RvaToOffset(layout, rva);
                const uint8_t* bytes = offset && image.seek(*offset) ? image.bytes(size) : nullptr;
                if (!leaf.ok() || !bytes)
                    return std::nullopt;
                set.entries.push_back({type.name, name.name, language.name.number,
                                       std::vector<uint8_t>(bytes, bytes + size)});
            }
        }
    }
    return set;
}

// The predefined window classes that templates store as atoms.
std::string ClassAtomName(uint16_t atom) {
    switch (atom) {
    case 0x80:
        return "Button";
    case 0x81:
        return "Edit";
    case 0x82:
        return "Static";
    case 0x83:
        return "ListBox";
    case 0x84:
        return "ScrollBar";
    case 0x85:
        return "ComboBox";
    default:
        return "#" + std::to_string(atom);
    }
}

// A name-or-ordinal field of a dialog template.
std::string ReadSzOrOrd(ByteReader& in, bool isClass) {
    uint16_t first = in.u16();
    if (first == 0xFFFF) {
        uint16_t ordinal = in.u16();
        return isClass ? ClassAtomName(ordinal) : "#" + std::to_string(ordinal);
    }
    if (first == 0)
        return std::string();
    std::u16string text(1, static_cast<char16_t>(first));
    text += in.utf16z();
    return Narrow(text);
}

} // namespace

std::string Narrow(const std::u16string& text) {
    return resources::Utf16ToCp1252(text);
}

Library OpenLibrary(const char* variable) {
    Library lib;
    const char* path = std::getenv(variable);
    if (!path || !*path)
        return lib;
    lib.given = true;
    lib.path = path;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    lib.fileSize = file.size();
    auto layout = ReadPeLayout(file);
    if (!layout)
        return lib;
    lib.hasExportDirectory = layout->exportRva != 0 || layout->exportSize != 0;
    lib.resources = ReadPeResources(file, *layout);
    return lib;
}

std::optional<Dialog> ReadDialog(const std::vector<uint8_t>& data) {
    ByteReader in(data.data(), data.size());
    Dialog d;
    d.extended =
        data.size() >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF;
    if (d.extended) {
        in.skip(8); // version, signature, help id
        d.exStyle = in.u32();
        d.style = in.u32();
    } else {
        d.style = in.u32();
        d.exStyle = in.u32();
    }
    uint16_t count = in.u16();
    d.x = static_cast<int16_t>(in.u16());
    d.y = static_cast<int16_t>(in.u16());
    d.cx = static_cast<int16_t>(in.u16());
    d.cy = static_cast<int16_t>(in.u16());
    ReadSzOrOrd(in, false); // menu
    ReadSzOrOrd(in, true);  // class
    d.caption = Narrow(in.utf16z());
    if (d.style & 0x40) { // DS_SETFONT
        d.pointSize = in.u16();
        if (d.extended) {
            d.weight = in.u16();
            d.italic = in.u8();
            d.charset = in.u8();
        }
        d.face = Narrow(in.utf16z());
    }
    for (uint16_t i = 0; i < count && in.ok(); ++i) {
        in.alignTo(4);
        Control c;
        if (d.extended) {
            in.skip(4); // help id
            c.exStyle = in.u32();
            c.style = in.u32();
        } else {
            c.style = in.u32();
            c.exStyle = in.u32();
        }
        c.x = static_cast<int16_t>(in.u16());
        c.y = static_cast<int16_t>(in.u16());
        c.cx = static_cast<int16_t>(in.u16());
        c.cy = static_cast<int16_t>(in.u16());
        uint32_t id = d.extended ? in.u32() : in.u16();
        c.id = (id == 0xFFFF || id == 0xFFFFFFFFu) ? -1 : static_cast<int>(id);
        c.cls = ReadSzOrOrd(in, true);
        c.text = ReadSzOrOrd(in, false);
        in.skip(in.u16()); // creation data
        d.controls.push_back(c);
    }
    if (!in.ok())
        return std::nullopt;
    return d;
}

std::map<int, std::string> ReadStrings(const resources::ResourceSet& set) {
    std::map<int, std::string> strings;
    for (const resources::ResourceEntry* block : set.OfType(resources::kTypeString)) {
        ByteReader in(block->data.data(), block->data.size());
        int first = (block->name.number - 1) * 16;
        for (int i = 0; i < 16 && in.ok(); ++i) {
            uint16_t length = in.u16();
            std::u16string text;
            for (uint16_t k = 0; k < length; ++k)
                text.push_back(in.u16());
            if (in.ok() && length > 0)
                strings[first + i] = Narrow(text);
        }
    }
    return strings;
}

std::optional<BitmapSize> ReadBitmapSize(const std::vector<uint8_t>& data) {
    ByteReader in(data.data(), data.size());
    uint32_t headerSize = in.u32();
    BitmapSize size;
    size.width = static_cast<int32_t>(in.u32());
    size.height = static_cast<int32_t>(in.u32());
    uint16_t planes = in.u16();
    size.bits = in.u16();
    if (!in.ok() || headerSize != 40 || planes != 1)
        return std::nullopt;
    return size;
}

std::optional<std::vector<int>> ReadCursorGroup(const std::vector<uint8_t>& data) {
    ByteReader in(data.data(), data.size());
    in.skip(2);
    uint16_t type = in.u16();
    uint16_t count = in.u16();
    std::vector<int> members;
    for (uint16_t i = 0; i < count && in.ok(); ++i) {
        in.skip(12);
        members.push_back(in.u16());
    }
    if (!in.ok() || type != 2)
        return std::nullopt;
    return members;
}

namespace {

struct VersionNode {
    std::u16string key;
    uint16_t valueLength = 0;
    uint16_t type = 0;
    ByteReader value;
    ByteReader children;
};

// A node's last padding may be left out where its parent ends.
void AlignWithin(ByteReader& in) {
    if (in.offset() % 4 != 0 && in.remaining() < 4 - in.offset() % 4)
        in.seek(in.size());
    else
        in.alignTo(4);
}

std::optional<VersionNode> ReadVersionNode(ByteReader& in) {
    AlignWithin(in);
    size_t start = in.offset();
    uint16_t length = in.u16();
    VersionNode node;
    node.valueLength = in.u16();
    node.type = in.u16();
    node.key = in.utf16z();
    AlignWithin(in);
    size_t valueBytes = node.type == 1 ? node.valueLength * 2u : node.valueLength;
    node.value = in.sub(in.offset(), valueBytes);
    in.skip(valueBytes);
    size_t end = start + length;
    if (!in.ok() || in.offset() > end || end > in.size())
        return std::nullopt;
    size_t children = std::min(end, (in.offset() + 3) / 4 * 4);
    node.children = in.sub(children, end - children);
    in.seek(start + length);
    return node;
}

std::string FixedVersion(uint32_t high, uint32_t low) {
    return std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF) + "." +
           std::to_string(low >> 16) + "." + std::to_string(low & 0xFFFF);
}

} // namespace

std::optional<Version> ReadVersion(const std::vector<uint8_t>& data) {
    ByteReader in(data.data(), data.size());
    auto root = ReadVersionNode(in);
    if (!root || root->key != u"VS_VERSION_INFO" || root->valueLength != 52)
        return std::nullopt;
    ByteReader fixed = root->value;
    Version v;
    if (fixed.u32() != 0xFEEF04BD)
        return std::nullopt;
    fixed.skip(4);
    uint32_t fileHigh = fixed.u32(), fileLow = fixed.u32();
    uint32_t productHigh = fixed.u32(), productLow = fixed.u32();
    fixed.skip(4); // flags mask
    v.fileFlags = fixed.u32();
    v.fileOs = fixed.u32();
    v.fileType = fixed.u32();
    v.fileSubtype = fixed.u32();
    v.fileVersion = FixedVersion(fileHigh, fileLow);
    v.productVersion = FixedVersion(productHigh, productLow);
    ByteReader children = root->children;
    while (children.remaining() >= 6) {
        auto child = ReadVersionNode(children);
        if (!child)
            return std::nullopt;
        ByteReader inner = child->children;
        while (inner.remaining() >= 6) {
            auto grand = ReadVersionNode(inner);
            if (!grand)
                return std::nullopt;
            if (child->key == u"VarFileInfo" && grand->key == u"Translation") {
                ByteReader value = grand->value;
                v.translation = value.u32();
            }
            if (child->key == u"StringFileInfo" && grand->key == u"040904b0") {
                ByteReader strings = grand->children;
                while (strings.remaining() >= 6) {
                    auto entry = ReadVersionNode(strings);
                    if (!entry)
                        return std::nullopt;
                    ByteReader value = entry->value;
                    std::u16string text = value.utf16z();
                    v.strings[Narrow(entry->key)] = Narrow(text);
                }
            }
        }
    }
    return v;
}

} // namespace vasquill_test
