// NEOchrome and DEGAS reading: format detection, the ST colour rule, plane layouts, run-length data, stops.
#include "imageio/NeoImage.h"

#include "support/PictureTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavrik {
namespace {

using test::Bytes;

void PutWord(Bytes& out, uint16_t word) { out.insert(out.end(), {uint8_t(word >> 8), uint8_t(word)}); }

Bytes Header(uint16_t first, const std::vector<uint16_t>& palette) {
    Bytes out;
    PutWord(out, first);
    for (int i = 0; i < 16; ++i)
        PutWord(out, i < int(palette.size()) ? palette[i] : 0);
    return out;
}

// Every 16 pixels one word per plane, as the uncompressed formats store them.
Bytes Interleaved(const std::vector<uint8_t>& values, int width, int height, int planes) {
    Bytes out;
    for (int y = 0; y < height; ++y)
        for (int group = 0; group < width / 16; ++group)
            for (int plane = 0; plane < planes; ++plane) {
                uint16_t word = 0;
                for (int bit = 0; bit < 16; ++bit)
                    if (values[static_cast<size_t>(y) * width + group * 16 + bit] >> plane & 1)
                        word |= static_cast<uint16_t>(0x8000 >> bit);
                PutWord(out, word);
            }
    return out;
}

std::vector<uint8_t> Pattern(int width, int height, int planes) {
    std::vector<uint8_t> values(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<uint8_t>((i * 5 + i / width * 3 + i / 37) % (1u << planes));
    return values;
}

TNEOImage Load(const Bytes& bytes, TAtariFormat preset = TAtariFormat::afUnknown) {
    TNEOImage image;
    image.AtariFormat = preset;
    image.LoadFromStream(bytes);
    return image;
}

void ExpectIndexes(const TNEOImage& image, const std::vector<uint8_t>& values) {
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            ASSERT_EQ(image.IndexAt(x, y), values[static_cast<size_t>(y) * image.Width() + x]) << x << "," << y;
}

TEST(AtariColour, WordIsDoubledAndEachNibbleTimes17) {
    EXPECT_EQ(AtariColourToColour(0x0777), MakeColour(238, 238, 238));
    EXPECT_EQ(AtariColourToColour(0x0123), MakeColour(34, 68, 102));
    EXPECT_EQ(AtariColourToColour(0x0700), MakeColour(238, 0, 0));
}

TEST(DegasUncompressed, LowResolutionOf32034BytesIsDegasWithItsPalette) {
    const std::vector<uint8_t> values = Pattern(320, 200, 4);
    Bytes file = Header(0, {0x0777, 0x0700, 0x0070, 0x0007});
    const Bytes data = Interleaved(values, 320, 200, 4);
    file.insert(file.end(), data.begin(), data.end());
    ASSERT_EQ(file.size(), 32034u);
    const TNEOImage image = Load(file);
    EXPECT_EQ(image.AtariFormat, TAtariFormat::afDEGAS);
    ASSERT_EQ(image.Width(), 320);
    ASSERT_EQ(image.Height(), 200);
    EXPECT_EQ(image.Format(), PixelFormat::Indexed8);
    ASSERT_EQ(image.PaletteIL.Count(), 16);
    EXPECT_EQ(static_cast<Colour>(image.PaletteIL.Get(0)), MakeColour(238, 238, 238));
    EXPECT_EQ(image.ColourTable[1], EntryFromColour(MakeColour(238, 0, 0)));
    EXPECT_EQ(image.PaletteIL.Get(15), 0); // sixteen entries even when they repeat
    ExpectIndexes(image, values);

    file.insert(file.end(), 32, 0xFF);
    const TNEOImage elite = Load(file);
    EXPECT_EQ(elite.AtariFormat, TAtariFormat::afDEGASElite);
    ExpectIndexes(elite, values);
}

TEST(DegasUncompressed, HighResolutionIsOnePlaneAndOtherLengthsStillReadAsDegas) {
    const std::vector<uint8_t> mono = Pattern(640, 400, 1);
    Bytes file = Header(2, {0x0777, 0x0000});
    const Bytes data = Interleaved(mono, 640, 400, 1);
    file.insert(file.end(), data.begin(), data.end());
    TNEOImage image = Load(file);
    EXPECT_EQ(image.AtariFormat, TAtariFormat::afDEGAS);
    ASSERT_EQ(image.Width(), 640);
    ASSERT_EQ(image.Height(), 400);
    ExpectIndexes(image, mono);

    // Medium resolution cut short: read on as zeros.
    std::vector<uint8_t> medium = Pattern(640, 200, 2);
    file = Header(1, {});
    const Bytes mediumData = Interleaved(medium, 640, 200, 2);
    file.insert(file.end(), mediumData.begin(), mediumData.begin() + 20000);
    image = Load(file);
    EXPECT_EQ(image.AtariFormat, TAtariFormat::afDEGAS);
    ASSERT_EQ(image.Width(), 640);
    ASSERT_EQ(image.Height(), 200);
    std::fill(medium.begin() + 20000 / 4 * 16, medium.end(), 0); // 4 bytes hold 16 pixels of 2 planes
    ExpectIndexes(image, medium);
}

TEST(DegasUncompressed, TenByteFileGivesAPictureWithoutCrashing) {
    const Bytes file = {0, 0, 0x07, 0x77, 0x07, 0x00, 0x00, 0x70, 0x00, 0x07};
    const TNEOImage image = Load(file);
    EXPECT_EQ(image.Width(), 320);
    EXPECT_EQ(image.PaletteIL.Get(3), int32_t(MakeColour(0, 0, 238)));
    EXPECT_EQ(image.PaletteIL.Get(4), 0);
    EXPECT_EQ(std::count(image.Data().begin(), image.Data().end(), 0), 320 * 200);
}

// Each row holds every plane's whole row in turn.
Bytes PlaneRows(const std::vector<uint8_t>& values, int width, int height, int planes) {
    Bytes out;
    for (int y = 0; y < height; ++y)
        for (int plane = 0; plane < planes; ++plane)
            for (int byte = 0; byte < width / 8; ++byte) {
                uint8_t bits = 0;
                for (int bit = 0; bit < 8; ++bit)
                    if (values[static_cast<size_t>(y) * width + byte * 8 + bit] >> plane & 1)
                        bits |= static_cast<uint8_t>(0x80 >> bit);
                out.push_back(bits);
            }
    return out;
}

TEST(DegasCompressed, RepeatRunFillsThirtyTwoPixelsOfItsPlane) {
    // 80 zero bytes for planes 0 and 1 of row 0, then four $FF bytes of plane 2.
    Bytes file = Header(0x8000, {});
    file.insert(file.end(), {0xB1, 0x00, 0xFD, 0xFF});
    const TNEOImage image = Load(file);
    EXPECT_EQ(image.AtariFormat, TAtariFormat::afDEGASEliteCompressed);
    ASSERT_EQ(image.Width(), 320);
    for (int x = 0; x < 320; ++x)
        ASSERT_EQ(image.IndexAt(x, 0), x < 32 ? 4 : 0) << x;
    EXPECT_EQ(image.IndexAt(0, 1), 0);
}

TEST(DegasCompressed, RunsCarryOnAcrossRowsAndPlanesForEveryResolution) {
    struct Case {
        uint16_t First;
        int Width, Height, Planes;
    };
    for (const Case& c : {Case{0x8000, 320, 200, 4}, Case{0x8001, 640, 200, 2}, Case{0x8002, 640, 400, 1}}) {
        SCOPED_TRACE(c.First);
        std::vector<uint8_t> values = Pattern(c.Width, c.Height, c.Planes);
        std::fill(values.begin() + c.Width * 3 + 100, values.begin() + c.Width * 9, 0); // runs spanning rows
        Bytes file = Header(c.First, {0x0111});
        const Bytes packed = test::ByteRun1(PlaneRows(values, c.Width, c.Height, c.Planes));
        file.insert(file.end(), packed.begin(), packed.end());
        const TNEOImage image = Load(file);
        ASSERT_EQ(image.Width(), c.Width);
        ASSERT_EQ(image.Height(), c.Height);
        EXPECT_EQ(image.ColourTable[0], EntryFromColour(MakeColour(34, 34, 34)));
        ExpectIndexes(image, values);
    }
}

TEST(DegasCompressed, PresetCompressedFormatDecodesAnUncompressedFileAsCompressed) {
    Bytes file = Header(0, {});
    file.insert(file.end(), {0xFD, 0xFF});
    file.resize(32034, 0);
    const TNEOImage image = Load(file, TAtariFormat::afDEGASEliteCompressed);
    EXPECT_EQ(image.AtariFormat, TAtariFormat::afDEGASEliteCompressed);
    EXPECT_EQ(image.IndexAt(31, 0), 1); // read plainly, pixels 16 to 31 would be 0
    EXPECT_EQ(image.IndexAt(32, 0), 0);
}

Bytes NeoFile(uint16_t resolution, const std::vector<uint8_t>& values) {
    Bytes file = Header(0, {0x0777});
    file.insert(file.begin() + 2, {uint8_t(resolution >> 8), uint8_t(resolution)});
    const std::string name = "PICTURE .NEO";
    file.insert(file.end(), name.begin(), name.end());
    file.insert(file.end(), 80, 0xEE);
    const Bytes data = Interleaved(values, 320, 200, 4);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

TEST(Neochrome, HeaderOf128BytesIsPassedOverExactly) {
    const std::vector<uint8_t> values = Pattern(320, 200, 4);
    const Bytes file = NeoFile(0, values);
    ASSERT_EQ(file.size(), 128u + 32000);
    const TNEOImage image = Load(file, TAtariFormat::afNEO);
    EXPECT_EQ(image.AtariFormat, TAtariFormat::afNEO);
    EXPECT_EQ(image.PictureName, "PICTURE .NEO");
    EXPECT_EQ(static_cast<Colour>(image.PaletteIL.Get(0)), MakeColour(238, 238, 238));
    ExpectIndexes(image, values);
}

TEST(NeoAndDegasStops, UnknownFirstWordOrNeoResolutionOtherThanZeroLeaveTheImageEmpty) {
    TNEOImage image;
    image.AtariFormat = TAtariFormat::afNEO;
    image.PaletteIL.Add(12345);
    image.LoadFromStream(NeoFile(1, Pattern(320, 200, 4)));
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.PaletteIL.Values(), std::vector<int32_t>{12345});

    for (uint16_t first : {uint16_t{3}, uint16_t{0x7FFF}, uint16_t{0x8003}}) {
        Bytes file = Header(first, {0x0777});
        file.resize(32034);
        const TNEOImage other = Load(file);
        EXPECT_TRUE(other.Empty()) << first;
        EXPECT_EQ(other.PaletteIL.Count(), 0);
        EXPECT_EQ(other.AtariFormat, TAtariFormat::afUnknown);
    }
}

} // namespace
} // namespace tavrik
