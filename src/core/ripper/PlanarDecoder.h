// The five memory layouts of the tile ripper ("Amiga ACBM", "Amiga ILBM", "Atari ST", "Sprites", "C64"),
// decoded tile after tile from one moving read position straight into the rows of an 8-bit image.
#pragma once

#include "imageio/Image.h"
#include "ripper/RipParameters.h"

#include <cstdint>
#include <span>

namespace tavrik {

// One read position over the memory image with the ripper's rules: a read outside the memory (negative,
// or at or past its end) delivers 0 and leaves the position; a word read at the last byte delivers that
// byte as its high byte and moves by one; a skip always moves, and may take the position below 0.
class PlanarReader {
  public:
    PlanarReader(std::span<const uint8_t> memory, int64_t position) : Memory(memory), Position(position) {}

    uint8_t ReadByte();
    uint16_t ReadWord();
    // Throws "Arithmetic overflow" when the position would leave the 64-bit range.
    void Skip(int64_t count);
    int64_t Tell() const { return Position; }

  private:
    std::span<const uint8_t> Memory;
    int64_t Position;
};

// What the decoders read from the parameters, after the rip's own adjustments (tile size of the sprite
// and C64 modes, Bitplanes clamped to 8).
struct TileDecodeRequest {
    RipParameters Parameters;
    BitplaneOrder Order = DefaultBitplaneOrder;
    int32_t SpriteBank = 0; // item index of ComboBoxGfxSpriteMode
    int32_t TilesAcross = 0;
    int32_t TilesDown = 0;
    // Lets the fast path use the processor's vector unit; tests turn it off to check the portable loop.
    bool AllowSimd = true;
};

// Paints the whole 8-bit target: every pixel starts at BackgroundIndex(Order), and TilesAcross x TilesDown
// tiles from memory at Parameters.Address go into the cells, tile n at column n mod TilesAcross and row
// n div TilesAcross. The planar modes add to the background, sprites OR into it and C64 multicolour
// replaces it. Pixels of cells that reach past the image are dropped.
void DecodeTiles(std::span<const uint8_t> memory, const TileDecodeRequest& request, Image& target);

} // namespace tavrik
