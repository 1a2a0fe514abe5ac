// tavrik-cli map: draws the first map out of a save state or memory file, from the tiles of a rip (or a
// picture), and writes the map picture as PNG the way "Save Map" writes it, or for the Tiled map editor.
#include "Command.h"
#include "ConsoleDialogs.h"
#include "DataFileCli.h"
#include "ProjectCli.h"

#include "app/Error.h"
#include "app/IntegerText.h"
#include "imageio/PngFile.h"
#include "map/MapItems.h"
#include "map/MapSettings.h"
#include "workspace/MapDataFile.h"
#include "workspace/MapDrawing.h"
#include "workspace/ProjectOperations.h"
#include "workspace/RipRequest.h"
#include "workspace/TiledExport.h"

#include <algorithm>
#include <iostream>
#include <limits>
#include <utility>
#include <vector>

namespace tavrik::cli {

namespace {

const char* MapOptionsHelp() {
    return R"(
    map options (the defaults are those of the "Map Ripper" tab):
      --map-address TEXT     address of the first map value ("+" counts from chip RAM); default 0
      --map-width N          width in cells; default 40
      --map-height N         height in cells; default 32
      --type TYPE            byte | word | longword | pointers | wordpointers; default byte
      --direction DIR        horizontal | vertical: rows or columns stored one after another; default horizontal
      --mask TEXT            mask applied after the shift; default $ffffffff
      --shift N              right shift of each value (negative: left); default 0
      --adjust N             added to each tile number; default 0
      --trim N               cells skipped at the end of every stored row (column); default 0
      --map-skip N           bytes skipped after every value; default 0
      --flip-x MASK          value bits that mirror a tile left to right (turns Flip-X on)
      --flip-y MASK          value bits that turn a tile upside down (turns Flip-Y on)
      --blocks AxB           cells stored in blocks of A x B; default 1x1
      --block-order ORDER    across | down: the order of the cells inside a block; default across
      --map-tile WxH         the map's tile size (the rip's "Actual tile size:"); default the tile size
      --replace LINE         a replacement line such as "$100-$105=$0"; repeatable, taken in order
      --game NAME            the custom game, as its item text ("Brat", "Yo! Joe!", ...)
      --tiles PICTURE        draw from a picture loaded as "Use Loaded Tiles" does instead of the rip
      --map-file FILE        read the map values from FILE ("Load Map", "Use Loaded Map") instead of memory;
                             --map-address is then an offset into FILE
      --show-bad             mark missing tiles in magenta with their numbers
      --dump                 print the values read, as the "Map Data" tab lists them, after the summary

    Tiled map editor export (either or both, with or without -o):
      --tmx OUT.tmx          write the map as a TMX map with the tileset OUT.tsx and its tile sheet
                             OUT-tiles.png beside it
      --tiled-json OUT.tmj   write the map in Tiled's JSON format, the tileset embedded, OUT-tiles.png beside it
      --unique-tiles         keep each distinct tile once (a tile and its mirror images count as one) and
                             print "Tiles: N of M kept")";
}

const std::set<std::string>& MapValueOptions() {
    static const std::set<std::string> names{
        "--map-address", "--map-width", "--map-height", "--type",   "--direction", "--mask",   "--shift",
        "--adjust",      "--trim",      "--map-skip",   "--flip-x", "--flip-y",    "--blocks", "--block-order",
        "--map-tile",    "--replace",   "--game",       "--tiles",  "--map-file",  "--tmx",    "--tiled-json"};
    return names;
}

std::string IntegerOption(const OptionReader& options, const std::string& name, const std::string& fallback) {
    constexpr int32_t lowest = std::numeric_limits<int32_t>::min();
    constexpr int32_t highest = std::numeric_limits<int32_t>::max();
    const std::optional<int32_t> value = options.Integer(name, lowest, highest);
    return value ? std::to_string(*value) : fallback;
}

