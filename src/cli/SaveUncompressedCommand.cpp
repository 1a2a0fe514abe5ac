// tavrik-cli save-uncompressed: writes the memory image of a loaded file, which for a save state with
// compressed chunks is its uncompressed copy.
#include "Command.h"
#include "DataFileCli.h"

namespace tavrik::cli {

namespace {

int RunSaveUncompressed(const CommandArguments& arguments) {
    const OptionReader options(arguments, {});
    const std::string& file = options.Positional(0, "FILE");
    const std::string& out = options.Positional(1, "OUT");
    options.ExpectPositionals(2);
    Workspace ws;
    LoadDataFileForCli(ws, file);
    WriteMemoryImage(ws, out);
    return 0;
}

const CommandRegistration registration{
    {"save-uncompressed", "FILE OUT",
     "Loads FILE and writes its memory image to OUT: a save state with its compressed chunks inflated.",
     &RunSaveUncompressed}};

} // namespace

} // namespace tavrik::cli
