// Queries of a version block, with the path rules of VerQueryValue. A block comes in one of two
// layouts, told apart by its first node as the version API tells them: the 32-bit VS_VERSIONINFO
// of Win32 modules (UTF-16 keys and texts, a wType in every node), and the block of 16-bit modules
// (8-bit keys and texts, no wType; see NeImage.h). Paths:
//   "\"                                  the fixed part (VS_FIXEDFILEINFO)
//   "\VarFileInfo\Translation"          the language and code-page pairs
//   "\StringFileInfo\040704b0\FileVersion"   one string value
// Every component of a path matches a child's key without regard to case; empty components (the
// leading "\", doubled separators) are skipped. Every read is bounded by the block and by the
// lengths its nodes claim, so a lying block answers "not there".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources {

// The value of the node that a query path names.
struct VersionValue {
    const uint8_t* data = nullptr; // inside the block
    size_t bytes = 0;              // how many bytes of the value lie inside its node
    uint16_t reportedLength = 0;   // the node's wValueLength as stored
    bool isText = false;           // the node's wType (a narrow node has none)
    bool isNarrow = false;         // in a 16-bit block: a text is 8-bit, its length in bytes
};

struct FixedFileInfo {
    uint32_t structVersion = 0;
    uint32_t fileVersionMs = 0;
    uint32_t fileVersionLs = 0;
    uint32_t productVersionMs = 0;
    uint32_t productVersionLs = 0;
    uint32_t flagsMask = 0;
    uint32_t flags = 0;
    uint32_t os = 0;
    uint32_t fileType = 0;
    uint32_t fileSubtype = 0;
    uint32_t dateMs = 0;
    uint32_t dateLs = 0;
};

struct Translation {
    uint16_t language = 0;
    uint16_t codePage = 0;
};

// The node a path names (8-bit ANSI path, as VerQueryValueA takes it); nothing when a component
// is not found or the block is malformed on the way to it.
std::optional<VersionValue> FindVersionValue(const uint8_t* block, size_t size,
                                             const std::string& path);

// "\": the fixed part, when it is there with its signature 0xFEEF04BD.
std::optional<FixedFileInfo> ReadFixedFileInfo(const uint8_t* block, size_t size);

// "\VarFileInfo\Translation": every pair in stored order; empty when there is no list.
std::vector<Translation> ReadTranslations(const uint8_t* block, size_t size);

// A string value as CP1252 text, up to its terminator; the 8-bit text of a 16-bit block as stored.
// Nothing when the value is not there or its reported length is 0.
std::optional<std::string> ReadVersionString(const uint8_t* block, size_t size,
                                             const std::string& path);

// Whether the block is in the layout of 16-bit modules, as the version API decides it.
bool IsSixteenBitVersionBlock(const uint8_t* block, size_t size);

// Whether the whole tree keeps to the lengths it states: every node at least its header long and
// inside its parent, every key and every text value terminated inside its node, every binary
// value inside its node. The system's version API walks a block trusting these lengths, so only a
// block that passes is handed to it.
bool IsWellFormedVersionBlock(const uint8_t* block, size_t size);

} // namespace resources
