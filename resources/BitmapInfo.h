// The header of a device-independent bitmap: what an RT_BITMAP resource holds, and what every
// image of an RT_ICON or RT_CURSOR resource starts with.
//
// A header is accepted only when the palette and the pixels it announces lie inside the data, so
// a caller may trust the sizes it reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace resources {

enum : uint32_t {
    kBiRgb = 0,
    kBiRle8 = 1,
    kBiRle4 = 2,
    kBiBitfields = 3,
    kBiPng = 5, // also what an icon image stored as PNG is reported as
};

struct BitmapInfo {
    uint32_t headerSize = 0; // 12 (core header), 40 or larger; 0 for a PNG image
    int32_t width = 0;
    int32_t height = 0; // of the picture: positive, also for top-down bitmaps and icon masks
    bool topDown = false;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = kBiRgb;
    uint32_t imageSize = 0;      // as stored; 0 is allowed for uncompressed bitmaps
    uint32_t coloursUsed = 0;    // as stored; 0 means "all that the bit count allows"
    uint32_t paletteEntries = 0; // the colour table that follows the header
    size_t pixelOffset = 0;      // of the colour bits, from the start of the data
};

// The packed bitmap of an RT_BITMAP resource: header, colour table, pixels.
std::optional<BitmapInfo> ReadBitmapInfo(const uint8_t* data, size_t size);

// One image of an icon (RT_ICON) or, after its hotspot, of a cursor (RT_CURSOR): a bitmap whose
// stored height counts the colour bits and the transparency mask, which must both be there; the
// height reported is the picture's. An image stored as PNG reports its IHDR size and depth.
std::optional<BitmapInfo> ReadIconImageInfo(const uint8_t* data, size_t size);

// Bytes of one row of pixels: rows are padded to four bytes.
uint64_t DibStride(uint32_t width, uint16_t bitCount);

} // namespace resources
