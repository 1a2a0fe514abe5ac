// The ripper's parameter reading: each step in the order the fields are read, stopping at the first
// field that is not a number so that later fields keep what the previous reading left.
#include "ripper/RipParameterReader.h"

#include "app/Checked.h"
#include "app/IntegerText.h"
#include "app/TextHelpers.h"

#include <algorithm>

namespace tavrik {

namespace {

constexpr int32_t HighestCopperlistStopYPos = 254;
constexpr int32_t DefaultCopperlistStopYPos = 128;

// Ends the reading quietly; caught at the top of ReadRipParameters.
struct ReadingStopped {};

int32_t ReadInteger(const std::string& text) {
    const std::optional<int32_t> value = ParseIntegerText(text);
    if (!value) throw ReadingStopped{};
    return *value;
}

// The pair of an editable size combo ("16 x 8"); a part that is no number keeps the tile size.
void ReadSizeCombo(const EditableComboText& combo, int32_t tileWidth, int32_t tileHeight, int32_t& width,
                   int32_t& height) {
    width = tileWidth;
    height = tileHeight;
    if (combo.ItemIndex <= 0 && combo.Text == SameAsTiles) return;
    std::string rest = combo.Text;
    const std::string head = SplitAt(rest, "x");
    if (const std::optional<int32_t> value = ParseIntegerText(Trim(head))) width = *value;
    if (const std::optional<int32_t> value = ParseIntegerText(Trim(rest))) height = *value;
}

// Step sizes of the planar modes; C is the plane count with masks.
void DerivePlanarSteps(RipParameters& p, int32_t c) {
    const int32_t tileBytes = CheckedDiv(CheckedMul(CheckedMul(p.TileWidth, p.TileHeight), c), 8);
    const int32_t tileRowBytes = CheckedDiv(CheckedMul(CheckedMul(p.RipWidth, p.TileHeight), c), 8);
    const int32_t interleavedLine = CheckedDiv(CheckedMul(c, p.TileWidth), 8);
    switch (static_cast<RipMode>(p.Mode)) {
    case RipMode::AmigaAcbm:
        p.StepWord = 2;
        p.StepTile = tileBytes;
        p.StepLine = p.TileWidth / 8;
        p.StepTileRow = tileRowBytes;
        break;
    case RipMode::AmigaIlbm:
        p.StepWord = 2;
        p.StepTile = tileBytes;
        p.StepLine = interleavedLine;
        p.StepTileRow = tileRowBytes;
        break;
    default: // Atari ST
        p.StepWord = 2;
        p.StepTile = CheckedMul(2, c);
        p.StepLine = interleavedLine;
        p.StepTileRow = CheckedMul(p.StepLine, p.TileHeight);
        break;
    }
}

// Sprites and C64 take the tile row from the tile step before the common skip is added, and leave StepLine.
void DeriveSteps(RipParameters& p) {
    switch (static_cast<RipMode>(p.Mode)) {
    case RipMode::AmigaAcbm:
    case RipMode::AmigaIlbm:
    case RipMode::AtariSt: DerivePlanarSteps(p, p.PlaneCountWithMasks); break;
    case RipMode::Sprites: {
        int32_t step = CheckedAdd(CheckedMul(4, p.TileHeight), p.SkipBetweenTiles);
        if (p.Bitplanes > 2) step = CheckedMul(step, 2);
        p.StepWord = 2;
        p.StepTile = step;
        p.StepTileRow = CheckedMul(p.RipWidth / 16, step);
        break;
    }
    case RipMode::C64: {
        const int32_t step = CheckedAdd(8, p.SkipBetweenTiles);
        p.StepWord = 1;
        p.StepTile = step;
        p.StepTileRow = CheckedMul(p.RipWidth / 8, step);
        break;
    }
    default: return; // an unknown mode has no steps
    }
    p.StepTile = CheckedAdd(p.StepTile, p.SkipBetweenTiles);
}

int32_t ReadCopperlistStopYPos(const std::string& text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) return DefaultCopperlistStopYPos;
    const std::optional<int32_t> value = ParseIntegerText(trimmed);
    if (!value) return DefaultCopperlistStopYPos;
    return std::min(*value, HighestCopperlistStopYPos);
}

void ReadInOrder(const RipControls& c, RipperState& state, AddressMode addresses, RipControlUpdates& updates) {
    RipParameters& p = state.Parameters;
    p.Address = ParseAddress(c.Address, addresses);
    p.Bitplanes = ReadInteger(c.Bitplanes);
    p.TileWidth = ReadInteger(c.TileWidth);
    p.TileHeight = ReadInteger(c.TileHeight);
    p.SkipBytes = ReadInteger(c.SkipBytes);
    p.RipWidth = ReadInteger(c.RipWidth);
    p.RipHeight = ReadInteger(c.RipHeight);
    p.Mode = c.ModeIndex;
    p.TilesPerBlockAcross = ReadInteger(c.TilesPerBlockAcross);
    p.TilesPerBlockDown = ReadInteger(c.TilesPerBlockDown);
    p.TilesPerBlockDirection = c.TilesPerBlockDirectionIndex;
    p.SkipMode = c.SkipModeIndex;
    p.SkipBetweenTiles = p.SkipMode == 0 ? p.SkipBytes : 0;
    p.SkipBetweenPlanes = p.SkipMode == 1 ? p.SkipBytes : 0;
    if (p.TilesPerBlockAcross < 1) {
        p.TilesPerBlockAcross = 1;
        updates.TilesPerBlockAcross = "1";
    }
    if (p.TilesPerBlockDown < 1) {
        p.TilesPerBlockDown = 1;
        updates.TilesPerBlockDown = "1";
    }
    ReadSizeCombo(c.TilesPerBlockSize, p.TileWidth, p.TileHeight, p.BlockTileWidth, p.BlockTileHeight);
    ReadSizeCombo(c.ActualTileSize, p.TileWidth, p.TileHeight, p.ActualTileWidth, p.ActualTileHeight);
    p.MaskBefore = c.MaskBefore;
    p.MaskAfter = c.MaskAfter;
    p.PlaneCountWithMasks = CheckedAdd(CheckedAdd(p.Bitplanes, p.MaskBefore ? 1 : 0), p.MaskAfter ? 1 : 0);
    DeriveSteps(p);
    updates.BitplaneOrderLabel = BitplaneOrderLabel(state.Order);
    p.CopperlistStopYPos = ReadCopperlistStopYPos(c.CopperlistStopYPos);
}

} // namespace

