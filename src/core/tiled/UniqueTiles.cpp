// Tile de-duplication by hashing: every tile number the map shows is turned into the orientation that
// comes first of its four, hashed once, and finds its kept twin, mirrored or not, with one look-up
// instead of a comparison with each kept tile.
#include "tiled/UniqueTiles.h"

#include "app/Checked.h"
#include "app/Error.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tavrik {

namespace {

using TileBytes = std::vector<uint8_t>;

uint64_t Mix(uint64_t lane, uint64_t word) {
    lane = (lane ^ word) * 0xFF51AFD7ED558CCDull;
    return lane ^ (lane >> 29);
}

// Four lanes of 64-bit words, so that the multiplications of one tile do not wait for each other.
uint64_t HashBytes(const TileBytes& bytes) {
    std::array<uint64_t, 4> lanes{0x9E3779B97F4A7C15ull ^ bytes.size(), 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                                  0x27D4EB2F165667C5ull};
    size_t i = 0;
    for (; i + 32 <= bytes.size(); i += 32)
        for (size_t lane = 0; lane < 4; ++lane) {
            uint64_t word;
            std::memcpy(&word, bytes.data() + i + lane * 8, 8);
            lanes[lane] = Mix(lanes[lane], word);
        }
    for (; i < bytes.size(); ++i)
        lanes[0] = Mix(lanes[0], bytes[i]);
    return Mix(Mix(Mix(lanes[0], lanes[1]), lanes[2]), lanes[3]);
}

// A row of 1-byte pixels mirrored, as byte-swapped 64-bit words in reverse order where it can be.
void ReverseBytes(const uint8_t* from, uint8_t* to, size_t count) {
    if (count % 8 != 0) {
        std::reverse_copy(from, from + count, to);
        return;
    }
    for (size_t word = 0; word < count / 8; ++word) {
        uint64_t bits;
        std::memcpy(&bits, from + count - 8 * (word + 1), 8);
        bits = __builtin_bswap64(bits);
        std::memcpy(to + 8 * word, &bits, 8);
    }
}

// Copying tiles in and out of tilesets of one tile size and pixel format, and mirroring them.
class TileCutter {
  public:
    explicit TileCutter(const TiledTileset& tileset)
        : Width(static_cast<size_t>(tileset.TileWidth)), Height(static_cast<size_t>(tileset.TileHeight)),
          Bpp(static_cast<size_t>(tileset.Sheet.BytesPerPixel())), RowBytes(Width * Bpp), Size(RowBytes * Height) {}

    void Read(const TiledTileset& tileset, int32_t tile, TileBytes& bytes) const {
        bytes.resize(Size);
        const auto [left, top] = Corner(tileset, tile);
        for (size_t y = 0; y < Height; ++y)
            std::memcpy(bytes.data() + y * RowBytes, tileset.Sheet.Row(top + static_cast<int32_t>(y)) + left, RowBytes);
    }

    void Write(const TileBytes& bytes, int32_t tile, TiledTileset& tileset) const {
        const auto [left, top] = Corner(tileset, tile);
        for (size_t y = 0; y < Height; ++y)
            std::memcpy(tileset.Sheet.Row(top + static_cast<int32_t>(y)) + left, bytes.data() + y * RowBytes, RowBytes);
    }

    // The tile as drawn with flips.
    void Orient(const TileBytes& tile, uint8_t flips, TileBytes& oriented) const {
        oriented.resize(Size);
        for (size_t y = 0; y < Height; ++y) {
            const uint8_t* from = tile.data() + ((flips & FlipYOnly) ? Height - 1 - y : y) * RowBytes;
            uint8_t* to = oriented.data() + y * RowBytes;
            if (!(flips & FlipXOnly))
                std::memcpy(to, from, RowBytes);
            else if (Bpp == 1)
                ReverseBytes(from, to, Width);
            else
                for (size_t x = 0; x < Width; ++x)
                    std::memcpy(to + x * Bpp, from + (Width - 1 - x) * Bpp, Bpp);
        }
    }

