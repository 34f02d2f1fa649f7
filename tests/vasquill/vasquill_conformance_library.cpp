#include "tests/vasquill/vasquill_conformance_library.h"

#include "resources/ByteReader.h"
#include "resources/Codepage.h"
#include "resources/DialogTemplate.h"
#include "resources/IconGroup.h"
#include "resources/PeImage.h"
#include "resources/StringTable.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace vasquill_test {

using resources::ByteReader;

namespace {

// The export directory entry of a PE image's optional header.
struct ExportDirectory {
    uint32_t rva = 0, size = 0;
};

std::optional<ExportDirectory> ReadExportDirectory(const std::vector<uint8_t>& file) {
    ByteReader in(file.data(), file.size());
    if (in.u16() != 0x5A4D || !in.seek(0x3C) || !in.seek(in.u32()) || in.u32() != 0x00004550)
        return std::nullopt;
    in.skip(20); // file header
    size_t optionalStart = in.offset();
    uint16_t magic = in.u16();
    if (!in.ok() || (magic != 0x10B && magic != 0x20B))
        return std::nullopt;
    // The directory count comes just before the directories, whose first entry is the exports.
    in.seek(optionalStart + (magic == 0x20B ? 108 : 92));
    ExportDirectory exports;
    if (in.u32() > 0) {
        exports.rva = in.u32();
        exports.size = in.u32();
    }
    if (!in.ok())
        return std::nullopt;
    return exports;
}

std::string TextOf(const resources::NameOrOrdinal& field) {
    if (!field.present)
        return std::string();
    return field.isOrdinal ? "#" + std::to_string(field.ordinal) : Narrow(field.text);
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
    std::ifstream in(path, std::ios::binary);
    lib.given = in.good();
    lib.path = path;
    if (!lib.given)
        return lib;
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    lib.fileSize = file.size();
    auto exports = ReadExportDirectory(file);
    if (!exports)
        return lib;
    lib.hasExportDirectory = exports->rva != 0 || exports->size != 0;
    lib.resources = resources::ReadPeResources(file.data(), file.size());
    return lib;
}

std::optional<Dialog> ReadDialog(const std::vector<uint8_t>& data) {
    auto parsed = resources::ParseDialogTemplate(data.data(), data.size());
    if (!parsed)
        return std::nullopt;
    Dialog d;
    d.extended = parsed->extended;
    d.style = parsed->style;
    d.exStyle = parsed->exStyle;
    d.x = parsed->x;
    d.y = parsed->y;
    d.cx = parsed->cx;
    d.cy = parsed->cy;
    d.caption = Narrow(parsed->caption);
    d.pointSize = parsed->pointSize;
    d.weight = parsed->weight;
    d.italic = parsed->italic;
    d.charset = parsed->charset;
    d.face = Narrow(parsed->face);
    for (const resources::DialogControl& control : parsed->controls) {
        Control c;
        c.id = control.controlId();
        c.cls = Narrow(control.className);
        c.text = TextOf(control.text);
        c.x = control.x;
        c.y = control.y;
        c.cx = control.cx;
        c.cy = control.cy;
        c.style = control.style;
        c.exStyle = control.exStyle;
        d.controls.push_back(c);
    }
    return d;
}

std::map<int, std::string> ReadStrings(const resources::ResourceSet& set) {
    std::map<int, std::string> strings;
    for (const resources::ResourceEntry* block : set.OfType(resources::kTypeString)) {
        int first = (block->name.number - 1) * 16;
        for (unsigned i = 0; i < 16; ++i) {
            auto text = resources::StringFromBlock(block->data.data(), block->data.size(), i);
            if (text && !text->empty())
                strings[first + static_cast<int>(i)] = Narrow(*text);
        }
    }
    return strings;
}

std::optional<BitmapSize> ReadBitmapSize(const std::vector<uint8_t>& data) {
    auto info = resources::ReadBitmapInfo(data.data(), data.size());
    if (!info)
        return std::nullopt;
    return BitmapSize{info->width, info->height, info->bitCount};
}

std::optional<std::vector<int>> ReadCursorGroup(const resources::ResourceSet& set, uint16_t name) {
    auto members = resources::ResolveImageGroup(set, resources::GroupKind::Cursor, name);
    if (!members)
        return std::nullopt;
    std::vector<int> images;
    for (const resources::GroupMember& member : *members) {
        // A member whose image is missing or does not read as a cursor image fails the group.
        if (!member.resource || !member.info)
            return std::nullopt;
        images.push_back(member.entry.imageId);
    }
    return images;
}

} // namespace vasquill_test
