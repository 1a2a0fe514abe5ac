// The command line's data file loading.
#include "DataFileCli.h"

#include "ConsoleDialogs.h"
#include "app/Error.h"
#include "app/Files.h"
#include "app/IntegerText.h"
#include "workspace/TilePictures.h"

#include <iostream>

namespace tavrik::cli {

DataFileLoad LoadDataFileForCli(Workspace& ws, const std::string& file) {
    ws.ProgramFolder = ExecutableFolder();
    ConsoleDialogs dialogs;
    DataFileLoad load = LoadDataFile(ws, file, dialogs);
    if (!load.Loaded) throw Error("cannot open " + file);
    return load;
}

void WarnIfPastMemory(const Workspace& ws, int64_t address, const std::string& what) {
    const size_t size = ws.Memory.MemoryImage.size();
    if (address >= 0 && static_cast<uint64_t>(address) < size) return;
    std::cerr << "tavrik-cli: warning: the " << what << " " << DollarHexWide(static_cast<uint64_t>(address))
              << " lies past the end of memory (" << size << " bytes, up to " << DollarHexWide(size)
              << ")\n";
}

void LoadTilePictureForCli(Workspace& ws, const std::string& file) {
    ws.ProgramFolder = ExecutableFolder();
    ConsoleDialogs dialogs;
    const TilePictureLoad load = LoadTilePicture(ws, file, dialogs);
    if (!load.Found) throw Error("cannot open " + file);
}

} // namespace tavrik::cli
