// The ripper's "C64" mode of two planes and more: multicolour cells decoded tile after tile.
#include "ripper/TileDecoding.h"

namespace tavrik::tiles {

namespace {

// C64 multicolour: 8 x 8 cells of one byte per row, double-wide pixels that replace the background.
class MulticolourTileDecoder {
  public:
    const TileReach& Reach() const { return ReachOfTile; }
    int32_t PlanesSetEverywhere() const { return 0; }
    int64_t FastWidth() const { return 8; }                              // the pixels are replaced
    bool CellFits(int64_t, int64_t, const Image&) const { return true; } // every write is clipped

    void Fast(const uint8_t* memory, int64_t position, int64_t x0, int64_t y0, Image& target) const {
        UncheckedSource source(memory, position);
        Run(source, x0, y0, target);
    }
    void Exact(PlanarReader& reader, int64_t x0, int64_t y0, Image& target) const { Run(reader, x0, y0, target); }

  private:
    template <class Source> void Run(Source& source, int64_t x0, int64_t y0, Image& target) const {
        for (int32_t y = 0; y < 8; ++y)
            CombineGroup(target, x0, y0 + y, lanes::MulticolourLanes[source.ReadByte()], Combine::Replace);
    }

    TileReach ReachOfTile{true, 0, 7, 8};
};

} // namespace

void DecodeMulticolourTiles(std::span<const uint8_t> memory, const TileDecodeRequest& request, Image& target) {
    DecodeEachTile(memory, request, MulticolourTileDecoder(), target);
}

} // namespace tavrik::tiles
