// tavrik-cli project: what a project file holds - its data file and a summary of its settings - without
// loading anything it names.
#include "Command.h"

#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "map/MapItems.h"
#include "project/ProjectFile.h"

#include <iostream>
#include <string>

namespace tavrik::cli {

namespace {

constexpr std::array<std::string_view, 5> ModeNames{"Amiga ACBM", "Amiga ILBM", "Atari ST", "Sprites", "C64"};

std::string Named(const std::string& text) { return text.empty() ? "(none)" : text; }

template <size_t N> std::string Item(const std::array<std::string_view, N>& items, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < N ? std::string(items[static_cast<size_t>(index)]) : "?";
}

void PrintRip(const ProjectFile& p) {
    const RipControls& c = p.Ripper;
    std::cout << "Rip: " << Item(ModeNames, c.ModeIndex) << ", " << c.Bitplanes << " bitplanes, tiles " << c.TileWidth
              << " x " << c.TileHeight << ", size " << c.RipWidth << " x " << c.RipHeight << ", address " << c.Address
              << ", skip " << c.SkipBytes << "\n";
    if (c.Rearrange)
        std::cout << "Rearranged: blocks of " << c.TilesPerBlockAcross << " x " << c.TilesPerBlockDown << "\n";
    if (c.UseLoadedTiles) std::cout << "Tiles from: " << Named(p.GfxTilesFileName) << "\n";
}

void PrintMap(const ProjectMap& map, const char* name) {
    const MapControls& c = map.Controls;
    std::cout << name << ": " << c.WidthInTiles << " x " << c.HeightInTiles << " tiles at " << c.Address << ", "
              << Item(MapMemoryTypeItems, c.MemoryTypeIndex) << ", " << Item(MapDirectionItems, c.DirectionIndex)
              << ", mask " << c.Mask << ", shift " << c.Shift;
    if (!c.CustomGame.empty()) std::cout << ", game " << c.CustomGame;
    if (!map.Replacements.empty()) std::cout << ", " << map.Replacements.size() << " replacement lines";
    if (!map.FileName.empty()) std::cout << ", map data file " << map.FileName;
    std::cout << "\n";
}

struct ProjectOptions {
    std::string File;
};

void DeclareProject(CLI::App& command, ProjectOptions& o) {
    command.add_option("FILE", o.File, "a project file")->required();
}

int RunProject(const ProjectOptions& o) {
    const std::string& path = o.File;
    if (!PathIsFile(path)) throw Error("cannot open project " + path);
    const ProjectLoad load = LoadProjectFile(path, NewProjectFile(), AddressMode{}, ProgramBuild());
    if (!load.NewerBuildWarning.empty()) std::cerr << "tavrik-cli: " << load.NewerBuildWarning << "\n";
    const ProjectFile& p = load.Project;
    // Where the program will find the data file (a stored name is usually relative to the project).
    std::cout << "Data file: " << Named(LocateFile(p.GfxFileName, {path, ExecutableFolder()})) << "\n";
    std::cout << "Chip RAM offset: " << DollarHex(p.ChipMemoryOffset) << "\n";
    PrintRip(p);
    PrintMap(p.Maps[0], "Map");
    PrintMap(p.Maps[1], "Map 2");
    const ProjectSearch& s = p.Search;
    std::cout << "Search: screenshot " << Named(s.FileName) << ", " << s.IndexLines.size() << " grid lines\n";
    std::cout << "Palette: " << (p.Palette ? "256 colours" : "the data file's colours") << "\n";
    return 0;
}

const CommandRegistration<ProjectOptions> registration{
    "project", "Prints the data file a project names and a summary of its ripper, map and search settings.",
    DeclareProject, RunProject};

} // namespace

} // namespace tavrik::cli
