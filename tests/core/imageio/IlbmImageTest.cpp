// ILBM reading: colour maps, hold-and-modify, ByteRun1, line layout, chunk walking, stops and damaged files.
#include "imageio/IlbmImage.h"

#include "support/PictureTestFiles.h"
#include "app/Error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tavrik {
namespace {

using test::Bytes;
using test::IffChunk;
using ::testing::HasSubstr;

test::Rgb PixelOf(const Image& image, int x, int y) {
    const uint8_t* p = image.Row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

test::IlbmFile Picture(uint16_t width, uint16_t height, uint8_t planes, uint8_t compression = 0) {
    test::IlbmFile file;
    file.Width = width;
    file.Height = height;
    file.Planes = planes;
    file.Compression = compression;
    return file;
}

TILBMImage Load(const Bytes& bytes) {
    TILBMImage image;
    image.LoadFromStream(bytes);
    return image;
}

Bytes CompressedLines(const std::vector<uint8_t>& values, int width, int height, int planes) {
    const Bytes lines = test::PlanarLines(values, width, height, planes);
    const size_t lineBytes = lines.size() / height;
    Bytes body;
    for (int y = 0; y < height; ++y) {
        const Bytes packed = test::ByteRun1(Bytes(lines.begin() + y * lineBytes, lines.begin() + (y + 1) * lineBytes));
        body.insert(body.end(), packed.begin(), packed.end());
    }
    return body;
}

TEST(IlbmColourMap, FivePlaneByteRun1PictureTakesItsColoursFromTheCmap) {
    std::vector<uint32_t> colours;
    for (uint32_t i = 0; i < 32; ++i)
        colours.push_back((i % 16) * 17 << 16 | (15 - i % 16) * 17 << 8 | (i / 16) * 0x44);
    std::vector<uint8_t> values(320 * 256);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<uint8_t>((i / 7 + i / 320) % 32);
    test::IlbmFile file = Picture(320, 256, 5, 1);
    file.Chunks = {test::Cmap(colours), IffChunk("BODY", CompressedLines(values, 320, 256, 5))};
    const TILBMImage image = Load(test::BuildIlbm(file));

    ASSERT_EQ(image.Format(), PixelFormat::Rgb24);
    ASSERT_EQ(image.Width(), 320);
    ASSERT_EQ(image.Height(), 256);
    EXPECT_EQ(image.ILBMFileFormat, TILBMFileFormat::iffNormal);
    ASSERT_EQ(image.PaletteIL.Count(), 32);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(static_cast<Colour>(image.PaletteIL.Get(i)),
                  MakeColour(uint8_t(colours[i] >> 16), uint8_t(colours[i] >> 8), uint8_t(colours[i])));
    for (int y = 0; y < 256; y += 5)
        for (int x = 0; x < 320; ++x) {
            const uint32_t want = colours[values[static_cast<size_t>(y) * 320 + x]];
            ASSERT_EQ(PixelOf(image, x, y), (test::Rgb{uint8_t(want >> 16), uint8_t(want >> 8), uint8_t(want)}));
        }
}

TEST(IlbmColourMap, FourBitColoursInTheHighNibblesAreSpreadButOnlyWhenAllLowNibblesAreZero) {
    test::IlbmFile file = Picture(16, 1, 1);
    file.Chunks = {test::Cmap({0x001020, 0xF0A070}), IffChunk("BODY", {0x80, 0})};
    TILBMImage image = Load(test::BuildIlbm(file));
    EXPECT_EQ(image.PaletteIL.Values(),
              (std::vector<int32_t>{int32_t(MakeColour(0x00, 0x11, 0x22)), int32_t(MakeColour(0xFF, 0xAA, 0x77))}));
    EXPECT_EQ(PixelOf(image, 0, 0), (test::Rgb{0xFF, 0xAA, 0x77}));
    EXPECT_EQ(PixelOf(image, 1, 0), (test::Rgb{0x00, 0x11, 0x22}));

    file.Chunks[0] = test::Cmap({0x001021, 0xF0A070}); // one low nibble set: taken as 8-bit colours
    image = Load(test::BuildIlbm(file));
    EXPECT_EQ(PixelOf(image, 0, 0), (test::Rgb{0xF0, 0xA0, 0x70}));
    EXPECT_EQ(PixelOf(image, 1, 0), (test::Rgb{0x00, 0x10, 0x21}));
}

TEST(IlbmColourMap, MoreThan256EntriesAllReachThePaletteAndTheRestOfTheTableIsBlack) {
    std::vector<uint32_t> colours(300, 0x102031);
    colours[299] = 0x405061;
    test::IlbmFile file = Picture(8, 1, 8);
    file.Chunks = {test::Cmap(colours)};
    TILBMImage image = Load(test::BuildIlbm(file));
    EXPECT_EQ(image.PaletteIL.Count(), 300); // duplicates kept
    EXPECT_EQ(image.PaletteIL.Get(299), int32_t(MakeColour(0x40, 0x50, 0x61)));
    EXPECT_EQ(image.ColourTable[255], (PaletteEntry{0x31, 0x20, 0x10, 0}));

    file.Chunks = {test::Cmap({0x123456, 0x654321})};
    image = Load(test::BuildIlbm(file));
    EXPECT_EQ(image.ColourTable[1], (PaletteEntry{0x21, 0x43, 0x65, 0}));
    EXPECT_EQ(image.ColourTable[2], PaletteEntry{});
}

TEST(IlbmColourMap, CmapOfFewerThanThreeBytesIsAnArithmeticOverflow) {
    for (const Bytes& data : {Bytes{}, Bytes{1, 2}}) {
        test::IlbmFile file = Picture(16, 1, 1);
        file.Chunks = {IffChunk("CMAP", data)};
        try {
            Load(test::BuildIlbm(file));
            FAIL() << "a CMAP of " << data.size() << " bytes was accepted";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Arithmetic overflow");
        }
    }
}

Bytes Camg(uint32_t mode) {
    return IffChunk("CAMG", {uint8_t(mode >> 24), uint8_t(mode >> 16), uint8_t(mode >> 8), uint8_t(mode)});
}

TEST(IlbmHoldAndModify, Ham6RowsStartFromBlackAndModifyOneComponentAtATime) {
    // Values: control in bits 4-5, data in bits 0-3.
    const std::vector<uint8_t> values = {0x1F, 0x2A, 0x33, 0x02, 0x1F, 0x00, 0x31, 0x20,
                                         0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F};
    std::vector<uint8_t> twoRows = values;
    twoRows.insert(twoRows.end(), values.begin(), values.end());
    test::IlbmFile file = Picture(16, 2, 6);
    file.Chunks = {test::Cmap({0x000000, 0x111111, 0x80C0E0}), Camg(0x800),
                   IffChunk("BODY", test::PlanarLines(twoRows, 16, 2, 6))};
    const TILBMImage image = Load(test::BuildIlbm(file));
    ASSERT_EQ(image.ILBMFileFormat, TILBMFileFormat::iffHAM6);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(PixelOf(image, 0, y), (test::Rgb{0, 0, 255}));    // blue 255 on black, on every row
        EXPECT_EQ(PixelOf(image, 1, y), (test::Rgb{170, 0, 255}));  // red := 10 x 17
        EXPECT_EQ(PixelOf(image, 2, y), (test::Rgb{170, 51, 255})); // green := 3 x 17
        EXPECT_EQ(PixelOf(image, 3, y), (test::Rgb{0x80, 0xC0, 0xE0}));
        EXPECT_EQ(PixelOf(image, 4, y), (test::Rgb{0x80, 0xC0, 0xFF}));
        EXPECT_EQ(PixelOf(image, 5, y), (test::Rgb{0, 0, 0}));
        EXPECT_EQ(PixelOf(image, 6, y), (test::Rgb{0, 17, 0}));
    }
}

TEST(IlbmHoldAndModify, Ham8LevelsAreDataTimesFourPlusItsTopBits) {
    // Control in bits 6-7, data in bits 0-5.
    const std::vector<uint8_t> values = {0xBF, 0xA0, 0x7F, 0x41, 0xC0, 0x03, 0xBF, 0xBF,
                                         0xBF, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF};
    test::IlbmFile file = Picture(16, 1, 8);
    std::vector<uint32_t> colours(64, 0);
    colours[3] = 0x102031;
    file.Chunks = {test::Cmap(colours), Camg(0x80000800), IffChunk("BODY", test::PlanarLines(values, 16, 1, 8))};
    const TILBMImage image = Load(test::BuildIlbm(file));
    ASSERT_EQ(image.ILBMFileFormat, TILBMFileFormat::iffHAM8);
    EXPECT_EQ(PixelOf(image, 0, 0), (test::Rgb{255, 0, 0})); // control 2, data 63
    EXPECT_EQ(PixelOf(image, 1, 0), (test::Rgb{130, 0, 0})); // data 32
    EXPECT_EQ(PixelOf(image, 2, 0), (test::Rgb{130, 0, 255}));
    EXPECT_EQ(PixelOf(image, 3, 0), (test::Rgb{130, 0, 4}));
    EXPECT_EQ(PixelOf(image, 4, 0), (test::Rgb{130, 0, 4})); // green := 0
    EXPECT_EQ(PixelOf(image, 5, 0), (test::Rgb{0x10, 0x20, 0x31}));
}

TEST(IlbmHoldAndModify, SevenPlaneHamIsHam8AndOtherPlaneCountsStopStillIndexed) {
    test::IlbmFile file = Picture(16, 1, 7);
    file.Chunks = {Camg(0x800), IffChunk("BODY", test::PlanarLines(std::vector<uint8_t>(16, 0x7F), 16, 1, 7))};
    TILBMImage image = Load(test::BuildIlbm(file));
    EXPECT_EQ(image.ILBMFileFormat, TILBMFileFormat::iffHAM8);
    EXPECT_EQ(PixelOf(image, 0, 0), (test::Rgb{0, 0, 255}));

    file.Planes = 5;
    file.Chunks = {test::Cmap({0x102030}), Camg(0x800),
                   IffChunk("BODY", test::PlanarLines(std::vector<uint8_t>(16, 1), 16, 1, 5))};
    image = Load(test::BuildIlbm(file));
    EXPECT_EQ(image.Format(), PixelFormat::Indexed8);
    EXPECT_EQ(image.Width(), 16);
    EXPECT_EQ(image.IndexAt(0, 0), 0); // the BODY after the stop is not read

    file.Planes = 6;
    file.Chunks = {Camg(0x804)}; // only the HAM bit matters, and only in a 4-byte CAMG
    EXPECT_EQ(Load(test::BuildIlbm(file)).ILBMFileFormat, TILBMFileFormat::iffHAM6);
    file.Chunks = {IffChunk("CAMG", {0, 0, 8, 0, 0, 0})};
    EXPECT_EQ(Load(test::BuildIlbm(file)).ILBMFileFormat, TILBMFileFormat::iffNormal);
}

// One plane, so the line bytes are the pixel bits.
std::vector<uint8_t> RowBits(const TILBMImage& image, int y) {
    std::vector<uint8_t> bytes((image.Width() + 7) / 8, 0);
    for (int x = 0; x < image.Width(); ++x)
        if (image.IndexAt(x, y) != 0) bytes[x / 8] |= static_cast<uint8_t>(0x80 >> x % 8);
    return bytes;
}

TILBMImage LoadIndexedBody(uint16_t width, uint16_t height, const Bytes& body) {
    test::IlbmFile file = Picture(width, height, 1, 1);
    // A HAM mode with one plane stops the reading after the BODY, before the 24-bit conversion.
    file.Chunks = {IffChunk("BODY", body), IffChunk("CAMG", {0, 0, 0x08, 0})};
    TILBMImage image;
    image.LoadFromStream(test::BuildIlbm(file));
    return image;
}

TEST(IlbmByteRun1, RepeatPacketsIncludingMinus128AndRunsPastTheLine) {
    TILBMImage image = LoadIndexedBody(32, 1, {0xFE, 0xAA, 0x00, 0x55});
    ASSERT_EQ(image.Format(), PixelFormat::Indexed8);
    EXPECT_EQ(RowBits(image, 0), (Bytes{0xAA, 0xAA, 0xAA, 0x55}));

    // $80 repeats 129 times; were it an empty packet, $FF would land in the first byte.
    image = LoadIndexedBody(1040, 1, {0x80, 0x00, 0x00, 0xFF});
    Bytes expected(130, 0);
    expected[129] = 0xFF;
    EXPECT_EQ(RowBits(image, 0), expected);

    // A run longer than the line is completed and its excess dropped; the next line starts afresh.
    image = LoadIndexedBody(16, 2, {0xFD, 0x11, 0x01, 0x22, 0x33});
    EXPECT_EQ(RowBits(image, 0), (Bytes{0x11, 0x11}));
    EXPECT_EQ(RowBits(image, 1), (Bytes{0x22, 0x33}));
    image = LoadIndexedBody(16, 2, {0x02, 0x44, 0x55, 0x66, 0x01, 0x22, 0x33});
    EXPECT_EQ(RowBits(image, 1), (Bytes{0x22, 0x33}));
}

TEST(IlbmLineLayout, TwoPlanes40WideHoldSixBytesPerPlaneRowAndAMaskRowLast) {
    std::vector<uint8_t> values(40 * 10);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<uint8_t>((i * 7 + i / 40) % 4);
    for (bool mask : {false, true}) {
        SCOPED_TRACE(mask);
        Bytes body = test::PlanarLines(values, 40, 10, 2, mask, 0xFF);
        ASSERT_EQ(body.size(), (mask ? 18u : 12u) * 10);
        for (size_t line = 0; line < 10; ++line) // fill the padding bits: they must not show
            for (size_t plane = 0; plane < 2; ++plane)
                body[line * (mask ? 18 : 12) + plane * 6 + 5] = 0xFF;
        test::IlbmFile file = Picture(40, 10, 2);
        file.Masking = mask ? 1 : 0;
        file.Chunks = {test::Cmap({0x000000, 0x0000FF, 0x00FF00, 0xFF0000}), IffChunk("BODY", body)};
        const TILBMImage image = Load(test::BuildIlbm(file));
        ASSERT_EQ(image.Width(), 40);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 40; ++x) {
                const uint8_t v = values[static_cast<size_t>(y) * 40 + x];
                ASSERT_EQ(PixelOf(image, x, y),
                          (test::Rgb{uint8_t(v == 3 ? 255 : 0), uint8_t(v == 2 ? 255 : 0), uint8_t(v == 1 ? 255 : 0)}));
            }
    }
}

