// tavrik-cli match: finds the tiles of the rip in a screenshot of the game, as "Match Tiles" does, and prints
// the grid of tile numbers that the map search reads.
#include "Command.h"
#include "DataFileCli.h"
#include "SearchCli.h"

#include "search/SearchImageTools.h"
#include "workspace/RipRequest.h"

#include <iostream>

namespace tavrik::cli {

namespace {

std::string SelectionJson(const SelectionRect& s) {
    return "[" + std::to_string(RoundHalfEven(s.Left)) + ", " + std::to_string(RoundHalfEven(s.Top)) + ", " +
           std::to_string(RoundHalfEven(s.Right)) + ", " + std::to_string(RoundHalfEven(s.Bottom)) + "]";
}

int RunMatch(const CommandArguments& arguments) {
    std::set<std::string> valueOptions = RipValueOptions();
    valueOptions.insert({"--screenshot", "--selection"});
    std::set<std::string> flagOptions = RipFlagOptions();
    flagOptions.insert("--json");
    const OptionReader options(arguments, valueOptions, flagOptions);
    const std::string& file = options.Positional(0, "FILE");
    options.ExpectPositionals(1);
    const std::optional<std::string> screenshot = options.Value("--screenshot");
    const std::optional<std::string> selectionText = options.Value("--selection");
    if (!screenshot) FailUsage("missing --screenshot IMG");
    if (!selectionText) FailUsage("missing --selection L,T,R,B");
    const SelectionRect selection = ParseSelectionOption(*selectionText);
    const RipRequest request = ReadRipRequest(options);

    Workspace ws;
    const DataFileLoad load = LoadDataFileForCli(ws, file);
    ApplyRipRequest(ws, request, load.Palette);
    const TileMatchRun run = MatchScreenshot(ws, *screenshot, selection);
    if (options.Flag("--json")) {
        std::cout << "{\"indexes\": " << JsonStrings(run.IndexLines)
                  << ", \"results\": " << JsonStrings(run.ResultLines)
                  << ", \"selection\": " << SelectionJson(run.Selection) << "}\n";
        return 0;
    }
    for (const std::string& line : run.IndexLines)
        std::cout << line << "\n";
    return 0;
}

const CommandRegistration registration{
    {"match", std::string("FILE --screenshot IMG --selection L,T,R,B [rip options] [--json]\n") + RipOptionsHelp() + R"(
    match options:
      --screenshot IMG       the picture of the game (PNG, BMP, IFF, NEO, PC1, PI1)
      --selection L,T,R,B    the region to match in picture pixels, right and bottom exclusive, at least 16 x 16
      --json                 print {"indexes": [...], "results": [...], "selection": [L, T, R, B]})",
     "Finds which tiles of the rip a screenshot shows (\"Match Tiles\") and prints the grid of tile numbers, or "
     "\"Unmatched tiles, cannot continue\".",
     &RunMatch}};

} // namespace

} // namespace tavrik::cli
