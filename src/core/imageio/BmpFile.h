// Windows and OS/2 bitmap reading into 24-bit: stb_image for the true-colour kinds, our own decoders for the
// palette kinds (1, 4 and 8 bits, uncompressed, RLE8 and RLE4).
#pragma once

#include "imageio/Image.h"

#include <cstdint>
#include <span>

namespace tavrik {

// Decodes a ".bmp" file's bytes into a 24-bit image. A header whose sizes or offsets lie past the end of
// the file, an unknown compression or damaged data throw tavrik::Error.
Image ReadBmp(std::span<const uint8_t> bytes);

} // namespace tavrik
