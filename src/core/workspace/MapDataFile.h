// The map data file: a file of map values (a level extracted from a game's data, say) that the first map
// reads in place of the memory image while "Use Loaded Map" is checked.
#pragma once

#include "workspace/Workspace.h"

#include <string>

namespace tavrik {

class Dialogs;

struct MapDataLoad {
    bool Found = false;             // false: no such file; LoadedMapData and the box stay as they were
    bool CheckUseLoadedMap = false; // the file held at least one byte: "Use Loaded Map" becomes checked
};

// LoadMapData: resolves fileNameText (ResolveFileName with ws.ProjectFileName and ws.ProgramFolder) and
// makes the whole file ws.LoadedMapData. An empty file empties it and leaves the box alone, so the first
// map keeps reading memory. A file that exists but cannot be read throws tavrik::Error, changing nothing.
// When the box was unchecked and now becomes checked, the caller runs UseLoadedMapClicked.
MapDataLoad LoadMapData(Workspace& ws, const std::string& fileNameText, Dialogs& dialogs);

} // namespace tavrik
