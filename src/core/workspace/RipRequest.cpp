// Reading rip options and applying the palette choice.
#include "workspace/RipRequest.h"

#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "memory/CopperList.h"
#include "palette/BinaryPalette.h"
#include "palette/PaletteOperations.h"

#include <limits>

namespace tavrik {

namespace {

const std::vector<std::string> ModeWords{"acbm", "ilbm", "st", "sprites", "c64"};

std::string SizeText(const std::pair<int32_t, int32_t>& size, const char* separator) {
    return std::to_string(size.first) + separator + std::to_string(size.second);
}

BitplaneOrder OrderOption(const OptionReader& options, const BitplaneOrder& base) {
    const std::optional<std::string> text = options.Value("--order");
    if (!text) return base;
    BitplaneOrder order{};
    bool valid = text->size() == order.size();
    for (size_t i = 0; valid && i < order.size(); ++i) {
        const char symbol = (*text)[i];
        if (symbol == '-')
            order[i] = 0;
        else if (symbol == 'X' || symbol == 'x')
            order[i] = 9;
        else if (symbol >= '1' && symbol <= '8')
            order[i] = symbol - '0';
        else
            valid = false;
    }
    if (!valid) FailUsage("option --order takes eight symbols of 1-8, - and X, not '" + *text + "'");
    return order;
}

void ReadBlockOptions(const OptionReader& options, RipControls& c) {
    if (auto blocks = options.Size("--rearrange")) {
        if (blocks->first > 99 || blocks->second > 99)
            FailUsage("option --rearrange takes at most 99 tiles each way, not '" + *options.Value("--rearrange") +
                      "'");
        c.Rearrange = true;
        c.TilesPerBlockAcross = std::to_string(blocks->first);
        c.TilesPerBlockDown = std::to_string(blocks->second);
    }
    if (auto direction = options.Choice("--block-direction", {"across", "down"}))
        c.TilesPerBlockDirectionIndex = *direction;
    if (auto blockTile = options.Size("--block-tile")) c.TilesPerBlockSize = {-1, SizeText(*blockTile, " x ")};
}

RipControls ControlsFromOptions(const OptionReader& options, RipControls c) {
    constexpr int32_t lowest = std::numeric_limits<int32_t>::min();
    constexpr int32_t highest = std::numeric_limits<int32_t>::max();
    c.Address = options.Address("--address").value_or(c.Address);
    if (auto mode = options.Choice("--mode", ModeWords)) c.ModeIndex = *mode;
    if (auto planes = options.Integer("--bitplanes", 1, 8)) c.Bitplanes = std::to_string(*planes);
    if (auto tile = options.Size("--tile")) {
        c.TileWidth = std::to_string(tile->first);
        c.TileHeight = std::to_string(tile->second);
    }
    if (auto size = options.Size("--size")) {
        c.RipWidth = std::to_string(size->first);
        c.RipHeight = std::to_string(size->second);
    }
    if (auto skip = options.Integer("--skip", lowest, highest)) c.SkipBytes = std::to_string(*skip);
    if (auto where = options.Choice("--skip-mode", {"tiles", "bitplanes"})) c.SkipModeIndex = *where;
    c.MaskBefore = c.MaskBefore || options.Flag("--mask-before");
    c.MaskAfter = c.MaskAfter || options.Flag("--mask-after");
    if (auto bank = options.Integer("--sprite-bank", 0, 3)) c.SpriteBankIndex = *bank;
    if (auto actual = options.Size("--actual-tile")) c.ActualTileSize = {-1, SizeText(*actual, " x ")};
    ReadBlockOptions(options, c);
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

const std::set<std::string>& RipValueOptions() {
    static const std::set<std::string> names{"--address",     "--mode",        "--bitplanes", "--tile",
                                             "--size",        "--skip",        "--skip-mode", "--order",
                                             "--sprite-bank", "--actual-tile", "--rearrange", "--block-direction",
                                             "--block-tile",  "--grid",        "--palette",   "--stop-line"};
    return names;
}

const std::set<std::string>& RipFlagOptions() {
    static const std::set<std::string> names{"--mask-before", "--mask-after"};
    return names;
}

const char* RipOptionsHelp() {
    return R"(      --address TEXT         start address, as in the address field ("+" counts from chip RAM); default 0
      --mode MODE            acbm | ilbm | st | sprites | c64; default acbm
      --bitplanes N          1 to 8; default 1
      --tile WxH             tile size in pixels; default 16x16
      --size WxH             rip width and height; default 320x256
      --skip N               bytes to skip; default 0
      --skip-mode WHERE      tiles | bitplanes: where the skip goes; default tiles
      --mask-before          a mask plane precedes the graphics
      --mask-after           a mask plane follows the graphics
      --order SYMBOLS        the bitplane order as eight symbols: 1-8, "-" (adds nothing), "X"; default 12345678
      --sprite-bank N        sprite colour bank 0 to 3 (2 bitplanes in sprites mode); default 0
      --actual-tile WxH      the actual tile size of the grid; default the tile size
      --rearrange AxB        rearrange the tiles into blocks of A x B tiles (1 to 99 each)
      --block-direction DIR  across | down: how blocks are filled; default across
      --block-tile WxH       tile size used by the rearrangement; default the tile size
      --grid N               the grid image with lines of N pixels (1 to 3)
      --palette PALETTE      default | ecs | aga | c64 | bw | copper | a binary palette file;
                             default: the save state's saved colours, else the default palette
      --stop-line N          the last display line of the copper list walk for --palette copper; default 128)";
}

RipRequest ReadRipRequest(const OptionReader& options) {
    return ReadRipRequest(options, RipRequest{});
}

RipRequest ReadRipRequest(const OptionReader& options, const RipRequest& base) {
    RipRequest request = base;
    request.Controls = ControlsFromOptions(options, base.Controls);
    request.Order = OrderOption(options, base.Order);
    if (auto thickness = options.Integer("--grid", 1, 3)) request.GridThickness = thickness;
    if (auto palette = options.Value("--palette")) request.Palette = palette;
    request.CopperStopLine = options.Integer("--stop-line", 0, 254).value_or(request.CopperStopLine);
    request.Controls.CopperlistStopYPos = DollarHex(static_cast<uint32_t>(request.CopperStopLine));
    const std::string& choice = request.Palette.value_or("");
    if (request.Palette && choice != "default" && choice != "ecs" && choice != "aga" && choice != "c64" &&
        choice != "bw" && choice != "copper" && !PathIsFile(choice))
        FailUsage("option --palette takes default, ecs, aga, c64, bw, copper or a palette file, not '" + choice + "'");
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
