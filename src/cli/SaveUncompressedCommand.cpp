// tavrik-cli save-uncompressed: writes the memory image of a loaded file, which for a save state with
// compressed chunks is its uncompressed copy.
#include "Command.h"
#include "DataFileCli.h"

namespace tavrik::cli {

namespace {

struct SaveUncompressedOptions {
    std::string File;
    std::string Out;
};

void DeclareSaveUncompressed(CLI::App& command, SaveUncompressedOptions& o) {
    command.add_option("FILE", o.File, "a save state or memory file")->required();
    command.add_option("OUT", o.Out, "the file to write")->required();
}

int RunSaveUncompressed(const SaveUncompressedOptions& o) {
    Workspace ws;
    LoadDataFileForCli(ws, o.File);
    WriteMemoryImage(ws, o.Out);
    return 0;
}

const CommandRegistration<SaveUncompressedOptions> registration{
    "save-uncompressed", "Loads FILE and writes its memory image to OUT: a save state with its compressed chunks inflated.",
    DeclareSaveUncompressed, RunSaveUncompressed};

} // namespace

} // namespace tavrik::cli
