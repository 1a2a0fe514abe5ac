// Reading rip options and applying the palette choice.
#include "workspace/RipRequest.h"

#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "memory/CopperList.h"
#include "palette/BinaryPalette.h"
#include "palette/PaletteOperations.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace tavrik {

namespace {

const std::vector<std::string> ModeWords{"acbm", "ilbm", "st", "sprites", "c64"};
const std::vector<std::string> SkipModeWords{"tiles", "bitplanes"};
const std::vector<std::string> BlockDirectionWords{"across", "down"};

const std::vector<std::string> PaletteWords{"default", "ecs", "aga", "c64", "bw", "copper"};

std::string SizeText(const std::pair<int32_t, int32_t>& size, const char* separator) {
    return std::to_string(size.first) + separator + std::to_string(size.second);
}

// Eight symbols: 1-8 take that bitplane, "-" adds nothing, "X" is the mask; nullopt for anything else.
std::optional<BitplaneOrder> ParseOrder(const std::string& text) {
    BitplaneOrder order{};
    if (text.size() != order.size()) return std::nullopt;
    for (size_t i = 0; i < order.size(); ++i) {
        const char symbol = text[i];
        if (symbol == '-')
            order[i] = 0;
        else if (symbol == 'X' || symbol == 'x')
            order[i] = 9;
        else if (symbol >= '1' && symbol <= '8')
            order[i] = symbol - '0';
        else
            return std::nullopt;
    }
    return order;
}

CLI::Validator OrderCheck() {
    return TextCheck([](const std::string& text) { return ParseOrder(text).has_value(); },
                     "eight symbols of 1-8, - and X");
}

void ReadBlockOptions(const RipOptionTexts& o, RipControls& c) {
    if (o.Rearrange) {
        const auto blocks = SizeTextValue(*o.Rearrange);
        c.Rearrange = true;
        c.TilesPerBlockAcross = std::to_string(blocks.first);
        c.TilesPerBlockDown = std::to_string(blocks.second);
    }
    if (o.BlockDirection) c.TilesPerBlockDirectionIndex = WordIndex(BlockDirectionWords, *o.BlockDirection);
    if (o.BlockTile) c.TilesPerBlockSize = {-1, SizeText(SizeTextValue(*o.BlockTile), " x ")};
}

RipControls ControlsFromOptions(const RipOptionTexts& o, RipControls c) {
    c.Address = o.Address.value_or(c.Address);
    if (o.Mode) c.ModeIndex = WordIndex(ModeWords, *o.Mode);
    if (o.Bitplanes) c.Bitplanes = std::to_string(IntegerTextValue(*o.Bitplanes));
    if (o.Tile) {
        const auto tile = SizeTextValue(*o.Tile);
        c.TileWidth = std::to_string(tile.first);
        c.TileHeight = std::to_string(tile.second);
    }
    if (o.Size) {
        const auto size = SizeTextValue(*o.Size);
        c.RipWidth = std::to_string(size.first);
        c.RipHeight = std::to_string(size.second);
    }
    if (o.Skip) c.SkipBytes = std::to_string(IntegerTextValue(*o.Skip));
    if (o.SkipMode) c.SkipModeIndex = WordIndex(SkipModeWords, *o.SkipMode);
    c.MaskBefore = c.MaskBefore || o.MaskBefore;
    c.MaskAfter = c.MaskAfter || o.MaskAfter;
    if (o.SpriteBank) c.SpriteBankIndex = IntegerTextValue(*o.SpriteBank);
    if (o.ActualTile) c.ActualTileSize = {-1, SizeText(SizeTextValue(*o.ActualTile), " x ")};
    ReadBlockOptions(o, c);
    return c;
}

void UseSavedColours(Workspace& ws, bool present, SavedPalette which, const char* name) {
    if (!present) throw Error(std::string("the data file holds no saved ") + name + " colours");
    ApplySavedPalette(ws, which);
}

// The "Copperlist" button's walk from the saved COP1LC; a walk that fails leaves the palette alone.
CopperWalk UseCopperColours(Workspace& ws, int32_t stopLine) {
    CopperWalk walk = WalkCopperList(ws.Memory, CopperlistActionStart(ws.Memory), stopLine);
    if (!walk.Error.empty()) throw Error(walk.Error);
    ws.CopperPalette = walk.Palette;
    SetPaletteEntries(ws.Palette, walk.Palette);
    return walk;
}

} // namespace

CLI::Validator PaletteCheck() {
    return TextCheck(
        [](const std::string& text) {
            return std::find(PaletteWords.begin(), PaletteWords.end(), text) != PaletteWords.end() ||
                   PathIsFile(text);
        },
        "default, ecs, aga, c64, bw, copper or a palette file");
}

