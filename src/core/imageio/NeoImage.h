// TNEOImage: the reader of Atari ST pictures: NEOchrome, DEGAS, DEGAS Elite and compressed DEGAS Elite.
#pragma once

#include "app/IntList.h"
#include "imageio/Image.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tavrik {

enum class TAtariFormat : uint8_t {
    afUnknown = 0,
    afNEO = 1,
    afDEGAS = 2,
    afDEGASElite = 3,
    afDEGASEliteCompressed = 4,
};

// The picture is the Image part: 8-bit indexed, colour table entries 0 to 15 set from the file's palette.
class TNEOImage : public Image {
  public:
    // Preset by the caller when the file name tells (".neo", ".pc1"); otherwise filled in by the reader.
    TAtariFormat AtariFormat = TAtariFormat::afUnknown;
    // The 16 palette colours (Colour values) after a load.
    TIntList PaletteIL{Duplicates::Accept};
    // The picture's own file name from a NEOchrome header; kept, not used.
    std::string PictureName;

    // Reads a whole file. An unknown first word or a NEOchrome resolution other than 0 leaves the image and
    // palette as they were; a file that ends early is read on as if zeros followed.
    void LoadFromStream(std::span<const uint8_t> bytes);
    // Reads the named file, then as LoadFromStream; a file that cannot be read throws tavrik::Error.
    void LoadFromFile(const std::string& name);
};

// The ST's screen sizes by resolution (its shift mode): 0 low, 1 medium, 2 high. Each takes 32000 bytes.
struct AtariStResolution {
    int32_t Width;
    int32_t Height;
    int32_t Planes;
};
inline constexpr std::array<AtariStResolution, 3> AtariStResolutions{{{320, 200, 4}, {640, 200, 2}, {640, 400, 1}}};

// The ST palette rule: the word is doubled and each nibble of the result times 17 ($0777 -> 238, 238, 238).
Colour AtariColourToColour(uint16_t word);

} // namespace tavrik
