// The shared state of one piece of work: memory, palette, ripper state and the images drawn from them.
// The GUI owns one, the command line makes one per run, and tests make many.
#pragma once

#include "app/Address.h"
#include "app/Colour.h"
#include "imageio/Image.h"
#include "map/MapVariables.h"
#include "memory/MemoryImage.h"
#include "palette/WorkingPalette.h"
#include "ripper/RipParameters.h"
#include "ripper/RipperState.h"
#include "search/MapMatch.h"
#include "search/MatchGrid.h"
#include "search/SearchImageTools.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrik {

struct GridSettings {
    bool GridEnabled = false;
    int32_t GridThickness = 1;
};

struct Workspace {
    MemoryState Memory;
    WorkingPalette Palette;
    RipperState Ripper;
    GridSettings Grid;
    Image TileSheet;
    Image RearrangeSource;
    std::array<Image, 2> MapImages;
    // The two maps' records; the first draws from the TileSheet, the second from the first map's image.
    std::array<TMapVariables, 2> Maps{NewMapVariables(1), NewMapVariables(2)};
    // A loaded map data file, which the first map reads in place of memory while "Use Loaded Map" is on.
    std::vector<uint8_t> LoadedMapData;
    Image SearchImage{0, 0, PixelFormat::Rgb24};
    // Absent until the first screenshot is set up.
    std::optional<SelectionRect> SearchSelection;
    // The grid of the last tile match, map search or parse of the index text.
    MatchGrid SearchGrid;
    // The maps the last search found, one per item of ComboBoxMapMatches.
    std::vector<MapMatch> MapMatchList;
    std::array<PaletteEntry, 32> CopperPalette{};
    Colour SearchBackgroundColour = 0xFF00FF;
    bool ChipRelativeAddresses = false;
    // Ends in a path separator.
    std::string ProgramFolder;
    std::string ProjectFileName;

    AddressMode Addresses() const { return AddressMode{Memory.ChipRamOffset, ChipRelativeAddresses}; }
};

} // namespace tavrik