  private:
    // The tile's first byte in a row of the sheet, and its top row.
    std::pair<size_t, int32_t> Corner(const TiledTileset& tileset, int32_t tile) const {
        return {static_cast<size_t>(tile % tileset.Columns) * RowBytes, (tile / tileset.Columns) * tileset.TileHeight};
    }

    size_t Width;
    size_t Height;
    size_t Bpp;
    size_t RowBytes;
    size_t Size;
};

// A tileset of the full one's tile size and colours laid out for tiles tiles, at most as many columns
// as the full one.
TiledTileset LaidOutTileset(const TiledTileset& full, int32_t tiles) {
    TiledTileset tileset;
    tileset.TileWidth = full.TileWidth;
    tileset.TileHeight = full.TileHeight;
    tileset.TileCount = tiles;
    tileset.Columns = std::max(std::min(full.Columns, tiles), 1);
    const int32_t rows = (tiles + tileset.Columns - 1) / tileset.Columns;
    tileset.Sheet.Reset(CheckedMul(tileset.Columns, full.TileWidth), CheckedMul(rows, full.TileHeight),
                        full.Sheet.Format());
    tileset.Sheet.ColourTable = full.Sheet.ColourTable;
    return tileset;
}

// A kept tile that, drawn with Flips, gives a tile whose pixels hash to a value with Tag in its top bits.
struct Twin {
    uint32_t Tag = 0;
    int32_t Kept = -1; // -1: an empty slot
    uint8_t Flips = NoFlip;
};

// Open addressing over one array made once at most half full for all the tiles it may get, so a map of
// tens of thousands of tiles makes no allocation per tile. A slot comes from a hash's low bits, the tag
// from its high bits; a look-up walks the probe run until the first empty slot.
class TwinTable {
  public:
    explicit TwinTable(size_t entries) : Slots(std::bit_ceil(std::max<size_t>(entries * 2, 64))) {}

    template <typename Matches> const Twin* Find(uint64_t hash, Matches matches) const {
        for (size_t slot = hash & Mask(); Slots[slot].Kept >= 0; slot = (slot + 1) & Mask())
            if (Slots[slot].Tag == TagOf(hash) && matches(Slots[slot])) return &Slots[slot];
        return nullptr;
    }

    // Callers add at most the entries the table was made for.
    void Add(uint64_t hash, int32_t kept, uint8_t flips) {
        size_t slot = hash & Mask();
        while (Slots[slot].Kept >= 0)
            slot = (slot + 1) & Mask();
        Slots[slot] = {TagOf(hash), kept, flips};
    }

  private:
    static uint32_t TagOf(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }
    size_t Mask() const { return Slots.size() - 1; }

    std::vector<Twin> Slots;
};

// The kept tiles, written straight into the new tileset, each filed under the hash of the one of its
// four orientations that comes first in byte order: a tile and its mirror images have the same four
// orientations, so they meet under one entry.
class KeptTiles {
  public:
    // Room for at most tiles kept tiles.
    KeptTiles(const TiledTileset& full, int32_t tiles)
        : Full(full), Cutter(full), Twins(static_cast<size_t>(tiles)), Kept(LaidOutTileset(full, tiles)) {}

    int32_t Count() const { return KeptCount; }

    // The kept tile that tile number tile of the full tileset is, with the flips that turn the kept tile
    // into it; keeps the tile when it is new.
    std::pair<int32_t, uint8_t> Find(int32_t tile) {
        Cutter.Read(Full, tile, Oriented[NoFlip]);
        const uint8_t filed = FiledOrientation();
        const Twin* found = Twins.Find(FiledHash, [&](const Twin& twin) {
            Cutter.Read(Kept, twin.Kept, Scratch);
            Cutter.Orient(Scratch, twin.Flips, Mirrored);
            return Mirrored == Oriented[filed];
        });
        // tile = filed-flip(found-flip(kept)): the flips combine.
        if (found) return {found->Kept, static_cast<uint8_t>(found->Flips ^ filed)};
        if (KeptCount >= Kept.TileCount) throw Error("More tiles kept than the map shows");
        Cutter.Write(Oriented[NoFlip], KeptCount, Kept);
        Twins.Add(FiledHash, KeptCount, filed);
        return {KeptCount++, NoFlip};
    }

