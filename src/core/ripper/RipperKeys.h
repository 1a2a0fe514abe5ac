// The keys of the ripper view: memory walking, parameter nudges and selections, the keyboard layouts
// with their key labels, and the tile read-out under the pointer. No toolkit types: the GUI translates.
#pragma once

#include "app/Address.h"
#include "ripper/RipControls.h"
#include "ripper/RipperState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrik {

// The keys the ripper reacts to; everything else is Other. Letters and digits carry their character.
enum class KeyCode : uint8_t {
    Other,
    Left,
    Right,
    Up,
    Down,
    Numpad2,
    Numpad4,
    Numpad6,
    Numpad8,
    PageUp,
    PageDown,
    Letter, // 'A' to 'Z', the same with or without Shift
    Digit,  // '0' to '9' of the main keyboard
};

struct KeyPress {
    KeyCode Code = KeyCode::Other;
    char Character = 0; // upper-case letter or digit for Letter and Digit
    bool Shift = false;
    bool Ctrl = false;

    static constexpr KeyPress Of(KeyCode code, bool shift = false, bool ctrl = false) {
        return KeyPress{code, 0, shift, ctrl};
    }
    // Lower-case letters are taken as their upper-case key.
    static constexpr KeyPress OfLetter(char letter, bool shift = false, bool ctrl = false) {
        return KeyPress{KeyCode::Letter,
                        letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter, shift, ctrl};
    }
    static constexpr KeyPress OfDigit(int digit, bool shift = false, bool ctrl = false) {
        return KeyPress{KeyCode::Digit, static_cast<char>('0' + digit), shift, ctrl};
    }
};

enum class KeyboardLayout : int32_t { Qwerty = 0, Qwertz = 1, Azerty = 2 };

// The letters that move with the keyboard layout; the map views use the first three as well.
struct LayoutKeys {
    char TileWidthUpKey = 'Q';
    char TileWidthDownKey = 'A';
    char TileHeightUpKey = 'W';
    char RipHeightUpKey = 'Y';
    char ModeKey = 'M';
};

// A layout number outside 0 to 2 gives the "Qwerty" keys.
LayoutKeys KeysForLayout(KeyboardLayout layout);

// The texts of the key labels that follow the layout: the ripper's tile and rip size keys and mode key,
// and the map tabs' width and height keys (the same as the ripper's tile width and height keys).
struct LayoutKeyLabels {
    std::string TileWidthKeys;
    std::string TileHeightKeys;
    std::string RipHeightKeys;
    std::string ModeKeys;
};

LayoutKeyLabels KeyLabelsFor(const LayoutKeys& keys);

// What the GUI does after a key has changed the controls and the ripper state.
enum class RipperKeyAction : uint8_t {
    Nothing,
    Rip,
    ModeChangedThenRip, // refresh the mode-dependent controls first
    CopperlistAction,   // run the copper list palette action instead of a rip
    ToggleScaleMode,    // switch the view between "Normal" and "Scale to fit"; no rip
};

// The number of items of the mode and sprite bank lists the selection keys cycle through.
inline constexpr int32_t CycledModeCount = 4;
inline constexpr int32_t SpriteBankCount = 4;
inline constexpr int32_t SkipModeCount = 2;

struct RipperKeyResult {
    RipperKeyAction Action = RipperKeyAction::Nothing;
    // Set when the key read the parameters before its change: the new text of LabelBitplaneOrder.
    std::optional<std::string> BitplaneOrderLabel;
};

// Applies one key of the ripper view. Changed values are written back into the control texts and
// indexes (the address of a movement key also into state.Parameters.Address), and so are the block
// counts a reading of the parameters corrects. A field that is not an integer and an arithmetic
// overflow throw tavrik::Error and leave the field and the address as they were.
RipperKeyResult RipperKeyDown(const KeyPress& key, const LayoutKeys& layout, RipControls& controls, RipperState& state,
                              const AddressMode& mode);

// The tile under a pointer at picture pixel (x, y), counted across the sheet by the actual tile size;
// nothing over the sheet's top row or left column, outside it, or without a sheet. While the grid image
// is shown (gridThickness > 0) the position is first taken back from the grid image to the sheet, and a
// pointer on a grid line reads nothing, so the number is the tile the user sees under the pointer.
std::optional<int32_t> TileUnderPointer(int32_t x, int32_t y, const RipperState& state, int32_t gridThickness = 0);

// "Tile Ripper: 22 ($16)" for the pointer read-out and "Last tile: 22 ($16)" for the last click.
std::string TileReadoutText(int32_t tile);
std::string LastTileText(int32_t tile);

} // namespace tavrik
