// The screenshot options of tavrik-cli match and search.
#include "SearchCli.h"

#include "ConsoleDialogs.h"
#include "TerminalProgress.h"
#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "app/TextHelpers.h"
#include "workspace/MapSearchOperations.h"

#include <array>

namespace tavrik::cli {

SelectionRect ParseSelectionOption(const std::string& text) {
    const std::string problem = "the selection '" + text + "' ";
    std::string rest = text;
    std::array<int32_t, 4> edges{};
    for (size_t i = 0; i < edges.size(); ++i) {
        const std::optional<int32_t> edge = ParseIntegerText(Trim(SplitAt(rest, ",")));
        if (!edge) throw Error(problem + "is not four integers LEFT,TOP,RIGHT,BOTTOM");
        edges[i] = *edge;
    }
    if (!rest.empty()) throw Error(problem + "is not four integers LEFT,TOP,RIGHT,BOTTOM");
    const auto [left, top, right, bottom] = edges;
    if (left < 0 || top < 0) throw Error(problem + "starts left of or above the picture");
    if (right <= left || bottom <= top) throw Error(problem + "ends before it starts");
    if (int64_t{right} - left < MinimumSelectionSize || int64_t{bottom} - top < MinimumSelectionSize)
        throw Error(problem + "is smaller than 16 x 16");
    return SelectionRect{double(left), double(top), double(right), double(bottom)};
}

void AddScreenshotOptions(CLI::App& command, ScreenshotOptions& options, const std::string& screenshotHelp) {
    const CLI::Validator selectionCheck(
        [](std::string& text) {
            try {
                ParseSelectionOption(text);
                return std::string();
            } catch (const Error& error) {
                return std::string(error.what());
            }
        },
        "");
    command.add_option("--screenshot", options.Screenshot, screenshotHelp)->type_name("IMG");
    command
        .add_option("--selection", options.Selection,
                    "the region to match in picture pixels, right and bottom exclusive, at least 16 x 16")
        ->type_name("L,T,R,B")
        ->check(selectionCheck);
}

TileMatchRun MatchScreenshot(Workspace& ws, const std::string& screenshot, const SelectionRect& selection) {
    ConsoleDialogs dialogs;
    if (!LoadSearchImage(ws, screenshot, dialogs).Found) throw Error("cannot open " + screenshot);
    ws.SearchSelection = selection;
    TerminalProgress progress;
    TileMatchRun run = *MatchTilesInWorkspace(ws, progress);
    progress.ThrowIfInterrupted();
    return run;
}

} // namespace tavrik::cli
