// The command table of tavrik-cli: each command file registers itself with a name, a usage line and a runner.
#pragma once

#include "app/CommandLine.h"

#include <string>
#include <vector>

namespace tavrik::cli {

using CommandRunner = int (*)(const CommandArguments& arguments);

struct Command {
    std::string Name;
    std::string Usage; // the arguments, for the usage text
    std::string Summary;
    CommandRunner Run;
};

std::vector<Command>& CommandTable();

struct CommandRegistration {
    explicit CommandRegistration(Command command) { CommandTable().push_back(std::move(command)); }
};

} // namespace tavrik::cli
