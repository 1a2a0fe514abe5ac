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
#include <tuple>
#include <utility>
#include <vector>

namespace tavrik::cli {

namespace {

const std::vector<std::string> MapTypeWords{"byte", "word", "longword", "pointers", "wordpointers"};
const std::vector<std::string> MapDirectionWords{"horizontal", "vertical"};
const std::vector<std::string> BlockOrderWords{"across", "down"};

struct MapOptions {
    DataFileOptions Data;
    std::optional<std::string> Out;
    RipOptionTexts Rip;
    std::optional<std::string> Address, Width, Height, Type, Direction, Mask, Shift, Adjust, Trim, Skip, FlipX, FlipY,
        Blocks, BlockOrder, MapTile, Game, Tiles, MapFile, Tmx, TiledJson;
    std::vector<std::string> Replace;
    bool ShowBad = false;
    bool Dump = false;
    bool UniqueTiles = false;
};

// Masks keep the text as typed ("$1fff"), as the field would hold it; it must be a number all the same.
CLI::Validator MaskCheck() {
    return TextCheck([](const std::string& text) { return ParseIntegerText(Trim(text)).has_value(); },
                     "a number such as $1fff");
}

CLI::Validator GameCheck() {
    std::vector<std::string> games;
    for (const std::string_view item : CustomGameItems)
        if (!item.empty()) games.emplace_back(item);
    return OneOfCheck(games);
}

void DeclareMapValues(CLI::App& command, MapOptions& o) {
    const char* group = "Map options (the defaults are those of the \"Map Ripper\" tab)";
    const auto add = [&](const char* name, std::optional<std::string>& text, const char* type, const char* help,
                         const CLI::Validator& check) {
        command.add_option(name, text, help)->type_name(type)->check(check)->group(group);
    };
    add("--map-address", o.Address, "TEXT", "address of the first map value (\"+\" counts from chip RAM); default 0",
        AddressTextCheck());
    add("--map-width", o.Width, "N", "width in cells; default 64", IntegerTextCheck(1));
    add("--map-height", o.Height, "N", "height in cells; default 64", IntegerTextCheck(1));
    add("--type", o.Type, "TYPE", "byte | word | longword | pointers | wordpointers; default byte",
        OneOfCheck(MapTypeWords));
    add("--direction", o.Direction, "DIR",
        "horizontal | vertical: rows or columns stored one after another; default horizontal",
        OneOfCheck(MapDirectionWords));
    add("--mask", o.Mask, "TEXT", "mask applied after the shift; default $ffff", MaskCheck());
    add("--shift", o.Shift, "N", "right shift of each value (negative: left); default 0", IntegerTextCheck());
    add("--adjust", o.Adjust, "N", "added to each tile number; default 0", IntegerTextCheck());
    add("--trim", o.Trim, "N", "cells skipped at the end of every stored row (column); default 0", IntegerTextCheck());
    add("--map-skip", o.Skip, "N", "bytes skipped after every value; default 0", IntegerTextCheck());
    add("--flip-x", o.FlipX, "MASK", "value bits that mirror a tile left to right (turns Flip-X on)", MaskCheck());
    add("--flip-y", o.FlipY, "MASK", "value bits that turn a tile upside down (turns Flip-Y on)", MaskCheck());
    add("--blocks", o.Blocks, "AxB", "cells stored in blocks of A x B; default 1x1", SizeTextCheck());
    add("--block-order", o.BlockOrder, "ORDER", "across | down: the order of the cells inside a block; default across",
        OneOfCheck(BlockOrderWords));
    add("--map-tile", o.MapTile, "WxH", "the map's tile size (the rip's \"Actual tile size:\"); default the tile size",
        SizeTextCheck());
    command.add_option("--replace", o.Replace, "a replacement line such as \"$100-$105=$0\"; repeatable, taken in order")
        ->type_name("LINE")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->group(group);
    add("--game", o.Game, "NAME", "the custom game, as its item text (\"Brat\", \"Yo! Joe!\", ...)", GameCheck());
    add("--tiles", o.Tiles, "PICTURE", "draw from a picture loaded as \"Use Loaded Tiles\" does instead of the rip",
        CLI::Validator());
    add("--map-file", o.MapFile, "FILE",
        "read the map values from FILE (\"Load Map\", \"Use Loaded Map\") instead of memory; --map-address is then "
        "an offset into FILE",
        CLI::Validator());
    command.add_flag("--show-bad", o.ShowBad, "mark missing tiles in magenta with their numbers")->group(group);
    command.add_flag("--dump", o.Dump, "print the values read, as the \"Map Data\" tab lists them, after the summary")
        ->group(group);
}

void DeclareTiledOutputs(CLI::App& command, MapOptions& o) {
    const char* group = "Tiled map editor export (either or both, with or without -o)";
    command
        .add_option("--tmx", o.Tmx,
                    "write the map as a TMX map with the tileset OUT.tsx and its tile sheet OUT-tiles.png beside it")
        ->type_name("OUT.tmx")
        ->group(group);
    command
        .add_option("--tiled-json", o.TiledJson,
                    "write the map in Tiled's JSON format, the tileset embedded, OUT-tiles.png beside it")
        ->type_name("OUT.tmj")
        ->group(group);
    command
        .add_flag("--unique-tiles", o.UniqueTiles,
                  "keep each distinct tile once (a tile and its mirror images count as one) and print \"Tiles: N of "
                  "M kept\"")
        ->group(group);
}

void DeclareMap(CLI::App& command, MapOptions& o) {
    AddDataFileOptions(command, o.Data);
    command.add_option("-o", o.Out, "the PNG file to write")->type_name("OUT.png");
    AddRipOptions(command, o.Rip);
    DeclareMapValues(command, o);
    DeclareTiledOutputs(command, o);
}

std::string IntegerOption(const std::optional<std::string>& text, const std::string& fallback) {
    return text ? std::to_string(IntegerTextValue(*text)) : fallback;
}

// The map options on top of c (the tab's defaults, or a project's first map).
MapControls MapControlsFromOptions(const MapOptions& o, MapControls c, MapSharedOptions& shared) {
    c.Address = o.Address.value_or(c.Address);
    c.WidthInTiles = IntegerOption(o.Width, c.WidthInTiles);
    c.HeightInTiles = IntegerOption(o.Height, c.HeightInTiles);
    if (o.Type) c.MemoryTypeIndex = WordIndex(MapTypeWords, *o.Type);
    if (o.Direction) c.DirectionIndex = WordIndex(MapDirectionWords, *o.Direction);
    c.Mask = o.Mask.value_or(c.Mask);
    c.Shift = IntegerOption(o.Shift, c.Shift);
    c.Adjust = IntegerOption(o.Adjust, c.Adjust);
    c.TrimTiles = IntegerOption(o.Trim, c.TrimTiles);
    c.SkipBytes = IntegerOption(o.Skip, c.SkipBytes);
    if (o.FlipX) {
        c.FlipXMask = *o.FlipX;
        shared.FlipXEnabled = true;
    }
    if (o.FlipY) {
        c.FlipYMask = *o.FlipY;
        shared.FlipYEnabled = true;
    }
    if (o.Blocks) {
        const auto blocks = SizeTextValue(*o.Blocks);
        c.TilesPerBlockAcross = std::to_string(blocks.first);
        c.TilesPerBlockDown = std::to_string(blocks.second);
    }
    if (o.BlockOrder) c.TilesPerBlockDirectionIndex = WordIndex(BlockOrderWords, *o.BlockOrder);
    c.CustomGame = o.Game.value_or(c.CustomGame);
    shared.ShowBadTiles = o.ShowBad;
    shared.ShowIndexes = o.Dump;
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

TiledOutputs TiledOutputsFromOptions(const MapOptions& o) {
    TiledOutputs outputs;
    for (const auto& [name, path, format] : {std::tuple{"--tmx", &o.Tmx, TiledFormat::Tmx},
                                             std::tuple{"--tiled-json", &o.TiledJson, TiledFormat::Json}})
        if (*path) {
            if ((*path)->empty()) FailUsage(std::string("option ") + name + " takes a file name");
            outputs.Files.emplace_back(**path, format);
        }
    outputs.UniqueTiles = o.UniqueTiles;
    if (outputs.UniqueTiles && outputs.Files.empty()) FailUsage("option --unique-tiles needs --tmx or --tiled-json");
    return outputs;
}

int RunMap(const MapOptions& o) {
    const TiledOutputs tiled = TiledOutputsFromOptions(o);
    if ((!o.Out || o.Out->empty()) && tiled.Files.empty()) FailUsage("missing -o OUT.png (or --tmx / --tiled-json)");

    CliWork work;
    LoadCliWork(work, o.Data);
    Workspace& ws = work.Ws;
    RipRequest request = CliRipRequest(work, o.Rip);
    if (o.MapTile) {
        const auto tile = SizeTextValue(*o.MapTile);
        request.Controls.ActualTileSize = {-1, std::to_string(tile.first) + " x " + std::to_string(tile.second)};
    }
    MapSharedOptions shared;
    std::string replacements = JoinLines(o.Replace);
    MapControls base = NewProjectFile().Maps[0].Controls;
    if (work.Project) {
        const ProjectFile& project = *work.Project;
        base = project.Maps[0].Controls;
        shared = ProjectMapOptions(project, "", {});
        if (o.Replace.empty()) replacements = JoinedLines(project.Maps[0].Replacements);
    }
    const MapControls controls = MapControlsFromOptions(o, base, shared);
    shared.Replacements = replacements;
    ApplyRipRequest(ws, request, work.Palette);
    if (o.Tiles) LoadTilePictureForCli(ws, *o.Tiles);
    if (o.MapFile) UseMapDataFile(ws, *o.MapFile);
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
    if (o.Out && !o.Out->empty()) files.Add(*o.Out, EncodePng(ws.MapImages[0]));
    std::vector<std::string> keptLines;
    for (const auto& [path, format] : tiled.Files)
        keptLines.push_back(AddTiledExport(files, ws, 1, path, TiledExportOptions{format, tiled.UniqueTiles}));
    files.Commit();
    std::cout << outcome.Summary << "\n";
    if (shared.ShowIndexes) std::cout << JoinLines(outcome.IndexDump);
    if (tiled.UniqueTiles) std::cout << JoinLines(keptLines);
    return 0;
}

const CommandRegistration<MapOptions> registration{
    "map",
    "Draws the first map out of a save state or memory file from the tiles of the rip and writes it as PNG "
    "and/or for the Tiled map editor; prints the summary line (and with --dump the values read).",
    DeclareMap, RunMap};

} // namespace

} // namespace tavrik::cli
