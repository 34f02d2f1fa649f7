// The few facts of a PE image's headers that the conformance test checks beyond its resources:
// the machine, the subsystem and the DLLs the loader has to find.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace conformance {

struct PeHeaders {
    uint16_t machine = 0;   // 0x014C x86, 0x8664 x64
    bool plus = false;      // PE32+
    uint16_t subsystem = 0; // 2: Windows GUI
    uint16_t dllCharacteristics = 0;
    std::vector<std::string> imports;        // DLL names of the import directory, as stored
    std::vector<std::string> delayedImports; // and of the delay-load directory
};

// Nothing when the image is not a PE file or a directory it names lies outside it.
std::optional<PeHeaders> ReadPeHeaders(const uint8_t* data, size_t size);

} // namespace conformance
