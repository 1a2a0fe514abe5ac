// Tile de-duplication by hashing: every new tile is hashed once in each of its four orientations, so a
// later tile finds its kept twin, mirrored or not, with one look-up instead of a comparison with each.
#include "tiled/UniqueTiles.h"

#include "app/Checked.h"
#include "app/Error.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace tavrik {

namespace {

using TileBytes = std::vector<uint8_t>;

uint64_t HashBytes(const TileBytes& bytes) {
    uint64_t hash = 0x9E3779B97F4A7C15ull ^ bytes.size();
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 29;
    }
    for (; i < bytes.size(); ++i)
        hash = (hash ^ bytes[i]) * 0x100000001B3ull;
    return hash ^ (hash >> 32);
}

// The pixels of the tiles of one tileset, and the same tiles laid into a new sheet.
class TileCutter {
  public:
    explicit TileCutter(const TiledTileset& tileset)
        : Tileset(tileset), Bpp(static_cast<size_t>(tileset.Sheet.BytesPerPixel())),
          RowBytes(static_cast<size_t>(tileset.TileWidth) * Bpp),
          Size(RowBytes * static_cast<size_t>(tileset.TileHeight)) {}

    size_t TileSize() const { return Size; }

    void Read(int32_t tile, TileBytes& bytes) const {
        bytes.resize(Size);
        const int32_t left = (tile % Tileset.Columns) * Tileset.TileWidth;
        const int32_t top = (tile / Tileset.Columns) * Tileset.TileHeight;
        for (int32_t y = 0; y < Tileset.TileHeight; ++y)
            std::memcpy(bytes.data() + static_cast<size_t>(y) * RowBytes,
                        Tileset.Sheet.Row(top + y) + static_cast<size_t>(left) * Bpp, RowBytes);
    }

    // The tile as drawn with flips.
    void Orient(const uint8_t* tile, uint8_t flips, TileBytes& oriented) const {
        oriented.resize(Size);
        const auto height = static_cast<size_t>(Tileset.TileHeight);
        const auto width = static_cast<size_t>(Tileset.TileWidth);
        for (size_t y = 0; y < height; ++y) {
            const uint8_t* from = tile + ((flips & FlipYOnly) ? height - 1 - y : y) * RowBytes;
            uint8_t* to = oriented.data() + y * RowBytes;
            if (!(flips & FlipXOnly)) {
                std::memcpy(to, from, RowBytes);
                continue;
            }
            for (size_t x = 0; x < width; ++x)
                std::memcpy(to + x * Bpp, from + (width - 1 - x) * Bpp, Bpp);
        }
    }

    void Write(const uint8_t* tile, int32_t index, TiledTileset& target) const {
        const int32_t left = (index % target.Columns) * target.TileWidth;
        const int32_t top = (index / target.Columns) * target.TileHeight;
        for (int32_t y = 0; y < target.TileHeight; ++y)
            std::memcpy(target.Sheet.Row(top + y) + static_cast<size_t>(left) * Bpp,
                        tile + static_cast<size_t>(y) * RowBytes, RowBytes);
    }

  private:
    const TiledTileset& Tileset;
    size_t Bpp;
    size_t RowBytes;
    size_t Size;
};

// A kept tile that, drawn with Flips, gives a tile of a hash.
struct Twin {
    int32_t Kept;
    uint8_t Flips;
};

// The kept tiles and the look-up from any orientation of them.
class KeptTiles {
  public:
    explicit KeptTiles(const TileCutter& cutter) : Cutter(cutter) {}

    int32_t Count() const { return static_cast<int32_t>(Pixels.size() / std::max<size_t>(Cutter.TileSize(), 1)); }
    const uint8_t* Tile(int32_t kept) const { return Pixels.data() + static_cast<size_t>(kept) * Cutter.TileSize(); }

    // The kept tile that tile is, and the flips that turn the kept tile into it; keeps tile when it is new.
    Twin Find(const TileBytes& tile) {
        const uint64_t hash = HashBytes(tile);
        if (const auto found = ByHash.find(hash); found != ByHash.end())
            for (const Twin& twin : found->second)
                if (Matches(twin, tile)) return twin;
        return Keep(tile, hash);
    }

  private:
    bool Matches(const Twin& twin, const TileBytes& tile) {
        Cutter.Orient(Tile(twin.Kept), twin.Flips, Scratch);
        return Scratch == tile;
    }

    Twin Keep(const TileBytes& tile, uint64_t hash) {
        const int32_t kept = Count();
        Pixels.insert(Pixels.end(), tile.begin(), tile.end());
        ByHash[hash].push_back({kept, NoFlip});
        for (const uint8_t flips : {FlipXOnly, FlipYOnly, FlipBoth}) {
            Cutter.Orient(tile.data(), flips, Scratch);
            if (Scratch != tile) ByHash[HashBytes(Scratch)].push_back({kept, flips});
        }
        return {kept, NoFlip};
    }

    const TileCutter& Cutter;
    std::vector<uint8_t> Pixels;
    std::unordered_map<uint64_t, std::vector<Twin>> ByHash;
    TileBytes Scratch;
};

TiledTileset KeptTileset(const TiledTileset& full, const KeptTiles& kept, const TileCutter& cutter) {
    TiledTileset tileset;
    tileset.TileWidth = full.TileWidth;
    tileset.TileHeight = full.TileHeight;
    tileset.TileCount = kept.Count();
    tileset.Columns = std::min(full.Columns, tileset.TileCount);
    const int32_t rows = (tileset.TileCount + tileset.Columns - 1) / tileset.Columns;
    tileset.Sheet.Reset(CheckedMul(tileset.Columns, full.TileWidth), CheckedMul(rows, full.TileHeight),
                        full.Sheet.Format());
    tileset.Sheet.ColourTable = full.Sheet.ColourTable;
    for (int32_t index = 0; index < tileset.TileCount; ++index)
        cutter.Write(kept.Tile(index), index, tileset);
    return tileset;
}

} // namespace

TiledMap UniqueTiles(const TiledMap& full) {
    const TileCutter cutter(full.Tileset);
    KeptTiles kept(cutter);
    // Each tile number of the full tileset is looked up once, the first time a cell shows it.
    constexpr Twin Unseen{-1, NoFlip};
    std::vector<Twin> twinOf(static_cast<size_t>(std::max(full.Tileset.TileCount, 0)), Unseen);
    TiledMap unique;
    unique.Width = full.Width;
    unique.Height = full.Height;
    unique.Background = full.Background;
    unique.Gids.reserve(full.Gids.size());
    TileBytes tile;
    for (const uint32_t gid : full.Gids) {
        const uint32_t number = gid & TiledTileBits;
        if (number == 0 || number > twinOf.size()) {
            unique.Gids.push_back(0);
            continue;
        }
        Twin& twin = twinOf[number - 1];
        if (twin.Kept < 0) {
            cutter.Read(static_cast<int32_t>(number - 1), tile);
            twin = kept.Find(tile);
        }
        // The cell draws its tile mirrored, and its tile is the kept tile mirrored: mirrorings combine.
        unique.Gids.push_back(TileGid(static_cast<uint32_t>(twin.Kept), FlipsOfGid(gid) ^ twin.Flips));
    }
    if (kept.Count() == 0) throw Error("No cell of the map shows a tile: there is no tile to keep");
    unique.Tileset = KeptTileset(full.Tileset, kept, cutter);
    return unique;
}

std::string KeptTilesText(int32_t kept, int32_t total) {
    return "Tiles: " + std::to_string(kept) + " of " + std::to_string(total) + " kept";
}

} // namespace tavrik
