// The tile ripper's decoders written out literally, one read and one bit at a time, for differential
// tests of the table-driven decoder.
#pragma once

#include "imageio/Image.h"
#include "ripper/PlanarDecoder.h"

#include <cstdint>
#include <span>

namespace tavrik::test {

// Same contract as DecodeTiles.
void ReferenceDecodeTiles(std::span<const uint8_t> memory, const TileDecodeRequest& request, Image& target);

} // namespace tavrik::test
