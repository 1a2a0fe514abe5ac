// The ripper view's keys: each moves the rip address or nudges one control, and says what follows.
#include "ripper/RipperKeys.h"

#include "app/Checked.h"
#include "app/Error.h"
#include "app/IntegerText.h"
#include "ripper/RipParameterReader.h"

#include <algorithm>

namespace tavrik {

namespace {

constexpr int32_t SpritesMode = static_cast<int32_t>(RipMode::Sprites);
constexpr int32_t C64Mode = static_cast<int32_t>(RipMode::C64);
constexpr int32_t MaxCopperlistStopYPos = 254;
constexpr int32_t BitplaneOrderValues = 10; // 0 ("-"), 1 to 8, 9 ("X")

// The integer in a control's text, or a conversion error naming the field.
int32_t FieldValue(const std::string& text, std::string_view fieldCaption) {
    const std::optional<int32_t> value = ParseIntegerText(text);
    if (!value) throw Error("'" + text + "' is not a valid integer value for " + std::string(fieldCaption));
    return *value;
}

// Rewrites a numeric field through change; the field is untouched when reading or changing throws.
template <typename Change> void ChangeField(std::string& field, std::string_view caption, Change change) {
    field = std::to_string(change(FieldValue(field, caption)));
}

int32_t Halved(int32_t value) { return CheckedDiv(value, int32_t{2}); }
int32_t Doubled(int32_t value) { return CheckedMul(value, int32_t{2}); }
int32_t Negated(int32_t value) { return CheckedSub(int32_t{0}, value); }

int32_t NextIndex(int32_t index, int32_t count, bool backwards) {
    const int32_t step = backwards ? count - 1 : 1;
    return (std::clamp(index, int32_t{0}, count - 1) + step) % count;
}

// --- Value rules of the parameter keys ------------------------------------------------------------

int32_t TileWidthUp(int32_t width, bool shift) {
    if (shift) return Doubled(width);
    return width == 8 ? 16 : CheckedAdd(width, int32_t{16});
}

int32_t TileWidthDown(int32_t width, bool shift) {
    return std::max(shift ? Halved(width) : CheckedSub(width, int32_t{16}), int32_t{8});
}

int32_t TileHeightStep(bool shift) { return shift ? 8 : 1; }

// E / D: 1 to 8 bitplanes; sprites come in 1, 2 or 4 planes, so 3 is passed over there.
int32_t BitplanesAfterKey(int32_t planes, bool up, bool sprites) {
    if (up && planes < 8) ++planes;
    if (!up && planes > 1) --planes;
    if (sprites && planes == 3) planes += up ? 1 : -1;
    return planes;
}

int32_t RipSizeUp(int32_t size, bool shift) { return shift ? Doubled(size) : CheckedAdd(size, int32_t{16}); }

int32_t RipSizeDown(int32_t size, bool shift) {
    return std::max(shift ? Halved(size) : CheckedSub(size, int32_t{16}), int32_t{16});
}

int32_t CopperlistStopAfterKey(int32_t line, bool up, bool shift) {
    const int32_t step = shift ? 8 : 1;
    if (up) return std::min(CheckedAdd(line, step), MaxCopperlistStopYPos);
    return std::max(CheckedSub(line, step), int32_t{0});
}

// --- Applying one key -----------------------------------------------------------------------------

class KeyHandler {
  public:
    KeyHandler(const KeyPress& key, const LayoutKeys& layout, RipControls& controls, RipperState& state,
               const AddressMode& mode)
        : Key(key), Layout(layout), Controls(controls), State(state), Mode(mode) {}

    RipperKeyResult Run() {
        Result.Action = Dispatch();
        return Result;
    }

  private:
    RipperKeyAction Dispatch() {
        if (Key.Code == KeyCode::PageUp || Key.Code == KeyCode::PageDown) return PageMove();
        if (const std::optional<int32_t> step = MovementStep()) {
            MoveAddress(*step);
            return RipperKeyAction::Rip;
        }
        if (Key.Code == KeyCode::Letter) return Letter(Key.Character);
        if (Key.Code == KeyCode::Digit) return Digit(Key.Character - '0');
        return RipperKeyAction::Nothing;
    }

    bool InSpritesMode() const { return State.Parameters.Mode == SpritesMode; }

    // The keys that work from fresh parameters read them first, keeping what the reading corrects.
    void ReadParameters() {
        const RipControlUpdates updates = ReadRipParameters(Controls, State, Mode);
        if (updates.TilesPerBlockAcross) Controls.TilesPerBlockAcross = *updates.TilesPerBlockAcross;
        if (updates.TilesPerBlockDown) Controls.TilesPerBlockDown = *updates.TilesPerBlockDown;
        if (updates.BitplaneOrderLabel) Result.BitplaneOrderLabel = updates.BitplaneOrderLabel;
    }

