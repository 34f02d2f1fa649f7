#include "tests/vasquill/vasquill_conformance_library.h"

#include "resources/ByteReader.h"
#include "resources/Codepage.h"
#include "resources/PeImage.h"

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

} // namespace vasquill_test
