// Icon and cursor directories and bitmap headers, on small images built here so each case shows
// exactly which field or which missing byte it is about.
#include "resources/BitmapInfo.h"
#include "resources/IconGroup.h"

#include <gtest/gtest.h>

#include <vector>

using namespace resources;

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

struct Dib {
    int32_t width = 48;
    int32_t height = 48; // as stored
    uint16_t planes = 1;
    uint16_t bits = 8;
    uint32_t compression = kBiRgb;
    uint32_t imageSize = 0;
    uint32_t coloursUsed = 0;
    size_t palette = 256;  // entries written
    size_t pixelBytes = 0; // written after the palette
};

Bytes MakeDib(const Dib& d) {
    Bytes b;
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(d.width));
    Put32(b, static_cast<uint32_t>(d.height));
    Put16(b, d.planes);
    Put16(b, d.bits);
    Put32(b, d.compression);
    Put32(b, d.imageSize);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, d.coloursUsed);
    Put32(b, 0);
    b.resize(b.size() + 4 * d.palette + d.pixelBytes, 0);
    return b;
}

// 48 x 48 at 8 bits: rows of 48 bytes.
constexpr size_t kPixels48x8 = 48 * 48;

// A complete 48 x 48 x 8 bitmap with one change made by `edit`.
template <typename Edit> Bytes Bitmap(const Edit& edit) {
    Dib d;
    d.pixelBytes = kPixels48x8;
    edit(d);
    return MakeDib(d);
}

TEST(BitmapInfo, ReadsTheHeaderOfAPackedBitmap) {
    Bytes dib = Bitmap([](Dib&) {});
    auto info = ReadBitmapInfo(dib.data(), dib.size());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->headerSize, 40u);
    EXPECT_EQ(info->width, 48);
    EXPECT_EQ(info->height, 48);
    EXPECT_FALSE(info->topDown);
    EXPECT_EQ(info->bitCount, 8);
    EXPECT_EQ(info->compression, kBiRgb);
    EXPECT_EQ(info->paletteEntries, 256u);
    EXPECT_EQ(info->pixelOffset, 40u + 1024u);
}

TEST(BitmapInfo, AcceptsTheOtherLayouts) {
    // Top-down rows: the height is reported positive.
    Bytes topDown = Bitmap([](Dib& d) { d.height = -48; });
    auto info = ReadBitmapInfo(topDown.data(), topDown.size());
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->topDown);
    EXPECT_EQ(info->height, 48);

    // A short colour table announced by the used-colours field.
    Bytes shortTable = Bitmap([](Dib& d) {
        d.coloursUsed = 16;
        d.palette = 16;
    });
    info = ReadBitmapInfo(shortTable.data(), shortTable.size());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->paletteEntries, 16u);

    // Run-length pixels take the size the header gives.
    Bytes rle = Bitmap([](Dib& d) {
        d.compression = kBiRle8;
        d.imageSize = 100;
        d.pixelBytes = 100;
    });
    ASSERT_TRUE(ReadBitmapInfo(rle.data(), rle.size()));

    // The old 12-byte header with three-byte palette entries: 2 x 2 at 1 bit.
    Bytes core;
    Put32(core, 12);
    Put16(core, 2);
    Put16(core, 2);
    Put16(core, 1);
    Put16(core, 1);
    core.resize(core.size() + 2 * 3 + 2 * 4, 0);
    info = ReadBitmapInfo(core.data(), core.size());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->bitCount, 1);
    EXPECT_EQ(info->pixelOffset, 12u + 6u);
}

TEST(BitmapInfo, RejectsHeadersThatDoNotHoldTogether) {
    struct Case {
        const char* what;
        void (*edit)(Dib&);
    };
    const Case cases[] = {
        {"pixels one byte short", [](Dib& d) { d.pixelBytes -= 1; }},
        {"palette cut off", [](Dib& d) { d.palette = 255, d.pixelBytes = 0; }},
        {"more colours than 8 bits allow", [](Dib& d) { d.coloursUsed = 257, d.palette = 257; }},
        {"zero width", [](Dib& d) { d.width = 0; }},
        {"negative width", [](Dib& d) { d.width = -48; }},
        {"zero height", [](Dib& d) { d.height = 0; }},
        {"two planes", [](Dib& d) { d.planes = 2; }},
        {"bit count 7", [](Dib& d) { d.bits = 7; }},
        {"run-length 8 on 4 bits",
         [](Dib& d) { d.bits = 4, d.compression = kBiRle8, d.imageSize = 10, d.palette = 16; }},
        {"run-length without size", [](Dib& d) { d.compression = kBiRle8; }},
        {"run-length top-down",
         [](Dib& d) { d.height = -48, d.compression = kBiRle8, d.imageSize = 10; }},
        {"unknown compression", [](Dib& d) { d.compression = 9; }},
        // A width whose row size would overflow 32 bits in careless arithmetic.
        {"absurd width", [](Dib& d) { d.width = 0x7FFFFFFF, d.height = 1; }},
    };
    for (const Case& c : cases) {
        Bytes dib = Bitmap(c.edit);
        EXPECT_FALSE(ReadBitmapInfo(dib.data(), dib.size())) << c.what;
    }
    Bytes dib = Bitmap([](Dib&) {});
    for (size_t cut : {size_t(0), size_t(3), size_t(39)})
        EXPECT_FALSE(ReadBitmapInfo(dib.data(), cut)) << "header cut at " << cut;
}