    // The signed address step of an arrow or numpad key, from the steps of the last reading.
    std::optional<int32_t> MovementStep() const {
        const RipParameters& p = State.Parameters;
        auto pick = [&](int32_t plain, int32_t shifted) {
            if (Key.Ctrl) return CheckedMul(int32_t{8}, shifted);
            return Key.Shift ? shifted : plain;
        };
        switch (Key.Code) {
        case KeyCode::Right: return pick(p.StepWord, p.StepTile);
        case KeyCode::Left: return Negated(pick(p.StepWord, p.StepTile));
        case KeyCode::Down: return pick(p.StepLine, p.StepTileRow);
        case KeyCode::Up: return Negated(pick(p.StepLine, p.StepTileRow));
        case KeyCode::Numpad6: return p.StepTile;
        case KeyCode::Numpad4: return Negated(p.StepTile);
        case KeyCode::Numpad2: return p.StepTileRow;
        case KeyCode::Numpad8: return Negated(p.StepTileRow);
        default: return std::nullopt;
        }
    }

    void MoveAddress(int32_t step) { Controls.Address = MoveRipAddress(State.Parameters, step, Mode); }

    // One screen of one bitplane of the current sheet; a page too large to move by leaves the address.
    RipperKeyAction PageMove() {
        try {
            const int32_t page = CheckedMul(CheckedDiv(State.SheetWidth, int32_t{8}), State.SheetHeight);
            MoveAddress(Key.Code == KeyCode::PageUp ? Negated(page) : page);
        } catch (const Error&) {
            return RipperKeyAction::Nothing;
        }
        return RipperKeyAction::Rip;
    }

    RipperKeyAction Letter(char letter) {
        if (letter == Layout.TileWidthUpKey || letter == Layout.TileWidthDownKey) {
            const bool up = letter == Layout.TileWidthUpKey;
            ReadParameters();
            ChangeField(Controls.TileWidth, "Bpl Width",
                        [&](int32_t w) { return up ? TileWidthUp(w, Key.Shift) : TileWidthDown(w, Key.Shift); });
            return RipperKeyAction::Rip;
        }
        if (letter == Layout.TileHeightUpKey) {
            ChangeField(Controls.TileHeight, "Bpl Height",
                        [&](int32_t h) { return CheckedAdd(h, TileHeightStep(Key.Shift)); });
            return RipperKeyAction::Rip;
        }
        if (letter == Layout.RipHeightUpKey) {
            ReadParameters();
            ChangeField(Controls.RipHeight, "Rip Height", [&](int32_t h) { return RipSizeUp(h, Key.Shift); });
            return RipperKeyAction::Rip;
        }
        if (letter == Layout.ModeKey) return ModeKey();
        return FixedLetter(letter);
    }

    // The letters that mean the same in every layout.
    RipperKeyAction FixedLetter(char letter) {
        const bool shift = Key.Shift;
        switch (letter) {
        case 'S':
            ChangeField(Controls.TileHeight, "Bpl Height",
                        [&](int32_t h) { return std::max(CheckedSub(h, TileHeightStep(shift)), int32_t{1}); });
            return RipperKeyAction::Rip;
        case 'E':
        case 'D':
            ChangeField(Controls.Bitplanes, "Bitplanes",
                        [&](int32_t n) { return BitplanesAfterKey(n, letter == 'E', InSpritesMode()); });
            return RipperKeyAction::ModeChangedThenRip;
        case 'R':
        case 'F': {
            ReadParameters();
            const int32_t step = shift ? 16 : 2;
            ChangeField(Controls.SkipBytes, "Skip bytes",
                        [&](int32_t n) { return letter == 'R' ? CheckedAdd(n, step) : CheckedSub(n, step); });
            return RipperKeyAction::Rip;
        }
        case 'T':
        case 'G':
            ReadParameters();
            ChangeField(Controls.RipWidth, "Rip Width",
                        [&](int32_t w) { return letter == 'T' ? RipSizeUp(w, shift) : RipSizeDown(w, shift); });
            return RipperKeyAction::Rip;
        case 'H':
            ReadParameters();
            ChangeField(Controls.RipHeight, "Rip Height", [&](int32_t h) { return RipSizeDown(h, shift); });
            return RipperKeyAction::Rip;
        case 'U':
        case 'J': return CopperlistStopKey(letter == 'U');
        case 'N':
            Controls.SpriteBankIndex = NextIndex(Controls.SpriteBankIndex, SpriteBankCount, shift);
            return InSpritesMode() ? RipperKeyAction::Rip : RipperKeyAction::Nothing;
        case 'V': return RipperKeyAction::ToggleScaleMode;
        case 'X':
            Controls.SkipModeIndex = NextIndex(Controls.SkipModeIndex, SkipModeCount, false);
            return RipperKeyAction::Rip;
        default: return RipperKeyAction::Nothing;
        }
    }

