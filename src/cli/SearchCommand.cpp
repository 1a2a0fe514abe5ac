// tavrik-cli search: looks through memory for the map data behind a grid of tile numbers, as "Search for
// map" does, with the grid read from a file or found in a screenshot first.
#include "Command.h"
#include "JsonOutput.h"
#include "ProjectCli.h"
#include "SearchCli.h"
#include "TerminalProgress.h"

#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "app/TextHelpers.h"
#include "search/MatchGrid.h"
#include "workspace/MapSearchOperations.h"
#include "workspace/RipRequest.h"

#include <iostream>

namespace tavrik::cli {

namespace {

JsonObject MatchJson(const MapMatch& m) {
    return {{"address", m.Address},
            {"shift", m.Shift},
            {"mask", m.Mask},
            {"offset", m.Offset},
            {"vertical", m.Vertical},
            {"width", m.Width},
            {"height", m.Height},
            {"bytesPerValue", m.BytesPerValue},
            {"memoryType", static_cast<int32_t>(m.MemoryType)},
            {"mapAddress", m.MapAddress},
            {"mapWidth", LevelWidth(m)},
            {"mapHeight", LevelHeight(m)},
            {"item", MapMatchItemText(m)}};
}

std::vector<std::string> GridFileLines(const std::string& path) {
    if (!PathIsFile(path)) throw Error("cannot open grid file " + path);
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    return SplitLines(std::string(bytes.begin(), bytes.end()));
}

struct SearchOptions {
    DataFileOptions Data;
    std::optional<std::string> GridFile;
    ScreenshotOptions Shot;
    RipOptionTexts Rip;
    bool Longs = false;
    bool Detailed = false;
    bool Json = false;
};

void DeclareSearch(CLI::App& command, SearchOptions& o) {
    AddDataFileOptions(command, o.Data);
    command
        .add_option("--grid-file", o.GridFile,
                    "the grid of tile numbers as the index memo holds it (\"12, y12/40, 3, x7\" a line)")
        ->type_name("F");
    AddScreenshotOptions(command, o.Shot,
                         "match this picture of the game first (see tavrik-cli match) and search its grid");
    command.add_flag("--longs", o.Longs, "also search longwords and pointers (\"Search for longword matches\")");
    command.add_flag("--detailed", o.Detailed, "print every row found (\"Print out all matches\")");
    command.add_flag(
        "--json", o.Json,
        "print {\"results\": [...], \"matches\": [{\"address\", \"shift\", \"mask\", \"offset\", "
        "\"vertical\", \"width\", \"height\", \"bytesPerValue\", \"memoryType\", \"mapAddress\", "
        "\"mapWidth\", \"mapHeight\", \"item\"}]}: mapAddress and its size give the whole level the find lies in");
    AddRipOptions(command, o.Rip);
}

int RunSearch(const SearchOptions& o) {
    const std::optional<std::string>& gridFile = o.GridFile;
    const std::optional<std::string>& screenshot = o.Shot.Screenshot;
    // With a project and neither option, the project's match grid text is searched.
    const bool projectGrid = o.Data.Project && !gridFile && !screenshot;
    if ((gridFile && screenshot) || (!gridFile && !screenshot && !projectGrid))
        FailUsage("give either --grid-file F or --screenshot IMG with --selection L,T,R,B");
    if (screenshot && !o.Shot.Selection) FailUsage("missing --selection L,T,R,B");
    std::vector<std::string> gridLines = gridFile ? GridFileLines(*gridFile) : std::vector<std::string>{};

    CliWork work;
    LoadCliWork(work, o.Data);
    Workspace& ws = work.Ws;
    if (projectGrid) gridLines = work.Project->Search.IndexLines;
    ApplyRipRequest(ws, CliRipRequest(work, o.Rip), work.Palette);
    std::vector<std::string> indexLines = gridLines;
    if (screenshot) {
        const TileMatchRun match = MatchScreenshot(ws, *screenshot, ParseSelectionOption(*o.Shot.Selection));
        if (!match.Matched) {
            for (const std::string& line : match.IndexLines)
                std::cerr << line << "\n";
            return 1;
        }
        indexLines = match.IndexLines;
    }
    MapSearchRun run;
    {
        TerminalProgress progress;
        run = SearchMapInWorkspace(ws, indexLines, o.Longs, o.Detailed, progress);
        progress.ThrowIfInterrupted();
    }
    if (o.Json) {
        JsonObject matches = JsonObject::array();
        for (const MapMatch& match : run.Matches)
            matches.push_back(MatchJson(match));
        PrintJson({{"results", run.ResultLines}, {"matches", std::move(matches)}});
    } else {
        for (const std::string& line : run.ResultLines)
            std::cout << line << "\n";
    }
    return run.NoUsableRow ? 1 : 0;
}

const CommandRegistration<SearchOptions> registration{
    "search",
    "Searches memory for the map data behind a grid of tile numbers (\"Search for map\"), read from --grid-file, "
    "matched in --screenshot, or the project's match grid, and prints the result lines, \"Finished!\" last; exit "
    "status 1 when no row of the grid has half of its "
    "cells known (\"?\" marks an unknown cell).",
    DeclareSearch, RunSearch};

} // namespace

} // namespace tavrik::cli
