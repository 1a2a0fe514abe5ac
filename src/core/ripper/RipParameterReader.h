// Turning the "Tile Ripper" controls into RipParameters with the fields' reading rules, the key step
// sizes, the bitplane order label, and the small derived values the tab shows and the keys use.
#pragma once

#include "app/Address.h"
#include "ripper/RipControls.h"
#include "ripper/RipParameters.h"
#include "ripper/RipperState.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tavrik {

// What a reading of the parameters writes back into the controls. Unset members leave the control as it is.
struct RipControlUpdates {
    std::optional<std::string> TilesPerBlockAcross; // "1" when the typed value was below 1
    std::optional<std::string> TilesPerBlockDown;
    std::optional<std::string> BitplaneOrderLabel; // LabelBitplaneOrder, once the reading got that far
};

// Reads every ripper control into state.Parameters. A field that is not a number (or an overflow while
// deriving the steps) ends the reading silently at that step; later fields keep their previous values.
RipControlUpdates ReadRipParameters(const RipControls& controls, RipperState& state, AddressMode addresses);

// "Bitplane Order: " and one symbol per entry: "-" for 0, "X" for 9, else the digit.
std::string BitplaneOrderLabel(const BitplaneOrder& order);

// The sum of 2^p over the entries p that hold 9 ("X"): the value every sheet pixel starts at.
uint8_t BackgroundIndex(const BitplaneOrder& order);

// What a change of the graphics mode shows and enables on the tab.
struct RipModeControls {
    bool SpriteControlsVisible = false; // LabelGfxSprite4ColourBank, LabelGfxColourBankKeys, ComboBoxGfxSpriteMode
    bool SpriteBankEnabled = false;     // ComboBoxGfxSpriteMode
    bool TileWidthEnabled = true;       // EditGfxTileWidth
    bool MaskControlsVisible = true;    // CheckBoxGfxMaskBefore, CheckBoxGfxMaskAfter (shown and enabled)
    bool BitplaneOrderVisible = true;   // LabelBitplaneOrder
};

// modeIndex is the item index the mode list has just taken; bitplanes is Bitplanes as last read.
RipModeControls ModeChanged(int32_t modeIndex, int32_t bitplanes);

// Tiles the sheet holds: by the actual tile size when that is smaller than the rip's tile, else by the
// rip's tile. Uses the rip size as the rip raised it. Throws "Division by zero" for a zero size.
int32_t TileCount(const RipParameters& parameters);

// MoveRipAddress without the rip: Address + delta (checked), a negative result raised to 0, then corrected
// and formatted for EditGfxAddress as ShowAddress does. Returns the field's new text.
std::string MoveRipAddress(RipParameters& parameters, int32_t delta, AddressMode addresses);

} // namespace tavrik
