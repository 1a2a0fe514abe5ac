// The command line's data file loading.
#include "DataFileCli.h"

#include "ConsoleDialogs.h"
#include "app/Error.h"
#include "app/Files.h"

namespace tavrik::cli {

DataFileLoad LoadDataFileForCli(Workspace& ws, const std::string& file) {
    ws.ProgramFolder = ExecutableFolder();
    ConsoleDialogs dialogs;
    DataFileLoad load = LoadDataFile(ws, file, dialogs);
    if (!load.Loaded) throw Error("cannot open " + file);
    return load;
}

} // namespace tavrik::cli
