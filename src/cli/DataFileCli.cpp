// The command line's data file loading.
#include "DataFileCli.h"

#include "ConsoleDialogs.h"
#include "app/Error.h"
#include "app/Files.h"
#include "workspace/TilePictures.h"

namespace tavrik::cli {

DataFileLoad LoadDataFileForCli(Workspace& ws, const std::string& file) {
    ws.ProgramFolder = ExecutableFolder();
    ConsoleDialogs dialogs;
    DataFileLoad load = LoadDataFile(ws, file, dialogs);
    if (!load.Loaded) throw Error("cannot open " + file);
    return load;
}

void LoadTilePictureForCli(Workspace& ws, const std::string& file) {
    ws.ProgramFolder = ExecutableFolder();
    ConsoleDialogs dialogs;
    const TilePictureLoad load = LoadTilePicture(ws, file, dialogs);
    if (!load.Found) throw Error("cannot open " + file);
    if (!load.BitmapError.empty()) throw Error(load.BitmapError);
}

} // namespace tavrik::cli
