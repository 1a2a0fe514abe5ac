// Windows bitmaps: the run-length kinds (escapes, clipping, bottom-up rows), top-down rows, and headers that lie.
#include "imageio/BmpFile.h"

#include "app/Error.h"
#include "support/PictureTestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tavrik {
namespace {

using test::Bytes;
using ::testing::HasSubstr;

void PutLittle(Bytes& out, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

struct Bitmap {
    int32_t Width = 0;
    int32_t Height = 0;
    uint16_t BitsPerPixel = 8;
    uint32_t Compression = 0;
    uint32_t ColoursUsed = 16;
    Bytes Pixels;
};

// Colour table entry i is red i x 16, green 255 - i, blue i + 1.
test::Rgb PaletteColour(int i) { return {uint8_t(i * 16), uint8_t(255 - i), uint8_t(i + 1)}; }

Bytes BuildBitmap(const Bitmap& bitmap) {
    Bytes table;
    for (uint32_t i = 0; i < bitmap.ColoursUsed; ++i) {
        const test::Rgb c = PaletteColour(static_cast<int>(i));
        table.insert(table.end(), {c.B, c.G, c.R, 0});
    }
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(table.size());
    Bytes out = {'B', 'M'};
    PutLittle(out, offset + static_cast<uint32_t>(bitmap.Pixels.size()), 4);
    PutLittle(out, 0, 4);
    PutLittle(out, offset, 4);
    PutLittle(out, 40, 4);
    PutLittle(out, static_cast<uint32_t>(bitmap.Width), 4);
    PutLittle(out, static_cast<uint32_t>(bitmap.Height), 4);
    PutLittle(out, 1, 2);
    PutLittle(out, bitmap.BitsPerPixel, 2);
    PutLittle(out, bitmap.Compression, 4);
    PutLittle(out, static_cast<uint32_t>(bitmap.Pixels.size()), 4);
    PutLittle(out, 2835, 4);
    PutLittle(out, 2835, 4);
    PutLittle(out, bitmap.ColoursUsed, 4);
    PutLittle(out, 0, 4);
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), bitmap.Pixels.begin(), bitmap.Pixels.end());
    return out;
}

// Rows listed top row first, as the picture shows them.
void ExpectIndexes(const Image& image, const std::vector<std::vector<int>>& rows) {
    ASSERT_EQ(image.Format(), PixelFormat::Rgb24);
    ASSERT_EQ(image.Height(), static_cast<int32_t>(rows.size()));
    for (int y = 0; y < image.Height(); ++y) {
        ASSERT_EQ(image.Width(), static_cast<int32_t>(rows[y].size()));
        for (int x = 0; x < image.Width(); ++x) {
            const uint8_t* p = image.Row(y) + 3 * x;
            EXPECT_EQ((test::Rgb{p[0], p[1], p[2]}), PaletteColour(rows[y][x])) << "pixel " << x << "," << y;
        }
    }
}

