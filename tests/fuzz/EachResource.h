// Shared by the fuzz targets of the single-resource readers: an input is read by the reader as it
// stands, and, when it happens to be a compiled .res file (the seeds are), each of its resources of
// the reader's type is read as well, so the fuzzer starts from real templates and tables.
#pragma once

#include "resources/ResourceSet.h"

#include <cstddef>
#include <cstdint>

namespace fuzz {

template <typename Read>
void ForInputAndEachResource(const uint8_t* data, size_t size, uint16_t type, Read read) {
    read(data, size);
    if (std::optional<resources::ResourceSet> set = resources::ReadResFile(data, size))
        for (const resources::ResourceEntry* e : set->OfType(type))
            read(e->data.data(), e->data.size());
}

} // namespace fuzz
