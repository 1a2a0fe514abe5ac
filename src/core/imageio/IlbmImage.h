// TILBMImage: the reader of Amiga IFF ILBM pictures (indexed, HAM6 and HAM8; uncompressed or ByteRun1).
#pragma once

#include "app/IntList.h"
#include "imageio/Image.h"

#include <cstdint>
#include <span>
#include <string>

namespace tavrik {

enum class TILBMFileFormat : uint8_t { iffNormal, iffHAM6, iffHAM8 };

// The picture itself is the Image part; after a load it is 24-bit unless the reading stopped early.
class TILBMImage : public Image {
  public:
    // The CMAP colours in file order (Colour values), duplicates kept.
    TIntList PaletteIL{Duplicates::Accept};
    TILBMFileFormat ILBMFileFormat = TILBMFileFormat::iffNormal;

    // Reads a whole ILBM file. A file that is no ILBM, or uses an unknown compression or more than 8 planes,
    // leaves the image as it was, without error. A BODY that ends early throws a read error naming the offset,
    // a CMAP of fewer than 3 bytes "Arithmetic overflow".
    void LoadFromStream(std::span<const uint8_t> bytes);
    // Reads the named file, then as LoadFromStream; a file that cannot be read throws tavrik::Error.
    void LoadFromFile(const std::string& name);
};

} // namespace tavrik
