// New, Save and Load Project on a workspace: the record's files loaded (data file, tiles, map data,
// screenshot), the palette, the move of addresses when chip RAM starts elsewhere, the rip and both maps.
// The desktop program reads its controls into a ProjectFile, calls these, and writes the record back into
// its controls; the command line uses the same calls.
#pragma once

#include "map/MapRenderer.h"
#include "project/ProjectFile.h"
#include "workspace/DataFileLoader.h"
#include "workspace/Rip.h"
#include "workspace/Workspace.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tavrik {

class Dialogs;

// The first tab's check boxes that act on drawing but are not kept in projects.
struct MapViewChecks {
    bool ShowBadTiles = false;
    bool ShowIndexes = false;
};

struct ProjectOpened {
    // Shown with an OK button before anything else when not empty.
    std::string NewerBuildWarning;
    DataFileLoad DataFile;
    // Files that could not be read (a broken save state, a damaged picture): the load went on without them.
    std::vector<std::string> Problems;
    bool SearchImageLoaded = false;
    std::string SearchDimensionsText; // LabelSearchDimensions, when the screenshot was loaded
    RipResult Rip;
    std::array<MapDrawOutcome, 2> Maps;
    // How far the project's addresses moved (saved chip RAM position - current one); 0 when they did not.
    int64_t ChipRamDelta = 0;
};

// The draw options the project's first map tab gives both maps.
MapSharedOptions ProjectMapOptions(const ProjectFile& project, const std::string& replacementText,
                                   const MapViewChecks& checks);

// The lines of a memo joined as the memo's text.
std::string JoinedLines(const std::vector<std::string>& lines);

// NewProject: project := the new-project controls (MachineId kept); the workspace emptied (no memory, chip
// RAM at 0, no loaded map data, an empty 320 x 256 tile sheet, the default palette, an empty match grid),
// then the rip and both maps read and drawn.
void NewProject(Workspace& ws, ProjectFile& project);

// SaveProject: takes the palette, chip RAM position and bitplane order from ws, sets ws.ProjectFileName and
// writes the file (safely). Throws tavrik::Error when the file cannot be written. The caller adds path to
// its recent-files list.
void SaveProject(Workspace& ws, ProjectFile& project, const std::string& path);

// LoadProject: reads path into project (its controls' current values are the base for what the file does
// not hold) and restores the work into ws, ending with the rip (rips are no longer suspended). A file that
// cannot be read or is no project throws tavrik::Error and changes nothing. The caller adds path to its
// recent-files list, writes project back into its controls and shows the outcome.
ProjectOpened LoadProject(Workspace& ws, ProjectFile& project, const std::string& path, Dialogs& dialogs,
                          const MapViewChecks& checks = {});

} // namespace tavrik
