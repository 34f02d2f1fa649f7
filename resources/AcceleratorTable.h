// Accelerator tables (resource type 9): the shortcut keys of a window and their commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace resources {

// Entry flags as stored in an accelerator table.
enum : uint16_t {
    kAccelVirtKey = 0x01,
    kAccelNoInvert = 0x02,
    kAccelShift = 0x04,
    kAccelControl = 0x08,
    kAccelAlt = 0x10,
    kAccelLast = 0x80,
};

struct Accelerator {
    uint16_t flags = 0; // the stored flags without kAccelLast
    uint16_t key = 0;   // a virtual-key code with kAccelVirtKey, else a character
    uint16_t command = 0;

    bool operator==(const Accelerator& other) const {
        return flags == other.flags && key == other.key && command == other.command;
    }
};

// The entries of a table, in stored order. Nothing when the data ends before the entry that is
// flagged as the last one.
std::optional<std::vector<Accelerator>> ParseAcceleratorTable(const uint8_t* data, size_t size);

} // namespace resources
