// The ripper's "Sprites" mode: Amiga hardware sprites decoded tile after tile.
#include "ripper/TileDecoding.h"

namespace tavrik::tiles {

namespace {

using lanes::BitLanes;

// Amiga hardware sprites: one or two sprites of two words per row (one plane: two words side by side),
// each set bit ORing the sprite value into its pixel.
class SpriteTileDecoder {
  public:
    explicit SpriteTileDecoder(const TileDecodeRequest& request) {
        const RipParameters& p = request.Parameters;
        PlanesPerSprite = p.Bitplanes == 1 ? 1 : 2;
        Sprites = p.Bitplanes >= 3 ? 2 : 1;
        Rows = std::max(p.TileHeight, 0);
        Groups = std::max(p.TileWidth / 16, 0);
        SkipBetweenTiles = p.SkipBetweenTiles;
        const int32_t bank = p.Bitplanes == 2 ? 4 * (request.SpriteBank & 3) : 0;
        for (int32_t s = 0; s < Sprites; ++s)
            for (int32_t q = 0; q < PlanesPerSprite; ++q)
                Value[static_cast<size_t>(s)][static_cast<size_t>(q)] =
                    static_cast<Lanes>((1 << (2 * s + q)) | 16 | bank);
        const int64_t spriteBytes = Mul(Mul(Mul(Rows, PlanesPerSprite), Groups), 2);
        Stride = Add(spriteBytes, SkipBetweenTiles);
        ReachOfTile.HasReads = spriteBytes > 0;
        ReachOfTile.First = std::min<int64_t>(0, Mul(Sprites - 1, Stride));
        ReachOfTile.Last = std::max<int64_t>(0, Mul(Sprites - 1, Stride)) + spriteBytes - 1;
        ReachOfTile.Advance = Mul(Sprites, Stride);
    }

    const TileReach& Reach() const { return ReachOfTile; }
    int32_t PlanesSetEverywhere() const { return 0; }
    int64_t FastWidth() const { return 0; } // sprites OR into the background

    bool CellFits(int64_t x0, int64_t y0, const Image& target) const {
        return x0 >= 0 && y0 >= 0 && x0 + 16 * Groups <= target.Width() && y0 + Rows <= target.Height();
    }

    // Each group of 16 pixels gathers the words of its planes and ORs them into the row once.
    void Fast(const uint8_t* memory, int64_t position, int64_t x0, int64_t y0, Image& target) const {
        for (int32_t s = 0; s < Sprites; ++s) {
            const uint8_t* sprite = memory + (position + s * Stride);
            for (int32_t y = 0; y < Rows; ++y) {
                uint8_t* out = target.Row(static_cast<int32_t>(y0 + y)) + x0;
                for (int32_t g = 0; g < Groups; ++g, out += 16) {
                    Lanes left = 0;
                    Lanes right = 0;
                    for (int32_t q = 0; q < PlanesPerSprite; ++q) {
                        const uint8_t* word = sprite + 2 * ((y * PlanesPerSprite + q) * Groups + g);
                        const Lanes value = Value[static_cast<size_t>(s)][static_cast<size_t>(q)];
                        left |= BitLanes[word[0]] * value;
                        right |= BitLanes[word[1]] * value;
                    }
                    lanes::StoreLanes(out, lanes::LoadLanes(out) | left);
                    lanes::StoreLanes(out + 8, lanes::LoadLanes(out + 8) | right);
                }
            }
        }
    }

    void Exact(PlanarReader& reader, int64_t x0, int64_t y0, Image& target) const {
        for (int32_t s = 0; s < Sprites; ++s) {
            for (int32_t y = 0; y < Rows; ++y)
                for (int32_t q = 0; q < PlanesPerSprite; ++q) {
                    const Lanes value = Value[static_cast<size_t>(s)][static_cast<size_t>(q)];
                    for (int32_t g = 0; g < Groups; ++g) {
                        const uint16_t word = reader.ReadWord();
                        CombineGroup(target, x0 + 16 * g, y0 + y, BitLanes[word >> 8] * value, Combine::Or);
                        CombineGroup(target, x0 + 16 * g + 8, y0 + y, BitLanes[word & 0xFF] * value, Combine::Or);
                    }
                }
            reader.Skip(SkipBetweenTiles);
        }
    }

  private:
    int32_t PlanesPerSprite = 1;
    int32_t Sprites = 1;
    int32_t Rows = 0;
    int32_t Groups = 0;
    int32_t SkipBetweenTiles = 0;
    int64_t Stride = 0; // from one sprite of a tile to the next
    std::array<std::array<Lanes, 2>, 2> Value{};
    TileReach ReachOfTile;
};

} // namespace

void DecodeSpriteTiles(std::span<const uint8_t> memory, const TileDecodeRequest& request, Image& target) {
    DecodeEachTile(memory, request, SpriteTileDecoder(request), target);
}

} // namespace tavrik::tiles