void AddRipOptions(CLI::App& command, RipOptionTexts& o) {
    const char* group = "Rip options";
    const auto add = [&](const char* name, std::optional<std::string>& text, const char* type, const char* help,
                         const CLI::Validator& check) {
        command.add_option(name, text, help)->type_name(type)->check(check)->group(group);
    };
    add("--address", o.Address, "TEXT", "start address, as in the address field (\"+\" counts from chip RAM); default 0",
        AddressTextCheck());
    add("--mode", o.Mode, "MODE", "acbm | ilbm | st | sprites | c64; default acbm", OneOfCheck(ModeWords));
    add("--bitplanes", o.Bitplanes, "N", "1 to 8; default 1", IntegerTextCheck(1, 8));
    add("--tile", o.Tile, "WxH", "tile size in pixels; default 16x16", SizeTextCheck());
    add("--size", o.Size, "WxH", "rip width and height; default 320x256", SizeTextCheck());
    add("--skip", o.Skip, "N", "bytes to skip; default 0", IntegerTextCheck());
    add("--skip-mode", o.SkipMode, "WHERE", "tiles | bitplanes: where the skip goes; default tiles",
        OneOfCheck(SkipModeWords));
    command.add_flag("--mask-before", o.MaskBefore, "a mask plane precedes the graphics")->group(group);
    command.add_flag("--mask-after", o.MaskAfter, "a mask plane follows the graphics")->group(group);
    add("--order", o.Order, "SYMBOLS",
        "the bitplane order as eight symbols: 1-8, \"-\" (adds nothing), \"X\"; default 12345678", OrderCheck());
    add("--sprite-bank", o.SpriteBank, "N", "sprite colour bank 0 to 3 (2 bitplanes in sprites mode); default 0",
        IntegerTextCheck(0, 3));
    add("--actual-tile", o.ActualTile, "WxH", "the actual tile size of the grid; default the tile size",
        SizeTextCheck());
    add("--rearrange", o.Rearrange, "AxB", "rearrange the tiles into blocks of A x B tiles (1 to 99 each)",
        SizeTextCheck(99));
    add("--block-direction", o.BlockDirection, "DIR", "across | down: how blocks are filled; default across",
        OneOfCheck(BlockDirectionWords));
    add("--block-tile", o.BlockTile, "WxH", "tile size used by the rearrangement; default the tile size",
        SizeTextCheck());
    add("--grid", o.Grid, "N", "the grid image with lines of N pixels (1 to 3)", IntegerTextCheck(1, 3));
    add("--palette", o.Palette, "PALETTE",
        "default | ecs | aga | c64 | bw | copper | a binary palette file; default: the save state's saved colours, "
        "else the default palette",
        PaletteCheck());
    add("--stop-line", o.StopLine, "N",
        "the last display line of the copper list walk for --palette copper; default 128", IntegerTextCheck(0, 254));
}

RipRequest ReadRipRequest(const RipOptionTexts& texts, const RipRequest& base) {
    RipRequest request = base;
    request.Controls = ControlsFromOptions(texts, base.Controls);
    if (texts.Order) request.Order = *ParseOrder(*texts.Order);
    if (texts.Grid) request.GridThickness = IntegerTextValue(*texts.Grid);
    if (texts.Palette) request.Palette = texts.Palette;
    if (texts.StopLine) request.CopperStopLine = IntegerTextValue(*texts.StopLine);
    request.Controls.CopperlistStopYPos = DollarHex(static_cast<uint32_t>(request.CopperStopLine));
    return request;
}

std::optional<CopperWalk> ApplyPaletteChoice(Workspace& ws, const RipRequest& request, SavedPalette saved) {
    DefaultPalette(ws.Palette);
    const ChipsetSnapshot& chipset = ws.Memory.Snapshot;
    const std::string choice = request.Palette.value_or("");
    if (choice.empty() && request.BaseColours)
        SetPaletteColours(ws.Palette, *request.BaseColours);
    else if (choice.empty())
        ApplySavedPalette(ws, saved);
    else if (choice == "ecs")
        UseSavedColours(ws, chipset.HasEcsColours, SavedPalette::Ecs, "ECS");
    else if (choice == "aga")
        UseSavedColours(ws, chipset.HasAgaColours, SavedPalette::Aga, "AGA");
    else if (choice == "c64")
        C64Palette(ws.Palette);
    else if (choice == "bw")
        BlackAndWhite(ws.Palette);
    else if (choice == "copper")
        return UseCopperColours(ws, request.CopperStopLine);
    else if (choice != "default")
        LoadWholeBinaryPalette(ws.Palette, choice);
    return std::nullopt;
}

RipRequestResult ApplyRipRequest(Workspace& ws, const RipRequest& request, SavedPalette saved) {
    RipRequestResult result;
    result.Copper = ApplyPaletteChoice(ws, request, saved);
    ws.Ripper.Order = request.Order;
    ws.Grid.GridEnabled = request.GridThickness.has_value();
    ws.Grid.GridThickness = request.GridThickness.value_or(ws.Grid.GridThickness);
    result.Rip = Rip(ws, request.Controls, result.ControlUpdates);
    return result;
}

} // namespace tavrik
