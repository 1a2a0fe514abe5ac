// Tile de-duplication: mirror images count as one tile, equal means equal indexes, and the re-indexed
// map draws the same picture as the full one.
#include "support/TiledReference.h"

#include "app/Error.h"
#include "tiled/UniqueTiles.h"

#include <gtest/gtest.h>

#include <random>

namespace tavrik::test {
namespace {

constexpr int32_t Side = 4;

// A row of 4 x 4 indexed tiles made from patterns.
TiledTileset Tileset(const std::vector<std::array<uint8_t, Side * Side>>& tiles) {
    TiledTileset tileset;
    tileset.TileWidth = tileset.TileHeight = Side;
    tileset.Columns = static_cast<int32_t>(tiles.size());
    tileset.TileCount = tileset.Columns;
    tileset.Sheet.Reset(Side * tileset.Columns, Side, PixelFormat::Indexed8);
    for (int i = 0; i < 256; ++i)
        tileset.Sheet.ColourTable[i] = EntryFromColour(MakeColour(uint8_t(i), uint8_t(i * 3), uint8_t(i * 7)));
    for (size_t t = 0; t < tiles.size(); ++t)
        for (int32_t y = 0; y < Side; ++y)
            for (int32_t x = 0; x < Side; ++x)
                tileset.Sheet.Row(y)[t * Side + x] = tiles[t][y * Side + x];
    return tileset;
}

std::array<uint8_t, Side * Side> Mirrored(const std::array<uint8_t, Side * Side>& tile, bool flipX, bool flipY) {
    std::array<uint8_t, Side * Side> mirrored{};
    for (int32_t y = 0; y < Side; ++y)
        for (int32_t x = 0; x < Side; ++x)
            mirrored[y * Side + x] = tile[(flipY ? Side - 1 - y : y) * Side + (flipX ? Side - 1 - x : x)];
    return mirrored;
}

TEST(UniqueTiles, MirrorImagesAreOneTileAndTheGidsFlipTheKeptTileIntoTheDrawnOne) {
    const std::array<uint8_t, Side * Side> a{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const std::array<uint8_t, Side * Side> symmetric{1, 2, 2, 1, 3, 4, 4, 3, 3, 4, 4, 3, 1, 2, 2, 1};
    std::array<uint8_t, Side* Side> sameColoursOtherIndexes = a;
    sameColoursOtherIndexes[0] = 200;
    TiledMap full;
    full.Tileset = Tileset({a, Mirrored(a, true, false), Mirrored(a, false, true), Mirrored(a, true, true), symmetric,
                            symmetric, sameColoursOtherIndexes, a});
    full.Tileset.Sheet.ColourTable[200] = full.Tileset.Sheet.ColourTable[1];
    constexpr uint32_t X = TiledFlipXBit, Y = TiledFlipYBit;
    // Tile 8 (the last copy of a) is never shown, so it adds nothing.
    full.Width = 4;
    full.Height = 2;
    full.Gids = {2, 3 | X, 4 | X | Y, 1 | Y, 5 | X, 6, 7, 0};
    const TiledMap unique = UniqueTiles(full);
    EXPECT_EQ(unique.Tileset.TileCount, 3);
    // The first cell's tile (a mirrored) is the one kept.
    EXPECT_EQ(unique.Gids, (std::vector<uint32_t>{1, 1 | Y, 1 | X, 1 | X | Y, 2 | X, 2, 3, 0}));
    EXPECT_EQ(CountColourDifferences(DrawTiledMap(unique), DrawTiledMap(full)), 0);
    EXPECT_EQ(KeptTilesText(unique.Tileset.TileCount, full.Tileset.TileCount), "Tiles: 3 of 8 kept");
}

TEST(UniqueTiles, RandomMirroredTilesetsKeepOneTilePerPatternAndDrawTheSamePicture) {
    std::mt19937 rng(1616);
    for (int round = 0; round < 50; ++round) {
        const int patterns = 1 + static_cast<int>(rng() % 12);
        std::vector<std::array<uint8_t, Side * Side>> tiles;
        for (int p = 0; p < patterns; ++p) {
            std::array<uint8_t, Side * Side> pattern{};
            for (uint8_t& index : pattern)
                index = static_cast<uint8_t>(rng() % 3); // few colours: some patterns are symmetric
            for (int copy = 0; copy < 3; ++copy)
                tiles.push_back(Mirrored(pattern, rng() % 2, rng() % 2));
        }
        std::shuffle(tiles.begin(), tiles.end(), rng);
        TiledMap full;
        full.Tileset = Tileset(tiles);
        full.Width = 9;
        full.Height = 7;
        for (int cell = 0; cell < full.Width * full.Height; ++cell) {
            const uint32_t tile = static_cast<uint32_t>(rng() % (tiles.size() + 1));
            full.Gids.push_back(tile == 0 ? 0 : TileGid(tile - 1, static_cast<uint8_t>(rng() % 4)));
        }
        if (std::all_of(full.Gids.begin(), full.Gids.end(), [](uint32_t gid) { return gid == 0; })) continue;
        const TiledMap unique = UniqueTiles(full);
        EXPECT_LE(unique.Tileset.TileCount, patterns);
        EXPECT_EQ(CountColourDifferences(DrawTiledMap(unique), DrawTiledMap(full)), 0) << "round " << round;
        // No two kept tiles are mirror images of each other.
        const TiledMap again = UniqueTiles(unique);
        EXPECT_EQ(again.Tileset.TileCount, unique.Tileset.TileCount);
    }
}

TEST(UniqueTiles, AMapShowingNoTileHasNothingToKeep) {
    TiledMap full;
    full.Tileset = Tileset({{}});
    full.Width = full.Height = 1;
    full.Gids = {0};
    EXPECT_THROW(UniqueTiles(full), Error);
}

} // namespace
} // namespace tavrik::test
