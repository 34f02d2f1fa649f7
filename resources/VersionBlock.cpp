#include "resources/VersionBlock.h"

#include "resources/ByteReader.h"
#include "resources/Codepage.h"

#include <algorithm>

namespace resources {

namespace {

constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr size_t kFixedInfoSize = 52;
constexpr size_t kNodeHeaderSize = 6;

size_t AlignUp4(size_t offset) {
    return (offset + 3) & ~size_t(3);
}

// One node of the tree: wLength, wValueLength, wType, a zero-terminated key, padding to a 4-byte
// boundary, the value, padding, then the children up to wLength.
struct Node {
    size_t end = 0;
    size_t next = 0; // where a sibling would start
    std::u16string key;
    VersionValue value;
    size_t childrenStart = 0;
};

// Parses the node at `offset`; it may not reach beyond `limit` (its parent's end) by more than the
// padding to the next 4-byte boundary, which some writers count in the last child and not in the
// parent. A node claiming more is damaged, and so is everything that would be read through it.
std::optional<Node> ReadNode(const uint8_t* block, size_t limit, size_t offset, bool isRoot) {
    ByteReader r(block, limit);
    r.seek(offset);
    uint16_t length = r.u16();
    uint16_t valueLength = r.u16();
    uint16_t type = r.u16();
    if (!r.ok() || length < kNodeHeaderSize || offset + length > limit + 3)
        return std::nullopt;
    Node node;
    node.end = std::min(limit, offset + length);
    node.next = AlignUp4(offset + length);
    // The key ends inside its own node, so the scan for its terminator never runs past it.
    ByteReader key(block, node.end);
    key.seek(offset + kNodeHeaderSize);
    node.key = key.utf16z();
    if (!key.ok())
        return std::nullopt;

    // A node without a value may end right after its key, before the padding.
    size_t valueStart = std::min(AlignUp4(key.offset()), node.end);
    size_t valueBytes = type == 1 ? size_t(valueLength) * 2 : valueLength;
    // Some writers mark the root as text although its value is the binary fixed part.
    if (isRoot && valueLength == kFixedInfoSize && node.end - valueStart >= 4) {
        ByteReader sig(block + valueStart, 4);
        if (sig.u32() == kFixedInfoSignature)
            valueBytes = kFixedInfoSize;
    }
    node.value.data = block + valueStart;
    node.value.bytes = std::min(valueBytes, node.end - valueStart);
    node.value.reportedLength = valueLength;
    node.value.isText = type == 1;
    node.childrenStart = AlignUp4(valueStart + valueBytes);
    return node;
}

bool SameKey(const std::u16string& a, const std::u16string& b) {
    auto fold = [](char16_t c) -> char16_t {
        bool upper = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        return upper ? char16_t(c + 0x20) : c;
    };
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

std::optional<Node> FindChild(const uint8_t* block, const Node& parent, const std::u16string& key) {
    size_t offset = parent.childrenStart;
    while (offset + kNodeHeaderSize <= parent.end) {
        std::optional<Node> child = ReadNode(block, parent.end, offset, false);
        if (!child)
            return std::nullopt;
        if (SameKey(child->key, key))
            return child;
        // A node shorter than its header was refused above, so this always moves forward.
        offset = child->next;
    }
    return std::nullopt;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path + '\\') {
        if (c != '\\') {
            part += c;
        } else if (!part.empty()) {
            parts.push_back(part);
            part.clear();
        }
    }
    return parts;
}

// The deepest real block is four levels (root, StringFileInfo, table, string); a few more are
// allowed, recursion beyond them is refused.
constexpr int kMaxDepth = 8;

// Checks the node at `offset`, which has to end by `limit`, and its children: the walk the
// system's reader makes, with every length it trusts held against the bytes that are there.
bool NodeIsWellFormed(const uint8_t* block, size_t size, size_t limit, size_t offset, int depth) {
    ByteReader r(block, limit);
    r.seek(offset);
    uint16_t length = r.u16();
    uint16_t valueLength = r.u16();
    uint16_t type = r.u16();
    if (!r.ok() || depth > kMaxDepth || length < kNodeHeaderSize || length > limit - offset)
        return false;
    const size_t end = offset + length;
    ByteReader key(block, end);
    key.seek(offset + kNodeHeaderSize);
    key.utf16z();
    if (!key.ok())
        return false;
    const size_t valueStart = AlignUp4(key.offset());
    size_t valueBytes = type == 1 ? size_t(valueLength) * 2 : valueLength;
    if (valueLength > 0) {
        if (valueStart > end)
            return false;
        ByteReader value(block, type == 1 ? size : end);
        value.seek(valueStart);
        if (type == 1) {
            // VerQueryValueA converts a text up to its terminator, whatever its length says; some
            // writers leave the terminator out of the node, but it has to come inside the block.
            value.utf16z();
            if (!value.ok())
                return false;
        } else if (!value.skip(valueBytes)) {
            return false;
        }
    }
    // Some writers mark the root as text although its value is the binary fixed part.
    if (depth == 0 && type == 1 && valueLength == kFixedInfoSize)
        valueBytes = kFixedInfoSize;
    size_t child = AlignUp4(valueStart + valueBytes);
    while (child < end) {
        // A last child may run into the padding that its parent leaves out of its length. A
        // child shorter than its header (0 above all) would stop a walk or never let it go on.
        if (!NodeIsWellFormed(block, size, std::min(AlignUp4(end), limit), child, depth + 1))
            return false;
        ByteReader next(block, limit);
        next.seek(child);
        child = AlignUp4(child + next.u16());
    }
    return true;
}

} // namespace

bool IsWellFormedVersionBlock(const uint8_t* block, size_t size) {
    return block && NodeIsWellFormed(block, size, size, 0, 0);
}

std::optional<VersionValue> FindVersionValue(const uint8_t* block, size_t size,
                                             const std::string& path) {
    if (!block)
        return std::nullopt;
    std::optional<Node> node = ReadNode(block, size, 0, true);
    for (const std::string& part : SplitPath(path)) {
        if (!node)
            break;
        node = FindChild(block, *node, Cp1252ToUtf16(part));
    }
    if (!node)
        return std::nullopt;
    return node->value;
}

std::optional<FixedFileInfo> ReadFixedFileInfo(const uint8_t* block, size_t size) {
    std::optional<VersionValue> value = FindVersionValue(block, size, "\\");
    if (!value || value->bytes < kFixedInfoSize)
        return std::nullopt;
    ByteReader r(value->data, value->bytes);
    if (r.u32() != kFixedInfoSignature)
        return std::nullopt;
    FixedFileInfo info;
    for (uint32_t* field :
         {&info.structVersion, &info.fileVersionMs, &info.fileVersionLs, &info.productVersionMs,
          &info.productVersionLs, &info.flagsMask, &info.flags, &info.os, &info.fileType,
          &info.fileSubtype, &info.dateMs, &info.dateLs})
        *field = r.u32();
    return info;
}

std::vector<Translation> ReadTranslations(const uint8_t* block, size_t size) {
    std::vector<Translation> pairs;
    std::optional<VersionValue> value = FindVersionValue(block, size, "\\VarFileInfo\\Translation");
    if (!value)
        return pairs;
    ByteReader r(value->data, value->bytes);
    while (r.remaining() >= 4) {
        Translation t;
        t.language = r.u16();
        t.codePage = r.u16();
        pairs.push_back(t);
    }
    return pairs;
}

std::optional<std::string> ReadVersionString(const uint8_t* block, size_t size,
                                             const std::string& path) {
    std::optional<VersionValue> value = FindVersionValue(block, size, path);
    if (!value || value->reportedLength == 0)
        return std::nullopt;
    // Writers disagree on whether the length counts characters or bytes, with or without the
    // terminator: the text runs to its terminator or the end of its node, whichever comes first.
    ByteReader r(value->data, value->bytes);
    std::u16string text;
    while (r.remaining() >= 2) {
        char16_t c = r.u16();
        if (c == 0)
            break;
        text.push_back(c);
    }
    return Utf16ToCp1252(text);
}

} // namespace resources