RipControlUpdates ReadRipParameters(const RipControls& controls, RipperState& state, AddressMode addresses) {
    RipControlUpdates updates;
    try {
        ReadInOrder(controls, state, addresses, updates);
    } catch (const ReadingStopped&) {
    } catch (const Error&) {
        // An overflow while deriving the steps ends the reading like a bad field.
    }
    return updates;
}

std::string BitplaneOrderLabel(const BitplaneOrder& order) {
    std::string label = "Bitplane Order: ";
    for (const int32_t entry : order) {
        if (entry == 0)
            label += '-';
        else if (entry == 9)
            label += 'X';
        else
            label += std::to_string(entry);
    }
    return label;
}

uint8_t BackgroundIndex(const BitplaneOrder& order) {
    uint32_t index = 0;
    for (size_t p = 0; p < order.size(); ++p)
        if (order[p] == 9) index += 1u << p;
    return static_cast<uint8_t>(index);
}

RipModeControls ModeChanged(int32_t modeIndex, int32_t bitplanes) {
    const bool sprites = modeIndex == static_cast<int32_t>(RipMode::Sprites);
    RipModeControls shown;
    shown.SpriteControlsVisible = sprites;
    shown.SpriteBankEnabled = bitplanes == 2;
    shown.TileWidthEnabled = !sprites;
    shown.MaskControlsVisible = !sprites;
    shown.BitplaneOrderVisible = !sprites;
    return shown;
}

int32_t TileCount(const RipParameters& p) {
    const int64_t actualArea = static_cast<int64_t>(p.ActualTileWidth) * p.ActualTileHeight;
    const int64_t tileArea = static_cast<int64_t>(p.TileWidth) * p.TileHeight;
    if (actualArea < tileArea)
        return CheckedMul(CheckedDiv(p.RipWidth, p.ActualTileWidth), CheckedDiv(p.RipHeight, p.ActualTileHeight));
    return CheckedMul(CheckedDiv(p.RipWidth, p.TileWidth), CheckedDiv(p.RipHeight, p.TileHeight));
}

std::string MoveRipAddress(RipParameters& parameters, int32_t delta, AddressMode addresses) {
    int64_t address = std::max(CheckedAdd(parameters.Address, int64_t{delta}), int64_t{0});
    std::string text = ShowAddress(address, addresses);
    parameters.Address = address;
    return text;
}

} // namespace tavrik
