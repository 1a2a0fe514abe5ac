// tavrik-cli match: finds the tiles of the rip in a screenshot of the game, as "Match Tiles" does, and prints
// the grid of tile numbers that the map search reads.
#include "Command.h"
#include "JsonOutput.h"
#include "ProjectCli.h"
#include "SearchCli.h"

#include "search/SearchImageTools.h"
#include "workspace/RipRequest.h"

#include <iostream>

namespace tavrik::cli {

namespace {

struct MatchOptions {
    DataFileOptions Data;
    ScreenshotOptions Shot;
    RipOptionTexts Rip;
    bool Json = false;
};

void DeclareMatch(CLI::App& command, MatchOptions& o) {
    AddDataFileOptions(command, o.Data);
    AddScreenshotOptions(command, o.Shot, "the picture of the game (PNG, BMP, IFF, NEO, PC1, PI1)");
    command.add_flag("--json", o.Json,
                     "print {\"indexes\": [...], \"results\": [...], \"selection\": [L, T, R, B], \"scale\": N}");
    AddRipOptions(command, o.Rip);
}

int RunMatch(const MatchOptions& o) {
    const bool project = o.Data.Project.has_value();
    std::optional<std::string> screenshot = o.Shot.Screenshot;
    if (!screenshot && !project) FailUsage("missing --screenshot IMG");
    if (!o.Shot.Selection && !project) FailUsage("missing --selection L,T,R,B");
    std::optional<SelectionRect> selection =
        o.Shot.Selection ? std::optional(ParseSelectionOption(*o.Shot.Selection)) : std::nullopt;

    CliWork work;
    LoadCliWork(work, o.Data);
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
    ApplyRipRequest(ws, CliRipRequest(work, o.Rip), work.Palette);
    const TileMatchRun run = MatchScreenshot(ws, *screenshot, *selection);
    if (o.Json) {
        const SelectionRect& s = run.Selection;
        PrintJson({{"indexes", run.IndexLines},
                   {"results", run.ResultLines},
                   {"selection",
                    {RoundHalfEven(s.Left), RoundHalfEven(s.Top), RoundHalfEven(s.Right), RoundHalfEven(s.Bottom)}},
                   {"scale", run.Scale}});
    } else {
        for (const std::string& line : run.IndexLines)
            std::cout << line << "\n";
    }
    return run.Matched ? 0 : 1;
}

const CommandRegistration<MatchOptions> registration{
    "match",
    "Finds which tiles of the rip a screenshot shows (\"Match Tiles\") and prints the grid of tile numbers, or "
    "\"Unmatched tiles, cannot continue\". A cell no tile matches (a sprite over it) is written \"?\"; a picture "
    "scaled 2x, 3x or 4x is read at the game's pixel size; exit status 1 when no row has half of its cells "
    "matched. With --project the project's screenshot and selection stand in for "
    "those not given.",
    DeclareMatch, RunMatch};

} // namespace

} // namespace tavrik::cli