    // The mode key cycles through the first four modes; "C64" is left for "Amiga ILBM" or "Sprites".
    RipperKeyAction ModeKey() {
        if (Controls.ModeIndex == C64Mode)
            Controls.ModeIndex = Key.Shift ? SpritesMode : static_cast<int32_t>(RipMode::AmigaIlbm);
        else
            Controls.ModeIndex = NextIndex(Controls.ModeIndex, CycledModeCount, Key.Shift);
        return RipperKeyAction::ModeChangedThenRip;
    }

    RipperKeyAction CopperlistStopKey(bool up) {
        ReadParameters();
        const int32_t line = FieldValue(Controls.CopperlistStopYPos, "the copper list stop line");
        Controls.CopperlistStopYPos = DollarHex(static_cast<uint32_t>(CopperlistStopAfterKey(line, up, Key.Shift)));
        return RipperKeyAction::CopperlistAction;
    }

    // 0 to 8: the sprite bank in "Sprites" mode, else the bitplane order entry of plane d - 1.
    RipperKeyAction Digit(int32_t digit) {
        if (digit < 0 || digit > 8) return RipperKeyAction::Nothing;
        if (InSpritesMode()) {
            Controls.SpriteBankIndex = (digit / 2) % SpriteBankCount;
            return RipperKeyAction::Rip;
        }
        if (digit == 0) return RipperKeyAction::Nothing;
        int32_t& entry = State.Order[static_cast<size_t>(digit - 1)];
        entry = NextIndex(entry, BitplaneOrderValues, Key.Shift);
        return RipperKeyAction::Rip;
    }

    const KeyPress& Key;
    const LayoutKeys& Layout;
    RipControls& Controls;
    RipperState& State;
    const AddressMode& Mode;
    RipperKeyResult Result;
};

} // namespace

LayoutKeys KeysForLayout(KeyboardLayout layout) {
    switch (layout) {
    case KeyboardLayout::Qwertz: return LayoutKeys{'Q', 'A', 'W', 'Z', 'M'};
    case KeyboardLayout::Azerty: return LayoutKeys{'A', 'Q', 'Z', 'Y', 'M'};
    default: return LayoutKeys{};
    }
}

LayoutKeyLabels KeyLabelsFor(const LayoutKeys& keys) {
    return {std::string{keys.TileWidthUpKey, '/', keys.TileWidthDownKey}, std::string{keys.TileHeightUpKey, '/', 'S'},
            std::string{keys.RipHeightUpKey, '/', 'H'}, std::string(1, keys.ModeKey)};
}

RipperKeyResult RipperKeyDown(const KeyPress& key, const LayoutKeys& layout, RipControls& controls, RipperState& state,
                              const AddressMode& mode) {
    return KeyHandler(key, layout, controls, state, mode).Run();
}

namespace {

// A grid image coordinate back on the sheet: cells of size + thickness; nothing on a grid line.
std::optional<int32_t> SheetCoordinate(int32_t gridCoordinate, int32_t size, int32_t thickness) {
    if (thickness <= 0 || gridCoordinate < 0) return gridCoordinate;
    const int32_t cell = gridCoordinate / (size + thickness);
    const int32_t within = gridCoordinate % (size + thickness);
    if (within >= size) return std::nullopt;
    return cell * size + within;
}

} // namespace

std::optional<int32_t> TileUnderPointer(int32_t gridX, int32_t gridY, const RipperState& state, int32_t gridThickness) {
    const int32_t width = state.SheetWidth;
    const int32_t height = state.SheetHeight;
    const int32_t tileWidth = state.Parameters.ActualTileWidth;
    const int32_t tileHeight = state.Parameters.ActualTileHeight;
    if (width <= 0 || height <= 0 || tileWidth <= 0 || tileHeight <= 0) return std::nullopt;
    const std::optional<int32_t> sheetX = SheetCoordinate(gridX, tileWidth, gridThickness);
    const std::optional<int32_t> sheetY = SheetCoordinate(gridY, tileHeight, gridThickness);
    if (!sheetX || !sheetY) return std::nullopt;
    const int32_t x = *sheetX;
    const int32_t y = *sheetY;
    if (x <= 0 || x >= width || y <= 0 || y >= height) return std::nullopt;
    const int64_t tile = int64_t{y / tileHeight} * (width / tileWidth) + x / tileWidth;
    return CheckedCast<int32_t>(tile);
}

std::string TileReadoutText(int32_t tile) {
    return "Tile Ripper: " + std::to_string(tile) + " (" + DollarHex(static_cast<uint32_t>(tile)) + ")";
}

std::string LastTileText(int32_t tile) {
    return "Last tile: " + std::to_string(tile) + " (" + DollarHex(static_cast<uint32_t>(tile)) + ")";
}

} // namespace tavrik
