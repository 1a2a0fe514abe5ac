// Loading the map data file into the workspace.
#include "workspace/MapDataFile.h"

#include "app/Files.h"

namespace tavrik {

MapDataLoad LoadMapData(Workspace& ws, const std::string& fileNameText, Dialogs& dialogs) {
    const std::string path = ResolveFileName(fileNameText, {ws.ProjectFileName, ws.ProgramFolder}, dialogs);
    if (!PathIsFile(path)) return {};
    ws.LoadedMapData = ReadWholeFile(path);
    return {true, !ws.LoadedMapData.empty()};
}

} // namespace tavrik
