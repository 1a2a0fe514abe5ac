// The Atari ST screen of a raw memory dump, found through TOS's video variables: the screen base at $44E
// and the shift mode at $44C.
#pragma once

#include "app/Colour.h"
#include "screen/Screen.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tavrik {

// TOS's colours at start-up, as 24-bit colours.
const std::array<Colour, 16>& DefaultAtariStColours();

// Throws tavrik::Error when the dump is too short for the variables or the screen, or the shift mode is not
// 0 (320 x 200, 4 planes), 1 (640 x 200, 2 planes) or 2 (640 x 400, 1 plane). Without colours the default
// ST colours are used; a monochrome screen shows 0 as colour 0 and 1 as black unless colours are given.
RebuiltScreen RebuildAtariStScreen(std::span<const uint8_t> dump,
                                   const std::optional<std::array<Colour, 16>>& colours = std::nullopt);

} // namespace tavrik
