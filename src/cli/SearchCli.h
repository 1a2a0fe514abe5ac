// What tavrik-cli match and search share: the screenshot and its selection from the options, tile matching
// on the rip's tiles.
#pragma once

#include "Command.h"
#include "search/TileMatcher.h"
#include "workspace/Workspace.h"

#include <optional>
#include <string>
#include <vector>

namespace tavrik::cli {

// "L,T,R,B": four integers, right after left and bottom below top, at least 16 x 16 like the tab's
// selection, not left of or above the picture. Anything else throws tavrik::Error naming the text.
SelectionRect ParseSelectionOption(const std::string& text);

struct ScreenshotOptions {
    std::optional<std::string> Screenshot;
    std::optional<std::string> Selection; // checked by ParseSelectionOption as it is read
};

// Declares --screenshot and --selection (a selection that does not parse is a usage error naming it).
void AddScreenshotOptions(CLI::App& command, ScreenshotOptions& options, const std::string& screenshotHelp);

// Loads IMG as the screenshot (set up as the tab does), places the selection and runs Match tiles on the
// workspace's tile sheet; throws tavrik::Error when IMG cannot be found.
TileMatchRun MatchScreenshot(Workspace& ws, const std::string& screenshot, const SelectionRect& selection);

} // namespace tavrik::cli
