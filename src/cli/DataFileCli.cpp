// The command line's data file loading.
#include "DataFileCli.h"

#include "ConsoleDialogs.h"
#include "app/Error.h"

#include <filesystem>

namespace tavrik::cli {

std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return executable.parent_path().string() + "/";
}

DataFileLoad LoadDataFileForCli(Workspace& ws, const std::string& file) {
    ws.ProgramFolder = ExecutableFolder();
    ConsoleDialogs dialogs;
    DataFileLoad load = LoadDataFile(ws, file, dialogs);
    if (!load.Loaded) throw Error("cannot open " + file);
    return load;
}

} // namespace tavrik::cli
