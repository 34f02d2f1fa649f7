#include "resources/PeImage.h"

#include "resources/ByteReader.h"
#include "resources/ImageSource.h"

#include <algorithm>
#include <vector>

namespace resources {

namespace {

// No real program carries more resources than this; a lying header must not make us allocate more.
constexpr uint64_t kMaxResourceBytes = 256u << 20;
// What the list of resources and their names may take beside the section, in multiples of the
// section's size. A real directory spends far more section bytes per resource (its entries,
// directories and data) than an entry of the list takes; a directory of many empty entries would
// otherwise make a small file take hundreds of megabytes. Small sections get a fixed allowance.
constexpr uint64_t kBookkeepingPerSectionByte = 3;
constexpr uint64_t kBookkeepingAllowance = 1u << 20;

constexpr uint16_t kDosMagic = 0x5A4D;        // "MZ"
constexpr uint32_t kPeSignature = 0x00004550; // "PE\0\0"
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kHighBit = 0x80000000u;

struct Section {
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
};

struct PeLayout {
    std::vector<Section> sections;
    uint32_t resourceRva = 0;
    uint32_t resourceSize = 0;
};

std::optional<PeLayout> ReadLayout(ImageSource& source) {
    uint32_t ntOffset = 0;
    bool dosOk = ReadStructure(source, 0, 64, [&](ByteReader& r) {
        if (r.u16() != kDosMagic)
            r.fail();
        r.seek(0x3C);
        ntOffset = r.u32();
    });
    if (!dosOk)
        return std::nullopt;

    uint16_t sectionCount = 0;
    uint16_t optionalSize = 0;
    bool fileHeaderOk = ReadStructure(source, ntOffset, 24, [&](ByteReader& r) {
        if (r.u32() != kPeSignature)
            r.fail();
        r.u16(); // machine
        sectionCount = r.u16();
        r.skip(12); // time stamp, symbol table, symbol count
        optionalSize = r.u16();
    });
    if (!fileHeaderOk)
        return std::nullopt;

    PeLayout layout;
    uint64_t optionalOffset = uint64_t(ntOffset) + 24;
    bool optionalOk = ReadStructure(source, optionalOffset, optionalSize, [&](ByteReader& r) {
        uint16_t magic = r.u16();
        size_t countOffset = magic == kPe32Magic ? 92 : magic == kPe32PlusMagic ? 108 : 0;
        if (countOffset == 0 || !r.seek(countOffset))
            return void(r.fail());
        uint32_t directoryCount = r.u32();
        // An image may end its directory list before the resources: then it has none.
        if (directoryCount <= kResourceDirectoryIndex)
            return;
        r.skip(8 * kResourceDirectoryIndex);
        layout.resourceRva = r.u32();
        layout.resourceSize = r.u32();
    });
    if (!optionalOk)
        return std::nullopt;

    uint64_t tableOffset = optionalOffset + optionalSize;
    bool tableOk =
        ReadStructure(source, tableOffset, size_t(40) * sectionCount, [&](ByteReader& r) {
            for (uint16_t i = 0; i < sectionCount && r.ok(); ++i) {
                Section s;
                r.skip(12); // name, virtual size
                s.virtualAddress = r.u32();
                s.rawSize = r.u32();
                s.rawOffset = r.u32();
                r.skip(16); // relocations, line numbers, their counts, characteristics
                layout.sections.push_back(s);
            }
        });
    if (!tableOk)
        return std::nullopt;
    return layout;
}

const Section* SectionOf(const PeLayout& layout, uint32_t rva) {
    for (const Section& s : layout.sections)
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize)
            return &s;
    return nullptr;
}

// Walks the three levels of the resource directory (type, name, language) over the bytes of the
// resource section, which start at the directory's root. A directory or data entry reached twice
// means a loop (or sharing no linker writes): the whole directory is then taken for corrupt.
class DirectoryWalker {
public:
    DirectoryWalker(ImageSource& source, const PeLayout& layout, std::vector<uint8_t> section)
        : m_source(source), m_layout(layout), m_section(std::move(section)),
          m_budget(std::min<uint64_t>(source.size(), kMaxResourceBytes)),
          m_bookkeepingBudget(kBookkeepingAllowance +
                              kBookkeepingPerSectionByte * m_section.size()),
          m_visited(m_section.size()) {}

    bool walk(ResourceSet& out) { return readDirectory(0, 0, {}, {}, out); }

private:
    bool readDirectory(uint32_t offset, int level, const ResId& type, const ResId& name,
                       ResourceSet& out) {
        if (!visit(offset))
            return false;
        ByteReader r(m_section.data(), m_section.size());
        r.seek(offset);
        r.skip(12); // characteristics, time stamp, version
        uint32_t count = uint32_t(r.u16()) + r.u16();
        for (uint32_t i = 0; i < count && r.ok(); ++i) {
            uint32_t idField = r.u32();
            uint32_t target = r.u32();
            if (!r.ok())
                break;
            ResId id;
            if (!readId(idField, id))
                return false;
            bool isDirectory = (target & kHighBit) != 0;
            if (isDirectory != (level < 2))
                return false;
            bool ok = level == 0   ? readDirectory(target & ~kHighBit, 1, id, {}, out)
                      : level == 1 ? readDirectory(target & ~kHighBit, 2, type, id, out)
                                   : readData(target, type, name, id, out);
            if (!ok)
                return false;
        }
        return r.ok();
    }