// An icon image stores colour bits and a 1-bit mask, its height field counting both.
Bytes MakeIconImage(int32_t size, uint16_t bits, size_t shortBy = 0) {
    size_t palette = bits <= 8 ? (size_t(1) << bits) : 0;
    size_t colour = DibStride(size, bits) * size;
    size_t mask = DibStride(size, 1) * size;
    Bytes b = Bitmap([&](Dib& d) {
        d.width = size;
        d.height = 2 * size;
        d.bits = bits;
        d.palette = palette;
        d.pixelBytes = colour + mask;
    });
    b.resize(b.size() - shortBy);
    return b;
}

TEST(IconImageInfo, ReportsThePictureSizeAndNeedsTheMask) {
    for (int32_t size : {16, 32})
        for (uint16_t bits : {4, 8, 32}) {
            Bytes image = MakeIconImage(size, bits);
            auto info = ReadIconImageInfo(image.data(), image.size());
            ASSERT_TRUE(info) << size << " " << bits;
            EXPECT_EQ(info->width, size);
            EXPECT_EQ(info->height, size);
            EXPECT_EQ(info->bitCount, bits);
        }
    Bytes noMask = MakeIconImage(32, 4, 1);
    EXPECT_FALSE(ReadIconImageInfo(noMask.data(), noMask.size()));
    Bytes odd = Bitmap([](Dib& d) {
        d.width = 32;
        d.height = 63;
        d.bits = 4;
        d.palette = 16;
        d.pixelBytes = 1024;
    });
    EXPECT_FALSE(ReadIconImageInfo(odd.data(), odd.size()));
}

TEST(IconImageInfo, ReadsThePngHeaderOfALargeIcon) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D',
                 'R',  0,   0,   1,   0,    0,    0,    1,    0, 8, 6, 0,  0,   0};
    auto info = ReadIconImageInfo(png.data(), png.size());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->compression, kBiPng);
    EXPECT_EQ(info->width, 256);
    EXPECT_EQ(info->height, 256);
    EXPECT_EQ(info->bitCount, 32);
    png[25] = 5; // no such colour type
    EXPECT_FALSE(ReadIconImageInfo(png.data(), png.size()));
}

struct Entry {
    uint16_t width, height, colours, bits, id;
    uint32_t bytes;
};

Bytes MakeGroup(uint16_t type, const std::vector<Entry>& entries) {
    Bytes b;
    Put16(b, 0);
    Put16(b, type);
    Put16(b, static_cast<uint16_t>(entries.size()));
    for (const Entry& e : entries) {
        if (type == 1) {
            b.push_back(static_cast<uint8_t>(e.width));
            b.push_back(static_cast<uint8_t>(e.height));
            b.push_back(static_cast<uint8_t>(e.colours));
            b.push_back(0);
        } else {
            Put16(b, e.width);
            Put16(b, e.height);
        }
        Put16(b, 1);
        Put16(b, e.bits);
        Put32(b, e.bytes);
        Put16(b, e.id);
    }
    return b;
}

