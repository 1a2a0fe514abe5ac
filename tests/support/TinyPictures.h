// Tiny picture files for the tests that open pictures as tiles: a DEGAS low-resolution picture and an
// uncompressed IFF ILBM picture, built byte by byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrik::test {

// A ".pi1" file (32034 bytes): resolution word 0, the 16 ST colour words, then 320 x 200 pixels in four
// interleaved planes, all 0 except the first pixel of the top row, which gets firstPixel (0 to 15).
std::vector<uint8_t> DegasLowResPicture(const std::array<uint16_t, 16>& stColours, uint8_t firstPixel);

// An ".iff" file: FORM ILBM with a BMHD, a CMAP of the given 0xRRGGBB colours and an uncompressed BODY of
// the pixel values (row by row, width a multiple of 16). bodyBytesMissing cuts that many bytes off the
// end of the BODY (and of the file) to make a damaged picture.
std::vector<uint8_t> IlbmPicture(int width, int height, int planes, const std::vector<uint32_t>& rgbColours,
                                 const std::vector<uint8_t>& values, size_t bodyBytesMissing = 0);

} // namespace tavrik::test
