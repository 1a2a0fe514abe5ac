// tavrik-cli info: the summary the "Info" tab shows after loading a save state or raw memory file.
#include "Command.h"
#include "DataFileCli.h"

#include <iostream>

namespace tavrik::cli {

namespace {

struct InfoOptions {
    std::string File;
};

void DeclareInfo(CLI::App& command, InfoOptions& o) {
    command.add_option("FILE", o.File, "a save state or raw memory file")->required();
}

int RunInfo(const InfoOptions& o) {
    Workspace ws;
    for (const std::string& line : LoadDataFileForCli(ws, o.File).InfoLines)
        std::cout << line << "\n";
    return 0;
}

const CommandRegistration<InfoOptions> registration{
    "info", "Loads a save state or raw memory file and prints the lines of the Info tab.", DeclareInfo, RunInfo};

} // namespace

} // namespace tavrik::cli