TEST(ImageGroup, ReadsIconAndCursorDirectories) {
    Bytes icons = MakeGroup(1, {{32, 32, 16, 4, 3, 744}, {0, 0, 0, 32, 4, 9000}});
    auto group = ReadImageGroup(icons.data(), icons.size());
    ASSERT_TRUE(group);
    EXPECT_EQ(group->kind, GroupKind::Icon);
    ASSERT_EQ(group->images.size(), 2u);
    EXPECT_EQ(group->images[0].width, 32);
    EXPECT_EQ(group->images[0].colourCount, 16);
    EXPECT_EQ(group->images[0].bitCount, 4);
    EXPECT_EQ(group->images[0].bytes, 744u);
    EXPECT_EQ(group->images[0].imageId, 3);
    EXPECT_EQ(group->images[1].width, 256) << "0 stands for 256";
    EXPECT_EQ(group->images[1].height, 256);

    // A cursor entry's height covers the colour bits and the mask.
    Bytes cursors = MakeGroup(2, {{32, 64, 0, 1, 7, 308}});
    group = ReadImageGroup(cursors.data(), cursors.size());
    ASSERT_TRUE(group);
    EXPECT_EQ(group->kind, GroupKind::Cursor);
    ASSERT_EQ(group->images.size(), 1u);
    EXPECT_EQ(group->images[0].width, 32);
    EXPECT_EQ(group->images[0].height, 32);
    EXPECT_EQ(group->images[0].imageId, 7);
}

TEST(ImageGroup, RejectsMalformedDirectories) {
    Bytes good = MakeGroup(1, {{32, 32, 0, 8, 1, 2216}, {16, 16, 0, 8, 2, 1384}});
    EXPECT_TRUE(ReadImageGroup(good.data(), good.size()));
    EXPECT_FALSE(ReadImageGroup(good.data(), good.size() - 1)) << "last entry cut";
    EXPECT_FALSE(ReadImageGroup(good.data(), 4)) << "header cut";
    Bytes wrongType = MakeGroup(3, {});
    EXPECT_FALSE(ReadImageGroup(wrongType.data(), wrongType.size()));
    Bytes reserved = good;
    reserved[0] = 1;
    EXPECT_FALSE(ReadImageGroup(reserved.data(), reserved.size()));
}

ResourceEntry Resource(uint16_t type, uint16_t name, uint16_t language, Bytes data) {
    return ResourceEntry{ResId::Number(type), ResId::Number(name), language, std::move(data)};
}

TEST(ImageGroup, ResolvesMembersInTheGroupsLanguage) {
    ResourceSet set;
    set.entries.push_back(Resource(kTypeIcon, 1, 0x0409, MakeIconImage(16, 4))); // other language
    set.entries.push_back(Resource(kTypeIcon, 1, 0x0407, MakeIconImage(32, 4)));
    set.entries.push_back(Resource(kTypeIcon, 2, 0x0407, MakeIconImage(16, 4, 1))); // damaged
    set.entries.push_back(Resource(
        kTypeGroupIcon, 140, 0x0407,
        MakeGroup(1, {{32, 32, 16, 4, 1, 744}, {16, 16, 16, 4, 2, 296}, {16, 16, 16, 4, 9, 296}})));
    auto members = ResolveImageGroup(set, GroupKind::Icon, 140);
    ASSERT_TRUE(members);
    ASSERT_EQ(members->size(), 3u);
    ASSERT_TRUE((*members)[0].info);
    EXPECT_EQ((*members)[0].resource->language, 0x0407);
    EXPECT_EQ((*members)[0].info->width, 32);
    EXPECT_TRUE((*members)[1].resource);
    EXPECT_FALSE((*members)[1].info) << "an image that does not read";
    EXPECT_FALSE((*members)[2].resource) << "an image the set lacks";

    EXPECT_FALSE(ResolveImageGroup(set, GroupKind::Icon, 141));
    EXPECT_FALSE(ResolveImageGroup(set, GroupKind::Cursor, 140));
}

TEST(ImageGroup, ResolvesCursorImagesAfterTheirHotspot) {
    Bytes image;
    Put16(image, 5);
    Put16(image, 9);
    Bytes dib = MakeIconImage(32, 1);
    image.insert(image.end(), dib.begin(), dib.end());
    ResourceSet set;
    set.entries.push_back(Resource(kTypeCursor, 4, 0x0409, image));
    set.entries.push_back(Resource(kTypeGroupCursor, 30977, 0x0409,
                                   MakeGroup(2, {{32, 64, 0, 1, 4, uint32_t(image.size())}})));
    auto members = ResolveImageGroup(set, GroupKind::Cursor, 30977);
    ASSERT_TRUE(members);
    ASSERT_EQ(members->size(), 1u);
    EXPECT_EQ((*members)[0].hotspotX, 5);
    EXPECT_EQ((*members)[0].hotspotY, 9);
    ASSERT_TRUE((*members)[0].info);
    EXPECT_EQ((*members)[0].info->height, 32);
    EXPECT_EQ((*members)[0].info->bitCount, 1);
}

} // namespace
