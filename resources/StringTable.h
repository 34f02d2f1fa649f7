// Strings of a module's string table, read by number from its compiled resources.
//
// A string table is stored in blocks of sixteen: string n lives in block n / 16 + 1 at position
// n % 16, each entry a 16-bit character count followed by that many UTF-16 characters.
#pragma once

#include "resources/ResourceSet.h"

#include <cstdint>
#include <optional>
#include <string>

namespace resources {

// String `id` as stored; nothing when its block is missing or malformed or the entry is empty.
// With a language given, only that language's block is consulted.
std::optional<std::u16string> LoadStringUtf16(const ResourceSet& set, uint32_t id,
                                              std::optional<uint16_t> language = std::nullopt);

// The same string as 8-bit ANSI text (code page 1252).
std::optional<std::string> LoadStringCp1252(const ResourceSet& set, uint32_t id,
                                            std::optional<uint16_t> language = std::nullopt);

// Reads entry `index` (0..15) of one block's data; nothing when the block is malformed before or at
// that entry. An empty entry gives an empty string.
std::optional<std::u16string> StringFromBlock(const uint8_t* data, size_t size, unsigned index);

} // namespace resources
