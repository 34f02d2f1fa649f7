#include "resources/VersionBlock.h"

#include "resources/ByteReader.h"
#include "resources/Codepage.h"

#include <algorithm>

namespace resources {

namespace {

constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr size_t kFixedInfoSize = 52;

size_t AlignUp4(size_t offset) {
    return (offset + 3) & ~size_t(3);
}

// The two layouts of a node. A Win32 block (wide): wLength, wValueLength, wType, a UTF-16 key. A
// block of a 16-bit module (narrow): wLength, wValueLength, an 8-bit key, and no wType; its values
// are binary or 8-bit text, and wValueLength counts their bytes. In both, the value and every child
// start on a 4-byte boundary counted from the block's start.
enum class Layout { Wide, Narrow };

// The version API tells them apart by the byte behind the two lengths: in a narrow block it is the
// first character of the key "VS_VERSION_INFO", in a wide one the low byte of wType, 0 or 1.
Layout LayoutOf(const uint8_t* block, size_t size) {
    return size > 4 && block[4] >= 0x20 ? Layout::Narrow : Layout::Wide;
}

size_t HeaderSize(Layout layout) {
    return layout == Layout::Wide ? 6 : 4;
}

struct Head {
    uint16_t length = 0;
    uint16_t valueLength = 0;
    uint16_t type = 0; // a narrow node has none
};

// The lengths (and type) at `offset`, inside the first `limit` bytes; a node shorter than its
// header is refused, since a walk over it would never move on.
std::optional<Head> ReadHead(const uint8_t* block, size_t limit, size_t offset, Layout layout) {
    ByteReader r(block, limit);
    r.seek(offset);
    Head head;
    head.length = r.u16();
    head.valueLength = r.u16();
    if (layout == Layout::Wide)
        head.type = r.u16();
    if (!r.ok() || head.length < HeaderSize(layout))
        return std::nullopt;
    return head;
}

// The key behind the header of the node at `offset`. It has to end before `end`, the node's own
// end, so the scan for its terminator never runs past the node; `keyEnd` is set behind it.
std::optional<std::u16string> ReadKey(const uint8_t* block, size_t end, size_t offset,
                                      Layout layout, size_t& keyEnd) {
    ByteReader r(block, end);
    r.seek(offset + HeaderSize(layout));
    std::u16string key = layout == Layout::Wide ? r.utf16z() : Cp1252ToUtf16(r.ansiz());
    if (!r.ok())
        return std::nullopt;
    keyEnd = r.offset();
    return key;
}

// How many bytes the value takes: a wide text counts characters of two bytes.
size_t ValueBytes(const Head& head, Layout layout) {
    bool wideText = layout == Layout::Wide && head.type == 1;
    return wideText ? size_t(head.valueLength) * 2 : head.valueLength;
}

// One node of the tree: the header, a zero-terminated key, padding to a 4-byte boundary, the
// value, padding, then the children up to wLength.
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
std::optional<Node> ReadNode(const uint8_t* block, size_t limit, size_t offset, Layout layout,
                             bool isRoot) {
    std::optional<Head> head = ReadHead(block, limit, offset, layout);
    if (!head || offset + head->length > limit + 3)
        return std::nullopt;
    Node node;
    node.end = std::min(limit, offset + head->length);
    node.next = AlignUp4(offset + head->length);
    size_t keyEnd = 0;
    std::optional<std::u16string> key = ReadKey(block, node.end, offset, layout, keyEnd);
    if (!key)
        return std::nullopt;
    node.key = std::move(*key);

    // A node without a value may end right after its key, before the padding.
    size_t valueStart = std::min(AlignUp4(keyEnd), node.end);
    size_t valueBytes = ValueBytes(*head, layout);
    // Some writers mark the root as text although its value is the binary fixed part.
    if (isRoot && head->valueLength == kFixedInfoSize && node.end - valueStart >= 4) {
        ByteReader sig(block + valueStart, 4);
        if (sig.u32() == kFixedInfoSignature)
            valueBytes = kFixedInfoSize;
    }
    node.value.data = block + valueStart;
    node.value.bytes = std::min(valueBytes, node.end - valueStart);
    node.value.reportedLength = head->valueLength;
    node.value.isText = layout == Layout::Wide && head->type == 1;
    node.value.isNarrow = layout == Layout::Narrow;
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

std::optional<Node> FindChild(const uint8_t* block, const Node& parent, const std::u16string& key,
                              Layout layout) {
    size_t offset = parent.childrenStart;
    while (offset + HeaderSize(layout) <= parent.end) {
        std::optional<Node> child = ReadNode(block, parent.end, offset, layout, false);
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
bool NodeIsWellFormed(const uint8_t* block, size_t size, size_t limit, size_t offset, Layout layout,
                      int depth) {
    std::optional<Head> head = ReadHead(block, limit, offset, layout);
    if (!head || depth > kMaxDepth || head->length > limit - offset)
        return false;
    const size_t end = offset + head->length;
    size_t keyEnd = 0;
    if (!ReadKey(block, end, offset, layout, keyEnd))
        return false;
    const size_t valueStart = AlignUp4(keyEnd);
    const bool wideText = layout == Layout::Wide && head->type == 1;
    size_t valueBytes = ValueBytes(*head, layout);
    if (head->valueLength > 0) {
        if (valueStart > end)
            return false;
        ByteReader value(block, wideText || layout == Layout::Narrow ? size : end);
        value.seek(valueStart);
        if (wideText) {
            // VerQueryValueA converts a text up to its terminator, whatever its length says; some
            // writers leave the terminator out of the node, but it has to come inside the block.
            value.utf16z();
            if (!value.ok())
                return false;
        } else if (!value.skip(valueBytes)) {
            // A narrow block does not say which values are texts: VerQueryValueA hands out each
            // in place with its length as stored, and that many bytes have to be in the block.
            return false;
        }
    }
    // Some writers mark the root as text although its value is the binary fixed part.
    if (depth == 0 && wideText && head->valueLength == kFixedInfoSize)
        valueBytes = kFixedInfoSize;
    size_t child = AlignUp4(valueStart + valueBytes);
    while (child < end) {
        // A last child may run into the padding that its parent leaves out of its length. A
        // child shorter than its header (0 above all) would stop a walk or never let it go on.
        if (!NodeIsWellFormed(block, size, std::min(AlignUp4(end), limit), child, layout,
                              depth + 1))
            return false;
        ByteReader next(block, limit);
        next.seek(child);
        child = AlignUp4(child + next.u16());
    }
    return true;
}

} // namespace

bool IsSixteenBitVersionBlock(const uint8_t* block, size_t size) {
    return block && LayoutOf(block, size) == Layout::Narrow;
}

bool IsWellFormedVersionBlock(const uint8_t* block, size_t size) {
    return block && NodeIsWellFormed(block, size, size, 0, LayoutOf(block, size), 0);
}

std::optional<VersionValue> FindVersionValue(const uint8_t* block, size_t size,
                                             const std::string& path) {
    if (!block)
        return std::nullopt;
    const Layout layout = LayoutOf(block, size);
    std::optional<Node> node = ReadNode(block, size, 0, layout, true);
    for (const std::string& part : SplitPath(path)) {
        if (!node)
            break;
        node = FindChild(block, *node, Cp1252ToUtf16(part), layout);
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
    if (value->isNarrow) {
        // 8-bit already, in the module's code page: VerQueryValueA hands it out unconverted.
        ByteReader r(value->data, value->bytes);
        return r.ansiz();
    }
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