TEST(IlbmChunks, UnknownOddSizedChunksAreSkippedWithTheirPadByte) {
    test::IlbmFile file = Picture(16, 1, 1);
    file.Chunks = {IffChunk("ANNO", {'a', 'b', 'c'}), test::Cmap({0x000000, 0xFFFFFF}), IffChunk("DPI ", {1}),
                   IffChunk("BODY", {0xF0, 0x0F})};
    const TILBMImage image = Load(test::BuildIlbm(file));
    EXPECT_EQ(PixelOf(image, 0, 0), (test::Rgb{255, 255, 255}));
    EXPECT_EQ(PixelOf(image, 4, 0), (test::Rgb{0, 0, 0}));
    EXPECT_EQ(PixelOf(image, 15, 0), (test::Rgb{255, 255, 255}));
}

TEST(IlbmChunks, BodyWithAShortSizeIsNotReadAgainAsChunks) {
    // The rows of this BODY spell a CMAP chunk header; its stated size is 0.
    test::IlbmFile file = Picture(16, 4, 1);
    Bytes bytes = test::BuildIlbm(file);
    const Bytes body = {'B', 'O', 'D', 'Y', 0, 0, 0, 0, 'C', 'M', 'A', 'P', 0, 0, 0, 3, 0xFF, 0xFF, 0xFF, 0};
    bytes.insert(bytes.end(), body.begin(), body.end());
    const TILBMImage image = Load(bytes);
    EXPECT_EQ(image.PaletteIL.Count(), 0);
    EXPECT_EQ(image.Height(), 4);
}

