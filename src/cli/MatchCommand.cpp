// tavrik-cli match: finds the tiles of the rip in a screenshot of the game, as "Match Tiles" does, and prints
// the grid of tile numbers that the map search reads.
#include "Command.h"
#include "ProjectCli.h"
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
    valueOptions.insert({"--screenshot", "--selection", "--project"});
    std::set<std::string> flagOptions = RipFlagOptions();
    flagOptions.insert("--json");
    const OptionReader options(arguments, valueOptions, flagOptions);
    options.ExpectPositionals(1);
    const bool project = options.Value("--project").has_value();
    std::optional<std::string> screenshot = options.Value("--screenshot");
    const std::optional<std::string> selectionText = options.Value("--selection");
    if (!screenshot && !project) FailUsage("missing --screenshot IMG");
    if (!selectionText && !project) FailUsage("missing --selection L,T,R,B");
    std::optional<SelectionRect> selection =
        selectionText ? std::optional(ParseSelectionOption(*selectionText)) : std::nullopt;
    ReadRipRequest(options); // bad options fail before any file is read

    CliWork work;
    LoadCliWork(work, options);
    Workspace& ws = work.Ws;
    // The project's screenshot and selection stand in for the options not given.
    const ProjectSearch none;
    const ProjectSearch& saved = work.Project ? work.Project->Search : none;
    if (!screenshot && !saved.FileName.empty()) screenshot = saved.FileName;
    if (!selection && saved.Selection)
        selection =
            SelectionRect{static_cast<double>(saved.Selection->Left), static_cast<double>(saved.Selection->Top),
                          static_cast<double>(saved.Selection->Right), static_cast<double>(saved.Selection->Bottom)};
    if (!screenshot) FailUsage("missing --screenshot IMG (the project names none)");
    if (!selection) FailUsage("missing --selection L,T,R,B (the project keeps none)");
    ApplyRipRequest(ws, CliRipRequest(work, options), work.Palette);
    const TileMatchRun run = MatchScreenshot(ws, *screenshot, *selection);
    if (options.Flag("--json")) {
        std::cout << "{\"indexes\": " << JsonStrings(run.IndexLines)
                  << ", \"results\": " << JsonStrings(run.ResultLines)
                  << ", \"selection\": " << SelectionJson(run.Selection) << ", \"scale\": " << run.Scale << "}\n";
    } else {
        for (const std::string& line : run.IndexLines)
            std::cout << line << "\n";
    }
    return run.Matched ? 0 : 1;
}

const CommandRegistration registration{
    {"match",
     std::string("FILE --screenshot IMG --selection L,T,R,B [rip options] [--json] | --project P.ini [FILE] ...\n") +
         ProjectOptionHelp + RipOptionsHelp() + R"(
    match options:
      --screenshot IMG       the picture of the game (PNG, BMP, IFF, NEO, PC1, PI1)
      --selection L,T,R,B    the region to match in picture pixels, right and bottom exclusive, at least 16 x 16
      --json                 print {"indexes": [...], "results": [...], "selection": [L, T, R, B], "scale": N}
    A cell no tile matches (a sprite over it) is written "?"; a picture scaled 2x, 3x or 4x is read at the
    game's pixel size. Exit status 1 when no row of the selection has half of its cells matched.)",
     "Finds which tiles of the rip a screenshot shows (\"Match Tiles\") and prints the grid of tile numbers, or "
     "\"Unmatched tiles, cannot continue\".",
     &RunMatch}};

} // namespace

} // namespace tavrik::cli
