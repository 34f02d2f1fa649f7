// The resources of a PE image (PE32 and PE32+): the resource directory's (type, name, language)
// tree flattened into a ResourceSet.
//
// A file that is not a PE image, or whose headers or resource directory are truncated, point
// outside the file, or loop, reads as nothing. From a path only the headers and the resource
// section are read, so a large program costs no more than a small one.
#pragma once

#include "resources/ImageSource.h"
#include "resources/ResourceSet.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace resources {

// An image without a resource directory gives an empty set; a malformed one gives nothing.
std::optional<ResourceSet> ReadPeResources(const uint8_t* data, size_t size);
std::optional<ResourceSet> ReadPeResources(const std::string& path);
std::optional<ResourceSet> ReadPeResources(ImageSource& source);

// The version resource (type 16, name 1) of a set, picked among its languages as the loader of a
// German system does: language-neutral, German (Germany), German without region, US English,
// then the first one stored.
const ResourceEntry* FindVersionResource(const ResourceSet& set);

} // namespace resources
