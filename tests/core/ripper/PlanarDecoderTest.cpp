// The planar decoders: read position rules, pixel composition per mode, and the fast decoder checked
// against the literal one on many generated inputs.
#include "ripper/PlanarDecoder.h"

#include "ripper/RipParameterReader.h"
#include "support/PlanarMaker.h"
#include "support/PlanarReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>

namespace tavrik {
namespace {

using test::Bytes;

TEST(PlanarReader, NothingLoadedReadsZero) {
    PlanarReader reader({}, 0);
    EXPECT_EQ(reader.ReadWord(), 0);
    EXPECT_EQ(reader.Tell(), 0);
}

Image Decode(const Bytes& memory, const TileDecodeRequest& request, int32_t width, int32_t height) {
    Image target(width, height, PixelFormat::Indexed8);
    DecodeTiles(memory, request, target);
    return target;
}

TileDecodeRequest Request(RipMode mode, int32_t planes, int32_t tileWidth, int32_t tileHeight, int32_t across = 1,
                          int32_t down = 1) {
    TileDecodeRequest request;
    request.Parameters.Mode = static_cast<int32_t>(mode);
    request.Parameters.Bitplanes = planes;
    request.Parameters.TileWidth = tileWidth;
    request.Parameters.TileHeight = tileHeight;
    request.TilesAcross = across;
    request.TilesDown = down;
    return request;
}

TEST(PlanarDecoder, PlanesAddTheirOrderValuesAndCarryIntoTheNextBit) {
    test::PixelGrid grid(16, 1);
    grid.Set(0, 0, 3); // set in planes 0 and 1
    grid.Set(1, 0, 1);
    TileDecodeRequest request = Request(RipMode::AmigaIlbm, 2, 16, 1);
    request.Order = {1, 1, 3, 4, 5, 6, 7, 8};
    const Image sheet = Decode(test::IlbmBytes(grid, 2), request, 16, 1);
    EXPECT_EQ(sheet.IndexAt(0, 0), 2);
    EXPECT_EQ(sheet.IndexAt(1, 0), 1);
}

TEST(PlanarDecoder, SumsWrapAt256PerPixelWithoutTouchingNeighbours) {
    Bytes memory = test::Repeat(0xFF, 8 * 2); // 8 planes of a 16 x 1 row, all set
    TileDecodeRequest request = Request(RipMode::AmigaAcbm, 8, 16, 1);
    request.Order = {8, 8, 8, 1, 2, 3, 4, 5}; // 3 x 128 + 31 = 415 = 159 mod 256
    const Image sheet = Decode(memory, request, 16, 1);
    for (int32_t x = 0; x < 16; ++x)
        EXPECT_EQ(sheet.IndexAt(x, 0), 159) << x;
}

TEST(PlanarDecoder, AcbmXPlaneIsSetEverywhereButIlbmXOnlyWhereBitsAre) {
    test::PixelGrid grid(16, 2);
    grid.Set(5, 1, 1);
    TileDecodeRequest request = Request(RipMode::AmigaAcbm, 1, 16, 2);
    request.Order = {9, 2, 3, 4, 5, 6, 7, 8};
    const Image acbm = Decode(test::AcbmBytes(grid, 1), request, 16, 2);
    EXPECT_EQ(acbm.IndexAt(0, 0), 2); // background 1 plus the plane's 1
    EXPECT_EQ(acbm.IndexAt(5, 1), 2);
    request.Parameters.Mode = static_cast<int32_t>(RipMode::AmigaIlbm);
    const Image ilbm = Decode(test::IlbmBytes(grid, 1), request, 16, 2);
    EXPECT_EQ(ilbm.IndexAt(0, 0), 1);
    EXPECT_EQ(ilbm.IndexAt(5, 1), 2);
}

TEST(PlanarDecoder, AtariStInterleavesPlaneWordsPerSixteenPixels) {
    test::PixelGrid grid(32, 2);
    grid.Set(0, 0, 1);
    grid.Set(17, 0, 2);
    grid.Set(31, 1, 3);
    const Image sheet = Decode(test::AtariStBytes(grid, 2), Request(RipMode::AtariSt, 2, 32, 2), 32, 2);
    EXPECT_EQ(sheet.IndexAt(0, 0), 1);
    EXPECT_EQ(sheet.IndexAt(17, 0), 2);
    EXPECT_EQ(sheet.IndexAt(31, 1), 3);
    EXPECT_EQ(sheet.IndexAt(1, 0), 0);
}

TEST(PlanarDecoder, AtariStIgnoresMasksAndSkips) {
    test::PixelGrid grid(16, 2, 1);
    TileDecodeRequest request = Request(RipMode::AtariSt, 1, 16, 2, 2, 1);
    request.Parameters.MaskBefore = true;
    request.Parameters.MaskAfter = true;
    request.Parameters.SkipBetweenTiles = 6;
    request.Parameters.SkipBetweenPlanes = 2;
    Bytes memory = test::AtariStBytes(grid, 1);
    test::Append(memory, test::AtariStBytes(test::PixelGrid(16, 2, 0), 1));
    const Image sheet = Decode(memory, request, 32, 2);
    EXPECT_EQ(sheet.IndexAt(0, 1), 1);
    EXPECT_EQ(sheet.IndexAt(16, 0), 0); // the second tile starts right after the first's 4 bytes
}

TEST(PlanarDecoder, SpritesOrTheirValueWithTheColourBank) {
    test::PixelGrid grid(16, 1);
    grid.Set(0, 0, 3);
    grid.Set(1, 0, 1);
    TileDecodeRequest request = Request(RipMode::Sprites, 2, 16, 1);
    request.SpriteBank = 2; // "Sprite 4/5"
    const Image sheet = Decode(test::SpriteBytes(grid, 2), request, 16, 1);
    EXPECT_EQ(sheet.IndexAt(0, 0), 27);
    EXPECT_EQ(sheet.IndexAt(1, 0), 25);
    EXPECT_EQ(sheet.IndexAt(2, 0), 0);
}

TEST(PlanarDecoder, FourPlaneSpritesReadTwoSpritesWithTheTileSkipAfterEach) {
    test::PixelGrid grid(16, 16);
    grid.Set(3, 2, 13);                               // bits 0 and 2 and 3
    const Bytes sprites = test::SpriteBytes(grid, 4); // 64 bytes each
    Bytes memory(sprites.begin(), sprites.begin() + 64);
    test::Append(memory, test::Repeat(0xFF, 8));
    memory.insert(memory.end(), sprites.begin() + 64, sprites.end());
    test::Append(memory, test::Repeat(0xFF, 8));
    test::Append(memory, test::Repeat(0x80, 152)); // the second tile
    TileDecodeRequest request = Request(RipMode::Sprites, 4, 16, 16, 2, 1);
    request.Parameters.SkipBetweenTiles = 8;
    request.SpriteBank = 3; // no effect beyond two planes
    const Image sheet = Decode(memory, request, 32, 16);
    EXPECT_EQ(sheet.IndexAt(3, 2), 16 + 13);
    EXPECT_EQ(sheet.IndexAt(4, 2), 0);
    EXPECT_EQ(sheet.IndexAt(16, 0), 16 + 15);
    EXPECT_EQ(sheet.IndexAt(17, 0), 0);
}

TEST(PlanarDecoder, OnePlaneSpritesShowTwoWordsAsThirtyTwoPixelsOverTheBackground) {
    TileDecodeRequest request = Request(RipMode::Sprites, 1, 32, 1);
    request.Order = {1, 9, 3, 4, 5, 6, 7, 8}; // background 2
    const Image sheet = Decode({0x80, 0x00, 0x00, 0x01}, request, 32, 1);
    EXPECT_EQ(sheet.IndexAt(0, 0), 17 | 2);
    EXPECT_EQ(sheet.IndexAt(31, 0), 17 | 2);
    EXPECT_EQ(sheet.IndexAt(1, 0), 2);
}

TEST(PlanarDecoder, C64MulticolourReplacesPixelsInPairs) {
    TileDecodeRequest request = Request(RipMode::C64, 2, 8, 8);
    request.Order = {9, 2, 3, 4, 5, 6, 7, 8};
    const Image sheet = Decode(Bytes{0x1B, 0, 0, 0, 0, 0, 0, 0}, request, 8, 8);
    const uint8_t expected[8] = {0, 0, 1, 1, 2, 2, 3, 3};
    for (int32_t x = 0; x < 8; ++x)
        EXPECT_EQ(sheet.IndexAt(x, 0), expected[x]) << x;
    EXPECT_EQ(sheet.IndexAt(0, 1), 0); // the background does not show inside the cell
}

TEST(PlanarDecoder, CellsReachingPastTheSheetAreClipped) {
    // C64 keeps the tile counts of the typed tile size, so 4-pixel tiles give more 8-pixel cells than fit.
    TileDecodeRequest request = Request(RipMode::C64, 2, 8, 8, 4, 1);
    const Image sheet = Decode(test::Repeat(0xFF, 32), request, 16, 8);
    EXPECT_EQ(sheet.IndexAt(15, 7), 3);
}

TEST(PlanarDecoder, NegativeTileCountsDecodeNothing) {
    TileDecodeRequest request = Request(RipMode::AmigaAcbm, 1, 16, 16, -2, -2);
    request.Order = {9, 9, 3, 4, 5, 6, 7, 8};
    const Image sheet = Decode(test::Repeat(0xFF, 256), request, 16, 16);
    EXPECT_TRUE(std::all_of(sheet.Data().begin(), sheet.Data().end(), [](uint8_t v) { return v == 3; }));
}

// Decodes by the vector loop, the portable loop and the literal decoder and compares them pixel by pixel.
// The table-driven decoder paints every pixel, so its targets start with left-overs of an earlier rip.
void ExpectMatchesLiteral(const Bytes& memory, TileDecodeRequest request, int32_t width, int32_t height,
                          const std::string& label) {
    Image fast(width, height, PixelFormat::Indexed8);
    fast.Fill(0xA5);
    Image portable = fast;
    Image literal(width, height, PixelFormat::Indexed8);
    literal.Fill(BackgroundIndex(request.Order));
    DecodeTiles(memory, request, fast);
    request.AllowSimd = false;
    DecodeTiles(memory, request, portable);
    test::ReferenceDecodeTiles(memory, request, literal);
    ASSERT_EQ(portable.Data(), literal.Data()) << "portable loop, " << label;
    ASSERT_EQ(fast.Data(), literal.Data()) << label;
}

// An "X" in every position of the order, in every mode and at every tile width from 1 to 40: in "Amiga ACBM"
// (and C64 with one plane, read as ACBM) the plane is set at every pixel of the tile, also in the columns
// past the last whole byte of a row that no plane byte covers. Each case is ripped from the start of the
// memory, where every tile takes the in-memory loop, and from just before its end, where the tiles take
// the exact path that follows the read position.
TEST(PlanarDecoder, XPlanesMatchTheLiteralDecoderAtEveryTileWidth) {
    std::mt19937 random(20261210);
    Bytes memory(800); // more than six tiles of 40 x 3 pixels in eight planes
    for (uint8_t& byte : memory)
        byte = static_cast<uint8_t>(random());
    for (int32_t mode = 0; mode <= 4; ++mode)
        for (int32_t tileWidth = 1; tileWidth <= 40; ++tileWidth)
            for (size_t position = 0; position < 8; ++position)
                for (const int32_t address : {0, 790}) {
                    TileDecodeRequest request = Request(static_cast<RipMode>(mode), 1, tileWidth, 3, 3, 2);
                    RipParameters& p = request.Parameters;
                    // One plane as well as eight: an "X" past the planes read only raises the background.
                    p.Bitplanes = position % 2 == 0 ? 1 : 8;
                    p.Address = address;
                    request.Order[position] = 9;
                    if (mode == static_cast<int>(RipMode::Sprites)) p.TileWidth = p.Bitplanes == 1 ? 32 : 16;
                    if (mode == static_cast<int>(RipMode::C64)) p.TileWidth = p.TileHeight = 8;
                    ExpectMatchesLiteral(memory, request, 3 * p.TileWidth + 5, 2 * p.TileHeight + 1,
                                         "mode " + std::to_string(mode) + " tile width " + std::to_string(tileWidth) +
                                             " X at " + std::to_string(position) + " address " +
                                             std::to_string(address));
                    if (HasFatalFailure()) return;
                }
}

// Random requests near and beyond both ends of the memory, compared pixel by pixel with the literal decoder.
TEST(PlanarDecoder, MatchesTheLiteralDecoderOnGeneratedInputs) {
    std::mt19937 random(20240611);
    auto pick = [&](int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random); };
    for (int run = 0; run < 3000; ++run) {
        Bytes memory(static_cast<size_t>(pick(0, 3000)));
        for (uint8_t& byte : memory)
            byte = static_cast<uint8_t>(pick(0, 255));
        TileDecodeRequest request;
        RipParameters& p = request.Parameters;
        p.Mode = pick(0, 4);
        p.Bitplanes = std::min(pick(-1, 12), 8);
        const int32_t widthKind = pick(0, 5);
        p.TileWidth = widthKind == 0 ? pick(1, 40) : widthKind == 1 ? 8 * pick(32, 44) : 8 * pick(1, 9);
        p.TileHeight = widthKind == 1 ? pick(1, 3) : pick(1, 12);
        p.MaskBefore = pick(0, 1) == 1;
        p.MaskAfter = pick(0, 1) == 1;
        p.SkipBetweenPlanes = pick(0, 2) == 0 ? pick(-24, 24) : 0;
        p.SkipBetweenTiles = pick(0, 2) == 0 ? pick(-40, 40) : 0;
        const int32_t size = static_cast<int32_t>(memory.size());
        const int32_t place = pick(0, 3);
        p.Address = place == 0 ? pick(-60, 20) : place == 1 ? pick(size - 200, size + 20) : pick(0, size);
        if (pick(0, 2) == 0) { // distinct powers of two, as the default order and its rearrangements
            std::iota(request.Order.begin(), request.Order.end(), 1);
            std::shuffle(request.Order.begin(), request.Order.end(), random);
            if (pick(0, 2) == 0) request.Order[static_cast<size_t>(pick(0, 7))] = 0;
        } else {
            for (int32_t& entry : request.Order)
                entry = pick(0, 3) == 0 ? 9 : pick(0, 8);
        }
        request.SpriteBank = pick(0, 3);
        if (p.Mode == static_cast<int32_t>(RipMode::Sprites)) p.TileWidth = p.Bitplanes == 1 ? 32 : 16;
        const int32_t width = std::max(pick(1, 80), p.TileWidth) + (pick(0, 1) == 1 ? p.TileWidth : 0);
        const int32_t height = std::max(pick(1, 40), p.TileHeight);
        request.TilesAcross = width / p.TileWidth;
        request.TilesDown = height / p.TileHeight;
        if (p.Mode == static_cast<int32_t>(RipMode::C64)) p.TileWidth = p.TileHeight = 8;

        ExpectMatchesLiteral(memory, request, width, height,
                             "run " + std::to_string(run) + " mode " + std::to_string(p.Mode) + " planes " +
                                 std::to_string(p.Bitplanes) + " tile " + std::to_string(p.TileWidth) + "x" +
                                 std::to_string(p.TileHeight) + " address " + std::to_string(p.Address) + " of " +
                                 std::to_string(size) + " skips " + std::to_string(p.SkipBetweenPlanes) + "/" +
                                 std::to_string(p.SkipBetweenTiles));
        if (HasFatalFailure()) return;
    }
}

} // namespace
} // namespace tavrik
