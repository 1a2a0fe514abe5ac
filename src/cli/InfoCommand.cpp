// tavrik-cli info: the summary the "Info" tab shows after loading a save state or raw memory file.
#include "Command.h"
#include "DataFileCli.h"

#include <iostream>

namespace tavrik::cli {

namespace {

int RunInfo(const CommandArguments& arguments) {
    const OptionReader options(arguments, {});
    const std::string& file = options.Positional(0, "FILE");
    options.ExpectPositionals(1);
    Workspace ws;
    for (const std::string& line : LoadDataFileForCli(ws, file).InfoLines)
        std::cout << line << "\n";
    return 0;
}

const CommandRegistration registration{
    {"info", "FILE", "Loads a save state or raw memory file and prints the lines of the Info tab.", &RunInfo}};

} // namespace

} // namespace tavrik::cli