    // The tileset of the kept tiles, laid out again when fewer were kept than there was room for. Ends the
    // look-ups.
    TiledTileset TakeTileset() {
        if (KeptCount == Kept.TileCount) return std::move(Kept);
        TiledTileset tileset = LaidOutTileset(Full, KeptCount);
        TileBytes tile;
        for (int32_t index = 0; index < KeptCount; ++index) {
            Cutter.Read(Kept, index, tile);
            Cutter.Write(tile, index, tileset);
        }
        return tileset;
    }

  private:
    // The orientation whose pixels come first in byte order: the same one of four for a tile and for each
    // of its mirror images, found mostly within a row's first bytes. Only that one is hashed.
    uint8_t FiledOrientation() {
        uint8_t first = NoFlip;
        for (const uint8_t flips : {FlipXOnly, FlipYOnly, FlipBoth}) {
            Cutter.Orient(Oriented[NoFlip], flips, Oriented[flips]);
            if (Oriented[flips] < Oriented[first]) first = flips;
        }
        FiledHash = HashBytes(Oriented[first]);
        return first;
    }

    const TiledTileset& Full;
    TileCutter Cutter;
    TwinTable Twins;
    TiledTileset Kept;
    int32_t KeptCount = 0;
    std::array<TileBytes, 4> Oriented;
    uint64_t FiledHash = 0;
    TileBytes Scratch;
    TileBytes Mirrored;
};

// How many tile numbers the cells show: what the kept tiles may grow to at most.
int32_t ShownTileCount(const TiledMap& map, size_t tileCount) {
    std::vector<bool> shown(tileCount);
    int32_t count = 0;
    for (const uint32_t gid : map.Gids) {
        const uint32_t number = gid & TiledTileBits;
        if (number == 0 || number > tileCount || shown[number - 1]) continue;
        shown[number - 1] = true;
        ++count;
    }
    return count;
}

} // namespace

TiledMap UniqueTiles(const TiledMap& full) {
    // Each tile number of the full tileset is looked up once, the first time a cell shows it: its kept
    // tile (-1 until then) and the flips from that to it.
    std::vector<std::pair<int32_t, uint8_t>> twinOf(static_cast<size_t>(std::max(full.Tileset.TileCount, 0)),
                                                    {-1, NoFlip});
    KeptTiles kept(full.Tileset, ShownTileCount(full, twinOf.size()));
    TiledMap unique;
    unique.Width = full.Width;
    unique.Height = full.Height;
    unique.Background = full.Background;
    unique.Gids.reserve(full.Gids.size());
    for (const uint32_t gid : full.Gids) {
        const uint32_t number = gid & TiledTileBits;
        if (number == 0 || number > twinOf.size()) {
            unique.Gids.push_back(0);
            continue;
        }
        auto& [keptTile, flips] = twinOf[number - 1];
        if (keptTile < 0) std::tie(keptTile, flips) = kept.Find(static_cast<int32_t>(number - 1));
        // The cell draws its tile mirrored, and its tile is the kept tile mirrored: mirrorings combine.
        unique.Gids.push_back(TileGid(static_cast<uint32_t>(keptTile), FlipsOfGid(gid) ^ flips));
    }
    if (kept.Count() == 0) throw Error("No cell of the map shows a tile: there is no tile to keep");
    unique.Tileset = kept.TakeTileset();
    return unique;
}

std::string KeptTilesText(int32_t kept, int32_t total) {
    return "Tiles: " + std::to_string(kept) + " of " + std::to_string(total) + " kept";
}

} // namespace tavrik