TEST(IlbmStops, NotAnIlbmOrUnusableHeaderLeavesTheImageEmptyWithoutError) {
    const test::IlbmFile good = Picture(16, 1, 1);
    auto expectEmpty = [](const Bytes& bytes) {
        TILBMImage image;
        EXPECT_NO_THROW(image.LoadFromStream(bytes));
        EXPECT_TRUE(image.Empty());
    };
    test::IlbmFile file = good;
    file.Compression = 2;
    expectEmpty(test::BuildIlbm(file));
    file = good;
    file.Planes = 9;
    expectEmpty(test::BuildIlbm(file));
    Bytes bytes = test::BuildIlbm(good);
    bytes[8] = 'P'; // "PBM " form type
    expectEmpty(bytes);
    bytes = test::BuildIlbm(good);
    bytes[19] = 19; // BMHD size
    expectEmpty(bytes);
    bytes = test::BuildIlbm(good);
    bytes[4] = 0x80; // FORM size above 2147483647
    expectEmpty(bytes);
    expectEmpty({});
}

TEST(IlbmDamaged, TruncatedBodyIsAReadErrorNamingTheOffsetButMissingSingleBytesReadZero) {
    test::IlbmFile file = Picture(16, 2, 1);
    file.Chunks = {IffChunk("BODY", {0x12, 0x34, 0x56})}; // second row uncompressed: one byte short
    Bytes bytes = test::BuildIlbm(file);
    bytes.pop_back(); // the pad byte
    try {
        Load(bytes);
        FAIL() << "a short BODY was read";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr("offset " + std::to_string(bytes.size() - 1)));
    }

    file.Compression = 1;
    file.Chunks = {IffChunk("BODY", {0x01, 0x12, 0x34, 0x03, 0x56})}; // literal run of 4 with 1 byte left
    EXPECT_THROW(Load(test::BuildIlbm(file)), Error);

    // The second row's repeat byte lies past the end: it reads as 0.
    file.Chunks = {test::Cmap({0x000000, 0xFFFFFF}), IffChunk("BODY", {0x01, 0x12, 0x34, 0xFF, 0x77})};
    bytes = test::BuildIlbm(file);
    bytes.resize(bytes.size() - 2);
    TILBMImage image;
    ASSERT_NO_THROW(image.LoadFromStream(bytes));
    EXPECT_EQ(PixelOf(image, 3, 0), (test::Rgb{255, 255, 255}));
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(PixelOf(image, x, 1), (test::Rgb{0, 0, 0}));
}

TEST(IlbmDamaged, HugeHeaderIsRefusedBeforeAllocating) {
    test::IlbmFile file = Picture(65535, 65535, 1);
    try {
        Load(test::BuildIlbm(file));
        FAIL() << "a picture of 65535 x 65535 was allocated";
    } catch (const Error& error) {
        EXPECT_THAT(error.what(), HasSubstr("65535 x 65535"));
    }
    // One column past the 64 Mpixels any picture file may state.
    EXPECT_THROW(Load(test::BuildIlbm(Picture(8193, 8192, 1))), Error);
    Bytes bytes = test::BuildIlbm(Picture(16, 1, 1));
    const Bytes lying = IffChunk("CMAP", {1, 2, 3});
    bytes.insert(bytes.end(), lying.begin(), lying.end());
    bytes[bytes.size() - 8] = 0x7F; // the CMAP claims 2 GB
    EXPECT_THROW(Load(bytes), Error);
}

} // namespace
} // namespace tavrik