// Masks keep the text as typed ("$1fff"), as the field would hold it; it must be a number all the same.
std::optional<std::string> MaskOption(const OptionReader& options, const std::string& name) {
    const std::optional<std::string> text = options.Value(name);
    if (text && !ParseIntegerText(Trim(*text)))
        FailUsage("option " + name + " takes a number such as $1fff, not '" + *text + "'");
    return text;
}

std::optional<std::string> GameOption(const OptionReader& options) {
    const std::optional<std::string> name = options.Value("--game");
    if (!name) return std::nullopt;
    if (std::find(CustomGameItems.begin(), CustomGameItems.end(), *name) == CustomGameItems.end()) {
        std::string items;
        for (const std::string_view item : CustomGameItems)
            if (!item.empty()) items += (items.empty() ? "'" : ", '") + std::string(item) + "'";
        FailUsage("option --game takes one of " + items + ", not '" + *name + "'");
    }
    return *name;
}

// The map options on top of c (the tab's defaults, or a project's first map).
MapControls MapControlsFromOptions(const OptionReader& options, MapControls c, MapSharedOptions& shared) {
    c.Address = options.Address("--map-address").value_or(c.Address);
    c.WidthInTiles = IntegerOption(options, "--map-width", c.WidthInTiles);
    c.HeightInTiles = IntegerOption(options, "--map-height", c.HeightInTiles);
    if (auto type = options.Choice("--type", {"byte", "word", "longword", "pointers", "wordpointers"}))
        c.MemoryTypeIndex = *type;
    if (auto direction = options.Choice("--direction", {"horizontal", "vertical"})) c.DirectionIndex = *direction;
    c.Mask = MaskOption(options, "--mask").value_or(c.Mask);
    c.Shift = IntegerOption(options, "--shift", c.Shift);
    c.Adjust = IntegerOption(options, "--adjust", c.Adjust);
    c.TrimTiles = IntegerOption(options, "--trim", c.TrimTiles);
    c.SkipBytes = IntegerOption(options, "--map-skip", c.SkipBytes);
    if (auto flipX = MaskOption(options, "--flip-x")) {
        c.FlipXMask = *flipX;
        shared.FlipXEnabled = true;
    }
    if (auto flipY = MaskOption(options, "--flip-y")) {
        c.FlipYMask = *flipY;
        shared.FlipYEnabled = true;
    }
    if (auto blocks = options.Size("--blocks")) {
        c.TilesPerBlockAcross = std::to_string(blocks->first);
        c.TilesPerBlockDown = std::to_string(blocks->second);
    }
    if (auto order = options.Choice("--block-order", {"across", "down"})) c.TilesPerBlockDirectionIndex = *order;
    c.CustomGame = GameOption(options).value_or(c.CustomGame);
    shared.ShowBadTiles = options.Flag("--show-bad");
    shared.ShowIndexes = options.Flag("--dump");
    return c;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// "Load Map" and then "Use Loaded Map": the first map reads the file. An empty file leaves the box
// unchecked, and so the map reads memory, as it does in the program.
void UseMapDataFile(Workspace& ws, const std::string& file) {
    ConsoleDialogs dialogs;
    const MapDataLoad load = LoadMapData(ws, file, dialogs);
    if (!load.Found) throw Error("cannot open map data file " + file);
    if (!load.CheckUseLoadedMap) {
        std::cerr << "tavrik-cli: " << file << " is empty: the map reads memory\n";
        return;
    }
    ws.Maps[0].UseLoadedMap = true;
}

struct TiledOutputs {
    std::vector<std::pair<std::string, TiledFormat>> Files;
    bool UniqueTiles = false;
};

TiledOutputs TiledOutputsFromOptions(const OptionReader& options) {
    TiledOutputs outputs;
    for (const auto& [name, format] : {std::pair{"--tmx", TiledFormat::Tmx}, {"--tiled-json", TiledFormat::Json}})
        if (const std::optional<std::string> path = options.Value(name)) {
            if (path->empty()) FailUsage(std::string("option ") + name + " takes a file name");
            outputs.Files.emplace_back(*path, format);
        }
    outputs.UniqueTiles = options.Flag("--unique-tiles");
    if (outputs.UniqueTiles && outputs.Files.empty()) FailUsage("option --unique-tiles needs --tmx or --tiled-json");
    return outputs;
}

int RunMap(const CommandArguments& arguments) {
    std::set<std::string> valueOptions = RipValueOptions();
    valueOptions.insert(MapValueOptions().begin(), MapValueOptions().end());
    valueOptions.insert({"-o", "--project"});
    std::set<std::string> flagOptions = RipFlagOptions();
    flagOptions.insert({"--show-bad", "--dump", "--unique-tiles"});
    const OptionReader options(arguments, valueOptions, flagOptions);
    options.ExpectPositionals(1);
    const std::optional<std::string> out = options.Value("-o");
    const TiledOutputs tiled = TiledOutputsFromOptions(options);
    if ((!out || out->empty()) && tiled.Files.empty()) FailUsage("missing -o OUT.png (or --tmx / --tiled-json)");
    ReadRipRequest(options); // bad options fail before any file is read
    MapSharedOptions checked;
    MapControlsFromOptions(options, MapControls{}, checked);

    CliWork work;
    LoadCliWork(work, options);
    Workspace& ws = work.Ws;
    RipRequest request = CliRipRequest(work, options);
    if (auto tile = options.Size("--map-tile"))
        request.Controls.ActualTileSize = {-1, std::to_string(tile->first) + " x " + std::to_string(tile->second)};
    MapSharedOptions shared;
    std::string replacements = JoinLines(options.Values("--replace"));
    MapControls base;
    if (work.Project) {
        const ProjectFile& project = *work.Project;
        base = project.Maps[0].Controls;
        shared = ProjectMapOptions(project, "", {});
        if (!options.Value("--replace")) replacements = JoinedLines(project.Maps[0].Replacements);
    }
    const MapControls controls = MapControlsFromOptions(options, base, shared);
    shared.Replacements = replacements;
    ApplyRipRequest(ws, request, work.Palette);
    if (const std::optional<std::string> tiles = options.Value("--tiles")) LoadTilePictureForCli(ws, *tiles);
    if (const std::optional<std::string> mapFile = options.Value("--map-file")) UseMapDataFile(ws, *mapFile);
    ReadMapSettings(controls, ws.Maps[0], ws.Maps[1], ws.Addresses());
    WarnIfPastMemory(ws, ws.Maps[0].Address, "map address");
    const MapDrawOutcome outcome = DrawWorkspaceMap(ws, 1, shared);
    switch (outcome.Result) {
    case MapDrawResult::NotDrawn:
        throw Error("the map is 0 cells wide or high (narrower than one block): nothing drawn");
    case MapDrawResult::TooLarge:
    case MapDrawResult::NoMemory: throw Error(outcome.Message);
    case MapDrawResult::Drawn: break;
    }
    // The picture and the Tiled files are written together or not at all.
    FileSet files;
    if (out && !out->empty()) files.Add(*out, EncodePng(ws.MapImages[0]));
    std::vector<std::string> keptLines;
    for (const auto& [path, format] : tiled.Files)
        keptLines.push_back(AddTiledExport(files, ws, 1, path, TiledExportOptions{format, tiled.UniqueTiles}));
    files.Commit();
    std::cout << outcome.Summary << "\n";
    if (shared.ShowIndexes) std::cout << JoinLines(outcome.IndexDump);
    if (tiled.UniqueTiles) std::cout << JoinLines(keptLines);
    return 0;
}

const CommandRegistration registration{
    {"map",
     std::string("FILE -o OUT.png | --tmx OUT.tmx | --tiled-json OUT.tmj [rip options] [map options]\n") +
         ProjectOptionHelp + RipOptionsHelp() + MapOptionsHelp(),
     "Draws the first map out of a save state or memory file from the tiles of the rip and writes it as PNG "
     "and/or for the Tiled map editor; prints the summary line (and with --dump the values read).",
     &RunMap}};

} // namespace

} // namespace tavrik::cli
