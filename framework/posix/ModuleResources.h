// The compiled resources of the running POSIX program (its .res image, linked into the binary),
// the stand-in for the resource section of a Windows module.
#pragma once

#include "resources/ResourceSet.h"

// Called once, before main(), by the generated code that embeds the program's .res image.
void RegisterModuleResources(const unsigned char* data, unsigned long size);

namespace framework_posix {

// The module's resources; an empty set when none were registered or the image is malformed.
const resources::ResourceSet& ModuleResources();

} // namespace framework_posix
