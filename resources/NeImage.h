// The version resource of a 16-bit Windows module (the NE format of Windows 3.x programs, DLLs and
// drivers), found as the system's version API finds it: through the module's resource table, the
// resource of type RT_VERSION with the number 1. The block comes back as stored, in the 16-bit
// layout that VersionBlock.h reads (8-bit keys and texts, no wType).
//
// A file that is not an NE module, or whose header or resource table is truncated or points
// outside the file, gives nothing; so does a module without a version resource. From a path only
// the two headers, the resource table and the block itself are read.
#pragma once

#include "resources/ImageSource.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources {

std::optional<std::vector<uint8_t>> ReadNeVersionResource(const uint8_t* data, size_t size);
std::optional<std::vector<uint8_t>> ReadNeVersionResource(const std::string& path);
std::optional<std::vector<uint8_t>> ReadNeVersionResource(ImageSource& source);

} // namespace resources
