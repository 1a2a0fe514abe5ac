// The map views' keys: the parameter keys change one setting by a step (8 with Shift), the movement keys
// walk the map's address by values, stored rows or columns, or whole maps.
#include "map/MapKeys.h"

#include "app/Checked.h"
#include "app/Error.h"
#include "map/MapItems.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace tavrik {

namespace {

int32_t StepOf(const KeyPress& key) { return key.Shift ? 8 : 1; }

int32_t Negated(int32_t value) { return CheckedSub(int32_t{0}, value); }

// A changed setting goes into the record and, in decimal, into its field.
void Store(int32_t value, int32_t& setting, std::string& field) {
    setting = value;
    field = std::to_string(value);
}

// The width and height keys move by whole blocks and never below one block; both fields are written, so a
// field the reading could not take shows the record's value again.
void ChangeSize(MapControls& controls, TMapVariables& map, int32_t acrossSteps, int32_t downSteps) {
    const int32_t width = CheckedAdd(map.WidthInTiles, CheckedMul(map.TilesPerBlockAcross, acrossSteps));
    const int32_t height = CheckedAdd(map.HeightInTiles, CheckedMul(map.TilesPerBlockDown, downSteps));
    Store(std::max(width, map.TilesPerBlockAcross), map.WidthInTiles, controls.WidthInTiles);
    Store(std::max(height, map.TilesPerBlockDown), map.HeightInTiles, controls.HeightInTiles);
}

// The letters of the parameter keys, in the order they are looked for.
std::optional<MapKeyAction> ParameterLetter(char letter, int32_t step, const LayoutKeys& layout, MapControls& controls,
                                            TMapVariables& map) {
    if (letter == 'V') return MapKeyAction::ToggleScaleMode;
    if (letter == layout.TileWidthUpKey)
        ChangeSize(controls, map, step, 0);
    else if (letter == layout.TileWidthDownKey)
        ChangeSize(controls, map, Negated(step), 0);
    else if (letter == layout.TileHeightUpKey)
        ChangeSize(controls, map, 0, step);
    else if (letter == 'S')
        ChangeSize(controls, map, 0, Negated(step));
    else if (letter == 'E' || letter == 'D') {
        const int32_t trim = letter == 'E' ? CheckedAdd(map.TrimTiles, step) : CheckedSub(map.TrimTiles, step);
        Store(std::max(trim, int32_t{0}), map.TrimTiles, controls.TrimTiles);
    } else if (letter == 'R' || letter == 'F') {
        // A negative skip steps back over part of each value, so it is allowed.
        Store(letter == 'R' ? CheckedAdd(map.SkipBytes, step) : CheckedSub(map.SkipBytes, step), map.SkipBytes,
              controls.SkipBytes);
    } else {
        return std::nullopt;
    }
    return MapKeyAction::Redraw;
}

// 1 / 2 (adjust), V and the size, trim and skip letters; nothing for the other keys.
std::optional<MapKeyAction> ParameterKey(const KeyPress& key, const LayoutKeys& layout, MapControls& controls,
                                         TMapVariables& map) {
    const int32_t step = StepOf(key);
    if (key.Code == KeyCode::Digit && (key.Character == '1' || key.Character == '2')) {
        const int32_t adjust = key.Character == '1' ? CheckedSub(map.Adjust, step) : CheckedAdd(map.Adjust, step);
        Store(adjust, map.Adjust, controls.Adjust);
        return MapKeyAction::Redraw;
    }
    if (key.Code == KeyCode::Letter) return ParameterLetter(key.Character, step, layout, controls, map);
    return std::nullopt;
}

// The address change of a movement key: on a horizontal map up and down cross one stored row and left and
// right one value, on a vertical map the other way round; the page keys cross a whole map whatever Shift
// says. The skip bytes are not counted.
std::optional<int32_t> MovementDelta(const KeyPress& key, const TMapVariables& map) {
    const int32_t value = ElementSize(map.MemoryType);
    const bool vertical = map.Direction == static_cast<int32_t>(MapDirection::Vertical);
    const int32_t step = StepOf(key);
    auto upDown = [&] { return CheckedMul(vertical ? value : CheckedMul(value, map.WidthInTiles), step); };
    auto leftRight = [&] { return CheckedMul(vertical ? CheckedMul(value, map.HeightInTiles) : value, step); };
    auto page = [&] { return CheckedMul(CheckedMul(value, map.WidthInTiles), map.HeightInTiles); };
    switch (key.Code) {
    case KeyCode::Up:
    case KeyCode::Numpad8: return Negated(upDown());
    case KeyCode::Down:
    case KeyCode::Numpad2: return upDown();
    case KeyCode::Left:
    case KeyCode::Numpad4: return Negated(leftRight());
    case KeyCode::Right:
    case KeyCode::Numpad6: return leftRight();
    case KeyCode::PageDown: return page();
    case KeyCode::PageUp: return Negated(page());
    default: return std::nullopt;
    }
}

// A move that cannot be made (an overflowing amount) is dropped without a word, as the user simply keeps
// walking.
MapKeyAction MovementKey(const KeyPress& key, MapControls& controls, TMapVariables& map, const AddressMode& addresses) {
    try {
        const std::optional<int32_t> delta = MovementDelta(key, map);
        if (!delta || !MoveMapAddress(controls, map, *delta, addresses)) return MapKeyAction::Nothing;
    } catch (const Error&) {
        return MapKeyAction::Nothing;
    }
    return MapKeyAction::Redraw;
}

} // namespace

bool MoveMapAddress(MapControls& controls, TMapVariables& map, int32_t delta, const AddressMode& addresses) {
    // The address is taken as the reading of the settings takes it, so the key and the record agree.
    int64_t address;
    if (__builtin_add_overflow(ParseAddress(controls.Address, addresses), int64_t{delta}, &address)) return false;
    // ShowAddress raises a sum below 0 to 0, or to the start of chip RAM in the chip-relative form.
    std::string text = ShowAddress(address, addresses);
    map.Address = address;
    controls.Address = std::move(text);
    return true;
}

MapKeyAction MapKeyDown(const KeyPress& key, const LayoutKeys& layout, MapControls& controls, TMapVariables& map,
                        TMapVariables& secondMap, const AddressMode& addresses) {
    ReadMapSettings(controls, map, secondMap, addresses);
    if (const std::optional<MapKeyAction> action = ParameterKey(key, layout, controls, map)) return *action;
    return MovementKey(key, controls, map, addresses);
}

} // namespace tavrik
