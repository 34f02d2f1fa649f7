#include "resources/BitmapInfo.h"

#include "resources/ByteReader.h"

#include <cstring>

namespace resources {

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
// Beyond this a width or height is a corrupt header, and the size arithmetic stays far from
// overflow.
constexpr int64_t kMaxDimension = 1 << 16;

bool ValidBitCount(uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool ValidCompression(uint32_t compression, uint16_t bits) {
    switch (compression) {
    case kBiRgb:
        return true;
    case kBiRle8:
        return bits == 8;
    case kBiRle4:
        return bits == 4;
    case kBiBitfields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// The header and the colour table; `storedHeight` is the height field as stored (signed). The
// pixel data is not checked here.
std::optional<BitmapInfo> ReadHeaderAndPalette(const uint8_t* data, size_t size,
                                               int64_t& storedHeight) {
    ByteReader r(data, size);
    BitmapInfo info;
    info.headerSize = r.u32();
    int64_t width = 0;
    size_t paletteEntrySize = 4;
    if (info.headerSize == kCoreHeaderSize) {
        width = r.u16();
        storedHeight = r.u16();
        info.planes = r.u16();
        info.bitCount = r.u16();
        paletteEntrySize = 3;
    } else if (info.headerSize >= kInfoHeaderSize) {
        width = static_cast<int32_t>(r.u32());
        storedHeight = static_cast<int32_t>(r.u32());
        info.planes = r.u16();
        info.bitCount = r.u16();
        info.compression = r.u32();
        info.imageSize = r.u32();
        r.skip(8); // resolution
        info.coloursUsed = r.u32();
        r.skip(4); // important colours
    } else {
        return std::nullopt;
    }
    if (!r.ok() || info.headerSize > size)
        return std::nullopt;
    if (width <= 0 || width > kMaxDimension || storedHeight == 0 || storedHeight < -kMaxDimension ||
        storedHeight > 2 * kMaxDimension)
        return std::nullopt;
    if (info.planes != 1 || !ValidBitCount(info.bitCount) ||
        !ValidCompression(info.compression, info.bitCount))
        return std::nullopt;
    info.width = static_cast<int32_t>(width);

    uint64_t maxColours = info.bitCount <= 8 ? (1u << info.bitCount) : 0;
    if (info.bitCount <= 8) {
        if (info.coloursUsed > maxColours)
            return std::nullopt;
        info.paletteEntries =
            info.coloursUsed ? info.coloursUsed : static_cast<uint32_t>(maxColours);
    } else {
        // A table before true-colour pixels only advises the display; it still takes room.
        if (info.coloursUsed > 256)
            return std::nullopt;
        info.paletteEntries = info.coloursUsed;
    }
    // With the 40-byte header the three channel masks of BI_BITFIELDS follow it; larger headers
    // hold them inside.
    uint64_t masks =
        (info.compression == kBiBitfields && info.headerSize == kInfoHeaderSize) ? 12 : 0;
    uint64_t offset =
        uint64_t(info.headerSize) + masks + uint64_t(info.paletteEntries) * paletteEntrySize;
    if (offset > size)
        return std::nullopt;
    info.pixelOffset = static_cast<size_t>(offset);
    return info;
}

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

std::optional<BitmapInfo> ReadPngInfo(const uint8_t* data, size_t size) {
    // Signature, then the IHDR chunk: length 13, "IHDR", width, height, depth, colour type.
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 + 8 + 13 || std::memcmp(data, kSignature, 8) != 0 || BigEndian32(data + 8) != 13 ||
        std::memcmp(data + 12, "IHDR", 4) != 0)
        return std::nullopt;
    uint32_t width = BigEndian32(data + 16);
    uint32_t height = BigEndian32(data + 20);
    uint8_t depth = data[24];
    uint8_t colourType = data[25];
    static const uint8_t kChannels[7] = {1, 0, 3, 1, 2, 0, 4}; // by colour type; 0 = invalid
    if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension ||
        colourType > 6 || kChannels[colourType] == 0)
        return std::nullopt;
    BitmapInfo info;
    info.width = static_cast<int32_t>(width);
    info.height = static_cast<int32_t>(height);
    info.planes = 1;
    info.bitCount = static_cast<uint16_t>(depth * kChannels[colourType]);
    info.compression = kBiPng;
    info.imageSize = static_cast<uint32_t>(size);
    return info;
}

} // namespace

uint64_t DibStride(uint32_t width, uint16_t bitCount) {
    return (uint64_t(width) * bitCount + 31) / 32 * 4;
}

std::optional<BitmapInfo> ReadBitmapInfo(const uint8_t* data, size_t size) {
    int64_t storedHeight = 0;
    auto info = ReadHeaderAndPalette(data, size, storedHeight);
    if (!info || storedHeight > kMaxDimension)
        return std::nullopt;
    info->topDown = storedHeight < 0;
    info->height = static_cast<int32_t>(storedHeight < 0 ? -storedHeight : storedHeight);
    uint64_t pixels = 0;
    if (info->compression == kBiRle4 || info->compression == kBiRle8) {
        // Run-length data has no size of its own but the one the header gives; a top-down
        // bitmap cannot be compressed.
        if (info->topDown || info->imageSize == 0)
            return std::nullopt;
        pixels = info->imageSize;
    } else {
        pixels =
            DibStride(static_cast<uint32_t>(info->width), info->bitCount) * uint64_t(info->height);
    }
    if (pixels > size - info->pixelOffset)
        return std::nullopt;
    return info;
}

std::optional<BitmapInfo> ReadIconImageInfo(const uint8_t* data, size_t size) {
    if (size >= 8 && data[0] == 0x89)
        return ReadPngInfo(data, size);
    int64_t storedHeight = 0;
    auto info = ReadHeaderAndPalette(data, size, storedHeight);
    // The stored height covers the colour bits and the mask below them, so it is even; icon
    // images are bottom-up and never run-length compressed.
    if (!info || storedHeight <= 0 || storedHeight % 2 != 0 ||
        (info->compression != kBiRgb && info->compression != kBiBitfields))
        return std::nullopt;
    info->height = static_cast<int32_t>(storedHeight / 2);
    uint32_t width = static_cast<uint32_t>(info->width);
    uint64_t pixels =
        (DibStride(width, info->bitCount) + DibStride(width, 1)) * uint64_t(info->height);
    if (pixels > size - info->pixelOffset)
        return std::nullopt;
    return info;
}

} // namespace resources
