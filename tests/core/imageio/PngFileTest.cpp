// PNG reading of every colour type into 24-bit, writing palette and RGB files, and damaged files.
#include "imageio/PngFile.h"

#include "PngTestFiles.h"
#include "app/Error.h"
#include "app/Files.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <functional>

namespace tavrik {
namespace {

using test::RawPng;
using ::testing::HasSubstr;

struct Rgb {
    uint8_t R, G, B;
    bool operator==(const Rgb&) const = default;
};

Rgb PixelOf(const Image& image, int32_t x, int32_t y) {
    const uint8_t* p = image.Row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

// Builds a file of the given type whose samples come from sample(x, y, channel) at the file's bit depth,
// and checks that every pixel reads back as expected(x, y).
void ExpectDecodes(RawPng raw, int channels, const std::function<uint32_t(int, int, int)>& sample,
                   const std::function<Rgb(int, int)>& expected) {
    for (uint32_t y = 0; y < raw.Height; ++y) {
        std::vector<uint8_t> row((raw.Width * channels * raw.BitDepth + 7) / 8);
        for (uint32_t x = 0; x < raw.Width; ++x)
            for (int c = 0; c < channels; ++c) {
                const uint32_t value = sample(static_cast<int>(x), static_cast<int>(y), c);
                const size_t bit = (static_cast<size_t>(x) * channels + c) * raw.BitDepth;
                if (raw.BitDepth == 16) {
                    row[bit / 8] = static_cast<uint8_t>(value >> 8);
                    row[bit / 8 + 1] = static_cast<uint8_t>(value);
                } else {
                    row[bit / 8] |= static_cast<uint8_t>(value << (8 - raw.BitDepth - bit % 8));
                }
            }
        raw.Rows.push_back(row);
    }
    const std::vector<uint8_t> file = test::WriteRawPng(raw);
    const Image image = ReadPng(file);
    ASSERT_EQ(image.Format(), PixelFormat::Rgb24);
    ASSERT_EQ(image.Width(), static_cast<int32_t>(raw.Width));
    ASSERT_EQ(image.Height(), static_cast<int32_t>(raw.Height));
    for (uint32_t y = 0; y < raw.Height; ++y)
        for (uint32_t x = 0; x < raw.Width; ++x) {
            const Rgb want = expected(static_cast<int>(x), static_cast<int>(y));
            ASSERT_EQ(PixelOf(image, static_cast<int>(x), static_cast<int>(y)), want) << "pixel " << x << "," << y;
        }
}

RawPng Header(int colourType, int bitDepth, bool interlaced = false) {
    RawPng raw;
    raw.Width = 13; // odd sizes leave partial bytes and uneven interlace passes
    raw.Height = 11;
    raw.ColourType = colourType;
    raw.BitDepth = bitDepth;
    raw.Interlaced = interlaced;
    return raw;
}

TEST(PngRead, GreyOfEveryDepthIsSpreadToFullRange) {
    for (int depth : {1, 2, 4, 8}) {
        SCOPED_TRACE(depth);
        const uint32_t top = (1u << depth) - 1;
        ExpectDecodes(
            Header(PNG_COLOR_TYPE_GRAY, depth), 1, [&](int x, int y, int) { return (x + 3 * y) % (top + 1); },
            [&](int x, int y) {
                const auto v = static_cast<uint8_t>((x + 3 * y) % (top + 1) * 255 / top);
                return Rgb{v, v, v};
            });
    }
}

TEST(PngRead, SixteenBitSamplesAreScaledToEightBits) {
    ExpectDecodes(
        Header(PNG_COLOR_TYPE_RGB, 16), 3,
        [](int x, int, int c) { return c == 0   ? 0xFFFFu
                                       : c == 1 ? 0u
                                                : x * 0x1111u; },
        [](int x, int) {
            return Rgb{255, 0, static_cast<uint8_t>(x * 0x11)};
        });
    ExpectDecodes(
        Header(PNG_COLOR_TYPE_GRAY, 16), 1, [](int x, int, int) { return x * 0x1010u; },
        [](int x, int) {
            const auto v = static_cast<uint8_t>(x * 0x10);
            return Rgb{v, v, v};
        });
}

TEST(PngRead, AlphaIsDroppedAndTheColourKept) {
    ExpectDecodes(
        Header(PNG_COLOR_TYPE_RGB_ALPHA, 8), 4,
        [](int x, int y, int c) { return c == 3 ? 0u : (x * 19 + y * 7 + c * 50) % 256u; },
        [](int x, int y) {
            return Rgb{static_cast<uint8_t>((x * 19 + y * 7) % 256), static_cast<uint8_t>((x * 19 + y * 7 + 50) % 256),
                       static_cast<uint8_t>((x * 19 + y * 7 + 100) % 256)};
        });
    ExpectDecodes(
        Header(PNG_COLOR_TYPE_GRAY_ALPHA, 8), 2, [](int x, int, int c) { return c == 0 ? x * 10u : 128u; },
        [](int x, int) {
            const auto v = static_cast<uint8_t>(x * 10);
            return Rgb{v, v, v};
        });
}

TEST(PngRead, PaletteFilesAreLookedUpIncludingTransparentOnes) {
    RawPng raw = Header(PNG_COLOR_TYPE_PALETTE, 4);
    for (int i = 0; i < 16; ++i)
        raw.Palette.insert(raw.Palette.end(), {uint8_t(i * 16), uint8_t(255 - i), uint8_t(i * 3)});
    auto sample = [](int x, int y, int) { return static_cast<uint32_t>((x + y) % 16); };
    auto colour = [](int x, int y) {
        const int i = (x + y) % 16;
        return Rgb{uint8_t(i * 16), uint8_t(255 - i), uint8_t(i * 3)};
    };
    ExpectDecodes(raw, 1, sample, colour);
    raw.Transparency = {0, 128, 255};
    ExpectDecodes(raw, 1, sample, colour);

    RawPng twoColours = Header(PNG_COLOR_TYPE_PALETTE, 1);
    twoColours.Palette = {10, 20, 30, 200, 100, 50};
    ExpectDecodes(
        twoColours, 1, [](int x, int, int) { return x % 2u; },
        [](int x, int) {
            return x % 2 ? Rgb{200, 100, 50} : Rgb{10, 20, 30};
        });
}

TEST(PngRead, InterlacedFilesAreDeinterlaced) {
    auto sample = [](int x, int y, int c) { return static_cast<uint32_t>((x * 31 + y * 17 + c * 5) % 256); };
    auto colour = [&](int x, int y) {
        return Rgb{uint8_t(sample(x, y, 0)), uint8_t(sample(x, y, 1)), uint8_t(sample(x, y, 2))};
    };
    ExpectDecodes(Header(PNG_COLOR_TYPE_RGB, 8, true), 3, sample, colour);
    RawPng grey = Header(PNG_COLOR_TYPE_GRAY, 2, true);
    ExpectDecodes(
        grey, 1, [](int x, int y, int) { return static_cast<uint32_t>((x ^ y) & 3); },
        [](int x, int y) {
            const auto v = static_cast<uint8_t>(((x ^ y) & 3) * 85);
            return Rgb{v, v, v};
        });
}

Image IndexedSheet() {
    Image image(37, 5, PixelFormat::Indexed8);
    for (int i = 0; i < 256; ++i)
        image.ColourTable[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
    for (int32_t y = 0; y < image.Height(); ++y)
        for (int32_t x = 0; x < image.Width(); ++x)
            image.Row(y)[x] = static_cast<uint8_t>(x * 7 + y * 50);
    return image;
}

TEST(PngWrite, IndexedSheetKeepsItsIndexesAndWholeColourTable) {
    const Image sheet = IndexedSheet();
    const RawPng raw = test::ReadRawPng(EncodePng(sheet));
    EXPECT_EQ(raw.ColourType, PNG_COLOR_TYPE_PALETTE);
    EXPECT_EQ(raw.BitDepth, 8);
    EXPECT_FALSE(raw.Interlaced);
    ASSERT_EQ(raw.Palette.size(), 256u * 3);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(raw.Palette[3 * i], sheet.ColourTable[i].Red);
        EXPECT_EQ(raw.Palette[3 * i + 1], sheet.ColourTable[i].Green);
        EXPECT_EQ(raw.Palette[3 * i + 2], sheet.ColourTable[i].Blue);
    }
    ASSERT_EQ(raw.Rows.size(), 5u);
    for (int32_t y = 0; y < sheet.Height(); ++y)
        EXPECT_EQ(raw.Rows[y], std::vector<uint8_t>(sheet.Row(y), sheet.Row(y) + sheet.Width()));
}

TEST(PngWrite, RgbImageBecomesEightBitRgbAndReadsBackTheSame) {
    Image picture = IndexedSheet();
    picture.ConvertTo(PixelFormat::Rgb24);
    const std::vector<uint8_t> file = EncodePng(picture);
    const RawPng raw = test::ReadRawPng(file);
    EXPECT_EQ(raw.ColourType, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(raw.BitDepth, 8);
    EXPECT_EQ(ReadPng(file).Data(), picture.Data());
}

TEST(PngWrite, UsesMaximumCompression) {
    // zlib writes its level into the stream header: FLEVEL 3 (bits 6-7 of the second byte) is level 9.
    const std::vector<uint8_t> file = EncodePng(IndexedSheet());
    const size_t idat = test::PngChunkData(file, "IDAT");
    ASSERT_NE(idat, 0u);
    EXPECT_EQ(file[idat + 1] >> 6, 3);
}

TEST(PngWrite, SaveReplacesTheFileAndNamesItOnFailure) {
    test::TempDir dir;
    const std::string path = dir.File("sheet.png");
    WriteWholeFile(path, std::vector<uint8_t>(5000, 'x'));
    SaveImagePng(IndexedSheet(), path);
    EXPECT_EQ(ReadWholeFile(path), EncodePng(IndexedSheet()));

    const std::string unwritable = dir.File("no such folder/sheet.png");
    try {
        SaveImagePng(IndexedSheet(), unwritable);
        FAIL() << "writing into a missing folder succeeded";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr(unwritable));
    }
    EXPECT_THROW(SaveImagePng(Image(), path), Error);
}

void PatchCrc(std::vector<uint8_t>& file, size_t dataOffset, uint32_t length) {
    const uint32_t crc = static_cast<uint32_t>(crc32(0, file.data() + dataOffset - 4, length + 4));
    for (int i = 0; i < 4; ++i)
        file[dataOffset + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
}

void ExpectReadError(const std::vector<uint8_t>& file, const std::string& part) {
    try {
        ReadPng(file);
        FAIL() << "a damaged file was read";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr(part));
    }
}

TEST(PngReadErrors, BadSignatureCrcTruncationAndLyingSize) {
    const std::vector<uint8_t> good = EncodePng(IndexedSheet());
    ExpectReadError({}, "signature");
    std::vector<uint8_t> file = good;
    file[1] = 'Q';
    ExpectReadError(file, "signature");

    file = good;
    file[test::PngChunkData(file, "IHDR") + 2] ^= 1; // width changed, checksum not
    ExpectReadError(file, "CRC");
    file = good;
    const size_t idat = test::PngChunkData(file, "IDAT");
    const size_t idatLength = (size_t{file[idat - 6]} << 8) | file[idat - 5];
    file[idat + idatLength + 3] ^= 1; // the data is sound, its checksum is not
    ExpectReadError(file, "CRC");

    for (size_t cut : {size_t{20}, good.size() / 2, good.size() - 5})
        ExpectReadError(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)),
                        "Damaged PNG");

    // A valid header promising a million by a million pixels in a few hundred bytes.
    file = good;
    const size_t ihdr = test::PngChunkData(file, "IHDR");
    for (size_t at : {ihdr, ihdr + 4}) {
        file[at] = 0;
        file[at + 1] = 0x0F;
        file[at + 2] = 0x42;
        file[at + 3] = 0x40;
    }
    PatchCrc(file, ihdr, 13);
    ExpectReadError(file, "1000000 x 1000000");
}

} // namespace
} // namespace tavrik
