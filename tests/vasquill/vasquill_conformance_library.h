// Reading a built Vasquill.dll for the conformance test: its resources and the few facts of its
// PE headers that the test checks, in the shapes the test compares.
#pragma once

#include "resources/ResourceSet.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vasquill_test {

struct Library {
    bool given = false; // the environment variable names a file that is there
    std::string path;
    size_t fileSize = 0;
    std::optional<resources::ResourceSet> resources; // nothing when the file is not a PE library
    bool hasExportDirectory = false;
};

// The library named by the environment variable `variable`.
Library OpenLibrary(const char* variable);

// UTF-16 text as 8-bit ANSI (code page 1252).
std::string Narrow(const std::u16string& text);

struct Control {
    int id = 0;       // -1 for 0xFFFF
    std::string cls;  // predefined classes by name ("Button", "Edit", ...)
    std::string text; // an ordinal text as "#<number>"
    int x = 0, y = 0, cx = 0, cy = 0;
    uint32_t style = 0;
    uint32_t exStyle = 0;
};

struct Dialog {
    bool extended = false;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    int pointSize = 0;
    int weight = 0;
    int italic = 0;
    int charset = 0;
    std::string face;
    std::vector<Control> controls;
};

std::optional<Dialog> ReadDialog(const std::vector<uint8_t>& data);

// Every string of every string-table block, by number.
std::map<int, std::string> ReadStrings(const resources::ResourceSet& set);

struct BitmapSize {
    int width = 0, height = 0, bits = 0;
};
std::optional<BitmapSize> ReadBitmapSize(const std::vector<uint8_t>& data);

// The cursor numbers that cursor group `name` names; nothing when the group or one of its images
// is missing or malformed.
std::optional<std::vector<int>> ReadCursorGroup(const resources::ResourceSet& set, uint16_t name);

} // namespace vasquill_test