TEST(BmpRunLength, Rle8RunsLiteralsLineEndsAndDeltaFillTheRowsFromTheBottom) {
    Bitmap bitmap{8, 4, 8, 1, 16, {}};
    bitmap.Pixels = {3, 1,             // three pixels of 1
                     0, 3, 2, 3, 4, 0, // literal 2 3 4, padded to a word
                     0, 0,             // end of line
                     0, 2, 2, 1,       // move right 2, up 1
                     2, 5,             // two pixels of 5
                     0, 0,             // end of line
                     4, 7,             // four pixels of 7
                     0, 1};            // end of bitmap
    ExpectIndexes(
        ReadBmp(BuildBitmap(bitmap)),
        {{7, 7, 7, 7, 0, 0, 0, 0}, {0, 0, 5, 5, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, {1, 1, 1, 2, 3, 4, 0, 0}});
}

TEST(BmpRunLength, Rle4AlternatesTheTwoNibblesOfRunsAndLiterals) {
    Bitmap bitmap{12, 3, 4, 2, 16, {}};
    bitmap.Pixels = {5, 0x12,                      // 1 2 1 2 1
                     0, 5,    0x34, 0x56, 0x70, 0, // literal 3 4 5 6 7: three bytes and a pad byte
                     0, 0,    0,    2,    1,    1, // end of line, move right 1 and up 1
                     3, 0xAB, 0,    1};            // A B A, end of bitmap
    ExpectIndexes(ReadBmp(BuildBitmap(bitmap)), {{0, 10, 11, 10, 0, 0, 0, 0, 0, 0, 0, 0},
                                                 {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                                 {1, 2, 1, 2, 1, 3, 4, 5, 6, 7, 0, 0}});
}

TEST(BmpRunLength, RunsPastTheEdgesAreDroppedAndAMissingEndMarkIsTolerated) {
    Bitmap bitmap{4, 2, 8, 1, 16, {}};
    bitmap.Pixels = {10, 9, 0, 0, 1, 3, 0, 2, 0, 9, 5, 5}; // the move leaves the picture
    ExpectIndexes(ReadBmp(BuildBitmap(bitmap)), {{3, 0, 0, 0}, {9, 9, 9, 9}});
    bitmap.Pixels = {2, 1};
    ExpectIndexes(ReadBmp(BuildBitmap(bitmap)), {{0, 0, 0, 0}, {1, 1, 0, 0}});
}

void ExpectDamaged(const Bytes& file, const std::string& part) {
    try {
        ReadBmp(file);
        FAIL() << "a damaged bitmap was read";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr(part));
    }
}

TEST(BmpDamaged, HeadersThatLieAboutSizesOrOffsetsFailWithAnError) {
    Bitmap plain{5, 3, 24, 0, 0, {}};
    plain.Pixels = Bytes(16 * 3, 0x40);
    const Bytes good = BuildBitmap(plain);
    EXPECT_EQ(ReadBmp(good).Width(), 5);

    Bytes file = good;
    file[22] = 200; // height 200 rows, data for 3
    ExpectDamaged(file, "past the end");
    file = good;
    file[10] = 0xF0; // pixel data offset beyond the file
    ExpectDamaged(file, "past the end");
    file = good;
    file[14] = 0xF0; // header size beyond the file
    ExpectDamaged(file, "past the end");
    file = good;
    file[18] = 0; // width 0
    ExpectDamaged(file, "size");
    file = good;
    file[21] = 0x40; // width $40000005
    ExpectDamaged(file, "too large");
    file = good;
    file[30] = 4; // JPEG inside a bitmap
    ExpectDamaged(file, "compression 4");
    ExpectDamaged(Bytes(good.begin(), good.begin() + 16), "past the end");
    ExpectDamaged({'P', 'K', 3, 4}, "signature");

    Bitmap palette{4, 1, 8, 0, 16, {}};
    palette.Pixels = {1, 2, 3, 4};
    file = BuildBitmap(palette);
    file[46] = 0; // no count of colours used: 256 entries, but the file holds 16
    ExpectDamaged(file, "colour table");
}

TEST(BmpDamaged, RunLengthDataThatStopsInsideAPacketOrDoesNotFitTheDepth) {
    Bitmap bitmap{8, 2, 8, 1, 16, {}};
    bitmap.Pixels = {2, 1, 0, 6, 1, 2};
    ExpectDamaged(BuildBitmap(bitmap), "ends early at offset");
    bitmap.BitsPerPixel = 4;
    bitmap.Pixels = {2, 1, 0, 1};
    ExpectDamaged(BuildBitmap(bitmap), "bits per pixel");
    bitmap = Bitmap{8, -2, 8, 1, 16, {}};
    bitmap.Pixels = {2, 1, 0, 1};
    ExpectDamaged(BuildBitmap(bitmap), "top row first");
}

TEST(BmpUncompressed, PaletteRowsAreReadTopDownPaddedToFourBytes) {
    Bitmap bitmap{3, -2, 4, 0, 4, {}};
    bitmap.Pixels = {0x12, 0x30, 0, 0,  // top row 1 2 3, padded to 4 bytes
                     0x03, 0x20, 0, 0}; // bottom row 0 3 2
    ExpectIndexes(ReadBmp(BuildBitmap(bitmap)), {{1, 2, 3}, {0, 3, 2}});
}

TEST(BmpUncompressed, TopDownRowsAreReadTopDown) {
    Bitmap bitmap{2, -2, 24, 0, 0, {}};
    bitmap.Pixels = {0,   0, 255, 0, 255, 0, 0, 0,  // blue, green, red bytes: top row red, green
                     255, 0, 0,   0, 0,   0, 0, 0}; // bottom row blue, black
    const Image image = ReadBmp(BuildBitmap(bitmap));
    ASSERT_EQ(image.Height(), 2);
    EXPECT_EQ(image.Row(0)[0], 255); // red first
    EXPECT_EQ(image.Row(1)[2], 255); // blue last
}

} // namespace
} // namespace tavrik