    // Marks a structure's offset as read; false when it was read before.
    bool visit(uint32_t offset) {
        if (offset >= m_visited.size() || m_visited[offset])
            return offset >= m_visited.size(); // outside: the read that follows fails anyway
        m_visited[offset] = true;
        return true;
    }

    // Takes `bytes` of list or name memory from the budget; false when it is spent.
    bool charge(uint64_t bytes) {
        if (bytes > m_bookkeepingBudget)
            return false;
        m_bookkeepingBudget -= bytes;
        return true;
    }

    // A number, or (high bit set) the offset of a counted UTF-16 string. The names of a real
    // directory are stored once each; entries that all point at one long name are a trap.
    bool readId(uint32_t field, ResId& id) {
        if ((field & kHighBit) == 0) {
            id = ResId::Number(static_cast<uint16_t>(field));
            return true;
        }
        ByteReader r(m_section.data(), m_section.size());
        r.seek(field & ~kHighBit);
        uint16_t length = r.u16();
        if (!r.ok() || !charge(uint64_t(length) * 2))
            return false;
        std::u16string text;
        for (uint16_t i = 0; i < length && r.ok(); ++i)
            text.push_back(static_cast<char16_t>(r.u16()));
        id = ResId::Name(std::move(text));
        return r.ok();
    }

    bool readData(uint32_t offset, const ResId& type, const ResId& name, const ResId& language,
                  ResourceSet& out) {
        if (!visit(offset) || !charge(sizeof(ResourceEntry)))
            return false;
        ByteReader r(m_section.data(), m_section.size());
        r.seek(offset);
        uint32_t rva = r.u32();
        uint32_t size = r.u32();
        if (!r.ok() || size > m_budget)
            return false;
        m_budget -= size;
        ResourceEntry entry{type, name, language.number, {}};
        if (!readBytes(rva, size, entry.data))
            return false;
        out.entries.push_back(std::move(entry));
        return true;
    }

    // Resource data normally lies in the resource section; a linker may put it elsewhere.
    bool readBytes(uint32_t rva, uint32_t size, std::vector<uint8_t>& bytes) {
        uint32_t root = m_layout.resourceRva;
        if (rva >= root && rva - root <= m_section.size() &&
            size <= m_section.size() - (rva - root)) {
            const uint8_t* start = m_section.data() + (rva - root);
            bytes.assign(start, start + size);
            return true;
        }
        const Section* s = SectionOf(m_layout, rva);
        uint32_t within = s ? rva - s->virtualAddress : 0;
        return s && size <= s->rawSize - within &&
               m_source.read(uint64_t(s->rawOffset) + within, size, bytes);
    }

    ImageSource& m_source;
    const PeLayout& m_layout;
    std::vector<uint8_t> m_section;
    uint64_t m_budget;            // resource bytes still to be copied
    uint64_t m_bookkeepingBudget; // bytes the list and the names may still take
    std::vector<bool> m_visited;  // one mark per section byte
};

std::optional<ResourceSet> ReadResources(ImageSource& source) {
    std::optional<PeLayout> layout = ReadLayout(source);
    if (!layout)
        return std::nullopt;
    ResourceSet set;
    if (layout->resourceRva == 0)
        return set;
    const Section* s = SectionOf(*layout, layout->resourceRva);
    if (!s)
        return std::nullopt;
    // Only the resource section is read: from the directory's root to the end of its section.
    uint32_t within = layout->resourceRva - s->virtualAddress;
    uint64_t offset = uint64_t(s->rawOffset) + within;
    uint64_t length = std::min<uint64_t>(s->rawSize - within, kMaxResourceBytes);
    if (offset > source.size())
        return std::nullopt;
    length = std::min(length, source.size() - offset);
    std::vector<uint8_t> section;
    if (!source.read(offset, static_cast<size_t>(length), section))
        return std::nullopt;
    DirectoryWalker walker(source, *layout, std::move(section));
    if (!walker.walk(set))
        return std::nullopt;
    return set;
}

} // namespace

std::optional<ResourceSet> ReadPeResources(const uint8_t* data, size_t size) {
    BufferSource source(data, size);
    return ReadResources(source);
}

std::optional<ResourceSet> ReadPeResources(const std::string& path) {
    FileSource source(path);
    if (!source.isOpen())
        return std::nullopt;
    return ReadResources(source);
}

std::optional<ResourceSet> ReadPeResources(ImageSource& source) {
    return ReadResources(source);
}

const ResourceEntry* FindVersionResource(const ResourceSet& set) {
    constexpr uint16_t kVersionName = 1;
    for (uint16_t language : {0x0000, 0x0407, 0x0007, 0x0409})
        if (const ResourceEntry* e = set.Find(kTypeVersion, kVersionName, language))
            return e;
    return set.Find(kTypeVersion, kVersionName);
}

} // namespace resources
